// Characters: the registry, placing, drawing and scripted walks.
#include "globals.h"

void initChara(chara* c) {
  if (nbsprites >= MAX_SPRITES) return;
  sprites[nbsprites++] = c;
}

void placeChara(smap* m, chara* c, int x, int y, int dir) {
  c->map = m;
  c->dir = dir;
  c->x = x;
  c->y = y;
  c->px = 32 * x;
  c->py = 32 * y;
}

void affChara(chara* c) {
  GpTransBlt(Screen, c->px - game.camX, c->py - game.camY, 32, 32, c->sprite, 32 * c->frame,
             32 * c->dir, 64, 128, TRANSPARENT_KEY);
}

void dplChara(chara* c, int dir, int n) {
  c->dir = dir;
  for (int i = 0; i <= 32 * n; i++) {
    if (!flow_running()) return;
    nTick = GpTickCountGet();
    affMap();
    switch (dir) {
      case 1: c->px = 32 * c->x + i; break;
      case 3: c->px = 32 * c->x - i; break;
      case 2: c->py = 32 * c->y + i; break;
      case 0: c->py = 32 * c->y - i; break;
      default: break;
    }
    affChara(c);
    if (c != &perso) affChara(&perso);
    affPVbar(&perso, 208);
    affMPbar(&perso, 208);
    affORbar(&perso, 4);
    if (i % 8 == 0) c->frame = c->frame == 0 ? 1 : 0;
    GpFlip();
    waitSince(nTick, 20);
  }
  c->x = c->px / 32;
  c->y = c->py / 32;
  sleep(100);
}
