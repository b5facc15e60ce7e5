// SPDX-License-Identifier: GPL-3.0-or-later
// The streaming byte transducer against the engine's own conversion.
#include "corpus.h"
#include "transducer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "test_util.h"

namespace kavelin {
namespace {

using Output = Transducer::Output;

// What the program makes of UTF-8 text: decoded, breaks made CR LF, e2h.
std::string reference(const std::string& utf8, Output output) {
  std::u16string text;
  EXPECT_TRUE(decodeUtf8(utf8, text));
  Engine engine;
  const GlyphString glyphs = engine.e2h(toCrLf(text));
  return output == Output::kCodes ? glyphToCodes(glyphs) : encodeUtf8(glyphs);
}

// Feeds `utf8` in pieces cut at the given lengths (cycled).
std::string streamed(Transducer& t, const std::string& utf8, const std::vector<std::size_t>& cuts) {
  std::string out;
  std::size_t at = 0;
  for (std::size_t k = 0; at < utf8.size(); ++k) {
    const std::size_t n = cuts.empty() ? utf8.size() : cuts[k % cuts.size()];
    EXPECT_TRUE(t.feed(std::string_view(utf8).substr(at, n), out));
    at += n;
  }
  EXPECT_TRUE(t.finish(out));
  return out;
}

TEST(Transducer, EqualsTheEngineOnRandomTextInRandomPieces) {
  std::mt19937 rng(9);
  const std::vector<std::string> alphabet = {"a",
                                             "a",
                                             "a",
                                             "e",
                                             "i",
                                             "i",
                                             "o",
                                             "u",
                                             "k",
                                             "g",
                                             "c",
                                             "j",
                                             "t",
                                             "d",
                                             "n",
                                             "p",
                                             "b",
                                             "m",
                                             "y",
                                             "r",
                                             "r",
                                             "l",
                                             "v",
                                             "s",
                                             "h",
                                             "S",
                                             "K",
                                             "G",
                                             "D",
                                             "T",
                                             "N",
                                             "R",
                                             "x",
                                             "z",
                                             "q",
                                             "f",
                                             "w",
                                             "A",
                                             "I",
                                             "U",
                                             "O",
                                             "E",
                                             "M",
                                             "H",
                                             "^",
                                             "^",
                                             " ",
                                             " ",
                                             " ",
                                             "\r\n",
                                             "\n",
                                             "\r",
                                             ".",
                                             ",",
                                             "!",
                                             "?",
                                             "/",
                                             "-",
                                             "5",
                                             "\\",
                                             "\t",
                                             "\xC3\xA9",
                                             "\xE0\xA4\x95",
                                             "\xF0\x9F\x98\x80",
                                             "\x7F"};
  Transducer codes(Output::kCodes), utf8(Output::kUtf8);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int length = std::uniform_int_distribution<int>(0, 80)(rng);
    for (int i = 0; i < length; ++i) {
      text += alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    }
    std::vector<std::size_t> cuts;
    if (round % 3) {
      for (int k = 0; k < 4; ++k)
        cuts.push_back(std::uniform_int_distribution<std::size_t>(1, 9)(rng));
    }
    ASSERT_EQ(streamed(codes, text, cuts), reference(text, Output::kCodes)) << text;
    ASSERT_EQ(streamed(utf8, text, cuts), reference(text, Output::kUtf8)) << text;
  }
}

TEST(Transducer, EqualsTheEngineOnTheCorpus) {
  const std::string sample = test::corpusBytes();
  std::string text;
  for (int i = 0; i < 50; ++i) text += sample;
  for (Output output : {Output::kCodes, Output::kUtf8}) {
    Transducer t(output);
    EXPECT_EQ(streamed(t, text, {4096}), reference(text, output));
    EXPECT_EQ(streamed(t, text, {1}), reference(text, output));
  }
}

TEST(Transducer, TakesAHalfFormBackAcrossPieces) {
  Transducer t(Output::kCodes);
  for (const std::vector<std::size_t>& cuts : {std::vector<std::size_t>{1}, {2}, {3}}) {
    EXPECT_EQ(streamed(t, "ski", cuts), "fLd ");
    EXPECT_EQ(streamed(t, "namaste ski\r\nski", cuts), "ueLrs fLd \nfLd ");
  }
}

TEST(Transducer, ReportsInvalidUtf8WithItsOffset) {
  struct Case {
    std::vector<std::string> pieces;
    std::size_t offset;
    bool failsAtFinish;
  } cases[] = {
      {{"ab\xFF"}, 2, false},       {{"ka", "\xFF"}, 2, false},
      {{"a\xC3"}, 1, true},         {{"ka", "\xE0\xA4"}, 2, true},
      {{"ka\xE0", "x"}, 2, false},  {{"k\xC0\x80"}, 1, false},
      {{"\xED\xA0\x80"}, 0, false}, {{"abc", "\xF0\x9F", "\x98", "\x28"}, 3, false},
  };
  for (const Case& c : cases) {
    Transducer t;
    std::string out;
    Utf8Error error;
    bool ok = true;
    for (const std::string& piece : c.pieces) {
      if (!(ok = t.feed(piece, out, &error))) break;
    }
    if (ok) {
      ASSERT_TRUE(c.failsAtFinish) << c.pieces.back();
      ok = t.finish(out, &error);
    }
    EXPECT_FALSE(ok) << c.pieces.back();
    EXPECT_EQ(error.offset, c.offset) << c.pieces.back();
  }
  // A sequence split over pieces is fine.
  Transducer t;
  std::string out;
  EXPECT_TRUE(t.feed("ka\xE0", out));
  EXPECT_TRUE(t.feed("\xA4", out));
  EXPECT_TRUE(t.feed("\x95ga", out));
  EXPECT_TRUE(t.finish(out));
  EXPECT_EQ(out, reference("ka\xE0\xA4\x95ga", Output::kUtf8));
}

}  // namespace
}  // namespace kavelin
