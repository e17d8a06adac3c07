// The player's own keys on the desktop, never the game's: F11 and Alt+Return switch full screen,
// F12 takes a screenshot, M turns the music off and on; and the window's own events (a resize,
// an exposure), served even by the waits that do not read the game's input.
#include "present.h"
#include "present_window.h"
#include "screenshot.h"
#include "volume.h"

namespace present {

namespace {

// Alt as its own key presses tell it. The library's modifier state alone is not to be trusted
// here: a release that comes while the window is being made anew can be lost, and every Return
// after it would then switch the screen instead of reaching the game.
bool altDown = false;

void trackAlt(const SDL_Event& e, bool& alt) {
  if ((e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) &&
      (e.key.keysym.sym == SDLK_LALT || e.key.keysym.sym == SDLK_RALT))
    alt = e.type == SDL_KEYDOWN;
  else if (e.type == SDL_ACTIVEEVENT && (e.active.state & SDL_APPINPUTFOCUS))
    alt = false;
}

// The keys that are the player's own, never the game's: full screen, a screenshot, the music.
bool playersKey(SDLKey k) { return k == SDLK_F11 || k == SDLK_F12 || k == SDLK_m; }

bool windowEvent(const SDL_Event& e, bool alt) {
  switch (e.type) {
    case SDL_KEYDOWN:
      return playersKey(e.key.keysym.sym) ||
             (e.key.keysym.sym == SDLK_RETURN && alt && (e.key.keysym.mod & KMOD_ALT));
    case SDL_KEYUP: return playersKey(e.key.keysym.sym);
    case SDL_VIDEORESIZE:
    case SDL_VIDEOEXPOSE: return true;
    default: return false;
  }
}

}  // namespace

void track(const SDL_Event& e) { trackAlt(e, altDown); }

void forgetAlt() { altDown = false; }

bool isWindowEvent(const SDL_Event& e) { return windowEvent(e, altDown); }

void handle(const SDL_Event& e) {
  if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_m) {
    volume::toggleMute();
    return;
  }
  if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_F12) {
    screenshot::take();
    return;
  }
  if (!window()) return;
  if (e.type == SDL_KEYDOWN) {
    switchScreen();
    altDown = false;  // its release may never come to the new window
  } else if (e.type == SDL_VIDEORESIZE) {
    resized(e.resize.w, e.resize.h);
  } else if (e.type == SDL_VIDEOEXPOSE) {
    exposed();
  }
}

bool service() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_PumpEvents();
  SDL_Event events[128];
  int n = SDL_PeepEvents(events, 128, SDL_PEEKEVENT, SDL_ALLEVENTS);
  bool quit = false, mine = false, alt = altDown;
  for (int i = 0; i < n; i++) {
    quit = quit || events[i].type == SDL_QUIT;
    trackAlt(events[i], alt);
    mine = mine || windowEvent(events[i], alt);
  }
  if (!mine) return quit;
  // Take the whole queue, act on the window's events, and put the game's back in their order.
  n = SDL_PeepEvents(events, 128, SDL_GETEVENT, SDL_ALLEVENTS);
  for (int i = 0; i < n; i++) {
    track(events[i]);
    if (isWindowEvent(events[i]))
      handle(events[i]);
    else
      SDL_PushEvent(&events[i]);
  }
  return quit;
}

}  // namespace present
