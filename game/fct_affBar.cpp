// The status display: life bar, magic line and gold line.
#include "globals.h"

#include <cstdio>

void affPVbar(chara* c, int x) {
  GpRectFill(Screen, x, 10, 102, 13, 0x0000);
  GpRectFill(Screen, x + 1, 11, 100, 11, 0xF801);
  // A record without a maximum would divide by zero: it simply shows no green.
  if (c->pvMax > 0) GpRectFill(Screen, x + 1, 11, (100 * c->pv) / c->pvMax, 11, 0x07C1);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%i/%i", c->pv, c->pvMax);
  GpTextOut(Screen, x + 18, 9, buf, 0x0000);
}

void affMPbar(chara* c, int x) {
  if (c->manaMax <= 0) return;
  affIcone(3, x, 25);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%i/%i", c->mana, c->manaMax);
  GpTextOut(Screen, x + 18, 25, buf, 0xFFFF);
}

void affORbar(chara* c, int x) {
  affIcone(4, x, 220);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%i", c->gold);
  GpTextOut(Screen, x + 18, 220, buf, 0xFFFF);
}
