// The music's loudness.
#include "volume.h"

#include "settings.h"

#include <SDL_mixer.h>

#include <algorithm>

namespace volume {

int mixerLevel(int percent, bool muted) {
  if (muted) return 0;
  return (std::clamp(percent, 0, 100) * MIX_MAX_VOLUME + 50) / 100;
}

void apply() {
  int frequency = 0, channels = 0;
  Uint16 format = 0;
  if (!Mix_QuerySpec(&frequency, &format, &channels)) return;  // no audio: nothing to set
  Mix_VolumeMusic(mixerLevel(settings.musicVolume, settings.musicMuted));
}

void toggleMute() {
  settings.musicMuted = !settings.musicMuted;
  apply();
  saveSettings(settingsPath, settings);
}

}  // namespace volume
