// Where a kept game lives: on the desktop a file in $XDG_STATE_HOME/talmyr/ (~/.local/state when
// the variable is unset), in the page the browser's own storage. The game decides what is kept and
// when (game/keep.h); this only reads, writes and removes the text.
#pragma once

#include <string>

namespace store {

// This user's place for the kept game: "" when there is none (no XDG_STATE_HOME nor HOME).
std::string defaultPlace();
// The kept text, false when nothing is kept there; a place that exists but cannot be read, or is
// no regular file (a folder, a named pipe...), gives one line on stderr and false, at once.
bool read(const std::string& place, std::string& text);
// Replaces the kept text whole or not at all (files::replace: a temporary file of this process
// only, renamed over the old one). On failure `error` says why and false.
bool write(const std::string& place, const std::string& text, std::string& error);
// How many refused texts are kept aside: place + ".bad" (the newest), ".bad.2", ".bad.3".
constexpr int badKept = 3;
// A kept text the game refuses: renamed aside to place + ".bad", never deleted; older ones move
// to ".bad.2" and ".bad.3", and only the oldest of those goes. When it cannot be moved (a folder
// where it would go), one line on stderr says so and it stays where it is.
void setAside(const std::string& place);
// The kept game forgotten: nothing is kept there any more.
void forget(const std::string& place);

}  // namespace store
