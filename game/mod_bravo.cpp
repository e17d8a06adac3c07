// The victory page: the world is set up again and a fresh title menu follows.
#include "globals.h"
#include "keep.h"

void bravo() { flow_run(SCR_BRAVO); }

void bravoScreen() {
  keep::forget();  // the game is over: nothing to continue
  musicHalt();
  GpBitBlt(Screen, 0, 0, 320, 240, translatedPicture(pSurf_img_bravo));
  GpFlip();
  WaitForKey(255);
  init2();
  gameMenu();
}
