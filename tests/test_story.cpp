// The story: the whole game played from the title menu by the autopilot, then the action script
// and the position triggers case by case.
#include <gtest/gtest.h>

#include "support_autopilot.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <algorithm>

using autopilot::Fight;
using autopilot::Line;
using autopilot::Outcome;

namespace {

// ---- the whole game ----------------------------------------------------------------------------

const char* shotsDir() {
  const char* d = std::getenv("TALMYR_SHOTS");
  return d ? d : "";
}

// Checks that `texts` were said in this order (each after the previous), by these speakers,
// from index `from` on; returns the index of the last one.
int expectSaid(const std::vector<Line>& lines,
               const std::vector<std::pair<const chara*, const char*>>& texts,
               int from) {
  int at = from;
  for (const auto& [who, text] : texts) {
    const int i = autopilot::find(lines, text, at < 0 ? 0 : static_cast<size_t>(at));
    EXPECT_GE(i, 0) << "missing line: " << text;
    if (i < 0) return -1;
    EXPECT_EQ(lines[i].speaker, who) << text;
    at = i + 1;
  }
  return at - 1;
}

int countWon(const std::vector<Fight>& fights, const chara* c, int game) {
  int n = 0;
  for (const Fight& f : fights) n += f.opponent == c && f.outcome == Outcome::Won && f.game == game;
  return n;
}

TEST(Story, TheAutopilotPlaysFromTheTitleMenuToTheVictoryAndIntoASecondGame) {
  ASSERT_TRUE(harness::start());
  harness::timeLimitMs = 90u * 60u * 1000u;
  autopilot::Options o;
  o.shots = shotsDir();
  autopilot::install(o);
  // the food tiles of the entrance, as they are before anything was eaten
  std::vector<int> food;
  for (int i = 0; i < entree.w * entree.h; i++)
    if (entree.tiles[i] == 254) food.push_back(i);
  const auto t0 = std::chrono::steady_clock::now();
  harness::runFromMenu();
  const double real =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const autopilot::Report& r = autopilot::report();
  const std::vector<Line>& L = r.lines;
  const std::vector<Fight>& F = r.fights;

  int flights = 0, defeats = 0;
  for (const Fight& f : F) {
    flights += f.outcome == Outcome::Fled;
    defeats += f.outcome == Outcome::Lost;
  }
  std::printf("full game: %zu boxes, %zu fights (%d lost, %d fled), victory picture at %.1f s, "
              "end at %.1f s of virtual time, %.2f s of real time\n",
              L.size(), F.size(), defeats, flights, r.bravoAt / 1000.0, r.endAt / 1000.0, real);
  for (const Fight& f : F)
    std::printf("  game %d fight at %.1f s: pv %d -> %d, outcome %d, force %d res %d pvMax %d gold %d\n",
                f.game, f.start / 1000.0, f.pvBefore, f.pvAfter, static_cast<int>(f.outcome),
                f.force, f.resistance, f.pvMax, f.gold);
  if (std::getenv("TALMYR_TRACE")) {
    for (const Line& l : L)
      std::printf("  [%d %.1fs] map %p (%d,%d) pv %d gold %d: %s\n", l.game, l.at / 1000.0,
                  static_cast<const void*>(l.map), l.x, l.y, l.pv, l.gold, l.text.c_str());
    for (size_t i = 0; i < r.screens.size(); i++)
      std::printf("  screen %d at %.1fs\n", r.screens[i], r.screenAt[i] / 1000.0);
    std::printf("  end: map %p (%d,%d) px %d py %d dir %d scene %d flow %d wait %d\n",
                static_cast<const void*>(game.map), perso.x, perso.y, perso.px, perso.py, perso.dir,
                vagabond.scene, flow_current, hal_waitMask);
  }
  ASSERT_EQ(r.stuck, "");
  ASSERT_GT(r.endAt, 0u) << "the pilot did not finish";
  EXPECT_LT(r.endAt, 60u * 60u * 1000u);  // an hour of play at most on the virtual clock

  // screens: menu, intro, exploring ... victory picture, a fresh menu, the intro, exploring
  ASSERT_GE(r.screens.size(), 7u);
  EXPECT_EQ(r.screens[0], SCR_MENU);
  EXPECT_EQ(r.screens[1], SCR_INTRO);
  EXPECT_EQ(r.screens[2], SCR_ENGINE);
  const size_t n = r.screens.size();
  EXPECT_EQ(r.screens[n - 4], SCR_BRAVO);
  EXPECT_EQ(r.screens[n - 3], SCR_MENU);
  EXPECT_EQ(r.screens[n - 2], SCR_INTRO);
  EXPECT_EQ(r.screens[n - 1], SCR_ENGINE);
  for (ScreenId s : r.screens) EXPECT_NE(s, SCR_GAMEOVER);
  EXPECT_EQ(r.games, 2);

  // the ambush, its fight, and the robbery whatever the fight's outcome
  ASSERT_FALSE(F.empty());
  EXPECT_EQ(F[0].opponent, &vagabond);
  int at = expectSaid(L,
                      {{&vagabond, "Tu tombes bien..."},
                       {&vagabond, "Je suis \xE0 sec !"},
                       {&vagabond, "C\350de moi ta bourse !"},
                       {&perso, "Il faudra m'affronter !"},
                       {&vagabond, "Ahahah..."}},
                      0);
  ASSERT_GE(at, 0);
  EXPECT_EQ(L[at].map, &ile);
  EXPECT_EQ(L[at].x, 14);
  EXPECT_EQ(L[at].y, 14);
  EXPECT_LT(L[at].at, F[0].start);
  at = expectSaid(L, {{&vagabond, "Je te laisse la vie..."}, {&vagabond, "Merci pour les pi\350ces !"},
                      {&vagabond, "Ahahah..."}}, at + 1);
  ASSERT_GE(at, 2);
  EXPECT_GE(L[at - 2].at, F[0].end);
  EXPECT_EQ(L[at - 2].gold, 100);  // robbed only once the first line is answered
  EXPECT_EQ(L[at - 1].gold, 0);    // gold 0 while "Merci pour les pièces !" is on screen

  // the welcome: +85 gold
  const int ask = expectSaid(L, {{&gmere, "Ah !"}, {&gmere, "C'est toi ! Ouf..."}, {&perso, "Tu es seule ?"},
                                 {&perso, "C'est pourquoi vous m'avez appel\xE9 ?"}}, at);
  ASSERT_GE(ask, 0);
  EXPECT_EQ(L[ask].map, &maison1);
  EXPECT_LE(L[ask].y, 2);
  const char* branch = L[ask].pv <= 15 ? "Oui. Mais tu sembles \xE9puis\xE9 ?" : "Tu es perspicace.";
  EXPECT_EQ(L[ask + 1].text, branch);
  at = expectSaid(L, {{&gmere, "Voil\xE0 qui te sera peut-etre utile."}, {&gmere, "Va vite !"}}, ask);
  ASSERT_GE(at, 1);
  EXPECT_EQ(L[at].gold, L[at - 1].gold + 85);

  // the grandfather's gift
  at = expectSaid(L, {{&gpere, "Alors comme \347a, tu y vas aussi..."}, {&gmere2, "Ah non, tu n'iras pas !"},
                      {&perso, "Hmmf..."}, {&gpere, "Voil\xE0."},
                      {&gpere, "Sers toi de ma force avec sagesse."}}, at);
  ASSERT_GE(at, 2);
  EXPECT_EQ(L[at - 1].pvMax, L[at - 2].pvMax + 15);
  EXPECT_EQ(L[at - 1].manaMax, L[at - 2].manaMax + 10);
  EXPECT_EQ(L[at - 1].force, L[at - 2].force + 1);
  EXPECT_EQ(L[at - 1].resistance, L[at - 2].resistance + 1);
  EXPECT_EQ(L[at - 1].pv, L[at - 2].pv);
  EXPECT_EQ(L[at - 1].mana, L[at - 2].mana);

  // every guard beaten once, each with his reward
  struct Reward {
    const chara* g;
    int pvMax, force, res;
  };
  const Reward rewards[] = {{&garde1, 0, 1, 0}, {&garde2, 0, 0, 1}, {&garde3, 15, 1, 1},
                            {&garde4, 0, 0, 1}, {&garde5, 0, 1, 0}, {&garde6, 0, 0, 1},
                            {&garde7, 0, 1, 0}, {&boss, 0, 0, 0}};
  for (const Reward& w : rewards) {
    EXPECT_EQ(countWon(F, w.g, 1), 1) << "guard " << (w.g - &garde1);
    for (const Fight& f : F) {
      if (f.opponent != w.g || f.outcome != Outcome::Won) continue;
      EXPECT_EQ(f.pvMax - f.pvMaxBefore, w.pvMax);
      EXPECT_EQ(f.force - f.forceBefore, w.force);
      EXPECT_EQ(f.resistance - f.resistanceBefore, w.res);
    }
  }
  // the gate in order, the door guard first in the castle, the master last with force and
  // resistance 6
  std::vector<const chara*> won;
  for (const Fight& f : F)
    if (f.outcome == Outcome::Won && f.game == 1) won.push_back(f.opponent);
  ASSERT_EQ(won.size(), 8u);
  EXPECT_EQ(won[0], &garde1);
  EXPECT_EQ(won[1], &garde2);
  EXPECT_EQ(won[2], &garde3);
  EXPECT_EQ(won[7], &boss);
  for (const Fight& f : F) {
    if (f.opponent != &boss) continue;
    EXPECT_EQ(f.forceBefore, 6);
    EXPECT_EQ(f.resistanceBefore, 6);
    EXPECT_EQ(f.pvMaxBefore, 50);
  }
  // the door guard's scene before his first fight, once
  const int g3 = expectSaid(L, {{&garde3, "Comment es-tu entr\xE9 ici ??"}, {&perso, "Ben... Par la porte..."},
                                {&garde3, "Grrr..."}}, 0);
  ASSERT_GE(g3, 0);
  EXPECT_EQ(L[g3].map, &chateau);
  EXPECT_EQ(autopilot::find(L, "Comment es-tu entr\xE9 ici ??", g3 + 1), -1);

  // the ending and the victory picture
  at = expectSaid(L, {{&boss, "Grrr ! Tu vas me le payer !"}, {&boss, "Rah... Comment est-ce possible ?"},
                      {&boss, "Je me vengerai..."}, {&princesse, "Merci infiniment !"}}, 0);
  ASSERT_GE(at, 1);  // four lines were found, the last at `at`
  EXPECT_EQ(L[at].game, 1);
  EXPECT_EQ(L[at].dir, 2);  // the hero turned down for the princess's walk
  EXPECT_GT(r.bravoAt, L[at].at);
  EXPECT_GE(L[at].at - L[at - 1].at, 1500u);  // the white flash lasts 1.5 s, then her walk
  EXPECT_GE(r.secondMenuAt, r.bravoAt);
  EXPECT_GT(r.bravoAt, 0u);

  // the second game: the island on its stored position, the ambush again, food still eaten
  EXPECT_GT(r.storedIleX, 0);
  EXPECT_EQ(r.secondEntryX, r.storedIleX);
  EXPECT_EQ(r.secondEntryY, r.storedIleY);
  const int again = autopilot::find(L, "Tu tombes bien...", at);
  ASSERT_GE(again, 0);
  EXPECT_EQ(L[again].game, 2);
  EXPECT_EQ(L[again].gold, 100);
  EXPECT_EQ(L[again].force, 1);
  EXPECT_EQ(autopilot::find(L, "Merci pour les pi\350ces !", again), again + 6);
  EXPECT_EQ(F.back().opponent, &vagabond);
  EXPECT_EQ(F.back().game, 2);
  int eaten = 0;
  for (int i : food) eaten += entree.tiles[i] == 1;
  EXPECT_GE(eaten, 1);
  EXPECT_EQ(eaten, static_cast<int>(std::count_if(L.begin(), L.end(), [](const Line& l) {
              return l.text == "Chomp chomp..." && l.map == &entree;
            })));
  // init2 set the story back for the second game
  EXPECT_EQ(gmere.gold, 75);
  EXPECT_EQ(gpere.pv, 20);
  EXPECT_EQ(garde3.y, 9);
  for (const chara* g : {&garde1, &garde2, &garde3, &garde4, &garde5, &garde6, &garde7, &boss})
    EXPECT_EQ(g->beaten, 0);
  EXPECT_EQ(boss.map, &chateau);
  EXPECT_EQ(princesse.x, 3);
  for (int i : food) entree.tiles[i] = 254;  // the grid is the program's own: give it back
  harness::stop();
}

// ---- the action key and the position triggers, case by case ------------------------------------

// The real routines called as the exploration frame calls them; every box is answered and
// recorded, and in a fight each press is the dragon attack. Doors, fights' ends and pages only
// record their hand-over.
class Script : public ::testing::Test {
 protected:
  static std::vector<std::string> said;
  static std::vector<const chara*> who;
  static std::vector<int> goldSeen;
  static bool down;

  void SetUp() override {
    ASSERT_TRUE(harness::start());
    flow_active = true;
    said.clear();
    who.clear();
    goldSeen.clear();
    down = false;
    harness::driver = [] {
      if (down) {
        harness::release(SDLK_SPACE);
        down = false;
        return;
      }
      if (hal_waitMask & KEY_A) {
        said.push_back(dlg_lastText ? dlg_lastText : "");
        who.push_back(dlg_lastSpeaker);
        goldSeen.push_back(perso.gold);
      }
      harness::press(SDLK_SPACE);
      down = true;
    };
  }
  void TearDown() override {
    flow_active = false;
    harness::stop();
  }
  static void stand(smap* m, int x, int y, int dir) { harness::placeHero(m, x, y, dir); }
  static void fresh() {
    flow_next = SCR_NONE;
    said.clear();
    who.clear();
    goldSeen.clear();
  }
  // One frame's fresh press of the action key.
  static void act() {
    fresh();
    Key = KeyCh = KEY_A;
    chkAction();
  }
  static void check() {
    fresh();
    chkPos();
  }
  using Lines = std::vector<std::string>;
};
std::vector<std::string> Script::said;
std::vector<const chara*> Script::who;
std::vector<int> Script::goldSeen;
bool Script::down;

TEST_F(Script, DoorsLeadWhereTheTableSaysFromTheRightTilesOnly) {
  struct Case {
    smap* from;
    int x, y, dir;
    smap* to;
    int ax, ay;
  };
  const Case cases[] = {
      {&ile, 7, 1, 3, &village, 10, 14},    {&ile, 3, 13, 3, &village, 10, 14},
      {&village, 10, 14, 2, &ile, 17, 14},  {&village, 17, 6, 0, &maison1, 4, 4},
      {&maison1, 4, 4, 2, &village, 10, 14}, {&village, 6, 3, 0, &maison2, 4, 4},
      {&maison2, 4, 4, 2, &village, 10, 14}, {&village, 17, 10, 0, &maison3, 4, 4},
      {&maison3, 4, 4, 2, &village, 10, 14}, {&ile, 15, 7, 0, &entree, 10, 13},
      {&entree, 10, 13, 2, &ile, 17, 14},   {&entree, 10, 1, 0, &chateau, 10, 13},
      {&chateau, 10, 13, 2, &entree, 10, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "door from (" << c.x << ", " << c.y << ")");
    for (smap* m : {&ile, &village, &maison1, &maison2, &maison3, &entree, &chateau})
      m->lastX = m->lastY = 0;  // every map entered for the first time
    stand(c.from, c.x, c.y, c.dir);
    act();
    EXPECT_EQ(game.map, c.to);
    EXPECT_EQ(perso.x, c.ax);
    EXPECT_EQ(perso.y, c.ay);
    EXPECT_EQ(perso.dir, c.dir);
    EXPECT_EQ(flow_next, SCR_ENGINE);
    EXPECT_TRUE(said.empty());
    // the map left keeps where the hero stood: coming back puts him in front of the door
    EXPECT_EQ(c.from->lastX, c.x);
    EXPECT_EQ(c.from->lastY, c.y);
  }
  // the house doors share one tile: beside them, or above, nothing opens
  for (auto [x, y, dir] : {std::tuple{16, 5, 1}, {18, 5, 3}, {17, 4, 2}, {5, 2, 1}, {7, 2, 3},
                           {16, 9, 1}, {17, 8, 2}}) {
    stand(&village, x, y, dir);
    act();
    EXPECT_EQ(game.map, &village) << x << "," << y;
    EXPECT_EQ(flow_next, SCR_NONE);
    EXPECT_TRUE(said.empty());
  }
  // a held key opens nothing: only the frame in which it was pressed counts
  stand(&village, 10, 14, 2);
  fresh();
  Key = KEY_A;
  KeyCh = 0;
  chkAction();
  EXPECT_EQ(game.map, &village);
  EXPECT_EQ(flow_next, SCR_NONE);
}

TEST_F(Script, OnePressTakesTheHeroThroughOneDoorOnly) {
  // played through the real exploration loop: Space held down for a second at a time
  flow_active = false;
  garde1.beaten = garde2.beaten = garde3.beaten = 1;  // the way into the castle is free
  stand(&entree, 10, 13, 2);
  openLevel(&chateau);  // the entrance remembers (10, 13), in front of its door to the island
  stand(&chateau, 10, 13, 2);
  static int pumps;
  static std::vector<std::pair<smap*, int>> seen;  // map and facing at each press
  pumps = 0;
  seen.clear();
  harness::driver = [] {
    // press at pump 10, hold to 110; press again at 200, hold to 300; close at 400
    const int p = pumps++;
    if (hal_waitMask) {
      said.push_back(dlg_lastText);
      harness::tap(SDLK_SPACE);
    }
    if (p == 10 || p == 200) {
      seen.push_back({game.map, perso.dir});
      harness::press(SDLK_SPACE);
    }
    if (p == 110 || p == 300) harness::release(SDLK_SPACE);
    if (p == 150) seen.push_back({game.map, perso.dir});
    if (p == 400) harness::closeWindow();
  };
  flow_run(SCR_ENGINE);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].first, &chateau);
  EXPECT_EQ(seen[1].first, &entree);  // through the castle door, not on through the next one
  EXPECT_EQ(perso.dir, 2);
  EXPECT_EQ(seen[2].first, &entree);
  EXPECT_EQ(game.map, &ile);          // the second press: the next door
  EXPECT_TRUE(said.empty());

  // and into the castle: the same tile 182 does not send him back out
  hal_reset();
  pumps = 0;
  seen.clear();
  stand(&entree, 10, 1, 0);
  chateau.lastX = chateau.lastY = 0;
  harness::driver = [] {
    const int p = pumps++;
    if (p == 10) harness::press(SDLK_SPACE);
    if (p == 140) harness::release(SDLK_SPACE);
    if (p == 150) seen.push_back({game.map, perso.dir});
    if (p == 160) harness::press(SDLK_DOWN);  // turns to face the door back out
    if (p == 162) harness::release(SDLK_DOWN);
    if (p == 170) harness::press(SDLK_SPACE);  // a new press: the next door
    if (p == 180) harness::release(SDLK_SPACE);
    if (p == 190) seen.push_back({game.map, perso.dir});
    if (p == 200) harness::closeWindow();
  };
  flow_run(SCR_ENGINE);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, &chateau);
  EXPECT_EQ(seen[0].second, 0);
  EXPECT_EQ(seen[1].first, &entree);
  EXPECT_EQ(seen[1].second, 2);
  EXPECT_EQ(perso.x, 10);
  EXPECT_EQ(perso.y, 1);  // back where he left the entrance
}

TEST_F(Script, TheCharacterInFrontAnswersInsteadOfTheTile) {
  // two characters on one tile: the later one in the registry answers
  placeChara(&village, &femme1, 7, 8, 2);  // onto the little boy's tile
  stand(&village, 7, 9, 0);
  act();
  EXPECT_EQ(said, (Lines{"Regardez comme ils sont mignons !", "Mais...",
                         "Je m'inqui\xE8te pour mon mari..."}));
  EXPECT_EQ(who, (std::vector<const chara*>{&femme1, &femme1, &femme1}));
  // standing on a door, a character hides it
  placeChara(&village, &pgarcon, 10, 15, 0);
  stand(&village, 10, 14, 2);
  act();
  EXPECT_EQ(said, Lines{"Tu me d\xE9ranges !"});
  EXPECT_EQ(game.map, &village);
  EXPECT_EQ(flow_next, SCR_NONE);
  // the vagrant has no answer, and the door under him does nothing either
  placeChara(&village, &pgarcon, 7, 8, 1);
  placeChara(&village, &vagabond, 10, 15, 0);
  act();
  EXPECT_TRUE(said.empty());
  EXPECT_EQ(game.map, &village);
  EXPECT_EQ(flow_next, SCR_NONE);
  // characters of another map, or of none, are not there
  placeChara(nullptr, &vagabond, -1, -1, 0);
  vagabond.x = 7;
  vagabond.y = 6;
  stand(&ile, 7, 7, 0);  // femme1 stands on (7, 6) of the village, vagabond on no map
  act();
  EXPECT_EQ(said, Lines{"Moi ? Me rouler dans l'herbe ?"});
  EXPECT_EQ(who, std::vector<const chara*>{&perso});
  // facing out of the map does nothing
  for (auto [m, x, y, dir] : {std::tuple{&village, 0, 1, 3}, {&village, 3, 0, 0},
                              {&maison2, 9, 1, 1}, {&village, 19, 15, 2}}) {
    stand(m, x, y, dir);
    act();
    EXPECT_TRUE(said.empty());
    EXPECT_EQ(game.map, m);
    EXPECT_EQ(flow_next, SCR_NONE);
    EXPECT_EQ(perso.dir, dir);
  }
}

TEST_F(Script, SceneryLinesBelongToTheirMap) {
  struct Case {
    smap* m;
    int x, y, dir;
    Lines lines;
  };
  const Case cases[] = {
      {&ile, 12, 2, 0, {"Oh ! Un arbre !", "...", "Et alors ?"}},
      {&maison1, 8, 1, 0, {"Il y a plus urgent...", "... et puis je sais pas cuisiner."}},
      {&maison1, 2, 1, 0, {"Pas terrible la vue..."}},
      {&maison1, 3, 2, 3, {"Il y a des plis."}},
      {&maison1, 3, 3, 3, {"Il y a des plis."}},
      {&maison2, 4, 1, 0, {"On dirait du Monet."}},
      {&maison2, 8, 3, 1, {"Je n'ai pas de temps \xE0 perdre."}},
      {&maison2, 2, 1, 0, {"Hey, c'est risqu\xE9 ici !"}},
      {&entree, 2, 1, 0, {"Ca ne se fait pas..."}},
      {&chateau, 15, 2, 0, {"Je pr\351f\xE8re largement ma tunique."}},
      {&chateau, 10, 1, 0, {"Je ne suis pas un guerrier...", "Dommage..."}},
      {&chateau, 2, 2, 0, {"Rien de passionnant..."}},
      {&chateau, 3, 2, 0, {"Pas un seul manga..."}},
      // the same tiles elsewhere say nothing
      {&maison3, 1, 1, 0, {}},  // 106
      {&maison3, 7, 1, 0, {}},  // 96
      {&maison3, 7, 2, 1, {}},  // 102
      {&maison3, 7, 3, 1, {}},  // 103
      {&chateau, 2, 13, 2, {}},  // 190
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ") facing " << c.dir);
    stand(c.m, c.x, c.y, c.dir);
    act();
    EXPECT_EQ(said, c.lines);
    for (const chara* w : who) EXPECT_EQ(w, &perso);
    EXPECT_EQ(perso.dir, c.m == &entree ? 2 : c.dir);  // 190 of the entrance turns him down
    EXPECT_EQ(perso.y, c.y);
  }
  // "Ouch !": one row down, whatever is there, facing unchanged
  stand(&maison1, 3, 1, 0);
  act();
  EXPECT_EQ(said, Lines{"Ouch !"});
  EXPECT_EQ(perso.x, 3);
  EXPECT_EQ(perso.y, 2);
  EXPECT_EQ(perso.py, 64);
  EXPECT_EQ(perso.dir, 0);
}

TEST_F(Script, TheGateGuardsLinesFollowWhoIsBeaten) {
  stand(&entree, 8, 1, 1);
  act();
  EXPECT_EQ(said, (Lines{"Si tu tentes d'entrer...", "Il ne fera qu'une bouch\351e de toi !"}));
  EXPECT_EQ(who, (std::vector<const chara*>{&garde2, &garde2}));
  garde1.beaten = 1;
  act();
  EXPECT_EQ(said, (Lines{"Si tu tentes d'entrer...", "Je ne ferai qu'une bouch\351e de toi !"}));
  garde2.beaten = 1;
  act();
  EXPECT_EQ(said, (Lines{"Bravo... Mais...", "Tu ne sais pas ce qui t'attend !"}));
  stand(&entree, 12, 1, 3);
  garde1.beaten = 0;
  act();
  EXPECT_EQ(said, Lines{"T'as pas int\xE9r\xEAt a entrer..."});
  EXPECT_EQ(who, std::vector<const chara*>{&garde1});
  garde1.beaten = 1;
  act();
  EXPECT_EQ(said, (Lines{"Puf... Puf...", "J'en peux plus !"}));
  EXPECT_EQ(flow_next, SCR_NONE);  // they never fight when talked to
}

TEST_F(Script, TheGiftIsGivenOncePerGame) {
  perso.pv = 7;
  perso.mana = 3;
  stand(&maison2, 5, 3, 0);
  act();
  ASSERT_EQ(said.size(), 13u);
  EXPECT_EQ(said[0], "Alors comme \347a, tu y vas aussi...");
  EXPECT_EQ(who[3], &gmere2);
  EXPECT_EQ(said[10], "Hmmf...");
  EXPECT_EQ(who[10], &perso);
  EXPECT_EQ(said[12], "Sers toi de ma force avec sagesse.");
  EXPECT_EQ(perso.pvMax, 35);
  EXPECT_EQ(perso.manaMax, 20);
  EXPECT_EQ(perso.force, 2);
  EXPECT_EQ(perso.resistance, 2);
  EXPECT_EQ(perso.pv, 7);
  EXPECT_EQ(perso.mana, 3);
  act();
  EXPECT_EQ(said, Lines{"Ah, si j'\xE9tais jeune..."});
  EXPECT_EQ(perso.pvMax, 35);
  EXPECT_EQ(perso.force, 2);
  init2();  // a new game: the grandfather gives again
  stand(&maison2, 5, 3, 0);
  act();
  EXPECT_EQ(said.size(), 13u);
  EXPECT_EQ(perso.pvMax, 35);
}

TEST_F(Script, TheHenWalksOverTheHeroAndEndsOnHerTile) {
  static bool over;
  hal_flipHook = [] { over = over || (poule.px == perso.px && poule.py == perso.py); };
  for (auto [x, y, dir] : {std::tuple{2, 8, 0}, {1, 7, 1}}) {
    over = false;
    stand(&village, x, y, dir);
    act();
    EXPECT_EQ(said, (Lines{"Cotcot...", "Cotcot ! Cotcot !"}));
    EXPECT_EQ(who, (std::vector<const chara*>{nullptr, nullptr}));
    EXPECT_TRUE(over) << "from (" << x << ", " << y << ")";
    EXPECT_EQ(poule.x, 2);
    EXPECT_EQ(poule.y, 7);
    EXPECT_EQ(poule.px, 64);
    EXPECT_EQ(poule.py, 224);
    EXPECT_EQ(poule.dir, 1);
  }
}

TEST_F(Script, RestingAndEating) {
  // a rest tile heals when only magic is short, says nothing when all is full
  stand(&maison1, 4, 4, 1);
  perso.mana = 0;
  act();
  EXPECT_EQ(said, Lines{"Hmmm..."});
  EXPECT_EQ(perso.mana, 10);
  EXPECT_EQ(perso.pv, 20);
  act();
  EXPECT_TRUE(said.empty());
  for (auto [m, x, y, dir] : {std::tuple{&maison2, 6, 4, 0}, {&village, 18, 14, 1}, {&maison3, 4, 4, 1}}) {
    stand(m, x, y, dir);
    perso.pv = 3;
    act();
    EXPECT_EQ(said, Lines{"Hmmm..."});
    EXPECT_EQ(perso.pv, 20);
  }
  // food: eaten once, grass from then on, and the hero can walk onto it
  ASSERT_EQ(entree.tiles[2 * 20 + 15], 254);
  stand(&entree, 14, 2, 1);
  perso.pv = 2;
  perso.mana = 1;
  act();
  EXPECT_EQ(said, (Lines{"Chomp chomp...", "Ca fait du bien..."}));
  EXPECT_EQ(perso.pv, 20);
  EXPECT_EQ(perso.mana, 10);
  EXPECT_EQ(entree.tiles[2 * 20 + 15], 1);
  act();
  EXPECT_EQ(said, Lines{"Moi ? Me rouler dans l'herbe ?"});
  init2();  // a new game does not bring the food back
  EXPECT_EQ(entree.tiles[2 * 20 + 15], 1);
  stand(&entree, 14, 2, 1);
  Key = KeyCh = KEY_RIGHT;
  chkDplPerso();
  EXPECT_EQ(perso.px, 14 * 32 + 1);
  entree.tiles[2 * 20 + 15] = 254;  // the grid is the program's own: give it back to later tests
}

TEST_F(Script, TheMasterFightsOnlyAHeroOfForceAndResistanceSix) {
  const Lines refusal = {"C'est une blague ?", "N'imagine m\xEAme pas m'affronter !",
                         "Reviens quand tu seras pr\xEAt...", "Et sache que je n'h\xE9siterai pas...",
                         "... \xE0 te donner la mort !"};
  for (auto [f, r] : {std::pair{6, 5}, {5, 6}, {5, 5}}) {
    stand(&chateau, 10, 5, 0);
    perso.force = f;
    perso.resistance = r;
    ennemi = nullptr;
    act();
    EXPECT_EQ(said, refusal) << f << "/" << r;
    EXPECT_EQ(ennemi, nullptr);
    EXPECT_EQ(flow_next, SCR_NONE);
  }
  perso.force = perso.resistance = 6;
  perso.pv = 1;  // the first answer is fatal
  act();
  ASSERT_EQ(said.size(), 5u);
  EXPECT_EQ(said[0], "Il te reste peu de temps \xE0 vivre...");
  EXPECT_EQ(said[3], "Quel rire pourri !");
  EXPECT_EQ(who[3], &perso);
  EXPECT_EQ(ennemi, &boss);
  EXPECT_EQ(flow_next, SCR_GAMEOVER);
}

TEST_F(Script, CastleGuardsFightUntilBeaten) {
  stand(&chateau, 10, 13, 0);
  placeChara(&chateau, &garde3, 10, 12, 2);  // where his scene leaves him
  perso.pv = 1;
  act();
  EXPECT_EQ(said, Lines{"Encore ?"});
  EXPECT_EQ(ennemi, &garde3);
  EXPECT_EQ(flow_next, SCR_ENGINE);
  EXPECT_EQ(garde3.pv, 50);  // healed after beating the hero
  EXPECT_EQ(perso.x, 10);
  EXPECT_EQ(perso.y, 13);
  garde3.beaten = 1;
  act();
  EXPECT_EQ(said, Lines{"Bravo... Tu m'as eu..."});
  EXPECT_EQ(flow_next, SCR_NONE);
  struct Case {
    chara* g;
    int x, y, dir;
    size_t lines;
    const char* beatenLine;
  };
  for (const Case& c : {Case{&garde4, 0, 12, 2, 3, "Juste un moment d'inattention..."},
                        Case{&garde5, 19, 12, 2, 3, "Quel pr\xE9tentieux..."},
                        Case{&garde6, 6, 2, 0, 2, "Toi, tu n'es pas comme les autres !"},
                        Case{&garde7, 14, 2, 0, 2, "Enchant\xE9..."}}) {
    stand(&chateau, c.x, c.y, c.dir);
    perso.pv = 1;
    act();
    EXPECT_EQ(said.size(), c.lines);
    EXPECT_EQ(ennemi, c.g);
    EXPECT_EQ(flow_next, SCR_ENGINE);
    c.g->beaten = 1;
    act();
    EXPECT_EQ(said, Lines{c.beatenLine});
  }
}

TEST_F(Script, TheAmbushAndTheRobberyWhetherTheFightIsWonOrLost) {
  for (bool win : {false, true}) {
    SCOPED_TRACE(win ? "won" : "lost");
    init2();
    stand(&ile, 14, 14, 3);
    if (win) perso.force = 100;  // one blow
    else perso.pv = 1;           // one answer
    check();
    EXPECT_EQ(said, (Lines{"Tu tombes bien...", "Je suis \xE0 sec !", "C\350de moi ta bourse !",
                           "Il faudra m'affronter !", "Ahahah..."}));
    EXPECT_EQ(who[3], &perso);
    EXPECT_EQ(vagabond.x, 13);
    EXPECT_EQ(vagabond.scene, 1);
    EXPECT_EQ(ennemi, &vagabond);
    EXPECT_EQ(vagabond.beaten, win ? 1 : 0);
    EXPECT_EQ(flow_next, SCR_ENGINE);
    EXPECT_EQ(perso.x, 14);
    EXPECT_EQ(perso.y, 14);
    check();  // the next frame on the same tile
    EXPECT_EQ(said, (Lines{"Je te laisse la vie...", "Merci pour les pi\350ces !", "Ahahah..."}));
    EXPECT_EQ(goldSeen, (std::vector<int>{100, 0, 0}));
    EXPECT_EQ(vagabond.map, nullptr);
    EXPECT_EQ(vagabond.scene, 2);
    check();
    EXPECT_TRUE(said.empty());
    EXPECT_EQ(perso.gold, 0);
  }
}

TEST_F(Script, TheWelcomeOnRowTwoOfAnyColumnOnce) {
  stand(&maison1, 4, 3, 0);
  check();
  EXPECT_TRUE(said.empty());
  for (int pv : {16, 15}) {
    init2();
    perso.gold = 0;
    perso.pv = pv;
    stand(&maison1, pv == 16 ? 8 : 1, pv == 16 ? 2 : 1, 0);
    check();
    const int branch = pv == 16 ? 1 : 3;
    ASSERT_EQ(said.size(), 10u + branch);
    EXPECT_EQ(said[6], pv == 16 ? "Tu es perspicace." : "Oui. Mais tu sembles \xE9puis\xE9 ?");
    if (pv == 15) {
      EXPECT_EQ(said[8], "Il y a de la bi\xE8re...");
    }
    EXPECT_EQ(said.back(), "Va vite !");
    EXPECT_EQ(goldSeen.back(), 85);  // not 75: the grandmother's purse is only the scene's flag
    EXPECT_EQ(perso.gold, 85);
    EXPECT_EQ(gmere.gold, 0);
    EXPECT_EQ(gmere.dir, 2);
    check();
    EXPECT_TRUE(said.empty());
  }
}

TEST_F(Script, TheGateGuardsAndTheDoorGuard) {
  // losing to the first: awake on (10, 2) facing down, and nothing there
  stand(&entree, 10, 1, 0);
  perso.pv = 1;
  boss.beaten = 1;  // the ending would be next in the call: a fight ends it first
  check();
  EXPECT_EQ(said, Lines{"Stop ! T'es mort !"});
  EXPECT_EQ(ennemi, &garde1);
  EXPECT_EQ(perso.x, 10);
  EXPECT_EQ(perso.y, 2);
  EXPECT_EQ(perso.py, 64);
  EXPECT_EQ(perso.dir, 2);
  EXPECT_EQ(garde1.pv, 40);
  boss.beaten = 0;
  check();
  EXPECT_TRUE(said.empty());
  // beating him on (10, 1) leads straight into the second's scene
  stand(&entree, 10, 1, 0);
  perso.force = 100;
  check();
  EXPECT_EQ(garde1.beaten, 1);
  check();
  EXPECT_EQ(said, (Lines{"Pas mal...", "S\xFBrement la chance du d\351butant...",
                         "Tu ne l'auras pas deux fois !"}));
  EXPECT_EQ(ennemi, &garde2);
  EXPECT_EQ(garde2.beaten, 1);
  check();
  EXPECT_TRUE(said.empty());

  // the door guard comes once, whatever the fight's outcome
  stand(&chateau, 10, 13, 0);
  perso.force = 1;
  perso.pv = 1;
  check();
  EXPECT_EQ(said, (Lines{"Comment es-tu entr\xE9 ici ??", "Ben... Par la porte...",
                         "Et il se fout de moi en plus !", "Ben non... Vraiment !", "Grrr..."}));
  EXPECT_EQ(garde3.y, 12);
  EXPECT_EQ(ennemi, &garde3);
  EXPECT_EQ(perso.y, 13);
  check();
  EXPECT_TRUE(said.empty());
}

TEST_F(Script, TheEndingWhateverTheMapAfterAnEarlierScene) {
  // the welcome and the ending in one call: triggers 3 and 5 are each tested
  static uint32_t whiteAt, afterWhite;
  whiteAt = afterWhite = 0;
  hal_flipHook = [] {
    const bool white = harness::pixel(0, 0) == 0xFFFF && harness::pixel(319, 239) == 0xFFFF &&
                       harness::pixel(160, 120) == 0xFFFF;
    if (white && !whiteAt) whiteAt = GpTickCountGet();
    else if (whiteAt && !afterWhite && !white) afterWhite = GpTickCountGet();
  };
  stand(&maison1, 5, 2, 0);
  boss.beaten = 1;
  check();
  ASSERT_EQ(said.size(), 11u + 3u);
  EXPECT_EQ(said[10], "Va vite !");
  EXPECT_EQ(said[11], "Rah... Comment est-ce possible ?");
  EXPECT_EQ(said[12], "Je me vengerai...");
  EXPECT_EQ(said[13], "Merci infiniment !");
  EXPECT_EQ(who[13], &princesse);
  EXPECT_GT(whiteAt, 0u);
  EXPECT_GE(afterWhite - whiteAt, 1500u);
  EXPECT_EQ(boss.map, nullptr);
  EXPECT_EQ(princesse.map, &chateau);
  EXPECT_EQ(princesse.x, 10);
  EXPECT_EQ(princesse.y, 7);
  EXPECT_EQ(princesse.dir, 0);
  EXPECT_EQ(perso.dir, 2);
  EXPECT_EQ(flow_next, SCR_BRAVO);
}

}  // namespace
