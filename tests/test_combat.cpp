// Duels on the virtual clock: damage, drains, magic, flight, victory and defeat.
#include <gtest/gtest.h>

#include "harness.h"

#include <set>

namespace {

class Combat : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::start());
    flow_active = true;  // the fight's hand-over back to exploring is only recorded
    openLevel(&ile);
  }
  void TearDown() override {
    flow_active = false;
    harness::stop();
  }

  // Presses the given keys one after the other, one pump each, each released on the next pump;
  // once the script is over, the window is closed so that the fight ends.
  static void play(std::vector<SDLKey> script, bool closeAfter = true) {
    static std::vector<SDLKey> keys;
    static size_t next;
    static bool down, closeAtEnd;
    keys = std::move(script);
    next = 0;
    down = false;
    closeAtEnd = closeAfter;
    harness::driver = [] {
      if (down) {
        harness::release(keys[next - 1]);
        down = false;
        return;
      }
      if (next < keys.size()) {
        harness::press(keys[next++]);
        down = true;
      } else if (closeAtEnd) {
        harness::closeWindow();
      }
    };
  }

  static void fight(chara* c) {
    harness::releaseAll();
    ennemi = c;
    gameCombat();
  }
};

TEST_F(Combat, DragonAttackDamageAndTheAnswersRanges) {
  std::set<int> dealt, taken;
  for (unsigned seed = 1; seed <= 40; seed++) {
    srand(seed);
    hal_working = 1;
    flow_next = SCR_NONE;
    init2();
    perso.resistance = 90;  // the hero's resistance plays no part in what he takes
    play({SDLK_SPACE});
    fight(&vagabond);
    dealt.insert(50 - vagabond.pv);
    taken.insert(20 - perso.pv);
    EXPECT_EQ(vagabond.beaten, 0);
  }
  EXPECT_EQ(dealt, (std::set<int>{10, 11}));  // (94 * 11) / 100 and (94 * 12) / 100
  // 8 + k * 3 (k 0..5) or 10 + k * 3 (k 0..3), never more than the hero's 20 points
  const std::set<int> possible = {8, 11, 14, 17, 20, 10, 13, 16, 19};
  for (int t : taken) EXPECT_TRUE(possible.count(t)) << t;
  EXPECT_GE(taken.size(), 4u);
  EXPECT_GE(perso.pv, 0);
}

TEST_F(Combat, TheCursorMovesOnlyOnASingleNewKey) {
  // Down with Right held does nothing; Up on the first entry does nothing: Space then attacks
  perso.gold = 100;
  static bool rightHeld;
  rightHeld = false;
  play({SDLK_UP, SDLK_SPACE});
  auto inner = harness::driver;
  harness::driver = [inner] {
    if (!rightHeld) {
      harness::press(SDLK_RIGHT);
      harness::press(SDLK_DOWN);
      rightHeld = true;
      return;
    }
    static int step = 0;
    if (step++ == 0) {
      harness::release(SDLK_DOWN);
      harness::release(SDLK_RIGHT);
      return;
    }
    inner();
  };
  fight(&garde1);
  EXPECT_LT(garde1.pv, 40);      // the dragon attack struck: the cursor never left it
  EXPECT_EQ(perso.gold, 100);    // no flight

  // Down on the last entry does nothing either: three Downs, then Space flees
  hal_working = 1;
  flow_next = SCR_NONE;
  play({SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_SPACE});
  fight(&garde2);
  EXPECT_EQ(garde2.pv, 30);     // no blow struck: the cursor did not come round to RYUKEN
  EXPECT_EQ(perso.gold, 60);    // FUITE, for 40 coins
}

TEST_F(Combat, AnOpponentThatLeavesOnDefeatLeavesEveryMap) {
  // no opponent of the story does, but the rule is the duel's
  garde4.removeOnWin = 1;
  garde4.pv = 1;
  play({SDLK_SPACE}, false);
  fight(&garde4);
  EXPECT_EQ(garde4.beaten, 1);
  EXPECT_EQ(garde4.map, nullptr);
  EXPECT_EQ(garde4.px, -32);
}

TEST_F(Combat, DefeatWakesTheHeroWhereTheOpponentSays) {
  perso.pv = 1;
  perso.pvMax = 120;
  perso.x = 10;
  perso.y = 1;
  perso.dir = 0;
  garde1.pv = 12;
  play({SDLK_SPACE}, false);
  srand(3);
  fight(&garde1);
  EXPECT_EQ(perso.pv, 2);  // 120 / 50
  EXPECT_EQ(perso.y, 2);
  EXPECT_EQ(perso.py, 64);
  EXPECT_EQ(perso.x, 10);  // lossX 0: column unchanged
  EXPECT_EQ(perso.dir, 2);
  EXPECT_EQ(garde1.pv, 40);
  EXPECT_EQ(garde1.beaten, 0);
  EXPECT_EQ(flow_next, SCR_ENGINE);
  flow_next = SCR_NONE;

  // losing to the master ends the game
  perso.pv = 1;
  play({SDLK_SPACE}, false);
  fight(&boss);
  EXPECT_EQ(flow_next, SCR_GAMEOVER);
}

}  // namespace
