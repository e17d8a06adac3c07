// The window-close and bad-environment tests' purposeful player: the autopilot, playing on from
// anywhere.
#include <random>

#include "support_autopilot.h"

namespace pilot {

bool reckless = false;  // faces the master carelessly, and may lose to him
static bool fresh = true;

void reset() { reckless = false, fresh = true; }
void releaseKeys() { autopilot::releaseKeys(); }
bool battleScreen() { return autopilot::combatOnScreen(); }

// The first pump after reset() only starts the pilot: the title menu shows once before any key.
void pump(std::mt19937&) {
  if (!fresh) return autopilot::pump();
  autopilot::Options o;
  o.games = 0, o.loseToMaster = reckless, fresh = false;
  autopilot::begin(o);
}

}  // namespace pilot
