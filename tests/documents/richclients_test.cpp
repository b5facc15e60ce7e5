// SPDX-License-Identifier: GPL-3.0-or-later
// The Editing Box's DOCX and ODT checked with other programs: what Kavelin
// writes is well-formed in every part (xmllint), read run by run by
// python3-docx and odfpy, and opened by LibreOffice (pdftotext and pdffonts on
// its PDF); what LibreOffice writes from the RTF fixture reads as the fixture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_test_util.h"
#include "richdocs.h"
#include "rtf_test_util.h"

namespace kavelin {
namespace {

namespace fs = std::filesystem;
using doctest::capture;
using doctest::quote;
using doctest::slurp;
using doctest::spit;
using rtftest::Format;
using rtftest::para;
using rtftest::run;

const std::string kPython = "/usr/bin/python3 ";
const std::string kScripts = KAVELIN_SOURCE_DIR "/tests/documents/";

// Hindi as glyph codes and as Unicode, and English, each in its own font,
// size, style and alignment.
RichDocument letter() {
  Format english{u"Liberation Serif", 12, false, true, true};
  english.color = 0xAA0000;
  return RichDocument{
      {para(Align::Center, {run(u"ueLrs /keZ", {u"DevLys 160", 20, true})}),
       para(Align::Right,
            {run(u"\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E",
                 {u"Noto Sans Devanagari", 14}),
             run(u"  English  words ", english)}),
       para({run(u"a\tb <&>", english)})}};
}

std::string write(const std::string& format, const RichDocument& doc) {
  std::string bytes, error;
  const bool ok = format == "docx" ? documents::writeDocx(doc, bytes, &error)
                                   : documents::writeOdt(doc, bytes, &error);
  EXPECT_TRUE(ok) << error;
  return bytes;
}

RichDocument read(const std::string& format, const std::string& bytes) {
  RichDocument doc;
  std::string error;
  const bool ok = format == "docx" ? documents::readDocx(bytes, doc, nullptr, &error)
                                   : documents::readOdt(bytes, doc, nullptr, &error);
  EXPECT_TRUE(ok) << error;
  return doc;
}

// A fontconfig set-up that adds the bundled glyph font and its alias for the
// legacy font's name to the system's.
fs::path fontConfig(const fs::path& dir) {
  const fs::path file = dir / "fonts.conf";
  spit(file,
       "<?xml version=\"1.0\"?><fontconfig>"
       "<include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>"
       "<dir>" KAVELIN_FONT_DIR
       "</dir>"
       "<include>" KAVELIN_SOURCE_DIR
       "/resources/fonts/65-kavelin-legacy-devanagari.conf"
       "</include><cachedir>" +
           (dir / "cache").string() + "</cachedir></fontconfig>");
  return file;
}

class KavelinWrites : public testing::TestWithParam<const char*> {};

TEST_P(KavelinWrites, EveryPartIsWellFormed) {
  const std::string format = GetParam();
  doctest::TempDir tmp;
  const auto entries = doctest::readZip(write(format, letter()));
  ASSERT_FALSE(entries.empty());
  if (format == "odt") {
    EXPECT_EQ(entries.front().first, "mimetype");
    EXPECT_EQ(entries.front().second.method, ZIP_CM_STORE);
  }
  for (const auto& [name, entry] : entries) {
    if (name == "mimetype") continue;
    const fs::path part = tmp.path() / "part.xml";
    spit(part, entry.data);
    const auto [ok, out] = capture("xmllint --noout " + quote(part.string()) + " 2>&1");
    EXPECT_TRUE(ok) << name << ": " << out;
  }
}

// python3-docx or odfpy: each run's paragraph alignment, font, size, bold,
// italic, underline, colour and text.
TEST_P(KavelinWrites, PythonReadersSeeTheRunsAndTheirFormats) {
  const std::string format = GetParam();
  doctest::TempDir tmp;
  const fs::path file = tmp.path() / ("letter." + format);
  spit(file, write(format, letter()));
  const auto [ok, runs] = capture(kPython + kScripts + "richruns.py " + quote(file.string()));
  ASSERT_TRUE(ok) << runs;
  EXPECT_EQ(runs,
            "center|DevLys 160|20.0|1|0|0|auto|ueLrs /keZ\n"
            "right|Noto Sans Devanagari|14.0|0|0|0|auto|नमस्ते दुनिया\n"
            "right|Liberation Serif|12.0|0|1|1|aa0000|  English  words \n"
            "left|Liberation Serif|12.0|0|1|1|aa0000|a\tb <&>\n");
}

TEST_P(KavelinWrites, LibreOfficeShowsTheTextInTheFontsWritten) {
  if (!doctest::haveSoffice())
    GTEST_SKIP() << "soffice is not installed (libreoffice-writer-nogui)";
  const std::string format = GetParam();
  doctest::TempDir tmp;
  const fs::path file = tmp.path() / ("letter." + format);
  spit(file, write(format, letter()));
  setenv("FONTCONFIG_FILE", fontConfig(tmp.path()).c_str(), 1);
  const fs::path pdf = doctest::soffice(file, "pdf", tmp.path() / "pdf", tmp.path() / "profile");
  unsetenv("FONTCONFIG_FILE");
  ASSERT_FALSE(pdf.empty()) << "soffice could not open " << file;
  const auto [textOk, shown] = capture("pdftotext " + quote(pdf.string()) + " -");
  ASSERT_TRUE(textOk);
  for (const char* expected : {"ueLrs /keZ", "नमस्ते दुनिया", "English words", "<&>"}) {
    EXPECT_NE(shown.find(expected), std::string::npos) << expected << " in\n" << shown;
  }
  // The legacy font shows as the bundled font its name is an alias of.
  const auto [fontsOk, fonts] = capture("pdffonts " + quote(pdf.string()));
  ASSERT_TRUE(fontsOk);
  std::vector<std::string> expectedFonts = {"NotoSansDevanagari-Regular", "LiberationSerif-Italic"};
  if (!std::string(KAVELIN_FONT_DIR).empty())
    expectedFonts.push_back("KavelinLegacyDevanagari-Bold");
  for (const std::string& expected : expectedFonts) {
    EXPECT_NE(fonts.find(expected), std::string::npos) << expected << " in\n" << fonts;
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, KavelinWrites, testing::Values("docx", "odt"));

// Devanagari shows in the complex-script font, which LibreOffice chooses
// when the RTF names none: each such run takes its neighbour's format here.
RichDocument ignoringComplexScriptFonts(RichDocument doc) {
  for (RichParagraph& p : doc.paragraphs) {
    for (std::size_t i = 1; i < p.runs.size(); ++i) {
      const std::u16string& t = p.runs[i].text;
      const bool complex =
          std::all_of(t.begin(), t.end(), [](char16_t c) { return c >= 0x0900 && c <= 0x097F; });
      if (complex) p.runs[i].format = p.runs[i - 1].format;
    }
    mergeRuns(p);
  }
  return doc;
}

class LibreOfficeWrites : public testing::TestWithParam<const char*> {};

// tests/rtf/data/source.rtf, the RTF fixture, as LibreOffice saves it.
TEST_P(LibreOfficeWrites, KavelinOpensTheFixtureAsItWas) {
  if (!doctest::haveSoffice())
    GTEST_SKIP() << "soffice is not installed (libreoffice-writer-nogui)";
  const std::string format = GetParam();
  doctest::TempDir tmp;
  const fs::path made = doctest::soffice(KAVELIN_SOURCE_DIR "/tests/rtf/data/source.rtf", format,
                                         tmp.path() / "made", tmp.path() / "profile");
  ASSERT_FALSE(made.empty()) << "soffice could not write " << format;
  RichDocument doc;
  documents::ReadNotes notes;
  std::string error;
  const std::string bytes = slurp(made);
  ASSERT_TRUE(format == "docx" ? documents::readDocx(bytes, doc, &notes, &error)
                               : documents::readOdt(bytes, doc, &notes, &error))
      << error;
  EXPECT_EQ(notes.dropped, 0u);
  // The line break inside a paragraph opens as a paragraph end.
  RichDocument expected = rtftest::fixtureDocument();
  RichParagraph& broken = expected.paragraphs[5];
  const Format odd{u"Arial", 14.5};
  broken.runs = {run(u"a\tb", odd)};
  expected.paragraphs.insert(expected.paragraphs.begin() + 6, para({run(u"c \u0915 \u20AC", odd)}));
  EXPECT_EQ(ignoringComplexScriptFonts(doc), expected);
  // Saved again by Kavelin, it reads back the same.
  EXPECT_EQ(read(format, write(format, doc)), doc);
}

INSTANTIATE_TEST_SUITE_P(Formats, LibreOfficeWrites, testing::Values("docx", "odt"));

}  // namespace
}  // namespace kavelin
