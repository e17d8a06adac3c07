// Presenting the picture: window, full screen, whole-number scaling, the frames sent to it, and
// its title. The player's keys that act on it are in present_keys.cpp.
#include "present.h"
#include "present_window.h"

#include "cmdline.h"
#include "desktop.h"
#include "fct_gp.h"
#include "settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace present {

int fallbackDepth = 16;

namespace {

SDL_Surface* win = nullptr;
Placement at{1, 0, 0};
bool full = false;
int windowedScale = 1;  // the window's scale when it is not full screen
int desktopW = 0, desktopH = 0, desktopDepth = 0;
std::vector<Uint16> shown;  // the frame on the window now
bool presented = false;     // `shown` holds a frame
std::string title;
uint32_t noteUntil = 0;   // when the title comes back after a note (0: it is shown)
std::vector<Uint32> lut;  // a 5-6-5 pixel as the window's pixel
bool repaint = true;      // the whole window is to be drawn anew: a new mode, an exposure

// Each 5-6-5 channel widened to 8 bits by repeating its high bits, so that white stays white
// and every SDL shows the same colours; then in the window's own format.
void buildLut() {
  lut.resize(65536);
  for (unsigned p = 0; p < 65536; p++) {
    const unsigned r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    lut[p] = SDL_MapRGB(win->format, static_cast<Uint8>(r << 3 | r >> 2),
                        static_cast<Uint8>(g << 2 | g >> 4), static_cast<Uint8>(b << 3 | b >> 2));
  }
}

bool onX11() {
  char driver[32] = "";
  return SDL_VideoDriverName(driver, sizeof driver) && std::strcmp(driver, "x11") == 0;
}

// sdl12-compat keeps a window where it was when it turns it into a full-screen one: with no
// window manager to move it, a window opened in the middle of the screen then hangs off the
// screen's right and bottom edges. A window made anew in full screen starts at the screen's
// corner, so the video subsystem is started again to make one; the events waiting are kept, in
// their order, and what belongs to the window (the title, the hidden pointer) is given again.
void freshWindow() {
  SDL_Event events[128];
  SDL_PumpEvents();
  const int n = SDL_PeepEvents(events, 128, SDL_GETEVENT, SDL_ALLEVENTS);
  win = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_SetCaption(title.c_str(), nullptr);
  }
  for (int i = 0; i < n; i++) SDL_PushEvent(&events[i]);
}

bool setMode(bool fs, int w, int h) {
  // An 8-bit display (the dummy driver's) gets a 16-bit window rather than a palette.
  const int bpp = desktopDepth >= 15 ? 0 : fallbackDepth;
  if (fs && !full && win && desktop::compat() && onX11()) freshWindow();
  SDL_Surface* s =
      SDL_SetVideoMode(w, h, bpp, SDL_SWSURFACE | (fs ? SDL_FULLSCREEN : SDL_RESIZABLE));
  if (!s) return false;
  win = s;
  full = fs;
  at = placeIn(s->w, s->h);
  buildLut();
  repaint = true;
  return true;
}

// Converts and magnifies rows y0..y1 of the shown frame into the window, in one pass: each row
// is written once at the window's depth, then copied scale - 1 times below itself.
void paint(int y0, int y1) {
  const int s = at.scale, bpp = win->format->BytesPerPixel, pitch = win->pitch;
  if (at.x < 0 || at.y < 0 || at.x + W * s > win->w || at.y + H * s > win->h) return;
  auto* base = static_cast<Uint8*>(win->pixels) + at.y * pitch + at.x * bpp;
  for (int y = y0; y <= y1; y++) {
    const Uint16* src = &shown[static_cast<size_t>(y) * W];
    Uint8* row = base + static_cast<ptrdiff_t>(y) * s * pitch;
    if (bpp == 4) {
      auto* d = reinterpret_cast<Uint32*>(row);
      for (int x = 0; x < W; x++)
        for (int k = 0; k < s; k++) *d++ = lut[src[x]];
    } else if (bpp == 2) {
      auto* d = reinterpret_cast<Uint16*>(row);
      for (int x = 0; x < W; x++)
        for (int k = 0; k < s; k++) *d++ = static_cast<Uint16>(lut[src[x]]);
    } else if (bpp == 3) {
      Uint8* d = row;
      for (int x = 0; x < W; x++) {
        const Uint32 p = lut[src[x]];
        for (int k = 0; k < s; k++, d += 3) {
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
          d[0] = static_cast<Uint8>(p);
          d[1] = static_cast<Uint8>(p >> 8);
          d[2] = static_cast<Uint8>(p >> 16);
#else
          d[0] = static_cast<Uint8>(p >> 16);
          d[1] = static_cast<Uint8>(p >> 8);
          d[2] = static_cast<Uint8>(p);
#endif
        }
      }
    } else {
      return;  // never asked for: an 8-bit display gets a 16-bit window
    }
    for (int k = 1; k < s; k++)
      std::memcpy(row + static_cast<ptrdiff_t>(k) * pitch, row, static_cast<size_t>(W) * s * bpp);
  }
}

// Sends rows y0..y1 of the shown frame (all of the window when a repaint is due).
void send(int y0, int y1) {
  if (SDL_MUSTLOCK(win) && SDL_LockSurface(win) < 0) return;
  if (repaint) {
    SDL_FillRect(win, nullptr, SDL_MapRGB(win->format, 0, 0, 0));
    y0 = 0;
    y1 = H - 1;
  }
  paint(y0, y1);
  if (SDL_MUSTLOCK(win)) SDL_UnlockSurface(win);
  if (repaint)
    SDL_UpdateRect(win, 0, 0, 0, 0);
  else
    SDL_UpdateRect(win, at.x, at.y + y0 * at.scale, W * at.scale, (y1 - y0 + 1) * at.scale);
  repaint = false;
}

void save() {
  settings.fullscreen = full;
  settings.scale = windowedScale;
  saveSettings(settingsPath, settings);
}

bool windowed() { return setMode(false, W * windowedScale, H * windowedScale); }
// Full screen at the desktop's own size: the monitor keeps its resolution.
bool fullScreen() {
  return setMode(true, desktopW > 0 ? desktopW : W * windowedScale,
                 desktopH > 0 ? desktopH : H * windowedScale);
}

void toggle() {
  const bool was = full;
  if (was ? windowed() : fullScreen()) {
    save();
  } else {
    std::fprintf(stderr, "talmyr: cannot switch to %s: %s\n", was ? "a window" : "full screen",
                 SDL_GetError());
    if (!(was ? fullScreen() : windowed())) {
      win = nullptr;  // no mode at all: the game goes on unseen rather than stop
      return;
    }
  }
  send(0, H - 1);
}

void resize(int w, int h) {
  if (full || !win) return;
  w = std::max(w, W);
  h = std::max(h, H);
  if (w == win->w && h == win->h) return;
  if (!setMode(false, w, h) && !windowed()) {
    win = nullptr;
    return;
  }
  windowedScale = at.scale;
  save();
  send(0, H - 1);
}

}  // namespace

void switchScreen() { toggle(); }
void resized(int w, int h) { resize(w, h); }
void exposed() {
  repaint = true;
  send(0, H - 1);
}

int fitScale(int w, int h) { return std::clamp(std::min(w / W, h / H), 1, 8); }

int startScale(int asked, int saved, int desktopW, int desktopH, bool display) {
  if (asked > 0) return asked;
  if (saved > 0)  // as the player left it, if this desktop still holds it
    return desktopW > 0 ? std::min(saved, fitScale(desktopW, desktopH)) : saved;
  return display ? windowScale(desktopW, desktopH) : 1;
}

int windowScale(int desktopW, int desktopH) {
  if (desktopW <= 0 || desktopH <= 0) return 1;
  return fitScale(desktopW * 85 / 100, desktopH * 85 / 100);
}

Placement placeIn(int w, int h) {
  const int s = fitScale(w, h);
  return {s, (w - W * s) / 2, (h - H * s) / 2};
}

void beforeInit() {
  // The picture arrives already magnified to the window's size: a plain copy to the window does
  // the rest. Without these, SDL 2 sends every frame through OpenGL, which on a machine without a
  // graphics driver is software rendering costing a fifth of a core while walking.
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
  // Where sdl12-compat magnifies the window itself (for a HiDPI desktop), pixels stay sharp
  // squares, as ours are; by default it blurs them.
  setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
}

bool open() {
  const SDL_VideoInfo* vi = SDL_GetVideoInfo();  // the desktop, before any window changes it
  desktopW = vi ? vi->current_w : 0;
  desktopH = vi ? vi->current_h : 0;
  desktopDepth = vi && vi->vfmt ? vi->vfmt->BitsPerPixel : 0;
  char driver[32] = "";
  SDL_VideoDriverName(driver, sizeof driver);
  const bool display = std::strcmp(driver, "dummy") != 0;  // the dummy driver has no screen
  full = launch.fullscreen >= 0 ? launch.fullscreen == 1 : settings.fullscreen;
  windowedScale = startScale(launch.scale, settings.scale, desktopW, desktopH, display);

  Screen = SDL_CreateRGBSurface(SDL_SWSURFACE, W, H, 16, 0xF800, 0x07E0, 0x001F, 0);
  if (!Screen) return false;
  shown.assign(static_cast<size_t>(W) * H, 0);
  bool ok = false;
  if (full && display) ok = fullScreen();
  if (!ok) ok = windowed();
  if (!ok && windowedScale > 1) ok = setMode(false, W, H);
  if (!ok) {
    SDL_FreeSurface(Screen);
    Screen = nullptr;
  }
  return ok;
}

void close() {
  if (Screen) SDL_FreeSurface(Screen);
  Screen = nullptr;
  win = nullptr;  // SDL's own, released by SDL_Quit
  full = false;
  forgetAlt();
  lut.clear();
  shown.clear();
  presented = false;
  noteUntil = 0;
}

void frame() {
  if (!Screen) return;
  int y0 = H, y1 = -1;
  for (int y = 0; y < H; y++) {
    const auto* row = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(Screen->pixels) +
                                                      y * Screen->pitch);
    Uint16* old = &shown[static_cast<size_t>(y) * W];
    if (std::memcmp(row, old, W * 2) == 0) continue;
    std::memcpy(old, row, W * 2);
    y0 = std::min(y0, y);
    y1 = y;
  }
  presented = true;
  if (!win || (y1 < 0 && !repaint)) return;  // no window, or the same picture: nothing to send
  send(y1 < 0 ? 0 : y0, y1 < 0 ? H - 1 : y1);
}

void setTitle(const char* t) {
  title = t ? t : "";
  noteUntil = 0;
  SDL_WM_SetCaption(title.c_str(), nullptr);
}

void note(const char* what) {
  SDL_WM_SetCaption((title + " - " + what).c_str(), nullptr);
  noteUntil = GpTickCountGet() + 3000;
  if (noteUntil == 0) noteUntil = 1;
}

void tick() {
  if (noteUntil && static_cast<int32_t>(GpTickCountGet() - noteUntil) >= 0) {
    noteUntil = 0;
    SDL_WM_SetCaption(title.c_str(), nullptr);
  }
}

bool shownFrame(uint16_t* out) {
  if (presented && shown.size() == static_cast<size_t>(W) * H) {
    std::memcpy(out, shown.data(), shown.size() * 2);
    return true;
  }
  if (!Screen || Screen->w != W || Screen->h != H || Screen->format->BytesPerPixel != 2)
    return false;
  for (int y = 0; y < H; y++)
    std::memcpy(out + static_cast<size_t>(y) * W,
                static_cast<const Uint8*>(Screen->pixels) + y * Screen->pitch, W * 2);
  return true;
}

bool fullscreen() { return full; }
SDL_Surface* window() { return win; }
Placement placement() { return at; }

}  // namespace present
