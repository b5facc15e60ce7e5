// SPDX-License-Identifier: GPL-3.0-or-later
// Both legacy conversions in pieces against the whole-text conversions: every
// cut of short texts that reorder (short i, reph, conjuncts, surrogate pairs,
// CR LF), random texts in random pieces, and the corpus.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "corpus.h"
#include "describe.h"
#include "engine.h"
#include "text.h"
#include "unicode.h"
#include "unicodetoglyphs.h"

namespace kavelin {
namespace {

using test::describe;

// The text cut before each of `cuts` (ascending offsets).
std::vector<std::u16string_view> pieces(std::u16string_view text,
                                        const std::vector<std::size_t>& cuts) {
  std::vector<std::u16string_view> out;
  std::size_t from = 0;
  for (std::size_t cut : cuts) {
    out.push_back(text.substr(from, cut - from));
    from = cut;
  }
  out.push_back(text.substr(from));
  return out;
}

// In UTF-16, or with String = std::string in UTF-8.
template <typename String = std::u16string>
String unicodeInPieces(const std::vector<std::u16string_view>& parts) {
  GlyphsToUnicodeStream stream;
  String out;
  for (std::u16string_view part : parts) stream.feed(part, out);
  stream.finish(out);
  return out;
}

GlyphConversion glyphsInPieces(const std::vector<std::u16string_view>& parts,
                               std::size_t maxReported) {
  UnicodeToGlyphsStream stream(maxReported);
  GlyphConversion out;
  for (std::u16string_view part : parts) stream.feed(part, out.glyphs);
  stream.finish(out.glyphs);
  out.unconverted = stream.unconverted();
  return out;
}

void expectSame(const GlyphConversion& streamed, const GlyphConversion& whole,
                const std::string& what) {
  EXPECT_EQ(streamed.glyphs, whole.glyphs) << what;
  EXPECT_EQ(streamed.unconverted.count, whole.unconverted.count) << what;
  ASSERT_EQ(streamed.unconverted.first.size(), whole.unconverted.first.size()) << what;
  for (std::size_t i = 0; i < whole.unconverted.first.size(); ++i) {
    const UnconvertedChar& a = streamed.unconverted.first[i];
    const UnconvertedChar& b = whole.unconverted.first[i];
    EXPECT_EQ(a.character, b.character) << what << " #" << i;
    EXPECT_EQ(a.at.line, b.at.line) << what << " #" << i;
    EXPECT_EQ(a.at.column, b.at.column) << what << " #" << i;
  }
}

// Every way to cut `text` into two or three pieces.
template <typename Check>
void everyCut(std::u16string_view text, Check check) {
  for (std::size_t a = 0; a <= text.size(); ++a) {
    check(std::vector<std::size_t>{a});
    for (std::size_t b = a; b <= text.size(); ++b) check(std::vector<std::size_t>{a, b});
  }
}

TEST(GlyphsToUnicodeStream, EveryCutOfReorderingTexts) {
  const std::u16string texts[] = {
      u"fd",                      // short i before its consonant
      u"fDd",                     // ... before a conjunct
      u"fdZ",                     // with a reph after the syllable
      u"dZ fdZ",                  // reph back over the cluster
      u"vkS vks,s",               // sequences of three and two codes
      u"Dk [k",                   // half form and bar: the full consonant
      u"fD f ",                   // short i with no full consonant
      u"\u00C6d\u00C7d",          // reph with short i, short i with anusvara
      u"j+ Uk+ D~",               // nukta composition, halant
      u"d\U0001F600f\U0001F600",  // a surrogate pair to split
      u"fd\r\nfd\nZ",
  };
  for (const std::u16string& text : texts) {
    const std::u16string whole = glyphsToUnicode(text);
    everyCut(text, [&](const std::vector<std::size_t>& cuts) {
      EXPECT_EQ(unicodeInPieces(pieces(text, cuts)), whole)
          << describe(text) << " cut at " << cuts[0] << (cuts.size() > 1 ? "," : "")
          << (cuts.size() > 1 ? std::to_string(cuts[1]) : "");
    });
  }
}

TEST(UnicodeToGlyphsStream, EveryCutOfClusterTexts) {
  const std::u16string texts[] = {
      u"कि र्कि",           // short i, reph
      u"क्षि ज्ञा",          // conjuncts of their own codes
      u"स्त्रि प्र",          // rakar, a cluster of three
      u"र्क्सा क़ि",          // reph after ka before sa, a composed nukta letter
      u"क्\u200Dष क् ",      // a cluster a joiner ends, a halant at the end
      u"रु रू कृ",            // consonant and sign in one code
      u"कङ a\U0001F600ब",  // kept characters, a surrogate pair
      u"क\r\nङ\rङ\nङ",     // every line break before kept characters
      u"ि्ं",                // signs with no consonant
  };
  for (const std::u16string& text : texts) {
    const GlyphConversion whole = unicodeToGlyphs(text, {100, {}});
    everyCut(text, [&](const std::vector<std::size_t>& cuts) {
      expectSame(glyphsInPieces(pieces(text, cuts), 100), whole,
                 describe(text) + " cut at " + std::to_string(cuts[0]) +
                     (cuts.size() > 1 ? "," + std::to_string(cuts[1]) : ""));
    });
  }
}

// Random texts over `alphabet`, in random pieces of up to `longest` units.
template <typename Check>
void randomTexts(const std::vector<std::u16string>& alphabet, std::size_t longest, Check check) {
  std::mt19937 rng(20);
  for (int round = 0; round < 300; ++round) {
    std::u16string text;
    const std::size_t length = rng() % 60;
    for (std::size_t i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
    std::vector<std::size_t> cuts;
    for (std::size_t at = rng() % longest; at < text.size(); at += rng() % longest) {
      cuts.push_back(at);
    }
    check(text, cuts);
  }
}

TEST(GlyphsToUnicodeStream, RandomGlyphsInRandomPieces) {
  const std::vector<std::u16string> alphabet = {
      u"d",      u"D",          u"k",      u"f",      u"Z",      u"j",      u"+",      u"~",
      u"z",      u"a",          u"s",      u"S",      u"v",      u"W",      u",",      u" ",
      u"\n",     u"\r",         u"h",      u"\u00C6", u"\u00C7", u"\u00AA", u"\u201C", u"=",
      u"\u0958", u"\U0001F600", u"\xD800", u"|",      u"\xDC00", u"\u095B", u"+",      u"\u00E9"};
  randomTexts(alphabet, 6, [](const std::u16string& text, const std::vector<std::size_t>& cuts) {
    const std::u16string whole = glyphsToUnicode(text);
    EXPECT_EQ(unicodeInPieces(pieces(text, cuts)), whole) << describe(text);
    EXPECT_EQ(unicodeInPieces<std::string>(pieces(text, cuts)), encodeUtf8(whole))
        << describe(text);
  });
}

TEST(UnicodeToGlyphsStream, RandomTextsInRandomPieces) {
  const std::vector<std::u16string> alphabet = {
      u"क", u"ष", u"ज", u"ञ",  u"र",  u"स",    u"त", u"्",       u"्",          u"़",
      u"ि", u"ा", u"ी", u"ु",   u"ं",   u"ँ",     u"ः", u"अ",      u"।",         u"क़",
      u"ऱ", u"ङ", u" ", u"\n", u"\r", u"\r\n", u"a", u"\u200D", u"\U0001F600"};
  randomTexts(alphabet, 8, [](const std::u16string& text, const std::vector<std::size_t>& cuts) {
    expectSame(glyphsInPieces(pieces(text, cuts), 1000), unicodeToGlyphs(text, {1000, {}}),
               describe(text));
  });
}

TEST(Streams, TheCorpusBothWaysInPiecesOfEveryFewSizes) {
  const GlyphString glyphs = Engine().e2h(toCrLf(test::corpusText()));
  const std::u16string unicode = glyphsToUnicode(glyphs);
  for (std::size_t size : {1, 2, 3, 7, 64, 4096}) {
    std::vector<std::size_t> at;
    for (std::size_t k = size; k < glyphs.size(); k += size) at.push_back(k);
    EXPECT_EQ(unicodeInPieces(pieces(glyphs, at)), unicode) << size;
    EXPECT_EQ(unicodeInPieces<std::string>(pieces(glyphs, at)), encodeUtf8(unicode)) << size;
    at.clear();
    for (std::size_t k = size; k < unicode.size(); k += size) at.push_back(k);
    expectSame(glyphsInPieces(pieces(unicode, at), 5), unicodeToGlyphs(unicode),
               "corpus " + std::to_string(size));
  }
}

// The text fed a glyph at a time: pieces shorter than the lookahead never
// reach the word cache, so this is the composer's own text.
template <typename String = std::u16string>
String unicodeGlyphByGlyph(std::u16string_view text, GlyphsToUnicodeStream& stream) {
  String out;
  for (std::size_t i = 0; i < text.size(); ++i) stream.feed(text.substr(i, 1), out);
  stream.finish(out);
  return out;
}

// Enough words that the word cache is in use after them.
std::u16string wordCacheWarmUp() {
  std::u16string text;
  while (text.size() < GlyphsToUnicodeStream::kWordCacheAfter) text += u"dk ";
  return text;
}

// `text` in pieces of `size` glyphs, in UTF-16 and UTF-8, against the
// composer's own text.
void expectSameAsComposer(const std::u16string& text, const std::string& what) {
  GlyphsToUnicodeStream reference;
  const std::u16string expected = unicodeGlyphByGlyph(text, reference);
  for (std::size_t size : {3, 4, 5, 7, 13, 64, 4096, 1 << 20}) {
    std::vector<std::size_t> at;
    for (std::size_t k = size; k < text.size(); k += size) at.push_back(k);
    EXPECT_EQ(unicodeInPieces(pieces(text, at)), expected) << what << ", pieces of " << size;
    EXPECT_EQ(unicodeInPieces<std::string>(pieces(text, at)), encodeUtf8(expected))
        << what << ", pieces of " << size;
  }
}

// Words after a break read from the cache once it is in use: each text three
// times after the warm-up, so that its words are found in the cache.
TEST(GlyphsToUnicodeStream, WordCacheGivesTheComposersText) {
  const struct {
    std::u16string_view text;
    const char* what;
  } cases[] = {
      {u"fd fdZ dZ fD f f", "a short i and a reph within words"},
      {u"Z d +d ~d zd zzd", "words that start with a reph, nukta, halant, rakar"},
      {u"d+ j+ U+ Uk+ ", "a nukta composing at the end of a word"},
      {u"abcdefghij abcdefghik abcdefgxij abcxefghij ", "words differing in one glyph"},
      {u"dddddddddddk dddddddddddkk ddddddddddd\n", "eleven glyphs and a break, and twelve"},
      {u"d dk dkd dkdk dkdkd dkdkdk dkdkdkd dkdkdkdk dkdkdkdkd dkdkdkdkdk dkdkdkdkdkd\n"
       u"dkdkdkdkdkdk dkdkdkdkdkdkd\ndkdkdkdkdkdkdk  ",
       "words of every length to fourteen: breaks at every place of the windows"},
      {u"d \nd\n d  \n\n  d", "a word before a space and a line break, empty words"},
      {u"d\U0001F600 \U0001F600 \xD800 d \xDC00 d\xD800", "surrogate pairs and unpaired ones"},
      {u"\u201Cd \u0958 \u0929+ \u00E9 d\u0301 ", "beyond Latin-1, an exclusion, a nukta letter"},
      {u"vkS vks ,s bZ ks kS vk", "sequences of two and three codes"},
      {u"Dk [k DkZ Dkk", "half forms and the bar"},
      {u"fd\r\nfd\r d\r", "CR within words"},
      {u"\u00C6d \u00C7d \u00AA \u00C6 d\u00C6", "reph with short i, short i with anusvara"},
  };
  const std::u16string warmUp = wordCacheWarmUp();
  for (const auto& c : cases) {
    std::u16string text = warmUp;
    for (int k = 0; k < 3; ++k) text += c.text;
    expectSameAsComposer(text, c.what);
  }
}

// Five random texts of words over `alphabet`, each word followed by one of
// `breaks`, with the cuts of random pieces: few words; many, sharing the
// cache's places; many long ones, `stem` and up to `tail` more units, that
// differ only in their last units.
template <typename Check>
void randomWordTexts(const std::vector<std::u16string>& alphabet, std::u16string_view stem,
                     std::size_t tail, const std::vector<std::u16string_view>& breaks,
                     std::size_t atLeast, std::uint32_t seed, Check check) {
  std::mt19937 rng(seed);
  for (int round = 0; round < 5; ++round) {
    std::vector<std::u16string> words(round < 3 ? 30 : 3000);
    for (std::u16string& word : words) {
      if (round == 4) word = stem;
      for (std::size_t n = rng() % (round == 4 ? tail : 14); n > 0; --n) {
        word += alphabet[rng() % alphabet.size()];
      }
    }
    std::u16string text;
    while (text.size() < atLeast) {
      text += words[rng() % words.size()];
      text += breaks[rng() % breaks.size()];
    }
    std::vector<std::size_t> cuts;
    for (std::size_t at = rng() % 40; at < text.size(); at += 1 + rng() % 40) cuts.push_back(at);
    check(text, cuts, "round " + std::to_string(round));
  }
}

TEST(GlyphsToUnicodeStream, WordCacheWithRandomWordsInRandomPieces) {
  const std::vector<std::u16string> alphabet = {
      u"d", u"D", u"k", u"f", u"Z", u"j", u"+", u"~",      u"z",      u"a",      u"s",
      u"S", u"v", u"W", u",", u"h", u"U", u"[", u"\u00C6", u"\u00C7", u"\u00AA", u"\u201C"};
  const std::vector<std::u16string_view> breaks = {u"\n", u" ", u" ", u" ", u" ", u" ", u" ", u" "};
  randomWordTexts(
      alphabet, u"dddddddd", 4, breaks, GlyphsToUnicodeStream::kWordCacheAfter + 20000, 24,
      [](const std::u16string& text, const std::vector<std::size_t>& cuts,
         const std::string& what) {
        GlyphsToUnicodeStream reference;
        const std::u16string expected = unicodeGlyphByGlyph(text, reference);
        EXPECT_EQ(unicodeInPieces(pieces(text, cuts)), expected) << what;
        EXPECT_EQ(unicodeInPieces<std::string>(pieces(text, cuts)), encodeUtf8(expected)) << what;
      });
}

// After `warmUp`, 90000 random words over `letters`, nearly all different,
// with the words `repeated` now and then.
std::u16string manyWords(std::u16string_view letters, const std::u16string& warmUp,
                         std::u16string_view repeated, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::u16string text = warmUp;
  text += repeated;
  for (int word = 0; word < 90000; ++word) {
    for (std::size_t n = 3 + rng() % 6; n > 0; --n) text += letters[rng() % letters.size()];
    text += word % 9 == 0 ? u'\n' : u' ';
    if (word % 5000 == 0) text += repeated;
  }
  text += repeated;
  return text;
}

// A text of many words, nearly all different, makes the cache grow (emptied)
// within a piece; words read before and after it, and cut across it, still
// give the composer's text.
TEST(GlyphsToUnicodeStream, WordCacheGrowingOnManyWords) {
  const std::u16string text = manyWords(u"dDkfZj+~zasSvW,hU[\u00C6\u00C7\u00AA", wordCacheWarmUp(),
                                        u"fdZ Uk+ Dk vkS \u00C6d ", 7);
  GlyphsToUnicodeStream reference;
  const std::u16string expected = unicodeGlyphByGlyph(text, reference);
  for (std::size_t size : {std::size_t{1000}, std::size_t{1} << 16, text.size()}) {
    std::vector<std::size_t> at;
    for (std::size_t k = size; k < text.size(); k += size) at.push_back(k);
    EXPECT_EQ(unicodeInPieces(pieces(text, at)), expected) << "pieces of " << size;
    EXPECT_EQ(unicodeInPieces<std::string>(pieces(text, at)), encodeUtf8(expected))
        << "pieces of " << size;
  }
}

// The cache outlives a text: a second text, however short, reads from it.
TEST(GlyphsToUnicodeStream, WordCacheAcrossTexts) {
  const std::u16string first = wordCacheWarmUp() + u"fdZ Uk+ ";
  const std::u16string second = u"dk fdZ Uk+ fdZ";
  GlyphsToUnicodeStream stream;
  std::string out;
  stream.feed(first, out);
  stream.finish(out);
  out.clear();
  stream.feed(second, out);
  stream.finish(out);
  EXPECT_EQ(out, encodeUtf8(glyphsToUnicode(second)));
}

// Enough words that the Unicode to glyphs word cache is in use after them.
std::u16string glyphWordsWarmUp() {
  std::u16string text;
  while (text.size() < UnicodeToGlyphsStream::kWordCacheAfter) text += u"का ";
  return text;
}

// `text` in pieces of every few sizes against the whole-text conversion,
// which goes without the cache, kept characters placed included.
void expectSameAsConverter(const std::u16string& text, const std::string& what) {
  const GlyphConversion whole = unicodeToGlyphs(text, {1000, {}});
  for (std::size_t size : {1, 2, 3, 4, 5, 7, 13, 64, 4096, 1 << 20}) {
    std::vector<std::size_t> at;
    for (std::size_t k = size; k < text.size(); k += size) at.push_back(k);
    expectSame(glyphsInPieces(pieces(text, at), 1000), whole,
               what + ", pieces of " + std::to_string(size));
  }
}

// Each text three times after the warm-up, so that its words are found in the
// cache, then once more after a line with kept characters.
TEST(UnicodeToGlyphsStream, WordCacheGivesTheConvertersGlyphs) {
  const struct {
    std::u16string_view text;
    const char* what;
  } cases[] = {
      {u"कि र्कि क्षि ज्ञा स्त्रि र्क्सा ", "short i, reph, conjuncts, rakar"},
      {u"र्भ र्भा दृ ऋ ", "codes 0x93 (U+201C) and above 0x9F"},
      {u"रु रू कृ क् ि ं ्क ़ ", "sign codes, a halant at the end, signs after a break"},
      {u"कखगघचछजझटठडढणतथद कखगघचछजझटठडढणतथदध ", "sixteen units and a break, and seventeen"},
      {u"कखगघचछजझटठडढणतथ\nकखगघचछजझटठडढणतथद\n", "the same before line breaks"},
      {u"ऑऑऑऑऑऑऑऑऑऑऑ ऑऑऑऑऑऑऑऑऑऑ ", "more glyphs than an entry keeps, and as many"},
      {u"कङ ङ a का\U0001F600 ब ", "kept characters, at the start, end and alone"},
      {u"क\r\nख\rग\nघ \r\n\r\n\nक\r \rक ", "CR, LF and CR LF around words"},
      {u"\U0001F600 क\U0001F600 \U0001F600\nक \xD800 \xDC00क ", "surrogate pairs, unpaired ones"},
      {u"क़ि क़ि ड़ ड़ फ़्र फ़्र ", "nukta letters composed and decomposed"},
      {u"  \n\n \nक  ख\n\n ", "empty words"},
      {u"क\u2028ख \u2028 क\tख \u2018क\u2019 ", "a line separator, a tab, quotes"},
      {u"ककका ककक कका कक का क ", "words differing in their last units"},
  };
  const std::u16string warmUp = glyphWordsWarmUp();
  for (const auto& c : cases) {
    std::u16string text = warmUp;
    for (int k = 0; k < 3; ++k) text += c.text;
    text += u"ङ a\n";
    text += c.text;
    expectSameAsConverter(text, c.what);
  }
}

TEST(UnicodeToGlyphsStream, WordCacheWithRandomWordsInRandomPieces) {
  const std::vector<std::u16string> alphabet = {
      u"क", u"ष", u"ज", u"ञ", u"र", u"स", u"त", u"्",  u"्",  u"़",  u"ि",
      u"ा", u"ी", u"ु",  u"ं",  u"ँ",  u"अ", u"।", u"क़", u"ङ", u"a", u"\U0001F600"};
  std::vector<std::u16string_view> breaks(13, u" ");
  breaks.insert(breaks.end(), {u"\n", u"\r\n", u"\r"});
  randomWordTexts(alphabet, u"कककककककक", 9, breaks, UnicodeToGlyphsStream::kWordCacheAfter + 20000,
                  25,
                  [](const std::u16string& text, const std::vector<std::size_t>& cuts,
                     const std::string& what) {
                    expectSame(glyphsInPieces(pieces(text, cuts), 1000),
                               unicodeToGlyphs(text, {1000, {}}), what);
                  });
}

// Many words, nearly all different, make the cache grow (emptied) within a
// piece; words read before and after it, and cut across it, still give the
// converter's glyphs.
TEST(UnicodeToGlyphsStream, WordCacheGrowingOnManyWords) {
  const std::u16string text =
      manyWords(u"कखगजतदनपबमयरलवसहािीुेोंँ़्", glyphWordsWarmUp(), u"कि र्कि क़ि ङ क्षि ", 8);
  const GlyphConversion whole = unicodeToGlyphs(text, {1000, {}});
  for (std::size_t size : {std::size_t{1000}, std::size_t{1} << 16, text.size()}) {
    std::vector<std::size_t> at;
    for (std::size_t k = size; k < text.size(); k += size) at.push_back(k);
    expectSame(glyphsInPieces(pieces(text, at), 1000), whole, "pieces of " + std::to_string(size));
  }
}

// The cache outlives a text: a second text, however short, reads from it,
// and places its kept characters from line 1.
TEST(UnicodeToGlyphsStream, WordCacheAcrossTexts) {
  const std::u16string first = glyphWordsWarmUp() + u"कि र्कि\n";
  const std::u16string second = u"का कि\nर्कि ङ कि";
  UnicodeToGlyphsStream stream;
  GlyphString out;
  stream.feed(first, out);
  stream.finish(out);
  stream.forgetUnconverted();
  out.clear();
  stream.feed(second, out);
  stream.finish(out);
  GlyphConversion streamed{out, stream.unconverted()};
  expectSame(streamed, unicodeToGlyphs(second), "second text");
}

TEST(Streams, FinishStartsANewText) {
  GlyphsToUnicodeStream unicode;
  std::u16string out;
  unicode.feed(u"f", out);
  unicode.finish(out);  // the short i stays where it was written
  unicode.feed(u"d", out);
  unicode.finish(out);
  EXPECT_EQ(out, glyphsToUnicode(u"f") + glyphsToUnicode(u"d"));

  UnicodeToGlyphsStream glyphs;
  GlyphString codes;
  glyphs.feed(u"क\nङ", codes);
  glyphs.finish(codes);
  glyphs.feed(u"ङ", codes);
  glyphs.finish(codes);
  ASSERT_EQ(glyphs.unconverted().count, 2u);
  EXPECT_EQ(glyphs.unconverted().first[0].at.line, 2u);
  EXPECT_EQ(glyphs.unconverted().first[1].at.line, 1u);  // counted again from line 1
  EXPECT_EQ(glyphs.unconverted().first[1].at.column, 1u);
}

}  // namespace
}  // namespace kavelin
