// The title menu and the pages around the game, played through the real screen loop.
#include <gtest/gtest.h>

#include "harness.h"

#include <vector>

namespace {

// Records which screen runs at each pump and feeds keys from a script of (screen, key) steps:
// a step's key is tapped (pressed, released on the next pump) once its screen is running.
class Screens : public ::testing::Test {
 protected:
  struct Step {
    ScreenId when;
    std::vector<SDLKey> keys;  // pressed together, released together
    int holdPumps = 1;
  };
  static std::vector<ScreenId> seen;
  static std::vector<Step> steps;
  static size_t next;
  static int held;
  static std::vector<SDLKey> down;

  void SetUp() override {
    ASSERT_TRUE(harness::start());
    installDriver();
  }
  static void installDriver() {
    seen.clear();
    steps.clear();
    next = 0;
    held = 0;
    down.clear();
    harness::driver = [] {
      if (seen.empty() || seen.back() != flow_current) seen.push_back(flow_current);
      if (!down.empty()) {
        // a held step lasts its pumps, or until its screen hands over
        if (--held > 0 && flow_current == steps[next - 1].when) return;
        for (SDLKey k : down) harness::release(k);
        down.clear();
        return;
      }
      if (next >= steps.size()) {
        harness::closeWindow();
        return;
      }
      if (flow_current != steps[next].when) return;
      for (SDLKey k : steps[next].keys) harness::press(k);
      down = steps[next].keys;
      held = steps[next].holdPumps;
      next++;
    };
  }
  void TearDown() override { harness::stop(); }

  static void run(std::vector<Step> s) {
    steps = std::move(s);
    harness::runFromMenu();
  }
};
std::vector<ScreenId> Screens::seen;
std::vector<Screens::Step> Screens::steps;
size_t Screens::next;
int Screens::held;
std::vector<SDLKey> Screens::down;

TEST_F(Screens, MenuChoosesWithReturnOrSpaceAndDoesNotWrap) {
  // Up on "Jouer" stays; Down, Down stays on "A propos"; Return opens the about page; Space
  // leaves it; a fresh menu starts on "Jouer" and Space opens the intro.
  run({{SCR_MENU, {SDLK_UP}},
       {SCR_MENU, {SDLK_DOWN}},
       {SCR_MENU, {SDLK_DOWN}},
       {SCR_MENU, {SDLK_RETURN}},
       {SCR_ABOUT, {SDLK_SPACE}},
       {SCR_MENU, {SDLK_SPACE}},
       {SCR_INTRO, {SDLK_RETURN}}});
  const std::vector<ScreenId> want = {SCR_MENU, SCR_ABOUT, SCR_MENU, SCR_INTRO, SCR_ENGINE};
  EXPECT_EQ(seen, want);
  EXPECT_EQ(game.map, &ile);
  EXPECT_EQ(perso.x, 17);
  EXPECT_EQ(perso.y, 14);
}

TEST_F(Screens, DownWithAnotherKeyHeldDoesNotMoveTheCursor) {
  run({{SCR_MENU, {SDLK_DOWN, SDLK_LEFT}}, {SCR_MENU, {SDLK_RETURN}}});
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[1], SCR_INTRO);
}

TEST_F(Screens, ReturnAloneSkipsTheIntroNotWithAnotherKey) {
  const uint32_t t0 = GpTickCountGet();
  run({{SCR_MENU, {SDLK_SPACE}},
       {SCR_INTRO, {SDLK_RETURN, SDLK_LEFT}},
       {SCR_INTRO, {SDLK_RETURN}},
       {SCR_ENGINE, {}}});
  const std::vector<ScreenId> want = {SCR_MENU, SCR_INTRO, SCR_ENGINE};
  EXPECT_EQ(seen, want);
  EXPECT_LT(GpTickCountGet() - t0, 3000u);
}

TEST_F(Screens, HoldingDownEndsTheIntroInAboutEightyFiveFrames) {
  static int introFrames;
  introFrames = 0;
  hal_flipHook = [] { introFrames += flow_current == SCR_INTRO; };
  run({{SCR_MENU, {SDLK_SPACE}}, {SCR_INTRO, {SDLK_DOWN}, 100000}});
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen[2], SCR_ENGINE);
  EXPECT_GE(introFrames, 83);
  EXPECT_LE(introFrames, 87);
}

TEST_F(Screens, InformationPageLeavesOnAnyGameKeyButNotEscape) {
  run({{SCR_MENU, {SDLK_SPACE}},
       {SCR_INTRO, {SDLK_RETURN}},
       {SCR_ENGINE, {SDLK_RETURN}},
       {SCR_INFO, {SDLK_ESCAPE}},
       {SCR_INFO, {SDLK_a}},
       {SCR_INFO, {SDLK_LEFT}},
       {SCR_ENGINE, {SDLK_RETURN}},
       {SCR_INFO, {SDLK_SPACE}}});
  const std::vector<ScreenId> want = {SCR_MENU, SCR_INTRO, SCR_ENGINE, SCR_INFO,
                                      SCR_ENGINE, SCR_INFO, SCR_ENGINE};
  EXPECT_EQ(seen, want);
  EXPECT_EQ(perso.dir, 3);  // the Left that closed the page did not turn the hero
}

}  // namespace
