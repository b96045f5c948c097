# The fixtures write HEIC and AVIF files with libheif's encoders.
pkg_check_modules(LIBHEIF_TESTS REQUIRED IMPORTED_TARGET libheif)
target_link_libraries(test_imagelib PRIVATE PkgConfig::LIBHEIF_TESTS)
