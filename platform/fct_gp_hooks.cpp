// What a test hooks into the handheld-style calls: its events before a frame's are read, its
// checks after every flip, and what the player reads and hears. None is set in the game.
#include "fct_gp.h"

void (*hal_pumpHook)() = nullptr;
void (*hal_flipHook)() = nullptr;
void (*hal_textHook)(const char*, int, int, unsigned short) = nullptr;
void (*hal_musicHook)(const Mix_Music*) = nullptr;
