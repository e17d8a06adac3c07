// Maps, camera, characters, walking, the status display and dialogue boxes, on the real game.
#include <gtest/gtest.h>

#include "assets.h"
#include "harness.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

class World : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::start());
    // unit tests call the routines directly: hand-overs are only recorded
    flow_active = true;
  }
  void TearDown() override {
    flow_active = false;
    harness::stop();
  }
  static void standOn(smap* m, int x, int y, int dir) { harness::placeHero(m, x, y, dir); }
  static void keys(uint32_t k, uint32_t ch) {
    Key = k;
    KeyCh = ch;
  }
};

TEST_F(World, StartUpRegistersTheCastInOrder) {
  ASSERT_EQ(nbsprites, 20);
  EXPECT_EQ(sprites[0], &vagabond);
  EXPECT_EQ(sprites[8], &poule);
  EXPECT_EQ(sprites[19], &boss);
  for (int i = 0; i < nbsprites; i++) EXPECT_NE(sprites[i], &perso);
  EXPECT_EQ(garde4.sprite, pSurf_sprite_garde1);
  EXPECT_EQ(garde6.sprite, pSurf_sprite_garde1);
  EXPECT_EQ(garde5.sprite, pSurf_sprite_garde2);
  EXPECT_EQ(garde7.sprite, pSurf_sprite_garde2);
  int walkable = 0;
  for (int t = 0; t < 256; t++) walkable += marche[t] == 1;
  EXPECT_EQ(walkable, 66);
  for (int door : {93, 35, 146, 239, 138, 251, 64, 182}) EXPECT_EQ(marche[door], 0) << door;
  EXPECT_EQ(Screen->w, 320);
  EXPECT_EQ(Screen->h, 240);
  EXPECT_EQ(Screen->format->BitsPerPixel, 16);
  char* title = nullptr;
  SDL_WM_GetCaption(&title, nullptr);
  EXPECT_STREQ(title, "Talmyr demo 2'");
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST_F(World, SurfacesHaveTheirSizesAndTheSharedKey) {
  const std::pair<SDL_Surface*, std::pair<int, int>> sizes[] = {
      {pSurf_sprite_perso, {64, 128}},  {pSurf_sprite_boss, {64, 128}},
      {pSurf_tiles_decor, {32, 8160}},  {pSurf_icons_faceset, {24, 360}},
      {pSurf_sprite_icones, {16, 128}}, {pSurf_sprite_attaq1, {32, 96}},
      {pSurf_img_intro, {320, 240}},    {pSurf_img_bravo, {320, 240}},
      {pSurf_img_gameover, {320, 240}}, {pSurf_img_parch2, {320, 240}},
      {pSurf_img_battlebg, {320, 240}}};
  for (auto& [s, wh] : sizes) {
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, wh.first);
    EXPECT_EQ(s->h, wh.second);
  }
  // the transparent colour shows only where a sheet is empty: never in the tile strip
  const auto* t = static_cast<const uint16_t*>(pSurf_tiles_decor->pixels);
  int keyed = 0;
  for (int i = 0; i < 32 * 8160; i++) keyed += t[i] == TRANSPARENT_KEY;
  EXPECT_EQ(keyed, 0);
}

TEST_F(World, SetUpPlacesEveryoneAndANewGameRestoresThem) {
  EXPECT_EQ(vagabond.map, &ile);
  EXPECT_EQ(vagabond.px, 9 * 32);
  EXPECT_EQ(boss.map, &chateau);
  EXPECT_EQ(perso.pv, 20);
  EXPECT_EQ(perso.gold, 100);
  // what a played game changes, a new game puts back
  perso.force = 6;
  perso.pvMax = 50;
  perso.gold = 3;
  garde3.beaten = 1;
  garde3.pv = 0;
  placeChara(&chateau, &garde3, 10, 12, 2);
  placeChara(nullptr, &vagabond, -1, -1, 0);
  vagabond.scene = 2;
  gmere.gold = 0;
  gpere.pv = 10;
  entree.tiles[2 * 20 + 15] = 1;  // the food eaten
  maison1.lastX = 4;
  maison1.lastY = 3;
  init2();
  EXPECT_EQ(perso.force, 1);
  EXPECT_EQ(perso.pvMax, 20);
  EXPECT_EQ(perso.gold, 100);
  EXPECT_EQ(garde3.beaten, 0);
  EXPECT_EQ(garde3.pv, 50);
  EXPECT_EQ(garde3.y, 9);
  EXPECT_EQ(garde3.py, 9 * 32);
  EXPECT_EQ(vagabond.map, &ile);
  EXPECT_EQ(vagabond.x, 9);
  EXPECT_EQ(vagabond.scene, 0);
  EXPECT_EQ(gmere.gold, 75);
  EXPECT_EQ(gpere.pv, 20);
  // the maps as built: the food back, no stay remembered, and the grids as built never written
  EXPECT_EQ(entree.tiles[2 * 20 + 15], 254);
  EXPECT_EQ(map_entree[2 * 20 + 15], 254);
  EXPECT_NE(entree.tiles, map_entree);
  EXPECT_EQ(maison1.lastX, 0);
  EXPECT_EQ(game.tiles, nullptr);
  EXPECT_EQ(nbsprites, 20);
}

TEST_F(World, CameraFollowsTheHeroAndStopsAtTheBorders) {
  openLevel(&ile);
  const std::pair<int, int> xs[] = {{144, 0}, {145, 1},   {463, 319}, {464, 320},
                                    {470, 320}, {479, 320}, {600, 320}};
  for (auto [px, cam] : xs) {
    perso.px = px;
    perso.py = 0;
    affMap();
    EXPECT_EQ(game.camX, cam) << px;
  }
  perso.px = 544;
  perso.py = 448;  // the island's entry tile
  affMap();
  EXPECT_EQ(game.camX, 320);
  EXPECT_EQ(game.camY, 272);
  openLevel(&maison1);
  const std::pair<int, int> ys[] = {{104, 0}, {128, 24}, {152, 48}, {256, 48}};
  for (auto [py, cam] : ys) {
    perso.px = 200;
    perso.py = py;
    affMap();
    EXPECT_EQ(game.camX, 0);
    EXPECT_EQ(game.camY, cam) << py;
  }
}

TEST_F(World, LevelsRememberWhereTheHeroLeftThem) {
  openLevel(&ile);
  EXPECT_EQ(perso.x, 17);
  EXPECT_EQ(perso.y, 14);
  EXPECT_EQ(perso.px, 17 * 32);
  perso.x = 6;
  perso.y = 2;
  perso.dir = 0;
  openLevel(&village);
  EXPECT_EQ(ile.lastX, 6);
  EXPECT_EQ(ile.lastY, 2);
  EXPECT_EQ(perso.x, 10);
  EXPECT_EQ(perso.y, 14);
  EXPECT_EQ(perso.dir, 0);  // facing kept through doors
  openLevel(&ile);
  EXPECT_EQ(perso.x, 6);
  EXPECT_EQ(perso.y, 2);
  village.lastX = 5;
  village.lastY = 0;  // a zero coordinate means nothing stored
  openLevel(&village);
  EXPECT_EQ(perso.x, 10);
  EXPECT_EQ(perso.y, 14);
}

TEST_F(World, OnlyCharactersOfTheCurrentMapAreDrawnLaterOnTop) {
  standOn(&village, 10, 14, 0);
  // two characters on one tile: the later one in the registry is drawn over the earlier
  placeChara(&village, &pgarcon, 11, 12, 2);
  placeChara(&village, &femme1, 11, 12, 2);
  affMap();
  const int sx = 11 * 32 - game.camX + 16, sy = 12 * 32 - game.camY + 16;
  const uint16_t both = harness::pixel(sx, sy);
  placeChara(nullptr, &pgarcon, -1, -1, 0);
  affMap();
  EXPECT_EQ(harness::pixel(sx, sy), both);
  placeChara(nullptr, &femme1, -1, -1, 0);
  affMap();
  const uint16_t none = harness::pixel(sx, sy);
  EXPECT_NE(both, none);
  EXPECT_EQ(pgarcon.px, -32);
  // a character on another map is not drawn here
  placeChara(&ile, &femme1, 11, 12, 2);
  affMap();
  EXPECT_EQ(harness::pixel(sx, sy), none);
}

TEST_F(World, ScriptedWalksMoveTileByTileAtTheirPace) {
  standOn(&village, 10, 14, 0);
  placeChara(&village, &poule, 3, 4, 2);
  poule.frame = 0;
  const uint32_t t0 = GpTickCountGet();
  dplChara(&poule, 1, 2);
  EXPECT_EQ(poule.x, 5);
  EXPECT_EQ(poule.y, 4);
  EXPECT_EQ(poule.px, 160);
  EXPECT_EQ(poule.dir, 1);
  EXPECT_EQ(poule.frame, 1);  // toggled 9 times from 0
  EXPECT_GE(GpTickCountGet() - t0, 65u * 20u + 100u);

  // a walk of 0 tiles turns, toggles the frame once and takes one frame plus the pause
  const uint32_t t1 = GpTickCountGet();
  dplChara(&poule, 3, 0);
  EXPECT_EQ(poule.dir, 3);
  EXPECT_EQ(poule.frame, 0);
  EXPECT_EQ(poule.x, 5);
  EXPECT_EQ(GpTickCountGet() - t1, 20u + 100u);
}

TEST_F(World, TheHeroStepsOnlyOnWalkableFreeTilesInsideTheMap) {
  standOn(&ile, 17, 14, 3);
  // a direction alone turns and starts a step of one pixel
  keys(KEY_RIGHT, 0);
  perso.x = 3;
  perso.y = 4;
  perso.px = 96;
  perso.py = 128;
  chkDplPerso();
  EXPECT_EQ(perso.dir, 1);
  EXPECT_EQ(perso.px, 97);
  EXPECT_EQ(perso.x, 3);
  // the step goes on one pixel a frame; the frame toggles at 97, 105, 113 and 121
  perso.frame = 0;
  int toggles = 0, last = perso.frame;
  while (perso.px % 32 != 0) {
    dplPerso();
    if (perso.frame != last) toggles++;
    last = perso.frame;
  }
  EXPECT_EQ(perso.px, 128);
  EXPECT_EQ(toggles, 4);

  // several keys at once, or an arrow with the action key, do nothing at all
  standOn(&ile, 10, 5, 2);
  for (uint32_t k : {KEY_LEFT | KEY_UP, KEY_RIGHT | KEY_A, KEY_DOWN | KEY_START, KEY_A, 0u}) {
    keys(k, k);
    chkDplPerso();
    EXPECT_EQ(perso.dir, 2);
    EXPECT_EQ(perso.px, 320);
    EXPECT_EQ(perso.py, 160);
  }
  // against a door: turns, stays
  standOn(&ile, 14, 6, 3);  // the castle door (35) is at (15, 6)
  keys(KEY_RIGHT, KEY_RIGHT);
  chkDplPerso();
  EXPECT_EQ(perso.dir, 1);
  EXPECT_EQ(perso.px, 14 * 32);
  // on the map's edge: turns, never reads outside
  standOn(&maison1, 0, 3, 2);
  keys(KEY_LEFT, KEY_LEFT);
  chkDplPerso();
  EXPECT_EQ(perso.dir, 3);
  EXPECT_EQ(perso.px, 0);
  // a character blocks only on the current map
  standOn(&ile, 10, 14, 3);  // the vagrant stands at (9, 14)
  keys(KEY_LEFT, 0);
  chkDplPerso();
  EXPECT_EQ(perso.px, 320);
  placeChara(nullptr, &vagabond, -1, -1, 0);
  chkDplPerso();
  EXPECT_EQ(perso.px, 319);
  // Return held since an earlier frame does not open the information page
  standOn(&ile, 10, 5, 2);
  keys(KEY_START, 0);
  chkDplPerso();
  EXPECT_EQ(flow_next, SCR_NONE);
  keys(KEY_START, KEY_START);
  chkDplPerso();
  EXPECT_EQ(flow_next, SCR_INFO);
  flow_next = SCR_NONE;
}

TEST_F(World, AStatusBarWithoutAMaximumStaysEmpty) {
  chara c{};
  c.pv = 5;
  GpRectFill(Screen, 0, 0, 320, 240, 0xFFFF);
  affPVbar(&c, 10);  // no division by zero: the red background shows whole
  EXPECT_EQ(harness::pixel(11, 20), 0xF801);
}

TEST_F(World, ADialogueBoxWaitsForANewPressOfTheActionKey) {
  standOn(&village, 10, 14, 0);
  // Space already held when the box opens does not close it
  harness::press(SDLK_SPACE);
  hal_events();
  const uint32_t t0 = GpTickCountGet();
  harness::schedule({{t0 + 300, SDLK_SPACE, false}, {t0 + 400, SDLK_SPACE, true}});
  affTextPlus("Bonjour !", &gmere);
  EXPECT_GE(GpTickCountGet() - t0, 400u);
  harness::release(SDLK_SPACE);
  hal_events();
}

}  // namespace

namespace {

// The exploration loop itself, run through the screen loop with scripted keys.
class Exploring : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::start()); }
  void TearDown() override { harness::stop(); }
};

TEST_F(Exploring, HoldingRightThenUpOnTheIslandStepsTileByTile) {
  openLevel(&ile);
  static std::vector<int> pys;
  pys.clear();
  hal_flipHook = [] { pys.push_back(perso.py); };
  harness::schedule({{100, SDLK_RIGHT, true}, {600, SDLK_RIGHT, false},
                     {700, SDLK_UP, true}, {3000, SDLK_UP, false}});
  static int pxAfterRight, dirAfterRight;
  pxAfterRight = dirAfterRight = -1;
  harness::driver = [] {
    if (GpTickCountGet() >= 650 && dirAfterRight < 0) {
      pxAfterRight = perso.px;
      dirAfterRight = perso.dir;
    }
    if (GpTickCountGet() > 3500) harness::closeWindow();
  };
  flow_run(SCR_ENGINE);
  EXPECT_EQ(dirAfterRight, 1);
  EXPECT_EQ(pxAfterRight, 17 * 32);
  // Right from (17, 14) faces the shore: the hero turns and stays
  // Up walks to (17, 13), one pixel a frame, then the ledge at (17, 12) stops him
  EXPECT_EQ(perso.x, 17);
  EXPECT_EQ(perso.y, 13);
  EXPECT_EQ(perso.px, 17 * 32);
  EXPECT_EQ(perso.py, 13 * 32);
  EXPECT_EQ(perso.dir, 0);
  // the step: 448 on the tile, then 447 down to 416, one pixel per frame, no jumps
  auto first = std::find(pys.begin(), pys.end(), 447);
  ASSERT_NE(first, pys.end());
  for (int k = 0; k < 31; k++) EXPECT_EQ(*(first + k), 447 - k);
  EXPECT_EQ(pys.back(), 416);
}

TEST_F(Exploring, AThousandHandOversDoNotDeepenTheStack) {
  openLevel(&ile);
  static uintptr_t deepest[2];
  static int handOvers;
  static bool down;
  deepest[0] = deepest[1] = UINTPTR_MAX;
  handOvers = 0;
  down = false;
  static ScreenId last;
  last = SCR_ENGINE;
  harness::driver = [] {
    char probe;
    const uintptr_t here = reinterpret_cast<uintptr_t>(&probe);
    if (flow_current != last) {
      handOvers++;
      last = flow_current;
    }
    uintptr_t& d = deepest[handOvers < 500 ? 0 : 1];
    d = std::min(d, here);
    if (handOvers >= 1000) {
      harness::closeWindow();
      return;
    }
    // Return opens the information page; any key leaves it: each is a hand-over
    if (down) {
      harness::release(SDLK_RETURN);
      down = false;
    } else {
      harness::press(SDLK_RETURN);
      down = true;
    }
  };
  flow_run(SCR_ENGINE);
  EXPECT_GE(handOvers, 1000);
  EXPECT_EQ(deepest[0], deepest[1]);  // the deepest point of the stack is the same late as early
}

TEST_F(Exploring, AScenesKeysStillReachTheMoveCheckOfItsFrame) {
  // Holding Up into the first house: the welcome starts on row 2; once its last line is closed,
  // the same frame's move check still sees Up and starts the next step at once.
  openLevel(&maison1);
  static int answered;
  static int pyAfterScene;
  answered = 0;
  pyAfterScene = -1;
  hal_flipHook = [] {
    if (answered == 11 && pyAfterScene < 0 && hal_waitMask == 0) pyAfterScene = perso.py;
  };
  harness::press(SDLK_UP);
  harness::driver = [] {
    static bool spaceDown = false;
    if (spaceDown) {
      harness::release(SDLK_SPACE);
      spaceDown = false;
    } else if (hal_waitMask & KEY_A) {
      harness::press(SDLK_SPACE);
      spaceDown = true;
      answered++;
    }
    if (pyAfterScene >= 0) harness::closeWindow();
  };
  flow_run(SCR_ENGINE);
  EXPECT_EQ(answered, 11);
  EXPECT_EQ(perso.gold, 185);
  EXPECT_EQ(pyAfterScene, 2 * 32 - 1);
}

}  // namespace
