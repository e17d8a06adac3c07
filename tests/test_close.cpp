// Closing the window from every screen and every wait ends the program at once, on the real clock.
//
// Each case runs in a child process: the game is played on the virtual clock (the purposeful
// player of support_storm.cpp, or a short key script) until the moment the case names; there the
// clock switches to real time and a timer thread closes the window 150 ms later, in the middle of
// whatever the game is doing. The child then shuts down as the program does, and exits through the
// normal exit path so that LeakSanitizer (in sanitizer builds) checks it leaked nothing. The parent
// measures the wall time from the close to the child's exit.
#include <gtest/gtest.h>

#include "harness.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace pilot {
void reset();
void pump(std::mt19937& rng);
void releaseKeys();
bool battleScreen();
extern bool reckless;
}  // namespace pilot

// Every SDL_Quit of the game goes through here (the test is linked with --wrap=SDL_Quit).
static int quitCalls = 0;
extern "C" void __real_SDL_Quit(void);
extern "C" void __wrap_SDL_Quit(void) {
  quitCalls++;
  __real_SDL_Quit();
}

namespace {

using Clock = std::chrono::steady_clock;

struct Case {
  const char* name;
  // Reaching the moment: keys pressed at each pump (on the virtual clock). Empty: the pilot.
  std::function<void()> drive;
  // The moment itself, checked at every pump and after every flip.
  std::function<bool()> atPump, atFlip;
  bool reckless = false;
};

// ---- child side -------------------------------------------------------------------------------

int pipeOut = -1;
bool fired = false;
std::mt19937 rng;
std::vector<SDLKey> down;  // released at the next pump
int flipsInBattle = 0;

void tapNow(SDLKey k) {
  harness::press(k);
  down.push_back(k);
}

// Presses the keys of a script one per pump pair; returns true once all were pressed.
bool script(const std::vector<SDLKey>& keys, size_t& next) {
  if (!down.empty()) {
    for (SDLKey k : down) harness::release(k);
    down.clear();
    return false;
  }
  if (next < keys.size()) {
    tapNow(keys[next++]);
    return false;
  }
  return true;
}

Uint32 closeNow(Uint32, void*) {
  // on SDL's timer thread: only async-safe work and the thread-safe event queue
  (void)!write(pipeOut, "c", 1);
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  return 0;
}

void fire() {
  fired = true;
  for (SDLKey k : down) harness::release(k);
  down.clear();
  pilot::releaseKeys();
  // From here on the real clock: every wait that started on the virtual clock now waits far
  // longer than its length, so only noticing the close can end it.
  hal_useVirtualClock(false);
  SDL_InitSubSystem(SDL_INIT_TIMER);  // the game starts no timer of its own
  SDL_AddTimer(150, closeNow, nullptr);
}

const Case* current = nullptr;

void childPump() {
  if (fired) return;
  if (GpTickCountGet() > 10'000'000u + 4u * 3600u * 1000u) {  // four virtual hours: give up
    (void)!write(pipeOut, "n", 1);
    harness::closeWindow();
    fired = true;
    return;
  }
  if (current->atPump && current->atPump()) {
    fire();
    return;
  }
  if (current->drive)
    current->drive();
  else
    pilot::pump(rng);
}

void childFlip() {
  if (pilot::battleScreen()) flipsInBattle++;
  if (!fired && current->atFlip && current->atFlip()) fire();
}

[[noreturn]] void runChild(const Case& c, int fd) {
  pipeOut = fd;
  current = &c;
  rng.seed(1);
  if (!harness::start()) std::exit(2);
  hal_advance(10'000'000);  // the virtual clock stays ahead of the real one (see fire)
  harness::timeLimitMs = UINT32_MAX;
  pilot::reset();
  pilot::reckless = c.reckless;
  harness::driver = childPump;
  hal_flipHook = childFlip;
  harness::runFromMenu();
  harness::stop();
  char msg[32];
  const int n = std::snprintf(msg, sizeof msg, "q%d", quitCalls);
  (void)!write(fd, msg, static_cast<size_t>(n));
  close(fd);
  std::exit(0);  // the normal exit path: leak checkers run here
}

// ---- the cases --------------------------------------------------------------------------------

bool engineAtRest() { return perso.px % 32 == 0 && perso.py % 32 == 0; }

std::vector<Case> cases() {
  std::vector<Case> v;
  static size_t next;
  static int count;
  next = 0;
  count = 0;
  v.push_back({"title menu", [] {}, [] { return flow_current == SCR_MENU && ++count > 3; }, {}});
  v.push_back({"intro",
               [] { script({SDLK_SPACE}, next); },
               {},
               [] { return flow_current == SCR_INTRO && ++count > 5; }});
  v.push_back({"about page",
               [] { script({SDLK_DOWN, SDLK_RETURN}, next); },
               [] { return flow_current == SCR_ABOUT && hal_waitMask != 0; },
               {}});
  v.push_back({"information page",
               [] {
                 if (flow_current == SCR_MENU || flow_current == SCR_INTRO || engineAtRest())
                   script({SDLK_SPACE, SDLK_RETURN, SDLK_RETURN}, next);
               },
               [] { return flow_current == SCR_INFO && hal_waitMask != 0; },
               {}});
  v.push_back({"exploring, standing",
               [] { script({SDLK_SPACE, SDLK_RETURN}, next); },
               [] { return flow_current == SCR_ENGINE && ++count > 20; },
               {}});
  v.push_back({"exploring, mid-step",
               {},
               {},
               [] { return flow_current == SCR_ENGINE && perso.px % 32 != 0; }});
  v.push_back({"scripted walk", {}, {}, [] { return vagabond.px % 32 != 0; }});
  v.push_back({"dialogue box",
               {},
               [] { return flow_current == SCR_ENGINE && hal_waitMask == KEY_A; },
               {}});
  v.push_back({"combat menu", {}, [] { return pilot::battleScreen(); }, {}});
  v.push_back({"drain", {}, {}, [] { return pilot::battleScreen() && vagabond.pv < 50; }});
  v.push_back({"the opponent's answer",
               {},
               {},
               [] { return pilot::battleScreen() && perso.pv < perso.pvMax; }});
  // "Pas assez de magie !": a spell, then a second one with too little left
  v.push_back({"not enough magic",
               [] {
                 if (pilot::battleScreen())
                   script({SDLK_DOWN, SDLK_SPACE, SDLK_SPACE}, next);
                 else
                   pilot::pump(rng);
               },
               {},
               // the first flip after the last key: the message
               [] { return next == 3 && pilot::battleScreen() && perso.mana == 0; }});
  // "Fuite impossible !": nobody flees the vagrant
  v.push_back({"flight refused",
               [] {
                 if (pilot::battleScreen())
                   script({SDLK_DOWN, SDLK_DOWN, SDLK_SPACE}, next);
                 else
                   pilot::pump(rng);
               },
               {},
               [] { return next == 3 && pilot::battleScreen(); }});
  // "Vous fuyez comme un lache !": at the gate, with the grandmother's coins
  v.push_back({"flight",
               [] {
                 if (pilot::battleScreen() && ennemi == &garde1)
                   script({SDLK_DOWN, SDLK_DOWN, SDLK_SPACE}, next);
                 else
                   pilot::pump(rng);
               },
               {},
               [] { return ennemi == &garde1 && next == 3 && pilot::battleScreen(); }});
  // "Vous etes vaincu !": the flip after the drain that emptied the hero
  v.push_back({"defeat", {}, {}, [] {
                 return pilot::battleScreen() && perso.pv == 0 && ++count == 2;
               }});
  // "Vous remportez la victoire !": beaten is set just before the message
  v.push_back({"victory", {}, {}, [] { return ennemi && ennemi->beaten && pilot::battleScreen(); }});
  v.push_back({"ending's flash", {}, {}, [] {
                 return boss.beaten == 1 && harness::pixel(0, 0) == 0xFFFF &&
                        harness::pixel(319, 239) == 0xFFFF && harness::pixel(160, 120) == 0xFFFF;
               }});
  v.push_back({"victory page", {}, [] { return flow_current == SCR_BRAVO && hal_waitMask; }, {}});
  Case over{"game-over page", {}, [] { return flow_current == SCR_GAMEOVER && hal_waitMask; }, {}};
  over.reckless = true;
  v.push_back(over);
  return v;
}

// ---- parent side ------------------------------------------------------------------------------

struct Outcome {
  bool reached = false, closed = false;
  double closeToExitMs = -1;
  int quits = -1;
  int status = -1;
};

Outcome runCase(const Case& c) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    runChild(c, fds[1]);
  }
  close(fds[1]);
  Outcome o;
  std::string got;
  Clock::time_point closedAt;
  // a minute to come to the moment, then five seconds from the close on
  auto deadline = Clock::now() + std::chrono::seconds(60);
  bool ended = false;  // the child closed its end of the pipe: it is exiting
  for (;;) {
    pollfd p{fds[0], POLLIN, 0};
    const int left = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
    if (left <= 0 || poll(&p, 1, left) <= 0) break;
    char buf[64];
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n <= 0) {
      ended = true;
      break;
    }
    for (ssize_t i = 0; i < n; i++) {
      if (buf[i] == 'c' && !o.closed) {
        o.closed = true;
        closedAt = Clock::now();
        deadline = closedAt + std::chrono::seconds(5);
      }
    }
    got.append(buf, static_cast<size_t>(n));
  }
  if (!ended) kill(pid, SIGKILL);  // it hangs
  int status = 0;
  waitpid(pid, &status, 0);
  if (o.closed)
    o.closeToExitMs = std::chrono::duration<double, std::milli>(Clock::now() - closedAt).count();
  close(fds[0]);
  o.reached = got.find('n') == std::string::npos && o.closed;
  const size_t q = got.find('q');
  if (q != std::string::npos) o.quits = std::atoi(got.c_str() + q + 1);
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return o;
}

TEST(Close, EveryScreenAndEveryWaitEndsTheProgramWithinTwoSeconds) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const Outcome o = runCase(c);
    std::printf("close: %-24s %s, exit %d, SDL_Quit x%d, %.0f ms from the close to the end\n",
                c.name, o.reached ? "reached" : "NOT REACHED", o.status, o.quits,
                o.closeToExitMs);
    EXPECT_TRUE(o.reached) << "the game never came to this moment";
    EXPECT_EQ(o.status, 0) << "the child failed (a leak report or a crash is above)";
    EXPECT_EQ(o.quits, 1);
    EXPECT_GE(o.closeToExitMs, 0);
    EXPECT_LT(o.closeToExitMs, 2000);
  }
}

}  // namespace
