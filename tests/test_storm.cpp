// Input storm: the real game from the title menu on the virtual clock, driven by random keys mixed
// with phases of purposeful play (the autopilot, handed control wherever the random keys left the
// game), with what must always hold checked after every frame.
//
// Replay one run: TALMYR_STORM_SEED=<seed> ./test_storm (its report names the frame that failed).
// Longer storms: TALMYR_STORM_MINUTES=<virtual minutes in total>. TALMYR_STORM_VERBOSE=1 prints
// each run's progress through the story, TALMYR_STORM_TRACE=1 the screens and the hero as it goes.
#include <gtest/gtest.h>

#include "harness.h"
#include "support_autopilot.h"
#include "support_record.h"

#include <malloc.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <set>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// from the sanitizer runtime's allocator interface (the header does not ship with every compiler)
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#endif

namespace {

// ---- what the storm measures ------------------------------------------------------------------

size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

struct Run {
  unsigned seed = 0;
  uint32_t budgetMs = 0;    // virtual time before the window is closed
  double pilotShare = 0.5;  // share of the time spent in purposeful play
  std::mt19937 rng;
  uint64_t frames = 0;
  uint32_t lastPump = 0;
  uintptr_t stackTop = 0;
  size_t heapBase = 0;
  bool closed = false;
  uint32_t closedAt = 0;
  bool failed = false;
  // input state
  bool pilot = false;
  uint32_t phaseEnd = 0;
  uint32_t nextRandomAt = 0;
  struct Held {
    SDLKey key;
    uint32_t until;
  };
  std::vector<Held> held;
};

Run run;
std::set<int> screensSeen;
bool sawCombat = false;
size_t deepestStack = 0;
uint64_t totalFrames = 0;
uint64_t pilotStalls = 0;

// The frame that broke a rule: reported once per run, then the run is closed.
void violation(const std::string& what) {
  if (run.failed) return;
  run.failed = true;
  ADD_FAILURE() << "storm seed " << run.seed << ", frame " << run.frames << ", virtual ms "
                << GpTickCountGet() << ": " << what
                << "  (replay: TALMYR_STORM_SEED=" << run.seed << ")";
  harness::closeWindow();
}

bool inside(const chara& c) {
  if (!c.map) return true;
  const smap& m = *c.map;
  return c.x >= 0 && c.x < m.w && c.y >= 0 && c.y < m.h && c.px >= 0 && c.px <= 32 * (m.w - 1) &&
         c.py >= 0 && c.py <= 32 * (m.h - 1);
}

void checkFighter(const chara* c) {
  char buf[160];
  if (c->pv < 0 || c->pv > c->pvMax || c->mana < 0 || c->mana > c->manaMax || c->gold < 0) {
    std::snprintf(buf, sizeof buf, "%s: pv %d/%d, mana %d/%d, gold %d", record::nameOf(c).c_str(), c->pv,
                  c->pvMax, c->mana, c->manaMax, c->gold);
    violation(buf);
  }
}


// After every flip.
void onFrame() {
  run.frames++;
  totalFrames++;
  screensSeen.insert(flow_current);
  char buf[200];

  checkFighter(&perso);
  if (ennemi) checkFighter(ennemi);

  // The hero at rest stands on a tile he may walk on, or where a scene or a lost fight put him.
  if (flow_current == SCR_ENGINE && game.tiles) {
    if (!(perso.px >= 0 && perso.py >= 0 && perso.px <= 32 * (game.w - 1) &&
          perso.py <= 32 * (game.h - 1))) {
      std::snprintf(buf, sizeof buf, "hero off the map at pixel (%d, %d)", perso.px, perso.py);
      violation(buf);
    } else if (perso.px % 32 == 0 && perso.py % 32 == 0) {
      const int tx = perso.px / 32, ty = perso.py / 32;
      const int t = game.tiles[ty * game.w + tx];
      // "Ouch !" puts him one row lower without a test (that row is walkable in our maps); a lost
      // fight at the gate wakes him on the gate's path, also walkable.
      if (t < 1 || t > 255 || marche[t] != 1) {
        std::snprintf(buf, sizeof buf, "hero at rest on tile %d at (%d, %d)", t, tx, ty);
        violation(buf);
      }
    }
  }
  for (int i = 0; i < nbsprites; i++) {
    if (!inside(*sprites[i])) {
      std::snprintf(buf, sizeof buf, "%s outside its map: (%d, %d) pixel (%d, %d)",
                    record::nameOf(sprites[i]).c_str(), sprites[i]->x, sprites[i]->y, sprites[i]->px,
                    sprites[i]->py);
      violation(buf);
    }
  }
  if (nbsprites != 20) violation("registry size changed");

  // The call stack stays bounded however long the game runs.
  const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  const size_t depth = run.stackTop > here ? run.stackTop - here : 0;
  deepestStack = std::max(deepestStack, depth);
  if (depth > 256 * 1024) violation("call stack " + std::to_string(depth) + " bytes deep");

  // The heap stays flat: text and blits allocate per frame and must give it all back.
  if (run.frames % 2048 == 0) {
    const size_t now = heapInUse();
    if (now > run.heapBase + 2 * 1024 * 1024)
      violation("heap grew by " + std::to_string((now - run.heapBase) / 1024) + " KiB");
  }
  if (autopilot::combatOnScreen()) sawCombat = true;
}

// ---- random play ------------------------------------------------------------------------------

constexpr SDLKey GAME_KEYS[] = {SDLK_SPACE, SDLK_LCTRL, SDLK_LEFT, SDLK_UP,
                                SDLK_RIGHT, SDLK_DOWN,  SDLK_RETURN};
constexpr SDLKey OTHER_KEYS[] = {SDLK_ESCAPE, SDLK_a, SDLK_KP_ENTER, SDLK_RCTRL, SDLK_TAB, SDLK_F1};

SDLKey anyGameKey() { return GAME_KEYS[run.rng() % 7]; }

void hold(SDLKey k, uint32_t ms) {
  harness::press(k);
  run.held.push_back({k, GpTickCountGet() + ms});
}

void mouse() {
  SDL_Event e{};
  e.type = run.rng() % 2 ? SDL_MOUSEMOTION : SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = static_cast<Uint16>(run.rng() % 320);
  e.button.y = static_cast<Uint16>(run.rng() % 240);
  SDL_PushEvent(&e);
}

void randomPump() {
  const uint32_t now = GpTickCountGet();
  for (size_t i = 0; i < run.held.size();) {
    if (run.held[i].until <= now) {
      harness::release(run.held[i].key);
      run.held.erase(run.held.begin() + static_cast<long>(i));
    } else {
      i++;
    }
  }
  if (now < run.nextRandomAt) return;
  // a frantic player: something happens every 20 to 400 ms
  run.nextRandomAt = now + 20 + run.rng() % 380;
  const unsigned r = run.rng() % 100;
  if (r < 35) {
    hold(anyGameKey(), 20 + run.rng() % 400);
  } else if (r < 50) {
    harness::tap(anyGameKey());  // pressed and released inside one pump
  } else if (r < 60) {
    const int n = 2 + static_cast<int>(run.rng() % 3);
    const uint32_t ms = 20 + run.rng() % 600;
    for (int i = 0; i < n; i++) hold(anyGameKey(), ms);
  } else if (r < 66) {
    hold(anyGameKey(), 1000 + run.rng() % 7000);
  } else if (r < 76) {
    const SDLKey k = OTHER_KEYS[run.rng() % 6];
    if (run.rng() % 2)
      harness::tap(k);
    else
      hold(k, 50 + run.rng() % 2000);
  } else if (r < 80) {
    mouse();
  } else {
    for (const auto& h : run.held) harness::release(h.key);
    run.held.clear();
  }
}

void dropAllKeys() {
  for (const auto& h : run.held) harness::release(h.key);
  run.held.clear();
  autopilot::releaseKeys();
}

// At every pump.
void onPump() {
  const uint32_t now = GpTickCountGet();
  // No loop may go long without reading the keyboard: the longest drain and pause together
  // stay well under this.
  if (now - run.lastPump > 15000)
    violation("no event pump for " + std::to_string(now - run.lastPump) + " ms");
  run.lastPump = now;
  if (run.closed) return;
  if (now >= run.budgetMs) {
    run.closed = true;
    run.closedAt = now;
    harness::closeWindow();
    return;
  }
  if (now >= run.phaseEnd) {
    dropAllKeys();
    std::uniform_real_distribution<double> u(0, 1);
    run.pilot = u(run.rng) < run.pilotShare;
    run.phaseEnd = now + (run.pilot ? 20000 + run.rng() % 100000 : 2000 + run.rng() % 20000);
    if (run.pilot) autopilot::resume();
    return;
  }
  static const bool trace = std::getenv("TALMYR_STORM_TRACE") != nullptr;
  static uint32_t lastTrace = 0;
  static int lastScreen = -1;
  if (trace && flow_current != lastScreen) {
    lastScreen = flow_current;
    std::printf("t %u screen %d; force %d res %d guards %d%d%d%d%d%d%d boss %d\n", now,
                flow_current, perso.force, perso.resistance, garde1.beaten, garde2.beaten,
                garde3.beaten, garde4.beaten, garde5.beaten, garde6.beaten, garde7.beaten,
                boss.beaten);
  }
  if (trace && now - lastTrace > 3000) {
    lastTrace = now;
    std::printf("t %u pilot %d screen %d map %p (%d,%d) px %d,%d dir %d wait %d pv %d/%d\n", now,
                run.pilot, flow_current, (void*)game.map, perso.x, perso.y, perso.px, perso.py,
                perso.dir, hal_waitMask, perso.pv, perso.pvMax);
  }
  if (run.pilot)
    autopilot::pump();
  else
    randomPump();
}

// ---- the real-time watchdog -------------------------------------------------------------------

volatile sig_atomic_t watchedSeed = 0;

void onAlarm(int) {
  char msg[96];
  const int n = std::snprintf(msg, sizeof msg, "storm: seed %d hangs (no progress in real time)\n",
                              static_cast<int>(watchedSeed));
  if (n > 0) (void)!write(2, msg, static_cast<size_t>(n));
  _exit(3);
}

// Plays one run from the title menu; returns its virtual length.
uint32_t playOne(unsigned seed, uint32_t budgetMs, double pilotShare) {
  run = Run{};
  run.seed = seed;
  run.budgetMs = budgetMs;
  run.pilotShare = pilotShare;
  run.rng.seed(seed);
  watchedSeed = static_cast<sig_atomic_t>(seed);
  alarm(60);
  EXPECT_TRUE(harness::start());
  srand(seed);  // the game's own draws, so that a seed replays exactly
  harness::timeLimitMs = UINT32_MAX;
  autopilot::Options pilot;
  pilot.games = 0;                     // it plays on, in turns with the random keys
  pilot.loseToMaster = seed % 3 == 0;  // one run in three faces the master carelessly
  autopilot::begin(pilot);
  harness::driver = onPump;
  hal_flipHook = onFrame;
  run.stackTop = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  run.heapBase = heapInUse();
  // Eaten food stays eaten for the rest of the program: give it back, so that every seed starts
  // as a new process would (and replays alone exactly as among the others).
  std::vector<int> food;
  for (int i = 0; i < entree.w * entree.h; i++)
    if (entree.tiles[i] == 254) food.push_back(i);
  harness::runFromMenu();
  for (int i : food) entree.tiles[i] = 254;
  const uint32_t end = GpTickCountGet();
  if (std::getenv("TALMYR_STORM_VERBOSE"))
    std::printf("seed %u: %u ms, pilot %.2f, frames %llu; scene %d gmere %d gpere %d guards "
                "%d%d%d%d%d%d%d boss %d force %d res %d\n",
                seed, end, pilotShare, static_cast<unsigned long long>(run.frames),
                vagabond.scene, gmere.gold, gpere.pv, garde1.beaten, garde2.beaten, garde3.beaten,
                garde4.beaten, garde5.beaten, garde6.beaten, garde7.beaten, boss.beaten,
                perso.force, perso.resistance);
  // Closing the window ends the game at once, wherever it was.
  if (!run.failed && run.closed && end - run.closedAt > 1600)
    violation("the game went on for " + std::to_string(end - run.closedAt) +
              " ms after the window closed");
  EXPECT_EQ(hal_working, 0);
  EXPECT_FALSE(flow_active);
  pilotStalls += static_cast<uint64_t>(autopilot::report().stalls);
  harness::stop();
  alarm(0);
  return end;
}

TEST(Storm, RandomAndPurposefulPlayKeepsEveryRule) {
  signal(SIGALRM, onAlarm);
  const auto t0 = std::chrono::steady_clock::now();
  uint64_t totalMs = 0;
  unsigned runs = 0;
  std::vector<size_t> heapAtStart;
  // Each seed decides its run's length and its mix of random and purposeful play; one run in
  // four has its window closed early, at any moment up to a minute in.
  auto playSeed = [](unsigned seed) {
    std::mt19937 plan(seed * 7919u);
    const uint32_t budget =
        seed % 4 == 0 ? 500u + plan() % 60000u : 60000u + plan() % (20u * 60000u);
    return playOne(seed, budget, (plan() % 100) / 100.0);
  };
  if (const char* one = std::getenv("TALMYR_STORM_SEED")) {
    totalMs = playSeed(static_cast<unsigned>(std::strtoul(one, nullptr, 10)));
    runs = 1;
  } else {
    const char* minutes = std::getenv("TALMYR_STORM_MINUTES");
    const uint64_t wantMs = 60000ull * (minutes ? std::strtoull(minutes, nullptr, 10) : 240);
    for (unsigned seed = 1; totalMs < wantMs; seed++) {
      totalMs += playSeed(seed);
      runs++;
      heapAtStart.push_back(run.heapBase);
    }
  }
  const double real =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("storm: %u runs (seeds 1..%u), %.2f virtual hours, %llu frames checked, "
              "%.1f s real, deepest stack %zu bytes, pilot stalls %llu\n",
              runs, runs, static_cast<double>(totalMs) / 3.6e6,
              static_cast<unsigned long long>(totalFrames), real, deepestStack,
              static_cast<unsigned long long>(pilotStalls));
  std::printf("storm: screens seen:");
  for (int s : screensSeen) std::printf(" %d", s);
  std::printf("%s\n", sawCombat ? " + combat" : "");
  // Many games in one process: what each start leaves behind must not pile up.
  if (heapAtStart.size() > 2) {
    EXPECT_LT(heapAtStart.back(), heapAtStart[1] + 512 * 1024)
        << "heap after start-up: " << heapAtStart[1] << " then " << heapAtStart.back();
  }
  if (!std::getenv("TALMYR_STORM_SEED")) {
    for (int s : {SCR_MENU, SCR_INTRO, SCR_ENGINE, SCR_INFO, SCR_ABOUT, SCR_BRAVO, SCR_GAMEOVER})
      EXPECT_TRUE(screensSeen.count(s)) << "the storm never reached screen " << s;
    EXPECT_TRUE(sawCombat);
  }
}

}  // namespace

namespace {

// A short game for the memory checker (make memcheck runs this one test under valgrind): the title
// menu, the intro, the island, the ambush's walk and dialogue boxes, its fight and the robbery, the
// village, two houses, the grandmother's welcome and the grandfather's gift.
TEST(MemcheckGame, TitleIntroExplorationDialogueAndAFight) {
  static std::set<int> seen;
  static bool talked, fought;
  seen.clear();
  talked = fought = false;
  ASSERT_TRUE(harness::start());
  autopilot::Options pilot;
  pilot.games = 0;
  autopilot::begin(pilot);
  harness::driver = [] {
    seen.insert(flow_current);
    talked |= hal_waitMask == KEY_A;
    fought |= autopilot::combatOnScreen();
    if (gpere.pv == 10 || GpTickCountGet() > 10u * 60000u)
      harness::closeWindow();
    else
      autopilot::pump();
  };
  harness::runFromMenu();
  harness::stop();
  EXPECT_EQ(seen, (std::set<int>{SCR_MENU, SCR_INTRO, SCR_ENGINE}));
  EXPECT_TRUE(talked);
  EXPECT_TRUE(fought);
  EXPECT_EQ(vagabond.scene, 2);
  EXPECT_EQ(gmere.gold, 0);
  EXPECT_EQ(gpere.pv, 10);
}

}  // namespace
