#include "harness.h"

#include <cstdlib>
#include <cstring>

namespace harness {

std::function<void()> driver;
uint32_t timeLimitMs = 60u * 60u * 1000u;

namespace {

std::vector<Step> pending;
bool closedByLimit = false;

void pushKey(SDLKey k, bool down) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = k;
  SDL_PushEvent(&e);
}

void pump() {
  const uint32_t now = GpTickCountGet();
  while (!pending.empty() && pending.front().at <= now) {
    pushKey(pending.front().key, pending.front().down);
    pending.erase(pending.begin());
  }
  if (driver) driver();
  if (now > timeLimitMs && !closedByLimit) {
    closedByLimit = true;
    closeWindow();
  }
}

}  // namespace

void resetWorld() {
  for (smap* m : {&ile, &village, &maison1, &maison2, &maison3, &entree, &chateau}) *m = smap{};
  game = sgame{};
  for (chara* c : {&perso, &vagabond, &gmere, &gmere2, &gpere, &femme1, &femme2, &pgarcon, &pfille,
                   &poule, &garde1, &garde2, &garde3, &garde4, &garde5, &garde6, &garde7, &roi,
                   &reine, &princesse, &boss})
    *c = chara{};
  for (auto& s : sprites) s = nullptr;
  nbsprites = 0;
  ennemi = nullptr;
  Key = KeyCh = 0;
  nTick = 0;
  std::memset(marche, 0, sizeof marche);
  flow_next = SCR_NONE;
  flow_current = SCR_NONE;
}

bool start(uint32_t clockAtStart) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  resetWorld();
  hal_reset();
  hal_useVirtualClock(true, clockAtStart);
  hal_pumpHook = pump;
  pending.clear();
  closedByLimit = false;
  load_rsc();
  const bool ok = init();
  if (ok) init2();
  return ok;
}

void stop() {
  shutdownAll();
  driver = nullptr;
  hal_pumpHook = nullptr;
  hal_flipHook = nullptr;
  hal_useVirtualClock(false);
  pending.clear();
}

void placeHero(smap* m, int x, int y, int dir) {
  openLevel(m);
  perso.x = x;
  perso.y = y;
  perso.px = 32 * x;
  perso.py = 32 * y;
  perso.dir = dir;
}

void press(SDLKey k) { pushKey(k, true); }
void release(SDLKey k) { pushKey(k, false); }
void tap(SDLKey k) {
  pushKey(k, true);
  pushKey(k, false);
}

void releaseAll() {
  for (SDLKey k : {SDLK_SPACE, SDLK_LCTRL, SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_RETURN})
    pushKey(k, false);
  auto d = driver;
  driver = nullptr;
  hal_events();
  driver = d;
}

void closeWindow() {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
}

void runFromMenu() { gameMenu(); }

void schedule(const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    auto it = pending.begin();
    while (it != pending.end() && it->at <= s.at) ++it;
    pending.insert(it, s);
  }
}

void saveScreen(const std::string& path) {
  if (Screen) SDL_SaveBMP(Screen, path.c_str());
}

uint16_t pixel(int x, int y) {
  return static_cast<const uint16_t*>(Screen->pixels)[y * Screen->pitch / 2 + x];
}

}  // namespace harness
