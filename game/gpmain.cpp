// Start-up, the entry and the shut-down.
#include "assets.h"
#include "cmdline.h"
#include "endings.h"
#include "globals.h"
#include "keep.h"
#include "keep_store.h"
#include "pad.h"
#include "settings.h"

#include <cstdio>
#include <cstdlib>

// Start-up reads the font and the two modules through these, so a test can hand it broken bytes.
const unsigned char *init_font = gamefont, *init_music = un, *init_music2 = battle;
std::size_t init_fontSize = gamefont_size, init_musicSize = un_size, init_music2Size = battle_size;

bool init() {
  if (!hal_start("Talmyr demo 2'")) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(init_font, static_cast<int>(init_fontSize));
  police = rw ? TTF_OpenFontRW(rw, 1, 10) : nullptr;
  srand(GpTickCountGet());
  initMarche();
  for (const CastEntry& e : worldCast)
    if (e.who != &perso) initChara(e.who);
  music = musicLoad(init_music, static_cast<int>(init_musicSize));
  music2 = musicLoad(init_music2, static_cast<int>(init_music2Size));
  return true;
}

int SDL_main(int argc, char** argv) {
  // first of all: a signal, or the display going away, ends the game as a close does, the game kept
  endings::install([] { keep::closing(); });
  const int status = parseCommandLine(argc, argv, launch);
  if (status >= 0) return status;
  settingsPath = defaultSettingsPath();
  loadSettings(settingsPath, settings);
  pad::setButtons(settings.padAction.empty() ? pad::defaultAction() : settings.padAction,
                  settings.padStart.empty() ? pad::defaultStart() : settings.padStart);
  setLanguage(launch.lang.empty() ? localeLanguage() : launch.lang);
  load_rsc();
  const bool started = init();
  if (started) {
    init2();
    keep::place = store::defaultPlace();
    // said once: without a home nothing of the player's can be kept
    const bool noState = keep::place.empty(), noConfig = settingsPath.empty();
    if (noState || noConfig)
      std::fprintf(stderr, "talmyr: neither HOME nor %s is set: %s\n",
                   noState && noConfig ? "XDG_STATE_HOME and XDG_CONFIG_HOME"
                   : noState           ? "XDG_STATE_HOME"
                                       : "XDG_CONFIG_HOME",
                   noState && noConfig ? "no game is kept to be continued and no setting is saved"
                   : noState           ? "no game is kept to be continued"
                                       : "no setting is saved");
    keep::load();
    gameMenu();
    keep::closing();  // closed in the middle of a game: it is kept to be continued
  } else {
    std::fprintf(stderr, "talmyr: cannot start: %s\n", SDL_GetError());
  }
  endings::done();
  shutdownAll();
  return started ? 0 : 1;
}

void shutdownAll() {
  free_rsc();
  // The font and the modules would end with the process anyway; releasing them keeps leak
  // checkers quiet about our own allocations.
  if (police) TTF_CloseFont(police);
  police = nullptr;
  Mix_FreeMusic(music);
  Mix_FreeMusic(music2);
  music = music2 = nullptr;
  hal_stop();
}
