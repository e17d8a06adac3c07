// The whole game played by the autopilot, once for each of many start-up times: the game seeds its
// random draws with the clock, so each start-up time is another seed, and every one of them must
// be won by playing. (A careless game lost to the master is in the story's transcript.)
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

}  // namespace
