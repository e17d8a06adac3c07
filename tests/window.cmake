# The window around the picture, the settings file and the command line.
talmyr_test(test_window test_window.cpp)
target_compile_definitions(test_window PRIVATE TALMYR_PROGRAM="$<TARGET_FILE:talmyr>")
add_dependencies(test_window talmyr)
