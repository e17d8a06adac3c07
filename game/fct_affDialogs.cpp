// One-line dialogue boxes drawn over the exploration view; each waits for the action key. The
// script speaks French: each line is shown in the language of the run.
#include "globals.h"

void affView() {
  affMap();
  affChara(&perso);
  affPVbar(&perso, 208);
  affMPbar(&perso, 208);
  affORbar(&perso, 4);
}

const char* dlg_lastText = nullptr;  // test hook: the latest box's line and speaker
const chara* dlg_lastSpeaker = nullptr;

void affText(const char* text) {
  if (!flow_running()) return;
  text = tr(text);
  dlg_lastText = text;
  dlg_lastSpeaker = nullptr;
  const int w = GpTextWidth(text);
  const int x = (320 - w) / 2;
  affView();
  GpRectFill(Screen, x - 10, 180, w + 20, 35, 0xFFFF);
  GpRectDraw(Screen, x - 10, 180, x + w + 10, 215, 0x0000);
  GpTextOut(Screen, x, 190, text, 0x0000);
  affIcone(5, x + w, 205);
  GpFlip();
  WaitForKey(KEY_A);
}

void affTextPlus(const char* text, chara* speaker) {
  if (!flow_running()) return;
  text = tr(text);
  dlg_lastText = text;
  dlg_lastSpeaker = speaker;
  const int w = GpTextWidth(text);
  const int x = (320 - w) / 2;
  affView();
  GpRectFill(Screen, x - 10, 180, w + 44, 35, 0xFFFF);
  GpRectDraw(Screen, x - 10, 180, x + w + 34, 215, 0x0000);
  GpTransBlt(Screen, x - 5, 185, 24, 24, pSurf_icons_faceset, 0, 24 * speaker->face, 24, 360,
             TRANSPARENT_KEY);
  GpTextOut(Screen, x + 24, 190, text, 0x0000);
  affIcone(5, x + w + 24, 205);
  GpFlip();
  WaitForKey(KEY_A);
}
