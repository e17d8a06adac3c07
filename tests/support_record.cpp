// The recorder: everything is read off what the game draws and plays, at each flip.
#include "support_record.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <tuple>

namespace record {

namespace {

struct Text {
  std::string text;    // as drawn, in the language of the run
  std::string french;  // what the game's script says: the frames' labels are made of these
  int x, y;
  unsigned short colour;
};

// The hero's figures the transcript follows, by name.
const std::pair<const char*, int32_t chara::*> figures[] = {
    {"pv", &chara::pv},           {"pvMax", &chara::pvMax}, {"mana", &chara::mana},
    {"manaMax", &chara::manaMax}, {"force", &chara::force}, {"resistance", &chara::resistance},
    {"gold", &chara::gold}};
constexpr size_t figureCount = sizeof figures / sizeof figures[0];

// A registered character as the previous frame showed it, and the walk it is on.
struct Track {
  bool known = false;
  const smap* map = nullptr;
  int px = 0, py = 0, dir = 0, frame = 0;
  bool turned = false, walking = false;
  int walkDir = 0, pixels = 0;
  std::string path;
  std::vector<int> toggles;  // pixels walked when the frame changed
};

struct Shot {
  std::string label, name;
  int nth, seen;
};

std::vector<std::string> out;
std::vector<Frame> frameLog;
std::map<std::string, std::vector<uint16_t>> pics;
std::vector<Shot> shots;
std::vector<Drawn> everyText;
std::set<std::tuple<std::string, int, int, unsigned short>> textsSeen;
std::vector<Text> drawn;  // during the frame under way
std::string last;

ScreenId page = SCR_NONE;
std::vector<std::string> pageTexts;
int stats[figureCount];
bool statsKnown = false;
std::string place;  // the hero's place as last written
const smap* placeMap = nullptr;
Track tracks[MAX_SPRITES];
bool fighting = false;
const chara* foe = nullptr;
std::string event;
int heroBefore = 0, foeBefore = 0, heroPv = 0, foePv = 0;

const char* const dirs[4] = {"up", "right", "down", "left"};
const char* dirName(int d) { return d >= 0 && d < 4 ? dirs[d] : "?"; }

void line(const std::string& s) { out.push_back(s); }

std::string tile(int px, int py) {
  return "(" + std::to_string(px / 32) + "," + std::to_string(py / 32) + ")";
}

// ---- the hero ---------------------------------------------------------------------------------

void heroStats() {
  std::string diff;
  for (size_t i = 0; i < figureCount; i++) {
    const int now = perso.*figures[i].second;
    if (statsKnown && stats[i] != now)
      diff += (diff.empty() ? "" : ", ") + std::string(figures[i].first) + " " +
              std::to_string(stats[i]) + " -> " + std::to_string(now);
    stats[i] = now;
  }
  if (!diff.empty()) line("hero: " + diff);
  statsKnown = true;
}

void heroPlace() {
  if (!game.map) return;
  const std::string p =
      nameOf(game.map) + " " + tile(32 * perso.x, 32 * perso.y) + " facing " + dirName(perso.dir);
  if (p != place) line("at " + p);
  place = p;
  placeMap = game.map;
}

// ---- characters ---------------------------------------------------------------------------------

void endWalk(Track& t, const chara* c) {
  if (!t.walking) return;
  t.walking = false;
  std::string frames;
  std::vector<int> gaps;
  for (size_t i = 1; i < t.toggles.size(); i++) gaps.push_back(t.toggles[i] - t.toggles[i - 1]);
  if (!gaps.empty() && std::all_of(gaps.begin(), gaps.end(), [&](int g) { return g == gaps[0]; }))
    frames = ", frame every " + std::to_string(gaps[0]) + " px";
  else
    for (int g : gaps) frames += " " + std::to_string(g);
  line("walk " + nameOf(c) + " " + dirName(t.walkDir) + ": " + t.path + frames);
}

void watchCharacters() {
  std::vector<std::string> removed, placed;
  for (int i = 0; i < nbsprites; i++) {
    const chara* c = sprites[i];
    Track& t = tracks[i];
    if (!t.known) {
      t.known = true;
    } else {
      const int d = std::abs(c->px - t.px) + std::abs(c->py - t.py);
      if (c->map == t.map && d == 1) {
        if (!t.walking) {
          t.walking = true;
          t.walkDir = c->dir;
          t.pixels = 0;
          t.path = tile(t.px, t.py);
          t.toggles.clear();
        }
        t.turned = false;
        t.pixels++;
        if (c->frame != t.frame) t.toggles.push_back(t.pixels);
        if (c->px % 32 == 0 && c->py % 32 == 0) t.path += " " + tile(c->px, c->py);
      } else {
        endWalk(t, c);
        if (t.turned) line("turn " + nameOf(c) + " " + dirName(t.dir));
        t.turned = c->map == t.map && d == 0 && c->dir != t.dir;
        if (!c->map && t.map) removed.push_back("remove " + nameOf(c));
        if (c->map && (c->map != t.map || d != 0))
          placed.push_back("place " + nameOf(c) + " " + nameOf(c->map) + " " + tile(c->px, c->py) +
                           " facing " + dirName(c->dir));
      }
    }
    t.map = c->map;
    t.px = c->px;
    t.py = c->py;
    t.dir = c->dir;
    t.frame = c->frame;
  }
  for (const std::string& s : removed) line(s);
  for (const std::string& s : placed) line(s);
}

void forgetCharacters() {
  for (int i = 0; i < nbsprites; i++) {
    endWalk(tracks[i], sprites[i]);
    tracks[i] = Track();
  }
}

// ---- fights -----------------------------------------------------------------------------------

void closeEvent() {
  if (event.empty()) return;
  std::string s = "  " + event;
  if (heroPv != heroBefore)
    s += " hero " + std::to_string(heroBefore) + " -> " + std::to_string(heroPv);
  if (foe && foePv != foeBefore)
    s += " " + nameOf(foe) + " " + std::to_string(foeBefore) + " -> " + std::to_string(foePv);
  line(s);
  event.clear();
}

const Text* textAt(int x, int y) {
  for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
    if ((x < 0 || it->x == x) && it->y == y) return &*it;
  return nullptr;
}

// The duel's frames show "VS", wherever it is drawn (its place is the pictures' business).
bool duelFrame() {
  for (const Text& t : drawn)
    if (t.french == "VS") return true;
  return false;
}

void watchFight(const std::string& label) {
  const bool duel = duelFrame();
  if (duel && !fighting) {
    heroStats();
    fighting = true;
    foe = ennemi;
    line("fight " + nameOf(foe) + " (" + std::to_string(foe ? foe->pv : 0) + " pv)");
    heroPv = perso.pv;
    foePv = foe ? foe->pv : 0;
  }
  if (!fighting) return;
  if (!duel && label != "opening") {
    closeEvent();
    fighting = false;
    heroStats();
    return;
  }
  if (!duel) return;
  const Text* m = textAt(-1, 208);
  const std::string msg = m ? utf8(m->text) : "";
  if (msg != event) {
    closeEvent();
    event = msg;
    heroBefore = heroPv;
    foeBefore = foePv;
  }
  heroPv = perso.pv;
  foePv = foe ? foe->pv : 0;
}

// ---- pages ------------------------------------------------------------------------------------

const char* pageName(ScreenId s) {
  const std::pair<ScreenId, const char*> names[] = {
      {SCR_MENU, "title menu"},   {SCR_INTRO, "intro"}, {SCR_ENGINE, "exploring"},
      {SCR_INFO, "information"},  {SCR_ABOUT, "about"}, {SCR_BRAVO, "victory"},
      {SCR_GAMEOVER, "game over"}};
  for (const auto& [id, name] : names)
    if (id == s) return name;
  return "none";
}

void closePage() {
  for (const std::string& t : pageTexts) line("  " + t);
  pageTexts.clear();
}

void watchPage() {
  if (flow_current != page) {
    closePage();
    page = flow_current;
    line(std::string("page: ") + pageName(page));
    if (page != SCR_ENGINE) forgetCharacters();
    place.clear();
    placeMap = nullptr;
  }
  if (page == SCR_ENGINE) return;
  for (const Text& t : drawn) {
    const std::string s = utf8(t.text);
    if (std::find(pageTexts.begin(), pageTexts.end(), s) == pageTexts.end()) pageTexts.push_back(s);
  }
}

// ---- frames -----------------------------------------------------------------------------------

bool allWhite() {
  for (auto [x, y] : {std::pair{0, 0}, {319, 0}, {160, 120}, {0, 239}, {319, 239}})
    if (harness::pixel(x, y) != 0xFFFF) return false;
  return true;
}

bool someoneWalks() {
  for (int i = 0; i < nbsprites; i++) {
    const chara* c = sprites[i];
    const Track& t = tracks[i];
    if (t.known && c->map == t.map && std::abs(c->px - t.px) + std::abs(c->py - t.py) == 1)
      return true;
  }
  return false;
}

std::string labelOf() {
  if (drawn.empty() && allWhite()) return "white";
  switch (flow_current) {
    case SCR_MENU: {
      for (const Text& t : drawn)
        if (t.colour == 0xFFFF) return "menu " + utf8(t.french);
      return "menu";
    }
    case SCR_ENGINE: break;
    default: return pageName(flow_current);
  }
  if (drawn.empty()) return "opening";
  if (duelFrame()) {
    if (const Text* m = textAt(-1, 208)) return utf8(m->french);
    for (const Text& t : drawn)
      if (t.x == 120 && t.colour == 0xF801) return "combat " + t.french;
    return "combat";
  }
  if (textAt(-1, 190)) return "box";
  if (someoneWalks()) return "walk";
  return perso.px % 32 || perso.py % 32 ? "step" : "still";
}

ScreenId drawnOn = SCR_NONE;

void onText(const char* text, int x, int y, unsigned short colour) {
  // a screen that hands over does not flip what it drew: that belongs to no frame
  if (flow_current != drawnOn) drawn.clear();
  drawnOn = flow_current;
  drawn.push_back({text, untr(text), x, y, colour});
}

void onMusic(const Mix_Music* m) {
  closeEvent();
  closePage();
  std::string l = std::string("music: ") + (m == nullptr  ? "stop"
                                            : m == music  ? "exploration"
                                            : m == music2 ? "battle"
                                                          : "?");
  // what the player hears of it, when it is not the modules' own loudness
  const int volume = Mix_VolumeMusic(-1);
  if (m && volume != MIX_MAX_VOLUME) l += " (volume " + std::to_string(volume) + "/128)";
  line(l);
}

void onFlip() {
  const std::string label = labelOf();
  frameLog.push_back({GpTickCountGet(), label});
  watchPage();
  if (flow_current == SCR_ENGINE) {
    watchCharacters();
    if (label == "box" || game.map != placeMap) heroPlace();
  }
  watchFight(label);
  if (label == "box") {
    heroStats();
    const chara* who = dlg_lastSpeaker;
    const Text* t = textAt(-1, 190);
    line((who ? nameOf(who) + " [" + std::to_string(who->face) + "]" : "(no portrait)") + ": " +
         utf8(t->text));
  }
  for (Shot& s : shots)
    if (s.label == label && ++s.seen == s.nth) pics[s.name] = harness::screenPixels();
  for (const Text& t : drawn)
    if (textsSeen.insert(std::make_tuple(t.text, t.x, t.y, t.colour)).second)
      everyText.push_back({t.text, t.x, t.y, t.colour, label});
  last = label;
  drawn.clear();
}

}  // namespace

void begin() {
  drawn.clear();
  page = SCR_NONE;
  pageTexts.clear();
  statsKnown = false;
  place.clear();
  placeMap = nullptr;
  for (Track& t : tracks) t = Track();
  fighting = false;
  event.clear();
  for (Shot& s : shots) s.seen = 0;
  hal_flipHook = onFlip;
  hal_textHook = onText;
  hal_musicHook = onMusic;
}

void end() {
  frameLog.push_back({GpTickCountGet(), ""});  // no interval spans two runs
  closeEvent();
  closePage();
  forgetCharacters();
  if (page == SCR_ENGINE) {  // where the run left the hero, and how
    heroStats();
    heroPlace();
  }
  hal_flipHook = nullptr;
  hal_textHook = nullptr;
  hal_musicHook = nullptr;
  shots.clear();
}

void note(const std::string& text) { line(text); }

void shoot(const std::string& label, const std::string& name, int nth) {
  shots.push_back({label, name, nth, 0});
}

const std::vector<std::string>& transcript() { return out; }
const std::vector<Frame>& frames() { return frameLog; }
const std::vector<Drawn>& texts() { return everyText; }
const std::map<std::string, std::vector<uint16_t>>& pictures() { return pics; }

void clear() {
  out.clear();
  everyText.clear();
  textsSeen.clear();
  frameLog.clear();
  pics.clear();
  shots.clear();
}

const std::string& lastLabel() { return last; }

std::string nameOf(const chara* c) {
  const CastEntry* e = castEntry(c);
  return e ? e->name : "?";
}

std::string nameOf(const smap* m) {
  const MapEntry* e = mapEntry(m);
  return e ? e->name : "none";
}

std::string utf8(const std::string& latin1) {
  std::string s;
  for (unsigned char c : latin1) {
    if (c < 0x80) {
      s += static_cast<char>(c);
    } else {
      s += static_cast<char>(0xC0 | c >> 6);
      s += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return s;
}

}  // namespace record
