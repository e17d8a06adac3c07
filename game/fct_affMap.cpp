// Drawing the current map and the characters standing on it; the camera follows the hero.
#include "globals.h"

void affMap() {
  if (!game.tiles) return;
  const int w = game.w, h = game.h;
  if (perso.px <= 144)
    game.camX = 0;
  else if (perso.px >= 32 * (w - 5) - 16)
    game.camX = 32 * (w - 10);
  else
    game.camX = perso.px - 144;
  if (perso.py <= 104)
    game.camY = 0;
  else if (perso.py >= 32 * h - 136)
    game.camY = 32 * h - 240;
  else
    game.camY = perso.py - 104;

  const int tx = game.camX / 32, ty = game.camY / 32;
  const int ox = game.camX % 32, oy = game.camY % 32;
  for (int c = 0; c <= 10; c++) {
    for (int r = 0; r <= 8; r++) {
      const int gx = tx + c, gy = ty + r;
      if (gx < 0 || gy < 0 || gx >= w || gy >= h) continue;  // wholly off the screen
      const int t = game.tiles[gy * w + gx];
      GpBitBlt(Screen, 32 * c - ox, 32 * r - oy, 32, 32, pSurf_tiles_decor, 0, 32 * (t - 1), 32,
               8160);
    }
  }
  for (int i = 0; i < nbsprites; i++)
    if (sprites[i] && sprites[i]->map == game.map) affChara(sprites[i]);
}
