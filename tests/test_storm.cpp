// Input storm: the real game from the title menu on the virtual clock, random keys in turns with
// the autopilot's purposeful play, what must always hold checked after every frame.
// Replay one run: TALMYR_STORM_SEED=<seed>; longer storms: TALMYR_STORM_MINUTES=<virtual minutes>.
#include <gtest/gtest.h>

#include "support_autopilot.h"
#include "support_record.h"

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
static size_t heapInUse() { return __sanitizer_get_current_allocated_bytes(); }
#else
static size_t heapInUse() { return mallinfo2().uordblks; }
#endif

namespace {

struct Run {
  unsigned seed = 0;
  uint32_t budgetMs = 0, lastPump = 0, closedAt = 0, phaseEnd = 0, nextRandomAt = 0;
  double pilotShare = 0.5;  // share of the time spent in purposeful play
  std::mt19937 rng;
  uint64_t frames = 0;
  uintptr_t stackTop = 0;
  size_t heapBase = 0;
  bool closed = false, failed = false, pilot = false;
  std::vector<std::pair<SDLKey, uint32_t>> held;  // released at that virtual time
} run;
std::set<int> screensSeen;
bool sawCombat = false;

// The frame that broke a rule: reported once per run, then the run is closed.
void violation(const std::string& what) {
  if (run.failed) return;
  run.failed = true;
  ADD_FAILURE() << "storm seed " << run.seed << ", frame " << run.frames << ", virtual ms " << GpTickCountGet()
                << ": " << what << "  (replay: TALMYR_STORM_SEED=" << run.seed << ")";
  harness::closeWindow();
}

bool inside(const chara& c) {
  const smap* m = c.map;
  return !m || (c.x >= 0 && c.x < m->w && c.y >= 0 && c.y < m->h && c.px >= 0 && c.px <= 32 * (m->w - 1) &&
                c.py >= 0 && c.py <= 32 * (m->h - 1));
}

// After every flip.
void onFrame() {
  run.frames++;
  screensSeen.insert(flow_current);
  sawCombat |= autopilot::combatOnScreen();
  for (const chara* c : {&perso, ennemi})
    if (c && (c->pv < 0 || c->pv > c->pvMax || c->mana < 0 || c->mana > c->manaMax || c->gold < 0))
      violation(record::nameOf(c) + " life, magic or gold out of bounds: " + std::to_string(c->pv) + " " +
                std::to_string(c->mana) + " " + std::to_string(c->gold));
  // the hero at rest stands on a tile he may walk on (a scene or a lost duel puts him on one too)
  const std::string at = " at pixel (" + std::to_string(perso.px) + ", " + std::to_string(perso.py) + ")";
  if (flow_current == SCR_ENGINE && game.tiles) {
    if (perso.px < 0 || perso.py < 0 || perso.px > 32 * (game.w - 1) || perso.py > 32 * (game.h - 1)) {
      violation("hero off the map" + at);
    } else if (perso.px % 32 == 0 && perso.py % 32 == 0) {
      const int t = game.tiles[perso.py / 32 * game.w + perso.px / 32];
      if (t < 1 || t > 255 || marche[t] != 1) violation("hero at rest on tile " + std::to_string(t) + at);
    }
  }
  for (int i = 0; i < nbsprites; i++)
    if (!inside(*sprites[i])) violation(record::nameOf(sprites[i]) + " off its map");
  if (nbsprites != 20) violation("registry size changed");
  // the call stack stays bounded however long the game runs, and the heap flat
  const auto here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  if (run.stackTop > here && run.stackTop - here > 256 * 1024)
    violation("call stack " + std::to_string(run.stackTop - here) + " bytes deep");
  if (run.frames % 2048 == 0 && heapInUse() > run.heapBase + 2 * 1024 * 1024)
    violation("heap grew by " + std::to_string((heapInUse() - run.heapBase) / 1024) + " KiB");
}

constexpr SDLKey GAME_KEYS[] = {SDLK_SPACE, SDLK_LCTRL, SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_RETURN};
constexpr SDLKey OTHER_KEYS[] = {SDLK_ESCAPE, SDLK_a, SDLK_KP_ENTER, SDLK_RCTRL, SDLK_TAB, SDLK_F1};

void hold(SDLKey k, uint32_t ms) {
  harness::press(k);
  run.held.emplace_back(k, GpTickCountGet() + ms);
}

void releaseHeld(uint32_t upTo) {
  for (size_t i = 0; i < run.held.size();)
    if (run.held[i].second <= upTo) {
      harness::release(run.held[i].first);
      run.held.erase(run.held.begin() + static_cast<long>(i));
    } else {
      i++;
    }
}

// A frantic player: something every 20 to 400 ms, single keys, chords, long holds, other keys, the mouse.
void randomPump() {
  const uint32_t now = GpTickCountGet();
  releaseHeld(now);
  if (now < run.nextRandomAt) return;
  run.nextRandomAt = now + 20 + run.rng() % 380;
  const unsigned r = run.rng() % 100;
  auto any = [] { return GAME_KEYS[run.rng() % 7]; };
  if (r < 35) {
    hold(any(), 20 + run.rng() % 400);
  } else if (r < 50) {
    harness::tap(any());  // pressed and released inside one pump
  } else if (r < 60) {
    const uint32_t n = 2 + run.rng() % 3, ms = 20 + run.rng() % 600;
    for (uint32_t i = 0; i < n; i++) hold(any(), ms);
  } else if (r < 66) {
    hold(any(), 1000 + run.rng() % 7000);
  } else if (r < 76) {
    const SDLKey k = OTHER_KEYS[run.rng() % 6];
    run.rng() % 2 ? harness::tap(k) : hold(k, 50 + run.rng() % 2000);
  } else if (r < 80) {
    SDL_Event e{};
    e.type = run.rng() % 2 ? SDL_MOUSEMOTION : SDL_MOUSEBUTTONDOWN, e.button.button = SDL_BUTTON_LEFT;
    e.button.x = static_cast<Uint16>(run.rng() % 320), e.button.y = static_cast<Uint16>(run.rng() % 240);
    SDL_PushEvent(&e);
  } else {
    releaseHeld(UINT32_MAX);
  }
}

// At every pump.
void onPump() {
  const uint32_t now = GpTickCountGet();
  // no loop may go long without reading the keyboard
  if (now - run.lastPump > 15000) violation("no event pump for " + std::to_string(now - run.lastPump) + " ms");
  run.lastPump = now;
  if (run.closed) return;
  if (now >= run.budgetMs) {
    run.closed = true, run.closedAt = now;
    return harness::closeWindow();
  }
  if (now >= run.phaseEnd) {
    releaseHeld(UINT32_MAX);
    autopilot::releaseKeys();
    run.pilot = std::uniform_real_distribution<double>(0, 1)(run.rng) < run.pilotShare;
    run.phaseEnd = now + (run.pilot ? 20000 + run.rng() % 100000 : 2000 + run.rng() % 20000);
    if (run.pilot) autopilot::resume();
    return;
  }
  run.pilot ? autopilot::pump() : randomPump();
}

// Plays one run from the title menu, `pilotShare` of it in purposeful play (one run in three faces
// the master carelessly); returns its virtual length.
uint32_t playOne(unsigned seed, uint32_t budgetMs, double pilotShare) {
  run = Run{};
  run.seed = seed, run.budgetMs = budgetMs, run.pilotShare = pilotShare;
  run.rng.seed(seed);
  EXPECT_TRUE(harness::start());
  srand(seed);  // the game's own draws, so that a seed replays exactly
  harness::timeLimitMs = UINT32_MAX;
  autopilot::Options pilot;
  pilot.games = 0;
  pilot.loseToMaster = seed % 3 == 0;
  autopilot::begin(pilot);
  harness::driver = onPump;
  hal_flipHook = onFrame;
  run.stackTop = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
  run.heapBase = heapInUse();
  // eaten food stays eaten for the program: given back, every seed starts as a new process would
  const std::vector<int16_t> food(entree.tiles, entree.tiles + entree.w * entree.h);
  harness::runFromMenu();
  std::copy(food.begin(), food.end(), entree.tiles);
  const uint32_t end = GpTickCountGet();
  if (run.closed && end - run.closedAt > 1600)  // closing the window ends the game at once
    violation("the game went on for " + std::to_string(end - run.closedAt) + " ms after the window closed");
  EXPECT_EQ(hal_working, 0);
  EXPECT_FALSE(flow_active);
  harness::stop();
  return end;
}

TEST(Storm, RandomAndPurposefulPlayKeepsEveryRule) {
  auto playSeed = [](unsigned seed) {  // each seed its length and mix; one run in four closed early
    std::mt19937 plan(seed * 7919u);
    const uint32_t budget = seed % 4 == 0 ? 500u + plan() % 60000u : 60000u + plan() % (20u * 60000u);
    return playOne(seed, budget, (plan() % 100) / 100.0);
  };
  if (const char* one = std::getenv("TALMYR_STORM_SEED")) return (void)playSeed(std::strtoul(one, nullptr, 10));
  const char* minutes = std::getenv("TALMYR_STORM_MINUTES");
  const uint64_t wantMs = 60000ull * (minutes ? std::strtoull(minutes, nullptr, 10) : 240);
  uint64_t totalMs = 0;
  std::vector<size_t> heapAtStart;
  for (unsigned seed = 1; totalMs < wantMs; seed++) {
    totalMs += playSeed(seed);
    heapAtStart.push_back(run.heapBase);
  }
  std::printf("storm: %zu runs, %.2f virtual hours\n", heapAtStart.size(), static_cast<double>(totalMs) / 3.6e6);
  ASSERT_GT(heapAtStart.size(), 2u);  // many games in one process: what each start leaves must not pile up
  EXPECT_LT(heapAtStart.back(), heapAtStart[1] + 512 * 1024);
  for (int s : {SCR_MENU, SCR_INTRO, SCR_ENGINE, SCR_INFO, SCR_ABOUT, SCR_BRAVO, SCR_GAMEOVER})
    EXPECT_TRUE(screensSeen.count(s)) << "the storm never reached screen " << s;
  EXPECT_TRUE(sawCombat);
}

// A short game for the memory checker (make memcheck runs this one under valgrind): purposeful play
// only, from the title menu through the intro, the ambush's boxes and fight, to the grandfather's gift.
TEST(MemcheckGame, TitleIntroExplorationDialogueAndAFight) {
  screensSeen.clear(), sawCombat = false;
  playOne(1, 6u * 60000u, 1.0);
  EXPECT_EQ(screensSeen, (std::set<int>{SCR_MENU, SCR_INTRO, SCR_ENGINE}));
  EXPECT_TRUE(sawCombat);
  EXPECT_EQ(std::make_tuple(vagabond.scene, gmere.gold, gpere.pv), std::make_tuple(2, 0, 10));
}

}  // namespace
