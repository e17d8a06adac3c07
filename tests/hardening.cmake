# Hardening: the input storm, closing the window from every wait, bad environments.
talmyr_test(test_storm test_storm.cpp)
talmyr_test(test_close test_close.cpp)
# counts the game's calls of SDL_Quit
target_link_options(test_close PRIVATE -Wl,--wrap=SDL_Quit)
talmyr_test(test_env test_env.cpp)
target_compile_definitions(test_env PRIVATE TALMYR_PROGRAM="$<TARGET_FILE:talmyr>")
add_dependencies(test_env talmyr)
