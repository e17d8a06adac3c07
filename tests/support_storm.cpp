// The purposeful player as the window-close and bad-environment tests know it: the autopilot,
// playing on from wherever it is handed control (support_autopilot.h).
#include "support_autopilot.h"

#include <random>

namespace pilot {

bool reckless = false;  // faces the master carelessly, and may lose to him

namespace {
bool fresh = true;
}

void reset() {
  reckless = false;
  fresh = true;
}

// The first pump after reset() only starts the pilot (reckless is set by then): the title menu
// shows once before the first key, as the bad-environment test that looks at it expects.
void pump(std::mt19937&) {
  if (fresh) {
    autopilot::Options o;
    o.games = 0;
    o.loseToMaster = reckless;
    autopilot::begin(o);
    fresh = false;
    return;
  }
  autopilot::pump();
}

void releaseKeys() { autopilot::releaseKeys(); }

bool battleScreen() { return autopilot::combatOnScreen(); }

}  // namespace pilot
