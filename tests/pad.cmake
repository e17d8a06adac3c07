# Gamepads: their events pushed into SDL's queue, no device needed.
talmyr_test(test_pad test_pad.cpp)
target_compile_definitions(test_pad PRIVATE TALMYR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
# makes the joystick subsystem fail on demand
target_link_options(test_pad PRIVATE -Wl,--wrap=SDL_InitSubSystem)
