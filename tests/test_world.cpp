// The world's rules on the real game, the corners the story's transcript and pictures never reach:
// a new game, the camera, steps, hand-overs, duels' menus and losses, the pages, the sheets' key colour.
#include <gtest/gtest.h>

#include "assets.h"
#include "harness.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

class World : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::start());
    flow_active = true;  // routines called directly: hand-overs are only recorded
  }
  void TearDown() override {
    flow_active = false;
    harness::stop();
  }
};

// Keys pressed together once their screen runs (SCR_NONE: any), released at the pump `pumps` later
// or when the screen hands over; the window closes after the last step when `closeAtEnd`.
struct Step {
  ScreenId when;
  std::vector<SDLKey> keys;
  int pumps = 1;
};
std::vector<Step> steps;
std::vector<ScreenId> seen;
std::vector<uint32_t> seenAt;
size_t next;
int held;
bool closeAtEnd;

void script(std::vector<Step> s, bool close = true) {
  steps = std::move(s);
  seen.clear();
  seenAt.clear();
  next = held = 0;
  closeAtEnd = close;
  harness::driver = [] {
    if (seen.empty() || seen.back() != flow_current) seen.push_back(flow_current), seenAt.push_back(GpTickCountGet());
    if (held > 0) {
      if (--held > 0 && flow_current == steps[next - 1].when) return;
      for (SDLKey k : steps[next - 1].keys) harness::release(k);
      held = 0;
    } else if (next == steps.size()) {
      if (closeAtEnd) harness::closeWindow();
    } else if (steps[next].when == SCR_NONE || steps[next].when == flow_current) {
      for (SDLKey k : steps[next].keys) harness::press(k);
      held = steps[next++].pumps;
    }
  };
}

void fromMenu(std::vector<Step> s) {
  flow_active = false;
  script(std::move(s));
  harness::runFromMenu();
}

void fight(chara* c) {
  harness::releaseAll();
  ennemi = c;
  gameCombat();
}

TEST_F(World, ANewGameUndoesAPlayedOneOnFreshCopiesOfTheGrids) {
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);  // no mouse pointer over the picture
  perso.force = 6, perso.pvMax = 50, perso.gold = 3, garde3.beaten = 1, gmere.gold = 0, gpere.pv = 10;
  placeChara(&chateau, &garde3, 10, 12, 2);
  placeChara(nullptr, &vagabond, -1, -1, 0);
  vagabond.scene = 2;
  entree.tiles[2 * 20 + 15] = 1;  // the food eaten
  maison1.lastX = 4, maison1.lastY = 3;
  init2();
  EXPECT_EQ(std::make_tuple(perso.force, perso.pvMax, perso.gold, garde3.beaten, garde3.py, gmere.gold, gpere.pv),
            std::make_tuple(1, 20, 100, 0, 9 * 32, 75, 20));
  EXPECT_EQ(std::make_tuple(garde3.pv, vagabond.map, vagabond.x, vagabond.scene), std::make_tuple(50, &ile, 9, 0));
  EXPECT_EQ(std::make_tuple(entree.tiles[2 * 20 + 15], map_entree[2 * 20 + 15], maison1.lastX), std::make_tuple(254, 254, 0));
  EXPECT_NE(entree.tiles, map_entree);
}

TEST_F(World, TheCameraFollowsTheHeroAndStopsAtTheBorders) {
  const std::tuple<smap*, int, int, int, int> rows[] = {
      {&ile, 144, 0, 0, 0},         {&ile, 145, 0, 1, 0},         {&ile, 463, 0, 319, 0},
      {&ile, 464, 0, 320, 0},       {&ile, 600, 0, 320, 0},       {&ile, 544, 448, 320, 272},
      {&maison1, 200, 104, 0, 0},   {&maison1, 200, 128, 0, 24},  {&maison1, 200, 152, 0, 48},
      {&maison1, 200, 256, 0, 48}};
  for (auto [m, px, py, camX, camY] : rows) {
    openLevel(m);
    perso.px = px, perso.py = py;
    affMap();
    EXPECT_EQ(std::make_pair(game.camX, game.camY), std::make_pair(camX, camY)) << px << "," << py;
  }
}

TEST_F(World, OneArrowAloneStepsOnWalkableFreeTilesInsideTheMap) {
  // the map and tile, the keys held and new, then the facing and the pixel after one move check
  const std::tuple<smap*, int, int, uint32_t, uint32_t, int, int> rows[] = {
      {&ile, 3, 4, KEY_RIGHT, 0, 1, 97},                     // a held arrow turns and starts a step
      {&ile, 10, 5, KEY_LEFT | KEY_UP, KEY_LEFT | KEY_UP, 2, 320},  // never two keys at once
      {&ile, 10, 5, KEY_RIGHT | KEY_A, KEY_RIGHT | KEY_A, 2, 320},
      {&ile, 10, 5, KEY_DOWN | KEY_START, KEY_DOWN | KEY_START, 2, 320},
      {&ile, 10, 5, KEY_A, KEY_A, 2, 320},
      {&ile, 14, 6, KEY_RIGHT, KEY_RIGHT, 1, 448},           // the castle's door at (15, 6)
      {&maison1, 0, 3, KEY_LEFT, KEY_LEFT, 3, 0},            // the map's edge
      {&ile, 10, 14, KEY_LEFT, 0, 3, 320}};                  // the vagrant at (9, 14)
  for (auto [m, x, y, key, ch, dir, px] : rows) {
    harness::placeHero(m, x, y, 2);
    Key = key, KeyCh = ch;
    chkDplPerso();
    EXPECT_EQ(std::make_tuple(perso.dir, perso.px, perso.py), std::make_tuple(dir, px, 32 * y)) << x << "," << y;
  }
  placeChara(nullptr, &vagabond, -1, -1, 0);  // gone from his map, he blocks nothing
  chkDplPerso();
  EXPECT_EQ(perso.px, 319);
  // the step goes on one pixel a call, the legs toggling at 97, 105, 113 and 121
  harness::placeHero(&ile, 3, 4, 1);
  Key = KEY_RIGHT, KeyCh = 0;
  chkDplPerso();
  perso.frame = 0;
  int toggles = 0;
  for (int px = 97, last = perso.frame; px < 128; px++, last = perso.frame) {
    dplPerso();
    ASSERT_EQ(perso.px, px + 1);
    toggles += perso.frame != last;
  }
  EXPECT_EQ(toggles, 4);
  // Return held from an earlier frame does not open the information page; a new press does
  harness::placeHero(&ile, 10, 5, 2);
  Key = KEY_START, KeyCh = 0;
  chkDplPerso();
  EXPECT_EQ(flow_next, SCR_NONE);
  KeyCh = KEY_START;
  chkDplPerso();
  EXPECT_EQ(flow_next, SCR_INFO);
  flow_next = SCR_NONE;
}

TEST_F(World, AThousandHandOversDoNotDeepenTheStack) {
  static uintptr_t deepest[2];
  static int handOvers;
  static ScreenId last;
  deepest[0] = deepest[1] = UINTPTR_MAX, handOvers = 0, last = SCR_ENGINE;
  openLevel(&ile);
  harness::driver = [] {
    char probe;
    if (flow_current != last) handOvers++, last = flow_current;
    uintptr_t& d = deepest[handOvers < 500 ? 0 : 1];
    d = std::min(d, reinterpret_cast<uintptr_t>(&probe));
    if (handOvers >= 1000) return harness::closeWindow();
    static bool down = false;  // Return opens the information page, any key leaves it
    (down = !down) ? harness::press(SDLK_RETURN) : harness::release(SDLK_RETURN);
  };
  flow_active = false;
  flow_run(SCR_ENGINE);
  EXPECT_GE(handOvers, 1000);
  EXPECT_EQ(deepest[0], deepest[1]);
}

TEST_F(World, AScenesLastKeyStillReachesTheMoveCheckOfItsFrame) {
  // Up held into the first house: once the welcome's last box closes, that frame steps on at once
  static int answered, pyAfter;
  answered = 0, pyAfter = -1;
  openLevel(&maison1);
  hal_flipHook = [] {
    if (answered == 11 && pyAfter < 0 && hal_waitMask == 0) pyAfter = perso.py;
  };
  harness::press(SDLK_UP);
  harness::driver = [] {
    if (pyAfter >= 0) return harness::closeWindow();
    static bool down = false;
    if (down) harness::release(SDLK_SPACE), down = false;
    else if (hal_waitMask & KEY_A) harness::press(SDLK_SPACE), down = true, answered++;
  };
  flow_active = false;
  flow_run(SCR_ENGINE);
  EXPECT_EQ(answered, 11);
  EXPECT_EQ(perso.gold, 185);
  EXPECT_EQ(pyAfter, 2 * 32 - 1);
}

TEST_F(World, TheDuelsCursorMovesOnlyOnOneNewArrowAndNeverWraps) {
  openLevel(&ile);
  script({{SCR_NONE, {SDLK_DOWN, SDLK_RIGHT}}, {SCR_NONE, {SDLK_UP}}, {SCR_NONE, {SDLK_SPACE}}});
  fight(&garde1);
  EXPECT_LT(garde1.pv, 40);  // the dragon attack struck
  EXPECT_EQ(perso.gold, 100);
  hal_working = 1, flow_next = SCR_NONE;
  script({{SCR_NONE, {SDLK_DOWN}}, {SCR_NONE, {SDLK_DOWN}}, {SCR_NONE, {SDLK_DOWN}}, {SCR_NONE, {SDLK_SPACE}}});
  fight(&garde2);
  EXPECT_EQ(garde2.pv, 30);  // not round to RYUKEN: FUITE, for 40 coins
  EXPECT_EQ(perso.gold, 60);
}

TEST_F(World, AGuardWhoWinsIsWholeAgainAndTheHeroWakesOnHisRow) {
  openLevel(&entree);
  perso.pv = 1, perso.x = 10, perso.y = 1, perso.dir = 0, garde1.pv = 12;
  script({{SCR_NONE, {SDLK_SPACE}}}, false);
  srand(3);
  fight(&garde1);
  EXPECT_EQ(std::make_tuple(garde1.pv, garde1.beaten, perso.x, perso.y, perso.py, perso.dir),
            std::make_tuple(40, 0, 10, 2, 64, 2));
  EXPECT_EQ(flow_next, SCR_ENGINE);
  flow_next = SCR_NONE;
}

TEST_F(World, TheTitleMenuTheAboutPageTheIntroAndTheInformationPage) {
  // no wrap at either end, no move with another key held; Return or Space chooses; Return alone
  // skips the intro; any game key but Escape leaves the information page, its key going no further
  fromMenu({{SCR_MENU, {SDLK_UP}},          {SCR_MENU, {SDLK_DOWN}},         {SCR_MENU, {SDLK_DOWN}},
            {SCR_MENU, {SDLK_RETURN}},      {SCR_ABOUT, {SDLK_SPACE}},       {SCR_MENU, {SDLK_DOWN, SDLK_LEFT}},
            {SCR_MENU, {SDLK_SPACE}},       {SCR_INTRO, {SDLK_RETURN, SDLK_LEFT}}, {SCR_INTRO, {SDLK_RETURN}},
            {SCR_ENGINE, {SDLK_RETURN}},    {SCR_INFO, {SDLK_ESCAPE}},       {SCR_INFO, {SDLK_a}},
            {SCR_INFO, {SDLK_LEFT}},        {SCR_ENGINE, {SDLK_RETURN}},     {SCR_INFO, {SDLK_SPACE}}});
  const std::vector<ScreenId> want = {SCR_MENU, SCR_ABOUT, SCR_MENU, SCR_INTRO, SCR_ENGINE,
                                      SCR_INFO, SCR_ENGINE, SCR_INFO, SCR_ENGINE};
  ASSERT_EQ(seen, want);
  EXPECT_LT(seenAt[4] - seenAt[3], 3000u);
  EXPECT_EQ(std::make_tuple(game.map, perso.px, perso.py, perso.dir), std::make_tuple(&ile, 17 * 32, 14 * 32, 3));
}

TEST_F(World, HoldingDownEndsTheIntroInAboutEightyFiveFrames) {
  static int introFrames;
  introFrames = 0;
  hal_flipHook = [] { introFrames += flow_current == SCR_INTRO; };
  fromMenu({{SCR_MENU, {SDLK_SPACE}}, {SCR_INTRO, {SDLK_DOWN}, 100000}});
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen[2], SCR_ENGINE);
  EXPECT_GE(introFrames, 83);
  EXPECT_LE(introFrames, 87);
}

TEST_F(World, EverySheetIsTransparentExactlyWhereItsPixelsIndexIs135) {
  const std::tuple<SDL_Surface*, const unsigned char*, int, int> pics[] = {
      {pSurf_icons_faceset, icons_faceset, 24, 360}, {pSurf_img_battlebg, img_battlebg, 320, 240},
      {pSurf_sprite_attaq1, sprite_attaq1, 32, 96},  {pSurf_sprite_boss, sprite_boss, 64, 128},
      {pSurf_sprite_perso, sprite_perso, 64, 128},   {pSurf_sprite_poule, sprite_poule, 64, 128},
      {pSurf_sprite_garde1, sprite_garde1, 64, 128}, {pSurf_sprite_icones, sprite_icones, 16, 128},
      {pSurf_tiles_decor, tiles_decor, 32, 8160},    {pSurf_sprite_roi, sprite_roi, 64, 128}};
  for (auto [s, image, w, h] : pics) {
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(std::make_pair(s->w, s->h), std::make_pair(w, h));
    const auto* px = static_cast<const uint16_t*>(s->pixels);
    int mismatches = 0;
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) mismatches += (image[x * h + (h - 1 - y)] == 135) != (px[y * w + x] == TRANSPARENT_KEY);
    EXPECT_EQ(mismatches, 0) << w << "x" << h;
  }
  for (int i = 0; i < 256; i++) EXPECT_EQ(npal[i] == 0xE021, i == 135) << i;
  for (const unsigned short* pal : {npal, img_bravo_Pal, img_gameover_Pal, img_intro_Pal, img_parch2_Pal})
    for (int i = 0; i < 256; i++) EXPECT_EQ(pal[i] & 1, 1) << i;
}

}  // namespace
