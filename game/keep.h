// The game kept across a close: everything that decides what happens next, as it stood the last
// time the hero stood free on a map. It is kept at each change of map and when the program or the
// page closes, offered by the title menu ("Continuer"), and forgotten by the victory and the
// game-over pages.
//
// The kept text: one key=value a line, '#' lines are comments.
//   format=1                      this layout
//   version=1.0.0                 the game that wrote it
//   hero=ile 17 14 3 0            map, tile x y, facing (0 up 1 right 2 down 3 left), step frame
//   life=20/20  magic=10/10  strength=1  resistance=1  gold=100
//   left.ile=15 7                 where the hero last left each map (0 0: never), every map
//   eaten=entree 15 2             each food tile eaten: map, tile x y (as many lines as eaten)
//   vagabond=ile 9 14 1 0 50 0 0 0   each character: map (none: gone, at -1 -1), tile x y,
//                                    facing, step frame, life, gold, beaten, scene
//   end=1                         the last line: a file cut short has none
#pragma once

#include "globals.h"

#include <functional>
#include <string>

namespace keep {

struct Person {
  int map;  // index in worldMaps, -1: on no map
  int x, y, dir, frame, pv, gold, beaten, scene;
};

struct World {
  int map, x, y, dir, frame;  // the hero
  int pv, pvMax, mana, manaMax, force, resistance, gold;
  int leftX[mapCount], leftY[mapCount];
  bool eaten[mapCount][20 * 16];
  Person cast[castCount];  // [0], the hero, unused
};

// The world as it stands now.
void capture(World& w);
// A new game's world (init2), then `w` over it: maps, cast, the hero on his map.
void apply(const World& w);
// The kept text of `w`.
std::string text(const World& w);
// Reads a kept text: false, with the reason in `why`, when it is cut short, corrupt, of another
// version, or describes a world that cannot be; `out` is then left as it was. The walkable tiles and
// the cast's fighters are read from the game as start-up (init, init2) made them.
bool parse(const std::string& text, World& out, std::string& why);

// ---- between the kept game's own files -------------------------------------------------------
// A food tile as the maps are built, and the tile it leaves once eaten.
constexpr int FOOD = 254, EATEN = 1;
// A map's index in worldMaps, -1 for none.
int mapIndex(const smap* m);
// True when (x, y) is a tile of map m.
bool inside(int m, int x, int y);
// The story's rules (keep_rules.cpp): false with the reason when `w` cannot happen in a game.
bool possible(const World& w, std::string& why);

// Where the kept game lives (store.h); "" keeps nothing anywhere (the tests' default).
extern std::string place;
// Called with the text each time a game is kept (tests).
extern std::function<void(const std::string&)> onKept;

// Reads the kept game at start-up; one that is refused gets one line on stderr and is set aside.
void load();
// The title menu is to offer `text` (false, with the reason, when it is refused).
bool offer(const std::string& text, std::string& why);
// True while the title menu is to offer "Continuer".
bool available();
// Puts the kept game back (the exploration screen then carries on from it).
void resume();
// Called by the exploration loop each time the hero stands free on a whole tile; keeps the game
// when his map changed since it was last kept.
void standing();
// Keeps the game under way now, if any (the window closes, the page is hidden).
void closing();
// The game is over: nothing is kept any more.
void forget();
// Back to the start of a run (tests).
void reset();

}  // namespace keep
