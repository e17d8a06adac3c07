// The screens' flow: each screen names the next one as it ends, and flow_run runs them in turn.
#include "globals.h"

ScreenId flow_next = SCR_NONE;
ScreenId flow_current = SCR_NONE;

bool flow_active = false;

namespace {
void runScreen(ScreenId s);
}  // namespace

void flow_handOver(ScreenId s) { flow_next = s; }

void flow_run(ScreenId first) {
  if (flow_active) {
    flow_handOver(first);
    return;
  }
  flow_active = true;
  ScreenId s = first;
  while (hal_working) {
    flow_next = SCR_NONE;
    flow_current = s;
    runScreen(s);
    // A screen ends by naming the next one; one that merely stops (the window closing) ends all.
    s = flow_next != SCR_NONE ? flow_next : SCR_MENU;
  }
  flow_next = SCR_NONE;
  flow_current = SCR_NONE;
  flow_active = false;
}

// The title menu is where the program's life is spent: called by the entry, it runs the screen
// loop until the window is closed; called from inside a screen, it hands over to a fresh menu.
void gameMenu() { flow_run(SCR_MENU); }

// Screen bodies live in their own modules.
void gameMenuScreen();
void gameIntroScreen();
void gameEngineScreen();
void gameInfoScreen();
void aboutScreen();
void bravoScreen();
void gameOverScreen();

namespace {
void runScreen(ScreenId s) {
  switch (s) {
    case SCR_MENU: gameMenuScreen(); break;
    case SCR_INTRO: gameIntroScreen(); break;
    case SCR_ENGINE: gameEngineScreen(); break;
    case SCR_INFO: gameInfoScreen(); break;
    case SCR_ABOUT: aboutScreen(); break;
    case SCR_BRAVO: bravoScreen(); break;
    case SCR_GAMEOVER: gameOverScreen(); break;
    case SCR_NONE: break;
  }
}
}  // namespace
