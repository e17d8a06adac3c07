// Every text the game shows: drawn by the font, and every spoken line fits its dialogue box.
#include <gtest/gtest.h>

#include "harness.h"

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The string literals of a source file, adjacent literals joined, escapes decoded to bytes.
std::vector<std::string> literals(const std::string& path) {
  std::ifstream in(path);
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string src = ss.str();
  std::vector<std::string> out;
  bool joining = false;
  for (size_t i = 0; i < src.size(); i++) {
    const char c = src[i];
    if (c == '/' && i + 1 < src.size() && src[i + 1] == '/') {  // comment to the end of line
      i = src.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (c == '\'') {  // a character literal
      i += src[i + 1] == '\\' ? 3 : 2;
      continue;
    }
    if (c != '"') {
      if (!isspace(static_cast<unsigned char>(c))) joining = false;
      continue;
    }
    std::string s;
    for (i++; i < src.size() && src[i] != '"'; i++) {
      if (src[i] != '\\') {
        s += src[i];
        continue;
      }
      const char e = src[++i];
      if (e == 'x') {
        s += static_cast<char>(std::stoi(src.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else if (e >= '0' && e <= '7') {  // octal: up to three digits
        size_t n = 1;
        while (n < 3 && src[i + n] >= '0' && src[i + n] <= '7') n++;
        s += static_cast<char>(std::stoi(src.substr(i, n), nullptr, 8));
        i += n - 1;
      } else if (e == 'n') {
        s += '\n';
      } else {
        s += e;
      }
    }
    if (joining && !out.empty())
      out.back() += s;
    else
      out.push_back(s);
    joining = true;
  }
  return out;
}

class Texts : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::start()); }
  void TearDown() override { harness::stop(); }
  static std::string file(const char* name) { return std::string(TALMYR_SOURCE_DIR) + "/game/" + name; }
};

TEST_F(Texts, EveryCharacterTheGameWritesHasAGlyph) {
  std::set<unsigned char> used;
  for (const char* f : {"fct_chkAction.cpp", "fct_chkPos.cpp", "mod_gameCombat.cpp",
                        "mod_gameIntro.cpp", "mod_gameMenu.cpp", "mod_gameInfo.cpp", "mod_about.cpp",
                        "fct_affBar.cpp"})
    for (const std::string& s : literals(file(f)))
      for (unsigned char c : s)
        if (c >= 0x20 && c != 0x7F) used.insert(c);
  for (int c = 0x20; c <= 0x7E; c++) used.insert(static_cast<unsigned char>(c));
  for (int c = 0xA0; c <= 0xFF; c++) used.insert(static_cast<unsigned char>(c));
  for (unsigned char c : used) {
    int minx, maxx, miny, maxy, advance;
    ASSERT_EQ(TTF_GlyphMetrics(police, c, &minx, &maxx, &miny, &maxy, &advance), 0) << int(c);
    EXPECT_GT(advance, 0) << int(c);
    if (c == ' ' || c == 0xA0) continue;
    // the glyph draws pixels
    GpRectFill(Screen, 0, 0, 40, 20, 0xFFFF);
    const char text[2] = {static_cast<char>(c), 0};
    GpTextOut(Screen, 4, 2, text, 0x0000);
    int ink = 0;
    for (int y = 0; y < 20; y++)
      for (int x = 0; x < 40; x++) ink += harness::pixel(x, y) != 0xFFFF;
    EXPECT_GT(ink, 0) << "no ink for " << int(c);
  }
}

TEST_F(Texts, EverySpokenLineFitsItsBoxOnTheScreen) {
  // a box with a portrait spans x - 10 .. x + w + 34 with x = (320 - w) / 2: w may be 250 at most
  int widest = 0;
  std::string widestLine;
  int lines = 0;
  for (const char* f : {"fct_chkAction.cpp", "fct_chkPos.cpp"})
    for (const std::string& s : literals(file(f))) {
      const int w = GpTextWidth(s.c_str());
      lines++;
      if (w > widest) {
        widest = w;
        widestLine = s;
      }
    }
  EXPECT_GT(lines, 100);  // the parser found the script's lines
  EXPECT_LE(widest, 250) << widestLine;
  // the intro's and the combat's centred lines fit the screen
  for (const char* f : {"mod_gameIntro.cpp", "mod_gameCombat.cpp"})
    for (const std::string& s : literals(file(f))) EXPECT_LE(GpTextWidth(s.c_str()), 300) << s;
}

}  // namespace
