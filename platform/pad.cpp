// Gamepads.
#include "pad.h"

#include "fct_gp.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace pad {

namespace {

constexpr int PADS = 16;  // pads told apart (SDL numbers them from 0)

struct Pad {
  uint32_t hat = 0;      // game keys of the d-pad
  uint32_t stick = 0;    // game keys of the left stick
  uint32_t buttons = 0;  // the buttons held, one bit each (buttons 0 to 31)
};

Pad pads[PADS];
std::vector<SDL_Joystick*> opened;

uint32_t keysOf(const Pad& p) { return p.hat | p.stick | buttonKeys(p.buttons); }

}  // namespace

const std::vector<int>& defaultAction() {
  static const std::vector<int> b = {0, 1, 2, 3};
  return b;
}

const std::vector<int>& defaultStart() {
  static const std::vector<int> b = {7, 9};
  return b;
}

int open() {
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) {
    std::fprintf(stderr, "talmyr: no gamepads: %s\n", SDL_GetError());
    return 0;
  }
  int failed = 0;
  for (int i = 0; i < SDL_NumJoysticks(); i++) {
    if (SDL_Joystick* j = SDL_JoystickOpen(i))
      opened.push_back(j);
    else
      failed++;
  }
  if (failed)
    std::fprintf(stderr, "talmyr: %d gamepad%s could not be opened: %s\n", failed,
                 failed > 1 ? "s" : "", SDL_GetError());
  SDL_JoystickEventState(SDL_ENABLE);
  return static_cast<int>(opened.size());
}

void close() {
  for (SDL_Joystick* j : opened) SDL_JoystickClose(j);
  opened.clear();
  reset();
}

bool event(const SDL_Event& e, uint32_t& pressed) {
  pressed = 0;
  int which = 0;
  switch (e.type) {
    case SDL_JOYAXISMOTION: which = e.jaxis.which; break;
    case SDL_JOYHATMOTION: which = e.jhat.which; break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: which = e.jbutton.which; break;
    default: return false;
  }
  if (which < 0 || which >= PADS) return true;
  Pad& p = pads[which];
  const uint32_t before = keysOf(p);
  if (e.type == SDL_JOYAXISMOTION && e.jaxis.axis == 0) {
    stickAxis(p.stick, e.jaxis.value, KEY_LEFT, KEY_RIGHT);
  } else if (e.type == SDL_JOYAXISMOTION && e.jaxis.axis == 1) {
    stickAxis(p.stick, e.jaxis.value, KEY_UP, KEY_DOWN);
  } else if (e.type == SDL_JOYHATMOTION && e.jhat.hat == 0) {
    const Uint8 v = e.jhat.value;
    p.hat = (v & SDL_HAT_UP ? KEY_UP : 0) | (v & SDL_HAT_RIGHT ? KEY_RIGHT : 0) |
            (v & SDL_HAT_DOWN ? KEY_DOWN : 0) | (v & SDL_HAT_LEFT ? KEY_LEFT : 0);
  } else if ((e.type == SDL_JOYBUTTONDOWN || e.type == SDL_JOYBUTTONUP) && e.jbutton.button < 32) {
    const uint32_t bit = 1u << e.jbutton.button;
    p.buttons = e.type == SDL_JOYBUTTONDOWN ? p.buttons | bit : p.buttons & ~bit;
  }
  pressed = keysOf(p) & ~before;
  return true;
}

bool poll(uint32_t& pressed) {
  pressed = 0;
  return false;
}

uint32_t held() {
  uint32_t k = 0;
  for (const Pad& p : pads) k |= keysOf(p);
  return k;
}

void reset() {
  for (Pad& p : pads) p = Pad();
}

}  // namespace pad
