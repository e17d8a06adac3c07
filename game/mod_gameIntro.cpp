// The scrolling story that leads into the game, and centred text.
#include "globals.h"

void affCenteredText(int y, const char* text, int colour) {
  text = tr(text);  // in the language of the run
  const int w = GpTextWidth(text);
  GpTextOut(Screen, (320 - w) / 2, y, text, static_cast<unsigned short>(colour & 0xFFFF));
}

namespace {

const char* const story[] = {
    // TRANSLATORS: intro, line 1 of 19 (the 19 lines scroll up as one text: a translation may break
    // the story differently, but keep 19 one-line entries in order)
    _("Sur une petite île presque"),
    // TRANSLATORS: intro, line 2 of 19
    _("déserte, vivent humblement"),
    // TRANSLATORS: intro, line 3 of 19
    _("quelques paysans. A quelques"),
    // TRANSLATORS: intro, line 4 of 19
    _("lieues de leur village se trouve"),
    // TRANSLATORS: intro, line 5 of 19
    _("un château habité par le roi et"),
    // TRANSLATORS: intro, line 6 of 19
    _("la reine de l'ile, très"),
    // TRANSLATORS: intro, line 7 of 19
    _("respectés par les habitants du"),
    // TRANSLATORS: intro, line 8 of 19
    _("village. Cela faisait plusieurs"),
    // TRANSLATORS: intro, line 9 of 19
    _("mois que vous n'aviez plus de"),
    // TRANSLATORS: intro, line 10 of 19
    _("nouvelles d'eux quand, récemment,"),
    // TRANSLATORS: intro, line 11 of 19
    _("une lettre vous parvint afin de"),
    // TRANSLATORS: intro, line 12 of 19
    _("vous demander d'urgence votre"),
    // TRANSLATORS: intro, line 13 of 19
    _("aide. Curieux de connaître le"),
    // TRANSLATORS: intro, line 14 of 19
    _("motif de cet appel et desireux"),
    // TRANSLATORS: intro, line 15 of 19
    _("d'apporter votre aide à vos amis,"),
    // TRANSLATORS: intro, line 16 of 19
    _("vous partez sur le champ à bord"),
    // TRANSLATORS: intro, line 17 of 19
    _("d'un navire."),
    // TRANSLATORS: intro, line 18 of 19
    _("Après de longues heures de"),
    // TRANSLATORS: intro, line 19 of 19
    _("voyage, vous y arrivez enfin..."),
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
      if (y > -15 && y < 240)
        affCenteredText(y, story[n], 0xFFFF);  // off-screen lines cost nothing
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
