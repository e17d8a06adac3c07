// Signals and the exit taken as a window close.
#include "endings.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace endings {

namespace {

volatile std::sig_atomic_t signalled = 0;
void (*keepAtExit)() = nullptr;

void onSignal(int) { signalled = 1; }

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
    now.sa_flags = SA_RESETHAND;  // a second one is not ours: the program ends
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
