// What the player sees, reads and hears, in every language of the game, against the committed
// references in tests/references: the pictures of chosen moments, the story's transcript (every
// box, walk, fight and music change of a whole game, a lost game and a visit to every scene), the
// walkable tiles of every map, every pause and pace of the game on the virtual clock, and every
// line fitting where it is drawn.
// `make references` (TALMYR_UPDATE_REFERENCES=1) writes the references anew after a deliberate
// change; a failing comparison leaves what was drawn in references-actual/ beside the test.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "support_story.h"

namespace {

const std::string refs = std::string(TALMYR_SOURCE_DIR) + "/tests/references";
const std::string actual = "references-actual";

bool updating() { return std::getenv("TALMYR_UPDATE_REFERENCES") != nullptr; }

std::string pathOf(const std::string& dir, const std::string& name, const char* suffix) {
  return dir + "/" + name + suffix;
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

// The whole story, played once in each language of the game.
struct Played {
  bool ok = false;
  std::vector<std::string> transcript;
  std::map<std::string, std::vector<uint16_t>> pictures;
  std::vector<record::Frame> frames;
  std::vector<record::Drawn> texts;
  int untranslated = 0;
};

class References : public ::testing::Test {
 protected:
  static Played fr, en;
  static Played play(const char* language) {
    const bool ok = story::play(language);
    return {ok,
            record::transcript(),
            record::pictures(),
            record::frames(),
            record::texts(),
            untranslated()};
  }
  static void SetUpTestSuite() {
    fr = play("fr");
    en = play("en");
  }
};
Played References::fr, References::en;

// Compares the pictures of a run with their references: `<name>.png`, or for a language whose
// words change the picture, `<name>.<language>.png`.
void expectPictures(const Played& run, const char* language, const Played* french) {
  namespace fs = std::filesystem;
  const std::string dir = refs + "/pictures";
  const std::string suffix = french ? std::string(".") + language : "";
  fs::create_directories(dir);
  // every reference has its picture: a moment the story no longer reaches is a difference too
  for (const auto& f : fs::directory_iterator(dir)) {
    std::string name = f.path().stem().string();
    const size_t dot = name.find('.');
    if ((dot == std::string::npos) != suffix.empty()) continue;  // another language's
    if (!suffix.empty() && name.substr(dot) != suffix) continue;
    if (dot != std::string::npos) name.resize(dot);
    if (run.pictures.count(name)) continue;
    if (updating())
      fs::remove(f.path());
    else
      ADD_FAILURE() << name << suffix << ": the story never showed this picture's moment";
  }
  for (const auto& [name, px] : run.pictures) {
    std::string path = pathOf(dir, name + suffix, ".png");
    if (updating()) {
      // a language keeps its own picture only where its words make it differ
      const bool own = !french || !french->pictures.count(name) || french->pictures.at(name) != px;
      if (own)
        harness::savePng(path, px.data(), 320, 240);
      else
        fs::remove(path);
      continue;
    }
    if (!suffix.empty() && !fs::exists(path)) path = pathOf(dir, name, ".png");
    std::vector<uint16_t> want;
    int w = 0, h = 0;
    if (!harness::loadPng(path, want, w, h) || w != 320 || h != 240 || want != px) {
      std::filesystem::create_directories(actual);
      harness::savePng(pathOf(actual, name + suffix, ".png"), px.data(), 320, 240);
      size_t differ = 0;
      for (size_t i = 0; i < px.size(); i++) differ += i >= want.size() || want[i] != px[i];
      ADD_FAILURE() << name << suffix << ": " << differ << " pixels differ from " << path
                    << " (see " << actual << "/" << name << suffix << ".png)";
    }
  }
}

TEST_F(References, EveryPictureAsThePlayerSeesIt) {
  ASSERT_TRUE(fr.ok);
  ASSERT_TRUE(en.ok);
  expectPictures(fr, "fr", nullptr);
  expectPictures(en, "en", &fr);
}

TEST_F(References, TheStoryAsThePlayerReadsAndHearsIt) {
  expectText("story.txt", join(fr.transcript));
  expectText("story.en.txt", join(en.transcript));
  EXPECT_TRUE(fr.ok && en.ok) << "a run got stuck: see the lines starting with # in the transcript";
  EXPECT_EQ(en.untranslated, 0) << "French texts shown untranslated in English";
}

// Every line drawn in either language fits where it is drawn: the screen, its dialogue box, the
// duel's menu panel; every letter has a glyph. The information page's numbers start at the 13th
// character of their line, and (the font's letters not being all of one width) they stand no
// further apart than the French page's do.
TEST_F(References, EveryLineFitsInEveryLanguage) {
  ASSERT_TRUE(harness::start());  // the font, to measure with
  std::map<const Played*, int> spread;
  for (const Played* run : {&fr, &en}) {
    const char* lang = run == &fr ? "fr" : "en";
    std::set<int> numbersAt;
    for (const record::Drawn& d : run->texts) {
      const int w = GpTextWidth(d.text.c_str());
      const std::string shown = record::utf8(d.text);
      EXPECT_GE(d.x, 0) << lang << ": " << shown;
      EXPECT_LE(d.x + w, 320) << lang << ": " << shown;
      if (d.label == "box") {  // the box reaches 10 px left of its line, 34 right with a portrait
        EXPECT_GE(d.x - 10, 0) << lang << ": " << shown;
        EXPECT_LE(d.x + w + 34, 319) << lang << ": " << shown;
      }
      if (d.x == 120 && d.label.rfind("combat", 0) == 0 && d.y >= 120 && d.y <= 150) {
        EXPECT_LE(d.x + w, 212) << lang << ": a menu entry wider than its panel: " << shown;
      }
      if (d.label == "information") {
        ASSERT_GT(d.text.size(), 12u) << lang << ": " << shown;
        EXPECT_TRUE(d.text[11] == ' ' && isdigit(static_cast<unsigned char>(d.text[12])))
            << lang << ": the number does not start at the 13th character: " << shown;
        numbersAt.insert(GpTextWidth(d.text.substr(0, 12).c_str()));
      }
      for (unsigned char c : d.text)
        EXPECT_TRUE(TTF_GlyphIsProvided(police, c)) << lang << ": no glyph for " << int(c);
    }
    ASSERT_EQ(numbersAt.size() > 0, true) << lang << ": no information page";
    spread[run] = *numbersAt.rbegin() - *numbersAt.begin();
  }
  EXPECT_LE(spread[&en], spread[&fr])
      << "the English information page's numbers stand further apart";
  harness::stop();
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
  ASSERT_TRUE(fr.ok && en.ok);
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
  for (const Played* run : {&fr, &en}) {
    const auto& f = run->frames;
    for (const Row& r : rows) {
      std::set<uint32_t> seen;
      for (size_t i = 0; i + 1 < f.size(); i++) {
        if (f[i].label != r.label || f[i + 1].label.empty()) continue;
        if ((r.kind == Each) == (f[i + 1].label == r.label)) seen.insert(f[i + 1].at - f[i].at);
      }
      EXPECT_EQ(seen, std::set<uint32_t>{r.ms}) << r.label << ": " << r.what;
    }
  }
}

}  // namespace
