// Entry, start-up, world set-up and the embedded pictures.
#include "assets.h"
#include "cmdline.h"
#include "endings.h"
#include "globals.h"
#include "keep.h"
#include "keep_store.h"
#include "pad.h"
#include "settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---- globals shared by every module ----
smap ile, village, maison1, maison2, maison3, entree, chateau;
sgame game;
chara perso;
chara vagabond, gmere, gmere2, gpere, femme1, femme2, pgarcon, pfille, poule;
chara garde1, garde2, garde3, garde4, garde5, garde6, garde7;
chara roi, reine, princesse, boss;
chara* sprites[MAX_SPRITES];
int nbsprites = 0;
chara* ennemi = nullptr;
uint32_t Key = 0, KeyCh = 0;
uint32_t nTick = 0;
Mix_Music* music = nullptr;
Mix_Music* music2 = nullptr;

// Start-up reads the font and the two modules through these, so a test can hand it broken bytes.
const unsigned char *init_font = gamefont, *init_music = un, *init_music2 = battle;
std::size_t init_fontSize = gamefont_size, init_musicSize = un_size, init_music2Size = battle_size;

SDL_Surface *pSurf_icons_faceset, *pSurf_img_battlebg, *pSurf_img_bravo, *pSurf_img_gameover,
    *pSurf_img_intro, *pSurf_img_parch2, *pSurf_sprite_attaq1, *pSurf_sprite_boss,
    *pSurf_sprite_femme1, *pSurf_sprite_femme2, *pSurf_sprite_garde1, *pSurf_sprite_garde2,
    *pSurf_sprite_garde3, *pSurf_sprite_gmere, *pSurf_sprite_gmere2, *pSurf_sprite_gpere,
    *pSurf_sprite_icones, *pSurf_sprite_perso, *pSurf_sprite_pfille, *pSurf_sprite_pgarcon,
    *pSurf_sprite_poule, *pSurf_sprite_princesse, *pSurf_sprite_reine, *pSurf_sprite_roi,
    *pSurf_sprite_vagabond, *pSurf_tiles_decor;
SDL_Surface* pSurf_img_bravo_en;

namespace {

struct Picture {
  SDL_Surface** surface;
  const unsigned char* image;
  const unsigned short* palette;
  int w, h;
  bool flag;
};

// In the order they are converted.
const Picture pictures[] = {
    {&pSurf_icons_faceset, icons_faceset, npal, 24, 360, false},
    {&pSurf_img_battlebg, img_battlebg, npal, 320, 240, false},
    {&pSurf_img_bravo, img_bravo, img_bravo_Pal, 320, 240, false},
    {&pSurf_img_gameover, img_gameover, img_gameover_Pal, 320, 240, false},
    {&pSurf_img_intro, img_intro, img_intro_Pal, 320, 240, true},
    {&pSurf_img_parch2, img_parch2, img_parch2_Pal, 320, 240, false},
    {&pSurf_sprite_attaq1, sprite_attaq1, npal, 32, 96, false},
    {&pSurf_sprite_boss, sprite_boss, npal, 64, 128, false},
    {&pSurf_sprite_femme1, sprite_femme1, npal, 64, 128, false},
    {&pSurf_sprite_femme2, sprite_femme2, npal, 64, 128, false},
    {&pSurf_sprite_garde1, sprite_garde1, npal, 64, 128, false},
    {&pSurf_sprite_garde2, sprite_garde2, npal, 64, 128, false},
    {&pSurf_sprite_garde3, sprite_garde3, npal, 64, 128, false},
    {&pSurf_sprite_gmere, sprite_gmere, npal, 64, 128, false},
    {&pSurf_sprite_gmere2, sprite_gmere2, npal, 64, 128, false},
    {&pSurf_sprite_gpere, sprite_gpere, npal, 64, 128, false},
    {&pSurf_sprite_icones, sprite_icones, npal, 16, 128, false},
    {&pSurf_sprite_perso, sprite_perso, npal, 64, 128, false},
    {&pSurf_sprite_pfille, sprite_pfille, npal, 64, 128, false},
    {&pSurf_sprite_pgarcon, sprite_pgarcon, npal, 64, 128, false},
    {&pSurf_sprite_poule, sprite_poule, npal, 64, 128, false},
    {&pSurf_sprite_princesse, sprite_princesse, npal, 64, 128, false},
    {&pSurf_sprite_reine, sprite_reine, npal, 64, 128, false},
    {&pSurf_sprite_roi, sprite_roi, npal, 64, 128, false},
    {&pSurf_sprite_vagabond, sprite_vagabond, npal, 64, 128, false},
    {&pSurf_tiles_decor, tiles_decor, npal, 32, 8160, false},
    // the words painted in other languages
    {&pSurf_img_bravo_en, img_bravo_en, img_bravo_en_Pal, 320, 240, false},
};

// Which picture paints words, and its variant in each language.
struct PictureVariant {
  const char* language;
  SDL_Surface* const* french;
  SDL_Surface* const* variant;
};
const PictureVariant variants[] = {
    {"en", &pSurf_img_bravo, &pSurf_img_bravo_en},
};

// The game's own copy of every grid, as a new game finds it.
int16_t grids[mapCount][20 * 16];

}  // namespace

const MapEntry worldMaps[mapCount] = {
    {"ile", &ile, 20, 16, 17, 14, map_ile},
    {"village", &village, 20, 16, 10, 14, map_village},
    {"maison1", &maison1, 10, 9, 4, 4, map_maison1},
    {"maison2", &maison2, 10, 9, 4, 4, map_maison2},
    {"maison3", &maison3, 10, 9, 4, 4, map_maison3},
    {"entree", &entree, 20, 16, 10, 13, map_entree},
    {"chateau", &chateau, 20, 16, 10, 13, map_chateau},
};

const CastEntry worldCast[castCount] = {
    {"hero", &perso, &pSurf_sprite_perso, 0, nullptr, 0, 0, 3},
    {"vagabond", &vagabond, &pSurf_sprite_vagabond, 1, &ile, 9, 14, 1},
    {"garde1", &garde1, &pSurf_sprite_garde1, 4, &entree, 11, 1, 2},
    {"garde2", &garde2, &pSurf_sprite_garde2, 4, &entree, 9, 1, 2},
    {"garde3", &garde3, &pSurf_sprite_garde3, 10, &chateau, 10, 9, 2},
    {"garde4", &garde4, &pSurf_sprite_garde1, 4, &chateau, 0, 13, 0},
    {"garde5", &garde5, &pSurf_sprite_garde2, 4, &chateau, 19, 13, 0},
    {"garde6", &garde6, &pSurf_sprite_garde1, 4, &chateau, 6, 1, 2},
    {"garde7", &garde7, &pSurf_sprite_garde2, 4, &chateau, 14, 1, 2},
    {"poule", &poule, &pSurf_sprite_poule, 0, &village, 2, 7, 2},
    {"gmere", &gmere, &pSurf_sprite_gmere, 2, &maison1, 6, 1, 0},
    {"gmere2", &gmere2, &pSurf_sprite_gmere2, 14, &maison2, 4, 2, 2},
    {"gpere", &gpere, &pSurf_sprite_gpere, 13, &maison2, 5, 2, 2},
    {"pgarcon", &pgarcon, &pSurf_sprite_pgarcon, 5, &village, 7, 8, 1},
    {"pfille", &pfille, &pSurf_sprite_pfille, 6, &village, 8, 8, 3},
    {"femme1", &femme1, &pSurf_sprite_femme1, 12, &village, 7, 6, 2},
    {"femme2", &femme2, &pSurf_sprite_femme2, 11, &maison3, 3, 2, 2},
    {"roi", &roi, &pSurf_sprite_roi, 7, &chateau, 4, 12, 1},
    {"reine", &reine, &pSurf_sprite_reine, 8, &chateau, 5, 12, 3},
    {"princesse", &princesse, &pSurf_sprite_princesse, 9, &chateau, 3, 12, 2},
    {"boss", &boss, &pSurf_sprite_boss, 3, &chateau, 10, 4, 2},
};

const FighterEntry fighterTable[fighterCount] = {
    // who       pv force resist. +pvMax +force +resist. heal lossY lossDir noFlee fatal
    {&vagabond,  50,  3,    6,      0,     0,     0,     0,    0,    0,     1,     0},
    {&garde1,    40,  2,    2,      0,     1,     0,     1,    2,    2,     0,     0},
    {&garde2,    30,  3,    2,      0,     0,     1,     1,    2,    2,     0,     0},
    {&garde3,    50,  4,    3,     15,     1,     1,     1,    0,    0,     0,     0},
    {&garde4,    50,  4,    5,      0,     0,     1,     1,    0,    0,     0,     0},
    {&garde5,    45,  5,    4,      0,     1,     0,     1,    0,    0,     0,     0},
    {&garde6,    55,  4,    5,      0,     0,     1,     1,    0,    0,     0,     0},
    {&garde7,    50,  5,    3,      0,     1,     0,     1,    0,    0,     0,     0},
    {&boss,      75,  1,    3,      0,     0,     0,     0,    0,    0,     0,     1},
};

const StoryNumbers storyNumbers = {
    // hero: pv mana force resist. gold | gift: +pvMax +manaMax +force +resist.
    20, 10, 1, 1, 100, 15, 10, 1, 1,
    // grandfather: life, gives | grandmother: purse, gives | master asks | flight costs
    20, 10, 75, 85, 6, 40,
};

const MapEntry* mapEntry(const smap* m) {
  for (const MapEntry& e : worldMaps)
    if (e.map == m) return &e;
  return nullptr;
}

const CastEntry* castEntry(const chara* c) {
  for (const CastEntry& e : worldCast)
    if (e.who == c) return &e;
  return nullptr;
}

SDL_Surface* translatedPicture(SDL_Surface* french) {
  for (const PictureVariant& v : variants)
    if (*v.french == french && std::strcmp(v.language, language()) == 0 && *v.variant)
      return *v.variant;
  return french;
}

void load_rsc() {
  for (const Picture& p : pictures)
    *p.surface = LoadSurfaceFromGP8bitsImage(p.image, p.palette, p.w, p.h, p.flag);
}

void free_rsc() {
  for (const Picture& p : pictures) {
    FreeGPSurface(*p.surface);
    *p.surface = nullptr;
  }
}

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

void init2() {
  for (int i = 0; i < mapCount; i++) {
    const MapEntry& e = worldMaps[i];
    std::copy(e.built, e.built + e.w * e.h, grids[i]);
    *e.map = smap{e.w, e.h, e.startX, e.startY, 0, 0, grids[i]};
  }
  game = sgame{};
  for (const CastEntry& e : worldCast) {
    e.who->sprite = *e.sprite;
    e.who->face = e.face;
    e.who->frame = 0;
    e.who->beaten = 0;
    if (e.home) placeChara(e.home, e.who, e.x, e.y, e.dir);
  }
  perso.dir = 3;
  const StoryNumbers& n = storyNumbers;
  perso.pv = perso.pvMax = n.heroPv;
  perso.mana = perso.manaMax = n.heroMana;
  perso.force = n.heroForce;
  perso.resistance = n.heroResistance;
  perso.gold = n.heroGold;

  for (const FighterEntry& f : fighterTable) {
    chara& c = *f.who;
    c.pv = c.pvMax = f.pv;
    c.mana = c.manaMax = 0;
    c.force = f.force;
    c.resistance = f.resistance;
    c.bonusPvMax = f.bonusPvMax;
    c.bonusForce = f.bonusForce;
    c.bonusResistance = f.bonusResistance;
    c.healOnLoss = f.healOnLoss;
    c.removeOnWin = c.lossX = 0;
    c.lossY = f.lossY;
    c.lossDir = f.lossDir;
    c.noFlee = f.noFlee;
    c.fatal = f.fatal;
  }
  vagabond.scene = 0;
  gmere.gold = n.gmerePurse;
  gpere.pv = n.gpereLife;
}

// ---- hand-over between screens ----

ScreenId flow_next = SCR_NONE;
ScreenId flow_current = SCR_NONE;

bool flow_active = false;

namespace {
void runScreen(ScreenId s);
}  // namespace

void flow_handOver(ScreenId s) { flow_next = s; }

void flow_run(ScreenId first) {
  if (flow_active) {
    flow_handOver(first);
    return;
  }
  flow_active = true;
  ScreenId s = first;
  while (hal_working) {
    flow_next = SCR_NONE;
    flow_current = s;
    runScreen(s);
    // A screen ends by naming the next one; one that merely stops (the window closing) ends all.
    s = flow_next != SCR_NONE ? flow_next : SCR_MENU;
  }
  flow_next = SCR_NONE;
  flow_current = SCR_NONE;
  flow_active = false;
}

// The title menu is where the program's life is spent: called by the entry, it runs the screen
// loop until the window is closed; called from inside a screen, it hands over to a fresh menu.
void gameMenu() { flow_run(SCR_MENU); }

// Screen bodies live in their own modules.
void gameMenuScreen();
void gameIntroScreen();
void gameEngineScreen();
void gameInfoScreen();
void aboutScreen();
void bravoScreen();
void gameOverScreen();

namespace {
void runScreen(ScreenId s) {
  switch (s) {
    case SCR_MENU: gameMenuScreen(); break;
    case SCR_INTRO: gameIntroScreen(); break;
    case SCR_ENGINE: gameEngineScreen(); break;
    case SCR_INFO: gameInfoScreen(); break;
    case SCR_ABOUT: aboutScreen(); break;
    case SCR_BRAVO: bravoScreen(); break;
    case SCR_GAMEOVER: gameOverScreen(); break;
    case SCR_NONE: break;
  }
}
}  // namespace

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
