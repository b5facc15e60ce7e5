// SPDX-License-Identifier: GPL-3.0-or-later
// Mixed-script text to glyph codes: which characters become glyphs, which stay
// as they were, and where the kept Devanagari is reported.
#include "mixedscript.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "describe.h"
#include "text.h"
#include "unicode.h"

namespace kavelin {
namespace {

using test::describe;

std::u16string utf16(std::string_view utf8) {
  std::u16string out;
  EXPECT_TRUE(decodeUtf8(utf8, out)) << utf8;
  return out;
}

// A piece as expected, in UTF-8.
struct Piece {
  bool glyphs;
  std::string_view content;
};

std::string describe(const std::vector<ScriptPiece>& pieces) {
  std::string out;
  for (const ScriptPiece& p : pieces) out += (p.glyphs ? "[G:" : "[T:") + describe(p.text) + "]";
  return out;
}

TEST(DevanagariToGlyphs, OnlyDevanagariBecomesGlyphs) {
  struct Case {
    std::string_view unicode;
    std::vector<Piece> pieces;
    std::size_t unconverted;
  };
  const std::vector<Case> cases = {
      {"", {}, 0},
      {"abc", {{false, "abc"}}, 0},
      {"नमस्ते", {{true, "ueLrs"}}, 0},
      // Spaces, digits and punctuation join two stretches; around them they
      // stay with the other text.
      {"नमस्ते, दुनिया!", {{true, "ueLrs] nqfu;k"}, {false, "!"}}, 0},
      {"ok, नमस्ते 12 धर्म. ok", {{false, "ok, "}, {true, "ueLrs 12 /keZ"}, {false, ". ok"}}, 0},
      {"12 नमस्ते", {{false, "12 "}, {true, "ueLrs"}}, 0},
      // Devanagari digits are Devanagari the font has no code for.
      {"विद्यार्थी १२३ ok", {{true, "fon~;kFkhZ १२३"}, {false, " ok"}}, 3},
      // Latin letters, other scripts, emoji, tabs and line breaks end a stretch.
      {"भारत India भारत", {{true, "Hkkjr"}, {false, " India "}, {true, "Hkkjr"}}, 0},
      {"नमस्ते \xF0\x9F\x98\x80 धर्म",
       {{true, "ueLrs"}, {false, " \xF0\x9F\x98\x80 "}, {true, "/keZ"}},
       0},
      {"धर्म\xF0\x9F\x99\x8F", {{true, "/keZ"}, {false, "\xF0\x9F\x99\x8F"}}, 0},
      {"धर्म\tधर्म\nधर्म",
       {{true, "/keZ"}, {false, "\t"}, {true, "/keZ"}, {false, "\n"}, {true, "/keZ"}},
       0},
      {"Ελλάδα 中文 नमस्ते", {{false, "Ελλάδα 中文 "}, {true, "ueLrs"}}, 0},
      {"\xE2\x80\x9Cधर्म\xE2\x80\x9D",
       {{false, "\xE2\x80\x9C"}, {true, "/keZ"}, {false, "\xE2\x80\x9D"}},
       0},
  };
  for (const Case& c : cases) {
    const MixedConversion m = devanagariToGlyphs(utf16(c.unicode));
    std::vector<ScriptPiece> expected;
    for (const Piece& p : c.pieces) {
      expected.push_back({utf16(p.content), p.glyphs});
    }
    EXPECT_EQ(describe(m.pieces), describe(expected)) << c.unicode;
    EXPECT_EQ(m.unconverted.count, c.unconverted) << c.unicode;
  }
}

// The Latin text and emoji come back unchanged, and the Devanagari through
// glyphsToUnicode; an unpaired surrogate outside Devanagari too.
TEST(DevanagariToGlyphs, RoundTrip) {
  std::vector<std::u16string> texts;
  for (std::string_view text :
       {"विद्यार्थी १२३ ok", "Hello नमस्ते, दुनिया! 123 (धर्म) \xF0\x9F\x98\x80 end", "a\r\nभारत\rb",
        "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"}) {
    texts.push_back(utf16(text));
  }
  texts.push_back(u"x\xD83D" + utf16("भारत") + u"\xDE00y");
  for (const std::u16string& unicode : texts) {
    std::u16string back;
    for (const ScriptPiece& p : devanagariToGlyphs(unicode).pieces) {
      back += p.glyphs ? glyphsToUnicode(p.text) : p.text;
    }
    EXPECT_EQ(describe(back), describe(unicode));
  }
}

// Kept characters are placed by line and column of the whole text: a surrogate
// pair is one column, LF, CR LF and CR each end a line; at most maxReported.
TEST(DevanagariToGlyphs, PlacesKeptCharacters) {
  ConversionOptions options;
  options.start = {3, 5};
  options.maxReported = 3;
  const MixedConversion m =
      devanagariToGlyphs(utf16("\xF0\x9F\x98\x80 अङ्ग\r\nab ङ\rक०\nङ"), options);
  EXPECT_EQ(m.unconverted.count, 4u);
  ASSERT_EQ(m.unconverted.first.size(), 3u);
  const std::vector<UnconvertedChar> expected = {{{3, 8}, U'ङ'}, {{4, 4}, U'ङ'}, {{5, 2}, U'०'}};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(m.unconverted.first[i].at.line, expected[i].at.line) << i;
    EXPECT_EQ(m.unconverted.first[i].at.column, expected[i].at.column) << i;
    EXPECT_EQ(m.unconverted.first[i].character, expected[i].character) << i;
  }
}

}  // namespace
}  // namespace kavelin
