// Small drawing helpers.
#include "globals.h"

void affIcone(int n, int x, int y) {
  GpTransBlt(Screen, x, y, 16, 16, pSurf_sprite_icones, 0, 16 * n, 16, 128, TRANSPARENT_KEY);
}
