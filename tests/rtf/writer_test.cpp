// SPDX-License-Identifier: GPL-3.0-or-later
// The writer's output form, and round trips of documents through writeRtf and
// readRtf.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "rtf.h"
#include "rtf_test_util.h"
#include "text.h"

namespace kavelin {
namespace {

using rtftest::allGlyphChars;
using rtftest::Format;
using rtftest::mustRead;
using rtftest::normalized;
using rtftest::para;
using rtftest::run;

// Beyond the glyph codes: Devanagari, the euro sign (a Windows-1252 character
// written as \uN), U+FFFD (negative N), a surrogate pair, TAB, a line break.
const std::u16string kOtherChars = u"\u0915\u093F\u20AC\uFFFD\U0001F600\t\u2028";

bool isPureAscii(const std::string& s) {
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (!((b >= 0x20 && b <= 0x7E) || b == '\r' || b == '\n')) return false;
  }
  return true;
}

// bold, italic, underline as bits; size; font; alignment.
using Combo = std::tuple<int, double, const char16_t*, Align>;

class RtfRoundTrip : public ::testing::TestWithParam<Combo> {};

TEST_P(RtfRoundTrip, KeepsTextAndFormat) {
  const auto [flags, size, font, align] = GetParam();
  const Format f{font, size, (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
  // The opposite of f in every property, to make the writer switch each one.
  const Format other{std::u16string(font) == u"Arial" ? u"DevLys 160" : u"Arial", 12, !f.bold,
                     !f.italic, !f.underline};
  RichDocument doc;
  doc.paragraphs.push_back(para(align, {run(allGlyphChars() + kOtherChars, f)}));
  doc.paragraphs.push_back(para(align, {run(u"ab", other), run(u"cd", f), run(u"ef", other)}));

  const std::string rtf = writeRtf(doc);
  EXPECT_TRUE(isPureAscii(rtf));
  const RichDocument back = mustRead(rtf);
  EXPECT_EQ(back, normalized(doc));
  // Sizes that are whole half points come back exactly.
  if (size != 14.25) {
    EXPECT_EQ(back.paragraphs.at(0).runs.at(0).format.sizePt, size);
  }
}

std::string comboName(const ::testing::TestParamInfo<Combo>& info) {
  const auto [flags, size, font, align] = info.param;
  std::string name = (flags & 1 ? "B" : "b");
  name += flags & 2 ? "I" : "i";
  name += flags & 4 ? "U" : "u";
  name += "_" + std::to_string(static_cast<int>(size * 100));
  name += std::u16string(font) == u"Arial" ? "_Arial" : "_DevLys";
  static const char* const kAlign[] = {"_left", "_center", "_right"};
  return name + kAlign[static_cast<int>(align)];
}

INSTANTIATE_TEST_SUITE_P(
    rtf, RtfRoundTrip,
    ::testing::Combine(::testing::Range(0, 8), ::testing::Values(8.0, 12.0, 14.25, 72.0),
                       ::testing::Values(u"DevLys 160", u"Arial"),
                       ::testing::Values(Align::Left, Align::Center, Align::Right)),
    comboName);

// How single characters are written. Round trips alone would not notice a
// writer and reader agreeing on a wrong form.
TEST(RtfWriter, EncodesCharacters) {
  struct Case {
    char16_t c;
    const char* rtf;
  };
  const Case cases[] = {
      {u'a', "a"},
      {u'\\', "\\\\"},
      {u'{', "\\{"},
      {u'}', "\\}"},
      {u'\u00A0', "\\'a0"},
      {u'\u00E9', "\\'e9"},
      {u'\u00FF', "\\'ff"},
      {u'\u201C', "\\'93"},
      {u'\u20AC', "\\u8364?"},
      {u'\u0080', "\\u128?"},
      {u'\u007F', "\\u127?"},
      {u'\u0915', "\\u2325?"},
      {u'\uFFFD', "\\u-3?"},
      {u'\u8000', "\\u-32768?"},
      {u'\t', "\\tab"},
      {u'\u2028', "\\line"},
      {u'\n', "\\u10?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.c));
    RichDocument doc;
    doc.paragraphs.push_back(para({run(std::u16string(1, c.c))}));
    const std::string rtf = writeRtf(doc);
    // The character is all that stands between the last format word and \par.
    const std::size_t from = rtf.find("\\ulnone") + 7;
    std::string body = rtf.substr(from, rtf.rfind("\\par") - from);
    if (!body.empty() && body[0] == ' ') body.erase(0, 1);
    EXPECT_EQ(body, c.rtf) << rtf;
    EXPECT_TRUE(isPureAscii(rtf));
  }
}

TEST(RtfWriter, WritesHeaderAndFontTableOfUsedFonts) {
  RichDocument doc;
  doc.paragraphs.push_back(
      para({run(u"x", {u"DevLys 160"}), run(u"y", {u"Arial"}), run(u"z", {u"DevLys 160", 20})}));
  doc.paragraphs.push_back(para({run(u"", {u"Unused"})}));
  const std::string rtf = writeRtf(doc);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl"
                      "{\\f0\\fnil\\fcharset0 DevLys 160;}{\\f1\\fnil\\fcharset0 Arial;}}",
                      0),
            0u)
      << rtf;
  EXPECT_EQ(rtf.find("Unused"), std::string::npos);
  EXPECT_EQ(rtf.back(), '}');
}

TEST(RtfWriter, WritesFormatControls) {
  RichDocument doc;
  doc.paragraphs.push_back(
      para(Align::Right, {run(u"x", {u"Arial", 14.25, true, true, true}), run(u"y")}));
  const std::string rtf = writeRtf(doc);
  for (const char* word :
       {"\\qr", "\\fs29", "\\b", "\\i", "\\ul", "\\b0", "\\i0", "\\ulnone", "\\fs24", "\\par"}) {
    EXPECT_NE(rtf.find(word), std::string::npos) << word << " in " << rtf;
  }
}

// A paragraph at a time: a run in a font the writer was not given is written in
// the first font, and a change of format words appears only where the written
// format changes (font number, size as kept, bold, italic, underline).
TEST(RtfWriter, WritesFormatWordsOnlyWhereTheWrittenFormatChanges) {
  struct Case {
    const char* name;
    std::vector<RichRun> runs;
    std::string body;  // between \pard\ql and \par
  };
  const Case cases[] = {
      {"first run", {run(u"a", {u"A"})}, "\\f0\\fs24\\b0\\i0\\ulnone a"},
      {"unlisted font is the first",
       {run(u"a", {u"A"}), run(u"x", {u"X"})},
       "\\f0\\fs24\\b0\\i0\\ulnone ax"},
      {"listed fonts",
       {run(u"a", {u"A"}), run(u"b", {u"B"}), run(u"y", {u"Y"})},
       "\\f0\\fs24\\b0\\i0\\ulnone a\\f1 b\\f0 y"},
      {"sizes of one half point",
       {run(u"a", {u"A", 12}), run(u"b", {u"A", 12.1})},
       "\\f0\\fs24\\b0\\i0\\ulnone ab"},
      {"size",
       {run(u"a", {u"A", 12}), run(u"b", {u"A", 12.3})},
       "\\f0\\fs24\\b0\\i0\\ulnone a\\fs25 b"},
      {"styles",
       {run(u"a", {u"A"}), run(u"b", {u"A", 12, true}), run(u"c", {u"A", 12, true, true}),
        run(u"d", {u"A", 12, false, true, true})},
       "\\f0\\fs24\\b0\\i0\\ulnone a\\b b\\i c\\b0\\ul d"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RtfWriter writer({u"A", u"B"});
    const std::string header = writer.begin();
    EXPECT_NE(header.find("{\\f1\\fnil\\fcharset0 B;}"), std::string::npos) << header;
    EXPECT_EQ(writer.paragraph(para(c.runs)), "\\pard\\ql" + c.body + "\\par\r\n");
    // The format carries over to the next paragraph.
    EXPECT_EQ(writer.paragraph(para({c.runs.back()})),
              "\\pard\\ql " + encodeUtf8(c.runs.back().text) + "\\par\r\n");
    EXPECT_EQ(writer.end(), "}");
  }
}

TEST(RtfWriter, EscapesFontNames) {
  const std::u16string names[] = {u"Brace{}\\Name", u"Semi;colon", u"Caf\u00E9 \u0915", u""};
  RichDocument doc;
  for (const auto& name : names) doc.paragraphs.push_back(para({run(u"t", {name})}));
  const std::string rtf = writeRtf(doc);
  EXPECT_TRUE(isPureAscii(rtf));
  EXPECT_EQ(mustRead(rtf), doc);
}

TEST(RtfWriter, SizesAreKeptToHalfPoints) {
  struct Case {
    double in, out;
  };
  const Case cases[] = {{8, 8},
                        {12, 12},
                        {14.25, 14.5},
                        {14.75, 15},
                        {10.74, 10.5},
                        {72, 72},
                        {0.2, 1},
                        {-3, 1},
                        {5000, 1638},
                        {std::numeric_limits<double>::quiet_NaN(), 12},
                        {std::numeric_limits<double>::infinity(), 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(rtfFontSize(c.in), c.out);
    RichDocument doc;
    doc.paragraphs.push_back(para({run(u"x", {u"Arial", c.in})}));
    EXPECT_EQ(mustRead(writeRtf(doc)).paragraphs.at(0).runs.at(0).format.sizePt, c.out);
  }
}

TEST(RtfWriter, EmptyDocumentsAndParagraphsRoundTrip) {
  const RichDocument empty;
  EXPECT_EQ(mustRead(writeRtf(empty)), empty);
  EXPECT_EQ(writeRtf(empty).find("\\par"), std::string::npos);

  RichDocument blank;
  blank.paragraphs.push_back(para({}));
  EXPECT_EQ(mustRead(writeRtf(blank)), blank);

  // Empty paragraphs anywhere, the last one included, and an empty run.
  RichDocument gaps;
  gaps.paragraphs.push_back(para(Align::Right, {}));
  gaps.paragraphs.push_back(para({run(u"a"), run(u"")}));
  gaps.paragraphs.push_back(para(Align::Center, {}));
  gaps.paragraphs.push_back(para({}));
  EXPECT_EQ(mustRead(writeRtf(gaps)), normalized(gaps));
}

// Random documents over the characters the writer treats specially, with
// format changes inside and across paragraphs.
TEST(RtfWriter, RandomDocumentsRoundTrip) {
  const std::u16string chars = allGlyphChars() + kOtherChars + u" \\{};-0";
  const std::u16string fonts[] = {u"DevLys 160", u"Arial", u"Mangal"};
  const double sizes[] = {8, 10.5, 12, 14.25, 72};
  std::mt19937 rng(20240611);
  auto pick = [&rng](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
  };
  for (int iteration = 0; iteration < 300; ++iteration) {
    RichDocument doc;
    const std::size_t paragraphs = pick(6);
    for (std::size_t p = 0; p < paragraphs; ++p) {
      RichParagraph par;
      par.align = static_cast<Align>(pick(3));
      const std::size_t runs = pick(5);
      for (std::size_t r = 0; r < runs; ++r) {
        std::u16string text;
        const std::size_t length = pick(8);
        for (std::size_t i = 0; i < length; ++i) text += chars[pick(chars.size())];
        par.runs.push_back(
            run(text, {fonts[pick(3)], sizes[pick(5)], pick(2) == 1, pick(2) == 1, pick(2) == 1}));
      }
      doc.paragraphs.push_back(par);
    }
    const std::string rtf = writeRtf(doc);
    ASSERT_EQ(mustRead(rtf), normalized(doc)) << rtf;
  }
}

}  // namespace
}  // namespace kavelin
