// The kept game's text: a world written as key=value lines (keep.h shows them) and read back,
// refusing any text that is cut short, corrupt or of another version; what it describes is then
// checked against the story's rules (keep_rules.cpp).
#include "keep.h"

#include <cstdio>
#include <map>
#include <vector>

#ifndef TALMYR_VERSION
#define TALMYR_VERSION "0"
#endif

namespace keep {

namespace {

int mapNamed(const std::string& name) {
  for (int i = 0; i < mapCount; i++)
    if (name == worldMaps[i].name) return i;
  return -1;
}

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

}  // namespace

std::string text(const World& w) {
  char line[160];
  std::string t = "# Talmyr demo 2': a game kept to be continued (delete this file to forget it)\n";
  t += "format=1\nversion=" TALMYR_VERSION "\n";
  t += "# the hero: map, tile x y, facing (0 up, 1 right, 2 down, 3 left), step frame\n";
  std::snprintf(line, sizeof line, "hero=%s %d %d %d %d\nlife=%d/%d\nmagic=%d/%d\n",
                worldMaps[w.map].name, w.x, w.y, w.dir, w.frame, w.pv, w.pvMax, w.mana, w.manaMax);
  t += line;
  std::snprintf(line, sizeof line, "strength=%d\nresistance=%d\ngold=%d\n", w.force, w.resistance,
                w.gold);
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
  t += "# each character: map (none: gone), tile x y, facing, step frame, life, gold, beaten, "
       "scene\n";
  for (int i = 1; i < castCount; i++) {
    const Person& p = w.cast[i];
    std::snprintf(line, sizeof line, "%s=%s %d %d %d %d %d %d %d %d\n", worldCast[i].name,
                  p.map < 0 ? "none" : worldMaps[p.map].name, p.x, p.y, p.dir, p.frame, p.pv,
                  p.gold, p.beaten, p.scene);
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
  const size_t known =
      9 + mapCount + castCount - 1;  // format version hero life magic strength resistance gold end
  int n[8];
  if (!fields(values["hero"], false, w.map, n, 4)) return no("no hero");
  w.x = n[0], w.y = n[1], w.dir = n[2], w.frame = n[3];
  if (!numbers(values["life"], n, 2, '/')) return no("no life");
  w.pv = n[0], w.pvMax = n[1];
  if (!numbers(values["magic"], n, 2, '/')) return no("no magic");
  w.mana = n[0], w.manaMax = n[1];
  if (!numbers(values["strength"], &w.force, 1) ||
      !numbers(values["resistance"], &w.resistance, 1) || !numbers(values["gold"], &w.gold, 1))
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

}  // namespace keep
