// SPDX-License-Identifier: GPL-3.0-or-later
// kavelin-convert --from glyphs and --from unicode, run as a program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "corpus.h"
#include "engine.h"
#include "harness.h"
#include "rtf.h"
#include "rtf_test_util.h"
#include "text.h"
#include "unconverted.h"
#include "unicode.h"
#include "unicodetoglyphs.h"

namespace kavelin {
namespace {

namespace fs = std::filesystem;

using LegacyCli = test::CliTest;
using test::Result;
using test::run;
using test::slurp;

TEST_F(LegacyCli, UnicodeTextToGlyphs) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    std::string output;
  } cases[] = {
      {{"--from", "unicode"}, "नमस्ते, दुनिया।\n", "ueLrs] nqfu;kA\n"},
      {{"--from=unicode", "--to=glyphs"}, "धर्म\r\nप्रेम\rकृष्ण", "/keZ\n\xC3\xA7se\n\xC3\x91\".k"},
      {{"--from", "unicode", "--encoding", "cp1252"}, "प्रेम श्री", "\xE7se Jh"},
      {{"--from", "unicode"},
       "\xEF\xBB\xBF"
       "क",
       "d"},  // a byte-order mark is dropped
      {{"--from", "unicode"}, "", ""},
  };
  for (const Case& c : cases) {
    const Result r = run(c.args, c.input);
    EXPECT_EQ(r.exitCode, 0) << c.input;
    EXPECT_EQ(r.out, c.output) << c.input;
    EXPECT_EQ(r.err, "") << c.input;
  }
}

TEST_F(LegacyCli, GlyphTextToUnicode) {
  struct Case {
    std::vector<std::string> args;
    std::string input;
    std::string output;
  } cases[] = {
      {{"--from", "glyphs"}, "ueLrs] nqfu;kA\n", "नमस्ते, दुनिया।\n"},
      {{"--from", "glyphs", "--to", "unicode"}, "fon~;kFkhZ\r\nxq#", "विद्यार्थी\nगुरु"},
      // Raw codes: 0xE7 is प्र, 0x93 the full bha of a reph cluster.
      {{"--from", "glyphs", "--encoding", "cp1252"}, "\xE7se \x93Z", "प्रेम र्भ"},
      {{"--from", "glyphs"}, "\xC3\xA7se", "प्रेम"},
  };
  for (const Case& c : cases) {
    const Result r = run(c.args, c.input);
    EXPECT_EQ(r.exitCode, 0) << c.input;
    EXPECT_EQ(r.out, c.output) << c.input;
    EXPECT_EQ(r.err, "") << c.input;
  }
}

TEST_F(LegacyCli, MeaninglessPairsAreUsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {"--from", "glyphs", "--to", "glyphs"},
      {"--from", "unicode", "--to", "unicode"},
      {"--from", "latin"},
      {"--from", "unicode", "--unicode-font", "X"},
      {"--from", "glyphs", "--rtf", "--to-text"},
      {"--from", "glyphs", "--format", "pdf"},
      {"--to-text"},
      {"--legacy-font", "X"},
      {"--from", "unicode", "--rtf", "--encoding", "cp1252"},
      {"--from", "glyphs", "--legacy-font", ""},
  };
  for (const auto& args : cases) {
    const Result r = run(args, "d");
    EXPECT_EQ(r.exitCode, 2) << args[1];
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("kavelin-convert: "), std::string::npos);
  }
}

TEST_F(LegacyCli, ReportsWhatCouldNotBeConverted) {
  const std::string a = file("a.txt", "क\nअङ्ग ok\n");
  const Result r = run({"--from", "unicode", a});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "d\nv\u0919~x ok\n");
  EXPECT_EQ(r.err,
            "kavelin-convert: warning: 3 characters could not be converted\n"
            "kavelin-convert:   " +
                a +
                ":2:2: U+0919 'ङ'\n"
                "kavelin-convert:   " +
                a +
                ":2:6: U+006F 'o'\n"
                "kavelin-convert:   " +
                a + ":2:7: U+006B 'k'\n");
  // Only the first five are listed.
  const Result many = run({"--from", "glyphs"}, "d|||\n|||d");
  EXPECT_EQ(many.out, "क|||\n|||क");
  EXPECT_NE(many.err.find("6 characters could not be converted"), std::string::npos);
  EXPECT_NE(many.err.find("standard input:2:2: U+007C '|'\n"), std::string::npos);
  EXPECT_NE(many.err.find("... and 1 more"), std::string::npos);
  EXPECT_EQ(many.exitCode, 0);
}

// Inputs of several read pieces: the output and the places reported equal the
// whole-text conversions of each file, line breaks made LF.
TEST_F(LegacyCli, LongTextsStreamAsTheWholeConversion) {
  auto lf = [](std::u16string text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
      out += text[i];
    }
    return out;
  };
  const std::u16string unicode = lf(glyphsToUnicode(Engine().e2h(toCrLf(test::corpusText()))));
  // About 700 KB: lines broken LF and CR LF, kept characters far in.
  std::u16string first;
  for (int k = 0; first.size() < 300000; ++k) {
    first += k % 3 == 0 ? toCrLf(unicode) : unicode;
    if (k == 40) first += u"ङ";
  }
  const std::u16string second = u"\u0919" + first + u"z";
  const std::string a = file("a.txt", encodeUtf8(first));
  const std::string b = file("b.txt", "\xEF\xBB\xBF" + encodeUtf8(second));
  // Unicode to glyphs, as UTF-8 and as raw codes.
  const GlyphConversion ga = unicodeToGlyphs(lf(first));
  const GlyphConversion gb = unicodeToGlyphs(lf(second));
  ASSERT_EQ(ga.unconverted.count, 1u);
  const std::size_t kept = ga.unconverted.count + gb.unconverted.count;
  std::string report =
      "kavelin-convert: warning: " + std::to_string(kept) + " characters could not be converted\n";
  for (const auto& [name, conversion] : {std::pair{a, &ga}, std::pair{b, &gb}}) {
    for (const UnconvertedChar& c : conversion->unconverted.first) {
      report += "kavelin-convert:   " + name + ":" + std::to_string(c.at.line) + ":" +
                std::to_string(c.at.column) + ": " + describeCharacter(c.character) + "\n";
    }
  }
  const Result glyphs = run({"--from", "unicode", a, b});
  EXPECT_EQ(glyphs.exitCode, 0);
  EXPECT_TRUE(glyphs.out == encodeUtf8(ga.glyphs) + encodeUtf8(gb.glyphs));
  EXPECT_EQ(glyphs.err, report);
  const Result raw = run({"--from", "unicode", "--encoding", "cp1252", a, b});
  EXPECT_TRUE(raw.out == glyphToCodes(ga.glyphs) + glyphToCodes(gb.glyphs));

  // Glyphs to Unicode, from UTF-8 and from raw codes; a kept character on a
  // late line.
  GlyphString g = lf(Engine().e2h(toCrLf(u"dharm aur karm\n")));
  for (char16_t ch : ga.glyphs.substr(0, 200000)) {
    if (charToCp1252(ch)) g += ch;  // codes only, for the raw file
  }
  g += u"\r\n|";
  const std::string c = file("c.txt", encodeUtf8(g));
  const std::string craw = file("c.raw", glyphToCodes(g));
  const Unconverted places = unconvertedGlyphs(lf(g));
  ASSERT_GE(places.count, 1u);
  auto reportOf = [&](const std::string& name) {
    std::string text = "kavelin-convert: warning: " + std::to_string(places.count) +
                       (places.count == 1 ? " character" : " characters") +
                       " could not be converted\n";
    for (const UnconvertedChar& u : places.first) {
      text += "kavelin-convert:   " + name + ":" + std::to_string(u.at.line) + ":" +
              std::to_string(u.at.column) + ": " + describeCharacter(u.character) + "\n";
    }
    return text;
  };
  const Result back = run({"--from", "glyphs", c});
  EXPECT_TRUE(back.out == encodeUtf8(glyphsToUnicode(lf(g))));
  EXPECT_EQ(back.err, reportOf(c));
  const Result backRaw = run({"--from", "glyphs", "--encoding", "cp1252", craw});
  EXPECT_TRUE(backRaw.out == back.out);
  EXPECT_EQ(backRaw.err, reportOf(craw));
}

// Glyphs to Unicode over many pieces (128 KiB each), some of whose lines run
// over several of them, with CR LF and LF breaks and a last line with no
// break, in two files: each file as its whole conversion.
TEST_F(LegacyCli, ManyPiecesAndLongLinesConvertAsTheWhole) {
  const GlyphString words = Engine().e2h(toCrLf(test::corpusText()));
  std::mt19937 random(7);
  auto text = [&](std::size_t size) {
    GlyphString g;
    while (g.size() < size) {
      const std::size_t from = random() % words.size();
      GlyphString part = words.substr(from, 1 + random() % 400);
      // Lines of every length: most short, some of several pieces.
      const int kind = static_cast<int>(random() % 100);
      for (char16_t& c : part) {
        if (c == u'\r' || c == u'\n') c = u' ';
      }
      g += part;
      if (kind < 60) g += u"\n";
      if (kind >= 60 && kind < 70) g += u"\r\n";
      if (kind == 70) g += u"f\n";  // a short i before a break
      if (kind == 71) g += u"\nZ";  // a reph after one
    }
    return g;
  };
  auto lf = [](const GlyphString& g) {
    GlyphString out;
    for (std::size_t i = 0; i < g.size(); ++i) {
      if (g[i] == u'\r' && i + 1 < g.size() && g[i + 1] == u'\n') continue;
      out += g[i] == u'\r' ? u'\n' : g[i];
    }
    return out;
  };
  GlyphString first = text(1'200'000);
  first += GlyphString(300'000, u'd');  // one line of three pieces
  first += text(200'000) + u"dkfd";     // no break at the end
  const GlyphString second = text(600'000);
  const std::string a = file("a.txt", encodeUtf8(first));
  const std::string b = file("b.txt", encodeUtf8(second));
  const Result r = run({"--from", "glyphs", a, b});
  EXPECT_EQ(r.exitCode, 0);
  const std::string expected =
      encodeUtf8(glyphsToUnicode(lf(first))) + encodeUtf8(glyphsToUnicode(lf(second)));
  ASSERT_EQ(r.out.size(), expected.size());
  EXPECT_TRUE(r.out == expected);
}

// A character outside the BMP (a surrogate pair in the glyph string) near the
// end of the first piece read (128 KiB) stays whole in the UTF-8 output.
TEST_F(LegacyCli, PairsAtThePieceEndStayWhole) {
  for (std::size_t before = 0; before < 8; ++before) {
    const std::string glyphs =
        std::string((1 << 17) - 4 - before, 'd') + "\xF0\x9F\x98\x80" + "dkfd\n";
    const Result r = run({"--from", "glyphs", file("pair.txt", glyphs)});
    std::u16string text;
    ASSERT_TRUE(decodeUtf8(glyphs, text));
    EXPECT_TRUE(r.out == encodeUtf8(glyphsToUnicode(text))) << before;
    EXPECT_EQ(r.out.find("\xEF\xBF\xBD"), std::string::npos) << before;  // no U+FFFD
  }
}

TEST_F(LegacyCli, StrictFailsAndWritesNothing) {
  const std::string target = file("out.txt", "old");
  const Result r = run({"--from", "unicode", "--strict", "-o", target}, "कङ");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("error: 1 character could not be converted"), std::string::npos);
  EXPECT_EQ(slurp(target), "old");
  EXPECT_EQ(run({"--from", "unicode", "--strict", "-o", target}, "कख").exitCode, 0);
  EXPECT_EQ(slurp(target), "d[k");
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 1u);  // out.txt: no temporary file left
}

TEST_F(LegacyCli, UnreadableInputIsAnError) {
  const Result r = run({"--from", "unicode"}, "\xEF\xBB\xBFok\xFF");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "kavelin-convert: standard input: invalid UTF-8 at byte offset 5\n");
  const Result rtf = run({"--from", "glyphs"}, "{\\rtf1 {\\b unclosed}} }");
  EXPECT_EQ(rtf.exitCode, 1);
  EXPECT_NE(rtf.err.find("standard input: not a readable RTF document"), std::string::npos);
}

RichDocument glyphDocumentToUnicode(RichDocument doc, const std::u16string& legacyFont) {
  for (RichParagraph& p : doc.paragraphs) {
    for (RichRun& r : p.runs) {
      if (r.format.font == u"DevLys 160" || r.format.font == legacyFont) {
        r.text = glyphsToUnicode(r.text);
        r.format.font = u"Noto Sans Devanagari";
      }
    }
    mergeRuns(p);
  }
  return doc;
}

// LibreOffice's own RTF: its DevLys 160 runs become the Unicode they show, the
// rest and the formatting stay.
TEST_F(LegacyCli, LibreOfficeRtfToUnicode) {
  const std::string fixture = KAVELIN_SOURCE_DIR "/tests/rtf/data/libreoffice.rtf";
  const RichDocument expected = glyphDocumentToUnicode(rtftest::fixtureDocument(), u"");
  const Result rtf = run({"--from", "glyphs", "--rtf", fixture});
  EXPECT_EQ(rtf.exitCode, 0);
  EXPECT_EQ(rtftest::mustRead(rtf.out), expected);
  // The fixture holds every character, some of which are no font code.
  EXPECT_NE(rtf.err.find("characters could not be converted"), std::string::npos);

  const Result text = run({"--from", "glyphs", "--to-text", fixture});
  std::u16string lines;
  for (const RichParagraph& p : expected.paragraphs) {
    for (const RichRun& r : p.runs) lines += r.text;
    lines += u'\n';
  }
  for (char16_t& c : lines) c = c == 0x2028 ? u'\n' : c;
  EXPECT_EQ(text.out, encodeUtf8(lines));
  EXPECT_NE(text.out.find("आपका रेखा"), std::string::npos);

  // The symbol-font fixture, where LibreOffice keeps the codes as U+F0hh.
  const Result symbol = run({"--from", "glyphs", "--to-text",
                             KAVELIN_SOURCE_DIR "/tests/rtf/data/libreoffice-symbol.rtf"});
  EXPECT_EQ(symbol.out, "आभँ\u00B7 Arial\n");
}

TEST_F(LegacyCli, LegacyFontNamesMoreGlyphRuns) {
  RichDocument doc;
  doc.paragraphs.push_back(
      rtftest::para({rtftest::run(u"ueLrs ", {u"Old Hindi", 16, true}),
                     rtftest::run(u"and ", {u"Arial"}), rtftest::run(u"/keZ", {u"DevLys 160"})}));
  const std::string in = file("in.rtf", writeRtf(doc));
  EXPECT_EQ(run({"--from", "glyphs", "--to-text", in}).out, "ueLrs and धर्म\n");
  // Without --to-text an RTF input gives RTF.
  EXPECT_EQ(rtftest::mustRead(run({"--from", "glyphs", in}).out),
            rtftest::normalized(glyphDocumentToUnicode(doc, u"")));
  const Result r = run({"--from", "glyphs", "--legacy-font", "Old Hindi", "--rtf", in});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(rtftest::mustRead(r.out),
            rtftest::normalized(glyphDocumentToUnicode(doc, u"Old Hindi")));
}

// Devanagari stretches of a Unicode document go into DevLys 160; the rest of
// each run, and every format, stays.
TEST_F(LegacyCli, UnicodeRtfToGlyphs) {
  RichDocument doc;
  doc.paragraphs.push_back(
      rtftest::para(Align::Center, {rtftest::run(u"Hello नमस्ते, दुनिया! ", {u"Noto Sans", 14, true}),
                                    rtftest::run(u"धर्म", {u"Mangal", 12, false, true})}));
  doc.paragraphs.push_back(rtftest::para({}));
  doc.paragraphs.push_back(rtftest::para({rtftest::run(u"ङ", {u"Mangal"})}));
  const std::string in = file("in.rtf", writeRtf(doc));

  RichDocument expected;
  expected.paragraphs.push_back(
      rtftest::para(Align::Center, {rtftest::run(u"Hello ", {u"Noto Sans", 14, true}),
                                    rtftest::run(u"ueLrs] nqfu;k", {u"DevLys 160", 14, true}),
                                    rtftest::run(u"! ", {u"Noto Sans", 14, true}),
                                    rtftest::run(u"/keZ", {u"DevLys 160", 12, false, true})}));
  expected.paragraphs.push_back(rtftest::para({}));
  expected.paragraphs.push_back(rtftest::para({rtftest::run(u"\u0919", {u"DevLys 160"})}));
  const Result r = run({"--from", "unicode", "--rtf", in});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(rtftest::mustRead(r.out), rtftest::normalized(expected));
  EXPECT_NE(r.err.find(in + ":3:1: U+0919 'ङ'"), std::string::npos);

  // And back: the glyph runs show the Unicode the document had.
  const std::string glyphs = file("glyphs.rtf", r.out);
  EXPECT_EQ(run({"--from", "glyphs", "--to-text", glyphs}).out,
            "Hello नमस्ते, दुनिया! धर्म\n\n\u0919\n");

  // Plain Unicode text to an RTF document, one paragraph per line.
  const Result text = run({"--from", "unicode", "--rtf"}, "Hi राम\nसीता\n");
  const RichDocument t = rtftest::mustRead(text.out);
  ASSERT_EQ(t.paragraphs.size(), 2u);
  ASSERT_EQ(t.paragraphs[0].runs.size(), 2u);
  EXPECT_EQ(t.paragraphs[0].runs[1].text, u"jke");
  EXPECT_EQ(t.paragraphs[0].runs[1].format.font, u"DevLys 160");
  EXPECT_EQ(t.paragraphs[1].runs[0].text, u"lhrk");
}

// Where soffice is installed: a Unicode document converted to glyph codes opens
// in LibreOffice with its Hindi runs in DevLys 160, and LibreOffice's own RTF
// of it converts back to the Unicode it started from.
TEST_F(LegacyCli, RoundTripThroughLibreOffice) {
  if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "soffice is not on PATH";
  }
  RichDocument doc;
  doc.paragraphs.push_back(
      rtftest::para({rtftest::run(u"Kavelin: ", {u"Arial", 14, true}),
                     rtftest::run(u"विद्यार्थी प्रेम और ज्ञान", {u"Noto Sans Devanagari", 14})}));
  doc.paragraphs.push_back(
      rtftest::para(Align::Center, {rtftest::run(u"क्षत्रिय राष्ट्र कृष्ण गुरु", {u"Mangal", 12})}));
  const std::string source = file("unicode.rtf", writeRtf(doc));
  const Result glyphs =
      run({"--from", "unicode", "--rtf", source, "-o", (dir_ / "glyphs.rtf").string()});
  ASSERT_EQ(glyphs.exitCode, 0) << glyphs.err;

  auto soffice = [&](const fs::path& input, const std::string& format, const std::string& out) {
    fs::create_directories(dir_ / out);
    const std::string cmd = "timeout 300 soffice -env:UserInstallation=file://" +
                            (dir_ / "profile").string() + " --headless --convert-to '" + format +
                            "' --outdir '" + (dir_ / out).string() + "' '" + input.string() +
                            "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    fs::path result = dir_ / out / input.filename();
    return result.replace_extension(format);
  };
  const fs::path odt = soffice(dir_ / "glyphs.rtf", "odt", "odt");
  ASSERT_TRUE(fs::exists(odt));
  const fs::path back = soffice(odt, "rtf", "rtf");
  ASSERT_TRUE(fs::exists(back));
  const std::string libreOffice = slurp(back);
  ASSERT_NE(libreOffice.find("{\\*\\generator LibreOffice"), std::string::npos);

  // LibreOffice kept the glyph codes in DevLys 160.
  const RichDocument opened = rtftest::mustRead(libreOffice);
  ASSERT_EQ(opened.paragraphs.size(), 2u);
  std::u16string devlys;
  for (const RichParagraph& p : opened.paragraphs) {
    for (const RichRun& r : p.runs) {
      if (r.format.font == u"DevLys 160") devlys += r.text + u'|';
    }
  }
  EXPECT_EQ(
      encodeUtf8(devlys),
      encodeUtf8(glyphFromCodes("fon~;kFkhZ \xE7se vkSj Kku|{kf\xABk; jk\"V\xAA \xD1\".k xq#|")));

  // And back to the Unicode it started from.
  const Result unicode = run({"--from", "glyphs", "--to-text", back.string()});
  EXPECT_EQ(unicode.exitCode, 0);
  EXPECT_EQ(unicode.err, "");
  EXPECT_EQ(unicode.out, "Kavelin: विद्यार्थी प्रेम और ज्ञान\nक्षत्रिय राष्ट्र कृष्ण गुरु\n");
}

}  // namespace
}  // namespace kavelin
