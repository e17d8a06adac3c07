// Between the desktop's window (present.cpp) and the player's keys that act on it
// (present_keys.cpp); the page has neither.
#pragma once

namespace present {

// Full screen to a window, or back; kept in the settings.
void switchScreen();
// The window resized by the player to w x h: the picture fitted anew, the scale kept.
void resized(int w, int h);
// The window uncovered: drawn anew whole.
void exposed();
// The window closed: Alt counts as up (present_keys.cpp).
void forgetAlt();

}  // namespace present
