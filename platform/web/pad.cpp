// The page's gamepads, read from the browser's Gamepad API at every look at the input. Browsers
// show a pad only once one of its buttons has been pressed on the page, so pads are looked for
// all along rather than only at start-up. With the standard layout (most pads today): the d-pad
// (buttons 12 to 15) and the left stick (beyond half its travel) are the arrows, the face buttons
// (0 to 3) the action key, Start (9) is Return, as on the desktop. The page's own controls for
// fingers (a d-pad, the action button and Start) are read the same way, as one more pad that
// gives the game keys themselves.
#include "pad.h"

#include "fct_gp.h"

#include <algorithm>

// Fills, for up to `max` pads, three ints each: the buttons held (bit n for button n) and the
// left stick's two axes from -32768 to 32767. Returns the number of pads (library_talmyr.js).
extern "C" int talmyr_read_pads(int* out, int max);
// The game keys the page's controls for fingers hold, and those tapped since the last call; the
// keys pressed since the last call again, 16 bits up.
extern "C" int talmyr_read_touch();

namespace pad {

namespace {

constexpr int PADS = 4;
constexpr uint32_t DPAD_UP = 1u << 12, DPAD_DOWN = 1u << 13, DPAD_LEFT = 1u << 14,
                   DPAD_RIGHT = 1u << 15;

struct Pad {
  uint32_t stick = 0;    // game keys of the left stick
  uint32_t buttons = 0;  // the buttons held
};

Pad pads[PADS];
uint32_t touched = 0;  // the game keys the page's controls hold

uint32_t keysOf(const Pad& p) {
  uint32_t k = p.stick;
  if (p.buttons & DPAD_UP) k |= KEY_UP;
  if (p.buttons & DPAD_DOWN) k |= KEY_DOWN;
  if (p.buttons & DPAD_LEFT) k |= KEY_LEFT;
  if (p.buttons & DPAD_RIGHT) k |= KEY_RIGHT;
  return k | buttonKeys(p.buttons);
}

}  // namespace

const std::vector<int>& defaultAction() {
  static const std::vector<int> b = {0, 1, 2, 3};
  return b;
}

// In the standard layout Start is 9 (7 is a trigger there).
const std::vector<int>& defaultStart() {
  static const std::vector<int> b = {9};
  return b;
}

int open() { return 0; }
void close() { reset(); }

bool event(const SDL_Event&, uint32_t& pressed) {
  pressed = 0;
  return false;
}

bool poll(uint32_t& pressed) {
  pressed = 0;
  int raw[PADS * 3] = {};
  const int n = talmyr_read_pads(raw, PADS);
  bool changed = false;
  for (int i = 0; i < PADS; i++) {
    Pad& p = pads[i];
    const uint32_t before = keysOf(p);
    Pad now = p;
    if (i < n) {
      now.buttons = static_cast<uint32_t>(raw[i * 3]);
      stickAxis(now.stick, raw[i * 3 + 1], KEY_LEFT, KEY_RIGHT);
      stickAxis(now.stick, raw[i * 3 + 2], KEY_UP, KEY_DOWN);
    } else {
      now = Pad();  // gone: it lets go of everything
    }
    p = now;
    const uint32_t after = keysOf(p);
    pressed |= after & ~before;
    changed = changed || after != before;
  }
  constexpr uint32_t KEYS = KEY_A | KEY_LEFT | KEY_UP | KEY_RIGHT | KEY_DOWN | KEY_START;
  const auto read = static_cast<uint32_t>(talmyr_read_touch());
  const uint32_t fingers = read & KEYS;
  const uint32_t again = (read >> 16) & KEYS;  // pressed again since the last look
  pressed |= (fingers & ~touched) | again;
  // a control let go and pressed again holds what it held, yet it is news: hal_events takes the
  // presses only from a poll that says something changed
  changed = changed || fingers != touched || again != 0;
  touched = fingers;
  return changed;
}

uint32_t held() {
  uint32_t k = 0;
  for (const Pad& p : pads) k |= keysOf(p);
  return k | touched;
}

void reset() {
  for (Pad& p : pads) p = Pad();
  touched = 0;
}

}  // namespace pad
