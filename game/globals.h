// Records and globals shared by every module of the game.
// Game text is ISO-8859-1 bytes, written in UTF-8 as the player reads it where it is said, inside
// _("...") (text.h).
#pragma once

#include "fct_gp.h"
#include "lang.h"
#include "text.h"
#include <cstdint>

struct smap {
  int32_t w, h;
  int32_t startX, startY;
  int32_t lastX, lastY;  // where the hero stood when he last left this map; 0: none
  int16_t* tiles;        // row-major tile numbers, 1..255
};

struct sgame {
  smap* map;
  int16_t* tiles;  // null until the first openLevel
  int32_t w, h;
  int32_t camX, camY;
};

struct chara {
  SDL_Surface* sprite;
  smap* map;  // null: on no map
  int32_t face;
  int32_t x, y;
  int32_t px, py;
  int32_t dir;  // 0 up, 1 right, 2 down, 3 left
  int32_t frame;
  int32_t pv, pvMax;
  int32_t mana, manaMax;
  int32_t force, resistance;
  int32_t gold;
  int32_t noFlee, fatal;
  int32_t bonusPvMax, bonusForce, bonusResistance;
  int32_t removeOnWin, healOnLoss;
  int32_t lossX, lossY, lossDir;
  int32_t scene;
  int32_t beaten;
};

// maps
extern smap ile, village, maison1, maison2, maison3, entree, chateau;
extern sgame game;

// cast
extern chara perso;
extern chara vagabond, gmere, gmere2, gpere, femme1, femme2, pgarcon, pfille, poule;
extern chara garde1, garde2, garde3, garde4, garde5, garde6, garde7;
extern chara roi, reine, princesse, boss;

// The world's one table: every map and every character with the name the kept game, the tests and
// the tools write, and where a new game has them. A new game plays on its own copy of each grid
// (eating food writes into it); the grids as built stay as they are.
struct MapEntry {
  const char* name;
  smap* map;
  int w, h, startX, startY;
  const int16_t* built;
};
struct CastEntry {
  const char* name;
  chara* who;
  SDL_Surface** sprite;
  int face;
  smap* home;  // the map a new game places him on (null for the hero, whom the intro places)
  int x, y, dir;
};
constexpr int mapCount = 7, castCount = 21;
extern const MapEntry worldMaps[mapCount];
extern const CastEntry worldCast[castCount];  // the hero first, then in the order of sprites[]
// Every duellist's figures, one row each: what he fights with, what beating him gives the hero, and
// what follows when the hero loses to him.
struct FighterEntry {
  chara* who;
  int pv, force, resistance;                    // life (full at the start), strength, resistance
  int bonusPvMax, bonusForce, bonusResistance;  // the hero's gains when he wins
  int healOnLoss;                               // 1: heals whole when the hero loses to him
  int lossY, lossDir;                           // the hero's row and facing after a loss (0: kept)
  int noFlee, fatal;                            // 1: no flight from him / losing ends the game
};
constexpr int fighterCount = 9;
extern const FighterEntry fighterTable[fighterCount];
// The story's other numbers, beside the fighters': read by the new game (init2), by the scenes
// that give and take (the gift, the grandmother, the master's challenge, a flight) and by the kept
// game's checks, which derive from them what a hero can hold.
struct StoryNumbers {
  // a new game's hero, life and magic full
  int heroPv, heroMana, heroForce, heroResistance, heroGold;
  // what the grandfather's gift adds
  int giftPvMax, giftManaMax, giftForce, giftResistance;
  // the grandfather's life, and what of it the gift costs him
  int gpereLife, gpereGives;
  // the grandmother's gold at the start (shown nowhere), and what she gives the hero
  int gmerePurse, gmereGives;
  // the strength and the resistance the castle's master waits for, each
  int masterAsks;
  // the gold a flight from a duel costs
  int fleeCost;
};
extern const StoryNumbers storyNumbers;
// The table's entry for a map or a character, or null.
const MapEntry* mapEntry(const smap* m);
const CastEntry* castEntry(const chara* c);

constexpr int MAX_SPRITES = 25;
extern chara* sprites[MAX_SPRITES];
extern int nbsprites;
extern chara* ennemi;

extern uint32_t Key, KeyCh;  // per-frame copies of the key masks
extern uint32_t nTick;       // time stamp of the current walking frame
extern int32_t marche[256];

extern Mix_Music* music;   // exploration
extern Mix_Music* music2;  // battle

// the 26 picture surfaces
extern SDL_Surface *pSurf_icons_faceset, *pSurf_img_battlebg, *pSurf_img_bravo, *pSurf_img_gameover,
    *pSurf_img_intro, *pSurf_img_parch2, *pSurf_sprite_attaq1, *pSurf_sprite_boss,
    *pSurf_sprite_femme1, *pSurf_sprite_femme2, *pSurf_sprite_garde1, *pSurf_sprite_garde2,
    *pSurf_sprite_garde3, *pSurf_sprite_gmere, *pSurf_sprite_gmere2, *pSurf_sprite_gpere,
    *pSurf_sprite_icones, *pSurf_sprite_perso, *pSurf_sprite_pfille, *pSurf_sprite_pgarcon,
    *pSurf_sprite_poule, *pSurf_sprite_princesse, *pSurf_sprite_reine, *pSurf_sprite_roi,
    *pSurf_sprite_vagabond, *pSurf_tiles_decor;
// the pictures with words painted in, in the other languages
extern SDL_Surface* pSurf_img_bravo_en;
// A picture as the language of the run paints it: its variant in that language, if it has one.
SDL_Surface* translatedPicture(SDL_Surface* french);

// ---- entry and start-up (gpmain.cpp), a new game (world.cpp), the pictures (pictures.cpp) ----
int SDL_main(int argc, char** argv);
bool init();
// A new game's world: every map as built and nobody's stay remembered, the cast at home.
void init2();
void load_rsc();
void free_rsc();
// Releases everything start-up made and quits SDL.
void shutdownAll();

// ---- world ----
void openLevel(smap* m);
void affMap();
void initChara(chara* c);
void placeChara(smap* m, chara* c, int x, int y, int dir);
void affChara(chara* c);
void dplChara(chara* c, int dir, int n);
void chkDplPerso();
void dplPerso();
void initMarche();

// ---- status display and dialogue boxes ----
void affPVbar(chara* c, int x);
void affMPbar(chara* c, int x);
void affORbar(chara* c, int x);
void affIcone(int n, int x, int y);
void affCenteredText(int y, const char* text, int colour);
// The exploration view: the map with its characters, the hero, the status display (no flip).
void affView();
void affText(const char* text);
void affTextPlus(const char* text, chara* speaker);
extern const char* dlg_lastText;  // test hook: the line of the latest box, and who said it
extern const chara* dlg_lastSpeaker;

// ---- story ----
// The doors, in the order the action key tests them: facing `tile` on map `from` (and standing on
// (heroX, heroY) when heroX is not -1) leads to map `to`.
struct Door {
  smap* from;
  int tile;
  int heroX, heroY;
  smap* to;
};
constexpr int doorCount = 12;
extern const Door doorTable[doorCount];
void chkAction();
void chkPos();

// ---- screens ----
void gameCombat();
void affCombatBg();
void affCombatMenu(int choice);
void gameEngine();
void gameMenu();
void gameIntro();
void gameInfo();
void about();
void bravo();
void gameOver();

// ---- hand-over between screens ----
// A screen that hands control on names the next screen and returns; one small loop at the top
// runs it. Every loop and script stops as soon as a hand-over is pending, so nothing of an
// interrupted frame or script runs after it, and the call stack stays bounded.
enum ScreenId {
  SCR_NONE,
  SCR_MENU,
  SCR_INTRO,
  SCR_ENGINE,
  SCR_INFO,
  SCR_ABOUT,
  SCR_BRAVO,
  SCR_GAMEOVER
};
extern ScreenId flow_next;
void flow_handOver(ScreenId s);
// True while the current screen may go on: the window is open and no hand-over is pending.
inline bool flow_running() { return hal_working && flow_next == SCR_NONE; }
// True while the screen loop runs: screen calls then only record a hand-over.
extern bool flow_active;
// Runs screens from `first` on until the window is closed (or hands over when already running).
void flow_run(ScreenId first);
// Which screen is running now (for tests and tools).
extern ScreenId flow_current;
