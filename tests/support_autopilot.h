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

// One dialogue box the pilot answered, and one fight it fought.
struct Line {
  std::string text;      // Latin-1, as drawn
  const chara* speaker;  // null: a box without a portrait
};

enum class Outcome { Won, Lost, Fled, Unfinished };

struct Fight {
  const chara* opponent;
  Outcome outcome;
  int goldBefore, gold;  // the hero's, as it began and once it was over
};

struct Options {
  // 2: the pilot closes the window once the second game's robbery is over; 1: once the fresh
  // title menu after the victory picture shows; 0: never, it plays on from wherever it is handed
  // control, and where it finds no way or waits on its aim in vain it counts a stall and steps
  // aside instead of giving up.
  int games = 2;
  // A careless run that goes to the master straight from the last guard, without resting, and
  // there strikes only the dragon attack (the weaker blow on average) and never flees: it may
  // lose, and the game-over page then leads to a fresh title menu and the next game.
  bool loseToMaster = false;
};

struct Report {
  std::vector<Line> lines;
  std::vector<Fight> fights;
  std::vector<ScreenId> screens;  // every screen change seen at a pump, in order
  std::string stuck;              // why the pilot gave up, empty when it did not
  int games = 0;                  // games started (intro left)
  uint32_t bravoAt = 0;           // when the victory picture was answered
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

// Index of the first line whose text is `text` from index `from` on, or -1.
int find(const std::vector<Line>& lines, const char* text, size_t from = 0);

}  // namespace autopilot
