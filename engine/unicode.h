// SPDX-License-Identifier: GPL-3.0-or-later
// Glyph string to Unicode: turns DevLys 160 codes into the Unicode Devanagari
// text that the font shows for them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kavelin {

// Converts a glyph string (see GlyphString) to Unicode Devanagari in NFC.
//
// Codes are read left to right, longest sequence first ("vkS" is औ, a half
// form and "k" the full consonant). The vowel sign i, written before its
// consonant cluster, moves behind it; the reph, written after its syllable,
// becomes र् before the syllable's cluster. Characters that are not font codes
// pass through unchanged (line breaks included), except that an unpaired
// surrogate becomes U+FFFD so that the result is always valid UTF-16.
// Runs in linear time on any input.
std::u16string glyphsToUnicode(std::u16string_view glyphs);

// glyphsToUnicode of a glyph string that comes in pieces, cut anywhere (even
// inside a surrogate pair). Each piece appends the text that no later glyph
// can change; what a cluster still open may change (a short i and a reph
// move into it) waits, as do the last two glyphs, for the next piece. The
// appended parts joined equal glyphsToUnicode of the pieces joined.
class GlyphsToUnicodeStream {
 public:
  // Glyphs read (over all texts) before short words that follow a space or a
  // line break are looked up in a cache of the text they gave before. The
  // cache pays off over many words only, so a short text goes without it.
  static constexpr std::size_t kWordCacheAfter = 1 << 16;

  GlyphsToUnicodeStream();
  ~GlyphsToUnicodeStream();
  GlyphsToUnicodeStream(GlyphsToUnicodeStream&&) noexcept;
  GlyphsToUnicodeStream& operator=(GlyphsToUnicodeStream&&) noexcept;

  void feed(std::u16string_view glyphs, std::u16string& out);
  // Ends the text and appends the rest; the stream then starts a new text.
  void finish(std::u16string& out);
  // The same appending UTF-8: the bytes appendUtf8 makes of the UTF-16.
  void feed(std::u16string_view glyphs, std::string& utf8);
  void finish(std::string& utf8);

 private:
  template <typename String>
  void feedTo(std::u16string_view glyphs, String& out);
  template <typename String>
  void finishTo(String& out);

  struct State;
  std::unique_ptr<State> state_;
  std::u16string pending_;  // glyphs not read yet
};

}  // namespace kavelin
