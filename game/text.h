// The game's French texts are written where they are said, as the player reads them: in UTF-8,
// accents and all, inside _(), with a note for the translators just above when it helps:
//
//   // TRANSLATORS: hero, examining an armour in the castle
//   say(h, _("Je ..."));
//
// _() gives the text's ISO-8859-1 bytes, which the font, the catalogs and tr() work in. The
// compiler converts it, the same with g++ and with emscripten's clang (no -fexec-charset); a
// character that ISO-8859-1 cannot hold stops the build on that line. _() does not translate:
// the calls that draw a text (affText, affTextPlus, affCenteredText) look it up with tr(), the
// others call tr() themselves. The build extracts every _() text, with the comment above it that
// starts with TRANSLATORS:, into build/gen/talmyr.pot (xgettext). Outside _() the sources stay
// ASCII, this comment included (`make lint`, tools/plain_sources.py).
#pragma once

#include <cstddef>

namespace text {

template <std::size_t N>
struct Latin1 {
  char bytes[N] = {};  // the text, then zeros: never longer than its UTF-8
};

// The ISO-8859-1 bytes of a UTF-8 text. Reaching the throw while compiling is a compile error.
template <std::size_t N>
constexpr Latin1<N> latin1(const char (&utf8)[N]) {
  Latin1<N> out;
  std::size_t o = 0;
  for (std::size_t i = 0; i + 1 < N; i++) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out.bytes[o++] = utf8[i];
      continue;
    }
    // U+0080 to U+00FF are the two-byte sequences C2 80 to C3 BF; anything else is out of reach
    const auto next = i + 2 < N ? static_cast<unsigned char>(utf8[i + 1]) : 0U;
    if ((lead != 0xC2 && lead != 0xC3) || (next & 0xC0U) != 0x80U)
      throw "a character that ISO-8859-1 cannot hold, or a byte that is no UTF-8";
    out.bytes[o++] = static_cast<char>(((lead & 0x03U) << 6U) | (next & 0x3FU));
    i++;
  }
  return out;
}

}  // namespace text

// A French text of the game (a string literal, in UTF-8), as ISO-8859-1 bytes in static storage.
#define _(utf8)                                        \
  ([]() -> const char* {                               \
    static constexpr auto held = ::text::latin1(utf8); \
    return held.bytes;                                 \
  }())
