// SPDX-License-Identifier: GPL-3.0-or-later
// Which characters produce no output, and the tally and report of them.
#include "unconverted.h"

#include <gtest/gtest.h>

#include "engine.h"
#include "keytable.h"
#include "text.h"

namespace kavelin {
namespace {

// Where a character may stand: alone, after each key (and each key with a
// vowel), before a vowel or the rest of a key, inside a word.
std::vector<std::pair<std::u16string, std::u16string>> contexts() {
  std::vector<std::pair<std::u16string, std::u16string>> list = {
      {u"", u""}, {u"", u"a"}, {u"ka", u"ga"}, {u"ka ", u""}, {u"  ", u"aam"}};
  const KeyTable& table = KeyTable::instance();
  for (const KeyRow& row : table.rows()) {
    list.push_back({row.key, u""});
    list.push_back({row.key + u"a", u""});
    list.push_back({row.key + u"aa", u"i"});
    // The character as a key's first: the rest of the key follows.
    if (row.key.size() > 1) list.push_back({u"", row.key.substr(1)});
  }
  for (const PunctuationRow& row : table.punctuation()) list.push_back({row.key, u""});
  list.push_back({u"7", u""});
  return list;
}

GlyphString e2h(const std::u16string& s) { return Engine().e2h(toCrLf(s)); }

// The keys the engine hands to convrt while it converts `s`.
std::vector<std::u16string> keysRead(const std::u16string& s) {
  std::vector<std::u16string> keys;
  Engine engine;
  engine.setConvrtHook([&keys](const std::u16string& eng, const GlyphString&) {
    keys.push_back(eng);
    return true;
  });
  engine.e2h(toCrLf(s));
  return keys;
}

// A reported character is never read as (a part of) a key, nor does it act as
// a vowel suffix: wherever it stands, it gives no glyph of its own. Every
// other character is read as a key, or changes a key's glyphs as a suffix, in
// some place.
TEST(ProducesNoOutput, ExactlyTheCharactersNoKeyOrSuffixReads) {
  const auto places = contexts();
  const std::u16string suffixOnly = u"^HO";  // in suffixes, in no key
  for (char16_t c = 1; c < 128; ++c) {
    if (c == u' ' || c == u'\r' || c == u'\n') continue;  // breaks and word ends
    const std::u16string ch(1, c);
    bool read = false;
    for (const auto& [before, after] : places) {
      for (const std::u16string& key : keysRead(before + ch + after)) {
        if (key.find(c) != std::u16string::npos) read = true;
      }
    }
    if (suffixOnly.find(c) != std::u16string::npos) {
      // After a key, unlike a character no key reads.
      EXPECT_TRUE(e2h(u"k" + ch) != e2h(u"kB") || e2h(u"ka" + ch) != e2h(u"kaB")) << char(c);
      read = true;
    }
    EXPECT_EQ(producesNoOutput(c), !read) << "character " << int(c);
    if (producesNoOutput(c)) {
      EXPECT_EQ(e2h(ch), u"") << int(c);
      EXPECT_EQ(e2h(ch + ch + ch), u"") << int(c);
    }
  }
  // Not ASCII: never read by any key.
  for (char32_t c : {U'\u00E9', U'\u0915', U'\u4E2D', U'\uFEFF', U'\U0001F600'}) {
    EXPECT_TRUE(producesNoOutput(c));
  }
  EXPECT_EQ(e2h(u"\u4E2D\u00E9"), u"");
  // What the tables hold, and the breaks, are never reported.
  for (char32_t c : {U'a', U'^', U'M', U'H', U'O', U'k', U'7', U'!', U'.', U' ', U'\r', U'\n'}) {
    EXPECT_FALSE(producesNoOutput(c)) << char(c);
  }
  EXPECT_TRUE(producesNoOutput(U'@'));
  EXPECT_TRUE(producesNoOutput(U'\t'));
}

TEST(UnconvertedTally, CountsLinesAndColumnsInEachSource) {
  UnconvertedTally tally(producesNoOutput, 4);
  tally.startSource("a");
  // Breaks of every kind, a CR LF and a surrogate pair split between parts.
  tally.scan(u"k\u00E9\nx\r");
  tally.scan(u"\n\U0001F600");
  tally.scan(std::u16string(1, u"\U0001F600"[0]));
  tally.scan(std::u16string(1, u"\U0001F600"[1]) + u"@\r@");
  tally.startSource("b");
  tally.scan(u"ka\r\n\r\n  \u4E2D");
  tally.finishSource();
  EXPECT_EQ(tally.count(), 6u);
  ASSERT_EQ(tally.first().size(), 4u);
  const UnconvertedTally::Place expected[] = {{U'\u00E9', "a", 1, 2},
                                              {U'\U0001F600', "a", 3, 1},
                                              {U'\U0001F600', "a", 3, 2},
                                              {U'@', "a", 3, 3}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(tally.first()[i].character, expected[i].character) << i;
    EXPECT_EQ(tally.first()[i].source, expected[i].source) << i;
    EXPECT_EQ(tally.first()[i].line, expected[i].line) << i;
    EXPECT_EQ(tally.first()[i].column, expected[i].column) << i;
  }
  // The lines after the list still count: "@" on line 4, U+4E2D in b at 3:3.
  UnconvertedTally all;
  all.startSource("b");
  all.scan(u"ka\r\n\r\n  \u4E2D");
  ASSERT_EQ(all.first().size(), 1u);
  EXPECT_EQ(all.first()[0].line, 3u);
  EXPECT_EQ(all.first()[0].column, 3u);
}

// A character that ends a run of plain ones at each place of the blocks of
// eight the scan reads at once, then "@": the places found, in UTF-16 and
// in UTF-8 alike.
TEST(UnconvertedTally, AStopAtEachPlaceOfABlock) {
  const struct {
    char16_t stop;
    bool counted;  // produces no output
  } stops[] = {{u'@', true}, {u'\u00E9', true}, {u'\u016B', true}, {u'\n', false}, {u'\r', false}};
  for (const auto& s : stops) {
    for (std::size_t at = 0; at < 18; ++at) {
      const std::u16string text =
          std::u16string(at, u'k') + s.stop + std::u16string(17 - at, u'k') + u"@";
      const std::size_t line = s.counted ? 1 : 2;
      const std::size_t lastColumn = s.counted ? 19 : 18 - at;
      for (bool utf8 : {false, true}) {
        UnconvertedTally tally;
        tally.startSource("t");
        utf8 ? tally.scanUtf8(encodeUtf8(text)) : tally.scan(text);
        const std::string what = std::to_string(s.stop) + " at " + std::to_string(at) +
                                 (utf8 ? " in UTF-8" : " in UTF-16");
        ASSERT_EQ(tally.count(), s.counted ? 2u : 1u) << what;
        if (s.counted) {
          EXPECT_EQ(tally.first()[0].character, s.stop) << what;
          EXPECT_EQ(tally.first()[0].column, at + 1) << what;
        }
        EXPECT_EQ(tally.first().back().line, line) << what;
        EXPECT_EQ(tally.first().back().column, lastColumn) << what;
      }
    }
  }
}

TEST(UnconvertedTally, AnUnpairedSurrogateCountsAsOneCharacter) {
  UnconvertedTally tally;
  tally.startSource("s");
  tally.scan(std::u16string(1, char16_t(0xD800)) + u"a" + std::u16string(1, char16_t(0xDC00)));
  tally.scan(std::u16string(1, char16_t(0xD801)));
  tally.finishSource();
  ASSERT_EQ(tally.count(), 3u);
  EXPECT_EQ(tally.first()[1].column, 3u);
  EXPECT_EQ(tally.first()[2].character, U'\xD801');
}

TEST(UnconvertedReport, OneLineForTheCountAndOneForEachPlace) {
  UnconvertedTally none;
  EXPECT_EQ(unconvertedReport(none, "prog"), "");

  UnconvertedTally one;
  one.startSource("in.txt");
  one.scan(u"ka \u00E9");
  EXPECT_EQ(unconvertedReport(one, "prog"),
            "prog: warning: 1 input character produced no output\n"
            "prog:   in.txt:1:4: U+00E9 '\xC3\xA9'\n");

  UnconvertedTally many(producesNoOutput, 2);
  many.startSource("-");
  many.scan(u"\t\u0085\U0001F600@");
  EXPECT_EQ(unconvertedReport(many, "prog", true),
            "prog: error: 4 input characters produced no output\n"
            "prog:   -:1:1: U+0009\n"
            "prog:   -:1:2: U+0085\n"
            "prog:   (2 more)\n");
}

}  // namespace
}  // namespace kavelin
