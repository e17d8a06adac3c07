// Signals and the exit taken as a window close.
#include "endings.h"

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <initializer_list>

namespace endings {

namespace {

volatile std::sig_atomic_t signalled = 0;
volatile std::sig_atomic_t firstAt = 0;  // seconds on the monotonic clock
void (*keepAtExit)() = nullptr;

// One ending is often said twice at once (timeout and session managers signal the program and
// then its whole group): still one close, the game kept. Asked again later, the player insists,
// and the program ends there.
void onSignal(int sig) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  if (!signalled) {
    signalled = 1;
    firstAt = static_cast<std::sig_atomic_t>(now.tv_sec);
  } else if (now.tv_sec - firstAt >= 2) {
    std::signal(sig, SIG_DFL);
    std::raise(sig);
  }
}

void atExit() {
  if (keepAtExit) keepAtExit();  // a display gone, or any other exit() before the end
}

}  // namespace

void install(void (*keep)()) {
  for (int sig : {SIGHUP, SIGQUIT, SIGINT, SIGTERM}) {
    struct sigaction was {};
    if (sigaction(sig, nullptr, &was) != 0 || was.sa_handler == SIG_IGN) continue;
    struct sigaction now {};
    now.sa_handler = onSignal;
    sigemptyset(&now.sa_mask);
    sigaction(sig, &now, nullptr);
  }
  signalled = 0;
  keepAtExit = keep;
  static bool registered = false;
  if (keep && !registered) registered = std::atexit(atExit) == 0;
}

bool asked() { return signalled != 0; }

void done() { keepAtExit = nullptr; }

}  // namespace endings
