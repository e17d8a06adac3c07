// The moments the browser test (test_web.py) and the real window's test (test_xwindow.py) stop
// at, drawn by the real game on the harness and played by the same keys. At each moment the game
// waits for a key (or, in the intro, scrolls slowly); its picture is written, then the key tapped.
// usage: moments OUTDIR LANG   (writes OUTDIR/NN-name.png and OUTDIR/moments.txt)
#include <cstdio>
#include <string>
#include <vector>

#include "support_record.h"

namespace {

// Once the latest frame's label begins with `label`: picture `name`, then `key` (the browser's
// name).
struct Moment {
  const char* label;
  const char* name;
  const char* key;
};

const std::vector<Moment> script = {
    {"menu Jouer", "title", "Enter"},
    {"intro", "intro", ""},        // its first frames, then Return: the island
    {"still", "island", "Enter"},  // the hero lands, facing left; Return: the information page
    {"information", "info", " "},
    {"still", "island-again", "ArrowLeft"},
    {"still", "one-step", "ArrowLeft"},
    {"still", "two-steps", "ArrowLeft"},  // the third step reaches the vagrant's tile
    {"box", "ambush-1", " "},
    {"box", "ambush-2", " "},
    {"box", "ambush-3", " "},
    {"box", "ambush-4", " "},
    {"box", "ambush-5", " "},
    {"combat RYUKEN", "duel-menu", "ArrowDown"},  // the cursor down and back up
    {"combat MAJUTSU", "duel-down", "ArrowUp"},
    {"combat RYUKEN", "duel", " "},  // then every turn: the dragon attack, until the hero falls
    {"box", "robbery-1", " "},
    {"box", "robbery-2", " "},
    {"box", "robbery-3", " "},
    {"still", "robbed", "ArrowRight"},      // a step in each of the other three directions (the
    {"still", "step-right", "ArrowRight"},  // wall above him is passed first)
    {"still", "step-right-2", "ArrowUp"},
    {"still", "step-up", "ArrowDown"},
    {"still", "step-down", "ArrowLeft"},
};
constexpr int INTRO_FRAMES = 80;  // ten seconds of it: the page is met wherever it has got to

SDLKey keyOf(const std::string& k) {
  if (k == "Enter") return SDLK_RETURN;
  if (k == " ") return SDLK_SPACE;
  if (k == "ArrowLeft") return SDLK_LEFT;
  if (k == "ArrowUp") return SDLK_UP;
  if (k == "ArrowRight") return SDLK_RIGHT;
  if (k == "ArrowDown") return SDLK_DOWN;
  return SDLK_UNKNOWN;
}

std::string dir;
FILE* list = nullptr;
size_t next = 0;
int shotNo = 0, introFrames = 0;
SDLKey held = SDLK_UNKNOWN;
bool done = false;

void save(const std::string& name, const std::string& key) {
  char file[64];
  std::snprintf(file, sizeof file, "%02d-%s.png", shotNo++, name.c_str());
  harness::saveScreen(dir + "/" + file);
  std::fprintf(list, "%s\t%s\t%s\n", file, name.c_str(), key.empty() ? "-" : key.c_str());
}

void tap(SDLKey k) { harness::press(held = k); }

void drive() {
  if (done) return;
  if (held != SDLK_UNKNOWN) {
    harness::release(held);
    held = SDLK_UNKNOWN;
    return;
  }
  const std::string& l = record::lastLabel();
  if (next >= script.size()) {
    done = true;
    return harness::closeWindow();
  }
  const Moment& m = script[next];
  const bool intro = std::string(m.name) == "intro";  // its first frames, each saved, then Return
  if (intro && l == "intro" && introFrames++ < INTRO_FRAMES) return save("intro", "");
  if (next > 0 && std::string(script[next - 1].name) == "duel" && l == "combat RYUKEN")
    return tap(SDLK_SPACE);  // the duel goes on: strike again
  if (l.rfind(m.label, 0) != 0) return;
  if (!intro) save(m.name, m.key);
  tap(intro ? SDLK_RETURN : keyOf(m.key));
  next++;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: moments OUTDIR LANG\n");
    return 2;
  }
  dir = argv[1];
  list = std::fopen((dir + "/moments.txt").c_str(), "w");
  if (!list) return 1;
  if (!harness::start(1000)) return 1;
  setLanguage(argv[2]);
  harness::driver = drive;
  record::begin();
  harness::runFromMenu();
  record::end();
  harness::stop();
  std::fclose(list);
  if (next < script.size()) {
    std::fprintf(stderr, "moments: the game never reached \"%s\"\n", script[next].label);
    return 1;
  }
  return 0;
}
