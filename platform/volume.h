// The music's loudness: music_volume (0 to 100) from the settings, and M, which silences the music
// and gives it back at any moment. Muted music goes on playing unheard, every start and stop at its
// moment, so that unmuting lets the piece be heard where it has got to.
#pragma once

namespace volume {

// The mixer's music volume (0 to MIX_MAX_VOLUME) for a loudness of 0 to 100, muted or not.
int mixerLevel(int percent, bool muted);
// Sets the mixer's music volume as the settings say (whenever the audio opens).
void apply();
// M: the music muted or back, the choice kept in the settings.
void toggleMute();

}  // namespace volume
