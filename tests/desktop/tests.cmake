# The desktop tests drive the real windows and run the program's screenshot
# form.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_desktop PRIVATE corvanrip_ui Qt6::Test)
add_dependencies(test_desktop corvanrip corvan_manual)

# The program on a real X server, when one can be started here.
find_program(XVFB_RUN xvfb-run)
find_program(XDOTOOL xdotool)
if(XVFB_RUN AND XDOTOOL)
  add_test(NAME DesktopSession.StartsSavesAndClosesUnderXvfb
    COMMAND ${XVFB_RUN} -a -s "-screen 0 1280x800x24"
      ${CMAKE_CURRENT_LIST_DIR}/xvfb_session.sh $<TARGET_FILE:corvanrip>
      ${CMAKE_BINARY_DIR}/share/corvanrip/samples/demo.RIP)
  set_tests_properties(DesktopSession.StartsSavesAndClosesUnderXvfb PROPERTIES TIMEOUT 180)
endif()

# The wiring tests choose a recording driver in the real window.
add_dependencies(test_desktop corvan_drivers)
target_compile_definitions(test_desktop PRIVATE CORVAN_TESTDRIVERS="${CMAKE_BINARY_DIR}/testdrivers/")

# The spot colour test reads the printed file's colours through its profile.
find_package(TIFF REQUIRED)
pkg_check_modules(TEST_LCMS2 REQUIRED IMPORTED_TARGET lcms2)
target_link_libraries(test_desktop PRIVATE TIFF::TIFF PkgConfig::TEST_LCMS2)
