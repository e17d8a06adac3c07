// Developer tool: renders the game's screens to PNG pictures, headless, from the real code.
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
    harness::saveScreen(outDir + "/" + shotName + ".png");
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
  std::printf("%s/%s.png\n", outDir.c_str(), name.c_str());
}

void place(smap* m, int x, int y, int dir) { harness::placeHero(m, x, y, dir); }

void explore() { flow_run(SCR_ENGINE); }

}  // namespace

int main(int argc, char** argv) {
  outDir = argc > 1 ? argv[1] : ".";
  const SDL_version* v = SDL_Linked_Version();  // which SDL 1.2 draws them
  std::fprintf(stderr, "screens: SDL %d.%d.%d\n", v->major, v->minor, v->patch);
  auto nothing = [] {};
  shoot("title", 2, nothing, [] { flow_run(SCR_MENU); });
  shoot("intro", 120, nothing, [] { flow_run(SCR_INTRO); });
  const std::pair<const char*, smap*> maps[] = {{"ile", &ile},         {"village", &village},
                                                {"maison1", &maison1}, {"maison2", &maison2},
                                                {"maison3", &maison3}, {"entree", &entree},
                                                {"chateau", &chateau}};
  for (auto [name, m] : maps) {
    static smap* target;
    target = m;
    shoot(std::string("explore_") + name, 1, [] {
      openLevel(target);
      gmere.gold = 0;   // no welcome scene over the house
      garde3.y = 12;    // nor the door guard's walk in the castle
    }, explore);
  }
  shoot("village_houses", 1, [] { place(&village, 14, 7, 1); }, explore);
  shoot("chateau_throne", 1, [] { place(&chateau, 10, 5, 0); garde3.y = 12; }, explore);
  shoot("dialogue", 1, [] { place(&maison1, 5, 2, 0); }, explore);
  auto fightGuard = [] {
    flow_active = true;
    ennemi = &garde1;
    gameCombat();
    flow_active = false;
  };
  shoot("combat", 184, [] { openLevel(&entree); }, fightGuard);
  // the magic attack: Down then Space, caught during the drain
  shoot("combat_magic", 195, [] {
    openLevel(&entree);
    harness::schedule({{400, SDLK_DOWN, true}, {420, SDLK_DOWN, false},
                       {440, SDLK_SPACE, true}, {460, SDLK_SPACE, false}});
  }, fightGuard);
  shoot("info", 1, [] { openLevel(&ile); }, [] { flow_run(SCR_INFO); });
  shoot("about", 1, nothing, [] { flow_run(SCR_ABOUT); });
  // a sample page of the font: every printable character, and the game's accents in words
  shoot("font", 1, nothing, [] {
    GpRectFill(Screen, 0, 0, 320, 240, 0xFFFF);
    char line[40];
    int y = 4, n = 0;
    for (int c = 0x20; c <= 0xFF; c++) {
      if (c == 0x7F) c = 0xA0;
      line[n++] = static_cast<char>(c);
      if (n == 32 || c == 0xFF) {
        line[n] = 0;
        GpTextOut(Screen, 8, y, line, 0x0000);
        y += 15;
        n = 0;
      }
    }
    GpTextOut(Screen, 8, y + 8, "\xC9t\xE9 : \xE9 \xE8 \xEA \xEB \xE0 \xE2 \xE7 \xF4 \xFB \xF9 \xEE \xEF", 0x0000);
    GpTextOut(Screen, 8, y + 23, "Cotcot ! Je pr\351f\xE8re largement ma tunique.", 0x0000);
    GpTextOut(Screen, 8, y + 38, "Vous \xEAtes vaincu ! Fuite impossible !", 0xF801);
    GpRectFill(Screen, 0, y + 55, 320, 40, 0x0000);
    GpTextOut(Screen, 8, y + 60, "20/50  10/10  185  Attaque du dragon", 0xFFFF);
    GpTextOut(Screen, 8, y + 75, "Utilise 40 pi\350ces", 0xFFC1);
    GpFlip();
  });
  shoot("victory", 1, nothing, [] { flow_run(SCR_BRAVO); });
  shoot("gameover", 1, nothing, [] { flow_run(SCR_GAMEOVER); });
  return 0;
}
