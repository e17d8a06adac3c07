// Gamepads: the d-pad, the stick and the buttons as the game's keys, together with the keyboard;
// fresh presses in a box and in the duel's menu; a whole game won with a pad alone; and a machine
// whose joystick subsystem fails plays exactly as before.
#include <gtest/gtest.h>

#include "pad.h"
#include "settings.h"
#include "support_autopilot.h"
#include "support_story.h"

#include <cstring>
#include <fstream>
#include <sstream>

// Every SDL_InitSubSystem of the game goes through here (the test is linked with
// --wrap=SDL_InitSubSystem): the joystick subsystem can be made to fail.
static bool joystickFails = false;
extern "C" int __real_SDL_InitSubSystem(Uint32 flags);
extern "C" int __wrap_SDL_InitSubSystem(Uint32 flags) {
  if (joystickFails && (flags & SDL_INIT_JOYSTICK)) {
    SDL_SetError("no joystick subsystem on this machine");
    return -1;
  }
  return __real_SDL_InitSubSystem(flags);
}

namespace {

SDL_Event padEvent(Uint8 type) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = type;
  return e;
}
void hat(Uint8 value, Uint8 which = 0) {
  SDL_Event e = padEvent(SDL_JOYHATMOTION);
  e.jhat.which = which;
  e.jhat.value = value;
  SDL_PushEvent(&e);
}
void stick(Uint8 axis, Sint16 value) {
  SDL_Event e = padEvent(SDL_JOYAXISMOTION);
  e.jaxis.axis = axis;
  e.jaxis.value = value;
  SDL_PushEvent(&e);
}
void button(Uint8 b, bool down) {
  SDL_Event e = padEvent(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP);
  e.jbutton.button = b;
  e.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
  SDL_PushEvent(&e);
}
void keyboard(SDLKey k, bool down) {
  SDL_Event e = padEvent(down ? SDL_KEYDOWN : SDL_KEYUP);
  e.key.keysym.sym = k;
  SDL_PushEvent(&e);
}

class Pad : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::start()); }
  void TearDown() override {
    pad::setButtons(pad::defaultAction(), pad::defaultStart());
    harness::stop();
  }
  // Pumps once; the masks as the game sees them.
  static std::pair<uint32_t, uint32_t> pump() {
    hal_events();
    return {key, keych};
  }
};

TEST_F(Pad, TheDpadAndTheStickAreTheArrowsAndTheButtonsTheKeys) {
  using P = std::pair<uint32_t, uint32_t>;
  hat(SDL_HAT_UP);
  EXPECT_EQ(pump(), P(KEY_UP, KEY_UP));
  hat(SDL_HAT_RIGHTDOWN);  // a diagonal: two arrows, both newly pressed
  EXPECT_EQ(pump(), P(KEY_RIGHT | KEY_DOWN, KEY_RIGHT | KEY_DOWN));
  hat(SDL_HAT_CENTERED);
  EXPECT_EQ(pump(), P(0, 0));
  // the stick: nothing while it rests or drifts inside half its travel
  for (Sint16 v : {1200, -3000, 9000, -15000, 15000}) {
    stick(0, v);
    stick(1, v);
    EXPECT_EQ(pump(), P(0, 0)) << v;
  }
  stick(0, -20000);
  EXPECT_EQ(pump(), P(KEY_LEFT, KEY_LEFT));
  stick(0, -14000);  // back a little: still held, not pressed again
  EXPECT_EQ(pump(), P(KEY_LEFT, 0));
  stick(1, 32767);  // a diagonal
  EXPECT_EQ(pump(), P(KEY_LEFT | KEY_DOWN, KEY_DOWN));
  stick(0, 32767);  // over to the right
  EXPECT_EQ(pump(), P(KEY_RIGHT | KEY_DOWN, KEY_RIGHT));
  stick(0, 0);
  stick(1, -2000);  // back to the centre
  EXPECT_EQ(pump(), P(0, 0));
  // the face buttons are the action key, Start is Return; others do nothing
  for (Uint8 b : {0, 1, 2, 3}) {
    button(b, true);
    EXPECT_EQ(pump(), P(KEY_A, KEY_A)) << int(b);
    button(b, false);
    EXPECT_EQ(pump(), P(0, 0));
  }
  for (Uint8 b : {7, 9}) {
    button(b, true);
    EXPECT_EQ(pump(), P(KEY_START, KEY_START)) << int(b);
    button(b, false);
    pump();
  }
  for (Uint8 b : {4, 5, 6, 8, 10, 31, 40}) {
    button(b, true);
    EXPECT_EQ(pump(), P(0, 0)) << int(b);
    button(b, false);
  }
  // as the settings say
  pad::setButtons({5}, {4});
  button(0, true);
  button(5, true);
  EXPECT_EQ(pump(), P(KEY_A, KEY_A));
  button(4, true);
  EXPECT_EQ(pump(), P(KEY_A | KEY_START, KEY_START));
}

TEST_F(Pad, PadAndKeyboardTogetherEachLettingGoOfItsOwnKeys) {
  using P = std::pair<uint32_t, uint32_t>;
  keyboard(SDLK_SPACE, true);
  button(0, true);  // a second press of the action key, as Left Ctrl would be
  EXPECT_EQ(pump(), P(KEY_A, KEY_A));
  button(0, false);  // the keyboard still holds it
  EXPECT_EQ(pump(), P(KEY_A, 0));
  keyboard(SDLK_SPACE, false);
  EXPECT_EQ(pump(), P(0, 0));
  keyboard(SDLK_LEFT, true);
  hat(SDL_HAT_UP);
  EXPECT_EQ(pump(), P(KEY_LEFT | KEY_UP, KEY_LEFT | KEY_UP));
  hat(SDL_HAT_CENTERED);  // the pad lets go of its arrow only
  EXPECT_EQ(pump(), P(KEY_LEFT, 0));
  button(7, true);
  keyboard(SDLK_LEFT, false);
  EXPECT_EQ(pump(), P(KEY_START, KEY_START));
  button(7, false);
  EXPECT_EQ(pump(), P(0, 0));
  // the same arrow held by both: each lets go of its own hold only
  keyboard(SDLK_LEFT, true);
  hat(SDL_HAT_LEFT);
  EXPECT_EQ(pump(), P(KEY_LEFT, KEY_LEFT));
  hat(SDL_HAT_CENTERED);  // the keyboard still holds it
  EXPECT_EQ(pump(), P(KEY_LEFT, 0));
  stick(0, -30000);
  EXPECT_EQ(pump(), P(KEY_LEFT, KEY_LEFT));
  keyboard(SDLK_LEFT, false);  // the stick still holds it
  EXPECT_EQ(pump(), P(KEY_LEFT, 0));
  stick(0, 0);
  EXPECT_EQ(pump(), P(0, 0));
  // a second pad holds its own keys
  hat(SDL_HAT_DOWN, 1);
  hat(SDL_HAT_UP, 0);
  EXPECT_EQ(pump(), P(KEY_UP | KEY_DOWN, KEY_UP | KEY_DOWN));
  hat(SDL_HAT_CENTERED, 0);
  EXPECT_EQ(pump(), P(KEY_DOWN, 0));
}

TEST_F(Pad, AButtonHeldThroughABoxDoesNotCloseTheNext) {
  harness::placeHero(&village, 10, 14, 0);
  button(0, true);  // held since the box before
  hal_events();
  const uint32_t t0 = GpTickCountGet();
  static uint32_t released, pressed;
  released = t0 + 300;
  pressed = t0 + 400;
  harness::driver = [] {
    const uint32_t now = GpTickCountGet();
    if (now >= released && released) {
      button(0, false);
      released = 0;
    }
    if (now >= pressed && pressed) {
      button(1, true);  // another face button: a new press
      pressed = 0;
    }
  };
  flow_active = true;
  affTextPlus("Ne traine pas !", &gmere);
  flow_active = false;
  EXPECT_GE(GpTickCountGet() - t0, 400u);
  EXPECT_LT(GpTickCountGet() - t0, 500u);
}

TEST_F(Pad, TheDuelsMenuMovesOncePerPressOfThePad) {
  // Down held on the d-pad for a while, then Up on the stick twice, then the action button:
  // the cursor goes to MAJUTSU and back to RYUKEN, and the dragon attack strikes
  harness::placeHero(&ile, 10, 5, 0);
  static int pumps;
  pumps = 0;
  harness::driver = [] {
    switch (pumps++) {
      case 3: hat(SDL_HAT_DOWN); break;
      case 40: hat(SDL_HAT_CENTERED); break;
      case 45: stick(1, -30000); break;
      case 46: stick(1, 0); break;
      case 50: button(2, true); break;
      case 51: button(2, false); break;
      case 60: harness::closeWindow(); break;
      default: break;
    }
  };
  static int choiceSeen;
  choiceSeen = -1;
  hal_textHook = [](const char* text, int x, int, unsigned short colour) {
    if (x == 120 && colour == 0xF801) choiceSeen = std::strcmp(text, "RYUKEN") == 0 ? 0 : 1;
  };
  perso.mana = 0;
  flow_active = true;
  ennemi = &garde1;
  gameCombat();
  flow_active = false;
  EXPECT_EQ(choiceSeen, 0);
  EXPECT_LT(garde1.pv, 40);  // the dragon attack struck: RYUKEN was chosen, not FUITE
  EXPECT_EQ(perso.gold, 100);
}

TEST(PadGame, TheAutopilotWinsAWholeGameWithThePadAlone) {
  for (harness::Input in : {harness::Input::Stick, harness::Input::Pad}) {
    ASSERT_TRUE(harness::start(250));
    harness::input = in;
    autopilot::Options o;
    o.games = 1;
    autopilot::install(o);
    static int keyboardEvents;
    keyboardEvents = 0;
    auto pilot = harness::driver;
    harness::driver = [pilot] {
      pilot();
      SDL_Event e[128];  // nothing of the keyboard's reaches the game
      const int n = SDL_PeepEvents(e, 128, SDL_PEEKEVENT, SDL_KEYDOWNMASK | SDL_KEYUPMASK);
      keyboardEvents += n;
    };
    std::vector<int16_t> food(entree.tiles, entree.tiles + entree.w * entree.h);
    harness::runFromMenu();
    std::copy(food.begin(), food.end(), entree.tiles);
    const autopilot::Report& r = autopilot::report();
    EXPECT_EQ(r.stuck, "");
    EXPECT_GT(r.bravoAt, 0u) << "no victory";
    EXPECT_EQ(autopilot::find(r.lines, "Merci infiniment !"), static_cast<int>(r.lines.size()) - 1);
    EXPECT_EQ(keyboardEvents, 0);
    harness::stop();
  }
}

TEST(PadGame, WithoutAJoystickSubsystemTheGamePlaysExactlyAsBefore) {
  joystickFails = true;
  testing::internal::CaptureStderr();
  const bool played = story::play("fr");
  const std::string said = testing::internal::GetCapturedStderr();
  joystickFails = false;
  EXPECT_TRUE(played);
  EXPECT_NE(said.find("talmyr: no gamepads: no joystick subsystem"), std::string::npos) << said;
  // the very story the references hold, box for box, walk for walk, blow for blow
  std::ifstream f(std::string(TALMYR_SOURCE_DIR) + "/tests/references/story.txt");
  std::stringstream want;
  want << f.rdbuf();
  std::string got;
  for (const std::string& l : record::transcript()) got += l + "\n";
  EXPECT_EQ(got, want.str());
}

TEST(PadSettings, ButtonListsAreReadAndKept) {
  char dir[] = "/tmp/talmyr-pad-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string path = std::string(dir) + "/settings.ini";
  std::ofstream(path) << "pad_action=0, 1\npad_start=7,9\n";
  Settings s;
  loadSettings(path, s);
  EXPECT_EQ(s.padAction, (std::vector<int>{0, 1}));
  EXPECT_EQ(s.padStart, (std::vector<int>{7, 9}));
  ASSERT_TRUE(saveSettings(path, s));
  Settings back;
  loadSettings(path, back);
  EXPECT_EQ(back.padAction, s.padAction);
  EXPECT_EQ(back.padStart, s.padStart);
  for (const char* bad : {"pad_action=", "pad_action=x", "pad_action=32", "pad_start=1,,2",
                          "pad_start=1,2,3,4,5,6,7,8,9"}) {
    std::ofstream(path) << bad << "\n";
    Settings b;
    testing::internal::CaptureStderr();
    loadSettings(path, b);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "") << bad;
    EXPECT_TRUE(b.padAction.empty() && b.padStart.empty()) << bad;
  }
  std::remove(path.c_str());
  rmdir(dir);
}

}  // namespace
