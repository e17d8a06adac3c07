// Under the game: keys, pads and waits, the real clock, and machines without sound or joysticks.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

#include "endings.h"
#include "pad.h"
#include "support_autopilot.h"

// Linked with --wrap: the joystick subsystem can be made to fail.
static bool joystickFails = false;
extern "C" int __real_SDL_InitSubSystem(Uint32 flags);
extern "C" int __wrap_SDL_InitSubSystem(Uint32 flags) {
  if (!joystickFails || !(flags & SDL_INIT_JOYSTICK)) return __real_SDL_InitSubSystem(flags);
  SDL_SetError("no joystick subsystem on this machine");
  return -1;
}

namespace {

class Platform : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::start()); }
  void TearDown() override {
    pad::setButtons(pad::defaultAction(), pad::defaultStart());
    harness::stop();
  }
};

TEST_F(Platform, EachKeyIsItsBitBothActionKeysHoldTheActionAndNoOtherKeyCounts) {
  const std::pair<SDLKey, uint32_t> table[] = {
      {SDLK_SPACE, 0x01}, {SDLK_LCTRL, 0x01}, {SDLK_LEFT, 0x04},  {SDLK_UP, 0x08},
      {SDLK_RIGHT, 0x10}, {SDLK_DOWN, 0x20},  {SDLK_RETURN, 0x40}};
  for (auto [k, bit] : table) {
    harness::press(SDLK_ESCAPE);  // held throughout: nothing of the game's
    harness::press(k);
    hal_events();
    EXPECT_EQ(GpKeyGet(), bit) << k;
    EXPECT_EQ(GpKeyChanged(), bit) << k;
    hal_events();
    EXPECT_EQ(GpKeyChanged(), 0u) << k;  // pressed once, then held
    harness::release(k);
    hal_events();
    EXPECT_EQ(GpKeyGet(), 0u) << k;
  }
  for (SDLKey first : {SDLK_SPACE, SDLK_LCTRL}) {  // either still holds the action alone
    for (SDLKey k : {SDLK_SPACE, SDLK_LCTRL, SDLK_UP}) harness::press(k);
    hal_events();
    harness::release(first);
    hal_events();
    EXPECT_EQ(GpKeyGet(), KEY_A | KEY_UP) << first;
    harness::releaseAll();
    EXPECT_EQ(GpKeyGet(), 0u) << first;
  }
  for (SDLKey k : {SDLK_a, SDLK_KP_ENTER, SDLK_RCTRL, SDLK_z, SDLK_TAB}) harness::press(k);
  hal_events();
  EXPECT_EQ(GpKeyGet() | GpKeyChanged(), 0u);
  EXPECT_EQ(hal_working, 1);
  harness::closeWindow();
  hal_events();
  EXPECT_EQ(hal_working, 0);
}

TEST_F(Platform, AWaitEndsOnlyOnAFreshPressOfItsKeys) {
  harness::press(SDLK_SPACE);  // held from before: let go at 500, pressed anew at 900
  hal_events();
  static uint32_t t;
  t = GpTickCountGet();
  harness::schedule({{500, SDLK_SPACE, false}, {900, SDLK_SPACE, true}});
  WaitForKey(KEY_A);
  EXPECT_GE(GpTickCountGet() - t, 890u);
  EXPECT_LT(GpTickCountGet() - t, 1000u);
  harness::releaseAll();
  t = GpTickCountGet();  // any key: not Escape, a letter nor a mouse click; an arrow
  harness::schedule(
      {{t + 10, SDLK_ESCAPE, true}, {t + 20, SDLK_a, true}, {t + 300, SDLK_LEFT, true}});
  harness::driver = [] {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&e);
  };
  WaitForKey(255);
  EXPECT_GE(GpTickCountGet() - t, 300u);
  EXPECT_EQ(GpKeyChanged(), KEY_LEFT);
  harness::releaseAll();
  for (SDLKey k : {SDLK_RETURN, SDLK_SPACE, SDLK_LCTRL}) {        // a fresh press of either mask
    harness::press(k == SDLK_RETURN ? SDLK_SPACE : SDLK_RETURN);  // the other held from before
    hal_events();
    t = GpTickCountGet();
    harness::schedule({{t + 50, SDLK_DOWN, true}, {t + 100, k, true}});
    WaitForKey(KEY_START, KEY_A);
    EXPECT_GE(GpTickCountGet() - t, 100u) << k;
    harness::releaseAll();
  }
  t = GpTickCountGet();  // a press and release inside one poll is lost
  harness::driver = [] {
    if (GpTickCountGet() == t + 5) harness::tap(SDLK_SPACE);
    if (GpTickCountGet() == t + 50) harness::press(SDLK_SPACE);
  };
  WaitForKey(KEY_A);
  EXPECT_GE(GpTickCountGet() - t, 50u);
}

// A pad's or a key's event: a hat's value and pad, an axis and its value, a button, a key.
void push(int type, int a, int b = 0) {
  SDL_Event e{};
  e.type = static_cast<Uint8>(type);
  if (type == SDL_JOYHATMOTION) {
    e.jhat.value = static_cast<Uint8>(a), e.jhat.which = static_cast<Uint8>(b);
  } else if (type == SDL_JOYAXISMOTION) {
    e.jaxis.axis = static_cast<Uint8>(a), e.jaxis.value = static_cast<Sint16>(b);
  } else if (type == SDL_JOYBUTTONDOWN || type == SDL_JOYBUTTONUP) {
    e.jbutton.button = static_cast<Uint8>(a),
    e.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  } else {
    e.key.keysym.sym = static_cast<SDLKey>(a);
  }
  SDL_PushEvent(&e);
}

// SIGHUP (the session ends), SIGQUIT, SIGINT and SIGTERM end a wait as a window close does, so the
// game is kept on the way out, even when said twice at once (timeout signals the program and its
// group); one the program was started ignoring (nohup) stays ignored.
TEST_F(Platform, TheSignalsThatEndAProgramCloseTheGameAsTheWindowDoes) {
  for (int sig : {SIGHUP, SIGQUIT, SIGINT, SIGTERM}) {
    hal_working = 1;
    endings::install(nullptr);
    harness::driver = [sig] {
      std::raise(sig);
      std::raise(sig);
    };
    WaitForKey(KEY_A);
    EXPECT_EQ(hal_working, 0) << sig;
  }
  harness::driver = nullptr;
  hal_working = 1;
  std::signal(SIGHUP, SIG_IGN);
  endings::install(nullptr);
  std::raise(SIGHUP);
  hal_events();
  EXPECT_EQ(hal_working, 1);
  for (int sig : {SIGHUP, SIGQUIT, SIGINT, SIGTERM}) std::signal(sig, SIG_DFL);
}

TEST_F(Platform, PadsAreTheArrowsActionAndReturnBesideTheKeyboard) {
  constexpr int H = SDL_JOYHATMOTION, S = SDL_JOYAXISMOTION, B = SDL_JOYBUTTONDOWN,
                b = SDL_JOYBUTTONUP, K = SDL_KEYDOWN, k = SDL_KEYUP;
  constexpr uint32_t A = KEY_A, L = KEY_LEFT, U = KEY_UP, R = KEY_RIGHT, D = KEY_DOWN,
                     St = KEY_START;
  struct Step {
    std::vector<std::array<int, 3>> events;
    uint32_t key, keych;  // after one pump
  };
  std::vector<Step> steps = {
      // the d-pad
      {{{H, SDL_HAT_UP}}, U, U},
      {{{H, SDL_HAT_RIGHTDOWN}}, R | D, R | D},
      {{{H, SDL_HAT_CENTERED}}, 0, 0},
      // the stick: nothing within half its travel, let go only well inside it
      {{{S, 0, 1200}, {S, 1, 1200}}, 0, 0},
      {{{S, 0, -3000}, {S, 1, -3000}}, 0, 0},
      {{{S, 0, 9000}, {S, 1, 9000}}, 0, 0},
      {{{S, 0, -15000}, {S, 1, -15000}}, 0, 0},
      {{{S, 0, 15000}, {S, 1, 15000}}, 0, 0},
      {{{S, 0, -20000}}, L, L},
      {{{S, 0, -14000}}, L, 0},
      {{{S, 1, 32767}}, L | D, D},
      {{{S, 0, 32767}}, R | D, R},
      {{{S, 0, 0}, {S, 1, -2000}}, 0, 0},
      // pad and keyboard let go of their own holds only; so does a second pad
      {{{K, SDLK_SPACE}, {B, 0}}, A, A},
      {{{b, 0}}, A, 0},
      {{{k, SDLK_SPACE}}, 0, 0},
      {{{K, SDLK_LEFT}, {H, SDL_HAT_UP}}, L | U, L | U},
      {{{H, SDL_HAT_CENTERED}}, L, 0},
      {{{B, 7}, {k, SDLK_LEFT}}, St, St},
      {{{b, 7}}, 0, 0},
      {{{K, SDLK_LEFT}, {H, SDL_HAT_LEFT}}, L, L},
      {{{H, SDL_HAT_CENTERED}}, L, 0},
      {{{S, 0, -30000}}, L, L},
      {{{k, SDLK_LEFT}}, L, 0},
      {{{S, 0, 0}}, 0, 0},
      {{{H, SDL_HAT_DOWN, 1}, {H, SDL_HAT_UP, 0}}, U | D, U | D},
      {{{H, SDL_HAT_CENTERED, 0}}, D, 0},
      {{{H, SDL_HAT_CENTERED, 1}}, 0, 0}};
  for (int n : {0, 1, 2, 3, 7, 9, 4, 5, 6, 8, 10, 31, 40}) {  // the face buttons, Start, the others
    const uint32_t want = n < 4 ? A : n == 7 || n == 9 ? St : 0;
    steps.push_back({{{B, n}}, want, want});
    steps.push_back({{{b, n}}, 0, 0});
  }
  // buttons as the settings name them: 0 no more, 5 the action, 4 Start
  steps.push_back({{{B, 0}, {B, 5}}, A, A});
  steps.push_back({{{B, 4}}, A | St, St});
  for (size_t i = 0; i < steps.size(); i++) {
    if (i + 2 == steps.size()) pad::setButtons({5}, {4});
    for (auto [type, x, y] : steps[i].events) push(type, x, y);
    hal_events();
    EXPECT_EQ(std::pair(key, keych), std::pair(steps[i].key, steps[i].keych)) << "step " << i;
  }
}

// The real clock, in a fresh process (SDL 1.2 counts from a process's first SDL_Init): near zero
// at start, then a thousand a second, each bound read off the monotonic clock around each reading;
// and a long wait cut short by the window's close.
void checkRealClock() {
  using ms = std::chrono::duration<double, std::milli>;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  hal_useVirtualClock(false);
  hal_reset();
  const auto s0 = std::chrono::steady_clock::now();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) std::exit(2);
  const uint32_t t0 = GpTickCountGet();
  const auto s1 = std::chrono::steady_clock::now();
  waitSince(t0, 120);
  const auto s2 = std::chrono::steady_clock::now();
  const double dt = GpTickCountGet() - t0, start = ms(s1 - s0).count(),
               waited = ms(s2 - s1).count(),
               all = ms(std::chrono::steady_clock::now() - s0).count();
  std::fprintf(stderr, "%u at %.1f ms; %.0f after waiting 120 (%.1f ms, %.1f in all)\n", t0, start,
               dt, waited, all);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);  // the window closed: a wait begun now ends at once
  const uint32_t t1 = GpTickCountGet();
  waitSince(t1, 3000);
  const uint32_t closed = GpTickCountGet() - t1;
  std::exit(t0 <= start + 1 && dt >= 120 && dt <= all + 1 && dt >= waited - 2 && closed < 1000 &&
                    !hal_working
                ? 0
                : 1);
}

TEST(RealClockDeathTest, TickCountStartsNearZeroGrowsAboutOneThousandPerSecondAndACloseEndsAWait) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh program, not a fork of this one
  EXPECT_EXIT(checkRealClock(), testing::ExitedWithCode(0), "");
}

// A machine without a sound device nor joysticks, and one with whatever it has: the real start-up
// says what is missing in one line, then three minutes of play through the ambush and its fight.
TEST(Env, WithoutSoundOrPadsTheGameSaysSoAndPlays) {
  static bool sawCombat, heardMusic;
  for (const char* driver : {"nosuch", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(driver ? driver : "none named");
    driver ? setenv("SDL_AUDIODRIVER", driver, 1) : unsetenv("SDL_AUDIODRIVER");
    joystickFails = driver != nullptr;
    harness::resetWorld();
    hal_reset();
    hal_useVirtualClock(true, 0);
    autopilot::begin({0});  // playing on from the title menu
    sawCombat = heardMusic = false;
    hal_pumpHook = [] {
      GpTickCountGet() > 3 * 60000 ? harness::closeWindow() : autopilot::pump();
    };
    hal_flipHook = [] {
      sawCombat |= autopilot::combatOnScreen();
      heardMusic |= musicPlaying() != 0;
    };
    testing::internal::CaptureStderr();
    load_rsc();
    const bool started = init();
    const std::string said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started);
    init2();
    harness::runFromMenu();
    EXPECT_TRUE(sawCombat);
    EXPECT_GT(vagabond.scene, 0);  // the ambush played
    EXPECT_EQ(said.find("talmyr: no gamepads: no joystick subsystem") != std::string::npos,
              joystickFails)
        << said;
    EXPECT_TRUE(music || !heardMusic);
    EXPECT_TRUE(!driver || (!music && !music2 && !heardMusic));  // no sound: no music
    joystickFails = false;
    harness::stop();
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
