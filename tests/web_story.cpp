// The page's test build: the whole recorded story, in French then in English, on the virtual
// clock in the browser; its transcript and pictures go to the page, which test_web.py compares.
#include "support_story.h"

// The page's side: tests/library_web_story.js.
extern "C" void talmyr_report_line(const char* lang, const char* line);

// A picture: 320x240 5-6-5 pixels, as hexadecimal text (four digits a pixel).
extern "C" void talmyr_report_picture(const char* lang, const char* name, const uint16_t* px,
                                      int n);

extern "C" void talmyr_report_done(int ok);

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
