// The desktop around the game.
#include "desktop.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

namespace desktop {

namespace {

bool offered = false;  // prepare() chose the video drivers

bool set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

}  // namespace

bool compat() {
  const SDL_version* v = SDL_Linked_Version();
  return v && v->major == 1 && v->minor == 2 && v->patch >= 50;
}

bool prepare() {
  // The window's class (both SDL 1.2s read it on X11), the Wayland application id and SDL 3's,
  // all the desktop entry's id: docks and task bars then show the game under its own name and icon.
  setenv("SDL_VIDEO_X11_WMCLASS", APP_ID, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", APP_ID, 0);
  setenv("SDL_APP_ID", APP_ID, 0);
  setenv("SDL_APP_NAME", "Talmyr demo 2'", 0);  // the name in the desktop's sound settings

  offered = false;
  if (set("SDL_VIDEODRIVER")) return true;  // the player's choice
  // Left to itself, the classic library falls back to drawing in the terminal with letters when
  // there is no X display, and sdl12-compat to drawing nowhere: only the drivers of a display
  // that is there are offered, in the library's own order.
  const bool x11 = set("DISPLAY"), wayland = compat() && set("WAYLAND_DISPLAY");
  if (!x11 && !wayland) {
    SDL_SetError(set("WAYLAND_DISPLAY")
                     ? "no X display (DISPLAY is not set) and this SDL 1.2 draws on X only"
                     : "no graphical display (DISPLAY is not set)");
    return false;
  }
  setenv("SDL_VIDEODRIVER", x11 && wayland ? "x11,wayland" : x11 ? "x11" : "wayland", 1);
  offered = true;
  return true;
}

void explainFailure() {
  if (!offered) return;
  const std::string why = SDL_GetError();
  const char* x = std::getenv("DISPLAY");
  const char* w = std::getenv("WAYLAND_DISPLAY");
  std::string where;
  if (x && *x) where = std::string("DISPLAY=") + x;
  if (compat() && w && *w)
    where += (where.empty() ? "" : ", ") + std::string("WAYLAND_DISPLAY=") + w;
  SDL_SetError("the display cannot be opened (%s): %s", where.c_str(), why.c_str());
}

}  // namespace desktop
