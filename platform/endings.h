// How the program may be ended from outside, and the game kept all the same: SIGHUP (the session
// ends), SIGQUIT, SIGINT and SIGTERM are taken as a window close, and the display going away
// (Xlib then ends the program through exit()) still keeps the game on the way out.
#pragma once

namespace endings {

// Takes the four signals (one that the program was started ignoring, as under nohup, stays
// ignored; a second one ends the program at once), and has `keep` called at exit when the program
// ends without reaching done(). Called once, before SDL starts, which then leaves them to us.
void install(void (*keep)());
// True once one of those signals came: the game ends as on a window close.
bool asked();
// The program is ending by its own path, the game kept: nothing more to do at exit.
void done();

}  // namespace endings
