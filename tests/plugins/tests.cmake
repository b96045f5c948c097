# The driver tests load the built drivers, read TIFF output back with
# libtiff and check colours with lcms2, query CUPS through Qt and drive the
# TIFF driver's dialogs as a desktop host would.
add_dependencies(test_plugins corvan_drivers)
find_package(PkgConfig REQUIRED)
pkg_check_modules(TEST_LCMS2 REQUIRED IMPORTED_TARGET lcms2)
find_package(Qt6 REQUIRED COMPONENTS Widgets)
target_link_libraries(test_plugins PRIVATE corvan_printsupport PkgConfig::TEST_LCMS2 TIFF::TIFF Qt6::Widgets)
target_compile_definitions(test_plugins PRIVATE
  CORVAN_TESTDRIVERS="${CMAKE_BINARY_DIR}/testdrivers/"
  CORVAN_DRIVERS_OUT="${CMAKE_BINARY_DIR}/share/corvanrip/Data/"
  CORVAN_PROFILES_SRC="${PROJECT_SOURCE_DIR}/share/data/Profiles/")
