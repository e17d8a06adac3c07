// The title menu.
#include "globals.h"

void gameMenuScreen() {
  int cursor = 0;
  while (flow_running()) {
    GpBitBlt(Screen, 0, 0, 320, 240, pSurf_img_intro);
    affCenteredText(160, "Jouer", cursor == 0 ? 0xFFFF : 0x2321);
    affCenteredText(175, "A propos", cursor == 1 ? 0xFFFF : 0x2321);
    hal_events();
    Key = GpKeyGet();
    KeyCh = GpKeyChanged();
    const bool choose =
        (Key == KEY_A && KeyCh == KEY_A) || (Key == KEY_START && KeyCh == KEY_START);
    if (choose && cursor == 0) {
      gameIntro();
      return;
    }
    if (choose && cursor == 1) {
      about();
      return;
    }
    if (Key == KEY_DOWN && KeyCh == KEY_DOWN && cursor < 1) {
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
