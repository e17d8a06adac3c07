// Presenting the game's picture: the 320x240 RGB565 `Screen` that every module draws into is
// shown in the window magnified by a whole number, sharp, centred on black; in full screen at the
// desktop's own resolution. F11 and Alt+Return switch between the two, resizing the window
// re-fits the picture, and the player's choice is kept in the settings. The player's other keys
// for the desktop pass here too: F12 (a screenshot) and M (the music on or off).
#pragma once

#include <SDL.h>

#include <cstdint>

namespace present {

constexpr int W = 320, H = 240;

// The largest whole-number scale from 1 to 8 at which W x H fits within w x h (at least 1).
int fitScale(int w, int h);
// The scale a window opens at on a desktop of w x h: the largest that fits within 85 % of it.
int windowScale(int desktopW, int desktopH);
// The window's scale at start: the command line's (`asked`), else the one the player left
// (`saved`) as far as this desktop holds it, else windowScale(); 1 with no screen at all.
int startScale(int asked, int saved, int desktopW, int desktopH, bool display);
// Where the picture goes in a window of w x h: its scale and its top-left corner.
struct Placement {
  int scale, x, y;
};
Placement placeIn(int w, int h);

// Before SDL starts: how the SDL 2 under sdl12-compat is to present (the player's environment
// has the last word).
void beforeInit();
// Opens the window as the command line and the settings ask and makes `Screen`; false when no
// video mode could be set.
bool open();
void close();
// Shows Screen if it differs from the frame shown last (only the rows that changed are sent).
void frame();
// True for an event that is the window's business, not the game's: F11 and Alt+Return (which
// switch full screen), F12 and M (a screenshot, the music), a resize, an exposure. `handle` acts
// on such an event.
bool isWindowEvent(const SDL_Event& e);
void handle(const SDL_Event& e);
// Every event read from the queue passes here first (Alt is followed by its own presses).
void track(const SDL_Event& e);
// For the waits that do not read the game's input: handles the window's events waiting in the
// queue and leaves the others where they are, in order. True when a window close is queued.
bool service();

// The window's title, given again whenever the window is made anew.
void setTitle(const char* title);
// Shows `what` after the title for three seconds (a screenshot's name): the picture never changes.
void note(const char* what);
// Gives the title back once a note has been shown long enough (at every pump).
void tick();
// The W x H 5-6-5 frame shown now (Screen itself while nothing is presented, as headless);
// false when there is no picture at all.
bool shownFrame(uint16_t* out);

bool fullscreen();
SDL_Surface* window();
// The window's depth on a display that offers none worth using (the dummy driver's 8 bits): 16.
// Tests ask for 24 or 32 to see the picture as the deeper windows of real desktops show it.
extern int fallbackDepth;
Placement placement();

}  // namespace present
