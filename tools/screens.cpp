// Developer tool: renders the game's screens to BMP pictures, headless, from the real code.
// usage: screens OUTDIR
#include "harness.h"

#include <cstdio>
#include <functional>
#include <string>

namespace {

std::string outDir;
std::string shotName;
int shotAt = 0;
int flips = 0;

void onFlip() {
  if (++flips == shotAt) {
    harness::saveScreen(outDir + "/" + shotName + ".bmp");
    harness::closeWindow();
  }
}

// Starts a fresh game, lets `setup` put the world where the picture wants it, then runs `play`
// and keeps its flip number `at`.
void shoot(const std::string& name, int at, const std::function<void()>& setup,
           const std::function<void()>& play) {
  if (!harness::start()) {
    std::fprintf(stderr, "screens: cannot start\n");
    return;
  }
  shotName = name;
  shotAt = at;
  flips = 0;
  hal_flipHook = onFlip;
  setup();
  play();
  harness::stop();
  std::printf("%s/%s.bmp\n", outDir.c_str(), name.c_str());
}

void place(smap* m, int x, int y, int dir) {
  openLevel(m);
  perso.x = x;
  perso.y = y;
  perso.px = 32 * x;
  perso.py = 32 * y;
  perso.dir = dir;
}

void explore() { flow_run(SCR_ENGINE); }

}  // namespace

int main(int argc, char** argv) {
  outDir = argc > 1 ? argv[1] : ".";
  auto nothing = [] {};
  shoot("title", 2, nothing, [] { flow_run(SCR_MENU); });
  shoot("intro", 120, nothing, [] { flow_run(SCR_INTRO); });
  shoot("island", 1, [] { openLevel(&ile); }, explore);
  shoot("island_pond", 1, [] { place(&ile, 12, 8, 2); }, explore);
  shoot("village", 1, [] { place(&village, 9, 9, 0); }, explore);
  shoot("village_houses", 1, [] { place(&village, 14, 7, 1); }, explore);
  shoot("maison1", 1, [] { place(&maison1, 4, 4, 0); gmere.gold = 0; }, explore);
  shoot("maison2", 1, [] { place(&maison2, 4, 4, 0); }, explore);
  shoot("maison3", 1, [] { place(&maison3, 4, 4, 0); }, explore);
  shoot("entree", 1, [] { place(&entree, 10, 8, 0); }, explore);
  shoot("chateau", 1, [] { place(&chateau, 10, 7, 0); garde3.y = 12; }, explore);
  shoot("chateau_throne", 1, [] { place(&chateau, 10, 5, 0); garde3.y = 12; }, explore);
  shoot("dialogue", 1, [] { place(&maison1, 5, 2, 0); }, explore);
  shoot("combat", 184, [] { openLevel(&entree); }, [] {
    flow_active = true;
    ennemi = &garde1;
    gameCombat();
    flow_active = false;
  });
  shoot("info", 1, [] { openLevel(&ile); }, [] { flow_run(SCR_INFO); });
  shoot("about", 1, nothing, [] { flow_run(SCR_ABOUT); });
  shoot("bravo", 1, nothing, [] { flow_run(SCR_BRAVO); });
  shoot("gameover", 1, nothing, [] { flow_run(SCR_GAMEOVER); });
  return 0;
}
