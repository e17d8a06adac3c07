// The desktop around the game.
#include "desktop.h"

#include <SDL.h>

#include <cstdlib>

namespace desktop {

bool compat() {
  const SDL_version* v = SDL_Linked_Version();
  return v && v->major == 1 && v->minor == 2 && v->patch >= 50;
}

void prepare() {
  // The window's class (both SDL 1.2s read it on X11), the Wayland application id and SDL 3's,
  // all the desktop entry's id: docks and task bars then show the game under its own name and icon.
  setenv("SDL_VIDEO_X11_WMCLASS", APP_ID, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", APP_ID, 0);
  setenv("SDL_APP_ID", APP_ID, 0);
  setenv("SDL_APP_NAME", "Talmyr demo 2'", 0);  // the name in the desktop's sound settings
}

}  // namespace desktop

