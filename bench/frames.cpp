// Frame costs of the real drawing code on the dummy video driver, against the floor of copying
// one 320x240 16-bit frame with memcpy.
#include <benchmark/benchmark.h>

#include "harness.h"
#include "keep.h"
#include "keep_store.h"

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

// One game started for the whole run (dummy drivers, virtual clock: a flip costs no real time).
struct Game {
  Game() { ok = harness::start(); }
  ~Game() {
    if (ok) harness::stop();
  }
  bool ok = false;
};

bool ready(benchmark::State& state) {
  static Game game;
  if (!game.ok) state.SkipWithError("the game did not start");
  return game.ok;
}

void stand(smap* m, int x, int y, int dir) { harness::placeHero(m, x, y, dir); }

// What the exploration loop draws every frame: the view, the hero, the status display, the flip.
void explorationFrame() {
  affView();
  GpFlip();
}

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint16_t> src(320 * 240, 0x1234), dst(320 * 240);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint16_t));
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyFrame);

void BM_ExplorationFrameIsland(benchmark::State& state) {
  if (!ready(state)) return;
  stand(&ile, 17, 14, 3);  // where the hero lands: the middle of the view, the ambusher in sight
  for (auto _ : state) explorationFrame();
}
BENCHMARK(BM_ExplorationFrameIsland);

void BM_ExplorationFrameCastle(benchmark::State& state) {
  if (!ready(state)) return;
  stand(&chateau, 10, 7, 0);  // the hall, with the guards, the royal family and the master
  for (auto _ : state) explorationFrame();
}
BENCHMARK(BM_ExplorationFrameCastle);

// One dialogue box as a scene shows it: the view, the box, the portrait, the line, the prompt,
// the flip and the wait for the action key, answered by a fresh press at its first poll.
void answerAtOnce() {
  harness::release(SDLK_SPACE);
  harness::press(SDLK_SPACE);
}

void BM_DialogueBox(benchmark::State& state) {
  if (!ready(state)) return;
  stand(&maison1, 5, 2, 0);
  hal_pumpHook = answerAtOnce;
  for (auto _ : state) affTextPlus("Oui. Ils sont tous au ch\xE2teau...", &gmere);
  hal_pumpHook = nullptr;
  harness::releaseAll();
}
BENCHMARK(BM_DialogueBox);

// One pass of the duel's turn loop while the menu waits for a key: the pump, the scene drawn four
// times over (before the keys are looked at and after each of the three outcome checks) and the flip.
void BM_CombatPass(benchmark::State& state) {
  if (!ready(state)) return;
  stand(&entree, 10, 1, 0);
  ennemi = &garde1;
  for (auto _ : state) {
    hal_events();
    Key = GpKeyGet();
    KeyCh = GpKeyChanged();
    for (int i = 0; i < 4; i++) {
      affCombatBg();
      affCombatMenu(0);
    }
    GpFlip();
  }
}
BENCHMARK(BM_CombatPass);

void BM_LoadRsc(benchmark::State& state) {
  if (!ready(state)) return;
  free_rsc();
  for (auto _ : state) {
    load_rsc();
    state.PauseTiming();
    free_rsc();
    state.ResumeTiming();
  }
  load_rsc();
  init2();  // the characters point at the pictures again
}
BENCHMARK(BM_LoadRsc)->Unit(benchmark::kMicrosecond);

// What the exploration loop adds to a frame in which the hero stands free: the world taken.
void BM_KeepStanding(benchmark::State& state) {
  if (!ready(state)) return;
  stand(&chateau, 10, 7, 0);
  keep::World w;
  for (auto _ : state) {
    keep::capture(w);
    benchmark::DoNotOptimize(&w);
  }
}
BENCHMARK(BM_KeepStanding);

// Keeping a game at a change of map or a close: the world taken, its text, the file replaced
// atomically (written, flushed to the disk, renamed, the folder flushed) in the build folder, on
// a disk as the player's state folder is.
void BM_KeepGame(benchmark::State& state) {
  if (!ready(state)) return;
  stand(&chateau, 10, 7, 0);
  const std::string dir =
      (std::filesystem::canonical("/proc/self/exe").parent_path() / "bench-state").string();
  std::filesystem::create_directories(dir);
  keep::World w;
  std::string error;
  size_t size = 0;
  for (auto _ : state) {
    keep::capture(w);
    const std::string text = keep::text(w);
    size = text.size();
    if (!store::write(dir + "/kept-game.ini", text, error)) state.SkipWithError(error.c_str());
  }
  state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_KeepGame)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
