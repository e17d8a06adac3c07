// Whole-process measurements of the real game on the REAL clock (dummy video and audio drivers):
// CPU use while playing, the pace of walks and drains, start-up time and peak memory.
// Key presses are pushed through the pump hook, as a player's would arrive; nothing steers the
// game by writing its state.
//
// usage: talmyr_probe MODE      MODE: stand | walk | fight | intro | script-walk | startup | game
//                                     | virtual-game (the autopilot's game on the virtual clock)
// Prints one line of JSON with the figures of that mode.
#include "harness.h"
#include "support_autopilot.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

double nowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double cpuMs() {
  rusage ru;
  getrusage(RUSAGE_SELF, &ru);  // every thread of the process: the game's and the mixer's
  return (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3 +
         (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
}

long peakRssKb() {
  rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_maxrss;
}

// CPU time over real time between start() and stop(), in percent of one core.
struct Meter {
  double wall0 = 0, cpu0 = 0, wall = 0, cpu = 0;
  bool started = false, stopped = false;
  void start() {
    wall0 = nowMs();
    cpu0 = cpuMs();
    started = true;
  }
  void stop() {
    if (!started || stopped) return;
    wall = nowMs() - wall0;
    cpu = cpuMs() - cpu0;
    stopped = true;
  }
  double percent() const { return wall > 0 ? 100.0 * cpu / wall : 0; }
};

Meter meter;

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
double mean(const std::vector<double>& v) {
  double s = 0;
  for (double x : v) s += x;
  return v.empty() ? 0 : s / v.size();
}

// Starts a game with the real clock: harness::start() makes the world as the program does.
bool startReal() {
  if (!harness::start()) return false;
  hal_useVirtualClock(false);
  hal_present = true;  // every frame goes to the (dummy) window, as in the program
  return true;
}

void stand(smap* m, int x, int y, int dir) { harness::placeHero(m, x, y, dir); }

void printLine(const std::string& s) {
  std::printf("%s\n", s.c_str());
  std::fflush(stdout);
}

std::string cpuJson(const char* mode) {
  char buf[256];
  std::snprintf(buf, sizeof buf,
                "{\"mode\":\"%s\",\"wall_ms\":%.0f,\"cpu_ms\":%.1f,\"cpu_pct\":%.2f", mode,
                meter.wall, meter.cpu, meter.percent());
  return buf;
}

// ---- standing on the island ----------------------------------------------------------------

double runFor = 0;

int modeStand() {
  if (!startReal()) return 1;
  stand(&ile, 17, 14, 3);  // where the hero lands
  runFor = 20000;
  harness::driver = [] {
    if (!meter.started) meter.start();
    if (nowMs() - meter.wall0 >= runFor && hal_working) {
      meter.stop();
      harness::closeWindow();
    }
  };
  flow_run(SCR_ENGINE);
  harness::stop();
  printLine(cpuJson("stand") + "}");
  return 0;
}

// ---- walking on the island -----------------------------------------------------------------
// Back and forth along row 4 between columns 4 and 12, holding one arrow at a time.

struct StepStart {
  double t;
  int px, dir;
};
std::vector<StepStart> starts;
int lastPx = -1;
SDLKey held = SDLK_RIGHT;

void recordStepStarts() {
  const double t = nowMs();
  const int px = perso.px;
  if (lastPx >= 0) {
    if (px == lastPx + 1 && px % 32 == 1) starts.push_back({t, px, 1});
    if (px == lastPx - 1 && px % 32 == 31) starts.push_back({t, px, 3});
  }
  lastPx = px;
}

int modeWalk() {
  if (!startReal()) return 1;
  stand(&ile, 4, 4, 1);
  runFor = 20000;
  hal_flipHook = recordStepStarts;
  harness::driver = [] {
    if (!meter.started) {
      meter.start();
      harness::press(held);
    }
    if (perso.px % 32 == 0 && perso.py % 32 == 0) {  // input only counts on whole tiles
      const int x = perso.px / 32;
      SDLKey want = held;
      if (held == SDLK_RIGHT && x >= 12) want = SDLK_LEFT;
      if (held == SDLK_LEFT && x <= 4) want = SDLK_RIGHT;
      if (want != held) {
        harness::release(held);
        harness::press(want);
        held = want;
      }
    }
    if (nowMs() - meter.wall0 >= runFor && hal_working) {
      meter.stop();
      harness::closeWindow();
    }
  };
  flow_run(SCR_ENGINE);
  harness::stop();
  // A tile's pace: from the first pixel of one step to the first pixel of the next, while the
  // same arrow stays held.
  std::vector<double> tiles;
  for (size_t i = 1; i < starts.size(); i++)
    if (starts[i].dir == starts[i - 1].dir && std::abs(starts[i].px - starts[i - 1].px) == 32)
      tiles.push_back(starts[i].t - starts[i - 1].t);
  char buf[256];
  std::snprintf(buf, sizeof buf, ",\"tiles\":%zu,\"tile_ms_median\":%.1f,\"tile_ms_mean\":%.1f}",
                tiles.size(), median(tiles), mean(tiles));
  printLine(cpuJson("walk") + buf);
  return 0;
}

// ---- one full fight -----------------------------------------------------------------------
// The vagrant's duel, the action key pressed a second after the menu is ready each time.

struct LifeMark {
  double t;
  int hero, enemy;
};
std::vector<LifeMark> lives;
double lastPress = 0;
bool spaceDown = false;

void recordLives() { lives.push_back({nowMs(), perso.pv, ennemi ? ennemi->pv : 0}); }

int modeFight() {
  if (!startReal()) return 1;
  stand(&ile, 14, 14, 3);
  flow_active = true;  // the fight's hand-over back to exploring is only recorded
  ennemi = &vagabond;
  hal_flipHook = recordLives;
  lastPress = nowMs();
  harness::driver = [] {
    if (spaceDown) {
      harness::release(SDLK_SPACE);
      spaceDown = false;
    } else if (nowMs() - lastPress >= 1000) {
      harness::press(SDLK_SPACE);
      spaceDown = true;
      lastPress = nowMs();
    }
  };
  meter.start();
  gameCombat();
  meter.stop();
  const bool ended = flow_next != SCR_NONE;
  flow_active = false;
  flow_next = SCR_NONE;
  harness::stop();
  // A drained point: two flips in a row, each showing one point fewer for the same fighter.
  std::vector<double> points;
  for (size_t i = 2; i < lives.size(); i++) {
    const LifeMark &a = lives[i - 2], &b = lives[i - 1], &c = lives[i];
    const bool heroRun = b.hero == a.hero - 1 && c.hero == b.hero - 1 && a.enemy == c.enemy;
    const bool enemyRun = b.enemy == a.enemy - 1 && c.enemy == b.enemy - 1 && a.hero == c.hero;
    if (heroRun || enemyRun) points.push_back(c.t - b.t);
  }
  char buf[256];
  std::snprintf(buf, sizeof buf,
                ",\"ended\":%s,\"points\":%zu,\"point_ms_median\":%.1f,\"point_ms_mean\":%.1f}",
                ended ? "true" : "false", points.size(), median(points), mean(points));
  printLine(cpuJson("fight") + buf);
  return ended ? 0 : 1;
}

// ---- the intro -----------------------------------------------------------------------------

int modeIntro() {
  if (!startReal()) return 1;
  runFor = 10000;
  harness::driver = [] {
    if (!meter.started) meter.start();
    if (nowMs() - meter.wall0 >= runFor && hal_working) {
      meter.stop();
      harness::closeWindow();
    }
  };
  flow_run(SCR_INTRO);
  harness::stop();
  printLine(cpuJson("intro") + "}");
  return 0;
}

// ---- a scripted walk -----------------------------------------------------------------------
// The hen's walk of the village, three tiles to the right: one flip per pixel.

std::vector<double> henFlips;
int henStartPx = 0;

void recordHen() {
  if ((poule.px - henStartPx) % 32 == 0) henFlips.push_back(nowMs());
}

int modeScriptWalk() {
  if (!startReal()) return 1;
  stand(&village, 10, 11, 0);
  henStartPx = poule.px;
  hal_flipHook = recordHen;
  meter.start();
  dplChara(&poule, 1, 3);
  meter.stop();
  harness::stop();
  // flips at i = 0, 32, 64 and 96: three tiles
  std::vector<double> tiles;
  for (size_t i = 1; i < henFlips.size(); i++) tiles.push_back(henFlips[i] - henFlips[i - 1]);
  char buf[256];
  std::snprintf(buf, sizeof buf, ",\"tiles\":%zu,\"tile_ms_median\":%.1f,\"tile_ms_mean\":%.1f}",
                tiles.size(), median(tiles), mean(tiles));
  printLine(cpuJson("script-walk") + buf);
  return tiles.size() == 3 ? 0 : 1;
}

// ---- start-up ------------------------------------------------------------------------------
// The parent takes the time, starts a copy of this program that runs the real entry, and that
// copy reports the time of its first flip (the title menu) and closes its window.

void reportFirstFlip() {
  static bool done = false;
  if (done) return;
  done = true;
  std::printf("%.3f\n", nowMs());
  std::fflush(stdout);
  harness::closeWindow();
}

int modeStartupChild(char* self) {
  hal_flipHook = reportFirstFlip;
  char* args[] = {self, nullptr};  // the program as a player starts it: no options
  return SDL_main(1, args);
}

int modeStartup(const char* self) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  std::vector<double> times;
  long rss = 0;
  for (int run = 0; run < 7; run++) {
    int fds[2];
    if (pipe(fds) != 0) return 1;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
    posix_spawn_file_actions_addclose(&fa, fds[0]);
    char arg0[] = "talmyr_probe", arg1[] = "startup-child";
    char* args[] = {arg0, arg1, nullptr};
    pid_t pid;
    const double t0 = nowMs();
    if (posix_spawn(&pid, self, &fa, nullptr, args, environ) != 0) return 1;
    posix_spawn_file_actions_destroy(&fa);
    close(fds[1]);
    char buf[64] = {0};
    ssize_t got = 0, n;
    while ((n = read(fds[0], buf + got, sizeof buf - 1 - got)) > 0) got += n;
    close(fds[0]);
    int status = 0;
    rusage ru;
    wait4(pid, &status, 0, &ru);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || got <= 0) return 1;
    times.push_back(std::atof(buf) - t0);
    rss = std::max(rss, ru.ru_maxrss);
  }
  char out[256];
  std::snprintf(out, sizeof out,
                "{\"mode\":\"startup\",\"runs\":%zu,\"startup_ms_median\":%.1f,"
                "\"startup_ms_max\":%.1f,\"rss_kb\":%ld}",
                times.size(), median(times), *std::max_element(times.begin(), times.end()), rss);
  printLine(out);
  return 0;
}

// ---- a scripted game, for its peak memory -------------------------------------------------
// On the virtual clock: the title menu, the intro, the walk into the vagrant's ambush, its
// dialogues and fight, the robbery, the walk to the village door and a walk in the village.

struct Leg {
  smap* map;
  SDLKey arrow;
  int x, y;  // walk with `arrow` until the hero stands here
};
const Leg legs[] = {
    {&ile, SDLK_LEFT, 14, 14},                                 // into the ambush
    {&ile, SDLK_LEFT, 5, 14},                                  // after the robbery, along the shore
    {&ile, SDLK_UP, 5, 13},         {&ile, SDLK_LEFT, 3, 13},  // in front of the village door
    {&village, SDLK_UP, 10, 11},                               // in the village
    {&village, SDLK_RIGHT, 17, 11},
};
constexpr size_t legCount = sizeof legs / sizeof legs[0];
size_t leg = 0;
SDLKey arrowHeld = SDLK_UNKNOWN;
bool reachedEnd = false;

void holdArrow(SDLKey k) {
  if (arrowHeld == k) return;
  if (arrowHeld != SDLK_UNKNOWN) harness::release(arrowHeld);
  if (k != SDLK_UNKNOWN) harness::press(k);
  arrowHeld = k;
}

// A key goes down on one pump and up on the next: a fresh press every other pump, held for the
// whole frame in between (the game compares the held mask too).
void rhythm(SDLKey k, bool& down) {
  if (down)
    harness::release(k);
  else
    harness::press(k);
  down = !down;
}
void actionRhythm() { rhythm(SDLK_SPACE, spaceDown); }
bool returnDown = false;

void autopilot() {
  if (flow_current == SCR_MENU || flow_current == SCR_INTRO) {
    rhythm(SDLK_RETURN, returnDown);
    return;
  }
  if (returnDown) rhythm(SDLK_RETURN, returnDown);
  if (hal_waitMask) {  // a dialogue box
    holdArrow(SDLK_UNKNOWN);
    actionRhythm();
    return;
  }
  if (vagabond.scene == 1) {  // the duel and what follows it: attack, answer
    holdArrow(SDLK_UNKNOWN);
    actionRhythm();
    return;
  }
  if (spaceDown) actionRhythm();  // let go of the action key
  if (leg >= legCount) {
    holdArrow(SDLK_UNKNOWN);
    reachedEnd = true;
    harness::closeWindow();
    return;
  }
  const Leg& l = legs[leg];
  const bool onTile = perso.px % 32 == 0 && perso.py % 32 == 0;
  if (onTile && game.map == l.map && perso.px / 32 == l.x && perso.py / 32 == l.y) {
    holdArrow(SDLK_UNKNOWN);
    leg++;
    return;
  }
  if (leg == 4 && game.map == &ile) {  // facing the village door after the last step: knock
    actionRhythm();
    return;
  }
  if (game.map == l.map) holdArrow(l.arrow);
}

int modeGame() {
  if (!harness::start()) return 1;
  harness::timeLimitMs = 30u * 60u * 1000u;
  harness::driver = autopilot;
  harness::runFromMenu();
  harness::stop();
  char out[256];
  std::snprintf(out, sizeof out,
                "{\"mode\":\"game\",\"completed\":%s,\"legs\":%zu,\"village\":%s,"
                "\"gold\":%d,\"peak_rss_kb\":%ld}",
                reachedEnd ? "true" : "false", leg, game.map == &village ? "true" : "false",
                perso.gold, peakRssKb());
  printLine(out);
  return reachedEnd ? 0 : 1;
}

// ---- a whole game on the virtual clock ----------------------------------------------------
// What the test suite pays for each game the autopilot plays: real and CPU seconds from the
// title menu to the fresh title menu after the victory, averaged over a few start-up clocks.

int modeVirtualGame() {
  constexpr int games = 4;
  double wall = 0, cpu = 0;
  uint32_t played = 0;
  bool won = true;
  for (int k = 0; k < games; k++) {
    const uint32_t clock = 250 + 977 * static_cast<uint32_t>(k);
    if (!harness::start(clock)) return 1;
    autopilot::Options o;
    o.games = 1;
    autopilot::install(o);
    const double w0 = nowMs(), c0 = cpuMs();
    harness::runFromMenu();
    wall += nowMs() - w0;
    cpu += cpuMs() - c0;
    won = won && autopilot::report().bravoAt > 0;
    played += autopilot::report().endAt - clock;
    harness::stop();
  }
  char buf[200];
  std::snprintf(buf, sizeof buf,
                "{\"mode\":\"virtual-game\",\"won\":%s,\"play_s\":%.0f,\"wall_ms\":%.1f,"
                "\"cpu_ms\":%.1f}",
                won ? "true" : "false", played / 1e3 / games, wall / games, cpu / games);
  printLine(buf);
  return won ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "stand") return modeStand();
  if (mode == "walk") return modeWalk();
  if (mode == "fight") return modeFight();
  if (mode == "intro") return modeIntro();
  if (mode == "script-walk") return modeScriptWalk();
  if (mode == "startup") return modeStartup("/proc/self/exe");
  if (mode == "startup-child") return modeStartupChild(argv[0]);
  if (mode == "game") return modeGame();
  if (mode == "virtual-game") return modeVirtualGame();
  std::fprintf(
      stderr, "usage: talmyr_probe stand|walk|fight|intro|script-walk|startup|game|virtual-game\n");
  return 2;
}
