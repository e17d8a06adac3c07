// Handheld-style drawing, input and timing calls over SDL 1.2: the game's one interface to them.
// One file of the platform a concern: fct_gp_draw.cpp (pictures, blits, text), fct_gp_keys.cpp
// (keys, events, the wait for a key), fct_gp_clock.cpp (the clock, real and virtual, and the
// flip), fct_gp_music.cpp, fct_gp_hooks.cpp (what tests hook in) and fct_gp_start.cpp (SDL's
// subsystems started and stopped).
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <cstdint>

// ---- start and end ---------------------------------------------------------------------------
// Starts SDL's subsystems for the game: the display checked (a one-line reason when there is
// none), the window opened with `title`, the pads, SDL_ttf and the audio device (failure leaves
// the game silent). False when the game cannot start (SDL_GetError() says why).
bool hal_start(const char* title);
// Stops what hal_start started (after the game has freed its pictures, font and modules).
void hal_stop();

// ---- surfaces, pictures, blits -------------------------------------------------------------
extern SDL_Surface* Screen;  // the game's 320x240 RGB565 picture, shown magnified in the window
extern TTF_Font* police;     // the game font, point size 10

constexpr unsigned int TRANSPARENT_KEY = 0xE021;

SDL_Surface* LoadSurfaceFromGP8bitsImage(const unsigned char* image, const unsigned short* palette,
                                         int width, int height, bool flag);
SDL_Surface* Make_surface(void* pixels, int width, int height);
SDL_Surface* Make_rotated_surface(void* pixels, int width, int height);
// Frees a surface made by LoadSurfaceFromGP8bitsImage together with its pixel buffer.
void FreeGPSurface(SDL_Surface* s);

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src);
int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src, int sx, int sy,
             int imgw, int imgh);
int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src);
int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src, int sx, int sy,
             int imgw, int imgh);
int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src, unsigned int key);
int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src, int sx, int sy,
               int imgw, int imgh, unsigned int key);
int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src, unsigned int key,
               int sx, int sy, int imgw, int imgh);
int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src,
               unsigned int key);
void GpRectFill(SDL_Surface* dst, int x, int y, int w, int h, unsigned int colour);
void GpRectDraw(SDL_Surface* dst, int x1, int y1, int x2, int y2, unsigned int colour);
// Draws a line of Latin-1 text in the game font, its box's top left corner at (x, y).
void GpTextOut(SDL_Surface* dst, int x, int y, const char* text, unsigned short colour);
// Width in pixels of a line of Latin-1 text in the game font.
int GpTextWidth(const char* text);

// ---- input -----------------------------------------------------------------------------------
constexpr uint32_t KEY_A = 0x01;
constexpr uint32_t KEY_LEFT = 0x04;
constexpr uint32_t KEY_UP = 0x08;
constexpr uint32_t KEY_RIGHT = 0x10;
constexpr uint32_t KEY_DOWN = 0x20;
constexpr uint32_t KEY_START = 0x40;

extern uint32_t key;         // game keys held now
extern uint32_t keych;       // game keys pressed during the latest hal_events
extern int32_t hal_working;  // 1 while the program runs, 0 once the window is closed

void hal_events();
uint32_t GpKeyGet();
uint32_t GpKeyChanged();
void WaitForKey(int mask);
void WaitForKey(int mask1, int mask2);

// ---- time -----------------------------------------------------------------------------------
uint32_t GpTickCountGet();
void sleep(int ms);
// Waits until at least ms milliseconds have passed since the stamp t (32-bit wrap-safe).
// On the real clock it sleeps most of the interval and polls only the end.
void waitSince(uint32_t t, int ms);
// Presents Screen in the window. On the virtual clock a flip also costs a fixed drawing time.
void GpFlip();

// ---- music (every call is safe without an audio device or with a module that failed) ---------
void musicOpen();  // opens the audio device; failure leaves the game silent
void musicClose();
Mix_Music* musicLoad(const unsigned char* data, int size);
void musicPlay(Mix_Music* m);  // loops forever
void musicHalt();
int musicPlaying();

// ---- test support ----------------------------------------------------------------------------
// The virtual clock: time stands still except where the game waits, sleeps or flips.
void hal_useVirtualClock(bool on, uint32_t startMs = 0);
bool hal_virtualClock();
void hal_advance(uint32_t ms);
// Called at the start of every hal_events, before the queue is read: a test pushes its events here.
extern void (*hal_pumpHook)();
// Called after every flip: a test checks what must hold on every frame here.
extern void (*hal_flipHook)();
// Called with every line of text the game draws, and with every module it plays (null: halted):
// what a test records of what the player reads and hears.
extern void (*hal_textHook)(const char* text, int x, int y, unsigned short colour);
extern void (*hal_musicHook)(const Mix_Music* m);
// The key mask a WaitForKey is waiting for right now, 0 when none (what a dialogue box or a page
// waits for): an autopilot reads it to know when to answer.
extern int hal_waitMask;
// False: GpFlip leaves the window as it is. The headless tests read Screen itself, and presenting
// is not free.
extern bool hal_present;
// Drawing cost of one flip on the virtual clock, in milliseconds.
extern uint32_t hal_flipCostMs;
// Resets the key masks and the running flag (tests that start several games in one process).
void hal_reset();
