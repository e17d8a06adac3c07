# The window around the picture, the player's own keys (full screen, screenshots, the music), the
# settings file and the command line.
talmyr_test(test_window test_window.cpp)
target_compile_definitions(test_window PRIVATE TALMYR_PROGRAM="$<TARGET_FILE:talmyr>"
                           TALMYR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(test_window talmyr)
