// The game kept across a close: the autopilot's whole game kept and put back into a fresh world at
// every change of map; closes inside a conversation and a duel continued from the title menu; a
// seeded fuzz over mutated kept files; a write killed at random points; a place that cannot be
// written, or holds a refused file.
#include <gtest/gtest.h>

#include "keep.h"
#include "keep_store.h"
#include "support_autopilot.h"
#include "support_record.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// A fresh folder of its own under the test's working directory.
std::string folder(const char* name) {
  std::string d = fs::absolute(std::string("keep-") + name).string();
  fs::remove_all(d);
  fs::create_directories(d);
  return d;
}

// The section of the reference transcript that starts with `title`.
std::vector<std::string> referenceSection(const std::string& title) {
  std::ifstream f(std::string(TALMYR_SOURCE_DIR) + "/tests/references/story.txt");
  std::vector<std::string> out;
  std::string l;
  bool in = false;
  while (std::getline(f, l)) {
    if (l.rfind("# ", 0) == 0) in = l == title;
    if (in) out.push_back(l);
  }
  return out;
}

// Every record of the cast and the maps wiped, then the kept text put back: a world made from the
// text alone.
void restoreIntoFreshWorld(const std::string& text) {
  keep::World w;
  std::string why;
  ASSERT_TRUE(keep::parse(text, w, why)) << why << "\n" << text;
  for (const MapEntry& m : worldMaps) *m.map = smap{};
  for (const CastEntry& c : worldCast) *c.who = chara{};
  game = sgame{};
  keep::apply(w);
}

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
  const std::vector<std::string> want = referenceSection(title);
  ASSERT_GT(want.size(), 100u);
  harness::timeLimitMs = 250 + 90u * 60u * 1000u;
  autopilot::Options o;
  o.games = 1;
  autopilot::install(o);
  static int restored;  // the hook outlives this function's frame: nothing local in it
  restored = 0;
  keep::onKept = [](const std::string& text) {
    restoreIntoFreshWorld(text);
    keep::World again;
    keep::capture(again);
    EXPECT_EQ(keep::text(again), text) << "a kept game put back is not the same world";
    restored++;
  };
  record::shoot("victory", "victory");
  record::note(title);
  record::begin();
  harness::runFromMenu();
  record::end();
  EXPECT_EQ(autopilot::report().stuck, "");
  EXPECT_GE(restored, 20);  // the doors of the whole game
  const std::vector<std::string>& got = record::transcript();
  for (size_t i = 0; i < std::max(want.size(), got.size()); i++) {
    ASSERT_LT(i, got.size()) << "the restored game's transcript ends early";
    ASSERT_LT(i, want.size()) << "the restored game's transcript goes on: " << got[i];
    ASSERT_EQ(got[i], want[i]) << "the restored game differs from the uninterrupted one at line " << i + 1;
  }
  std::vector<uint16_t> ref;
  int w = 0, h = 0;
  ASSERT_TRUE(harness::loadPng(std::string(TALMYR_SOURCE_DIR) + "/tests/references/pictures/victory.png",
                               ref, w, h));
  ASSERT_EQ(record::pictures().count("victory"), 1u);
  EXPECT_TRUE(record::pictures().at("victory") == ref) << "the victory picture";
}

// What a scene shows from line `from` of a transcript on: its boxes, walks, turns and fights, up
// to the line `last` or the first fight (after which the random draws of a new run differ).
std::vector<std::string> scene(const std::vector<std::string>& t, size_t from, const std::string& last) {
  std::vector<std::string> out;
  for (size_t i = from; i < t.size(); i++) {
    const std::string& l = t[i];
    const bool fight = l.rfind("fight ", 0) == 0;
    if (l.find(" [") == std::string::npos && l.rfind("walk ", 0) && l.rfind("turn ", 0) && !fight) continue;
    out.push_back(l);
    if (l == last || fight) break;
  }
  return out;
}

// Closes the window once the transcript's latest line is `line`: the game kept is the moment the
// hero last stood free, at `where`. Continued from the title menu in a fresh run, the scene from
// that moment plays again as it played, and the game goes on to the victory.
void closeAndContinue(const std::string& line, const std::string& where) {
  const std::string dir = folder("continue");
  keep::place = dir + "/kept-game.ini";
  autopilot::Options o;
  o.games = 1;
  autopilot::install(o);
  static std::function<void()> pilot;  // the driver outlives this function's frame
  static std::string closeAt;
  pilot = harness::driver;
  closeAt = line;
  harness::driver = [] {
    const auto& t = record::transcript();
    if (std::find(t.begin(), t.end(), closeAt) != t.end())
      harness::closeWindow();
    else
      pilot();
  };
  record::begin();
  harness::runFromMenu();
  keep::closing();  // as the program does once its window is closed
  record::end();
  std::vector<std::string> first = record::transcript();  // a copy: the next run clears it
  ASSERT_NE(std::find(first.begin(), first.end(), line), first.end());
  // the transcript tells where the hero stands lazily, at the next box: the scene began after the
  // place before the one kept
  size_t kept = first.size();
  while (kept > 0 && first[kept - 1] != "at " + where) kept--;
  ASSERT_GT(kept, 0u) << "no moment at " << where;
  size_t before = kept - 1;
  while (before > 0 && first[before - 1].rfind("at ", 0) != 0) before--;
  const std::vector<std::string> played = scene(first, before, line);
  harness::stop();
  record::clear();

  ASSERT_TRUE(harness::start(250));
  keep::place = dir + "/kept-game.ini";
  keep::load();
  ASSERT_TRUE(keep::available());
  autopilot::install(o);
  harness::timeLimitMs = 90u * 60u * 1000u;
  record::begin();
  harness::runFromMenu();
  record::end();
  const std::vector<std::string>& again = record::transcript();
  EXPECT_EQ(autopilot::report().games, 0) << "a new game began instead";
  ASSERT_GE(again.size(), 3u);
  EXPECT_EQ(again[2], "at " + where);
  const std::vector<std::string> replayed = scene(again, 0, line);
  EXPECT_GE(played.size(), 2u);  // at least a box and what it leads to
  EXPECT_EQ(replayed, played) << "the scene from the kept moment on";
  EXPECT_EQ(autopilot::report().stuck, "");
  EXPECT_GT(autopilot::report().bravoAt, 0u) << "the continued game went on to the victory";
}

TEST_F(Keep, ClosedInsideAConversationTheSceneIsPlayedAgain) {
  closeAndContinue("vagabond [1]: Je suis à sec !", "ile (14,14) facing left");
}

TEST_F(Keep, ClosedInsideADuelItsSceneIsPlayedAgain) {
  closeAndContinue("  Vous utilisez la magie ! garde1 40 -> 35", "entree (10,1) facing up");
}

// ---- the file ----------------------------------------------------------------------------------

// What a played world can be, checked on the live world after a kept text was put back.
void expectPossibleWorld(const std::string& text) {
  const int pvMax[] = {20, 35, 50};
  EXPECT_TRUE(std::count(pvMax, pvMax + 3, perso.pvMax)) << text;
  EXPECT_TRUE(perso.manaMax == 10 || perso.manaMax == 20) << text;
  EXPECT_TRUE(perso.pv >= 1 && perso.pv <= perso.pvMax && perso.mana >= 0 && perso.mana <= perso.manaMax) << text;
  EXPECT_TRUE(perso.force >= 1 && perso.force <= 6 && perso.resistance >= 1 && perso.resistance <= 6) << text;
  EXPECT_TRUE(perso.gold >= 0 && perso.gold <= 185) << text;
  ASSERT_NE(mapEntry(game.map), nullptr) << text;
  ASSERT_TRUE(perso.x >= 0 && perso.y >= 0 && perso.x < game.w && perso.y < game.h) << text;
  EXPECT_EQ(marche[game.tiles[perso.y * game.w + perso.x]], 1) << "the hero in a wall\n" << text;
  for (const CastEntry& c : worldCast) {
    if (c.who == &perso) continue;
    if (!c.who->map) {
      EXPECT_EQ(c.who, &vagabond) << text;
      continue;
    }
    EXPECT_EQ(c.who->map, c.home) << c.name << "\n" << text;
    EXPECT_TRUE(c.who->x >= 0 && c.who->y >= 0 && c.who->x < c.who->map->w && c.who->y < c.who->map->h) << text;
    EXPECT_FALSE(c.who->map == game.map && c.who->x == perso.x && c.who->y == perso.y) << text;
    EXPECT_TRUE(c.who->pv >= 0 && c.who->pv <= std::max(c.who->pvMax, 20)) << text;
  }
  EXPECT_TRUE(!garde2.beaten || garde1.beaten) << text;
  const bool gates = garde1.beaten && garde2.beaten;
  EXPECT_TRUE(gates || game.map != &chateau) << text;
  for (const chara* g : {&garde3, &garde4, &garde5, &garde6, &garde7, &boss}) EXPECT_TRUE(gates || !g->beaten) << text;
  EXPECT_TRUE(!boss.beaten || (perso.force == 6 && perso.resistance == 6)) << text;
}

// A few kept games of a played world: the start, the village after the robbery with food eaten
// at the gate, the castle with every guard beaten.
std::vector<std::string> validTexts() {
  std::vector<std::string> out;
  keep::World w;
  init2();
  openLevel(&ile);
  keep::capture(w);
  out.push_back(keep::text(w));
  harness::placeHero(&village, 10, 14, 0);
  placeChara(nullptr, &vagabond, -1, -1, 0);
  vagabond.scene = 2;
  vagabond.pv = 12;
  perso.gold = 0;
  ile.lastX = 3;
  ile.lastY = 13;
  entree.tiles[2 * 20 + 15] = 1;
  keep::capture(w);
  out.push_back(keep::text(w));
  harness::placeHero(&chateau, 10, 5, 0);
  for (chara* g : {&garde1, &garde2, &garde3, &garde4, &garde5, &garde6, &garde7}) {
    g->beaten = 1;
    g->pv = 0;
  }
  placeChara(&chateau, &garde3, 10, 12, 2);
  gpere.pv = 10;
  gmere.gold = 0;
  perso.pvMax = 50, perso.pv = 33, perso.manaMax = 20, perso.mana = 0, perso.force = 6, perso.resistance = 6;
  perso.gold = 45;
  keep::capture(w);
  out.push_back(keep::text(w));
  init2();
  return out;
}

std::string mutate(std::string t, std::mt19937& rng) {
  auto pick = [&rng](size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng) : 0; };
  static const char* const values[] = {"-1", "0", "1", "2", "3", "4", "5", "6", "7", "9", "10", "13", "15", "16",
                                       "19", "20", "21", "35", "50", "51", "75", "86", "185", "186", "999999",
                                       "none", "ile", "chateau", "maison1", "garde1", "boss", "", "x", "1.0.1"};
  const int times = 1 + static_cast<int>(pick(3));
  for (int k = 0; k < times && !t.empty(); k++) {
    const size_t at = pick(t.size());
    if (pick(2) == 0) {  // a number changed, the layout kept: what a hand edit does
      size_t a = at;
      while (a < t.size() && !std::isdigit(static_cast<unsigned char>(t[a]))) a++;
      size_t b = a;
      while (b < t.size() && std::isdigit(static_cast<unsigned char>(t[b]))) b++;
      if (a == t.size()) continue;
      const int n = std::atoi(t.substr(a, b - a).c_str());
      const int to[] = {n + 1, n - 1, n + 2, n - 2, n + 15, n * 2, 0, 1, 2, 6, 10, 20, 50, 85, 185};
      t.replace(a, b - a, std::to_string(to[pick(sizeof to / sizeof *to)]));
      continue;
    }
    switch (pick(8)) {
      case 0: t[at] = static_cast<char>(pick(256)); break;                 // a byte changed
      case 1: t.erase(at, 1 + pick(4)); break;                             // bytes lost
      case 2: t.resize(at); break;                                         // cut short
      case 3: t.insert(at, 1, "0123456789 =-/\n\0"[pick(16)]); break;     // a byte more
      default: {                                                           // a word replaced
        size_t a = at;
        while (a > 0 && std::isalnum(static_cast<unsigned char>(t[a - 1]))) a--;
        size_t b = at;
        while (b < t.size() && std::isalnum(static_cast<unsigned char>(t[b]))) b++;
        t.replace(a, b - a, values[pick(sizeof values / sizeof *values)]);
        break;
      }
    }
  }
  return t;
}

TEST_F(Keep, AFuzzRunOverMutatedFilesAcceptsNoImpossibleWorld) {
  const unsigned seed = std::getenv("TALMYR_SEED") ? static_cast<unsigned>(std::atoi(std::getenv("TALMYR_SEED")))
                                                   : static_cast<unsigned>(std::random_device{}());
  std::printf("seed %u (TALMYR_SEED=%u repeats this run)\n", seed, seed);
  std::mt19937 rng(seed);
  const std::vector<std::string> valid = validTexts();
  keep::World w;
  std::string why;
  for (const std::string& t : valid) ASSERT_TRUE(keep::parse(t, w, why)) << why << "\n" << t;
  int accepted = 0, refused = 0, same = 0;
  std::map<std::string, int> reasons;
  for (int i = 0; i < 20000; i++) {
    const std::string& base = valid[static_cast<size_t>(i) % valid.size()];
    const std::string m = mutate(base, rng);
    keep::World out;
    std::memset(&out, 0x5A, sizeof out);
    keep::World untouched = out;
    if (!keep::parse(m, out, why)) {
      refused++;
      reasons[why]++;
      EXPECT_EQ(std::memcmp(&out, &untouched, sizeof out), 0) << "a refused file changed the world";
      continue;
    }
    accepted++;
    keep::World back;
    ASSERT_TRUE(keep::parse(keep::text(out), back, why)) << why;
    if (keep::text(out) == base) same++;
    keep::apply(out);
    expectPossibleWorld(m);
    if (HasFailure()) break;
  }
  std::printf("fuzz: %d mutations, %d refused, %d accepted (%d of them the same world as their source)\n",
              accepted + refused, refused, accepted, same);
  for (const auto& [r, n] : reasons) std::printf("  refused %5d: %s\n", n, r.c_str());
  EXPECT_GT(refused, 10000);
  EXPECT_GT(accepted, 100);         // possible worlds other than the sources are still accepted
  EXPECT_GT(reasons.size(), 40u);   // the story's checks were reached, not only the reading
}

TEST_F(Keep, AWriteKilledAtAnyPointLeavesTheOldFileOrTheNewOneWhole) {
  const std::string place = folder("killed") + "/kept-game.ini";
  const std::vector<std::string> texts = validTexts();
  std::string error;
  ASSERT_TRUE(store::write(place, texts[0], error)) << error;
  std::mt19937 rng(7);
  int kills = 0;
  for (int round = 0; round < 40; round++) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned i = 0;; i++) store::write(place, texts[i % texts.size()], error);
    }
    usleep(std::uniform_int_distribution<unsigned>(0, 3000)(rng));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    kills += WIFSIGNALED(status);
    const std::string now = readFile(place);
    EXPECT_TRUE(std::find(texts.begin(), texts.end(), now) != texts.end())
        << "round " << round << ": a kept file that is neither the old one nor the new one:\n" << now;
  }
  EXPECT_EQ(kills, 40);
}

TEST_F(Keep, APlaceThatCannotBeWrittenOrHoldsABadFile) {
  const std::string dir = folder("places");
  // missing folders are made
  std::string error;
  ASSERT_TRUE(store::write(dir + "/a/b/kept-game.ini", validTexts()[0], error)) << error;
  // a folder that is a file: one line on stderr for the whole run, and the game goes on
  std::ofstream(dir + "/file") << "x";
  keep::place = dir + "/file/talmyr/kept-game.ini";
  testing::internal::CaptureStderr();
  harness::placeHero(&ile, 17, 14, 3);
  keep::standing();
  harness::placeHero(&village, 10, 14, 0);
  keep::standing();
  keep::closing();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("cannot keep the game"), std::string::npos) << said;
  // a refused file: one line, set aside as .bad, no Continuer
  keep::reset();
  keep::place = dir + "/kept-game.ini";
  std::string t = validTexts()[1];
  t.replace(t.find("life=20/20"), 10, "life=21/20");
  std::ofstream(keep::place) << t;
  testing::internal::CaptureStderr();
  keep::load();
  const std::string refused = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(keep::available());
  EXPECT_FALSE(fs::exists(keep::place));
  EXPECT_EQ(readFile(keep::place + ".bad"), t);
  EXPECT_EQ(std::count(refused.begin(), refused.end(), '\n'), 1) << refused;
  // the same file whole is offered, and the victory forgets it
  std::ofstream(keep::place) << validTexts()[1];
  keep::load();
  EXPECT_TRUE(keep::available());
  keep::forget();
  EXPECT_FALSE(keep::available());
  EXPECT_FALSE(fs::exists(keep::place));
}

}  // namespace
