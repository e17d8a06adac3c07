// The world: the globals every module shares, the tables it is made from (maps, cast, fighters,
// the story's numbers), and a new game's world made from them (init2).
#include "assets.h"
#include "globals.h"

#include <algorithm>

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

namespace {

// The game's own copy of every grid, as a new game finds it.
int16_t grids[mapCount][20 * 16];

}  // namespace

// The tables are laid out by hand, a row each.
// clang-format off
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
    // the hero at the start: pv mana force resistance gold
    20, 10, 1, 1, 100,
    // the grandfather's gift: +pvMax +manaMax +force +resistance
    15, 10, 1, 1,
    // the grandfather: life, what the gift costs him | the grandmother: purse, what she gives
    20, 10, 75, 85,
    // the master asks (strength and resistance, each) | a flight costs (gold)
    6, 40,
};
// clang-format on

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
