// Developer tool: the game's screens as PNG pictures, drawn headless by the real code: the
// reference moments of the whole story (the ones the test suite compares) in French and in
// English (name.en.png), and a sample page of the font.
// usage: screens OUTDIR
#include "support_story.h"

#include <cstdio>
#include <string>

namespace {

// Every printable character, and the game's accents in words.
void fontPage(const std::string& path) {
  if (!harness::start()) return;
  GpRectFill(Screen, 0, 0, 320, 240, 0xFFFF);
  char line[40];
  int y = 4, n = 0;
  for (int c = 0x20; c <= 0xFF; c++) {
    if (c == 0x7F) c = 0xA0;
    line[n++] = static_cast<char>(c);
    if (n == 32 || c == 0xFF) {
      line[n] = 0;
      GpTextOut(Screen, 8, y, line, 0x0000);
      y += 15;
      n = 0;
    }
  }
  GpTextOut(Screen, 8, y + 8,
            "\xC9t\xE9 : \xE9 \xE8 \xEA \xEB \xE0 \xE2 \xE7 \xF4 \xFB \xF9 \xEE \xEF", 0x0000);
  GpTextOut(Screen, 8, y + 23, "Cotcot ! Je pr\351f\xE8re largement ma tunique.", 0x0000);
  GpTextOut(Screen, 8, y + 38, "Vous \xEAtes vaincu ! Fuite impossible !", 0xF801);
  GpRectFill(Screen, 0, y + 55, 320, 40, 0x0000);
  GpTextOut(Screen, 8, y + 60, "20/50  10/10  185  Attaque du dragon", 0xFFFF);
  GpTextOut(Screen, 8, y + 75, "Utilise 40 pi\350ces", 0xFFC1);
  harness::saveScreen(path);
  harness::stop();
  std::printf("%s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string outDir = argc > 1 ? argv[1] : ".";
  const SDL_version* v = SDL_Linked_Version();  // which SDL 1.2 draws them
  std::fprintf(stderr, "screens: SDL %d.%d.%d\n", v->major, v->minor, v->patch);
  bool played = true;
  for (const char* lang : {"fr", "en"}) {  // the English pages with a suffix: title.en.png
    played = story::play(lang) && played;
    for (const auto& [name, px] : record::pictures()) {
      std::string path = outDir;
      path += "/";
      path += name;
      if (std::string(lang) != "fr") path += std::string(".") + lang;
      path += ".png";
      harness::savePng(path, px.data(), 320, 240);
      std::printf("%s\n", path.c_str());
    }
  }
  fontPage(outDir + "/font.png");
  if (!played) std::fprintf(stderr, "screens: the story did not play to its end\n");
  return played ? 0 : 1;
}
