# The game's font, and text drawn from the glyph atlas against SDL_ttf's own rendering of every line
# of the catalogue.
talmyr_test(test_atlas test_atlas.cpp)
# and the atlas tool refuses a font it cannot draw exactly
add_test(NAME test_atlas_tool COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/test_art.py
         $<TARGET_FILE:font_atlas> ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/gen/atlas.cpp)
set_tests_properties(test_atlas_tool PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
