// Gamepads: every pad present at start-up, read as the handheld's buttons. The d-pad (hat) and the
// left stick are the arrows, the face buttons the action key, Start is Return; the buttons' numbers
// come from the settings (pad_action, pad_start), as pads and drivers number them differently.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace pad {

// Button numbers by default: on Linux, Xbox-style pads number A, B, X, Y 0 to 3 and Start 7;
// many others number Start 9.
const std::vector<int>& defaultAction();
const std::vector<int>& defaultStart();
// The buttons this run reads as the action key and as Return.
void setButtons(const std::vector<int>& action, const std::vector<int>& start);

// Opens the joystick subsystem and every pad; nothing stops the game when it fails (one line on
// stderr at most). Returns the number of pads opened.
int open();
void close();

// True for a pad's event; it is then folded into the pads' game keys: `pressed` receives the bits
// that this event newly pressed.
bool event(const SDL_Event& e, uint32_t& pressed);
// For pads that are read rather than heard from (the page's): reads them now; true when
// something changed, `pressed` then holding the bits newly pressed. The desktop's pads speak
// through events, and this returns false.
bool poll(uint32_t& pressed);
// The game keys every pad holds now.
uint32_t held();
// Forgets what the pads hold (a new game in one process, tests).
void reset();

// The stick reads as a direction beyond half its travel, and lets go a little inside it, so that a
// stick resting near the edge does not chatter.
constexpr int DEAD_ZONE = 16384;
constexpr int RELEASE_ZONE = 12288;

// Shared by every kind of pad: the game keys of the buttons held (bit n for button n), as
// setButtons says; one axis of a stick (-32768 to 32767) folded into the stick's game keys.
uint32_t buttonKeys(uint32_t buttons);
void stickAxis(uint32_t& stick, int value, uint32_t minus, uint32_t plus);

}  // namespace pad
