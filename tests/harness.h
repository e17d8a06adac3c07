// Test support: the real game on a virtual clock, headless, with scripted key presses.
#pragma once

#include "globals.h"

#include <functional>
#include <string>
#include <vector>

namespace harness {

// Puts every global of the game back to its program-start value (zero), so that several games
// can start in one test process as if each were a fresh run.
void resetWorld();

// Dummy video and audio, virtual clock, then the real start-up: load_rsc, init, init2.
// The clock starts at clockAtStart, as if starting up had taken that long: init() seeds the
// random draws with the clock, so this is what varies them from one run to the next.
// Returns init()'s result.
bool start(uint32_t clockAtStart = 0);
// The real shut-down.
void stop();

// Opens map m and stands the hero on tile (x, y) facing dir: the set-up of a unit test or a
// picture, never a way to steer a running scenario.
void placeHero(smap* m, int x, int y, int dir);

// Input, pushed into SDL's queue as real keyboard events.
void press(SDLKey k);
void release(SDLKey k);
void tap(SDLKey k);  // press and release, seen by the same pump
void closeWindow();
// Releases every game key and pumps once, so the next script starts with nothing held.
void releaseAll();

// Called at every pump (hal_events) with the virtual time; a scenario decides there what to press.
// The driver is removed by stop().
extern std::function<void()> driver;
// A scenario that runs longer than this on the virtual clock gets its window closed.
extern uint32_t timeLimitMs;

// Plays the game from the title menu on (gameMenu) until the window closes.
void runFromMenu();

// Presses and releases, each at a virtual time, fed to the queue when that time comes.
struct Step {
  uint32_t at;
  SDLKey key;
  bool down;
};
void schedule(const std::vector<Step>& steps);

// Screenshot of Screen as a 24-bit BMP (developer aid).
void saveScreen(const std::string& path);

// Pixel of Screen at (x, y).
uint16_t pixel(int x, int y);

}  // namespace harness
