// SPDX-License-Identifier: GPL-3.0-or-later
// Spelling: the words of a text in either encoding and where they stand, the
// slips undone, known and unknown words, and corrections ranked from both
// sources, with words added or ignored.
#include "spellcheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text.h"
#include "unicodetoglyphs.h"

namespace kavelin::words {
namespace {

struct WordsCase {
  std::u16string text;
  bool glyphs;
  std::vector<std::pair<std::size_t, std::u16string>> words;  // begin, Unicode
};

TEST(DevanagariWords, FindsTheWordsAndWhereTheyStand) {
  const WordsCase cases[] = {
      {u"यह एक परीक्षा है।", false, {{0, u"यह"}, {3, u"एक"}, {6, u"परीक्षा"}, {14, u"है"}}},
      // Latin, digits, Devanagari digits and punctuation are not words.
      {u"Hello, नमस्ते! 123 १२३ (भारत)", false, {{7, u"नमस्ते"}, {24, u"भारत"}}},
      // A joiner inside a word is dropped from it; one outside ends nothing.
      {u"क्\u200dष \u200cक", false, {{0, u"क्ष"}, {6, u"क"}}},
      // Glyph codes: a short i and a half form stay with their word; a space,
      // a danda (A) and digits end it.
      {u";g ifj{kk gSA 12 Hkkjr", true, {{0, u"यह"}, {3, u"परिक्षा"}, {10, u"है"}, {17, u"भारत"}}},
      {u"", false, {}},
      {u"   ", true, {}},
  };
  for (const WordsCase& c : cases) {
    const std::vector<TextWord> got = devanagariWords(c.text, c.glyphs);
    ASSERT_EQ(got.size(), c.words.size()) << c.glyphs;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].begin, c.words[i].first);
      EXPECT_EQ(got[i].unicode, c.words[i].second);
      // The span converts to the word.
      if (!c.glyphs) continue;
      const std::u16string_view span =
          std::u16string_view(c.text).substr(got[i].begin, got[i].length);
      EXPECT_EQ(unicodeToGlyphs(got[i].unicode).glyphs, span);
    }
  }
}

TEST(SlipsAway, UndoesTheTypicalSlips) {
  struct Case {
    std::u16string typo;
    std::u16string meant;
    Slip slip;
  } cases[] = {
      {u"परिक्षा", u"परीक्षा", Slip::kVowelLength},
      {u"पूस्तक", u"पुस्तक", Slip::kVowelLength},
      {u"इश्वर", u"ईश्वर", Slip::kVowelLength},
      {u"कतब", u"कताब", Slip::kVowelSign},
      {u"पढ़ं", u"पढ़ें", Slip::kVowelSign},
      {u"कितााब", u"किताब", Slip::kVowelSign},
      {u"हँस", u"हंस", Slip::kNasal},
      {u"हस", u"हंस", Slip::kNasal},
      {u"सम्बंध", u"संबंध", Slip::kNasal},
      {u"संबंध", u"सम्बंध", Slip::kNasal},
      {u"जरा", u"ज़रा", Slip::kNukta},
      {u"बड़ा", u"बडा", Slip::kNukta},
      {u"विद्यालय", u"विदयालय", Slip::kHalant},
      {u"विदयालय", u"विद्यालय", Slip::kHalant},
      {u"सिक्षा", u"शिक्षा", Slip::kSibilant},
      {u"कारन", u"कारण", Slip::kRetroflexN},
      {u"बिचार", u"विचार", Slip::kBaVa},
      {u"कावर", u"वाकर", Slip::kSwap},
      {u"कलम", u"कमल", Slip::kSwap},
  };
  for (const Case& c : cases) {
    const auto got = slipsAway(c.typo);
    const auto it =
        std::find_if(got.begin(), got.end(), [&](const auto& p) { return p.first == c.meant; });
    ASSERT_NE(it, got.end()) << encodeUtf8(c.typo);
    EXPECT_EQ(it->second, c.slip);
    // Each candidate once, none the word itself.
    EXPECT_EQ(
        std::count_if(got.begin(), got.end(), [&](const auto& p) { return p.first == c.typo; }), 0);
  }
  EXPECT_TRUE(slipsAway(u"").empty());
}

class SpellCheckerTest : public testing::Test {
 protected:
  void SetUp() override {
    WordSet::Builder b;
    for (const char16_t* w :
         {u"यह", u"है", u"परीक्षा", u"परीक्षण", u"किताब", u"पढ़ें", u"शिक्षा", u"भारत", u"कमल", u"कलम"}) {
      b.add(w, maskOf(WordList::kHunspell));
      suggester.add(w, kFromHunspell);
    }
    // A common word outranks a rare one of the same slip.
    suggester.add(u"कल", kFromCommon, 5);
    b.add(u"कल", maskOf(WordList::kAspell));
    b.add(u"कम", maskOf(WordList::kAspell));
    suggester.add(u"कम", kFromAspell);
    lists = std::move(b).build();
  }
  WordSet lists;
  Suggester suggester;
};

TEST_F(SpellCheckerTest, KnownWordsPassAndUnknownOnesGetCorrections) {
  SpellChecker checker(&lists, &suggester);
  struct Case {
    std::u16string word;
    bool known;
    std::u16string first;  // the first correction of an unknown word
  } cases[] = {
      {u"परीक्षा", true, u""},        {u"कल", true, u""},  // from the common words alone
      {u"परिक्षा", false, u"परीक्षा"}, {u"सिक्षा", false, u"शिक्षा"},
      {u"कितब", false, u"किताब"},    {u"कली", false, u"कल"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(checker.known(c.word), c.known);
    if (c.known) continue;
    const std::vector<std::u16string>& fixes = checker.corrections(c.word);
    ASSERT_FALSE(fixes.empty());
    EXPECT_LE(fixes.size(), 5u);
    EXPECT_EQ(fixes[0], c.first);
    for (const std::u16string& f : fixes) EXPECT_TRUE(checker.known(f));
  }
}

TEST_F(SpellCheckerTest, ChecksEitherEncodingAndLearnsWords) {
  SpellChecker checker(&lists, &suggester);
  // Latin letters are glyph codes in glyph text: only the Unicode has some.
  const std::u16string unicode = u"यह परिक्षा है, Test 12.";
  const std::u16string glyphs = unicodeToGlyphs(u"यह परिक्षा है, 12.").glyphs;
  for (const auto& [text, isGlyphs] : {std::pair{unicode, false}, std::pair{glyphs, true}}) {
    const std::vector<SpellChecker::Unknown> found = checker.check(text, isGlyphs);
    ASSERT_EQ(found.size(), 1u) << isGlyphs;
    EXPECT_EQ(found[0].word.unicode, u"परिक्षा");
    EXPECT_EQ(found[0].word.begin, 3u);
    ASSERT_FALSE(found[0].corrections.empty());
    EXPECT_EQ(found[0].corrections[0], u"परीक्षा");
  }
  EXPECT_TRUE(checker.check(unicode, false, false)[0].corrections.empty());
  checker.addWord(u"परिक्षा");
  EXPECT_TRUE(checker.check(unicode, false).empty());
  checker.ignoreWord(u"अजनबीपन");
  EXPECT_TRUE(checker.known(u"अजनबीपन"));
  // Without word data every word is unknown, with no corrections.
  SpellChecker empty(nullptr, nullptr);
  const auto all = empty.check(u"यह है", false);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_TRUE(all[0].corrections.empty());
}

}  // namespace
}  // namespace kavelin::words
