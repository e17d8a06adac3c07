// The kept game: the world taken from the game and put back, and the run's keeping (when a game
// is kept, offered, resumed and forgotten). Its text is keep_format.cpp, its checks keep_rules.cpp.
#include "keep.h"

#include "keep_store.h"

#include <cstdio>

namespace keep {

std::string place;
std::function<void(const std::string&)> onKept;

int mapIndex(const smap* m) {
  for (int i = 0; i < mapCount; i++)
    if (worldMaps[i].map == m) return i;
  return -1;
}

bool inside(int m, int x, int y) {
  return m >= 0 && m < mapCount && x >= 0 && y >= 0 && x < worldMaps[m].w && y < worldMaps[m].h;
}

namespace {

World latest;   // the last moment the hero stood free
World offered;  // the kept game the title menu offers
bool underWay = false, isOffered = false, complained = false;
const smap* keptMap = nullptr;  // the map he stood on when the game was last kept

void keepNow() {
  const std::string t = text(latest);
  std::string error;
  if (!place.empty() && !store::write(place, t, error) && !complained) {
    complained = true;  // once a run: the game goes on all the same
    std::fprintf(stderr, "talmyr: cannot keep the game in %s: %s\n", place.c_str(), error.c_str());
  }
  if (onKept) onKept(t);
}

}  // namespace

void capture(World& w) {
  w.map = mapIndex(game.map);
  w.x = perso.x;
  w.y = perso.y;
  w.dir = perso.dir;
  w.frame = perso.frame;
  w.pv = perso.pv;
  w.pvMax = perso.pvMax;
  w.mana = perso.mana;
  w.manaMax = perso.manaMax;
  w.force = perso.force;
  w.resistance = perso.resistance;
  w.gold = perso.gold;
  for (int m = 0; m < mapCount; m++) {
    const MapEntry& e = worldMaps[m];
    w.leftX[m] = e.map->lastX;
    w.leftY[m] = e.map->lastY;
    for (int i = 0; i < e.w * e.h; i++)
      w.eaten[m][i] = e.built[i] == FOOD && e.map->tiles[i] == EATEN;
  }
  w.cast[0] = Person{};
  for (int i = 1; i < castCount; i++) {
    const chara* c = worldCast[i].who;
    w.cast[i] =
        Person{mapIndex(c->map), c->x, c->y, c->dir, c->frame, c->pv, c->gold, c->beaten, c->scene};
  }
}

void apply(const World& w) {
  init2();
  for (int m = 0; m < mapCount; m++) {
    smap* s = worldMaps[m].map;
    s->lastX = w.leftX[m];
    s->lastY = w.leftY[m];
    for (int i = 0; i < s->w * s->h; i++)
      if (w.eaten[m][i]) s->tiles[i] = EATEN;
  }
  for (int i = 1; i < castCount; i++) {
    const Person& p = w.cast[i];
    chara* c = worldCast[i].who;
    placeChara(p.map < 0 ? nullptr : worldMaps[p.map].map, c, p.x, p.y, p.dir);
    c->frame = p.frame;
    c->pv = p.pv;
    c->gold = p.gold;
    c->beaten = p.beaten;
    c->scene = p.scene;
  }
  smap* m = worldMaps[w.map].map;
  game.map = m;
  game.tiles = m->tiles;
  game.w = m->w;
  game.h = m->h;
  perso.map = nullptr;
  perso.x = w.x;
  perso.y = w.y;
  perso.px = 32 * w.x;
  perso.py = 32 * w.y;
  perso.dir = w.dir;
  perso.frame = w.frame;
  perso.pv = w.pv;
  perso.pvMax = w.pvMax;
  perso.mana = w.mana;
  perso.manaMax = w.manaMax;
  perso.force = w.force;
  perso.resistance = w.resistance;
  perso.gold = w.gold;
}

bool offer(const std::string& text, std::string& why) {
  World w;
  if (!parse(text, w, why)) return false;
  offered = w;
  isOffered = true;
  return true;
}

void load() {
  std::string t, why;
  if (!store::read(place, t) || offer(t, why)) return;
  store::setAside(place);
  std::string left;
  if (store::read(place, left))  // it could not be moved (store said why): it stays as it is
    std::fprintf(stderr, "talmyr: %s: %s; not continued\n", place.c_str(), why.c_str());
  else
    std::fprintf(stderr, "talmyr: %s: %s; not continued, set aside as %s.bad\n", place.c_str(),
                 why.c_str(), place.c_str());
}

bool available() { return isOffered; }

void resume() {
  if (!isOffered) return;
  apply(offered);
  latest = offered;
  underWay = true;
  isOffered = false;
  keptMap = game.map;
}

void standing() {
  capture(latest);
  underWay = true;
  if (game.map != keptMap) {
    keptMap = game.map;
    keepNow();
  }
}

void closing() {
  if (underWay) keepNow();
}

void forget() {
  underWay = isOffered = false;
  keptMap = nullptr;
  store::forget(place);
}

void reset() {
  underWay = isOffered = complained = false;
  keptMap = nullptr;
  place.clear();
  onKept = nullptr;
}

}  // namespace keep
