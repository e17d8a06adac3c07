// The page's test build: the whole recorded story (the autopilot's game to the victory, a lost
// game, a visit to every scene), in French then in English, on the game's virtual clock inside
// the browser. The transcript and the pictures go to the page, where the browser test compares
// them with the desktop's references.
#include "support_story.h"

// The page's side: tests/library_web_story.js.
extern "C" void talmyr_report_line(const char* lang, const char* line);

// A picture: 320x240 5-6-5 pixels, as hexadecimal text (four digits a pixel).
extern "C" void talmyr_report_picture(const char* lang, const char* name, const uint16_t* px,
                                      int n);

extern "C" void talmyr_report_done(int ok);

// The harness's screenshots (the autopilot's, when asked for) go to the page as well.
void harness::saveScreen(const std::string& path, SDL_Surface* s) {
  const std::vector<uint16_t> px = harness::screenPixels(s);
  talmyr_report_picture("shots", path.c_str(), px.data(), static_cast<int>(px.size()));
}

int main() {
  bool ok = true;
  for (const char* lang : {"fr", "en"}) {
    ok = story::play(lang) && ok;
    for (const std::string& line : record::transcript()) talmyr_report_line(lang, line.c_str());
    for (const auto& [name, px] : record::pictures())
      talmyr_report_picture(lang, name.c_str(), px.data(), static_cast<int>(px.size()));
  }
  talmyr_report_done(ok);
  return 0;
}
