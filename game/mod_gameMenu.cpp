// The title menu: "Continuer" first when a game is kept, then "Jouer" and "A propos".
#include "globals.h"
#include "keep.h"

void gameMenuScreen() {
  enum Entry { CONTINUE, PLAY, ABOUT };
  const bool kept = keep::available();
  const Entry all[] = {CONTINUE, PLAY, ABOUT};
  const Entry* entries = kept ? all : all + 1;
  const int count = kept ? 3 : 2;
  // without a kept game the menu stands where it always stood; three entries fit in the same band
  // a little closer together
  const int top = kept ? 150 : 160, step = kept ? 14 : 15;
  static const char* const names[] = {
      // TRANSLATORS: title menu, first entry when a game is kept: carry on with it
      _("Continuer"),
      // TRANSLATORS: title menu, entry: start a new game
      _("Jouer"),
      // TRANSLATORS: title menu, last entry: show the about page
      _("A propos")};
  int cursor = 0;
  while (flow_running()) {
    GpBitBlt(Screen, 0, 0, 320, 240, pSurf_img_intro);
    for (int i = 0; i < count; i++)
      affCenteredText(top + step * i, names[entries[i]], cursor == i ? 0xFFFF : 0x2321);
    hal_events();
    Key = GpKeyGet();
    KeyCh = GpKeyChanged();
    const bool choose =
        (Key == KEY_A && KeyCh == KEY_A) || (Key == KEY_START && KeyCh == KEY_START);
    if (choose && entries[cursor] == CONTINUE) {
      keep::resume();
      gameEngine();
      return;
    }
    if (choose && entries[cursor] == PLAY) {
      gameIntro();
      return;
    }
    if (choose && entries[cursor] == ABOUT) {
      about();
      return;
    }
    if (Key == KEY_DOWN && KeyCh == KEY_DOWN && cursor < count - 1) {
      cursor++;
      sleep(100);
    } else if (Key == KEY_UP && KeyCh == KEY_UP && cursor > 0) {
      cursor--;
      sleep(100);
    }
    GpFlip();
    sleep(10);
  }
}
