// The autopilot: a careful player who walks by whole tiles, goes through doors, answers every box,
// fights with magic first, rests or eats before a fight and flees only where a defeat would end
// the game.
#include "support_autopilot.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <queue>

namespace autopilot {

namespace {

Options opts;
Report rep;

// ---- keys ----------------------------------------------------------------------------------

std::vector<SDLKey> held;

bool holding(SDLKey k) { return std::find(held.begin(), held.end(), k) != held.end(); }
void hold(SDLKey k) {
  if (holding(k)) return;
  harness::press(k);
  held.push_back(k);
}
void letGo(SDLKey k) {
  if (!holding(k)) return;
  harness::release(k);
  held.erase(std::find(held.begin(), held.end(), k));
}
void letGoAll() {
  while (!held.empty()) letGo(held.back());
}
const SDLKey arrows[4] = {SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_LEFT};
// Holds the arrow of facing d and nothing else.
void holdOnly(SDLKey k) {
  for (size_t i = held.size(); i-- > 0;)
    if (held[i] != k) letGo(held[i]);
  hold(k);
}

// ---- the screen ----------------------------------------------------------------------------

// Points of the duel background that nothing of the fight draws over.
const int probes[][2] = {{5, 5},     {314, 5}, {5, 100},  {314, 100}, {60, 150},
                         {260, 150}, {5, 235}, {100, 60}, {220, 70}};

uint16_t surfacePixel(SDL_Surface* s, int x, int y) {
  return static_cast<const uint16_t*>(s->pixels)[y * s->pitch / 2 + x];
}

bool blackOnScreen() {
  for (const auto& p : probes)
    if (harness::pixel(p[0], p[1]) != 0) return false;
  return true;
}

// ---- the world as the pilot knows it ----------------------------------------------------------

smap* const maps[7] = {&ile, &village, &maison1, &maison2, &maison3, &entree, &chateau};
constexpr int STRIDE = 20 * 16;

int mapIndex(const smap* m) {
  for (int i = 0; i < 7; i++)
    if (maps[i] == m) return i;
  return -1;
}

const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};

const chara* characterAt(const smap* m, int x, int y) {
  const chara* found = nullptr;
  for (int i = 0; i < nbsprites; i++) {
    const chara* c = sprites[i];
    if (c && c->map == m && c->x == x && c->y == y) found = c;
  }
  return found;
}

int tileAt(const smap* m, int x, int y) { return m->tiles[y * m->w + x]; }
bool inside(const smap* m, int x, int y) { return x >= 0 && y >= 0 && x < m->w && y < m->h; }

// A goal: stand on a node, and when dir >= 0, face dir and press the action key there.
struct Target {
  int node;
  int dir;
};

int nodeOf(int m, int x, int y) { return m * STRIDE + y * 20 + x; }

// Every tile from which the hero faces (x, y) of map m.
void facing(std::vector<Target>& out, smap* m, int x, int y) {
  const int mi = mapIndex(m);
  for (int d = 0; d < 4; d++) {
    const int hx = x - dx[d], hy = y - dy[d];
    if (inside(m, hx, hy)) out.push_back({nodeOf(mi, hx, hy), d});
  }
}

// The tiles where a fight starts on its own: the gate guards' tile while they stand unbeaten, and
// the castle's entry tile (where its door leads) until the door guard has come: stepped on only
// when that fight is the aim, never on the way to a rest.
bool avoided(int mi, int x, int y, bool sceneWanted) {
  if (sceneWanted) return false;
  if (maps[mi] == &entree && x == 10 && y == 1) return garde1.beaten == 0 || garde2.beaten == 0;
  if (maps[mi] == &chateau && x == 10 && y == 13) return garde3.beaten == 0 && garde3.y == 9;
  return false;
}

bool walkable(int mi, int x, int y, bool sceneWanted) {
  const smap* m = maps[mi];
  if (!inside(m, x, y)) return false;
  const int t = tileAt(m, x, y);
  if (t < 0 || t > 255 || marche[t] != 1) return false;
  if (characterAt(m, x, y)) return false;
  return !avoided(mi, x, y, sceneWanted);
}

// What to do now, as found by the path finder.
struct Move {
  enum Kind { None, Here, Walk, Act } kind = None;
  int dir = 0;
};

// Shortest way over every map (whole-tile steps and doors) from the hero to one of the targets.
Move plan(const std::vector<Target>& targets, bool sceneWanted) {
  // at a pump the hero's tile fields still hold the tile he left: his pixels tell where he is
  const int hx = perso.px / 32, hy = perso.py / 32;
  const int start = nodeOf(mapIndex(game.map), hx, hy);
  std::vector<int> goalDir(7 * STRIDE, -2);  // -2: not a goal; -1: stand there; 0..3: act facing
  for (const Target& t : targets) {
    const int mi = t.node / STRIDE, x = t.node % STRIDE % 20, y = t.node % STRIDE / 20;
    if (t.node != start && !walkable(mi, x, y, sceneWanted)) continue;
    goalDir[t.node] = t.dir;
  }
  std::vector<int> dist(7 * STRIDE, 1 << 30), prev(7 * STRIDE, -1), how(7 * STRIDE, -1);
  using Item = std::pair<int, int>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> q;
  dist[start] = 0;
  q.push({0, start});
  while (!q.empty()) {
    const auto [d, u] = q.top();
    q.pop();
    if (d != dist[u]) continue;
    if (goalDir[u] != -2) {
      // walk back to the first move
      int v = u;
      while (prev[v] != start && prev[v] >= 0) v = prev[v];
      Move mv;
      if (v == u && u == start) {
        mv.kind = goalDir[u] >= 0 ? Move::Act : Move::Here;
        mv.dir = goalDir[u];
      } else {
        const int h = how[v];  // 0..3 walk, 4..7 door facing h - 4
        mv.kind = h < 4 ? Move::Walk : Move::Act;
        mv.dir = h % 4;
      }
      return mv;
    }
    const int mi = u / STRIDE, x = u % STRIDE % 20, y = u % STRIDE / 20;
    smap* m = maps[mi];
    for (int dir = 0; dir < 4; dir++) {
      const int nx = x + dx[dir], ny = y + dy[dir];
      if (!inside(m, nx, ny)) continue;
      if (walkable(mi, nx, ny, sceneWanted)) {
        const int v = nodeOf(mi, nx, ny);
        if (d + 1 < dist[v]) {
          dist[v] = d + 1;
          prev[v] = u;
          how[v] = dir;
          q.push({d + 1, v});
        }
      }
      if (characterAt(m, nx, ny)) continue;
      const int tile = tileAt(m, nx, ny);
      for (const Door& door : doorTable) {
        if (door.from != m || door.tile != tile) continue;
        if (door.heroX >= 0 && (door.heroX != x || door.heroY != y)) continue;
        smap* to = door.to;
        const bool stored = to->lastX != 0 && to->lastY != 0;
        const int tx = stored ? to->lastX : to->startX, ty = stored ? to->lastY : to->startY;
        if (avoided(mapIndex(to), tx, ty, sceneWanted)) break;
        const int v = nodeOf(mapIndex(to), tx, ty);
        if (d + 4 < dist[v]) {
          dist[v] = d + 4;
          prev[v] = u;
          how[v] = 4 + dir;
          q.push({d + 4, v});
        }
        break;
      }
    }
  }
  return Move{};
}

// ---- the story, as a list of aims ------------------------------------------------------------

bool healthy() { return perso.pv >= perso.pvMax && perso.mana >= perso.manaMax; }

void healTargets(std::vector<Target>& out) {
  for (smap* m : maps)
    for (int y = 0; y < m->h; y++)
      for (int x = 0; x < m->w; x++) {
        const int t = tileAt(m, x, y);
        if (t == 101 || t == 73 || t == 150 || t == 254) facing(out, m, x, y);
      }
}

void talkTo(std::vector<Target>& out, const chara& c) {
  if (c.map) facing(out, c.map, c.x, c.y);
}

// The targets of the current aim; `fight` tells that reaching them starts a fight.
std::vector<Target> aims(bool& fight, bool& sceneWanted, const char*& name) {
  std::vector<Target> t;
  fight = false;
  sceneWanted = false;
  if (vagabond.scene < 2) {
    name = "ambush";
    t.push_back({nodeOf(mapIndex(&ile), 14, 14), -1});
    return t;
  }
  if (gmere.gold > 0) {
    name = "welcome";
    for (int y = 0; y <= 2; y++)
      for (int x = 0; x < maison1.w; x++) t.push_back({nodeOf(mapIndex(&maison1), x, y), -1});
    return t;
  }
  if (gpere.pv == 20) {
    name = "gift";
    talkTo(t, gpere);
    return t;
  }
  fight = true;
  if (garde1.beaten == 0 || garde2.beaten == 0) {
    name = "gate";
    sceneWanted = true;
    t.push_back({nodeOf(mapIndex(&entree), 10, 1), -1});
  } else if (garde3.beaten == 0 && garde3.y == 9) {
    name = "castle door";
    sceneWanted = true;
    t.push_back({nodeOf(mapIndex(&chateau), chateau.startX, chateau.startY), -1});
    if (game.map == &chateau) t.clear();  // the door guard comes to the hero on his own
  } else if (garde3.beaten == 0 || garde4.beaten == 0 || garde5.beaten == 0 || garde6.beaten == 0 ||
             garde7.beaten == 0) {
    name = "castle guards";
    for (const chara* g : {&garde3, &garde4, &garde5, &garde6, &garde7})
      if (g->beaten == 0) talkTo(t, *g);
  } else if (boss.beaten == 0 && perso.force >= 6 && perso.resistance >= 6) {
    name = "master";
    talkTo(t, boss);
  } else {
    name = "nothing left";
    fight = false;
  }
  return t;
}

// ---- fights ----------------------------------------------------------------------------------

bool inFight = false;
bool resumed = false;  // handed control by another player: a fight may already be under way
int choice = 0;
int unsure = 0;  // presses of up still due before the cursor surely shows the first entry

int answerMax(const chara* e) { return std::max(8 + 5 * e->force, 10 + 3 * e->force); }

// 0: the dragon attack, 1: magic, 2: flight.
int wantedChoice() {
  const chara* e = ennemi;
  if (opts.loseToMaster && e->fatal == 1) return 0;
  const int dragonMin = ((100 - e->resistance) * (perso.force + 10)) / 100;
  const bool magic = perso.mana > 9;
  // a blow that surely ends the fight comes before the opponent can answer
  if (dragonMin >= e->pv) return 0;
  if (magic && 2 * perso.force >= e->pv) return 1;
  // Only a defeat by a fatal opponent (the master) ends the game: against him the pilot flees
  // while one answer could take its last point and its gold allows it. A guard's answer is never
  // fatal to the game (the hero wakes with 1 pv, the guard heals, and resting mends it all), and
  // 40 of the 85 gold left after the robbery is worth more kept for the master.
  if (e->fatal == 1 && perso.pv <= answerMax(e) && perso.gold > 39 && e->noFlee != 1) return 2;
  return magic ? 1 : 0;
}

void beginFight() {
  inFight = true;
  choice = 0;
  unsure = resumed ? 2 : 0;
}

void endFight() { inFight = false; }

void fightTurn() {
  if (!held.empty()) {
    letGoAll();
    return;
  }
  const int want = wantedChoice();
  if (unsure > 0) {
    unsure--;
    hold(SDLK_UP);
  } else if (choice < want) {
    hold(SDLK_DOWN);
    choice++;
  } else if (choice > want) {
    hold(SDLK_UP);
    choice--;
  } else {
    hold(SDLK_SPACE);
  }
}

// ---- the driver ------------------------------------------------------------------------------

ScreenId lastScreen = SCR_NONE;
int idle = 0, stalls = 0;
bool afterBox = false;

// Playing on: no way to the aim, or a wait on it in vain; a step aside gives the world a chance.
void stepAside() {
  idle = 0;
  holdOnly(arrows[++stalls % 4]);
}

void finish(const char* why) {
  if (why) rep.stuck = why;
  rep.endAt = GpTickCountGet();
  letGoAll();
  harness::closeWindow();
}

void answerBox() {
  for (SDLKey a : arrows) letGo(a);
  if (holding(SDLK_SPACE)) {
    letGo(SDLK_SPACE);
    return;
  }
  hold(SDLK_SPACE);
}

void explore() {
  if (holding(SDLK_SPACE)) {
    letGo(SDLK_SPACE);
    return;
  }
  if (perso.px % 32 != 0 || perso.py % 32 != 0) return;  // a step is under way: keep the arrow
  if (opts.games >= 2 && rep.games >= opts.games && vagabond.scene == 2) {
    finish(nullptr);
    return;
  }
  bool fight = false, sceneWanted = false;
  const char* name = "";
  std::vector<Target> targets = aims(fight, sceneWanted, name);
  if (targets.empty()) {  // waiting for a scene, or nothing left to do: stand still
    letGoAll();
    return;
  }
  Move mv;
  const bool careless = opts.loseToMaster && std::strcmp(name, "master") == 0;
  if (fight && !healthy() && !careless) {
    std::vector<Target> heal;
    healTargets(heal);
    mv = plan(heal, false);
  }
  if (mv.kind == Move::None) mv = plan(targets, sceneWanted);
  if (mv.kind == Move::Here) {  // on the aim's tile: its scene is about to play
    letGoAll();
    if (++idle <= 2000) return;
    if (opts.games == 0)
      stepAside();
    else
      finish("standing on the aim's tile and nothing happens");
    return;
  }
  idle = 0;
  if (mv.kind == Move::None && opts.games == 0) {
    stepAside();
    return;
  }
  if (mv.kind == Move::None) {
    static char why[96];
    std::snprintf(why, sizeof why, "no way to the aim '%s' from map %d (%d, %d)", name,
                  mapIndex(game.map), perso.px / 32, perso.py / 32);
    finish(why);
    return;
  }
  // a walk, or a turn on the spot where the tile in front is not walkable: the same arrow
  if (mv.kind == Move::Walk || perso.dir != mv.dir) {
    holdOnly(arrows[mv.dir]);
  } else {
    for (SDLKey a : arrows) letGo(a);
    hold(SDLK_SPACE);
  }
}

void drive() {
  const ScreenId s = flow_current;
  if (s != lastScreen) {
    if (s == SCR_INTRO) rep.games++;
    lastScreen = s;
  }
  if (s != SCR_ENGINE) afterBox = false;
  switch (s) {
    case SCR_MENU:
    case SCR_INTRO:
      if (inFight) endFight();
      if (s == SCR_MENU && rep.bravoAt != 0 && opts.games == 1) {
        finish(nullptr);
        return;
      }
      if (!held.empty()) {
        letGoAll();
        return;
      }
      hold(s == SCR_MENU ? SDLK_SPACE : SDLK_RETURN);
      return;
    case SCR_BRAVO:
    case SCR_GAMEOVER:
    case SCR_INFO:
    case SCR_ABOUT:
      if (inFight) endFight();
      if (!held.empty()) {
        letGoAll();
        return;
      }
      if (hal_waitMask) {
        if (s == SCR_BRAVO) rep.bravoAt = GpTickCountGet();
        hold(SDLK_SPACE);
      }
      return;
    case SCR_ENGINE: break;
    default: return;
  }
  if (hal_waitMask & KEY_A) {
    if (inFight) endFight();
    answerBox();
    afterBox = true;
    return;
  }
  const bool duel = combatOnScreen();
  if (inFight && !duel && !holding(SDLK_SPACE)) endFight();
  // every fight is announced by a box: its opening ends on a black screen, then the duel shows
  if (!inFight && afterBox && ennemi && (duel || blackOnScreen())) beginFight();
  afterBox = false;
  resumed = false;
  if (inFight) {
    if (duel)
      fightTurn();
    else
      letGoAll();
    return;
  }
  explore();
}

}  // namespace

bool combatOnScreen() {
  if (!Screen || !pSurf_img_battlebg) return false;
  for (const auto& p : probes)
    if (harness::pixel(p[0], p[1]) != surfacePixel(pSurf_img_battlebg, p[0], p[1])) return false;
  return true;
}

void begin(const Options& o) {
  opts = o;
  rep = Report();
  held.clear();
  inFight = false;
  lastScreen = SCR_NONE;
  idle = 0;
  afterBox = false;
  resumed = false;
}

void install(const Options& o) {
  begin(o);
  harness::driver = drive;
}

void pump() { drive(); }

void resume() {
  letGoAll();
  inFight = false;  // a fight it was in may have ended meanwhile
  afterBox = true;  // one under way now is taken up at the next pump
  resumed = true;
  idle = 0;
}

void releaseKeys() { letGoAll(); }

const Report& report() { return rep; }

}  // namespace autopilot
