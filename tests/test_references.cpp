// What the player sees, reads and hears, against the committed references in tests/references:
// the pictures of chosen moments, the story's transcript (every box, walk, fight and music change
// of a whole game, a lost game and a visit to every scene), the walkable tiles of every map, and
// every pause and pace of the game on the virtual clock.
// `make references` (TALMYR_UPDATE_REFERENCES=1) writes the references anew after a deliberate
// change; a failing comparison leaves what was drawn in references-actual/ beside the test.
#include <gtest/gtest.h>

#include "support_story.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

const std::string refs = std::string(TALMYR_SOURCE_DIR) + "/tests/references";
const std::string actual = "references-actual";

bool updating() { return std::getenv("TALMYR_UPDATE_REFERENCES") != nullptr; }

std::string pathOf(std::string dir, const std::string& name, const char* suffix) {
  dir += "/";
  dir += name;
  return dir += suffix;
}

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string join(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

// Compares a text with its reference: on a difference, the text is kept in references-actual/
// and the first differing lines are shown.
void expectText(const std::string& name, const std::string& text) {
  const std::string path = refs + "/" + name;
  if (updating()) {
    writeFile(path, text);
    return;
  }
  const std::string want = readFile(path);
  if (want == text) return;
  std::filesystem::create_directories(actual);
  writeFile(actual + "/" + name, text);
  std::istringstream a(want), b(text);
  std::string la, lb;
  int n = 1;
  while (std::getline(a, la) && std::getline(b, lb) && la == lb) n++;
  ADD_FAILURE() << name << " differs from its reference from line " << n << ":\n  reference: " << la
                << "\n  now:       " << lb << "\n(the whole text is in " << actual << "/" << name
                << "; diff it with " << path << ")";
}

class References : public ::testing::Test {
 protected:
  static bool played;
  static void SetUpTestSuite() { played = story::play(); }
};
bool References::played = false;

TEST_F(References, EveryPictureAsThePlayerSeesIt) {
  ASSERT_TRUE(played);
  const auto& pics = record::pictures();
  // every reference has its picture: a moment the story no longer reaches is a difference too
  namespace fs = std::filesystem;
  fs::create_directories(refs + "/pictures");
  for (const auto& f : fs::directory_iterator(refs + "/pictures")) {
    const std::string name = f.path().stem().string();
    if (pics.count(name)) continue;
    if (updating())
      fs::remove(f.path());
    else
      ADD_FAILURE() << name << ": the story never showed this picture's moment";
  }
  for (const auto& [name, px] : pics) {
    const std::string path = pathOf(refs + "/pictures", name, ".png");
    if (updating()) {
      harness::savePng(path, px.data(), 320, 240);
      continue;
    }
    std::vector<uint16_t> want;
    int w = 0, h = 0;
    if (!harness::loadPng(path, want, w, h) || w != 320 || h != 240 || want != px) {
      std::filesystem::create_directories(actual);
      harness::savePng(pathOf(actual, name, ".png"), px.data(), 320, 240);
      int differ = 0;
      std::vector<uint16_t> diff(px.size());
      for (size_t i = 0; i < px.size(); i++) {
        const bool same = i < want.size() && want[i] == px[i];
        differ += !same;
        diff[i] = same ? static_cast<uint16_t>((px[i] >> 2) & 0x39E7) : 0xF800;  // dimmed, or red
      }
      harness::savePng(pathOf(actual, name, "-diff.png"), diff.data(), 320, 240);
      ADD_FAILURE() << name << ": " << differ << " pixels differ from " << path << " (see "
                    << actual << "/" << name << ".png and " << name << "-diff.png)";
    }
  }
}

TEST_F(References, TheStoryAsThePlayerReadsAndHearsIt) {
  expectText("story.txt", join(record::transcript()));
  EXPECT_TRUE(played) << "a run got stuck: see the lines starting with # in the transcript";
}

TEST_F(References, WhereTheHeroCanWalk) {
  std::vector<std::string> lines;
  std::string tiles = "walkable tiles:";
  for (int t = 0; t < 256; t++)
    if (marche[t] == 1) tiles += " " + std::to_string(t);
  lines.push_back(tiles);
  for (smap* m : {&ile, &village, &maison1, &maison2, &maison3, &entree, &chateau}) {
    lines.push_back(record::nameOf(m) + ":");
    for (int y = 0; y < m->h; y++) {
      std::string row = "  ";
      for (int x = 0; x < m->w; x++) row += marche[m->tiles[y * m->w + x]] == 1 ? '.' : '#';
      lines.push_back(row);
    }
  }
  expectText("walkable.txt", join(lines));
}

// Every interval between two frames of the kinds named, over the whole recorded story.
TEST_F(References, EveryPauseAndPaceLastsItsTime) {
  ASSERT_TRUE(played);
  // Each: from a frame of that kind to the next one of the same kind; After: from the last frame
  // of a run of that kind to the frame that follows. A flip costs 1 ms of drawing on the virtual
  // clock; paces that stamp before drawing include it.
  enum Kind { Each, After };
  struct Row {
    const char* label;
    Kind kind;
    uint32_t ms;
    const char* what;
  };
  const Row rows[] = {
      {"opening", Each, 2, "the duel's opening square grows every 2 ms"},
      {"Attaque du dragon !", Each, 100, "a point of life drained"},
      {"Attaque du dragon !", After, 1100, "the last point, then 1000 ms after the blow"},
      {"Vous utilisez la magie !", Each, 100, "a point of life drained"},
      {"Vous utilisez la magie !", After, 1100, "the last point, then 1000 ms after the spell"},
      {"L'ennemi riposte !", Each, 100, "a point of life drained"},
      {"L'ennemi riposte !", After, 1100, "the last point, then 1000 ms after the answer"},
      {"L'ennemi réagit !", Each, 100, "a point of life drained"},
      {"L'ennemi réagit !", After, 1100, "the last point, then 1000 ms after the answer"},
      {"Pas assez de magie !", After, 1501, "the refusal's drawing, then 1500 ms"},
      {"Fuite impossible !", After, 1500, "the refusal stays 1500 ms"},
      {"Vous fuyez comme un lâche !", After, 1501, "the flight's drawing, then 1500 ms"},
      {"Vous remportez la victoire !", After, 1500, "the victory stays 1500 ms"},
      {"Vous êtes vaincu !", After, 1000, "the defeat stays 1000 ms"},
      {"walk", Each, 20, "a pixel of a scripted walk"},
      {"walk", After, 120, "a walk's last pixel, then its 100 ms pause"},
      {"step", Each, 21, "a pixel of the hero's step: 10 ms, the drawing, 10 ms of rest"},
      {"still", Each, 11, "a frame of exploring: the drawing and 10 ms of rest"},
      {"intro", Each, 135, "a pixel of the intro: 125 ms with its drawing, 10 ms of rest"},
      {"white", After, 1501, "the ending's white flash: its drawing, then 1500 ms"},
  };
  const auto& f = record::frames();
  for (const Row& r : rows) {
    std::set<uint32_t> seen;
    for (size_t i = 0; i + 1 < f.size(); i++) {
      if (f[i].label != r.label || f[i + 1].label.empty()) continue;
      if ((r.kind == Each) == (f[i + 1].label == r.label)) seen.insert(f[i + 1].at - f[i].at);
    }
    EXPECT_EQ(seen, std::set<uint32_t>{r.ms}) << r.label << ": " << r.what;
  }
}

}  // namespace
