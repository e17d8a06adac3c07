// The page: Screen shown in the page's canvas. The canvas holds the 320x240 picture itself; the
// page magnifies it (a whole number, sharp) and asks the browser for full screen, so nothing
// here is the window's business but sending each changed frame.
#include "present.h"

#include "fct_gp.h"
#include "volume.h"

#include <emscripten.h>

#include <cstring>
#include <vector>

// Puts the frame (RGBA, W x H) on the canvas (library_talmyr.js).
extern "C" void talmyr_show(const void* rgba, int w, int h);
// Tells the page where to read how long the picture has stood still and what a wait for a key
// waits for: while the game only waits for the player, the page lets its waits run long
// (library_talmyr.js, talmyrRest).
extern "C" void talmyr_rest_watch(const int* still, const int* waitMask);
// The game has looked at its keys: a key pressed after this is news to it.
extern "C" void talmyr_rest_looked();

namespace present {

namespace {

std::vector<Uint16> shown;  // the frame on the canvas now
std::vector<Uint32> rgba;   // the same, as the canvas's bytes
Uint32 lut[65536];          // a 5-6-5 pixel as RGBA bytes in memory order
bool opened = false;
// The same picture flipped this many times in a row, and the clock at the first of them: [0], [1].
int still[2] = {0, 0};

// Each channel widened by repeating its high bits, as the desktop's window and screenshots do.
void buildLut() {
  for (unsigned p = 0; p < 65536; p++) {
    const unsigned r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    const unsigned R = r << 3 | r >> 2, G = g << 2 | g >> 4, B = b << 3 | b >> 2;
    lut[p] = R | G << 8 | B << 16 | 0xFF000000u;
  }
}

}  // namespace

void beforeInit() {}

bool open() {
  Screen = SDL_CreateRGBSurface(SDL_SWSURFACE, W, H, 16, 0xF800, 0x07E0, 0x001F, 0);
  if (!Screen) return false;
  buildLut();
  shown.assign(static_cast<size_t>(W) * H, 0xFFFF);  // unlike any first frame: it is sent whole
  rgba.assign(static_cast<size_t>(W) * H, 0xFF000000u);
  opened = true;
  talmyr_rest_watch(still, &hal_waitMask);
  return true;
}

void close() {
  if (Screen) SDL_FreeSurface(Screen);
  Screen = nullptr;
  opened = false;
  shown.clear();
  rgba.clear();
}

void frame() {
  if (!Screen || !opened) return;
  bool changed = false;
  for (int y = 0; y < H; y++) {
    const auto* row = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(Screen->pixels) +
                                                      y * Screen->pitch);
    Uint16* old = &shown[static_cast<size_t>(y) * W];
    if (std::memcmp(row, old, W * 2) == 0) continue;
    std::memcpy(old, row, W * 2);
    Uint32* out = &rgba[static_cast<size_t>(y) * W];
    for (int x = 0; x < W; x++) out[x] = lut[row[x]];
    changed = true;
  }
  if (changed) {
    talmyr_show(rgba.data(), W, H);
    still[0] = 0;
  } else if (still[0]++ == 0) {
    still[1] = static_cast<int>(GpTickCountGet());
  }
}

// F11 and Alt+Return are the page's: it asks the browser for full screen while the key is being
// pressed, the only moment a browser grants it; F12 is the page's too (it saves the canvas as a
// picture). M silences the music or gives it back, as on the desktop. The game sees none of them.
bool isWindowEvent(const SDL_Event& e) {
  if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP) return false;
  const SDLKey k = e.key.keysym.sym;
  return k == SDLK_F11 || k == SDLK_F12 || k == SDLK_m ||
         (k == SDLK_RETURN && (e.key.keysym.mod & KMOD_ALT));
}
void handle(const SDL_Event& e) {
  if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_m) volume::toggleMute();
}
void track(const SDL_Event&) {}
bool service() { return false; }

// The page's title stays the game's name.
void setTitle(const char* title) { SDL_WM_SetCaption(title, nullptr); }
void note(const char*) {}
void tick() { talmyr_rest_looked(); }

bool shownFrame(uint16_t* out) {
  if (shown.size() != static_cast<size_t>(W) * H) return false;
  std::memcpy(out, shown.data(), shown.size() * 2);
  return true;
}

int fallbackDepth = 16;

bool fullscreen() { return false; }
SDL_Surface* window() { return Screen; }
Placement placement() { return {1, 0, 0}; }

}  // namespace present

// The page's music button: what M does.
extern "C" EMSCRIPTEN_KEEPALIVE void talmyr_toggle_mute() { volume::toggleMute(); }
