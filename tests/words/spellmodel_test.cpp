// SPDX-License-Identifier: GPL-3.0-or-later
// The letter model of key spellings and the spellings guessed from typed
// letters, on a handful of hand-made words.
#include "spellmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace kavelin::words {
namespace {

std::string joined(std::string_view spelling) {
  std::vector<std::uint8_t> tokens;
  if (!keyTokens(spelling, tokens)) return "<none>";
  std::string out;
  for (std::uint8_t t : tokens) {
    if (!out.empty()) out += ' ';
    out += tokenKeys(t);
  }
  return out;
}

TEST(KeyTokens, LongestKeyFirst) {
  struct Case {
    const char* spelling;
    const char* tokens;
  } cases[] = {
      {"bhaarat", "bh aa r a t"},
      {"chhatr", "chh a t r"},
      {"Kshatriy", "Ksh a t r i y"},
      {"a^gan", "a ^ g a n"},
      {"kRpaa", "k R p aa"},
      {"laRakee", "l a R a k ee"},
      {"Gyaan", "Gy aa n"},
      {"aa*kh", "aa * kh"},
      {"du:kh", "d u : kh"},
      {"ShaTkoN", "Sh a T k o N"},
      {"hrShi", "hr Sh i"},
      {"", "<none>"},
      {"x", "<none>"},    // no key token
      {"ka1", "<none>"},  // a digit
      {"kaQ", "<none>"},  // a capital that is no key
  };
  for (const Case& c : cases) EXPECT_EQ(joined(c.spelling), c.tokens) << c.spelling;
}

class GuessTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* w :
         {"bhaarat", "bhaaratee", "laRakee", "laRakaa", "shaadee",  "kamal",  "dharm",   "karm",
          "pyaar",   "kiyaa",     "diyaa",   "liyaa",   "hue",      "aa^kh",  "a^dar",   "ka^gan",
          "baat",    "raat",      "saat",    "kaam",    "naam",     "gaa^v",  "chhoTaa", "baRaa",
          "paanee",  "kahaanee",  "jaanaa",  "khaanaa", "bachchaa", "pattaa", "Thaakur", "DaakTar",
          "saaRee",  "bhaaShaa",  "vishan",  "sinemaa", "kaalej"}) {
      EXPECT_TRUE(model.add(w)) << w;
    }
  }
  std::vector<std::string> spellings(std::string_view typed, std::size_t n = 5) {
    std::vector<std::string> out;
    for (const Guess& g : guessSpellings(typed, model, n)) out.push_back(g.spelling);
    return out;
  }
  SpellingModel model;
};

TEST_F(GuessTest, ModelPrefersSpellingsLikeTheWordsItCounted) {
  EXPECT_EQ(model.words(), 37u);
  EXPECT_FALSE(model.add("q1"));
  EXPECT_EQ(model.words(), 37u);
  // A counted word against the same tokens shuffled, or vowels made short.
  EXPECT_LT(model.spellingCost("bhaarat"), model.spellingCost("rataabh"));
  EXPECT_LT(model.spellingCost("kahaanee"), model.spellingCost("kahanee"));
  EXPECT_LT(model.spellingCost("laRakee"), model.spellingCost("laRaki"));
  EXPECT_GT(model.spellingCost("bhaarat"), 0.0F);
  EXPECT_GE(model.spellingCost("q"), 100.0F);
  // Counting a word again makes it likelier.
  const float before = model.spellingCost("kamal");
  model.add("kamal");
  EXPECT_LT(model.spellingCost("kamal"), before);
}

TEST_F(GuessTest, LooseSpellingsGiveTheChartsSpelling) {
  struct Case {
    const char* typed;
    const char* spelling;  // among the first five guesses
  } cases[] = {
      {"bharat", "bhaarat"},
      {"bharati", "bhaaratee"},
      {"ladki", "laRakee"},
      {"larka", "laRakaa"},
      {"shadi", "shaadee"},
      {"pyar", "pyaar"},
      {"kia", "kiyaa"},
      {"dharma", "dharm"},
      {"ankh", "aa^kh"},
      {"kangan", "ka^gan"},
      {"sadi", "saaRee"},
      {"chota", "chhoTaa"},
      {"bacha", "bachchaa"},
      {"thakur", "Thaakur"},
      {"doctor", "DaakTar"},
      {"bhasha", "bhaaShaa"},
      {"BHARAT", "bhaarat"},
      // English spellings: tion, c before e or i, a final ge, o as aa.
      {"vision", "vishan"},
      {"cinema", "sinemaa"},
      {"college", "kaalej"},
      {"bha-rat", "bhaarat"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> got = spellings(c.typed);
    EXPECT_NE(std::find(got.begin(), got.end(), c.spelling), got.end())
        << c.typed << " -> " << testing::PrintToString(got);
  }
}

TEST_F(GuessTest, GuessesAreDistinctBestFirstAndBounded) {
  for (const char* typed : {"bharat", "kamalpatr", "a", "xyz", "shaadee", "aaaaaaaa"}) {
    const std::vector<Guess> got = guessSpellings(typed, model, 7);
    EXPECT_FALSE(got.empty()) << typed;
    EXPECT_LE(got.size(), 7u) << typed;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_TRUE(seen.insert(got[i].spelling).second) << typed << " " << got[i].spelling;
      if (i > 0) {
        EXPECT_LE(got[i - 1].cost, got[i].cost) << typed;
      }
      std::vector<std::uint8_t> tokens;
      EXPECT_TRUE(keyTokens(got[i].spelling, tokens)) << got[i].spelling;
    }
  }
  EXPECT_TRUE(guessSpellings("", model, 5).empty());
  EXPECT_TRUE(guessSpellings("123", model, 5).empty());
  EXPECT_TRUE(guessSpellings("bharat", model, 0).empty());
}

}  // namespace
}  // namespace kavelin::words
