// Under the game: keys, pads and waits, the clocks, the page's random draws, machines without
// sound, font, modules or joysticks, and closing the window at any moment.
#include <gtest/gtest.h>

#include "assets.h"
#include "draws.h"
#include "harness.h"
#include "pad.h"
#include "support_story.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

extern const unsigned char *init_font, *init_music, *init_music2;  // what start-up opens (gpmain.cpp)
extern std::size_t init_fontSize, init_musicSize, init_music2Size;

namespace pilot {  // the purposeful player (support_storm.cpp)
void reset();
void pump(std::mt19937& rng);
void releaseKeys();
bool battleScreen();
extern bool reckless;
}  // namespace pilot

// Linked with --wrap: the joystick subsystem can be made to fail, and SDL_Quit is counted.
static bool joystickFails = false;
static int quitCalls = 0;
extern "C" int __real_SDL_InitSubSystem(Uint32 flags);
extern "C" int __wrap_SDL_InitSubSystem(Uint32 flags) {
  if (!joystickFails || !(flags & SDL_INIT_JOYSTICK)) return __real_SDL_InitSubSystem(flags);
  SDL_SetError("no joystick subsystem on this machine");
  return -1;
}
extern "C" void __real_SDL_Quit(void);
extern "C" void __wrap_SDL_Quit(void) {
  quitCalls++;
  __real_SDL_Quit();
}

namespace {

std::mt19937 rng;

class Platform : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::start()); }
  void TearDown() override {
    pad::setButtons(pad::defaultAction(), pad::defaultStart());
    harness::stop();
  }
};

TEST_F(Platform, EachKeyIsItsBitBothActionKeysHoldTheActionAndNoOtherKeyCounts) {
  const std::pair<SDLKey, uint32_t> table[] = {{SDLK_SPACE, 0x01}, {SDLK_LCTRL, 0x01}, {SDLK_LEFT, 0x04},
                                               {SDLK_UP, 0x08},    {SDLK_RIGHT, 0x10}, {SDLK_DOWN, 0x20},
                                               {SDLK_RETURN, 0x40}};
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
    harness::press(SDLK_SPACE);
    harness::press(SDLK_LCTRL);
    harness::press(SDLK_UP);
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
  harness::schedule({{t + 10, SDLK_ESCAPE, true}, {t + 20, SDLK_a, true}, {t + 300, SDLK_LEFT, true}});
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
  for (SDLKey k : {SDLK_RETURN, SDLK_SPACE, SDLK_LCTRL}) {  // a fresh press of either mask
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

// A pad's event, or a key's: a hat's value and pad, an axis and its value, a button, a key.
void push(int type, int a, int b = 0) {
  SDL_Event e{};
  e.type = static_cast<Uint8>(type);
  if (type == SDL_JOYHATMOTION) {
    e.jhat.value = static_cast<Uint8>(a);
    e.jhat.which = static_cast<Uint8>(b);
  } else if (type == SDL_JOYAXISMOTION) {
    e.jaxis.axis = static_cast<Uint8>(a);
    e.jaxis.value = static_cast<Sint16>(b);
  } else if (type == SDL_JOYBUTTONDOWN || type == SDL_JOYBUTTONUP) {
    e.jbutton.button = static_cast<Uint8>(a);
    e.jbutton.state = type == SDL_JOYBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  } else {
    e.key.keysym.sym = static_cast<SDLKey>(a);
  }
  SDL_PushEvent(&e);
}

TEST_F(Platform, PadsAreTheArrowsActionAndReturnBesideTheKeyboard) {
  constexpr int H = SDL_JOYHATMOTION, S = SDL_JOYAXISMOTION, B = SDL_JOYBUTTONDOWN, b = SDL_JOYBUTTONUP,
                K = SDL_KEYDOWN, k = SDL_KEYUP;
  constexpr uint32_t A = KEY_A, L = KEY_LEFT, U = KEY_UP, R = KEY_RIGHT, D = KEY_DOWN, St = KEY_START;
  struct Step {
    std::vector<std::array<int, 3>> events;
    uint32_t key, keych;  // after one pump
  };
  std::vector<Step> steps = {
      {{{H, SDL_HAT_UP}}, U, U}, {{{H, SDL_HAT_RIGHTDOWN}}, R | D, R | D}, {{{H, SDL_HAT_CENTERED}}, 0, 0},
      // the stick: nothing within half its travel, let go only well inside it
      {{{S, 0, 1200}, {S, 1, 1200}}, 0, 0}, {{{S, 0, -3000}, {S, 1, -3000}}, 0, 0},
      {{{S, 0, 9000}, {S, 1, 9000}}, 0, 0}, {{{S, 0, -15000}, {S, 1, -15000}}, 0, 0},
      {{{S, 0, 15000}, {S, 1, 15000}}, 0, 0}, {{{S, 0, -20000}}, L, L}, {{{S, 0, -14000}}, L, 0},
      {{{S, 1, 32767}}, L | D, D}, {{{S, 0, 32767}}, R | D, R}, {{{S, 0, 0}, {S, 1, -2000}}, 0, 0},
      // pad and keyboard let go of their own holds only; so does a second pad
      {{{K, SDLK_SPACE}, {B, 0}}, A, A}, {{{b, 0}}, A, 0}, {{{k, SDLK_SPACE}}, 0, 0},
      {{{K, SDLK_LEFT}, {H, SDL_HAT_UP}}, L | U, L | U}, {{{H, SDL_HAT_CENTERED}}, L, 0},
      {{{B, 7}, {k, SDLK_LEFT}}, St, St}, {{{b, 7}}, 0, 0}, {{{K, SDLK_LEFT}, {H, SDL_HAT_LEFT}}, L, L},
      {{{H, SDL_HAT_CENTERED}}, L, 0}, {{{S, 0, -30000}}, L, L}, {{{k, SDLK_LEFT}}, L, 0}, {{{S, 0, 0}}, 0, 0},
      {{{H, SDL_HAT_DOWN, 1}, {H, SDL_HAT_UP, 0}}, U | D, U | D}, {{{H, SDL_HAT_CENTERED, 0}}, D, 0},
      {{{H, SDL_HAT_CENTERED, 1}}, 0, 0}};
  for (int n : {0, 1, 2, 3, 7, 9, 4, 5, 6, 8, 10, 31, 40}) {  // the face buttons, Start, the others
    const uint32_t want = n < 4 ? A : n == 7 || n == 9 ? St : 0;
    steps.push_back({{{B, n}}, want, want});
    steps.push_back({{{b, n}}, 0, 0});
  }
  for (size_t i = 0; i < steps.size(); i++) {
    for (auto [type, x, y] : steps[i].events) push(type, x, y);
    hal_events();
    EXPECT_EQ(key, steps[i].key) << "step " << i;
    EXPECT_EQ(keych, steps[i].keych) << "step " << i;
  }
  pad::setButtons({5}, {4});  // as the settings name them
  push(B, 0);
  push(B, 5);
  hal_events();
  EXPECT_EQ(key, A);
  push(B, 4);
  hal_events();
  EXPECT_EQ(key, A | St);
  EXPECT_EQ(keych, St);
}

TEST(PadGame, WithoutAJoystickSubsystemTheGameSaysSoAndPlaysTheReferenceStory) {
  joystickFails = true;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(story::play("fr"));
  const std::string said = testing::internal::GetCapturedStderr();
  joystickFails = false;
  EXPECT_NE(said.find("talmyr: no gamepads: no joystick subsystem"), std::string::npos) << said;
  std::ifstream f(std::string(TALMYR_SOURCE_DIR) + "/tests/references/story.txt");
  std::stringstream want, got;
  want << f.rdbuf();
  for (const std::string& l : record::transcript()) got << l << "\n";
  EXPECT_EQ(got.str(), want.str());
}

// The real clock, in a fresh process (SDL 1.2 counts from a process's first SDL_Init), each bound
// read off the monotonic clock around each reading so that no load can make it fail: near zero at
// start, then a thousand a second, give or take a tick at each end.
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
  const double dt = GpTickCountGet() - t0;
  const double start = ms(s1 - s0).count(), waited = ms(s2 - s1).count(),
               all = ms(std::chrono::steady_clock::now() - s0).count();
  std::fprintf(stderr, "%u at %.1f ms; %.0f after waiting 120 (%.1f ms, %.1f in all)\n", t0, start, dt, waited, all);
  std::exit(t0 <= start + 1 && dt >= 120 && dt <= all + 1 && dt >= waited - 2 ? 0 : 1);
}

TEST(RealClockDeathTest, TickCountStartsNearZeroAndGrowsAboutOneThousandPerSecond) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh program, not a fork of this one
  EXPECT_EXIT(checkRealClock(), testing::ExitedWithCode(0), "");
}

// The page's rebuilt generator gives the desktop C library's numbers, or its fights go otherwise.
TEST(Draws, SameNumbersAsTheDesktopLibraryForEverySeed) {
  for (unsigned seed : {0u, 1u, 250u, 4000u, 1000u + 123u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    srand(seed);
    draws::Generator g(seed);
    for (int i = 0; i < 2000; i++) ASSERT_EQ(g.next(), rand()) << "seed " << seed << ", draw " << i;
  }
}

// ---- machines without sound, or whose font or modules do not open ----------------------------

bool sawCombat, heardMusic, menuAsReference;
std::vector<uint16_t> title;  // the title menu's reference picture

// The real start-up with an audio driver (null: none named) and the font and modules given, then
// three minutes of purposeful play through the ambush, its dialogue boxes and its fight.
void play(const char* audioDriver, const unsigned char* font, size_t fontSize, const unsigned char* m1,
          size_t m1Size, const unsigned char* m2, size_t m2Size) {
  init_font = font;
  init_fontSize = fontSize;
  init_music = m1;
  init_musicSize = m1Size;
  init_music2 = m2;
  init_music2Size = m2Size;
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  audioDriver ? setenv("SDL_AUDIODRIVER", audioDriver, 1) : unsetenv("SDL_AUDIODRIVER");
  harness::resetWorld();
  hal_reset();
  hal_useVirtualClock(true, 0);
  pilot::reset();
  sawCombat = heardMusic = menuAsReference = false;
  hal_pumpHook = [] { GpTickCountGet() > 3 * 60000 ? harness::closeWindow() : pilot::pump(rng); };
  hal_flipHook = [] {
    sawCombat |= pilot::battleScreen();
    heardMusic |= musicPlaying() != 0;
    menuAsReference |= flow_current == SCR_MENU && harness::screenPixels() == title;
  };
  load_rsc();
  ASSERT_TRUE(init());
  init2();
  harness::runFromMenu();
  EXPECT_TRUE(sawCombat);
  EXPECT_GT(vagabond.scene, 0);  // the ambush played
  EXPECT_TRUE(menuAsReference) << "the title menu's text is drawn otherwise";
}

TEST(Env, WithoutSoundOrWithAFontOrModulesThatDoNotOpenTheGamePlaysAndShowsTheSame) {
  int w = 0, h = 0;
  ASSERT_TRUE(harness::loadPng(std::string(TALMYR_SOURCE_DIR) + "/tests/references/pictures/title.png", title, w, h));
  static std::vector<unsigned char> junk(8192, 0x5A), half(gamefont, gamefont + gamefont_size / 2);
  const unsigned char* const F = gamefont;
  struct Case {
    const char* driver;
    const unsigned char* font;
    size_t fontSize;
    const unsigned char *m1, *m2;
    size_t m1Size, m2Size;
  };
  const Case cases[] = {
      {"nosuch", F, gamefont_size, un, battle, un_size, battle_size},  // no sound device
      {nullptr, F, gamefont_size, un, battle, un_size, battle_size},   // whatever the machine has
      {"dummy", junk.data(), 4096, un, battle, un_size, battle_size},  // garbage never opens
      {"dummy", F, 12, un, battle, un_size, battle_size},
      {"dummy", half.data(), half.size(), un, battle, un_size, battle_size},
      {"dummy", F, gamefont_size, junk.data(), un, junk.size(), 1100},  // a module header, nothing after
      {"dummy", F, gamefont_size, nullptr, nullptr, 0, 0},
      {"dummy", F, gamefont_size, un, battle, un_size, battle_size}};  // and all as it was
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    play(c.driver, c.font, c.fontSize, c.m1, c.m1Size, c.m2, c.m2Size);
    const bool silent = c.driver && c.driver[0] == 'n';
    EXPECT_TRUE(c.font != junk.data() || !police);
    EXPECT_TRUE((c.m1 == un && !silent) || !music);
    EXPECT_TRUE((c.m2 && !silent) || (!music2 && !heardMusic));
    EXPECT_TRUE(c.driver || music || !heardMusic);
    if (silent) {  // every music call stays safe without a device
      EXPECT_EQ(musicLoad(un, static_cast<int>(un_size)), nullptr);
      musicPlay(nullptr);
      musicPlay(music);
      musicHalt();
      EXPECT_EQ(musicPlaying(), 0);
      musicClose();
      musicClose();
    }
    harness::stop();
  }
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// ---- closing the window at any moment ---------------------------------------------------------

// Each moment is played to in a child process on the virtual clock (by the purposeful player, or
// keys); there the clock turns real and a timer closes the window 150 ms later, in the middle of
// whatever the game does. From the close the child has 2 s to shut down once and exit 0 through
// the normal exit path (where a leak checker runs).
struct Moment {
  const char* name;
  std::function<void()> drive;  // the keys at each pump; none: the purposeful player
  bool atFlip;                  // `when` is asked after each flip, else at each pump
  std::function<bool()> when;
  bool reckless = false;
};
const Moment* current = nullptr;
bool fired = false, reached = false;
SDLKey held = SDLK_UNKNOWN;
size_t next = 0;
int count = 0;

void limit(int seconds) {  // SIGKILL ends the child then (SDL has its own use for SIGALRM)
  static timer_t timer;
  static bool made = false;
  if (!made) {
    sigevent ev{};
    ev.sigev_notify = SIGEV_SIGNAL;
    ev.sigev_signo = SIGKILL;
    made = timer_create(CLOCK_MONOTONIC, &ev, &timer) == 0;
  }
  const itimerspec t{{0, 0}, {seconds, 0}};
  if (!made || timer_settime(timer, 0, &t, nullptr) != 0) std::exit(5);
}

Uint32 closeNow(Uint32, void*) {  // on SDL's timer thread
  limit(2);
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  return 0;
}

void fire() {
  fired = reached = true;
  if (held != SDLK_UNKNOWN) harness::release(held);
  pilot::releaseKeys();
  // the real clock now: a wait begun on the virtual one, far ahead, ends only on the close
  hal_useVirtualClock(false);
  SDL_InitSubSystem(SDL_INIT_TIMER);  // the game starts no timer of its own
  SDL_AddTimer(150, closeNow, nullptr);
}

[[noreturn]] void runChild(const Moment& m) {
  current = &m;
  quitCalls = 0;
  limit(60);
  if (!harness::start()) std::exit(2);
  hal_advance(10'000'000);
  harness::timeLimitMs = UINT32_MAX;
  pilot::reset();
  pilot::reckless = m.reckless;
  harness::driver = [] {
    if (fired) return;
    if (GpTickCountGet() > 10'000'000u + 4u * 3600u * 1000u) {  // four virtual hours: give up
      fired = true;
      harness::closeWindow();
    } else if (!current->atFlip && current->when()) {
      fire();
    } else if (current->drive) {
      current->drive();
    } else {
      pilot::pump(rng);
    }
  };
  hal_flipHook = [] {
    if (!fired && current->atFlip && current->when()) fire();
  };
  harness::runFromMenu();
  harness::stop();
  std::exit(!reached ? 3 : quitCalls != 1 ? 4 : 0);
}

// Presses the keys one every two pumps while `now` holds; else the purposeful player, or nothing.
std::function<void()> keys(std::vector<SDLKey> k, std::function<bool()> now = [] { return true; },
                           bool pilotElse = true) {
  return [=] {
    if (!now()) {
      if (pilotElse) pilot::pump(rng);
    } else if (held != SDLK_UNKNOWN) {
      harness::release(held);
      held = SDLK_UNKNOWN;
    } else if (next < k.size()) {
      harness::press(held = k[next++]);
    }
  };
}

bool battle() { return pilot::battleScreen(); }

std::vector<Moment> moments() {
  auto waitingOn = [](ScreenId s) { return [s] { return flow_current == s && hal_waitMask; }; };
  auto menuIntroOrAtRest = [] {
    return flow_current == SCR_MENU || flow_current == SCR_INTRO || (perso.px % 32 == 0 && perso.py % 32 == 0);
  };
  return {
      {"title menu", keys({}), false, [] { return flow_current == SCR_MENU && ++count > 3; }},
      {"intro", keys({SDLK_SPACE}), true, [] { return flow_current == SCR_INTRO && ++count > 5; }},
      {"about page", keys({SDLK_DOWN, SDLK_RETURN}), false, waitingOn(SCR_ABOUT)},
      {"information page", keys({SDLK_SPACE, SDLK_RETURN, SDLK_RETURN}, menuIntroOrAtRest, false), false,
       waitingOn(SCR_INFO)},
      {"exploring, standing", keys({SDLK_SPACE, SDLK_RETURN}), false,
       [] { return flow_current == SCR_ENGINE && ++count > 20; }},
      {"exploring, mid-step", nullptr, true, [] { return flow_current == SCR_ENGINE && perso.px % 32 != 0; }},
      {"scripted walk", nullptr, true, [] { return vagabond.px % 32 != 0; }},
      {"dialogue box", nullptr, false, [] { return flow_current == SCR_ENGINE && hal_waitMask == KEY_A; }},
      {"combat menu", nullptr, false, battle},
      {"drain", nullptr, true, [] { return battle() && vagabond.pv < 50; }},
      {"the opponent's answer", nullptr, true, [] { return battle() && perso.pv < perso.pvMax; }},
      // a spell, then a second one with too little magic left; flight from the vagrant, refused;
      // flight from the gate's guard, with the grandmother's coins
      {"not enough magic", keys({SDLK_DOWN, SDLK_SPACE, SDLK_SPACE}, battle), true,
       [] { return next == 3 && battle() && perso.mana == 0; }},
      {"flight refused", keys({SDLK_DOWN, SDLK_DOWN, SDLK_SPACE}, battle), true,
       [] { return next == 3 && battle(); }},
      {"flight", keys({SDLK_DOWN, SDLK_DOWN, SDLK_SPACE}, [] { return battle() && ennemi == &garde1; }), true,
       [] { return ennemi == &garde1 && next == 3 && battle(); }},
      {"defeat", nullptr, true, [] { return battle() && perso.pv == 0 && ++count == 2; }},
      {"victory", nullptr, true, [] { return ennemi && ennemi->beaten && battle(); }},  // set before its words
      {"ending's flash", nullptr, true,
       [] {
         return boss.beaten == 1 && harness::pixel(0, 0) == 0xFFFF && harness::pixel(319, 239) == 0xFFFF &&
                harness::pixel(160, 120) == 0xFFFF;
       }},
      {"victory page", nullptr, false, waitingOn(SCR_BRAVO)},
      {"game-over page", nullptr, false, waitingOn(SCR_GAMEOVER), true}};
}

TEST(Close, EveryScreenAndEveryWaitEndsTheProgramWithinTwoSeconds) {
  for (const Moment& m : moments()) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) runChild(m);
    int status = -1;
    waitpid(pid, &status, 0);
    // exit 3: the moment never came; 4: not one SDL_Quit; SIGKILL (9): too slow, or hung
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << m.name << (WIFEXITED(status) ? ": exit " : ": signal ")
        << (WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
  }
}

}  // namespace
