// The about page.
#include "globals.h"

void about() { flow_run(SCR_ABOUT); }

void aboutScreen() {
  GpBitBlt(Screen, 0, 0, 320, 240, pSurf_img_parch2);
  affCenteredText(75, "Talmyr demo 2'", 0x0000);
  affCenteredText(105, "29/12/04", 0x0000);
  affCenteredText(120, "Port Windows : 10/02/11", 0x0000);
  affCenteredText(150, "par Kessim", 0x0000);
  affCenteredText(180, "talmyr.example.org", 0x0000);
  GpFlip();
  WaitForKey(KEY_START, KEY_A);
  if (hal_working) gameMenu();
}
