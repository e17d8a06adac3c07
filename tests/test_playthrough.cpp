// The whole game played by the autopilot, once for each of many start-up times: the game seeds its
// random draws with the clock, so each start-up time is another game, and every one of them must
// be won by playing. (A careless game lost to the master is in the story's transcript.)
#include <gtest/gtest.h>

#include "support_autopilot.h"

#include <cstdio>
#include <set>

using autopilot::Fight;
using autopilot::Outcome;

namespace {

const chara* const fighters[] = {&garde1, &garde2, &garde3, &garde4,
                                 &garde5, &garde6, &garde7, &boss};

TEST(Playthrough, TheAutopilotWinsTheWholeGameWhateverTheSeed) {
  constexpr int seeds = 24;
  std::set<uint32_t> playTimes;
  int flights = 0;
  for (int k = 0; k < seeds; k++) {
    const uint32_t clock = 250 + 977 * static_cast<uint32_t>(k);  // start-ups of 0.25 s to 23 s
    SCOPED_TRACE(testing::Message() << "seed " << clock);
    ASSERT_TRUE(harness::start(clock));
    EXPECT_EQ(GpTickCountGet(), clock);  // nothing of the start-up ran on the clock: it is the seed
    harness::timeLimitMs = clock + 90u * 60u * 1000u;
    autopilot::Options o;
    o.games = 1;
    autopilot::install(o);
    harness::runFromMenu();
    const autopilot::Report& r = autopilot::report();
    int won[std::size(fighters)] = {}, fled = 0;
    for (const Fight& f : r.fights) {
      for (size_t i = 0; i < std::size(fighters); i++)
        won[i] += f.opponent == fighters[i] && f.outcome == Outcome::Won;
      EXPECT_NE(f.outcome, Outcome::Unfinished);
      if (f.outcome == Outcome::Lost) {
        EXPECT_NE(f.opponent->fatal, 1) << "the master beat a careful player";
      }
      if (f.outcome == Outcome::Fled) {
        EXPECT_EQ(f.goldBefore - f.gold, 40) << "a flight costs 40 coins";
      }
      fled += f.outcome == Outcome::Fled;
    }
    for (int w : won) EXPECT_EQ(w, 1) << "every guard and the master are beaten once";
    std::printf("seed %5u: %2zu fights, %d fled, %6.1f s of play to the fresh menu\n", clock,
                r.fights.size(), fled, (r.endAt - clock) / 1000.0);
    playTimes.insert(r.endAt - clock);
    flights += fled;
    // the title menu, the intro, the island ... the victory page and a fresh title menu
    EXPECT_EQ(r.stuck, "");
    ASSERT_GE(r.screens.size(), 5u);
    EXPECT_EQ(std::vector<ScreenId>(r.screens.begin(), r.screens.begin() + 3),
              (std::vector<ScreenId>{SCR_MENU, SCR_INTRO, SCR_ENGINE}));
    EXPECT_EQ(r.screens[r.screens.size() - 2], SCR_BRAVO);
    EXPECT_EQ(r.screens.back(), SCR_MENU);
    for (ScreenId s : r.screens) EXPECT_NE(s, SCR_GAMEOVER);
    EXPECT_EQ(autopilot::find(r.lines, "Merci infiniment !"), static_cast<int>(r.lines.size()) - 1);
    // the victory page set the world up again for the next game
    for (const chara* c : fighters) EXPECT_EQ(c->beaten, 0);
    EXPECT_EQ(perso.force, 1);
    harness::stop();
  }
  // the seed drawn from the clock does change the game, and among these seeds the master's
  // answers did come close enough for the pilot to flee
  EXPECT_GE(playTimes.size(), static_cast<size_t>(seeds * 3 / 4));
  EXPECT_GE(flights, 1);
}

}  // namespace
