# The driver tests load the built drivers, read TIFF output back with
# libtiff and check colours with lcms2, and query CUPS through Qt.
add_dependencies(test_plugins corvan_drivers)
find_package(PkgConfig REQUIRED)
pkg_check_modules(TEST_LCMS2 REQUIRED IMPORTED_TARGET lcms2)
target_link_libraries(test_plugins PRIVATE corvan_printsupport PkgConfig::TEST_LCMS2 TIFF::TIFF)
target_compile_definitions(test_plugins PRIVATE
  CORVAN_TESTDRIVERS="${CMAKE_BINARY_DIR}/testdrivers/"
  CORVAN_DRIVERS_OUT="${CMAKE_BINARY_DIR}/share/corvanrip/Data/"
  CORVAN_PROFILES_SRC="${PROJECT_SOURCE_DIR}/share/data/Profiles/")
