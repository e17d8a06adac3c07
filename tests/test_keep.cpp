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

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
  for (const MapEntry& m : worldMaps)  // no wall turned to floor: only food is ever eaten
    for (int i = 0; i < m.w * m.h; i++)
      EXPECT_TRUE(m.map->tiles[i] == m.built[i] || (m.built[i] == 254 && m.map->tiles[i] == 1))
          << m.name << " " << i % m.w << " " << i / m.w << "\n"
          << t;
}

// Kept games of a played world: the start; the village after the robbery, food eaten at the gate;
// the castle with every guard beaten; the gate with only its first guard beaten.
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
  harness::placeHero(&entree, 10, 13, 0);  // between the gate's two duels: one guard beaten
  garde1.beaten = 1, garde1.pv = 0, perso.force = 2;
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
        case 0: t[at] = static_cast<char>(pick(256)); break;
        case 1: t.erase(at, 1 + pick(4)); break;
        case 2: t.resize(at); break;
        case 3: t.insert(at, 1, "0123456789 =-/\n\0"[pick(16)]); break;
        default:
          while (a > 0 && word(t[a - 1])) a--;
          while (b < t.size() && word(t[b])) b++;
          t.replace(a, b - a, words[pick(std::size(words))]);
      }
    }
  }
  return t;
}

// An accepted kept game continued and played for a few seconds of random keys, then closed: what
// is kept then is accepted too, so that the player never loses it on the next start.
void playedOnAndKeptAgain(const std::string& accepted, std::mt19937& rng) {
  std::string kept, why;
  keep::onKept = [&kept](const std::string& t) { kept = t; };
  ASSERT_TRUE(keep::offer(accepted, why)) << why;
  keep::resume();
  const uint32_t end = GpTickCountGet() + 8000;
  harness::driver = [&rng, end] {
    static constexpr SDLKey keys[] = {SDLK_LEFT, SDLK_UP, SDLK_RIGHT, SDLK_DOWN, SDLK_SPACE};
    if (GpTickCountGet() >= end) return harness::closeWindow();
    if (rng() % 8) return;  // a key held for a few steps, then another
    for (SDLKey k : keys) harness::release(k);
    harness::press(keys[rng() % 5]);
  };
  flow_run(SCR_ENGINE);
  keep::closing();
  harness::driver = nullptr;
  harness::releaseAll();
  hal_working = 1;
  keep::World again;
  ASSERT_TRUE(kept.empty() || keep::parse(kept, again, why)) << why << "\nplayed on from:\n"
                                                             << accepted << "\nkept:\n"
                                                             << kept;
  keep::onKept = nullptr;
}

TEST_F(Keep, AFuzzRunOverMutatedFilesAcceptsNoImpossibleWorld) {
  const char* given = std::getenv("TALMYR_SEED");
  const unsigned seed = given ? static_cast<unsigned>(std::atoi(given)) : std::random_device{}();
  std::printf("seed %u (TALMYR_SEED=%u repeats this run)\n", seed, seed);
  std::mt19937 rng(seed);
  const std::vector<std::string> valid = validTexts();
  std::string why;
  for (const std::string& t : valid) {  // each a world of a game played: never refused
    keep::World w;
    ASSERT_TRUE(keep::parse(t, w, why)) << why << "\n" << t;
  }
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
    if (accepted <= 40) playedOnAndKeptAgain(m, rng);
  }
  std::printf("fuzz: %d refused, %d accepted, %zu reasons\n", refused, accepted, reasons.size());
  EXPECT_GT(refused, 10000);
  EXPECT_GT(accepted, 100);        // possible worlds other than the sources are still accepted
  EXPECT_GT(reasons.size(), 40u);  // the story's checks were reached, not only the reading
}

std::string readAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

// What keep::load() says on stderr.
std::string loadSaying() {
  testing::internal::CaptureStderr();
  keep::load();
  return testing::internal::GetCapturedStderr();
}

// Odd things where the kept game and its temporary file go: never a hang, never a write through a
// link, never the older game lost; CR LF and a byte-order mark read as the game wrote them.
TEST_F(Keep, OddFilesNeverHangNorLoseAGameNorAreWrittenThrough) {
  const std::string dir = fs::absolute("keep-odd").string();
  fs::remove_all(dir);
  fs::create_directories(dir);
  keep::place = dir + "/kept-game.ini";
  const std::vector<std::string> texts = validTexts();
  std::string error;
  alarm(20);  // a read that blocks fails the test rather than hanging it
  for (const char* make : {"mkfifo", "mkdir"}) {
    std::system((std::string(make) + " " + keep::place).c_str());
    const std::string said = loadSaying();
    EXPECT_FALSE(keep::available());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    if (make[2] == 'd') {  // a folder where the file goes is said plainly
      EXPECT_FALSE(store::write(keep::place, texts[0], error));
      EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
    }
    fs::remove(keep::place);
  }
  alarm(0);
  // links where a temporary file goes are not written through
  std::ofstream(dir + "/victim") << "untouched";
  for (const std::string& tmp : {std::string(".tmp"), "." + std::to_string(getpid()) + ".tmp"})
    fs::create_symlink(dir + "/victim", keep::place + tmp);
  ASSERT_TRUE(store::write(keep::place, texts[0], error)) << error;
  EXPECT_EQ(readAll(dir + "/victim"), "untouched");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(keep::place)));
  EXPECT_EQ(readAll(keep::place), texts[0]);
  // a keep that fails half-way (the disk full) leaves the older game whole and nothing of its own
  rlimit was;
  getrlimit(RLIMIT_FSIZE, &was);
  signal(SIGXFSZ, SIG_IGN);
  rlimit small = was;
  small.rlim_cur = 100;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_FALSE(store::write(keep::place, texts[2], error));
  setrlimit(RLIMIT_FSIZE, &was);
  signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(readAll(keep::place), texts[0]);
  fs::remove(keep::place + ".tmp");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2) << "a temporary file left";
  // CR LF line ends and a byte-order mark, as other systems and editors write
  std::string crlf = "\xEF\xBB\xBF";
  for (char c : texts[1]) crlf += c == '\n' ? "\r\n" : std::string(1, c);
  std::ofstream(keep::place, std::ios::binary) << crlf;
  keep::World w;
  ASSERT_TRUE(keep::parse(crlf, w, error)) << error;
  EXPECT_EQ(keep::text(w), texts[1]);
  // refused four times: the three latest kept aside, the newest as .bad, the oldest gone first
  for (int i = 1; i <= 4; i++) {
    std::ofstream(keep::place) << "# refused " << i << "\n";
    loadSaying();
  }
  EXPECT_EQ(readAll(keep::place + ".bad") + readAll(keep::place + ".bad.2") +
                readAll(keep::place + ".bad.3") + readAll(keep::place + ".bad.4"),
            "# refused 4\n# refused 3\n# refused 2\n");
  // a folder where it would be set aside: it stays where it is, and that is what is said
  fs::remove(keep::place + ".bad");
  fs::create_directory(keep::place + ".bad");
  std::ofstream(keep::place) << "# refused 5\n";
  const std::string said = loadSaying();
  EXPECT_EQ(readAll(keep::place), "# refused 5\n");
  EXPECT_EQ(said.find("not continued, set aside"), std::string::npos) << said;
  EXPECT_NE(said.find("a folder is there"), std::string::npos) << said;
}

// Two games on one folder, keeping at once: each keep succeeds whole, the last one wins.
TEST_F(Keep, TwoGamesKeepingAtOnceOnOneFolder) {
  const std::string dir = fs::absolute("keep-two").string(), place = dir + "/kept-game.ini";
  fs::remove_all(dir);
  const std::vector<std::string> texts = validTexts();
  const pid_t other = fork();
  if (other == 0) {
    std::string e;
    int failed = 0;
    for (int i = 0; i < 300; i++) failed += !store::write(place, texts[1], e);
    _exit(failed);
  }
  std::string error;
  int failed = 0;
  for (int i = 0; i < 300; i++) failed += !store::write(place, texts[2], error);
  int status = -1;
  waitpid(other, &status, 0);
  EXPECT_EQ(failed, 0) << error;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other game failed to keep";
  const std::string kept = readAll(place);
  EXPECT_TRUE(kept == texts[1] || kept == texts[2]) << kept;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "a temporary file left";
}

// The missing folders are made; a refused file gets one line, is set aside as .bad, and no
// Continuer is offered: a life too long, food eaten in a wall or on a map never left (lines added
// by hand). The same file whole is offered, and the victory and the game over forget it.
TEST_F(Keep, AMissingFolderOrARefusedFile) {
  const std::string dir =
      fs::absolute("keep-places").string();  // a fresh one in the working directory
  fs::remove_all(dir);
  std::string error;
  const std::vector<std::string> texts = validTexts();
  ASSERT_TRUE(store::write(dir + "/a/b/kept-game.ini", texts[0], error)) << error;
  keep::place = dir + "/kept-game.ini";
  auto edited = [](std::string t, const std::string& from, const std::string& to) {
    return t.replace(t.find(from), from.size(), to);
  };
  const std::string end = "end=1\n";
  for (const std::string& t :
       {edited(texts[1], "life=20/20", "life=21/20"), edited(texts[2], "gold=45", "gold=86"),
        edited(texts[0], end, "eaten=village 0 0\n" + end),
        edited(texts[0], end, "eaten=entree 15 2\n" + end)}) {
    std::ofstream(keep::place) << t;
    const std::string said = loadSaying();
    EXPECT_FALSE(keep::available()) << t;
    EXPECT_FALSE(fs::exists(keep::place));
    EXPECT_EQ(readAll(keep::place + ".bad"), t);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
  std::ofstream(keep::place) << edited(texts[2], "gold=45", "gold=85");  // every coin there is
  keep::load();
  EXPECT_TRUE(keep::available());
  // continued, then won or lost: nothing is kept any more, even as the program closes
  for (ScreenId page : {SCR_BRAVO, SCR_GAMEOVER}) {
    std::ofstream(keep::place) << texts[1];
    keep::load();
    ASSERT_TRUE(keep::available());
    keep::resume();
    harness::driver = [] {
      flow_current == SCR_MENU ? harness::closeWindow() : harness::press(SDLK_SPACE);
    };
    flow_run(page);
    keep::closing();
    harness::driver = nullptr;
    harness::releaseAll();
    hal_working = 1;
    EXPECT_FALSE(keep::available()) << page;
    EXPECT_FALSE(fs::exists(keep::place)) << page;
  }
}

}  // namespace
