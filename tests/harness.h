// Test support: the real game on a virtual clock, headless, with scripted key presses.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "globals.h"

namespace harness {

// Every global of the game back to its program-start value: each game starts as a fresh run.
void resetWorld();

// Dummy video and audio, virtual clock, then the real start-up (load_rsc, init, init2); returns
// init()'s result. The clock starts at clockAtStart: init() seeds the random draws with it.
bool start(uint32_t clockAtStart = 0);
// The real shut-down.
void stop();

// Opens map m and stands the hero on tile (x, y) facing dir (a set-up, never a way to steer).
void placeHero(smap* m, int x, int y, int dir);

// Keys, pushed into SDL's queue as real events.
void press(SDLKey k);
void release(SDLKey k);
void tap(SDLKey k);  // press and release, seen by the same pump
void closeWindow();
// Releases every game key and pumps once, so the next script starts with nothing held.
void releaseAll();

// Called at every pump (hal_events): a scenario decides there what to press. stop() removes it.
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

// Pictures as PNG files through the game's own writer (screenshot.h, the F12 one): read back,
// they give exactly the 5-6-5 pixels written.
bool savePng(const std::string& path, const uint16_t* pixels, int w, int h);
// Reads any PNG and cuts it to 5-6-5; false when the file is missing or not a picture.
bool loadPng(const std::string& path, std::vector<uint16_t>& pixels, int& w, int& h);
// The pixels of a 16-bit surface (Screen when none is given), row by row.
std::vector<uint16_t> screenPixels(SDL_Surface* s = nullptr);
// Screen, or another 16-bit surface, as a PNG file.
void saveScreen(const std::string& path, SDL_Surface* s = nullptr);

// Pixel of Screen at (x, y).
uint16_t pixel(int x, int y);

}  // namespace harness
