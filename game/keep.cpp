// The kept game: taken, written, read, checked and put back.
#include "keep.h"

#include "keep_store.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#ifndef TALMYR_VERSION
#define TALMYR_VERSION "0"
#endif

namespace keep {

std::string place;
std::function<void(const std::string&)> onKept;

namespace {

constexpr int FOOD = 254, EATEN = 1;

int mapIndex(const smap* m) {
  for (int i = 0; i < mapCount; i++)
    if (worldMaps[i].map == m) return i;
  return -1;
}

int mapNamed(const std::string& name) {
  for (int i = 0; i < mapCount; i++)
    if (name == worldMaps[i].name) return i;
  return -1;
}

// ---- reading ----

std::vector<std::string> words(const std::string& v) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < v.size()) {
    const size_t j = v.find(' ', i);
    const size_t end = j == std::string::npos ? v.size() : j;
    if (end > i) out.push_back(v.substr(i, end - i));
    i = end + 1;
  }
  return out;
}

// A whole number of at most six digits, a minus sign allowed.
bool number(const std::string& s, int& out) {
  size_t i = s.size() > 0 && s[0] == '-' ? 1 : 0;
  if (s.size() == i || s.size() - i > 6) return false;
  int n = 0;
  for (; i < s.size(); i++) {
    if (s[i] < '0' || s[i] > '9') return false;
    n = n * 10 + (s[i] - '0');
  }
  out = s[0] == '-' ? -n : n;
  return true;
}

// A map's name (or "none" when `none` is allowed) then `count` numbers.
bool fields(const std::string& v, bool none, int& map, int* nums, size_t count) {
  const std::vector<std::string> w = words(v);
  if (w.size() != count + 1) return false;
  map = none && w[0] == "none" ? -1 : mapNamed(w[0]);
  if (map < 0 && !(none && w[0] == "none")) return false;
  for (size_t i = 0; i < count; i++)
    if (!number(w[i + 1], nums[i])) return false;
  return true;
}

bool numbers(const std::string& v, int* nums, size_t count, char sep = ' ') {
  std::vector<std::string> w;
  if (sep == ' ') {
    w = words(v);
  } else {
    const size_t at = v.find(sep);
    if (at == std::string::npos) return false;
    w = {v.substr(0, at), v.substr(at + 1)};
  }
  if (w.size() != count) return false;
  for (size_t i = 0; i < count; i++)
    if (!number(w[i], nums[i])) return false;
  return true;
}

bool inside(int m, int x, int y) {
  return m >= 0 && m < mapCount && x >= 0 && y >= 0 && x < worldMaps[m].w && y < worldMaps[m].h;
}

// The tile at (x, y) of map m as the kept world has it.
int tileAt(const World& w, int m, int x, int y) {
  if (w.eaten[m][y * worldMaps[m].w + x]) return EATEN;
  return worldMaps[m].built[y * worldMaps[m].w + x];
}

bool walkable(const World& w, int m, int x, int y) {
  if (!inside(m, x, y)) return false;
  const int t = tileAt(w, m, x, y);
  return t >= 0 && t < 256 && marche[t] == 1;
}

int beaten(const World& w, const chara* c) {
  const CastEntry* e = castEntry(c);
  return w.cast[e - worldCast].beaten;
}

// The rules of the story: false with the reason when `w` cannot happen in a game.
bool possible(const World& w, std::string& why) {
  auto no = [&why](const char* reason) {
    why = reason;
    return false;
  };
  if (!walkable(w, w.map, w.x, w.y)) return no("the hero is off his map or inside a wall");
  if (w.dir < 0 || w.dir > 3 || w.frame < 0 || w.frame > 1) return no("the hero faces no way");
  for (int m = 0; m < mapCount; m++) {
    // food is eaten on the map the hero stands on, or on one he has left since
    for (int i = 0; i < worldMaps[m].w * worldMaps[m].h; i++) {
      if (!w.eaten[m][i]) continue;
      if (worldMaps[m].built[i] != FOOD) return no("food eaten where none was");
      if (m != w.map && w.leftX[m] == 0 && w.leftY[m] == 0) return no("food eaten on a map never left");
    }
    if (w.leftX[m] == 0 && w.leftY[m] == 0) continue;
    if (!walkable(w, m, w.leftX[m], w.leftY[m])) return no("a map was left from inside a wall");
  }
  // the cast: each on his own map (only the vagrant ever leaves), no two on one tile
  std::set<std::pair<int, int>> taken[mapCount];
  taken[w.map].insert({w.x, w.y});
  for (int i = 1; i < castCount; i++) {
    const Person& p = w.cast[i];
    const chara* c = worldCast[i].who;
    const bool fighter = c->pvMax > 0;
    if (p.map < 0) {
      if (c != &vagabond || p.x != -1 || p.y != -1) return no("a character is missing");
    } else {
      if (worldCast[i].home != worldMaps[p.map].map) return no("a character is on another map");
      if (!inside(p.map, p.x, p.y)) return no("a character is off his map");
      if (!taken[p.map].insert({p.x, p.y}).second) return no("two stand on one tile");
    }
    if (p.dir < 0 || p.dir > 3 || p.frame < 0 || p.frame > 1) return no("a character faces no way");
    if (p.beaten < 0 || p.beaten > 1 || (p.beaten && !fighter)) return no("a beaten flag out of place");
    if (fighter && (p.pv < 0 || p.pv > c->pvMax || (p.pv == 0) != (p.beaten == 1)))
      return no("a fighter's life is out of bounds");
    if (!fighter && p.pv != (c == &gpere ? p.pv == 10 ? 10 : 20 : 0)) return no("a life is out of bounds");
    if (p.gold != (c == &gmere && p.gold == 75 ? 75 : 0)) return no("a character's gold is out of bounds");
    if (p.scene != 0 && (c != &vagabond || p.scene > 2 || p.scene < 0)) return no("a scene out of order");
  }
  const Person& vag = w.cast[castEntry(&vagabond) - worldCast];
  if ((vag.scene == 2) != (vag.map < 0)) return no("the vagrant is gone before the robbery");
  // the story's order: the gate's two guards first, and only then the castle
  const int g1 = beaten(w, &garde1), g2 = beaten(w, &garde2);
  const bool gates = g1 && g2;
  if (g2 && !g1) return no("the gate's guards beaten out of order");
  for (const chara* c : {&garde3, &garde4, &garde5, &garde6, &garde7, &boss})
    if (beaten(w, c) && !gates) return no("a castle guard beaten before the gate");
  if ((worldMaps[w.map].map == &chateau || w.leftX[mapIndex(&chateau)] != 0) && !gates)
    return no("the castle entered before the gate");
  // the hero: what he has is what the story gave him
  // the grandfather's gift and each duel won, as the fighters' table gives them
  const int gift = w.cast[castEntry(&gpere) - worldCast].pv == 10 ? 1 : 0;
  int pvMax = 20 + 15 * gift, force = 1 + gift;
  int resistance = force;
  for (const FighterEntry& f : fighterTable) {
    if (!beaten(w, f.who)) continue;
    pvMax += f.bonusPvMax;
    force += f.bonusForce;
    resistance += f.bonusResistance;
  }
  if (w.pvMax != pvMax || w.manaMax != 10 + 10 * gift)
    return no("the hero's maximum life or magic was not earned");
  if (w.force != force || w.resistance != resistance)
    return no("the hero's strength or resistance was not earned");
  if (beaten(w, &boss) && (w.force < 6 || w.resistance < 6)) return no("the master beaten too soon");
  if (w.pv < 1 || w.pv > w.pvMax || w.mana < 0 || w.mana > w.manaMax)
    return no("the hero's life or magic is out of bounds");
  const int gmereGold = w.cast[castEntry(&gmere) - worldCast].gold;
  if (w.gold < 0 || w.gold > (vag.scene == 2 ? 0 : 100) + (gmereGold == 0 ? 85 : 0))
    return no("the hero's gold was not earned");
  return true;
}

// ---- the run's keeping ----

World latest;                    // the last moment the hero stood free
World offered;                   // the kept game the title menu offers
bool underWay = false, isOffered = false, complained = false;
const smap* keptMap = nullptr;   // the map he stood on when the game was last kept

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
    for (int i = 0; i < e.w * e.h; i++) w.eaten[m][i] = e.built[i] == FOOD && e.map->tiles[i] == EATEN;
  }
  w.cast[0] = Person{};
  for (int i = 1; i < castCount; i++) {
    const chara* c = worldCast[i].who;
    w.cast[i] = Person{mapIndex(c->map), c->x, c->y, c->dir, c->frame, c->pv, c->gold, c->beaten, c->scene};
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

std::string text(const World& w) {
  char line[160];
  std::string t = "# Talmyr demo 2': a game kept to be continued (delete this file to forget it)\n";
  t += "format=1\nversion=" TALMYR_VERSION "\n";
  t += "# the hero: map, tile x y, facing (0 up, 1 right, 2 down, 3 left), step frame\n";
  std::snprintf(line, sizeof line, "hero=%s %d %d %d %d\nlife=%d/%d\nmagic=%d/%d\n", worldMaps[w.map].name,
                w.x, w.y, w.dir, w.frame, w.pv, w.pvMax, w.mana, w.manaMax);
  t += line;
  std::snprintf(line, sizeof line, "strength=%d\nresistance=%d\ngold=%d\n", w.force, w.resistance, w.gold);
  t += line;
  t += "# where the hero last left each map (0 0: never); each food eaten: map, tile x y\n";
  for (int m = 0; m < mapCount; m++) {
    std::snprintf(line, sizeof line, "left.%s=%d %d\n", worldMaps[m].name, w.leftX[m], w.leftY[m]);
    t += line;
  }
  for (int m = 0; m < mapCount; m++)
    for (int i = 0; i < worldMaps[m].w * worldMaps[m].h; i++)
      if (w.eaten[m][i]) {
        std::snprintf(line, sizeof line, "eaten=%s %d %d\n", worldMaps[m].name, i % worldMaps[m].w,
                      i / worldMaps[m].w);
        t += line;
      }
  t += "# each character: map (none: gone), tile x y, facing, step frame, life, gold, beaten, scene\n";
  for (int i = 1; i < castCount; i++) {
    const Person& p = w.cast[i];
    std::snprintf(line, sizeof line, "%s=%s %d %d %d %d %d %d %d %d\n", worldCast[i].name,
                  p.map < 0 ? "none" : worldMaps[p.map].name, p.x, p.y, p.dir, p.frame, p.pv, p.gold,
                  p.beaten, p.scene);
    t += line;
  }
  return t + "end=1\n";
}

bool parse(const std::string& text, World& out, std::string& why) {
  auto no = [&why](const std::string& reason) {
    why = reason;
    return false;
  };
  if (text.size() > 16384) return no("too long to be a kept game");
  if (text.find('\0') != std::string::npos) return no("not text");
  std::map<std::string, std::string> values;
  std::vector<std::string> eaten;
  // a byte-order mark, as some editors write, and CR LF line ends, as other systems do, are no harm
  size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  bool ended = false;
  while (at < text.size()) {
    size_t nl = text.find('\n', at);
    if (nl == std::string::npos) nl = text.size();
    const std::string l = text.substr(at, nl - at - (nl > at && text[nl - 1] == '\r' ? 1 : 0));
    at = nl + 1;
    if (ended) return no("lines after its end");
    if (l.empty() || l[0] == '#') continue;
    const size_t eq = l.find('=');
    if (eq == std::string::npos) return no("a line that is not key=value");
    const std::string key = l.substr(0, eq), value = l.substr(eq + 1);
    if (key == "eaten") {
      eaten.push_back(value);
      continue;
    }
    if (!values.emplace(key, value).second) return no("the key " + key + " twice");
    ended = key == "end";
  }
  if (!ended || values["end"] != "1") return no("cut short");
  if (values["format"] != "1" || values["version"] != TALMYR_VERSION)
    return no("written by another version of the game");
  World w{};
  const size_t known = 9 + mapCount + castCount - 1;  // format version hero life magic strength resistance gold end
  int n[8];
  if (!fields(values["hero"], false, w.map, n, 4)) return no("no hero");
  w.x = n[0], w.y = n[1], w.dir = n[2], w.frame = n[3];
  if (!numbers(values["life"], n, 2, '/')) return no("no life");
  w.pv = n[0], w.pvMax = n[1];
  if (!numbers(values["magic"], n, 2, '/')) return no("no magic");
  w.mana = n[0], w.manaMax = n[1];
  if (!numbers(values["strength"], &w.force, 1) || !numbers(values["resistance"], &w.resistance, 1) ||
      !numbers(values["gold"], &w.gold, 1))
    return no("no strength, resistance or gold");
  for (int m = 0; m < mapCount; m++) {
    const std::string key = std::string("left.") + worldMaps[m].name;
    if (!numbers(values[key], n, 2)) return no("no " + key);
    w.leftX[m] = n[0], w.leftY[m] = n[1];
  }
  for (const std::string& e : eaten) {
    int m;
    if (!fields(e, false, m, n, 2) || !inside(m, n[0], n[1])) return no("food eaten off the maps");
    bool& cell = w.eaten[m][n[1] * worldMaps[m].w + n[0]];
    if (cell) return no("food eaten twice");
    cell = true;
  }
  for (int i = 1; i < castCount; i++) {
    Person& p = w.cast[i];
    if (!fields(values[worldCast[i].name], true, p.map, n, 8))
      return no(std::string("no ") + worldCast[i].name);
    p = Person{p.map, n[0], n[1], n[2], n[3], n[4], n[5], n[6], n[7]};
  }
  if (values.size() != known) return no("an unknown key");
  if (!possible(w, why)) return false;
  out = w;
  return true;
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
