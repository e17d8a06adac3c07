// Switching the current map.
#include "globals.h"

void openLevel(smap* m) {
  if (game.tiles) {  // remember where the hero left the map he is leaving
    game.map->lastX = perso.x;
    game.map->lastY = perso.y;
  }
  game.map = m;
  game.tiles = m->tiles;
  game.w = m->w;
  game.h = m->h;
  if (m->lastX != 0 && m->lastY != 0) {
    perso.x = m->lastX;
    perso.y = m->lastY;
  } else {
    perso.x = m->startX;
    perso.y = m->startY;
  }
  perso.px = 32 * perso.x;
  perso.py = 32 * perso.y;
}
