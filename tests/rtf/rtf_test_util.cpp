// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtf_test_util.h"

#include <gtest/gtest.h>

#include <iomanip>

#include "text.h"

namespace kavelin {

void PrintTo(const RichRun& run, std::ostream* os) {
  const RunFormat& f = run.format;
  *os << "[" << encodeUtf8(f.font) << " " << f.sizePt << (f.bold ? " b" : "")
      << (f.italic ? " i" : "") << (f.underline ? " u" : "");
  if (f.color != kAutoColor) *os << " #" << std::hex << f.color << std::dec;
  *os << "] \"";
  for (char16_t c : run.text) {
    if (c >= 0x20 && c < 0x7F) {
      *os << static_cast<char>(c);
    } else {
      *os << "<" << std::hex << std::uppercase << static_cast<int>(c) << std::dec << ">";
    }
  }
  *os << "\"";
}

void PrintTo(const RichParagraph& paragraph, std::ostream* os) {
  static const char* const kAlign[] = {"left", "center", "right"};
  *os << "{" << kAlign[static_cast<int>(paragraph.align)];
  for (const RichRun& r : paragraph.runs) {
    *os << " ";
    PrintTo(r, os);
  }
  *os << "}";
}

void PrintTo(const RichDocument& doc, std::ostream* os) {
  *os << doc.paragraphs.size() << " paragraph(s)";
  for (const RichParagraph& p : doc.paragraphs) {
    *os << "\n  ";
    PrintTo(p, os);
  }
}

namespace rtftest {

RichRun run(std::u16string text, const Format& f) {
  return RichRun{std::move(text),
                 RunFormat{f.font, f.size, f.bold, f.italic, f.underline, f.color}};
}

RichParagraph para(Align align, std::vector<RichRun> runs) {
  return RichParagraph{align, std::move(runs)};
}

RichParagraph para(std::vector<RichRun> runs) { return para(Align::Left, std::move(runs)); }

RichDocument normalized(RichDocument doc) {
  for (RichParagraph& p : doc.paragraphs) {
    for (RichRun& r : p.runs) r.format.sizePt = rtfFontSize(r.format.sizePt);
    mergeRuns(p);
  }
  return doc;
}

RichDocument mustRead(const std::string& rtf) {
  RichDocument doc;
  RtfError err;
  EXPECT_TRUE(readRtf(rtf, doc, &err)) << "at " << err.offset << ": " << err.message;
  return doc;
}

std::u16string allGlyphChars() {
  std::u16string s;
  for (char16_t c = 0x20; c <= 0xFF; ++c) s += c;
  s += u'\u201C';
  return s;
}

RichDocument fixtureDocument() {
  const Format title{u"Arial", 14, true};
  const Format devlys{u"DevLys 160", 12};
  Format devlysUnderline = devlys;
  devlysUnderline.underline = true;
  const Format devlysAll{u"DevLys 160", 12, true, true, true};
  const Format small{u"Arial", 8, false, false, true};
  const Format big{u"Arial", 72, false, true};
  const Format odd{u"Arial", 14.5};
  const Format oddDevlys{u"DevLys 160", 14.5, false, true};
  Format titleItalic = title;
  titleItalic.italic = true;

  RichDocument d;
  d.paragraphs.push_back(
      para(Align::Center, {run(u"Kavelin ", title), run(u"fixture", titleItalic)}));
  d.paragraphs.push_back(para({run(allGlyphChars(), devlys)}));
  d.paragraphs.push_back(para({run(u"vkidk ", devlys), run(u"js[kk", devlysUnderline),
                               run(u" \u00BC\u00BD\u201C", devlysAll)}));
  d.paragraphs.push_back(para(Align::Right, {run(u"right ", small), run(u"Big", big)}));
  d.paragraphs.push_back(para({}));
  d.paragraphs.push_back(para({run(u"a\tb\u2028c \u0915 \u20AC", odd)}));
  d.paragraphs.push_back(para(Align::Center, {run(u"xyz", oddDevlys)}));
  return d;
}

}  // namespace rtftest
}  // namespace kavelin
