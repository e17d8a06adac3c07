// The scrolling story that leads into the game, and centred text.
#include "globals.h"

void affCenteredText(int y, const char* text, int colour) {
  text = tr(text);  // in the language of the run
  const int w = GpTextWidth(text);
  GpTextOut(Screen, (320 - w) / 2, y, text, static_cast<unsigned short>(colour & 0xFFFF));
}

namespace {

const char* const story[] = {
    "Sur une petite \xEEle presque",
    "d\xE9serte, vivent humblement",
    "quelques paysans. A quelques",
    "lieues de leur village se trouve",
    "un ch\xE2teau habit\xE9 par le roi et",
    "la reine de l'ile, tr\xE8s",
    "respect\xE9s par les habitants du",
    "village. Cela faisait plusieurs",
    "mois que vous n'aviez plus de",
    "nouvelles d'eux quand, r\351cemment,",
    "une lettre vous parvint afin de",
    "vous demander d'urgence votre",
    "aide. Curieux de conna\xEEtre le",
    "motif de cet appel et desireux",
    "d'apporter votre aide \xE0 vos amis,",
    "vous partez sur le champ \xE0 bord",
    "d'un navire.",
    "Apr\xE8s de longues heures de",
    "voyage, vous y arrivez enfin...",
};
constexpr int storyLines = sizeof story / sizeof story[0];

void startGame() {
  openLevel(&ile);
  gameEngine();
}

}  // namespace

void gameIntro() { flow_run(SCR_INTRO); }

void gameIntroScreen() {
  int top = 225;
  while (top > -15 * storyLines && flow_running()) {
    hal_events();
    Key = GpKeyGet();
    KeyCh = GpKeyChanged();
    nTick = GpTickCountGet();
    GpRectFill(Screen, 0, 0, 320, 240, 0x0000);
    for (int n = 0; n < storyLines; n++) {
      const int y = top + 15 * n;
      if (y > -15 && y < 240) affCenteredText(y, story[n], 0xFFFF);  // off-screen lines cost nothing
    }
    GpFlip();
    if (Key & KEY_DOWN)
      top -= 5;
    else if (Key & KEY_UP)
      top += 5;
    if (Key != KEY_START && KeyCh != KEY_START) waitSince(nTick, 125);
    if (Key == KEY_START && KeyCh == KEY_START) {
      startGame();
      return;
    }
    sleep(10);
    top -= 1;
  }
  if (flow_running()) startGame();
}
