// SPDX-License-Identifier: GPL-3.0-or-later
// The converter's pipeline in pieces against the whole-text conversion.
#include "corpus.h"
#include "stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "engine.h"
#include "text.h"
#include "unicode.h"

namespace kavelin::cli {
namespace {

namespace fs = std::filesystem;

std::u16string corpus() { return test::corpusText(); }

GlyphString whole(std::u16string_view text) { return Engine().e2h(toCrLf(text)); }

// The text given to a GlyphConverter in parts of the lengths `cuts` picks.
template <typename Cuts>
GlyphString inParts(std::u16string_view text, Cuts cuts) {
  GlyphConverter converter;
  GlyphString out;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t n = std::min(cuts(), text.size() - at);
    out += converter.add(text.substr(at, n));
    at += n;
  }
  return out + converter.finish();
}

// Texts whose lines hand the engine's state on: tokens left open at a line's
// end, dead token starts, short i after a half form, every kind of break.
std::vector<std::u16string> trickyTexts() {
  return {u"",
          u"\n",
          u"\r",
          u"\r\n",
          u"ka",
          u"ka\n",
          u"ka\r",
          u"namaste\ndharma\r\nbhaarat\rvidyaarthii",
          u"hindii\n\n\nkRShN\r\r\nrAShTr\n",
          u"k\nSa\nS\nSh\nE\nM\n@\nka S\n",
          u"ks\nit\nsi\nsti\nndi\n i\n\ni\n",
          u"a^\nA\naa^\nO\nkaM\nkaH\n^\n  aam\n",
          u"   \n \r \r\n  \n",
          u"caf\u00E9 \u4E2D\u6587 123\n\u00E9\n"};
}

TEST(GlyphConverterTest, PartsGiveWhatTheWholeTextGives) {
  std::vector<std::u16string> texts = trickyTexts();
  std::u16string joined;
  for (const std::u16string& t : texts) joined += t;
  texts.push_back(joined);
  texts.push_back(corpus());
  std::mt19937 rng(5);
  for (const std::u16string& text : texts) {
    const GlyphString expected = whole(text);
    EXPECT_EQ(inParts(text, [] { return std::size_t{1}; }), expected) << "one by one";
    EXPECT_EQ(inParts(text, [] { return std::size_t{1} << 30; }), expected) << "all at once";
    for (int round = 0; round < 20; ++round) {
      std::uniform_int_distribution<std::size_t> length(1, 1 + text.size() / 3);
      EXPECT_EQ(inParts(text, [&] { return length(rng); }), expected);
    }
  }
}

TEST(GlyphConverterTest, RandomTextsInRandomParts) {
  // Characters of keys, suffixes and breaks, mixed at random.
  const std::u16string alphabet = u"aaiiuekgdnrmshtcjpbAIUOMHSDTN^E@ \r\n\n\u00E9";
  std::mt19937 rng(17);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<std::size_t> length(0, 300);
  std::uniform_int_distribution<std::size_t> part(1, 40);
  for (int i = 0; i < 2000; ++i) {
    std::u16string text;
    for (std::size_t n = length(rng); n > 0; --n) text += alphabet[pick(rng)];
    ASSERT_EQ(inParts(text, [&] { return part(rng); }), whole(text)) << encodeUtf8(text);
  }
}

TEST(EncoderTest, UnicodeInPartsEqualsTheWholeConversion) {
  const GlyphString glyphs = whole(corpus() + u"\nfgUnh\nZ\nfd\nkZ");
  Encoder encoder(Encoder::Form::kUnicode);
  std::string out;
  std::size_t begin = 0;
  // In lines, as the converter gives them.
  for (std::size_t lf = glyphs.find(u'\n'); lf != GlyphString::npos;
       lf = glyphs.find(u'\n', begin)) {
    out += encoder.add(glyphs.substr(begin, lf + 1 - begin));
    begin = lf + 1;
  }
  out += encoder.add(glyphs.substr(begin));
  out += encoder.finish();
  EXPECT_EQ(out, encodeUtf8(glyphsToUnicode(glyphs)));
}

TEST(EncoderTest, RtfParagraphsDoNotDependOnTheParts) {
  const std::u16string text = u"ueLrs \n\n/keZ \nHkkjr ";
  for (const Encoder::Form form : {Encoder::Form::kRtfGlyphs, Encoder::Form::kRtfUnicode}) {
    Encoder once(form);
    std::string expected = once.add(text);
    expected += once.finish();
    for (std::size_t n = 1; n <= text.size(); ++n) {
      Encoder parts(form);
      std::string out;
      for (std::size_t at = 0; at < text.size(); at += n) out += parts.add(text.substr(at, n));
      EXPECT_EQ(out + parts.finish(), expected) << n;
    }
  }
}

class TextInputTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavelin-stream-" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string file(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return (dir_ / name).string();
  }
  // Everything the input gives, with a '#' where a source starts.
  static std::u16string readAll(TextInput& input) {
    std::u16string all, text;
    std::string source;
    bool starts = false;
    while (input.next(text, source, starts)) {
      if (starts) all += u'#';
      all += text;
    }
    return all;
  }
  fs::path dir_;
};

TEST_F(TextInputTest, ChunksNeverSplitACharacter) {
  const std::string a = file("a.txt", "\xEF\xBB\xBFk\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z\n");
  const std::string b = file("b.txt", "");
  const std::string c = file("c.txt", "\xEF\xBB\xBF");
  const std::string d = file("d.txt", "x\xEF\xBB\xBF");
  const std::u16string expected = u"#k\u00E9\u4E2D\U0001F600z\n###x\uFEFF";
  for (std::size_t chunk = 1; chunk <= 12; ++chunk) {
    TextInput input({a, b, c, d}, chunk);
    EXPECT_EQ(readAll(input), expected) << chunk;
  }
}

TEST_F(TextInputTest, ErrorsGiveTheFileAndTheByteOffset) {
  struct Case {
    std::string bytes;
    std::string message;
  } cases[] = {{"abc\xFF", "invalid UTF-8 at byte offset 3"},
               {"ab\xC3", "invalid UTF-8 at byte offset 2"},  // cut at the end
               {"\xEF\xBB\xBF"
                "ab\xE4\xB8z",
                "invalid UTF-8 at byte offset 5"},  // after a BOM
               {"0123456789\xC0\xAF", "invalid UTF-8 at byte offset 10"}};
  for (const Case& c : cases) {
    const std::string path = file("bad.txt", c.bytes);
    for (std::size_t chunk : {1, 2, 3, 5, 64}) {
      TextInput input({path}, chunk);
      try {
        readAll(input);
        ADD_FAILURE() << "no error for " << c.message;
      } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()), path + ": " + c.message) << chunk;
        EXPECT_EQ(f.code, 1);
      }
    }
  }
}

}  // namespace
}  // namespace kavelin::cli
