// Handheld-style drawing, input and timing calls over SDL 1.2.
#include "fct_gp.h"

#include "pad.h"
#include "present.h"
#include "volume.h"

#include <cstdlib>
#include <cstring>
#include <string>

SDL_Surface* Screen = nullptr;
TTF_Font* police = nullptr;

uint32_t key = 0;
uint32_t keych = 0;
int32_t hal_working = 1;

void (*hal_pumpHook)() = nullptr;
void (*hal_flipHook)() = nullptr;
void (*hal_textHook)(const char*, int, int, unsigned short) = nullptr;
void (*hal_musicHook)(const Mix_Music*) = nullptr;
uint32_t hal_flipCostMs = 1;
bool hal_present = true;
int hal_waitMask = 0;

namespace {

bool virtualClock = false;
uint32_t virtualNow = 0;
bool audioOpen = false;

// Which keyboard keys are held, so that Space and Left Ctrl can share the action bit.
bool spaceHeld = false;
bool lctrlHeld = false;
uint32_t keyboard = 0;  // the game keys the keyboard holds; `key` adds the pads' to them

SDL_Surface* wrap565(void* pixels, int w, int h) {
  if (!pixels || w <= 0 || h <= 0) return nullptr;  // nothing to wrap: the callers draw nothing
  return SDL_CreateRGBSurfaceFrom(pixels, w, h, 16, w * 2, 0xF800, 0x07E0, 0x001F, 0);
}

// Plain copies between 16-bit surfaces of one format (the map's tiles, the full-screen pictures)
// are done here, row by row with memcpy, clipped as SDL_BlitSurface clips: SDL 1.2's own copy
// streams every row past the cache with non-temporal stores, which makes the hundred small tile
// blits of a frame several times slower than the copy itself.
bool copy16(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst, int dx, int dy) {
  const SDL_PixelFormat* sf = src->format;
  const SDL_PixelFormat* df = dst->format;
  if (sf->BitsPerPixel != 16 || df->BitsPerPixel != 16 || sf->Rmask != df->Rmask ||
      sf->Gmask != df->Gmask || sf->Bmask != df->Bmask)
    return false;
  if ((src->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) || SDL_MUSTLOCK(src) || SDL_MUSTLOCK(dst))
    return false;
  int sx = 0, sy = 0, w = src->w, h = src->h;
  if (srcRect) {
    sx = srcRect->x;
    sy = srcRect->y;
    w = srcRect->w;
    h = srcRect->h;
    if (sx < 0) {
      w += sx;
      dx -= sx;
      sx = 0;
    }
    if (sy < 0) {
      h += sy;
      dy -= sy;
      sy = 0;
    }
    if (w > src->w - sx) w = src->w - sx;
    if (h > src->h - sy) h = src->h - sy;
  }
  const SDL_Rect& clip = dst->clip_rect;
  if (dx < clip.x) {
    w -= clip.x - dx;
    sx += clip.x - dx;
    dx = clip.x;
  }
  if (dy < clip.y) {
    h -= clip.y - dy;
    sy += clip.y - dy;
    dy = clip.y;
  }
  if (dx + w > clip.x + clip.w) w = clip.x + clip.w - dx;
  if (dy + h > clip.y + clip.h) h = clip.y + clip.h - dy;
  if (w <= 0 || h <= 0) return true;
  const auto* s = static_cast<const Uint8*>(src->pixels) + sy * src->pitch + sx * 2;
  auto* d = static_cast<Uint8*>(dst->pixels) + dy * dst->pitch + dx * 2;
  for (int row = 0; row < h; row++, s += src->pitch, d += dst->pitch)
    std::memcpy(d, s, static_cast<size_t>(w) * 2);
  return true;
}

// SDL_Rect holds 16-bit fields: clamp what we are given into that range before handing it over,
// so that a far-off position clips instead of wrapping round onto the screen.
Sint16 clamp16(int v) {
  if (v < -32768) return -32768;
  if (v > 32767) return 32767;
  return static_cast<Sint16>(v);
}

int blit(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, int dx, int dy) {
  if (!src || !dst) return 0;
  // A far-off position, once clamped to 16 bits, still lies far off the surface.
  dx = clamp16(dx);
  dy = clamp16(dy);
  if (copy16(src, srcRect, dst, dx, dy)) return 0;
  SDL_Rect d;
  d.x = static_cast<Sint16>(dx);
  d.y = static_cast<Sint16>(dy);
  d.w = 0;
  d.h = 0;
  return SDL_BlitSurface(src, srcRect, dst, &d);
}
Uint16 clampU16(int v) {
  if (v < 0) return 0;
  if (v > 65535) return 65535;
  return static_cast<Uint16>(v);
}

SDL_Rect rect(int x, int y, int w, int h) {
  SDL_Rect r;
  r.x = clamp16(x);
  r.y = clamp16(y);
  r.w = clampU16(w);
  r.h = clampU16(h);
  return r;
}

// Fills a rectangle, clipping it against the surface ourselves: SDL_FillRect takes unsigned
// sizes, so a rectangle that starts off the surface must be cut before it is handed over.
void fill(SDL_Surface* s, int x, int y, int w, int h, unsigned int colour) {
  if (!s || w <= 0 || h <= 0) return;
  int x2 = x + w, y2 = y + h;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (x2 > s->w) x2 = s->w;
  if (y2 > s->h) y2 = s->h;
  if (x2 <= x || y2 <= y) return;
  SDL_Rect r = rect(x, y, x2 - x, y2 - y);
  SDL_FillRect(s, &r, colour & 0xFFFF);
}

}  // namespace

// ---- pictures ---------------------------------------------------------------------------------

SDL_Surface* LoadSurfaceFromGP8bitsImage(const unsigned char* image, const unsigned short* palette,
                                         int width, int height, bool flag) {
  if (!image || !palette || width <= 0 || height <= 0) return nullptr;
  auto* buf = static_cast<Uint16*>(std::malloc(sizeof(Uint16) * static_cast<size_t>(width) *
                                               static_cast<size_t>(height)));
  if (!buf) return nullptr;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)
      buf[y * width + x] = palette[image[x * height + (height - 1 - y)]];
  // A flagged picture's palette holds four bits of red (15-12) and four of blue (3-0). Not every
  // SDL 1.2 can make a surface of that layout, so it becomes RGB565 here, once: each channel
  // is widened as the classic library widens it when it blits such a picture, its low bit left 0
  // (red 0xF000 stays 0xF000, blue 0x000F becomes 0x001E); bits 11 and 4 belong to no channel.
  if (flag)
    for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; i++)
      buf[i] = static_cast<Uint16>((buf[i] & 0xF000) | (buf[i] & 0x07E0) | ((buf[i] & 0x000F) << 1));
  SDL_Surface* s = wrap565(buf, width, height);
  if (!s) std::free(buf);
  return s;
}

void FreeGPSurface(SDL_Surface* s) {
  if (!s) return;
  void* buf = s->pixels;
  SDL_FreeSurface(s);  // SDL does not own a buffer it was given
  std::free(buf);
}

SDL_Surface* Make_surface(void* pixels, int width, int height) {
  return wrap565(pixels, width, height);
}

SDL_Surface* Make_rotated_surface(void* pixels, int width, int height) {
  return wrap565(pixels, width, height);
}

// ---- blits ------------------------------------------------------------------------------------

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int /*w*/, int /*h*/, SDL_Surface* src) {
  return blit(src, nullptr, dst, dx, dy);
}

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src, int sx, int sy,
             int /*imgw*/, int /*imgh*/) {
  SDL_Rect r = rect(sx, sy, w, h);
  return blit(src, &r, dst, dx, dy);
}

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src) {
  SDL_Surface* s = Make_surface(src, w, h);
  int res = blit(s, nullptr, dst, dx, dy);
  SDL_FreeSurface(s);
  return res;
}

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src, int sx, int sy,
             int imgw, int imgh) {
  SDL_Surface* s = Make_surface(src, imgw, imgh);
  SDL_Rect r = rect(sx, sy, w, h);
  int res = blit(s, &r, dst, dx, dy);
  SDL_FreeSurface(s);
  return res;
}

int GpTransBlt(SDL_Surface* dst, int dx, int dy, int /*w*/, int /*h*/, SDL_Surface* src,
               unsigned int colourKey) {
  if (!src) return 0;
  SDL_SetColorKey(src, SDL_SRCCOLORKEY, colourKey);
  return blit(src, nullptr, dst, dx, dy);
}

int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src, int sx, int sy,
               int /*imgw*/, int /*imgh*/, unsigned int colourKey) {
  if (!src) return 0;
  SDL_SetColorKey(src, SDL_SRCCOLORKEY, colourKey);
  SDL_Rect r = rect(sx, sy, w, h);
  return blit(src, &r, dst, dx, dy);
}

int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src,
               unsigned int colourKey, int sx, int sy, int imgw, int imgh) {
  SDL_Surface* s = Make_rotated_surface(src, imgw, imgh);
  if (!s) return 0;
  SDL_SetColorKey(s, SDL_SRCCOLORKEY, colourKey);
  SDL_Rect r = rect(sx, sy, w, h);
  int res = blit(s, &r, dst, dx, dy);
  SDL_FreeSurface(s);
  return res;
}

// The array form without a rectangle: the whole w x h array, keyed, like its surface sibling.
int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src,
               unsigned int colourKey) {
  SDL_Surface* s = Make_rotated_surface(src, w, h);
  if (!s) return 0;
  SDL_SetColorKey(s, SDL_SRCCOLORKEY, colourKey);
  int res = blit(s, nullptr, dst, dx, dy);
  SDL_FreeSurface(s);
  return res;
}

// The rectangle calls always draw on Screen, whatever surface they are given.
void GpRectFill(SDL_Surface* /*dst*/, int x, int y, int w, int h, unsigned int colour) {
  fill(Screen, x, y, w, h, colour);
}

void GpRectDraw(SDL_Surface* /*dst*/, int x1, int y1, int x2, int y2, unsigned int colour) {
  fill(Screen, x1, y1, x2 - x1 + 1, 1, colour);
  fill(Screen, x1, y2, x2 - x1 + 1, 1, colour);
  fill(Screen, x1, y1, 1, y2 - y1 + 1, colour);
  fill(Screen, x2, y1, 1, y2 - y1 + 1, colour);
}

namespace {

// The lines drawn lately, rendered once: most frames draw the same few lines again (the status
// display, the duel's menu, the title's entries), and rendering text costs far more than
// blitting it. The pixels are the same either way.
struct RenderedText {
  std::string text;
  unsigned short colour = 0;
  const TTF_Font* font = nullptr;
  SDL_Surface* surface = nullptr;
  unsigned long used = 0;
};
RenderedText rendered[48];
unsigned long textUses = 0;

SDL_Surface* renderText(const char* text, unsigned short colour) {
  RenderedText* oldest = &rendered[0];
  for (RenderedText& r : rendered) {
    if (r.surface && r.font == police && r.colour == colour && r.text == text) {
      r.used = ++textUses;
      return r.surface;
    }
    if (r.used < oldest->used) oldest = &r;
  }
  SDL_Color c;
  std::memset(&c, 0, sizeof c);
  SDL_GetRGB(colour, Screen->format, &c.r, &c.g, &c.b);
  SDL_Surface* t = TTF_RenderText_Blended(police, text, c);
  if (!t) return nullptr;
  if (oldest->surface) SDL_FreeSurface(oldest->surface);
  *oldest = {text, colour, police, t, ++textUses};
  return t;
}

}  // namespace

void GpTextOut(SDL_Surface* dst, int x, int y, const char* text, unsigned short colour) {
  if (!dst || !text || !*text) return;
  if (hal_textHook) hal_textHook(text, x, y, colour);
  if (!police || !Screen) return;
  if (SDL_Surface* t = renderText(text, colour)) blit(t, nullptr, dst, x, y);
}

void GpTextForget() {
  for (RenderedText& r : rendered) {
    if (r.surface) SDL_FreeSurface(r.surface);
    r = RenderedText();
  }
}

int GpTextWidth(const char* text) {
  int w = 0, h = 0;
  if (!police || !text || TTF_SizeText(police, text, &w, &h) != 0) return 0;
  return w;
}

// ---- input ------------------------------------------------------------------------------------

namespace {

uint32_t bitOf(SDLKey k) {
  switch (k) {
    case SDLK_SPACE:
    case SDLK_LCTRL: return KEY_A;
    case SDLK_LEFT: return KEY_LEFT;
    case SDLK_UP: return KEY_UP;
    case SDLK_RIGHT: return KEY_RIGHT;
    case SDLK_DOWN: return KEY_DOWN;
    case SDLK_RETURN: return KEY_START;
    default: return 0;
  }
}

}  // namespace

void hal_events() {
  if (hal_pumpHook) hal_pumpHook();
  present::tick();
  keych = 0;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    present::track(e);
    if (present::isWindowEvent(e)) {  // F11, Alt+Return, F12, M, resizing: never the game's keys
      present::handle(e);
      continue;
    }
    switch (e.type) {
      case SDL_QUIT:
        hal_working = 0;
        break;
      case SDL_KEYDOWN: {
        uint32_t b = bitOf(e.key.keysym.sym);
        if (!b) break;
        if (e.key.keysym.sym == SDLK_SPACE) spaceHeld = true;
        if (e.key.keysym.sym == SDLK_LCTRL) lctrlHeld = true;
        keyboard |= b;
        keych |= b;
        break;
      }
      case SDL_KEYUP: {
        uint32_t b = bitOf(e.key.keysym.sym);
        if (!b) break;
        if (e.key.keysym.sym == SDLK_SPACE) spaceHeld = false;
        if (e.key.keysym.sym == SDLK_LCTRL) lctrlHeld = false;
        if (b == KEY_A && (spaceHeld || lctrlHeld)) break;  // the other action key still holds it
        keyboard &= ~b;
        break;
      }
      default: {
        uint32_t pressed = 0;
        if (pad::event(e, pressed)) keych |= pressed;  // a pad's press counts as a key's
        break;
      }
    }
    key = keyboard | pad::held();  // what either holds: one lets go only of its own keys
  }
}

uint32_t GpKeyGet() { return key; }
uint32_t GpKeyChanged() { return keych; }

void WaitForKey(int mask) { WaitForKey(mask, 0); }

void WaitForKey(int mask1, int mask2) {
  const uint32_t m1 = static_cast<uint32_t>(mask1), m2 = static_cast<uint32_t>(mask2);
  hal_waitMask = mask1 | mask2;
  while (hal_working) {
    hal_events();
    if ((key & m1) && (keych & m1)) break;
    if ((key & m2) && (keych & m2)) break;
    // Ten milliseconds between polls, as SDL's own wait for an event: a waiting page answers at
    // once to the eye, without waking the processor a thousand times a second.
    sleep(10);
  }
  hal_waitMask = 0;
}

// ---- time -------------------------------------------------------------------------------------

namespace {

// A window close waiting in the queue ends every loop at once, even one that does not pump
// (drains, walks, pauses): the player never waits for a scene to finish before the game goes.
// The event stays queued for the next hal_events.
// The window's own events (full screen, resizing) are served here too.
bool quitQueued() {
  if (!hal_working) return true;
  if (present::service()) hal_working = 0;
  return !hal_working;
}

}  // namespace

uint32_t GpTickCountGet() { return virtualClock ? virtualNow : SDL_GetTicks(); }

void sleep(int ms) {
  if (ms <= 0) return;
  if (virtualClock) {
    virtualNow += static_cast<uint32_t>(ms);
    quitQueued();
    return;
  }
  // As waitSince: the queue is looked at only where a wait is long enough to be noticed; the
  // short rests of every frame end before the next pump anyway.
  const uint32_t t = SDL_GetTicks();
  for (;;) {
    const int32_t left = ms - static_cast<int32_t>(SDL_GetTicks() - t);
    if (left <= 0 || (left > 20 && quitQueued())) return;
    SDL_Delay(static_cast<Uint32>(left < 50 ? left : 50));
  }
}

void waitSince(uint32_t t, int ms) {
  if (virtualClock) {
    int32_t left = ms - static_cast<int32_t>(virtualNow - t);
    if (left > 0) virtualNow += static_cast<uint32_t>(left);
    quitQueued();
    return;
  }
  // Sleep to the deadline rather than spin on the clock: Linux wakes us within a fraction of a
  // millisecond, so the pace stays exact without keeping a core busy.
  for (;;) {
    int32_t left = ms - static_cast<int32_t>(SDL_GetTicks() - t);
    if (left <= 0 || (left > 20 && quitQueued())) return;
    SDL_Delay(static_cast<Uint32>(left > 50 ? 50 : left));
  }
}

void GpFlip() {
  if (hal_present) present::frame();
  if (virtualClock) virtualNow += hal_flipCostMs;
  if (hal_flipHook) hal_flipHook();
}

void hal_useVirtualClock(bool on, uint32_t startMs) {
  virtualClock = on;
  virtualNow = startMs;
}
bool hal_virtualClock() { return virtualClock; }
void hal_advance(uint32_t ms) { virtualNow += ms; }

void hal_reset() {
  key = 0;
  keych = 0;
  keyboard = 0;
  hal_working = 1;
  spaceHeld = lctrlHeld = false;
  pad::reset();
}

// ---- music ------------------------------------------------------------------------------------

void musicOpen() {
  audioOpen = Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) == 0;
  if (audioOpen) volume::apply();
}

void musicClose() {
  if (audioOpen) Mix_CloseAudio();
  audioOpen = false;
}

Mix_Music* musicLoad(const unsigned char* data, int size) {
  if (!audioOpen || !data || size <= 0) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(data, size);
  if (!rw) return nullptr;
  Mix_Music* m = Mix_LoadMUS_RW(rw);
  // The module player copies what it needs while loading, so the stream can go now.
  SDL_RWclose(rw);
  return m;
}

void musicPlay(Mix_Music* m) {
  if (hal_musicHook) hal_musicHook(m);
  if (audioOpen && m) Mix_PlayMusic(m, -1);
}

void musicHalt() {
  if (hal_musicHook) hal_musicHook(nullptr);
  if (audioOpen) Mix_HaltMusic();
}

int musicPlaying() { return audioOpen ? Mix_PlayingMusic() : 0; }
