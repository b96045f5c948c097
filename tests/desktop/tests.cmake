# The desktop tests drive the real windows and run the program's screenshot
# form.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_desktop PRIVATE corvanrip_ui Qt6::Test)
add_dependencies(test_desktop corvanrip)
