// The entry: start-up order, shut-down once, and the failure paths.
#include <gtest/gtest.h>

#include "harness.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {
int quitCalls = 0;
}

// SDL_Quit seen from here: counted, then passed on to SDL's own.
extern "C" void SDL_Quit(void) {
  quitCalls++;
  using Fn = void (*)(void);
  static Fn real = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "SDL_Quit"));
  if (real) real();
}

namespace {

class Entry : public ::testing::Test {
 protected:
  void SetUp() override {
    quitCalls = 0;
    harness::resetWorld();
    hal_reset();
    hal_useVirtualClock(true, 0);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void TearDown() override {
    hal_pumpHook = nullptr;
    hal_useVirtualClock(false);
  }
};

// Closes the window at the first pump, noting what the game looked like then.
ScreenId screenAtFirstPump;
bool surfacesAtFirstPump;
void closeAtOnce() {
  screenAtFirstPump = flow_current;
  surfacesAtFirstPump = pSurf_tiles_decor && pSurf_img_intro && Screen && police;
  harness::closeWindow();
}

TEST_F(Entry, RunsToTheTitleMenuAndShutsDownOnce) {
  hal_pumpHook = closeAtOnce;
  char name[] = "talmyr";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(SDL_main(1, argv), 0);
  EXPECT_EQ(screenAtFirstPump, SCR_MENU);
  EXPECT_TRUE(surfacesAtFirstPump);
  EXPECT_EQ(quitCalls, 1);
  EXPECT_EQ(pSurf_tiles_decor, nullptr);  // released
  EXPECT_EQ(Screen, nullptr);
  EXPECT_EQ(nbsprites, 20);
  EXPECT_EQ(vagabond.map, &ile);  // the world was set up
}

TEST_F(Entry, ASoundlessMachineStillReachesTheMenu) {
  setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
  hal_pumpHook = closeAtOnce;
  char name[] = "talmyr";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(SDL_main(1, argv), 0);
  EXPECT_EQ(screenAtFirstPump, SCR_MENU);
  EXPECT_EQ(quitCalls, 1);
  EXPECT_EQ(musicPlaying(), 0);
}

TEST_F(Entry, AVideoFailureSaysWhyAndExitsNonZero) {
  setenv("SDL_VIDEODRIVER", "nosuchdriver", 1);
  hal_pumpHook = closeAtOnce;
  screenAtFirstPump = SCR_NONE;
  char name[] = "talmyr";
  char* argv[] = {name, nullptr};
  testing::internal::CaptureStderr();
  const int status = SDL_main(1, argv);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(status, 0);
  EXPECT_EQ(quitCalls, 1);
  EXPECT_EQ(screenAtFirstPump, SCR_NONE);  // no menu, no world set-up
  EXPECT_EQ(vagabond.map, nullptr);
  EXPECT_EQ(pSurf_tiles_decor, nullptr);
  EXPECT_NE(err.find("talmyr: cannot start"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

}  // namespace
