// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode to glyph codes: turns Unicode Devanagari into the DevLys 160 codes
// that show it, the inverse of glyphsToUnicode.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "text.h"

namespace kavelin {

// A place in a text: lines and columns count from 1; columns count characters
// (a surrogate pair is one); LF, CR LF and CR each end a line.
struct TextPosition {
  std::size_t line = 1;
  std::size_t column = 1;
};

// A character that a conversion kept as it was, because the target cannot show it.
struct UnconvertedChar {
  TextPosition at;
  char32_t character = 0;
};

struct ConversionOptions {
  std::size_t maxReported = 5;  // how many unconverted characters to keep with their place
  TextPosition start;           // the place of the text's first character
};

// The characters a conversion kept as they were.
struct Unconverted {
  std::size_t count = 0;
  std::vector<UnconvertedChar> first;  // at most maxReported, in text order
};

struct GlyphConversion {
  GlyphString glyphs;
  Unconverted unconverted;
};

// Converts Unicode Devanagari to a glyph string, choosing the codes the engine
// itself makes when it types the same Hindi.
//
// Each written syllable becomes its codes: half forms for all but the last
// consonant of a cluster (the consonant and the halant "~" where the font has
// no half form), the font's conjunct and rakar codes, the vowel sign i before
// its cluster and the reph after its syllable. The nukta, anusvara,
// candrabindu, visarga, danda, digits, the ASCII punctuation the font shows,
// spaces, tabs, line breaks and U+2028 (a line break inside a paragraph)
// all have codes or pass through. A character the
// font cannot show (ङ, Latin letters, Devanagari digits, ...) is kept as it is
// and counted. Text may be in NFC or NFD. Runs in linear time on any input.
GlyphConversion unicodeToGlyphs(std::u16string_view text, const ConversionOptions& options = {});

// unicodeToGlyphs of a text that comes in pieces, cut anywhere. Each piece
// appends the glyphs of the text up to its last place where no cluster goes
// on (before a space, a line break, or a letter that no virama comes before);
// the rest waits for the next piece. The appended parts joined equal
// unicodeToGlyphs of the pieces joined, and the characters kept are counted
// and placed over the whole text. A single cluster waits whole, however long.
class UnicodeToGlyphsStream {
 public:
  // Units read (over all texts) before short words that follow a space or a
  // line break are looked up in a cache of the glyphs they gave before. The
  // cache pays off over many words only, so a short text goes without it.
  static constexpr std::size_t kWordCacheAfter = 1 << 16;

  explicit UnicodeToGlyphsStream(std::size_t maxReported = 5);
  ~UnicodeToGlyphsStream();
  UnicodeToGlyphsStream(UnicodeToGlyphsStream&&) noexcept;
  UnicodeToGlyphsStream& operator=(UnicodeToGlyphsStream&&) noexcept;

  void feed(std::u16string_view text, GlyphString& out);
  // Ends the text; the next one starts at line 1, column 1. The count and
  // places stay, to go on over several texts.
  void finish(GlyphString& out);
  const Unconverted& unconverted() const { return unconverted_; }
  // Drops the count and places, to start them again (the word cache stays).
  void forgetUnconverted() { unconverted_ = {}; }

 private:
  struct Words;

  // Converts text that may be cut at both ends, a short word from the cache.
  void convertWords(std::u16string_view text, GlyphString& out);
  void convert(std::u16string_view text, GlyphString& out);

  std::size_t read_ = 0;
  std::unique_ptr<Words> words_;
  std::size_t maxReported_;
  Unconverted unconverted_;
  TextPosition at_;         // of the first character not converted yet
  std::u16string pending_;  // text after the last place it may be cut
  std::u16string decomposed_;
  GlyphString slow_;  // glyphs converted between words found
  std::vector<std::size_t> inserted_;
};

// The characters of a glyph string that are no font code, and which
// glyphsToUnicode therefore keeps as they are: counted and placed as
// unicodeToGlyphs does. Tabs, line breaks and U+2028 are not counted.
Unconverted unconvertedGlyphs(std::u16string_view glyphs, const ConversionOptions& options = {});

// Whether unconvertedGlyphs counts a character of a glyph string (one that
// is not a line break).
bool keptAsGlyph(char32_t c);

}  // namespace kavelin
