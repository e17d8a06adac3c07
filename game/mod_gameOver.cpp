// The game-over page: the world is set up again and a fresh title menu follows.
#include "globals.h"
#include "keep.h"

void gameOver() { flow_run(SCR_GAMEOVER); }

void gameOverScreen() {
  keep::forget();  // the game is over: nothing to continue
  musicHalt();
  GpBitBlt(Screen, 0, 0, 320, 240, pSurf_img_gameover);
  GpFlip();
  WaitForKey(255);
  init2();
  gameMenu();
}
