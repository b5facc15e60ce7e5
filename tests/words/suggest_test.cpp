// SPDX-License-Identifier: GPL-3.0-or-later
// Suggestions: loose spellings find the word meant, ranked by what is known of
// the words; every spelling offered types its word exactly; the literal
// conversion stays among them or leads when nothing is known.
#include "suggest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "commonwords.h"
#include "unicode.h"

namespace kavelin::words {
namespace {

class SuggestTest : public testing::Test {
 protected:
  void SetUp() override {
    std::uint32_t rank = 0;
    for (std::u16string_view w : commonWords()) {
      if (s.add(w, kFromCommon, ++rank)) added.emplace(w);
    }
    for (const char16_t* w : {u"भारत", u"प्यार", u"धर्म", u"सभा", u"दिल", u"हे"}) {
      if (s.add(w, kFromHunspell)) added.emplace(w);
    }
    for (const char16_t* w : {u"भरत", u"प्यारा", u"धरम", u"डील", u"दील", u"हें"}) {
      if (s.add(w, kFromAspell)) added.emplace(w);
    }
  }
  std::vector<std::u16string> words(std::string_view typed, std::size_t n = 5) {
    std::vector<std::u16string> out;
    for (const Candidate& c : s.suggest(typed, n)) out.push_back(c.unicode);
    return out;
  }
  Suggester s;
  std::set<std::u16string> added;
};

TEST_F(SuggestTest, LooseSpellingsFindTheWordMeant) {
  struct Case {
    const char* typed;
    std::u16string first;
  } cases[] = {
      {"bharat", u"भारत"}, {"bhaarat", u"भारत"}, {"Bharat", u"भारत"}, {"pyar", u"प्यार"},
      {"pyaar", u"प्यार"},  {"dharma", u"धर्म"},   {"dharm", u"धर्म"},   {"hai", u"है"},
      {"he", u"है"},        {"mein", u"में"},       {"me", u"में"},        {"nahi", u"नहीं"},
      {"nahin", u"नहीं"},   {"kya", u"क्या"},      {"dil", u"दिल"},     {"sabha", u"सभा"},
  };
  for (const Case& c : cases) {
    const std::vector<std::u16string> got = words(c.typed);
    ASSERT_FALSE(got.empty()) << c.typed;
    EXPECT_EQ(got[0], c.first) << c.typed;
  }
}

// Chat writing: consonants alone find the common word among the first five;
// a word with a vowel in it is never read that way.
TEST_F(SuggestTest, ConsonantsAloneFindCommonWords) {
  struct Case {
    const char* typed;
    std::u16string meant;
    bool found;
  } cases[] = {
      {"h", u"है", true},    {"k", u"के", true},          {"tm", u"तुम", true},  {"hm", u"हम", true},
      {"kr", u"कर", true},  {"mt", u"मत", true},        {"bt", u"बात", true}, {"ti", u"तुम", false},
      {"hmm", u"हम", true}, {"tmhr", u"तुम्हारा", false},  // longer than three letters
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(added.count(c.meant)) << c.typed;
    const std::vector<std::u16string> got = words(c.typed);
    EXPECT_EQ(std::find(got.begin(), got.end(), c.meant) != got.end(), c.found) << c.typed;
  }
}

TEST_F(SuggestTest, EverySpellingTypesItsWordExactly) {
  Engine engine;
  for (const char* typed :
       {"bharat",    "pyar",       "dharm",
        "hai",       "me",         "dil",
        "sab",       "ke",         "ki",
        "kamalpatr", "ladki",      "shaadi",
        "kshatriya", "xyz",        "Ta",
        "a^",        "hr",         "q",
        "computer",  "university", "rishi",
        "shetra",    "gaon",       "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"}) {
    for (const Candidate& c : s.suggest(typed, 9)) {
      GlyphString glyphs = engine.e2h(std::u16string(c.spelling.begin(), c.spelling.end()));
      ASSERT_FALSE(glyphs.empty());
      EXPECT_EQ(glyphs.back(), u' ');
      glyphs.pop_back();
      EXPECT_EQ(glyphs, c.glyphs) << typed << " " << c.spelling;
      EXPECT_EQ(glyphsToUnicode(glyphs), c.unicode) << typed << " " << c.spelling;
      // Known exactly when it is a word that was added.
      EXPECT_EQ(c.known, added.count(c.unicode) == 1) << typed << " " << c.spelling;
    }
  }
}

TEST_F(SuggestTest, TheLiteralWordStaysOrLeads) {
  // "bharat" typed literally is भरत, a known word: among the candidates even
  // when the ranking puts it lower; with one place the best word has it.
  std::vector<std::u16string> two = words("bharat", 2);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[0], u"भारत");
  EXPECT_EQ(two[1], u"भरत");
  EXPECT_EQ(words("bharat", 1), std::vector<std::u16string>{u"भारत"});
  // Nothing known matches: the candidates are guesses, unknown, and the
  // literal conversion ranks among them, spelled as typed.
  const std::vector<Candidate> unknown = s.suggest("kamalpatr", 5);
  ASSERT_FALSE(unknown.empty());
  for (const Candidate& c : unknown) EXPECT_FALSE(c.known) << c.spelling;
  const auto literal = std::find_if(unknown.begin(), unknown.end(),
                                    [](const Candidate& c) { return c.spelling == "kamalpatr"; });
  ASSERT_NE(literal, unknown.end());
  EXPECT_EQ(literal->unicode, glyphsToUnicode(literal->glyphs));
  // A known word outranks the unknown guesses.
  const std::vector<Candidate> guessed = s.suggest("bhaarath", 5);
  ASSERT_FALSE(guessed.empty());
  EXPECT_EQ(guessed[0].unicode, u"भारत");
  EXPECT_TRUE(guessed[0].known);
  // ... and an unknown literal (भारथ) keeps no place of its own.
  EXPECT_EQ(words("bhaarath", 2), (std::vector<std::u16string>{u"भारत", u"भरत"}));
  EXPECT_TRUE(s.suggest("", 5).empty());
  EXPECT_TRUE(s.suggest("bharat", 0).empty());
}

// The lists miss many words: the best guess in no list keeps a place among
// the first five, however many listed words outrank it.
TEST(SuggestKeepGuess, TheBestUnlistedWordKeepsAPlace) {
  Suggester crowded;  // many listed words under the loose key of "kal"
  for (const char16_t* w : {u"कल", u"काल", u"कला", u"काला", u"कली", u"काली", u"कुल", u"कूल", u"खल",
                            u"खाल", u"कील", u"कोल", u"कौल", u"खली"}) {
    ASSERT_TRUE(crowded.add(w, kFromHunspell));
  }
  int moved = 0;
  for (const char* typed : {"kal", "kaal", "kali", "kala"}) {
    crowded.weights.keepGuess = 0;
    const std::vector<Candidate> ranked = crowded.suggest(typed, 30);
    const auto unknown =
        std::find_if(ranked.begin(), ranked.end(), [](const Candidate& c) { return !c.known; });
    ASSERT_NE(unknown, ranked.end()) << typed;
    if (unknown - ranked.begin() >= 5) ++moved;
    crowded.weights.keepGuess = 5;
    const std::vector<Candidate> five = crowded.suggest(typed, 5);
    ASSERT_EQ(five.size(), 5u) << typed;
    EXPECT_TRUE(std::any_of(five.begin(), five.end(), [](const Candidate& c) { return !c.known; }))
        << typed;
    EXPECT_EQ(five[0].unicode, ranked[0].unicode) << typed;  // the best stays first
  }
  EXPECT_GT(moved, 0);  // some of them needed the rule
}

TEST_F(SuggestTest, ShapesTheLettersDoNotAskForRankLower) {
  // Pairs from the same list, the second written as the typed letters ask:
  // the anusvara rather than a half nasal, no candrabindu, no visarga, and a
  // final vowel only when one is typed.
  struct Case {
    const char* typed;
    std::u16string other;
    std::u16string first;
  } cases[] = {
      {"ambar", u"अम्बर", u"अंबर"},      {"santosh", u"सन्तोष", u"संतोष"},
      {"angithi", u"अँगीठी", u"अंगीठी"}, {"agrata", u"अग्रतः", u"अग्रता"},
      {"andher", u"अंधेरा", u"अंधेर"},     {"andhera", u"अंधेर", u"अंधेरा"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(s.add(c.other, kFromAspell));
    ASSERT_TRUE(s.add(c.first, kFromAspell));
    const std::vector<std::u16string> got = words(c.typed);
    ASSERT_GE(got.size(), 2u) << c.typed;
    EXPECT_EQ(got[0], c.first) << c.typed;
    EXPECT_NE(std::find(got.begin(), got.end(), c.other), got.end()) << c.typed;
  }
}

TEST_F(SuggestTest, CommonWritingLeadsWhereTheLettersAllowBoth) {
  // Each pair from the same list: the common word, or the form most writing
  // uses, comes first whichever way it is typed.
  struct Case {
    const char* typed;
    std::u16string other;
    std::u16string first;
  } cases[] = {
      {"nahi", u"नही", u"नहीं"},  // a final nasal left out
      {"isme", u"इसमे", u"इसमें"},
      {"liye", u"लिये", u"लिए"},  // a glide y typed
      {"gaye", u"गये", u"गए"},
      {"gai", u"गे", u"गई"},                   // ai as two vowels
      {"zila", u"ज़िला", u"जिला"},             // no nukta
      {"rashtriye", u"राष्ट्रिये", u"राष्ट्रीय"},  // -ye as य
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(s.add(c.other, kFromAspell)) << c.typed;
    ASSERT_TRUE(s.add(c.first, kFromAspell)) << c.typed;
    const std::vector<std::u16string> got = words(c.typed);
    ASSERT_GE(got.size(), 2u) << c.typed;
    EXPECT_EQ(got[0], c.first) << c.typed;
    EXPECT_NE(std::find(got.begin(), got.end(), c.other), got.end()) << c.typed;
  }
}

TEST_F(SuggestTest, UnknownWordsAreGuessedBelowKnownOnes) {
  // No list holds a word for "kamalnayan"; the guesses are unknown, and the
  // chart's long vowels may be among them (kamalanayan, kamalnayan ...).
  const std::vector<Candidate> got = s.suggest("kamalnayan", 9);
  ASSERT_GE(got.size(), 2u);
  for (const Candidate& c : got) {
    EXPECT_FALSE(c.known) << c.spelling;
    EXPECT_FALSE(c.spelling.empty());
  }
  // Known words first, then guesses: "bharat" gives भारत and भरत first.
  const std::vector<Candidate> mixed = s.suggest("bharat", 9);
  ASSERT_GE(mixed.size(), 3u);
  EXPECT_TRUE(mixed[0].known);
  EXPECT_TRUE(mixed[1].known);
  bool seenUnknown = false;
  for (const Candidate& c : mixed) {
    if (!c.known) seenUnknown = true;
    if (seenUnknown) {
      EXPECT_FALSE(c.known) << "a known word after an unknown one: " << c.spelling;
    }
  }
  EXPECT_TRUE(seenUnknown);
}

TEST_F(SuggestTest, TheUsersWordsComeFirst) {
  EXPECT_EQ(words("bharat")[0], u"भारत");
  s.setUserCount(u"भरत", 3);
  EXPECT_EQ(words("bharat")[0], u"भरत");
  // A word the scheme cannot spell is not offered, even from the user.
  s.setUserCount(u"क़लम", 5);
  for (const std::u16string& w : words("kalam", 9)) EXPECT_NE(w, u"क़लम");
  const std::size_t before = s.size();
  EXPECT_FALSE(s.add(u"abc", kFromAspell));
  EXPECT_EQ(s.size(), before);
}

}  // namespace
}  // namespace kavelin::words
