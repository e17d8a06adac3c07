// Developer tool: renders the embedded modules through SDL_mixer (the game's own player) to WAV.
// usage: music OUTDIR   (writes un.wav, one loop and a bit, and battle.wav)
#include <SDL.h>
#include <SDL_mixer.h>

#include "assets.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace {

long fileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

void put32(FILE* f, unsigned v) {
  for (int i = 0; i < 4; i++) fputc((v >> (8 * i)) & 0xFF, f);
}
void put16(FILE* f, unsigned v) {
  fputc(v & 0xFF, f);
  fputc((v >> 8) & 0xFF, f);
}

// Bytes of silence at the start of the raw stream, whole frames; -1 while it is all silence.
long leadingSilence(const std::string& path) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return -1;
  long at = 0;
  int c;
  while ((c = fgetc(f)) == 0) at++;
  fclose(f);
  return c == EOF ? -1 : at / 4 * 4;
}

// Plays a module on SDL's disk audio driver, faster than real time, until `seconds` of audio
// are written after the silence the device writes while the module is loaded (longer on a busy
// machine), then wraps the raw stream into a WAV file.
bool render(const unsigned char* data, std::size_t size, double seconds, const std::string& wav) {
  const std::string raw = wav + ".raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  if (SDL_Init(SDL_INIT_AUDIO) < 0 || Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) < 0) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  Mix_Music* m = Mix_LoadMUS_RW(rw);
  SDL_RWclose(rw);
  if (!m) return false;
  Mix_PlayMusic(m, -1);
  long lead = -1;
  while (lead < 0 || fileSize(raw) < static_cast<long>(seconds * 22050) * 4 + lead) {
    SDL_Delay(1);
    if (lead < 0) lead = leadingSilence(raw);
  }
  const long want = static_cast<long>(seconds * 22050) * 4 + lead;
  Mix_HaltMusic();
  Mix_FreeMusic(m);
  Mix_CloseAudio();
  SDL_Quit();

  FILE* in = fopen(raw.c_str(), "rb");
  FILE* out = fopen(wav.c_str(), "wb");
  if (!in || !out) return false;
  fwrite("RIFF", 1, 4, out);
  put32(out, static_cast<unsigned>(36 + want));
  fwrite("WAVEfmt ", 1, 8, out);
  put32(out, 16);
  put16(out, 1);
  put16(out, 2);
  put32(out, 22050);
  put32(out, 22050 * 4);
  put16(out, 4);
  put16(out, 16);
  fwrite("data", 1, 4, out);
  put32(out, static_cast<unsigned>(want));
  char buf[4096];
  long left = want;
  while (left > 0) {
    const size_t n = fread(buf, 1, left < 4096 ? static_cast<size_t>(left) : 4096, in);
    if (n == 0) break;
    fwrite(buf, 1, n, out);
    left -= static_cast<long>(n);
  }
  fclose(in);
  fclose(out);
  std::remove(raw.c_str());
  std::printf("%s\n", wav.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  // a loop and a few seconds more, so the loop point can be heard
  if (!render(un, un_size, 66.0, dir + "/un.wav")) return 1;
  if (!render(battle, battle_size, 22.0, dir + "/battle.wav")) return 1;
  return 0;
}
