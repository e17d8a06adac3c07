// The handheld-style calls that read the player: the game's keys from the keyboard and the
// pads, the events of a frame, and the wait for a key.
#include "fct_gp.h"

#include "endings.h"
#include "pad.h"
#include "present.h"

uint32_t key = 0;
uint32_t keych = 0;
int32_t hal_working = 1;
int hal_waitMask = 0;

namespace {

// Which keyboard keys are held, so that Space and Left Ctrl can share the action bit.
bool spaceHeld = false;
bool lctrlHeld = false;
uint32_t keyboard = 0;  // the game keys the keyboard holds; `key` adds the pads' to them

}  // namespace

namespace {

uint32_t bitOf(SDLKey k) {
  switch (k) {
    case SDLK_SPACE:
    case SDLK_LCTRL: return KEY_A;
    case SDLK_LEFT: return KEY_LEFT;
    case SDLK_UP: return KEY_UP;
    case SDLK_RIGHT: return KEY_RIGHT;
    case SDLK_DOWN: return KEY_DOWN;
    case SDLK_RETURN: return KEY_START;
    default: return 0;
  }
}

}  // namespace

void hal_events() {
  if (hal_pumpHook) hal_pumpHook();
  present::tick();
  keych = 0;
  uint32_t padPressed = 0;
  if (pad::poll(padPressed)) {
    keych |= padPressed;
    key = keyboard | pad::held();
  }
  if (endings::asked()) hal_working = 0;  // SIGHUP, SIGTERM...: as the window closing
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    present::track(e);
    if (present::isWindowEvent(e)) {  // F11, Alt+Return, F12, M, resizing: never the game's keys
      present::handle(e);
      continue;
    }
    switch (e.type) {
      case SDL_QUIT: hal_working = 0; break;
      case SDL_KEYDOWN: {
        uint32_t b = bitOf(e.key.keysym.sym);
        if (!b) break;
        if (e.key.keysym.sym == SDLK_SPACE) spaceHeld = true;
        if (e.key.keysym.sym == SDLK_LCTRL) lctrlHeld = true;
        keyboard |= b;
        keych |= b;
        break;
      }
      case SDL_KEYUP: {
        uint32_t b = bitOf(e.key.keysym.sym);
        if (!b) break;
        if (e.key.keysym.sym == SDLK_SPACE) spaceHeld = false;
        if (e.key.keysym.sym == SDLK_LCTRL) lctrlHeld = false;
        if (b == KEY_A && (spaceHeld || lctrlHeld)) break;  // the other action key still holds it
        keyboard &= ~b;
        break;
      }
      default: {
        uint32_t pressed = 0;
        if (pad::event(e, pressed)) keych |= pressed;  // a pad's press counts as a key's
        break;
      }
    }
    key = keyboard | pad::held();  // what either holds: one lets go only of its own keys
  }
}

uint32_t GpKeyGet() { return key; }
uint32_t GpKeyChanged() { return keych; }

void WaitForKey(int mask) { WaitForKey(mask, 0); }

void WaitForKey(int mask1, int mask2) {
  const uint32_t m1 = static_cast<uint32_t>(mask1), m2 = static_cast<uint32_t>(mask2);
  hal_waitMask = mask1 | mask2;
  while (hal_working) {
    hal_events();
    if ((key & m1) && (keych & m1)) break;
    if ((key & m2) && (keych & m2)) break;
    // Ten milliseconds between polls, as SDL's own wait for an event: a waiting page answers at
    // once to the eye, without waking the processor a thousand times a second.
    sleep(10);
  }
  hal_waitMask = 0;
}

void hal_reset() {
  key = 0;
  keych = 0;
  keyboard = 0;
  hal_working = 1;
  spaceHeld = lctrlHeld = false;
  pad::reset();
}
