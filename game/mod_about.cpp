// The about page.
#include "globals.h"

void about() { flow_run(SCR_ABOUT); }

void aboutScreen() {
  GpBitBlt(Screen, 0, 0, 320, 240, pSurf_img_parch2);
  // TRANSLATORS: the game's title, on the about page (a name: kept as it is unless a language
  // writes names otherwise)
  affCenteredText(75, _("Talmyr demo 2'"), 0x0000);
  // TRANSLATORS: about page: the date of the first version, day/month/year (write it as dates are
  // written in the language)
  affCenteredText(105, _("29/12/04"), 0x0000);
  // TRANSLATORS: about page: the date of the Windows port (keep the date as it is)
  affCenteredText(120, _("Port Windows : 10/02/11"), 0x0000);
  // TRANSLATORS: about page: the author's credit
  affCenteredText(150, _("par Kessim"), 0x0000);
  // TRANSLATORS: about page: the author's web address
  affCenteredText(180, _("talmyr.example.org"), 0x0000);
  GpFlip();
  WaitForKey(KEY_START, KEY_A);
  if (hal_working) gameMenu();
}
