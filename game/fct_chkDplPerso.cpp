// The hero's moves on whole tiles, and the table of walkable tiles.
#include "globals.h"

int32_t marche[256];

void initMarche() {
  static const int walkable[] = {
      1,   17,  20,  21,  28,  29,  40,  41,  42,  43,  44,  45,  51,  53,  55,  56,  62,
      63,  65,  72,  80,  81,  88,  89,  94,  97,  99,  100, 103, 117, 140, 141, 144, 165,
      166, 167, 168, 169, 170, 171, 172, 181, 183, 185, 186, 187, 188, 191, 192, 200, 203,
      204, 205, 206, 207, 208, 209, 210, 211, 212, 213, 214, 215, 218, 219, 244};
  for (int t : walkable) marche[t] = 1;
}

void chkDplPerso() {
  int nx = perso.x, ny = perso.y;
  bool asked = true, freeTile = true;
  if (Key == KEY_LEFT) {
    perso.dir = 3;
    nx--;
  } else if (Key == KEY_RIGHT) {
    perso.dir = 1;
    nx++;
  } else if (Key == KEY_UP) {
    perso.dir = 0;
    ny--;
  } else if (Key == KEY_DOWN) {
    perso.dir = 2;
    ny++;
  } else if (Key == KEY_START && KeyCh == KEY_START) {
    gameInfo();
    return;  // the information page takes over
  } else {
    asked = false;
  }
  for (int i = 0; i < nbsprites; i++) {
    const chara* c = sprites[i];
    if (c && c->map == game.map && c->x == nx && c->y == ny) freeTile = false;
  }
  if (ny < 0 || ny >= game.h) return;
  if (nx < 0 || nx >= game.w) return;
  if (!asked) return;
  const int t = game.tiles[ny * game.w + nx];
  if (t < 0 || t > 255 || marche[t] != 1) return;
  if (!freeTile) return;
  if (perso.x < nx)
    perso.px++;
  else if (perso.x > nx)
    perso.px--;
  else if (perso.y < ny)
    perso.py++;
  else if (perso.y > ny)
    perso.py--;
}
