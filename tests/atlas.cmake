# The game's font, and text drawn from the glyph atlas against SDL_ttf's own rendering of every line
# of the catalogue.
talmyr_test(test_atlas test_atlas.cpp)
