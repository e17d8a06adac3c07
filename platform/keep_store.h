// Where a kept game lives: on the desktop a file in $XDG_STATE_HOME/talmyr/ (~/.local/state when
// the variable is unset), in the page the browser's own storage. The game decides what is kept and
// when (game/keep.h); this only reads, writes and removes the text.
#pragma once

#include <string>

namespace store {

// This user's place for the kept game: "" when there is none (no XDG_STATE_HOME nor HOME).
std::string defaultPlace();
// The kept text, false when nothing is kept there; a place that exists but cannot be read gives
// one line on stderr and false.
bool read(const std::string& place, std::string& text);
// Replaces the kept text whole or not at all: a temporary file written and flushed to the disk,
// renamed over the old one, and the folder flushed too (made when missing). On failure `error`
// says why and false.
bool write(const std::string& place, const std::string& text, std::string& error);
// A kept text the game refuses: renamed aside to place + ".bad" (an older one there is replaced),
// never deleted.
void setAside(const std::string& place);
// The kept game forgotten: nothing is kept there any more.
void forget(const std::string& place);

}  // namespace store
