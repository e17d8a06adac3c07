// What the game tells the desktop before SDL starts: one name that ties the window to its
// launcher, the desktop entry's.
#pragma once

namespace desktop {

// The desktop entry's id (org.talmyr.talmyr.desktop): the window's class and application id.
constexpr const char* APP_ID = "org.talmyr.talmyr";

// True when the SDL 1.2 is sdl12-compat (over SDL 2), which reports 1.2.50 and later.
bool compat();

// Sets, where the player's environment does not, the window's class and the application ids the
// SDL 2 under sdl12-compat reads.
void prepare();

}  // namespace desktop
