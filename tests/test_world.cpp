// The world's rules on the real game, the corners the story's transcript and pictures never reach:
// a new game after a played one, which keys move the hero, the duel's and the title's menus.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "assets.h"
#include "harness.h"

void gameInfoScreen();

namespace {

class World : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::start());
    flow_active = true;
  }  // hand-overs only recorded
  void TearDown() override {
    flow_active = false;
    harness::stop();
  }
};

// Keys pressed together once their screen runs (SCR_NONE: any), released `pumps` later or when the
// screen hands over; the window closes after the last step. `seen`: the screens in turn.
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

void script(std::vector<Step> s) {
  steps = std::move(s);
  seen.clear();
  seenAt.clear();
  next = held = 0;
  harness::driver = [] {
    if (seen.empty() || seen.back() != flow_current) {
      seen.push_back(flow_current);
      seenAt.push_back(GpTickCountGet());
    }
    if (held > 0) {
      if (--held > 0 && flow_current == steps[next - 1].when) return;
      for (SDLKey k : steps[next - 1].keys) harness::release(k);
      held = 0;
    } else if (next == steps.size()) {
      harness::closeWindow();
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

TEST_F(World, ANewGameUndoesAPlayedOneOnFreshCopiesOfTheGrids) {
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);  // no mouse pointer over the picture
  perso.force = 6, perso.pvMax = 50, perso.gold = 3, garde3.beaten = 1, gmere.gold = 0,
  gpere.pv = 10;
  placeChara(&chateau, &garde3, 10, 12, 2);
  placeChara(nullptr, &vagabond, -1, -1, 0);
  vagabond.scene = 2;
  entree.tiles[2 * 20 + 15] = 1;  // the food eaten
  maison1.lastX = 4, maison1.lastY = 3;
  init2();
  EXPECT_EQ(std::make_tuple(perso.force, perso.pvMax, perso.gold, garde3.beaten, garde3.py,
                            gmere.gold, gpere.pv),
            std::make_tuple(1, 20, 100, 0, 9 * 32, 75, 20));
  EXPECT_EQ(std::make_tuple(garde3.pv, vagabond.map, vagabond.x, vagabond.scene),
            std::make_tuple(50, &ile, 9, 0));
  EXPECT_EQ(std::make_tuple(entree.tiles[2 * 20 + 15], map_entree[2 * 20 + 15], maison1.lastX),
            std::make_tuple(254, 254, 0));
  EXPECT_NE(entree.tiles, map_entree);
}

TEST_F(World, OneArrowAloneStepsOnWalkableFreeTilesInsideTheMap) {
  // the map and tile, the keys held and new, then the facing and the pixel after one move check
  const std::tuple<smap*, int, int, uint32_t, uint32_t, int, int> rows[] = {
      {&ile, 3, 4, KEY_RIGHT, 0, 1, 97},  // a held arrow turns and starts a step
      {&ile, 10, 5, KEY_LEFT | KEY_UP, KEY_LEFT | KEY_UP, 2, 320},  // never two keys at once
      {&ile, 10, 5, KEY_RIGHT | KEY_A, KEY_RIGHT | KEY_A, 2, 320},
      {&ile, 10, 5, KEY_DOWN | KEY_START, KEY_DOWN | KEY_START, 2, 320},
      {&ile, 10, 5, KEY_A, KEY_A, 2, 320},
      {&ile, 14, 6, KEY_RIGHT, KEY_RIGHT, 1, 448},  // the castle's door at (15, 6)
      {&maison1, 0, 3, KEY_LEFT, KEY_LEFT, 3, 0},   // the map's edge
      {&ile, 10, 14, KEY_LEFT, 0, 3, 320}};         // the vagrant at (9, 14)
  for (auto [m, x, y, key, ch, dir, px] : rows) {
    harness::placeHero(m, x, y, 2);
    Key = key, KeyCh = ch;
    chkDplPerso();
    EXPECT_EQ(std::make_tuple(perso.dir, perso.px, perso.py), std::make_tuple(dir, px, 32 * y))
        << x << "," << y;
  }
  placeChara(nullptr, &vagabond, -1, -1, 0);  // gone from his map, he blocks nothing
  chkDplPerso();
  EXPECT_EQ(perso.px, 319);
  // the step goes on a pixel a call, the legs toggling at 97, 105, 113 and 121
  harness::placeHero(&ile, 3, 4, 1);
  Key = KEY_RIGHT, KeyCh = 0;
  chkDplPerso();
  int pixels = 0, toggles = 0;
  for (int px = 97, last = perso.frame = 0; px < 128; px++, last = perso.frame)
    dplPerso(), pixels += perso.px == px + 1, toggles += perso.frame != last;
  EXPECT_EQ(std::make_pair(pixels, toggles), std::make_pair(31, 4));
  // Return held from an earlier frame does not open the information page; a new press does
  harness::placeHero(&ile, 10, 5, 2);
  Key = KEY_START, KeyCh = 0;
  chkDplPerso();
  EXPECT_EQ(flow_next, SCR_NONE);
  KeyCh = KEY_START;
  chkDplPerso();
  EXPECT_EQ(flow_next, SCR_INFO);
}

TEST_F(World, TheDuelsCursorMovesOnlyOnOneNewArrowAndNeverWraps) {
  openLevel(&ile);
  auto fight = [](chara* c, std::vector<Step> s) {
    script(std::move(s));
    harness::releaseAll();
    ennemi = c;
    gameCombat();
    hal_working = 1, flow_next = SCR_NONE;
  };
  fight(&garde1,
        {{SCR_NONE, {SDLK_DOWN, SDLK_RIGHT}}, {SCR_NONE, {SDLK_UP}}, {SCR_NONE, {SDLK_SPACE}}});
  EXPECT_LT(garde1.pv, 40);  // the dragon attack struck
  EXPECT_EQ(perso.gold, 100);
  fight(&garde2, {{SCR_NONE, {SDLK_DOWN}},
                  {SCR_NONE, {SDLK_DOWN}},
                  {SCR_NONE, {SDLK_DOWN}},
                  {SCR_NONE, {SDLK_SPACE}}});
  EXPECT_EQ(garde2.pv, 30);  // not round to RYUKEN: FUITE, for 40 coins
  EXPECT_EQ(perso.gold, 60);
}

TEST_F(World, TheTitleMenuTheAboutPageTheIntroAndTheInformationPage) {
  // no wrap at either end, no move with another key held; Return or Space chooses; Return alone
  // skips the intro; any game key but Escape leaves the information page, its key going no further
  fromMenu({{SCR_MENU, {SDLK_UP}},
            {SCR_MENU, {SDLK_DOWN}},
            {SCR_MENU, {SDLK_DOWN}},
            {SCR_MENU, {SDLK_RETURN}},
            {SCR_ABOUT, {SDLK_SPACE}},
            {SCR_MENU, {SDLK_DOWN, SDLK_LEFT}},
            {SCR_MENU, {SDLK_SPACE}},
            {SCR_INTRO, {SDLK_RETURN, SDLK_LEFT}},
            {SCR_INTRO, {SDLK_RETURN}},
            {SCR_ENGINE, {SDLK_RETURN}},
            {SCR_INFO, {SDLK_ESCAPE}},
            {SCR_INFO, {SDLK_a}},
            {SCR_INFO, {SDLK_LEFT}},
            {SCR_ENGINE, {SDLK_RETURN}},
            {SCR_INFO, {SDLK_SPACE}}});
  const std::vector<ScreenId> want = {SCR_MENU, SCR_ABOUT,  SCR_MENU, SCR_INTRO, SCR_ENGINE,
                                      SCR_INFO, SCR_ENGINE, SCR_INFO, SCR_ENGINE};
  ASSERT_EQ(seen, want);
  EXPECT_LT(seenAt[4] - seenAt[3], 3000u);
  EXPECT_EQ(std::make_tuple(game.map, perso.px, perso.py, perso.dir),
            std::make_tuple(&ile, 17 * 32, 14 * 32, 3));
}

// The intro's lines scroll out through the top edge, not vanishing before they reach it.
TEST_F(World, HoldingDownEndsTheIntroInAboutEightyFiveFrames) {
  static int introFrames, topRowLit;
  introFrames = topRowLit = 0;
  hal_flipHook = [] {
    if (flow_current != SCR_INTRO) return;
    introFrames++;
    for (int x = 0; x < 320; x++)
      if (harness::pixel(x, 0) != 0) return void(topRowLit++);
  };
  fromMenu({{SCR_MENU, {SDLK_SPACE}}, {SCR_INTRO, {SDLK_DOWN}, 100000}});
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen[2], SCR_ENGINE);
  EXPECT_GE(introFrames, 83);
  EXPECT_LE(introFrames, 87);
  EXPECT_GE(topRowLit, 20) << "lines cut off before the top edge";
}

// Late in a game, where no figure equals another, each line shows its own.
TEST_F(World, TheInformationPageShowsEachOfTheHerosFigures) {
  perso.pv = 33, perso.pvMax = 50, perso.mana = 7, perso.manaMax = 20, perso.force = 4,
  perso.resistance = 6;
  static std::vector<std::string> texts;
  texts.clear();
  hal_textHook = [](const char* t, int, int, unsigned short) { texts.emplace_back(t); };
  script({{SCR_NONE, {SDLK_SPACE}}});
  gameInfoScreen();
  const std::vector<std::string> want = {"PV          33/50", "MANA        7/20", "FORCE       4",
                                         "RESISTANCE  6"};
  EXPECT_EQ(texts, want);
}

// The view follows the hero pixel by pixel and stops at the map's edges, the right and bottom
// ones too while he is between two tiles there.
TEST_F(World, TheCameraFollowsTheHeroAndStopsAtTheMapsEdges) {
  for (smap* m : {&ile, &maison1}) {
    harness::placeHero(m, 1, 1, 0);
    for (int axis = 0; axis < 2; axis++)
      for (int p = 0; p <= 32 * ((axis ? m->h : m->w) - 1); p++) {
        (axis ? perso.py : perso.px) = p;
        affMap();
        const int want = axis ? std::clamp(p - 104, 0, 32 * m->h - 240)
                              : std::clamp(p - 144, 0, 32 * m->w - 320);
        ASSERT_EQ(axis ? game.camY : game.camX, want) << m->w << " " << axis << " " << p;
      }
  }
}

}  // namespace
