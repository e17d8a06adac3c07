// The page's test build: the whole recorded story, in French then in English, on the virtual
// clock in the browser; its transcript and pictures go to the page, which test_web.py compares.
#include "harness.h"
#include "keep.h"
#include "keep_store.h"
#include "support_story.h"

// The page's side: tests/library_web_story.js.
extern "C" void talmyr_report_line(const char* lang, const char* line);

// A picture: 320x240 5-6-5 pixels, as hexadecimal text (four digits a pixel).
extern "C" void talmyr_report_picture(const char* lang, const char* name, const uint16_t* px,
                                      int n);

extern "C" void talmyr_report_done(int ok);

// After `page`, whether the page's own storage still holds a game (read by the page itself).
extern "C" void talmyr_report_kept(const char* page, int offered);

namespace {

// A game kept in the page's storage, continued, then won or lost: the browser keeps nothing after.
void forgetAfter(const char* name, ScreenId page) {
  if (!harness::start(1000)) return;
  keep::place = store::defaultPlace();  // the page's own key, as the program has it
  harness::placeHero(&ile, 17, 14, 3);
  keep::World w;
  keep::capture(w);
  std::string error;
  store::write(keep::place, keep::text(w), error);
  keep::load();
  const bool offered = keep::available();
  keep::resume();
  harness::driver = [] {
    flow_current == SCR_MENU ? harness::closeWindow() : harness::press(SDLK_SPACE);
  };
  flow_run(page);
  keep::closing();
  harness::stop();
  talmyr_report_kept(name, offered);
}

}  // namespace

int main() {
  bool ok = true;
  for (const char* lang : {"fr", "en"}) {
    ok = story::play(lang) && ok;
    for (const std::string& line : record::transcript()) talmyr_report_line(lang, line.c_str());
    for (const auto& [name, px] : record::pictures())
      talmyr_report_picture(lang, name.c_str(), px.data(), static_cast<int>(px.size()));
  }
  forgetAfter("victory", SCR_BRAVO);
  forgetAfter("game over", SCR_GAMEOVER);
  talmyr_report_done(ok);
  return 0;
}
