# The fidelity ratchet reads its pass list from this folder.
target_compile_definitions(test_metafile PRIVATE CORVAN_METAFILE_TEST_DIR="${CMAKE_CURRENT_LIST_DIR}")
