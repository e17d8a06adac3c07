// What the game tells the desktop, and asks of it, before SDL starts: a graphical display to draw
// on (never the terminal's text, never nowhere), and one name that ties the window to its
// launcher, the desktop entry's.
#pragma once

namespace desktop {

// The desktop entry's id (org.talmyr.talmyr.desktop): the window's class and application id.
constexpr const char* APP_ID = "org.talmyr.talmyr";

// True when the SDL 1.2 is sdl12-compat (over SDL 2), which reports 1.2.50 and later.
bool compat();

// Sets, where the player's environment does not, the window's class and the application ids the
// SDL 2 under sdl12-compat reads, and the video drivers that draw on this desktop's display.
// False, with SDL's error saying why in one line, when there is no display at all: a player who
// names a video driver (SDL_VIDEODRIVER) gets it whatever the display.
bool prepare();
// After SDL_Init has failed on the drivers prepare() offered: SDL's error names the display too.
void explainFailure();

}  // namespace desktop
