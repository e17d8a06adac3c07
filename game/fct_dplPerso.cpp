// One pixel of the hero's step between two tiles.
#include "globals.h"

void dplPerso() {
  nTick = GpTickCountGet();
  const bool a = perso.px % 8 == 1;
  const bool b = perso.py % 8 == 1;
  if (a != b) perso.frame = perso.frame == 1 ? 0 : 1;
  switch (perso.dir) {
    case 3: perso.px--; break;
    case 1: perso.px++; break;
    case 0: perso.py--; break;
    case 2: perso.py++; break;
    default: break;
  }
  waitSince(nTick, 10);
}
