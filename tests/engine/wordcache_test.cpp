// SPDX-License-Identifier: GPL-3.0-or-later
// The transducer's word cache: the same output as without it, whatever the
// words, the pieces and the table's size.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "transducer.h"

namespace kavelin {
namespace {

using Output = Transducer::Output;

WordCacheSettings settings(std::size_t after, unsigned smallBits, unsigned largeBits) {
  WordCacheSettings s;
  s.after = after;
  s.smallBits = smallBits;
  s.largeBits = largeBits;
  return s;
}

const WordCacheSettings kOff = settings(~std::size_t{0}, 12, 12);

// Feeds `text` in pieces of the given lengths (cycled) and finishes it.
std::string streamed(Transducer& t, const std::string& text, const std::vector<std::size_t>& cuts) {
  std::string out;
  std::size_t at = 0;
  for (std::size_t k = 0; at < text.size(); ++k) {
    const std::size_t n = cuts[k % cuts.size()];
    EXPECT_TRUE(t.feed(std::string_view(text).substr(at, n), out));
    at += n;
  }
  EXPECT_TRUE(t.finish(out));
  return out;
}

std::string without(const std::string& text, Output output) {
  Transducer plain(output, kOff);
  return streamed(plain, text, {text.size() + 1});
}

// Words that take the cache's every path: plain ones, a short i that takes a
// half form back (within the word and from the word before: "s ki"), words
// longer than the key, punctuation in a word, runs of spaces, line breaks of
// every kind, characters beyond ASCII, a tab and DEL.
const std::vector<std::string> kWords = {"namaste",
                                         "ki",
                                         "kiya",
                                         "ski",
                                         "sthiti",
                                         "bhi",
                                         "liye",
                                         "hindi",
                                         "shri",
                                         "i",
                                         "aur",
                                         "pratijaivikon",
                                         "anusandhanakaryakram",
                                         "sanrachanaon",
                                         "a.b,c!",
                                         "5000",
                                         "",
                                         "",
                                         "\r\n",
                                         "\n",
                                         "\r",
                                         "s",
                                         "k",
                                         "\xC3\xA9",
                                         "kar\xE0\xA4\x95",
                                         "\t",
                                         "\x7F",
                                         "M",
                                         "^",
                                         "ksh",
                                         "tr",
                                         "rk",
                                         "rki",
                                         "stri",
                                         "SHi"};

std::string randomText(std::mt19937& rng, std::size_t words,
                       const std::vector<std::string>& vocabulary) {
  std::string text;
  std::uniform_int_distribution<std::size_t> pick(0, vocabulary.size() - 1);
  for (std::size_t k = 0; k < words; ++k) text += vocabulary[pick(rng)] + " ";
  return text;
}

TEST(WordCache, EqualsTheTransducerWithoutItInAnyPieces) {
  struct Case {
    const char* name;
    WordCacheSettings words;
  } cases[] = {
      {"two entries, every word collides", settings(0, 1, 1)},
      {"grows from 4 to 64 entries", settings(0, 2, 6)},
      {"the default sizes", settings(0, 12, 16)},
      {"switched on in the middle of the text", settings(700, 4, 8)},
  };
  std::mt19937 rng(25);
  for (const Case& c : cases) {
    for (Output output : {Output::kCodes, Output::kUtf8}) {
      Transducer cached(output, c.words);
      for (int round = 0; round < 60; ++round) {
        const std::string text = randomText(rng, 20 + round * 4, kWords);
        const std::string expected = without(text, output);
        std::vector<std::size_t> cuts;
        if (round % 4 == 0) {
          cuts = {text.size()};
        } else {
          for (int k = 0; k < 5; ++k) {
            cuts.push_back(
                std::uniform_int_distribution<std::size_t>(1, 8u << (round % 4 * 2))(rng));
          }
        }
        ASSERT_EQ(streamed(cached, text, cuts), expected) << c.name << ": " << text;
      }
      const WordCacheStats stats = cached.wordCacheStats();
      EXPECT_GT(stats.hits, 0u) << c.name;
      EXPECT_GT(stats.stored, 0u) << c.name;
    }
  }
}

TEST(WordCache, EveryPieceSizeFromOneByteOn) {
  // Each text repeated so that its words are in the table before the cut
  // ones come; the half form of "s" is taken back by the "ki" after it.
  const std::vector<std::string> texts = {
      "s ki s ki s ki s ki s ki s ki s ki s ki ",
      "namaste ski sthiti ",
      "anusandhanakaryakramon aur pratijaivikon ",
      "kiya\r\nkiya\rkiya\nkiya \r\n",
      "r\xC3\xA9 ki\xE0\xA4\x95 ",
      "a  b   c    ",
  };
  for (Output output : {Output::kCodes, Output::kUtf8}) {
    for (const std::string& unit : texts) {
      std::string text;
      for (int k = 0; k < 12; ++k) text += unit;
      const std::string expected = without(text, output);
      for (std::size_t piece = 1; piece <= 40; ++piece) {
        Transducer cached(output, settings(0, 6, 6));
        EXPECT_EQ(streamed(cached, text, {piece}), expected) << unit << " in pieces of " << piece;
      }
    }
  }
}

TEST(WordCache, ReadsTheGlyphBeforeAWordCutFromIt) {
  // A piece that starts with "i " after "sk" takes the half form of s, output
  // by the piece before, back; after " k" or "kk" the same word from the same
  // state finds a space or another half form there. Each piece is long enough
  // for the cache to look its first word up.
  const std::string rest = "i aur namaste aur namaste ";
  const std::vector<std::string> heads = {"namaste sk", "namaste k", "namaste kk", "namaste tk",
                                          "namaste sk", "namaste k", "namaste kk", "namaste tk"};
  for (Output output : {Output::kCodes, Output::kUtf8}) {
    Transducer cached(output, settings(0, 4, 4));
    std::string out, text;
    for (int round = 0; round < 3; ++round) {
      for (const std::string& head : heads) {
        ASSERT_TRUE(cached.feed(head, out));
        ASSERT_TRUE(cached.feed(rest, out));
        text += head + rest;
      }
    }
    ASSERT_TRUE(cached.finish(out));
    EXPECT_EQ(out, without(text, output));
    EXPECT_GT(cached.wordCacheStats().hits, 20u);
  }
}

TEST(WordCache, GrowsOnceAndOnlyWhenTheSmallTableMisses) {
  struct Case {
    const char* name;
    std::vector<std::string> vocabulary;
    std::size_t entries;
  } cases[] = {
      {"one word stays in the small table", {"namaste"}, 16},
      {"many words grow it", {}, 256},
  };
  std::mt19937 rng(7);
  for (Case& c : cases) {
    if (c.vocabulary.empty()) {
      for (int k = 0; k < 2000; ++k) c.vocabulary.push_back("ka" + std::to_string(k));
    }
    Transducer cached(Output::kCodes, settings(0, 4, 8));
    EXPECT_EQ(cached.wordCacheStats().entries, 0u) << "not on before any input";
    const std::string text = randomText(rng, 20000, c.vocabulary);
    EXPECT_EQ(streamed(cached, text, {4096}), without(text, Output::kCodes)) << c.name;
    EXPECT_EQ(cached.wordCacheStats().entries, c.entries) << c.name;
  }
}

TEST(WordCache, StartsAfterEnoughInputOverAllTexts) {
  Transducer t(Output::kCodes, settings(1000, 4, 8));
  const std::string text = "namaste aur namaste aur namaste aur namaste aur namaste ";
  for (int k = 0; k < 40; ++k) {
    EXPECT_EQ(streamed(t, text, {text.size()}), without(text, Output::kCodes));
    const WordCacheStats stats = t.wordCacheStats();
    if ((k + 1) * text.size() < 1000) {
      EXPECT_EQ(stats.entries, 0u) << k;
      EXPECT_EQ(stats.lookups, 0u) << k;
    } else {
      EXPECT_EQ(stats.entries, 16u) << k;
    }
  }
  EXPECT_GT(t.wordCacheStats().hits, 50u);
}

}  // namespace
}  // namespace kavelin
