// The whole story played and recorded: the autopilot's game to the victory, a careless game lost
// to the master, and a visit to every conversation, examination, door, fight and branch of the
// script, each from a fresh world. The recorder (support_record.h) then holds the transcript, the
// frames and the reference pictures.
#pragma once

#include "support_record.h"

namespace story {

// Plays it all in a language ("fr", "en"); false when a start-up failed or a visit did not end
// by itself.
bool play(const char* language = "fr");

}  // namespace story
