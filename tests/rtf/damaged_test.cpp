// SPDX-License-Identifier: GPL-3.0-or-later
// Input that is not RTF, or is damaged: an error with a position, never a
// crash or a hang.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "rtf.h"
#include "rtf_test_util.h"

namespace kavelin {
namespace {

constexpr std::size_t kAnyOffset = static_cast<std::size_t>(-1);

struct DamagedCase {
  const char* name;
  std::string input;
  std::size_t offset;   // where the error is reported, or kAnyOffset
  const char* message;  // a part of the message
};

void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

std::string deepGroups(int depth) { return "{\\rtf1 " + std::string(depth, '{') + "a"; }

const DamagedCase kDamaged[] = {
    {"Empty", "", 0, "not an RTF file"},
    {"PlainText", "Hello, world", 0, "not an RTF file"},
    {"OtherBraceFile", "{\\rtx1 a}", 0, "not an RTF file"},
    {"TextBeforeHeader", "  x{\\rtf1 a}", 2, "not an RTF file"},
    {"ExtraClosingBrace", "{\\rtf1 a}}", 9, "after the end"},
    {"DataAfterDocument", "{\\rtf1 a}\r\nmore", 11, "after the end"},
    {"BadHex", "{\\rtf1 a\\'zz}", 8, "hex"},
    {"BadHexSecondDigit", "{\\rtf1 a\\'4g}", 8, "hex"},
    {"HugeParameter", "{\\rtf1 \\fs99999999999 a}", 7, "number out of range"},
    {"ParameterAboveInt32", "{\\rtf1 \\fs2147483648 a}", 7, "number out of range"},
    {"ParameterBelowInt32", "{\\rtf1 \\fs-2147483649 a}", 7, "number out of range"},
    {"UnicodeTooLarge", "{\\rtf1 \\u65536?}", 7, "out of range"},
    {"UnicodeTooSmall", "{\\rtf1 \\u-32769?}", 7, "out of range"},
    {"LongControlWord", "{\\rtf1 \\" + std::string(40, 'x') + " a}", 7, "too long"},
    {"BinNegative", "{\\rtf1 \\bin-1 abc}", 7, "\\bin"},
    {"BinWithoutLength", "{\\rtf1 \\bin abc}", 7, "\\bin"},
    {"NestedTooDeeply", deepGroups(5000), 1006, "too deeply"},
    {"ByteOrderMarkOfUtf16", "\xFF\xFE{\x00\\\x00r\x00", 0, "not an RTF file"},
    {"ByteOrderMarkTwice", "\xEF\xBB\xBF\xEF\xBB\xBF{\\rtf1 a}", 3, "not an RTF file"},
    {"OnlyWhitespace", " \r\n", 0, "not an RTF file"},
};

class RtfDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(RtfDamaged, FailsWithPosition) {
  const DamagedCase& c = GetParam();
  RichDocument out;
  out.paragraphs.push_back(rtftest::para({rtftest::run(u"kept")}));
  const RichDocument before = out;
  RtfError err;
  EXPECT_FALSE(readRtf(c.input, out, &err));
  if (c.offset != kAnyOffset) {
    EXPECT_EQ(err.offset, c.offset);
  }
  EXPECT_NE(err.message.find(c.message), std::string::npos) << err.message;
  EXPECT_EQ(out, before);  // left unchanged on failure
}

INSTANTIATE_TEST_SUITE_P(rtf, RtfDamaged, ::testing::ValuesIn(kDamaged),
                         [](const ::testing::TestParamInfo<DamagedCase>& test) {
                           return std::string(test.param.name);
                         });

// Input cut off before the document's end reads as far as it goes, and says so.
struct EndedEarlyCase {
  const char* name;
  std::string input;
  std::u16string text;  // the paragraphs' text, each followed by '|'
  bool endedEarly;
};

std::u16string paragraphTexts(const RichDocument& doc) {
  std::u16string s;
  for (const RichParagraph& p : doc.paragraphs) {
    for (const RichRun& r : p.runs) s += r.text;
    s += u'|';
  }
  return s;
}

TEST(RtfDamaged, ReadsWhatIsThereWhenTheInputEndsEarly) {
  const EndedEarlyCase cases[] = {
      {"InGroup", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\b a", u"a|", true},
      {"InFontTable", "{\\rtf1{\\fonttbl{\\f0 Ari", u"", true},
      {"AfterBackslash", "{\\rtf1 a\\", u"a|", true},
      {"InHex", "{\\rtf1 a\\'4", u"a|", true},
      {"InBinData", "{\\rtf1 x\\bin10 abc", u"x|", true},
      {"InnerGroupsOpen", "{\\rtf1{{a}", u"a|", true},
      {"AfterParagraphs", "{\\rtf1 one\\par two\\par thr", u"one|two|thr|", true},
      {"OnlyFinalBrace", "{\\rtf1{\\fonttbl{\\f0 Arial;}}a\\par b", u"a|b|", true},
      {"InSkippedDestination", "{\\rtf1 a{\\*\\generator Wr", u"a|", true},
      {"InUnicodeFallback", "{\\rtf1\\uc2 a\\u2325?", u"a\u0915|", true},
      {"Complete", "{\\rtf1 a}", u"a|", false},
      {"ByteOrderMark", "\xEF\xBB\xBF{\\rtf1 a}", u"a|", false},
      {"ByteOrderMarkAndSpace", "\xEF\xBB\xBF\r\n {\\rtf1 a\\par}", u"a|", false},
      {"ByteOrderMarkEndedEarly", "\xEF\xBB\xBF{\\rtf1 a", u"a|", true},
  };
  for (const EndedEarlyCase& c : cases) {
    RichDocument out;
    RtfError err;
    RtfNotes notes;
    notes.endedEarly = !c.endedEarly;  // must be set either way
    ASSERT_TRUE(readRtf(c.input, out, &err, &notes)) << c.name << ": " << err.message;
    EXPECT_EQ(paragraphTexts(out), c.text) << c.name;
    EXPECT_EQ(notes.endedEarly, c.endedEarly) << c.name;
  }
}

TEST(RtfDamaged, ErrorArgumentIsOptional) {
  RichDocument out;
  EXPECT_FALSE(readRtf("not rtf", out));
  EXPECT_TRUE(readRtf("{\\rtf1 ok}", out));
}

// What every successful read must give, whatever the input.
void expectWellFormed(const RichDocument& doc) {
  for (const RichParagraph& p : doc.paragraphs) {
    for (std::size_t i = 0; i < p.runs.size(); ++i) {
      EXPECT_FALSE(p.runs[i].text.empty());
      EXPECT_GE(p.runs[i].format.sizePt, 1.0);
      EXPECT_LE(p.runs[i].format.sizePt, 1638.0);
      if (i > 0) {
        EXPECT_FALSE(p.runs[i - 1].format == p.runs[i].format);
      }
    }
  }
}

void checkInput(const std::string& input) {
  RichDocument out;
  RtfError err;
  if (readRtf(input, out, &err)) {
    expectWellFormed(out);
  } else if (input.empty()) {
    EXPECT_EQ(err.offset, 0u);
  } else {
    EXPECT_LT(err.offset, input.size());
    EXPECT_FALSE(err.message.empty());
  }
}

std::string seedDocument() {
  std::ifstream in(KAVELIN_SOURCE_DIR "/tests/rtf/data/libreoffice.rtf", std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(RtfProperty, RandomBytesNeverCrash) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> length(0, 400);
  for (int i = 0; i < 20000; ++i) {
    std::string input = i % 2 == 0 ? "{\\rtf1" : "";
    const std::size_t n = length(rng);
    for (std::size_t k = 0; k < n; ++k) input += static_cast<char>(byte(rng));
    checkInput(input);
  }
}

// Random RTF-like token soup: braces, control words with numbers, escapes.
TEST(RtfProperty, RandomTokensNeverCrash) {
  const char* const tokens[] = {
      "{",        "}",       "}",           "\\par ",     "\\b",     "\\b0",   "\\i ",   "\\ul",
      "\\ulnone", "\\f1",    "\\f9 ",       "\\fs",       "\\fs-3",  "\\uc",   "\\uc5 ", "\\uc-2",
      "\\u",      "\\u-",    "\\u700",      "\\u-4000",   "\\'",     "\\'4",   "\\'e9",  "\\*",
      "\\bin",    "\\bin2 ", "\\fonttbl",   "\\colortbl", "\\plain", "\\pard", "\\qc",   "\\v",
      "\\~",      "\\\n",    "\\",          "a",          " ",       ";",      "\r\n",   "?",
      "\xE9",     "\\deff3", "\\fcharset2", "\\sect",     "\\cell",  "\\line", "\\tab",  "\\f0 x;"};
  std::mt19937 rng(11);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(tokens) - 1);
  std::uniform_int_distribution<int> count(0, 200);
  for (int i = 0; i < 20000; ++i) {
    std::string input = "{\\rtf1";
    for (int k = count(rng); k > 0; --k) input += tokens[pick(rng)];
    checkInput(input);
  }
}

TEST(RtfProperty, MutatedDocumentsNeverCrash) {
  const std::string seeds[] = {seedDocument(), writeRtf(rtftest::fixtureDocument())};
  ASSERT_GT(seeds[0].size(), 1000u);
  const std::string alphabet = "{}\\'*;?- 0123456789abfuvx\r\n\x93\xFF";
  std::mt19937 rng(13);
  auto below = [&rng](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  for (int i = 0; i < 20000; ++i) {
    std::string input = seeds[i % 2];
    for (int edits = 1 + static_cast<int>(below(4)); edits > 0; --edits) {
      const std::size_t at = below(input.size() + 1);
      switch (below(5)) {
        case 0:  // overwrite a byte
          if (at < input.size()) input[at] = alphabet[below(alphabet.size())];
          break;
        case 1:  // insert a byte
          input.insert(at, 1, alphabet[below(alphabet.size())]);
          break;
        case 2:  // delete a stretch
          input.erase(at, below(40));
          break;
        case 3:  // truncate
          input.resize(at);
          break;
        default:  // duplicate a stretch
          input.insert(at, input.substr(below(input.size() + 1), below(60)));
          break;
      }
    }
    checkInput(input);
  }
}

}  // namespace
}  // namespace kavelin
