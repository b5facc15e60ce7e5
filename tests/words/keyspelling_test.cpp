// SPDX-License-Identifier: GPL-3.0-or-later
// Key spellings: the chart's spelling of chosen words, each typed back into a
// fresh engine, and the words no key spelling reaches.
#include "keyspelling.h"

#include <gtest/gtest.h>

#include "engine.h"
#include "text.h"
#include "unicode.h"

namespace kavelin::words {
namespace {

std::u16string utf16(const char* utf8) {
  std::u16string out;
  decodeUtf8(utf8, out);
  return out;
}

// What a fresh engine makes of a spelling, as Unicode.
std::u16string typed(const std::string& spelling) {
  Engine engine;
  GlyphString glyphs = engine.e2h(latin1(spelling));
  if (!glyphs.empty() && glyphs.back() == u' ') glyphs.pop_back();
  return glyphsToUnicode(glyphs);
}

struct Spelled {
  const char* word;
  const char* spelling;
};

class KeySpellingTest : public testing::TestWithParam<Spelled> {};

TEST_P(KeySpellingTest, SpellsAsTheChartAndTypesBack) {
  const Spelled& c = GetParam();
  KeySpeller speller;
  std::string spelling;
  EXPECT_EQ(speller.spellUtf8(c.word, spelling), SpellFailure::kNone);
  EXPECT_EQ(spelling, c.spelling);
  EXPECT_EQ(typed(spelling), utf16(c.word)) << spelling;
  EXPECT_EQ(keySpelling(utf16(c.word)).value_or("(none)"), c.spelling);
}

INSTANTIATE_TEST_SUITE_P(
    Words, KeySpellingTest,
    testing::Values(
        // inherent a inside the word, none at its end; long vowels aa ee oo
        Spelled{"नमस्ते", "namaste"}, Spelled{"भारत", "bhaarat"}, Spelled{"धर्म", "dharm"},
        Spelled{"प्यार", "pyaar"}, Spelled{"पूरा", "pooraa"}, Spelled{"सब", "sab"},
        // half forms and the short i before a cluster
        Spelled{"हिन्दी", "hindee"}, Spelled{"विद्यार्थी", "vidyaarthee"}, Spelled{"स्थिति", "sthiti"},
        Spelled{"शान्ति", "shaanti"},
        // conjunct keys, rakar, reph, the vocalic r
        Spelled{"क्षमा", "Kshamaa"}, Spelled{"ज्ञान", "Gyaan"}, Spelled{"श्री", "shree"},
        Spelled{"प्रेम", "prem"}, Spelled{"राष्ट्र", "raaShTr"}, Spelled{"अर्थ", "arth"},
        Spelled{"कृष्ण", "kRShN"}, Spelled{"ऋषि", "hrShi"},
        // nukta letters, anusvara, candrabindu, visarga, the candra o
        Spelled{"ज़िंदगी", "zi^dagee"}, Spelled{"पीड़ित", "peeRit"}, Spelled{"लड़का", "laRakaa"},
        Spelled{"संग", "sa^g"}, Spelled{"नहीं", "nahee^"}, Spelled{"मैं", "mai^"},
        Spelled{"आँख", "aa*kh"}, Spelled{"पहुँच", "pahu*ch"}, Spelled{"दुःख", "du:kh"},
        Spelled{"कॉलेज", "kOlej"},
        // independent vowels after a consonant or a vowel sign
        Spelled{"नई", "naee"}, Spelled{"भाई", "bhaaee"}, Spelled{"जाओ", "jaao"},
        Spelled{"लिए", "lie"}, Spelled{"उसका", "usakaa"}, Spelled{"ऊपर", "oopar"},
        Spelled{"औरत", "aurat"},
        // the first choice fails: e before aa is the vowel ee, so aa is typed A
        Spelled{"लेआउट", "leAuT"}));

struct Unspelled {
  const char* word;
  SpellFailure why;
};

class UnspelledTest : public testing::TestWithParam<Unspelled> {};

TEST_P(UnspelledTest, SaysWhy) {
  const Unspelled& c = GetParam();
  KeySpeller speller;
  std::string spelling = "stale";
  EXPECT_EQ(speller.spellUtf8(c.word, spelling), c.why);
  EXPECT_EQ(spelling, "");
  EXPECT_FALSE(keySpelling(utf16(c.word)).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Words, UnspelledTest,
    testing::Values(Unspelled{"", SpellFailure::kNotDevanagari},
                    Unspelled{"hello", SpellFailure::kNotDevanagari},
                    Unspelled{"भारत!", SpellFailure::kNotDevanagari},
                    Unspelled{"क्\u200Dष", SpellFailure::kNotDevanagari},  // ZWJ
                    Unspelled{"\xFF", SpellFailure::kNotDevanagari},      // not UTF-8
                    Unspelled{"ङ", SpellFailure::kNoGlyph}, Unspelled{"ॐ", SpellFailure::kNoGlyph},
                    Unspelled{"क़लम", SpellFailure::kNoKey}, Unspelled{"फ़िल्म", SpellFailure::kNoKey},
                    Unspelled{"पढ़", SpellFailure::kNoKey},
                    Unspelled{"जगत्", SpellFailure::kNoKey},       // a final halant
                    Unspelled{"ि", SpellFailure::kNoKey},         // a sign without its letter
                    Unspelled{"कॆ", SpellFailure::kNoGlyph},       // short e
                    Unspelled{"स्रोत", SpellFailure::kNoMatch},    // sr types श्र
                    Unspelled{"ह्रास", SpellFailure::kNoMatch}));  // hr types ऋ

TEST(KeySpeller, CountsEveryWordByResult) {
  KeySpeller speller;
  std::string spelling;
  for (const char* word : {"भारत", "सब", "क़लम", "ङ", "hello", "स्रोत"})
    speller.spellUtf8(word, spelling);
  const SpellCounts& counts = speller.counts();
  EXPECT_EQ(counts.words, 6u);
  EXPECT_EQ(counts.byResult[static_cast<int>(SpellFailure::kNone)], 2u);
  EXPECT_EQ(counts.byResult[static_cast<int>(SpellFailure::kNoKey)], 1u);
  EXPECT_EQ(counts.byResult[static_cast<int>(SpellFailure::kNoGlyph)], 1u);
  EXPECT_EQ(counts.byResult[static_cast<int>(SpellFailure::kNotDevanagari)], 1u);
  EXPECT_EQ(counts.byResult[static_cast<int>(SpellFailure::kNoMatch)], 1u);
  // Two spelled words, one try each; the unmatched word tried more than one.
  EXPECT_GT(counts.engineRuns, 3u);
  EXPECT_LE(counts.engineRuns, 2u + KeySpeller::kMaxTries);
  speller.resetCounts();
  EXPECT_EQ(speller.counts().words, 0u);
}

TEST(KeySpeller, OneSpellerServesManyWordsAlike) {
  // The engine is reused: a word spells the same after any other word.
  KeySpeller reused;
  std::string first;
  std::string again;
  const char* words[] = {"विद्यार्थी", "आँख", "हिन्दी", "क़लम", "नमस्ते", "दुःख"};
  for (const char* word : words) {
    KeySpeller fresh;
    fresh.spellUtf8(word, first);
    reused.spellUtf8(word, again);
    EXPECT_EQ(first, again) << word;
  }
}

}  // namespace
}  // namespace kavelin::words
