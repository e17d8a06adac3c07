// The handheld-style clock: the real one (SDL's ticks and delays) or, for the tests, a virtual
// one that stands still except where the game waits, sleeps or flips; and the flip itself.
#include "fct_gp.h"

#include "endings.h"
#include "present.h"

uint32_t hal_flipCostMs = 1;
bool hal_present = true;

namespace {

bool virtualClock = false;
uint32_t virtualNow = 0;

// A window close waiting in the queue ends every loop at once, even one that does not pump
// (drains, walks, pauses): the player never waits for a scene to finish before the game goes.
// The event stays queued for the next hal_events.
// The window's own events (full screen, resizing) are served here too.
bool quitQueued() {
  if (!hal_working) return true;
  if (present::service() || endings::asked()) hal_working = 0;
  return !hal_working;
}

}  // namespace

uint32_t GpTickCountGet() { return virtualClock ? virtualNow : SDL_GetTicks(); }

void sleep(int ms) {
  if (ms <= 0) return;
  if (virtualClock) {
    virtualNow += static_cast<uint32_t>(ms);
    quitQueued();
    return;
  }
  // As waitSince: the queue is looked at only where a wait is long enough to be noticed; the
  // short rests of every frame end before the next pump anyway.
  const uint32_t t = SDL_GetTicks();
  for (;;) {
    const int32_t left = ms - static_cast<int32_t>(SDL_GetTicks() - t);
    if (left <= 0 || (left > 20 && quitQueued())) return;
    SDL_Delay(static_cast<Uint32>(left < 50 ? left : 50));
  }
}

void waitSince(uint32_t t, int ms) {
  if (virtualClock) {
    int32_t left = ms - static_cast<int32_t>(virtualNow - t);
    if (left > 0) virtualNow += static_cast<uint32_t>(left);
    quitQueued();
    return;
  }
  // Sleep to the deadline rather than spin on the clock: Linux wakes us within a fraction of a
  // millisecond, so the pace stays exact without keeping a core busy.
  for (;;) {
    int32_t left = ms - static_cast<int32_t>(SDL_GetTicks() - t);
    if (left <= 0 || (left > 20 && quitQueued())) return;
    SDL_Delay(static_cast<Uint32>(left > 50 ? 50 : left));
  }
}

void GpFlip() {
  if (hal_present) present::frame();
  if (virtualClock) virtualNow += hal_flipCostMs;
  if (hal_flipHook) hal_flipHook();
}

void hal_useVirtualClock(bool on, uint32_t startMs) {
  virtualClock = on;
  virtualNow = startMs;
}
bool hal_virtualClock() { return virtualClock; }
void hal_advance(uint32_t ms) { virtualNow += ms; }
