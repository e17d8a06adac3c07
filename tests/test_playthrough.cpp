// The whole game played by the autopilot, once for each of many start-up times: the game seeds its
// random draws with the clock, so each start-up time is another seed, and every one of them must
// be won by playing. Then a careless run that loses to the master and starts again from the menu.
#include <gtest/gtest.h>

#include "support_autopilot.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

using autopilot::Fight;
using autopilot::Line;
using autopilot::Outcome;

namespace {

const chara* const fighters[] = {&garde1, &garde2, &garde3, &garde4,
                                 &garde5, &garde6, &garde7, &boss};

struct Played {
  uint32_t clock = 0;       // the virtual clock at start-up: the seed init() drew from it
  uint32_t clockAfterStart = 0;
  autopilot::Report report;
  int flights = 0, defeats = 0;
};

// One program run from start-up to the window closing. The entrance's food grid belongs to the
// program and stays eaten across games: it is given back afterwards, as a new process would find
// it. `watch` is called at every pump before the pilot (it may read, never write).
Played play(uint32_t clock, const autopilot::Options& o, const std::function<void()>& watch = nullptr) {
  Played run;
  run.clock = clock;
  EXPECT_TRUE(harness::start(clock));
  run.clockAfterStart = GpTickCountGet();
  harness::timeLimitMs = clock + 90u * 60u * 1000u;
  autopilot::install(o);
  if (watch) {
    auto pilot = harness::driver;
    harness::driver = [pilot, watch] {
      watch();
      pilot();
    };
  }
  std::vector<int> food;
  for (int i = 0; i < entree.w * entree.h; i++)
    if (entree.tiles[i] == 254) food.push_back(i);
  harness::runFromMenu();
  for (int i : food) entree.tiles[i] = 254;
  run.report = autopilot::report();
  for (const Fight& f : run.report.fights) {
    run.flights += f.outcome == Outcome::Fled;
    run.defeats += f.outcome == Outcome::Lost;
  }
  harness::stop();
  return run;
}

bool sawScreen(const autopilot::Report& r, ScreenId s) {
  for (ScreenId x : r.screens)
    if (x == s) return true;
  return false;
}

int answerMax(const chara* e) { return std::max(8 + 5 * e->force, 10 + 3 * e->force); }

// A careful player's first game: rests or eats before every fight it walks into, casts magic in
// every fight that lasts, flees only from the master and only when one answer could end the game,
// and never loses to him.
void expectCarefulGame(const std::vector<Fight>& F) {
  for (size_t i = 0; i < F.size(); i++) {
    const Fight& f = F[i];
    if (f.game != 1) continue;
    SCOPED_TRACE(testing::Message() << "fight " << i << " at " << f.start << " ms");
    // beating the first gate guard on his tile leads straight into the second one's fight
    const bool chained = f.opponent == &garde2 && i > 0 && F[i - 1].opponent == &garde1 &&
                         F[i - 1].outcome == Outcome::Won;
    if (!chained) {
      EXPECT_EQ(f.pvBefore, f.pvMaxBefore) << "not rested before the fight";
      EXPECT_EQ(f.manaBefore, f.manaMaxBefore) << "not rested before the fight";
    }
    if (f.manaBefore >= 10 && f.turns >= 2) {
      EXPECT_GE(f.spells, 1) << "no magic used";
    }
    EXPECT_NE(f.outcome, Outcome::Unfinished);
    if (f.outcome == Outcome::Fled) {
      EXPECT_EQ(f.opponent->fatal, 1) << "fled from an opponent whose answer cannot end the game";
      EXPECT_LE(f.pvAfter, answerMax(f.opponent)) << "fled while no answer could be fatal";
      EXPECT_EQ(f.goldBefore - f.gold, 40);
    }
    if (f.outcome == Outcome::Lost) {
      EXPECT_NE(f.opponent->fatal, 1);
    }
  }
  // every guard and the master beaten once
  for (size_t k = 0; k < std::size(fighters); k++) {
    int won = 0;
    for (const Fight& f : F)
      won += f.game == 1 && f.opponent == fighters[k] && f.outcome == Outcome::Won;
    EXPECT_EQ(won, 1) << (k < 7 ? "guard " : "the master ") << k + 1;
  }
}

// ---- every seed wins -----------------------------------------------------------------------------

TEST(Playthrough, TheAutopilotWinsTheWholeGameWhateverTheSeed) {
  constexpr int seeds = 24;
  std::set<uint32_t> playTimes;
  int flights = 0;
  for (int k = 0; k < seeds; k++) {
    const uint32_t clock = 250 + 977 * static_cast<uint32_t>(k);  // start-ups of 0.25 s to 23 s
    SCOPED_TRACE(testing::Message() << "seed " << clock);
    autopilot::Options o;
    o.games = 1;
    const Played run = play(clock, o);
    const autopilot::Report& r = run.report;
    const uint32_t playTime = r.endAt - clock;
    std::printf("seed %5u: %2zu fights, %d fled, %2d lost, %6.1f s of play to the fresh menu\n",
                clock, r.fights.size(), run.flights, run.defeats, playTime / 1000.0);
    playTimes.insert(playTime);
    flights += run.flights;
    // nothing of the start-up ran on the clock: the seed is the start-up time
    EXPECT_EQ(run.clockAfterStart, clock);
    // the title menu, the intro, the island ... the victory page and a fresh title menu
    EXPECT_EQ(r.stuck, "");
    ASSERT_GE(r.screens.size(), 5u);
    EXPECT_EQ(r.screens[0], SCR_MENU);
    EXPECT_EQ(r.screens[1], SCR_INTRO);
    EXPECT_EQ(r.screens[2], SCR_ENGINE);
    EXPECT_EQ(r.screens[r.screens.size() - 2], SCR_BRAVO);
    EXPECT_EQ(r.screens.back(), SCR_MENU);
    EXPECT_FALSE(sawScreen(r, SCR_GAMEOVER));
    EXPECT_GT(r.bravoAt, clock);
    EXPECT_GE(r.secondMenuAt, r.bravoAt);
    EXPECT_EQ(r.games, 1);
    EXPECT_EQ(autopilot::find(r.lines, "Merci infiniment !"),
              static_cast<int>(r.lines.size()) - 1);
    expectCarefulGame(r.fights);
    // the victory page set the world up again for the next game
    for (const chara* c : fighters) EXPECT_EQ(c->beaten, 0);
    EXPECT_EQ(perso.force, 1);
  }
  std::printf("%d seeds: %zu different play times\n", seeds, playTimes.size());
  // the seed drawn from the clock does change the game
  EXPECT_GE(playTimes.size(), static_cast<size_t>(seeds * 3 / 4));
  // and among these seeds the master's answers did come close enough for the pilot to flee
  EXPECT_GE(flights, 1);
}

// ---- a lost game ---------------------------------------------------------------------------------

// What the fresh title menu after the game-over page found.
struct MenuState {
  bool seen = false;
  int pv, pvMax, mana, manaMax, force, resistance, gold;
  int beaten;  // guards and master still marked beaten
  int bossPv, vagrantScene, grandmotherGold, grandfatherPv, doorGuardY;
  const smap* bossMap;
};

TEST(Playthrough, ACarelessRunLosesToTheMasterAndTheNextGameStartsAfresh) {
  // Loop over start-up times until the careless pilot loses: which ones lose is fixed by the
  // seed, so the same one is found every time.
  Played run;
  MenuState menu;
  int tries = 0;
  for (uint32_t clock = 4000; tries < 16; clock += 613) {
    tries++;
    bool over = false;
    menu = MenuState();
    autopilot::Options o;
    o.games = 2;  // on into the next game, until its robbery is over
    o.loseToMaster = true;
    run = play(clock, o, [&over, &menu] {
      if (flow_current == SCR_GAMEOVER) over = true;
      if (flow_current != SCR_MENU || !over || menu.seen) return;
      menu.seen = true;
      menu.pv = perso.pv;
      menu.pvMax = perso.pvMax;
      menu.mana = perso.mana;
      menu.manaMax = perso.manaMax;
      menu.force = perso.force;
      menu.resistance = perso.resistance;
      menu.gold = perso.gold;
      menu.beaten = 0;
      for (const chara* c : fighters) menu.beaten += c->beaten;
      menu.bossPv = boss.pv;
      menu.vagrantScene = vagabond.scene;
      menu.grandmotherGold = gmere.gold;
      menu.grandfatherPv = gpere.pv;
      menu.doorGuardY = garde3.y;
      menu.bossMap = boss.map;
    });
    std::printf("careless seed %5u: %2zu fights, %d fled, %2d lost, %s\n", clock,
                run.report.fights.size(), run.flights, run.defeats,
                over ? "game over" : "won all the same");
    if (over) break;
  }
  const autopilot::Report& r = run.report;
  const std::vector<Fight>& F = r.fights;
  ASSERT_TRUE(sawScreen(r, SCR_GAMEOVER)) << "no careless run lost in " << tries << " tries";
  EXPECT_EQ(r.stuck, "");
  EXPECT_FALSE(sawScreen(r, SCR_BRAVO));

  // the loss came from playing: the master, met without resting, fought with the dragon attack
  // only and never fled from
  const Fight* last = nullptr;
  for (const Fight& f : F)
    if (f.game == 1) last = &f;
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->opponent, &boss);
  EXPECT_EQ(last->outcome, Outcome::Lost);
  EXPECT_EQ(last->spells, 0);
  EXPECT_EQ(last->forceBefore, 6);
  EXPECT_EQ(last->resistanceBefore, 6);
  EXPECT_LE(last->pvAfter, 0);
  for (const Fight& f : F) EXPECT_FALSE(f.game == 1 && f.outcome == Outcome::Fled);

  // the game-over page, a fresh title menu, the intro and the island
  size_t over = 0;
  while (r.screens[over] != SCR_GAMEOVER) over++;
  ASSERT_EQ(r.screens.size(), over + 4);
  EXPECT_EQ(r.screens[over + 1], SCR_MENU);
  EXPECT_EQ(r.screens[over + 2], SCR_INTRO);
  EXPECT_EQ(r.screens[over + 3], SCR_ENGINE);
  EXPECT_EQ(r.games, 2);

  // the world was set up again before the menu showed
  ASSERT_TRUE(menu.seen);
  EXPECT_EQ(menu.pv, 20);
  EXPECT_EQ(menu.pvMax, 20);
  EXPECT_EQ(menu.mana, 10);
  EXPECT_EQ(menu.manaMax, 10);
  EXPECT_EQ(menu.force, 1);
  EXPECT_EQ(menu.resistance, 1);
  EXPECT_EQ(menu.gold, 100);
  EXPECT_EQ(menu.beaten, 0);
  EXPECT_EQ(menu.bossPv, 75);
  EXPECT_EQ(menu.bossMap, &chateau);
  EXPECT_EQ(menu.vagrantScene, 0);
  EXPECT_EQ(menu.grandmotherGold, 75);
  EXPECT_EQ(menu.grandfatherPv, 20);
  EXPECT_EQ(menu.doorGuardY, 9);

  // and the next game plays: the ambush with the full purse, then the robbery
  const int ambush = autopilot::find(r.lines, "Tu tombes bien...");
  ASSERT_GE(ambush, 0);
  int again = autopilot::find(r.lines, "Tu tombes bien...", static_cast<size_t>(ambush) + 1);
  ASSERT_GE(again, 0);
  const Line& l = r.lines[again];
  EXPECT_EQ(l.game, 2);
  EXPECT_EQ(l.map, &ile);
  EXPECT_EQ(l.gold, 100);
  EXPECT_EQ(l.force, 1);
  const int robbed = autopilot::find(r.lines, "Merci pour les pi\350ces !", again);
  ASSERT_GT(robbed, again);
  EXPECT_EQ(r.lines[robbed].gold, 0);
  EXPECT_EQ(F.back().opponent, &vagabond);
  EXPECT_EQ(F.back().game, 2);
}

}  // namespace
