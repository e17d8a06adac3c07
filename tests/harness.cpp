#include "harness.h"

#include <cstdlib>
#include <cstring>

#include "keep.h"

namespace harness {

std::function<void()> driver;
uint32_t timeLimitMs = 60u * 60u * 1000u;

namespace {

std::vector<Step> pending;
uint32_t closedByLimit = 0;  // the limit that closed the window last

void push(SDLKey k, bool down) {
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
    push(pending.front().key, pending.front().down);
    pending.erase(pending.begin());
  }
  if (driver) driver();
  if (now > timeLimitMs && closedByLimit != timeLimitMs) {  // once for each limit set
    closedByLimit = timeLimitMs;
    closeWindow();
  }
}

}  // namespace

void resetWorld() {
  for (const MapEntry& m : worldMaps) *m.map = smap{};
  game = sgame{};
  for (const CastEntry& c : worldCast) *c.who = chara{};
  for (auto& s : sprites) s = nullptr;
  nbsprites = 0;
  ennemi = nullptr;
  Key = KeyCh = 0;
  nTick = 0;
  std::memset(marche, 0, sizeof marche);
  flow_next = SCR_NONE;
  flow_current = SCR_NONE;
  keep::reset();
}

bool start(uint32_t clockAtStart) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  resetWorld();
  hal_reset();
  hal_useVirtualClock(true, clockAtStart);
  hal_present = false;
  hal_pumpHook = pump;
  pending.clear();
  closedByLimit = 0;
  load_rsc();
  const bool ok = init();
  if (ok) init2();
  return ok;
}

void stop() {
  shutdownAll();
  setLanguage("fr");  // the next start speaks the game's own language unless told otherwise
  driver = nullptr;
  hal_pumpHook = nullptr;
  hal_flipHook = nullptr;
  hal_textHook = nullptr;
  hal_musicHook = nullptr;
  hal_useVirtualClock(false);
  hal_present = true;
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

void press(SDLKey k) { push(k, true); }
void release(SDLKey k) { push(k, false); }
void tap(SDLKey k) {
  push(k, true);
  push(k, false);
}

void releaseAll() {
  for (SDLKey k : {SDLK_SPACE, SDLK_LCTRL, SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_RETURN})
    push(k, false);
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

std::vector<uint16_t> screenPixels(SDL_Surface* s) {
  if (!s) s = Screen;
  std::vector<uint16_t> px;
  if (!s || s->format->BytesPerPixel != 2) return px;
  px.reserve(static_cast<size_t>(s->w) * static_cast<size_t>(s->h));
  for (int y = 0; y < s->h; y++) {
    const auto* row =
        reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(s->pixels) + y * s->pitch);
    px.insert(px.end(), row, row + s->w);
  }
  return px;
}

uint16_t pixel(int x, int y) {
  return static_cast<const uint16_t*>(Screen->pixels)[y * Screen->pitch / 2 + x];
}

}  // namespace harness
