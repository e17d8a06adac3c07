// The hero's information page.
#include "globals.h"

#include <cstdio>

void gameInfo() { flow_run(SCR_INFO); }

void gameInfoScreen() {
  char buf[64];
  GpBitBlt(Screen, 0, 0, 320, 240, pSurf_img_parch2);
  // TRANSLATORS: information page: life points, current/maximum; pad the label with spaces so the
  // numbers start at the 13th character
  std::snprintf(buf, sizeof buf, tr(_("PV          %i/%i")), perso.pv, perso.pvMax);
  GpTextOut(Screen, 50, 75, buf, 0x0000);
  // TRANSLATORS: information page: magic points, current/maximum; same padding rule
  std::snprintf(buf, sizeof buf, tr(_("MANA        %i/%i")), perso.mana, perso.manaMax);
  GpTextOut(Screen, 50, 90, buf, 0x0000);
  // TRANSLATORS: information page: strength; same padding rule
  std::snprintf(buf, sizeof buf, tr(_("FORCE       %i")), perso.force);
  GpTextOut(Screen, 50, 120, buf, 0x0000);
  // TRANSLATORS: information page: resistance to blows; same padding rule
  std::snprintf(buf, sizeof buf, tr(_("RESISTANCE  %i")), perso.resistance);
  GpTextOut(Screen, 50, 135, buf, 0x0000);
  GpFlip();
  WaitForKey(255);
  if (hal_working) gameEngine();
}
