// The pictures the real window must show, drawn headless on the virtual clock.
// usage: xwindow_reference OUTDIR
//
// Plays the same keys as tests/test_xwindow.py plays on the real window under Xvfb, and saves
// Screen at the moments that test captures: the title menu, the hero standing on the island's
// landing tile, the information page, the hero back on that tile once the page is closed, and
// the first two lines of the vagrant's ambush three tiles to the left. Each moment is a state
// that waits (a menu, a page, a box) or stands still, so its picture does not depend on timing.
#include "harness.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string outDir;

// The moments, in the order they come.
enum Stage { TITLE, INTRO, EXPLORE, INFO, BACK, TALK1, TALK2, DONE };
const char* const names[] = {"title", nullptr, "explore", "info", "back", "talk1", "talk2"};
// What is pressed once the moment is seen (held 300 ms, except Left: held until the next moment).
const SDLKey keys[] = {SDLK_RETURN, SDLK_RETURN, SDLK_RETURN, SDLK_SPACE, SDLK_LEFT, SDLK_SPACE};
constexpr uint32_t holdMs = 300;
constexpr uint32_t pauseMs = 500;  // between a moment and its key, as the real run waits

Stage stage = TITLE;
bool due = false;            // the current stage's moment was seen: its key is to be pressed
uint32_t seenAt = 0;
SDLKey held = SDLK_UNKNOWN;
uint32_t heldSince = 0;
bool failed = false;

bool standingOnLanding() {
  return flow_current == SCR_ENGINE && game.map == &ile && perso.px == 17 * 32 &&
         perso.py == 14 * 32;
}

bool says(const char* line) {
  return dlg_lastSpeaker == &vagabond && dlg_lastText &&
         std::strcmp(dlg_lastText, line) == 0;
}

bool reached() {
  switch (stage) {
    case TITLE: return flow_current == SCR_MENU;
    case INTRO: return flow_current == SCR_INTRO;
    case EXPLORE:
    case BACK: return standingOnLanding();
    case INFO: return flow_current == SCR_INFO;
    case TALK1: return says("Tu tombes bien...");
    case TALK2: return says("Je suis \xE0 sec !");
    case DONE: return false;
  }
  return false;
}

// Every flip: the first picture of a moment is saved, and its key is due.
void onFlip() {
  if (stage == DONE || due || !reached()) return;
  if (names[stage]) harness::saveScreen(outDir + "/" + names[stage] + ".png");
  if (stage == TALK1) {  // the box stops the walk: Left goes up, as in the real run
    harness::release(SDLK_LEFT);
    held = SDLK_UNKNOWN;
  }
  if (stage == TALK2) {
    stage = DONE;
    harness::closeWindow();
    return;
  }
  due = true;
  seenAt = GpTickCountGet();
}

// Every pump: keys go down a pause after their moment and come up after holdMs.
void drive() {
  const uint32_t now = GpTickCountGet();
  if (held != SDLK_UNKNOWN && held != SDLK_LEFT && now - heldSince >= holdMs) {
    harness::release(held);
    held = SDLK_UNKNOWN;
  }
  if (now > 120000 && !failed) {
    std::fprintf(stderr, "xwindow_reference: stuck before moment %d\n", static_cast<int>(stage));
    failed = true;
    harness::closeWindow();
    return;
  }
  if (due && held == SDLK_UNKNOWN && now - seenAt >= pauseMs) {
    held = keys[stage];
    heldSince = now;
    harness::press(held);
    due = false;
    stage = static_cast<Stage>(stage + 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  outDir = argc > 1 ? argv[1] : ".";
  if (!harness::start()) {
    std::fprintf(stderr, "xwindow_reference: cannot start\n");
    return 1;
  }
  harness::driver = drive;
  hal_flipHook = onFlip;
  harness::runFromMenu();
  harness::stop();
  if (failed || stage != DONE) return 1;
  for (const char* n : names)
    if (n) std::printf("%s/%s.png\n", outDir.c_str(), n);
  return 0;
}
