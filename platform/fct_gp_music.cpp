// The music: SDL_mixer's module player, every call safe without an audio device.
#include "fct_gp.h"

#include "volume.h"

namespace {

bool audioOpen = false;

}  // namespace

void musicOpen() {
  audioOpen = Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) == 0;
  if (audioOpen) volume::apply();
}

void musicClose() {
  if (audioOpen) Mix_CloseAudio();
  audioOpen = false;
}

Mix_Music* musicLoad(const unsigned char* data, int size) {
  if (!audioOpen || !data || size <= 0) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(data, size);
  if (!rw) return nullptr;
  Mix_Music* m = Mix_LoadMUS_RW(rw);
  // The module player copies what it needs while loading, so the stream can go now.
  SDL_RWclose(rw);
  return m;
}

void musicPlay(Mix_Music* m) {
  if (hal_musicHook) hal_musicHook(m);
  if (audioOpen && m) Mix_PlayMusic(m, -1);
}

void musicHalt() {
  if (hal_musicHook) hal_musicHook(nullptr);
  if (audioOpen) Mix_HaltMusic();
}

int musicPlaying() { return audioOpen ? Mix_PlayingMusic() : 0; }
