// Purposeful play for the hardening tests: a player who knows the story walks to its next step
// (doors, the grandmother, the grandfather, the guards, the master), rests before a fight, answers
// every dialogue box and page, and fights with magic while it lasts. It only presses keys, reading
// the game's state to decide which.
#include "harness.h"

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

namespace pilot {

bool reckless = false;  // faces the master without resting first
uint64_t stalls = 0;    // times no walk led to the goal

namespace {

int combatStep = 0;


// The fight redraws its background on every pass: a few spots that nothing else covers tell it.
bool battleScreenImpl() {
  if (!Screen || !pSurf_img_battlebg) return false;
  static const int spots[][2] = {{2, 2}, {317, 2}, {2, 237}, {317, 237}, {160, 100}, {40, 150}};
  const auto* bg = static_cast<const uint16_t*>(pSurf_img_battlebg->pixels);
  for (const auto& s : spots)
    if (harness::pixel(s[0], s[1]) != bg[s[1] * pSurf_img_battlebg->pitch / 2 + s[0]]) return false;
  return true;
}


constexpr int DX[4] = {0, 1, 0, -1}, DY[4] = {-1, 0, 1, 0};
constexpr SDLKey DIRKEY[4] = {SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_LEFT};

chara* standing(int x, int y) {
  for (int i = 0; i < nbsprites; i++)
    if (sprites[i]->map == game.map && sprites[i]->x == x && sprites[i]->y == y) return sprites[i];
  return nullptr;
}

bool walkable(int x, int y) {
  if (x < 0 || y < 0 || x >= game.w || y >= game.h) return false;
  const int t = game.tiles[y * game.w + x];
  return t >= 0 && t <= 255 && marche[t] == 1 && !standing(x, y);
}

int tileAt(int x, int y) {
  if (x < 0 || y < 0 || x >= game.w || y >= game.h) return -1;
  return game.tiles[y * game.w + x];
}

// A goal on the current map: where to stand, and which way to face then press the action key
// (-1: standing there is the goal).
struct Goal {
  smap* map = nullptr;
  enum { STAND, FACE_TILE, FACE_CHARA, STAND_ROW } kind = STAND;
  int x = -1, y = -1;  // STAND: the tile; FACE_TILE with x >= 0: stand exactly there
  std::vector<int> tiles;
  chara* who = nullptr;
  bool test(int sx, int sy, int& face) const {
    face = -1;
    switch (kind) {
      case STAND: return sx == x && sy == y;
      case STAND_ROW: return sy <= y;
      case FACE_TILE:
        if (x >= 0 && (sx != x || sy != y)) return false;
        for (int d = 0; d < 4; d++) {
          const int t = tileAt(sx + DX[d], sy + DY[d]);
          if (std::find(tiles.begin(), tiles.end(), t) != tiles.end() &&
              !standing(sx + DX[d], sy + DY[d])) {
            face = d;
            return true;
          }
        }
        return false;
      case FACE_CHARA:
        for (int d = 0; d < 4; d++)
          if (who->map == game.map && who->x == sx + DX[d] && who->y == sy + DY[d]) {
            face = d;
            return true;
          }
        return false;
    }
    return false;
  }
};

smap* parentOf(const smap* m) {
  if (m == &village || m == &entree) return &ile;
  if (m == &maison1 || m == &maison2 || m == &maison3) return &village;
  if (m == &chateau) return &entree;
  return nullptr;
}

// The door from one map to a neighbouring one.
Goal door(smap* from, smap* to) {
  Goal g;
  g.map = from;
  g.kind = Goal::FACE_TILE;
  struct D {
    smap *f, *t;
    int tile, x, y;
  };
  const D table[] = {{&ile, &village, 93, -1, -1},     {&village, &ile, 146, -1, -1},
                     {&village, &maison1, 239, 17, 6}, {&maison1, &village, 138, -1, -1},
                     {&village, &maison2, 239, 6, 3},  {&maison2, &village, 251, -1, -1},
                     {&village, &maison3, 239, 17, 10}, {&maison3, &village, 138, -1, -1},
                     {&ile, &entree, 35, -1, -1},      {&entree, &ile, 64, -1, -1},
                     {&entree, &chateau, 182, -1, -1}, {&chateau, &entree, 182, -1, -1}};
  for (const D& d : table)
    if (d.f == from && d.t == to) {
      g.tiles = {d.tile};
      g.x = d.x;
      g.y = d.y;
    }
  return g;
}

// The next map on the way from one map to another (the maps form a tree around the island).
smap* nextMap(smap* from, smap* to) {
  for (smap* m = to; m; m = parentOf(m))
    if (parentOf(m) == from) return m;
  return parentOf(from);
}

Goal faceChara(chara* c) {
  Goal g;
  g.map = c->map;
  g.kind = Goal::FACE_CHARA;
  g.who = c;
  return g;
}

// What a player who knows the story would do next.
Goal storyGoal() {
  Goal g;
  const bool hurt = perso.pv < perso.pvMax || perso.mana < perso.manaMax;
  auto fightGoal = [&](Goal want) {
    if (!hurt || (reckless && want.who == &boss)) return want;
    Goal rest;
    rest.kind = Goal::FACE_TILE;
    if (game.map == &maison1 || game.map == &maison3) {
      rest.map = game.map;
      rest.tiles = {101};
    } else if (game.map == &maison2) {
      rest.map = game.map;
      rest.tiles = {73};
    } else {
      rest.map = &village;
      rest.tiles = {150};
    }
    return rest;
  };
  if (vagabond.scene < 2) {
    g.map = &ile;
    g.x = 14;
    g.y = 14;
    return g;
  }
  if (gmere.gold > 0) {
    g.map = &maison1;
    g.kind = Goal::STAND_ROW;
    g.y = 2;
    return g;
  }
  if (gpere.pv == 20) return faceChara(&gpere);
  if (!garde1.beaten || !garde2.beaten) {
    g.map = &entree;
    g.x = 10;
    g.y = 1;
    return fightGoal(g);
  }
  if (!garde3.beaten) {
    if (garde3.y == 9) {
      g.map = &chateau;
      g.x = 10;
      g.y = 13;
      return fightGoal(g);
    }
    return fightGoal(faceChara(&garde3));
  }
  for (chara* c : {&garde4, &garde5, &garde6, &garde7})
    if (!c->beaten) return fightGoal(faceChara(c));
  if (boss.map) return fightGoal(faceChara(&boss));
  return faceChara(&princesse);
}

std::vector<SDLKey> held;  // released at the next pump

void pilotPress(SDLKey k) {
  harness::press(k);
  held.push_back(k);
}

// First step of a shortest walk to a tile where the goal holds; -1 when none.
int firstStep(const Goal& g) {
  const int w = game.w, h = game.h;
  std::vector<int> from(static_cast<size_t>(w * h), -2);
  std::deque<int> q;
  // the tile under the hero's pixels: his tile fields are refreshed later in the frame
  const int start = (perso.py / 32) * w + perso.px / 32;
  from[static_cast<size_t>(start)] = -1;
  q.push_back(start);
  while (!q.empty()) {
    const int cur = q.front();
    q.pop_front();
    int face;
    if (cur != start && g.test(cur % w, cur / w, face)) {
      int c = cur;
      while (from[static_cast<size_t>(c)] != start) c = from[static_cast<size_t>(c)];
      for (int d = 0; d < 4; d++)
        if (c == start + DY[d] * w + DX[d]) return d;
    }
    for (int d = 0; d < 4; d++) {
      const int nx = cur % w + DX[d], ny = cur / w + DY[d];
      const size_t at = static_cast<size_t>(ny) * static_cast<size_t>(w) + static_cast<size_t>(nx);
      if (!walkable(nx, ny) || from[at] != -2) continue;
      from[at] = cur;
      q.push_back(ny * w + nx);
    }
  }
  return -1;
}


void pilotPump(std::mt19937& rng) {
  // Every key the pilot pressed is released on the next pump: one press, one action.
  if (!held.empty()) {
    for (SDLKey k : held) harness::release(k);
    held.clear();
    return;
  }
  if (hal_waitMask) {  // a dialogue box or a page
    pilotPress((hal_waitMask & KEY_A) ? SDLK_SPACE : SDLK_RETURN);
    return;
  }
  if (flow_current == SCR_MENU) {
    pilotPress(rng() % 2 ? SDLK_UP : SDLK_RETURN);
    return;
  }
  if (flow_current == SCR_INTRO) {
    pilotPress(SDLK_RETURN);
    return;
  }
  if (flow_current != SCR_ENGINE || !game.tiles) return;
  if (battleScreenImpl()) {
    // back to the first entry, down once for magic while it lasts, then the action key
    static const SDLKey attack[] = {SDLK_UP, SDLK_UP, SDLK_SPACE};
    static const SDLKey magic[] = {SDLK_UP, SDLK_UP, SDLK_DOWN, SDLK_SPACE};
    const bool useMagic = perso.mana >= 10;
    const int n = useMagic ? 4 : 3;
    pilotPress(useMagic ? magic[combatStep % n] : attack[combatStep % n]);
    combatStep = (combatStep + 1) % n;
    return;
  }
  combatStep = 0;
  if (perso.px % 32 || perso.py % 32) return;  // mid-step
  Goal g = storyGoal();
  if (g.map && g.map != game.map) g = door(game.map, nextMap(game.map, g.map));
  int face;
  if (g.test(perso.px / 32, perso.py / 32, face)) {
    if (face < 0) {
      pilotPress(DIRKEY[rng() % 4]);  // there, yet nothing happened: shuffle
    } else if (perso.dir != face) {
      pilotPress(DIRKEY[face]);
    } else {
      pilotPress(SDLK_SPACE);
    }
    return;
  }
  const int d = firstStep(g);
  if (d < 0) {
    stalls++;
    pilotPress(DIRKEY[rng() % 4]);
    return;
  }
  pilotPress(DIRKEY[d]);
}

}  // namespace

void reset() {
  held.clear();
  combatStep = 0;
  reckless = false;
}

void pump(std::mt19937& rng) { pilotPump(rng); }

void releaseKeys() {
  for (SDLKey k : held) harness::release(k);
  held.clear();
}

bool battleScreen() { return battleScreenImpl(); }

}  // namespace pilot
