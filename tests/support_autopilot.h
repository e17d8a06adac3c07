// An autopilot that plays the real game through key presses only, from the title menu to the
// victory picture and into a second game, or on and on in turns with another player (the input
// storm). It reads the game's state and the screen to decide what to press; it never writes game
// state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "harness.h"

namespace autopilot {

struct Options {
  // The window closes once the second game's robbery is over (2), once the fresh title menu
  // after the victory shows (1), or never (0: it plays on from anywhere, steps aside when stuck).
  int games = 2;
  // Straight from the last guard to the master, unrested, the dragon attack only, never fleeing.
  bool loseToMaster = false;
};

struct Report {
  std::string stuck;     // why the pilot gave up, empty when it did not
  int games = 0;         // games started (intro left)
  uint32_t bravoAt = 0;  // when the victory picture was answered
  uint32_t endAt = 0;
};

// Starts the pilot afresh (the report starts empty); a driver of its own then calls pump().
void begin(const Options& o = Options());
// begin(), with pump() as harness::driver.
void install(const Options& o = Options());
// The pilot's move at one pump.
void pump();
// Hands the pilot control in whatever state another player left the game: mid-step, on any map,
// in a box, on a page or in a fight (whose cursor it then finds again by pressing up).
void resume();
// Releases every key the pilot holds, before another player takes over.
void releaseKeys();
const Report& report();

// True when Screen shows the duel screen's background (read from a few pixels).
bool combatOnScreen();

}  // namespace autopilot
