// Start-up and shut-down of SDL's subsystems for the game: the display checked, the window
// opened, the pads, SDL_ttf and the audio device. The game opens its font itself.
#include "fct_gp.h"

#include "desktop.h"
#include "pad.h"
#include "present.h"

bool hal_start(const char* title) {
  hal_working = 1;
  // No timer subsystem: nothing here uses SDL's timers, and the classic library's timer thread
  // would wake every millisecond for nothing.
  present::beforeInit();
  if (!desktop::prepare()) return false;
  if (SDL_Init(SDL_INIT_VIDEO) < 0) {
    desktop::explainFailure();
    return false;
  }
  SDL_ShowCursor(SDL_DISABLE);
  if (!present::open()) return false;
  pad::open();  // with no pad, or none that opens, the keyboard plays alone
  present::setTitle(title);
  if (TTF_Init() < 0) return false;
  musicOpen();
  return true;
}

void hal_stop() {
  musicClose();
  TTF_Quit();
  pad::close();
  present::close();
  SDL_Quit();
}
