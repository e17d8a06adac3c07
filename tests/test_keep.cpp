// The game kept across a close: the whole game kept and put back into a fresh world at every change
// of map; a fuzz over mutated kept files; a missing folder, a refused file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "keep.h"
#include "keep_store.h"
#include "support_autopilot.h"
#include "support_record.h"

namespace {

namespace fs = std::filesystem;

class Keep : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::start(250)); }
  void TearDown() override {
    record::clear();
    harness::stop();
  }
};

TEST_F(Keep, TheWholeGameKeptAndRestoredAtEveryChangeOfMap) {
  const std::string title = "# the autopilot's whole game, the random draws seeded with 250";
  std::vector<std::string> want;  // that game's section of the story's transcript
  std::ifstream f(std::string(TALMYR_SOURCE_DIR) + "/tests/references/story.txt");
  bool in = false;
  for (std::string l; std::getline(f, l);)
    if ((in = l.rfind("# ", 0) == 0 ? l == title : in)) want.push_back(l);
  ASSERT_GT(want.size(), 100u);
  harness::timeLimitMs = 250 + 90u * 60u * 1000u;
  autopilot::install({1});  // one game, up to the fresh title menu after the victory
  static int restored;
  restored = 0;
  keep::onKept = [](const std::string& text) {  // every record wiped, then the text alone put back
    keep::World w, again;
    std::string why;
    ASSERT_TRUE(keep::parse(text, w, why)) << why << "\n" << text;
    for (const MapEntry& m : worldMaps) *m.map = smap{};
    for (const CastEntry& c : worldCast) *c.who = chara{};
    game = sgame{};
    keep::apply(w);
    keep::capture(again);
    EXPECT_EQ(keep::text(again), text) << "a kept game put back is not the same world";
    restored++;
  };
  record::note(title);
  record::begin();
  harness::runFromMenu();
  record::end();
  EXPECT_EQ(autopilot::report().stuck, "");
  EXPECT_GE(restored, 20);  // the doors of the whole game
  const auto& got = record::transcript();
  const auto diff = std::mismatch(want.begin(), want.end(), got.begin(), got.end());
  EXPECT_TRUE(diff.first == want.end() && diff.second == got.end())
      << "the restored game differs from the uninterrupted one at line "
      << diff.first - want.begin() + 1 << ": "
      << (diff.second == got.end() ? "(its end)" : *diff.second);
}

// What a played world can be, checked on the live world once a kept text was put back.
void expectPossibleWorld(const std::string& t) {
  const chara& h = perso;
  EXPECT_TRUE((h.pvMax == 20 || h.pvMax == 35 || h.pvMax == 50) &&
              (h.manaMax == 10 || h.manaMax == 20) && h.pv >= 1 && h.pv <= h.pvMax && h.mana >= 0 &&
              h.mana <= h.manaMax && h.force >= 1 && h.force <= 6 && h.resistance >= 1 &&
              h.resistance <= 6 && h.gold >= 0 && h.gold <= 185)
      << t;
  ASSERT_TRUE(mapEntry(game.map) && h.x >= 0 && h.y >= 0 && h.x < game.w && h.y < game.h) << t;
  EXPECT_EQ(marche[game.tiles[h.y * game.w + h.x]], 1) << "the hero in a wall\n" << t;
  for (const CastEntry& c : worldCast) {
    const chara& p = *c.who;
    if (&p == &perso || (!p.map && &p == &vagabond)) continue;
    EXPECT_EQ(p.map, c.home) << c.name << "\n" << t;
    EXPECT_TRUE(p.map && p.x >= 0 && p.y >= 0 && p.x < p.map->w && p.y < p.map->h && p.pv >= 0 &&
                p.pv <= std::max(p.pvMax, 20) && !(p.map == game.map && p.x == h.x && p.y == h.y))
        << c.name << "\n"
        << t;
  }
  const bool gates = garde1.beaten && garde2.beaten;
  EXPECT_TRUE((!garde2.beaten || garde1.beaten) && (gates || game.map != &chateau)) << t;
  for (const chara* g : {&garde3, &garde4, &garde5, &garde6, &garde7, &boss})
    EXPECT_TRUE(gates || !g->beaten) << t;
  EXPECT_TRUE(!boss.beaten || (h.force == 6 && h.resistance == 6)) << t;
}

// Kept games of a played world: the start; the village after the robbery, food eaten at the gate;
// the castle with every guard beaten.
std::vector<std::string> validTexts() {
  std::vector<std::string> out;
  keep::World w;
  auto keepIt = [&] { keep::capture(w), out.push_back(keep::text(w)); };
  init2();
  openLevel(&ile);
  keepIt();
  harness::placeHero(&village, 10, 14, 0);
  placeChara(nullptr, &vagabond, -1, -1, 0);
  vagabond.scene = 2, vagabond.pv = 12, perso.gold = 0, ile.lastX = 3, ile.lastY = 13;
  entree.tiles[2 * 20 + 15] = 1, entree.lastX = 10, entree.lastY = 13;
  keepIt();
  harness::placeHero(&chateau, 10, 5, 0);
  for (chara* g : {&garde1, &garde2, &garde3, &garde4, &garde5, &garde6, &garde7})
    g->beaten = 1, g->pv = 0;
  placeChara(&chateau, &garde3, 10, 12, 2);
  gpere.pv = 10, gmere.gold = 0, perso.gold = 45;
  perso.pvMax = 50, perso.pv = 33, perso.manaMax = 20, perso.mana = 0, perso.force = 6,
  perso.resistance = 6;
  keepIt();
  init2();
  return out;
}

// One to three changes: a number edited in place (what a hand edit does), a byte changed, lost or
// added, the text cut short, or a word replaced.
std::string mutate(std::string t, std::mt19937& rng) {
  auto pick = [&rng](size_t n) {
    return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng) : 0;
  };
  static const char* const words[] = {
      "-1",      "0",       "1",      "2",    "3",   "4",   "5",      "6",    "7",
      "9",       "10",      "13",     "15",   "16",  "19",  "20",     "21",   "35",
      "50",      "51",      "75",     "86",   "185", "186", "999999", "none", "ile",
      "chateau", "maison1", "garde1", "boss", "",    "x",   "1.0.1"};
  auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  for (size_t k = 0, times = 1 + pick(3); k < times && !t.empty(); k++) {
    const size_t at = pick(t.size());
    size_t a = at, b = at;
    if (pick(2) == 0) {
      while (a < t.size() && !digit(t[a])) a++;
      for (b = a; b < t.size() && digit(t[b]);) b++;
      const int n = std::atoi(t.substr(a, b - a).c_str()),
                to[] = {n + 1, n - 1, n + 2, n - 2, n + 15, n * 2, 0, 1, 2, 6, 10, 20, 50, 85, 185};
      if (a < t.size()) t.replace(a, b - a, std::to_string(to[pick(std::size(to))]));
    } else {
      switch (pick(8)) {
        case 0:
          t[at] = static_cast<char>(pick(256));
          break;
        case 1:
          t.erase(at, 1 + pick(4));
          break;
        case 2:
          t.resize(at);
          break;
        case 3:
          t.insert(at, 1, "0123456789 =-/\n\0"[pick(16)]);
          break;
        default:
          while (a > 0 && word(t[a - 1])) a--;
          while (b < t.size() && word(t[b])) b++;
          t.replace(a, b - a, words[pick(std::size(words))]);
      }
    }
  }
  return t;
}

TEST_F(Keep, AFuzzRunOverMutatedFilesAcceptsNoImpossibleWorld) {
  const char* given = std::getenv("TALMYR_SEED");
  const unsigned seed = given ? static_cast<unsigned>(std::atoi(given)) : std::random_device{}();
  std::printf("seed %u (TALMYR_SEED=%u repeats this run)\n", seed, seed);
  std::mt19937 rng(seed);
  const std::vector<std::string> valid = validTexts();
  std::string why;
  int accepted = 0, refused = 0;
  std::map<std::string, int> reasons;
  for (int i = 0; i < 20000 && !HasFailure(); i++) {
    const std::string m = mutate(valid[static_cast<size_t>(i) % valid.size()], rng);
    keep::World out, back;
    if (!keep::parse(m, out, why)) {
      refused++, reasons[why]++;
      continue;
    }
    accepted++;
    ASSERT_TRUE(keep::parse(keep::text(out), back, why)) << why;
    keep::apply(out);
    expectPossibleWorld(m);
  }
  std::printf("fuzz: %d refused, %d accepted, %zu reasons\n", refused, accepted, reasons.size());
  EXPECT_GT(refused, 10000);
  EXPECT_GT(accepted, 100);        // possible worlds other than the sources are still accepted
  EXPECT_GT(reasons.size(), 40u);  // the story's checks were reached, not only the reading
}

// The missing folders are made; a refused file gets one line, is set aside as .bad, and no
// Continuer is offered; the same file whole is, and the victory forgets it.
TEST_F(Keep, AMissingFolderOrARefusedFile) {
  const std::string dir =
      fs::absolute("keep-places").string();  // a fresh one in the working directory
  fs::remove_all(dir);
  std::string error;
  const std::vector<std::string> texts = validTexts();
  ASSERT_TRUE(store::write(dir + "/a/b/kept-game.ini", texts[0], error)) << error;
  keep::place = dir + "/kept-game.ini";
  std::string t = texts[1];
  t.replace(t.find("life=20/20"), 10, "life=21/20");
  std::ofstream(keep::place) << t;
  testing::internal::CaptureStderr();
  keep::load();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(keep::available());
  EXPECT_FALSE(fs::exists(keep::place));
  std::ifstream bad(keep::place + ".bad", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(bad), {}), t);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  std::ofstream(keep::place) << texts[1];
  keep::load();
  EXPECT_TRUE(keep::available());
  keep::forget();
  EXPECT_FALSE(keep::available());
  EXPECT_FALSE(fs::exists(keep::place));
}

}  // namespace
