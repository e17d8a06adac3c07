// Every scene of the story, played through the real loops with key presses only.
#include "support_story.h"

#include "keep.h"
#include "support_autopilot.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace story {

namespace {

// A key to tap once the latest frame's label begins with `label` (SDLK_UNKNOWN: close the window).
struct Step {
  const char* label;
  SDLKey key;
};

// Stand the hero on (x, y) of a map facing dir in a fresh world, set what the visit needs, then
// play its steps; boxes are answered and every duel menu gets the dragon attack unless a step
// says otherwise; once the steps are done the window closes as soon as the hero stands idle.
struct Visit {
  const char* title;
  smap* map;
  int x, y, dir;
  void (*setup)();
  std::vector<Step> steps;
  struct Shot {
    const char* label;
    const char* picture;
    int nth = 1;
  };
  std::vector<Shot> shots;
};

// The steps and the visits are laid out by hand, one step or visit a line where it fits.
// clang-format off
constexpr SDLKey A = SDLK_SPACE, UP = SDLK_UP, DOWN = SDLK_DOWN, RET = SDLK_RETURN;
const std::vector<Step> talk = {{"still", A}};
const std::vector<Step> flee = {{"still", A}, {"combat RYUKEN", DOWN}, {"combat MAJUTSU", DOWN},
                                {"combat FUITE", A}};
const std::vector<Step> magic = {{"still", A}, {"combat RYUKEN", DOWN}, {"combat MAJUTSU", A},
                                 {"combat MAJUTSU", UP}};
void none() {}

const std::vector<Visit> visits = {
    // the scenery, in front of each thing that has something to say
    {"grass", &ile, 7, 7, 0, none, talk, {{"still", "explore_ile"}}},
    {"a tree", &ile, 12, 2, 0, none, talk, {}},
    {"the kitchen", &maison1, 8, 1, 0, [] { gmere.gold = 0; }, talk,
     {{"still", "explore_maison1"}}},
    {"the fireplace", &maison1, 3, 1, 0, [] { gmere.gold = 0; }, talk, {}},
    {"the window", &maison1, 2, 1, 0, [] { gmere.gold = 0; }, talk, {}},
    {"the bed", &maison1, 3, 2, 3, [] { gmere.gold = 0; }, talk, {}},
    {"the bed's foot", &maison1, 3, 3, 3, none, talk, {}},
    {"the painting", &maison2, 4, 1, 0, none, talk, {{"still", "explore_maison2"}}},
    {"the clock", &maison2, 8, 3, 1, none, talk, {}},
    {"the axe", &maison2, 2, 1, 0, none, talk, {}},
    {"the barred window", &entree, 2, 1, 0, none, talk, {{"still", "explore_entree"}}},
    {"the fallen", &entree, 3, 5, 0, none, talk, {}},
    {"the armour", &chateau, 15, 2, 0, none, talk, {{"still", "explore_chateau"}}},
    {"the shield", &chateau, 10, 1, 0, none, talk, {}},
    {"the shelves", &chateau, 2, 2, 0, none, talk, {}},
    {"the books", &chateau, 3, 2, 0, none, talk, {}},
    {"106 in another house says nothing", &maison3, 1, 1, 0, none, talk,
     {{"still", "explore_maison3"}}},
    {"190 in the castle says nothing", &chateau, 2, 13, 2, none, talk, {}},
    {"facing out of the map", &village, 0, 1, 3, none, talk, {}},
    {"two on one tile: the later one answers", &village, 7, 9, 0,
     [] { placeChara(&village, &femme1, 7, 8, 2); }, talk, {}},
    {"someone on a door hides it", &village, 10, 14, 2,
     [] { placeChara(&village, &pgarcon, 10, 15, 0); }, talk, {}},
    {"the vagrant has no answer", &village, 10, 14, 2,
     [] { placeChara(&village, &vagabond, 10, 15, 0); }, talk, {}},
    // the inhabitants
    {"gmere", &maison1, 6, 2, 0, [] { gmere.gold = 0; }, talk, {}},
    {"the children", &village, 8, 9, 0, none, talk, {{"still", "explore_village"}}},
    {"pgarcon", &village, 7, 9, 0, none, talk, {}},
    {"femme1", &village, 7, 7, 0, none, talk, {}},
    {"the hen, from below", &village, 2, 8, 0, none, talk, {{"box", "dialogue_plain"}}},
    {"the hen, from her left", &village, 1, 7, 1, none, talk, {}},
    {"femme2", &maison3, 3, 3, 0, none, talk, {}},
    {"gmere2", &maison2, 4, 3, 0, none, talk, {}},
    {"the gift, asked twice", &maison2, 5, 3, 0, [] { perso.pv = 7; }, {{"still", A}, {"still", A}},
     {}},
    {"roi", &chateau, 4, 13, 0, none, talk, {}},
    {"reine", &chateau, 5, 13, 0, none, talk, {}},
    {"princesse", &chateau, 3, 13, 0, none, talk, {}},
    {"the master, to a hero not strong enough", &chateau, 10, 5, 0,
     [] { perso.force = 6; perso.resistance = 5; }, talk, {{"still", "chateau_throne"}}},
    {"the master, to a hero of force and resistance 6, who falls", &chateau, 10, 5, 0,
     [] { perso.force = perso.resistance = 6; perso.pv = 1; }, talk, {{"game over", "gameover"}}},
    {"the master beaten: the ending", &chateau, 10, 5, 0,
     [] { perso.force = 100; perso.resistance = 6; }, talk,
     {{"white", "ending_flash"}, {"victory", "victory"}}},
    // the guards, unbeaten and beaten; their fights show every action and message of a duel
    {"garde1", &entree, 12, 1, 3, none, talk, {}},
    {"garde1 beaten", &entree, 12, 1, 3, [] { garde1.beaten = 1; }, talk, {}},
    {"garde2 while garde1 stands", &entree, 8, 1, 1, none, talk, {}},
    {"garde2 once garde1 is beaten", &entree, 8, 1, 1, [] { garde1.beaten = 1; }, talk, {}},
    {"garde2 beaten", &entree, 8, 1, 1, [] { garde1.beaten = garde2.beaten = 1; }, talk, {}},
    {"garde3 at his post after his scene, one blow", &chateau, 10, 13, 0,
     [] { placeChara(&chateau, &garde3, 10, 12, 2); perso.force = 100; }, talk,
     {{"combat RYUKEN", "combat_ryuken"}, {"Attaque du dragon !", "combat_dragon"},
      {"Vous remportez la victoire !", "combat_victory"}}},
    {"garde3 beaten", &chateau, 10, 13, 0,
     [] { placeChara(&chateau, &garde3, 10, 12, 2); garde3.beaten = 1; }, talk, {}},
    {"garde4, 39 coins: too few to flee", &chateau, 0, 12, 2, [] { perso.gold = 39; }, flee,
     {{"opening", "combat_opening", 90}, {"combat FUITE", "combat_fuite"},
      {"Fuite impossible !", "combat_flight_refused"}, {"L'ennemi riposte !", "combat_riposte"},
      {"L'ennemi réagit !", "combat_reagit"}, {"Vous êtes vaincu !", "combat_defeat"}}},
    {"garde4 beaten", &chateau, 0, 12, 2, [] { garde4.beaten = 1; }, talk, {}},
    {"garde5 and magic", &chateau, 19, 12, 2, none, magic,
     {{"combat MAJUTSU", "combat_majutsu"}, {"Vous utilisez la magie !", "combat_magic"}}},
    {"garde5 beaten", &chateau, 19, 12, 2, [] { garde5.beaten = 1; }, talk, {}},
    {"garde6 and no magic left", &chateau, 6, 2, 0, [] { perso.mana = 0; }, magic,
     {{"Pas assez de magie !", "combat_no_magic"}}},
    {"garde6 beaten", &chateau, 6, 2, 0, [] { garde6.beaten = 1; }, talk, {}},
    {"garde7, fled with 40 coins", &chateau, 14, 2, 0, [] { perso.gold = 40; }, flee,
     {{"Vous fuyez comme un lâche !", "combat_flight"}}},
    {"garde7 beaten", &chateau, 14, 2, 0, [] { garde7.beaten = 1; }, talk, {}},
    // the scenes that start on a tile
    {"the welcome, to a hero of 16 pv", &maison1, 4, 3, 0, [] { perso.pv = 16; }, {{"still", UP}},
     {{"box", "dialogue_portrait"}}},
    {"the welcome, to a hero of 15 pv", &maison1, 4, 3, 0, [] { perso.pv = 15; }, {{"still", UP}},
     {}},
    {"the ambush, won; the vagrant cannot be fled", &ile, 15, 14, 3, [] { perso.force = 100; },
     {{"still", SDLK_LEFT}, {"combat RYUKEN", DOWN}, {"combat MAJUTSU", DOWN}, {"combat FUITE", A}},
     {}},
    {"the gate, won twice", &entree, 10, 2, 0, [] { perso.force = 100; }, {{"still", UP}}, {}},
    {"the gate, lost", &entree, 10, 2, 0, [] { perso.pv = 1; }, {{"still", UP}}, {}},
    {"the gate, fled", &entree, 10, 2, 0, none,
     {{"still", UP}, {"combat RYUKEN", DOWN}, {"combat MAJUTSU", DOWN}, {"combat FUITE", A},
      {"still", SDLKey(0)}}, {}},
    // resting and eating
    {"a rest with magic short", &maison1, 4, 4, 1, [] { gmere.gold = 0; perso.mana = 0; },
     {{"still", A}, {"still", A}}, {}},
    {"a rest with life short", &village, 18, 14, 1, [] { perso.pv = 3; }, talk, {}},
    {"the food, twice", &entree, 14, 2, 1, [] { perso.pv = 2; perso.mana = 1; },
     {{"still", A}, {"still", A}}, {}},
    // the doors, each from its tile in front
    {"door", &ile, 7, 1, 3, none, talk, {}},
    {"door", &ile, 3, 13, 3, none, talk, {}},
    {"door", &village, 10, 14, 2, none, talk, {}},
    {"door", &village, 17, 6, 0, none, talk, {}},
    {"door, beside the house", &village, 16, 5, 1, none, talk, {}},
    {"door", &maison1, 4, 4, 2, [] { gmere.gold = 0; }, talk, {}},
    {"door", &village, 6, 3, 0, none, talk, {}},
    {"door", &maison2, 4, 4, 2, none, talk, {}},
    {"door", &village, 17, 10, 0, none, talk, {}},
    {"door", &maison3, 4, 4, 2, none, talk, {}},
    {"door", &ile, 15, 7, 0, none, talk, {}},
    {"door", &entree, 10, 13, 2, none, talk, {}},
    {"door", &entree, 10, 1, 0, [] { garde1.beaten = garde2.beaten = 1; }, talk, {}},
    {"door, pressed once in the castle's door", &chateau, 10, 13, 2,
     [] { placeChara(&chateau, &garde3, 10, 12, 2); },
     {{"still", A}, {"still", A}}, {}},
};
// clang-format on

// ---- the driver -----------------------------------------------------------------------------

const std::vector<Step>* script = nullptr;
size_t next = 0;
SDLKey held = SDLK_UNKNOWN;
int idle = 0;
bool closed = false;

void close() {
  closed = true;
  harness::closeWindow();
}

bool startsWith(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }

void drive() {
  if (closed) return;
  if (held != SDLK_UNKNOWN) {
    harness::release(held);
    held = SDLK_UNKNOWN;
    return;
  }
  const std::string& l = record::lastLabel();
  SDLKey k = SDLK_UNKNOWN;
  if (next < script->size() && startsWith(l, (*script)[next].label)) {
    k = (*script)[next++].key;
    if (k == SDLK_UNKNOWN) return close();
  } else if (l == "box" || l == "combat RYUKEN" || l == "victory" || l == "game over") {
    k = A;  // answer, strike, leave the end page
  } else if (startsWith(l, "combat ")) {
    k = UP;  // back to the dragon attack
  } else if (next >= script->size() && (l == "still" || startsWith(l, "menu"))) {
    if (++idle > 3) close();
    return;
  }
  if (k == SDLK_UNKNOWN) return;
  idle = 0;
  harness::press(k);
  held = k;
}

void useScript(const std::vector<Step>& s) {
  script = &s;
  next = 0;
  held = SDLK_UNKNOWN;
  idle = 0;
  closed = false;
  harness::driver = drive;
}

// ---- the runs -------------------------------------------------------------------------------

const char* lang = "fr";

bool start(uint32_t clock) {
  if (!harness::start(clock)) return false;
  setLanguage(lang);
  return true;
}

// Plays from the title menu until the window closes, recorded under a title.
void fromMenu(const std::string& title) {
  record::note("# " + title);
  record::begin();
  harness::runFromMenu();
  record::end();
}

// The title menu both ways, the about page, the whole intro scrolling by itself, the information.
bool pages() {
  if (!start(1000)) return false;
  static const std::vector<Step> s = {{"menu Jouer", DOWN}, {"menu A propos", RET},
                                      {"about", A},         {"menu Jouer", RET},
                                      {"still", RET},       {"information", A}};
  useScript(s);
  for (const auto& [label, picture] : {std::pair{"menu Jouer", "title"},
                                       {"menu A propos", "title_about"},
                                       {"about", "about"},
                                       {"intro", "intro"},
                                       {"information", "info"}})
    record::shoot(label, picture);
  record::shoot("intro", "intro_scrolled", 120);
  fromMenu("the title menu, the about page, the intro and the information page");
  harness::stop();
  return true;
}

// The title menu with a kept game (the village after the robbery), its three entries, and
// "Continuer" back into that world.
bool keptMenu() {
  if (!start(1000)) return false;
  harness::placeHero(&village, 10, 14, 0);
  placeChara(nullptr, &vagabond, -1, -1, 0);
  vagabond.scene = 2;
  perso.gold = 0;
  ile.lastX = 3;
  ile.lastY = 13;
  keep::World w;
  keep::capture(w);
  std::string why;
  const bool offered = keep::offer(keep::text(w), why);
  init2();  // what a run starts with
  static const std::vector<Step> s = {{"menu Continuer", DOWN},
                                      {"menu Jouer", DOWN},
                                      {"menu A propos", UP},
                                      {"menu Jouer", UP},
                                      {"menu Continuer", RET}};
  useScript(s);
  record::shoot("menu Continuer", "title_kept");
  record::shoot("still", "continued");
  fromMenu("the title menu with a kept game, and that game continued");
  harness::stop();
  return offered;
}

// The autopilot from the title menu to the fresh menu after the victory picture, or a careless
// game that it loses to the master.
bool game(uint32_t clock, bool careless) {
  if (!start(clock)) return false;
  harness::timeLimitMs = clock + 90u * 60u * 1000u;
  autopilot::Options o;
  o.games = careless ? 2 : 1;  // after a game over: on into the next game's robbery
  o.loseToMaster = careless;
  autopilot::install(o);
  if (!careless) record::shoot("L'ennemi réagit !", "combat_reagit");
  fromMenu(std::string(careless ? "a careless game lost to the master, and the next one's start"
                                : "the autopilot's whole game") +
           ", the random draws seeded with " + std::to_string(clock));
  const bool ok = autopilot::report().stuck.empty();
  if (!ok) record::note("# the autopilot got stuck: " + autopilot::report().stuck);
  harness::stop();
  return ok;
}

bool visitAll() {
  if (!start(1000)) return false;
  bool ok = true;
  for (const Visit& v : visits) {
    // a fresh world, as a new game has it, and the same random draws for every visit
    musicHalt();
    init2();
    hal_reset();
    harness::releaseAll();
    hal_reset();
    srand(1);
    harness::placeHero(v.map, v.x, v.y, v.dir);
    for (const MapEntry& m : worldMaps) m.map->lastX = m.map->lastY = 0;
    v.setup();
    for (const Visit::Shot& s : v.shots) record::shoot(s.label, s.picture, s.nth);
    useScript(v.steps);
    record::note(std::string("# ") + v.title);
    record::begin();
    const uint32_t t0 = GpTickCountGet();
    harness::timeLimitMs = t0 + 10u * 60u * 1000u;
    flow_run(SCR_ENGINE);
    record::end();
    if (!closed) {
      record::note("# the visit did not end by itself");
      ok = false;
    }
  }
  harness::stop();
  return ok;
}

}  // namespace

bool play(const char* language) {
  lang = language;
  record::clear();
  bool ok = pages();
  ok = keptMenu() && ok;
  ok = game(250, false) && ok;
  ok = game(4000, true) && ok;
  ok = visitAll() && ok;
  return ok;
}

}  // namespace story
