// The page's test build: the whole recorded story (the autopilot's game to the victory, a lost
// game, a visit to every scene), in French then in English, on the game's virtual clock inside
// the browser. The transcript and the pictures go to the page, where the browser test compares
// them with the desktop's references.
#include "support_story.h"

#include <emscripten.h>

EM_JS(void, talmyr_report_line, (const char* lang, const char* line), {
  var r = Module.talmyrReport;
  var l = UTF8ToString(lang);
  (r.lines[l] = r.lines[l] || []).push(UTF8ToString(line));
});

// A picture: 320x240 5-6-5 pixels, as hexadecimal text (four digits a pixel).
EM_JS(void, talmyr_report_picture, (const char* lang, const char* name, const uint16_t* px, int n), {
  var r = Module.talmyrReport;
  var l = UTF8ToString(lang);
  var a = HEAPU16.subarray(px >> 1, (px >> 1) + n);
  var s = new Array(n);
  for (var i = 0; i < n; i++) s[i] = (a[i] | 0x10000).toString(16).slice(1);
  (r.pictures[l] = r.pictures[l] || {})[UTF8ToString(name)] = s.join(String());
});

EM_JS(void, talmyr_report_done, (int ok), {
  Module.talmyrReport.ok = !!ok;
  Module.talmyrReport.done = true;
});

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
