// The page: memory streams, the music and the font, where the browser's SDL falls short.
//
// The browser's SDL plays music through audio elements (no modules, and a gap at every loop) and
// draws text with the browser's own fonts. In the page the game's music is a rendering of each
// module (Ogg Vorbis, embedded in place of the module), decoded once and looped by the browser's
// Web Audio, sample-exact; the text is drawn from the glyph atlas, so no font is opened here.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdlib>

// ---- memory streams: only what the music's loading reads -----------------------------------

namespace {

int closeMem(SDL_RWops* rw) {
  std::free(rw);
  return 0;
}

}  // namespace

extern "C" {

SDL_RWops* SDL_RWFromConstMem(const void* mem, int size) {
  if (!mem || size <= 0) return nullptr;
  auto* rw = static_cast<SDL_RWops*>(std::calloc(1, sizeof(SDL_RWops)));
  if (!rw) return nullptr;
  rw->close = closeMem;
  rw->hidden.mem.base = static_cast<Uint8*>(const_cast<void*>(mem));
  rw->hidden.mem.here = rw->hidden.mem.base;
  rw->hidden.mem.stop = rw->hidden.mem.base + size;
  return rw;
}

void SDL_FreeRW(SDL_RWops* rw) { std::free(rw); }

}  // extern "C"

// ---- music --------------------------------------------------------------------------------------

// The page's side: tracks decoded into buffers, one of them looping at a time. A track asked to
// play before it is decoded (decoding is asynchronous) starts as soon as it is. Browsers keep
// the sound off until the player's first key or click (the page resumes the context then): a
// piece started before that starts from its beginning at that moment (library_talmyr.js).
extern "C" void talmyr_audio_open();
extern "C" int talmyr_audio_load(const void* data, int size);  // the track's number, or -1
extern "C" void talmyr_audio_play(int id);
extern "C" void talmyr_audio_halt();
extern "C" void talmyr_audio_volume(int v);  // 0 to 128

namespace {

// What the game holds as a piece of music: the page's track number.
struct Track {
  int id;
};

bool audioOpen = false;
bool playing = false;
int volume = MIX_MAX_VOLUME;

}  // namespace

extern "C" {

int Mix_OpenAudio(int, Uint16, int, int) {
  talmyr_audio_open();
  audioOpen = true;
  return 0;
}

void Mix_CloseAudio() {
  if (audioOpen) talmyr_audio_halt();
  audioOpen = false;
  playing = false;
}

Mix_Music* Mix_LoadMUS_RW(SDL_RWops* rw) {
  if (!audioOpen || !rw) return nullptr;
  const int id = talmyr_audio_load(rw->hidden.mem.base,
                                   static_cast<int>(rw->hidden.mem.stop - rw->hidden.mem.base));
  if (id < 0) return nullptr;
  auto* t = static_cast<Track*>(std::malloc(sizeof(Track)));
  if (!t) return nullptr;
  t->id = id;
  return reinterpret_cast<Mix_Music*>(t);
}

void Mix_FreeMusic(Mix_Music* m) { std::free(m); }

int Mix_PlayMusic(Mix_Music* m, int /*loops: the game's music always loops*/) {
  if (!audioOpen || !m) return -1;
  talmyr_audio_play(reinterpret_cast<Track*>(m)->id);
  playing = true;
  return 0;
}

int Mix_HaltMusic() {
  talmyr_audio_halt();
  playing = false;
  return 0;
}

int Mix_PlayingMusic() { return playing ? 1 : 0; }

int Mix_QuerySpec(int* frequency, Uint16* format, int* channels) {
  if (!audioOpen) return 0;
  if (frequency) *frequency = 22050;
  if (format) *format = AUDIO_S16LSB;
  if (channels) *channels = 2;
  return 1;
}

int Mix_VolumeMusic(int v) {
  const int was = volume;
  if (v >= 0) {
    volume = v > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : v;
    talmyr_audio_volume(volume);
  }
  return was;
}

// ---- the font: the page draws text from the atlas ----------------------------------------------

int TTF_Init() { return 0; }
void TTF_Quit() {}
TTF_Font* TTF_OpenFontRW(SDL_RWops* src, int freesrc, int) {
  if (src && freesrc) SDL_RWclose(src);
  return nullptr;
}
void TTF_CloseFont(TTF_Font*) {}

}  // extern "C"
