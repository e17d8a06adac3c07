// Included before every source of the page's build. The browser's SDL headers say that every
// surface must be locked before its pixels are touched, as its surfaces live in canvases; the
// page's surfaces are plain memory (sdl_video.cpp), which needs no lock, as on the desktop.
#pragma once
#include <SDL.h>

#undef SDL_MUSTLOCK
#define SDL_MUSTLOCK(S) (((S)->flags & SDL_RLEACCEL) != 0)
