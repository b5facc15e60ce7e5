// SPDX-License-Identifier: GPL-3.0-or-later
// kavelin-convert on DOCX and ODT documents that real writers made
// (LibreOffice from data/mixed.rtf, python3-docx), checked with other readers:
// pdftotext after soffice, python3-docx, odfpy, the zip and XML modules of
// Python, xmllint, and the compressed bytes of the entries left alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_test_util.h"
#include "harness.h"

namespace kavelin {
namespace {

namespace fs = std::filesystem;
using doctest::capture;
using doctest::quote;
using doctest::slurp;
using doctest::spit;

const std::string kPython = "/usr/bin/python3 ";
const std::string kScripts = KAVELIN_SOURCE_DIR "/tests/documents/";

test::Result convert(const std::vector<std::string>& args) {
  return test::runProgram(KAVELIN_CONVERT, args);
}

// The entries whose content changed must be well-formed XML (xmllint); the
// others must be copied compressed as they were.
void checkRewrite(const fs::path& in, const fs::path& out, const fs::path& dir) {
  const auto before = doctest::readZip(slurp(in));
  const auto after = doctest::readZip(slurp(out));
  ASSERT_EQ(before.size(), after.size());
  std::size_t rewritten = 0;
  for (const auto& [name, entry] : after) {
    const auto old =
        std::find_if(before.begin(), before.end(), [&](const auto& e) { return e.first == name; });
    ASSERT_NE(old, before.end()) << name;
    if (old->second.data == entry.data) {
      EXPECT_TRUE(old->second.raw == entry.raw) << name << " was recompressed";
      EXPECT_EQ(old->second.method, entry.method) << name;
      continue;
    }
    ++rewritten;
    const fs::path part = dir / "part.xml";
    spit(part, entry.data);
    EXPECT_TRUE(capture("xmllint --noout " + quote(part.string()) + " 2>&1").first) << name;
  }
  EXPECT_GT(rewritten, 0u);
  if (after.front().first == "mimetype" || before.front().first == "mimetype") {
    EXPECT_EQ(after.front().first, "mimetype");
    EXPECT_EQ(after.front().second.method, ZIP_CM_STORE);
  }
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t begin = 0;
  while (begin < text.size()) {
    const std::size_t end = text.find('\n', begin);
    out.push_back(text.substr(begin, end - begin));
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return out;
}

class LibreOfficeDocuments : public testing::TestWithParam<const char*> {};

// data/mixed.rtf holds Unicode Hindi and English in a header, a footer, a
// footnote, a table, a list and a text box; LibreOffice makes the document.
TEST_P(LibreOfficeDocuments, UnicodeToGlyphsAndBack) {
  if (!doctest::haveSoffice())
    GTEST_SKIP() << "soffice is not installed (libreoffice-writer-nogui)";
  const std::string format = GetParam();
  doctest::TempDir tmp;
  const fs::path profile = tmp.path() / "profile";
  const fs::path source = doctest::soffice(KAVELIN_SOURCE_DIR "/tests/documents/data/mixed.rtf",
                                           format, tmp.path() / "made", profile);
  ASSERT_FALSE(source.empty()) << "soffice could not write " << format;

  const fs::path glyphs = tmp.path() / ("glyphs." + format);
  const test::Result toGlyphs =
      convert({"--from", "unicode", source.string(), "-o", glyphs.string()});
  ASSERT_EQ(toGlyphs.exitCode, 0) << toGlyphs.err;
  checkRewrite(source, glyphs, tmp.path());

  // What LibreOffice shows of the glyph document: codes in every part.
  const fs::path pdf = doctest::soffice(glyphs, "pdf", tmp.path() / "pdf", profile);
  ASSERT_FALSE(pdf.empty());
  const auto [ok, shown] = capture("pdftotext " + quote(pdf.string()) + " -");
  ASSERT_TRUE(ok);
  for (const char* expected :
       {"English first, then ueLrs nqfu;k and /keZ", "'kh\"kZ ys[k", "ikn ys[k", "fVIi.kh dey",
        "fon~;kFkhZ xq#", "Table English", "fMCck ikB", "dey"}) {
    EXPECT_NE(shown.find(expected), std::string::npos) << expected << " in\n" << shown;
  }
  // Fonts as python3-docx or odfpy read them.
  const auto [fontsOk, fonts] = capture(kPython + kScripts + "fonts.py " + quote(glyphs.string()));
  ASSERT_TRUE(fontsOk);
  EXPECT_NE(fonts.find("DevLys 160\tueLrs nqfu;k\n"), std::string::npos) << fonts;
  for (const std::string& line : lines(fonts)) {
    if (line.find("English") != std::string::npos) {
      EXPECT_EQ(line.rfind("DevLys", 0), std::string::npos) << line;
    }
  }

  // And back: every part's paragraphs as they were.
  const fs::path unicode = tmp.path() / ("unicode." + format);
  const test::Result toUnicode =
      convert({"--from", "glyphs", glyphs.string(), "-o", unicode.string()});
  ASSERT_EQ(toUnicode.exitCode, 0) << toUnicode.err;
  EXPECT_EQ(toUnicode.err, "");
  checkRewrite(glyphs, unicode, tmp.path());
  const auto [aOk, original] =
      capture(kPython + kScripts + "paragraphs.py " + quote(source.string()));
  const auto [bOk, back] = capture(kPython + kScripts + "paragraphs.py " + quote(unicode.string()));
  ASSERT_TRUE(aOk && bOk);
  EXPECT_NE(original.find("नमस्ते दुनिया"), std::string::npos);
  EXPECT_EQ(lines(back), lines(original));
  const auto [uOk, unicodeFonts] =
      capture(kPython + kScripts + "fonts.py " + quote(unicode.string()));
  EXPECT_NE(unicodeFonts.find("Noto Sans Devanagari\tनमस्ते दुनिया"), std::string::npos)
      << unicodeFonts;
}

INSTANTIATE_TEST_SUITE_P(Formats, LibreOfficeDocuments, testing::Values("docx", "odt"));

// python3-docx writes runs that split words and formats in every way the
// rewriter must resolve; the result is read back with python3-docx.
TEST(PythonDocx, WordsSplitAcrossRunsAndInheritedFonts) {
  doctest::TempDir tmp;
  const fs::path in = tmp.path() / "split.docx";
  const std::string script = R"PY(
import sys, docx
from docx.oxml import OxmlElement
from docx.oxml.ns import qn
d = docx.Document()
st = d.styles.add_style("HindiChar", docx.enum.style.WD_STYLE_TYPE.CHARACTER)
st.font.name = "DevLys 160"
ps = d.styles.add_style("HindiPara", docx.enum.style.WD_STYLE_TYPE.PARAGRAPH)
ps.font.name = "DevLys 160"
def run(p, text, font=None, bold=None, style=None):
    r = p.add_run(text, style=style)
    if font: r.font.name = font
    if bold is not None: r.bold = bold
    return r
p = d.add_paragraph()                      # 1: short i split from its consonant
run(p, "f", "DevLys 160"); run(p, "o", "DevLys 160"); run(p, "n~;kFkhZ", "DevLys 160")
p.add_run(" English ").font.name = "Arial"
p = d.add_paragraph(style="HindiPara")     # 2: a bookmark and a proofing mark inside a word
run(p, "ue")
p._p.append(OxmlElement("w:proofErr"))
b = OxmlElement("w:bookmarkStart"); b.set(qn("w:id"), "1"); b.set(qn("w:name"), "m"); p._p.append(b)
run(p, "Lrs")
p = d.add_paragraph()                      # 3: the format changes inside a word
run(p, "/ke", "DevLys 160", True); run(p, "Z", "DevLys 160", False)
p = d.add_paragraph()                      # 4: a character style; reph across a split
run(p, "/k", style="HindiChar"); run(p, "eZ", style="HindiChar")
p = d.add_paragraph()                      # 5: a symbol-font code, a Windows-1252 code, w:sym
run(p, "v\uF06B\u201C", "DevLys 160")
r = p.add_run(); s = OxmlElement("w:sym"); s.set(qn("w:font"), "DevLys 160"); s.set(qn("w:char"), "F06B"); r._r.append(s)
p = d.add_paragraph()                      # 6: a field: instruction stays, result converts
for kind, text in (("begin", None), ("instr", " HYPERLINK ueLrs "), ("separate", None), ("t", "ueLrs"), ("end", None)):
    r = p.add_run(); r.font.name = "DevLys 160"
    if kind == "instr":
        e = OxmlElement("w:instrText"); e.text = text; r._r.append(e)
    elif kind == "t":
        r.text = text
    else:
        e = OxmlElement("w:fldChar"); e.set(qn("w:fldCharType"), kind); r._r.append(e)
p = d.add_paragraph()                      # 7: complex-script slot
r = run(p, "ueLrs", "Arial"); rpr = r._r.get_or_add_rPr()
rpr.rFonts.set(qn("w:cs"), "DevLys 160"); rpr.append(OxmlElement("w:cs"))
r = run(p, "ueLrs", "DevLys 160"); rpr = r._r.get_or_add_rPr()
rpr.rFonts.set(qn("w:cs"), "Arial"); rpr.append(OxmlElement("w:cs"))
d.save(sys.argv[1])
)PY";
  spit(tmp.path() / "make.py", script);
  ASSERT_TRUE(
      capture(kPython + quote((tmp.path() / "make.py").string()) + " " + quote(in.string())).first);
  const fs::path out = tmp.path() / "out.docx";
  const test::Result r = convert({"--from", "glyphs", in.string(), "-o", out.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  checkRewrite(in, out, tmp.path());

  const std::string read = R"PY(
import sys, docx
from docx.oxml.ns import qn
d = docx.Document(sys.argv[1])
for p in d.paragraphs:
    parts = []
    for r in p._p.iter(qn("w:r")):
        rpr = r.find(qn("w:rPr")); fonts = rpr.find(qn("w:rFonts")) if rpr is not None else None
        font = (fonts.get(qn("w:cs")) or fonts.get(qn("w:ascii")) or "") if fonts is not None else ""
        text = "".join(t.text or "" for t in r.iter(qn("w:t"))) + "".join("{" + t.text + "}" for t in r.iter(qn("w:instrText")))
        if text: parts.append(font + ":" + text)
    print("|".join(parts))
)PY";
  spit(tmp.path() / "read.py", read);
  const auto [ok, text] =
      capture(kPython + quote((tmp.path() / "read.py").string()) + " " + quote(out.string()));
  ASSERT_TRUE(ok);
  const std::string u = "Noto Sans Devanagari:";
  const std::vector<std::string> expected = {
      u + "विद्यार्थी|Arial: English ",
      u + "नमस्ते",
      u + "धम|" + u + "र्",  // each format on its own, as the RTF path does
      u + "धर्म",
      u + "आभ|" + u + "ा",  // the w:sym run has a format of its own
      "DevLys 160:{ HYPERLINK ueLrs }|" + u + "नमस्ते",
      u + "नमस्ते|Arial:ueLrs",
  };
  EXPECT_EQ(lines(text), expected) << text;
}

// Damaged packages: a clear message, status 1, and no output file.
TEST(DamagedDocuments, FailWithoutOutput) {
  doctest::TempDir tmp;
  const std::string types = "<Types xmlns=\"t\"/>";
  const std::string rels =
      "<Relationships xmlns=\"r\"><Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats."
      "org/officeDocument/2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
      "</Relationships>";
  const std::string body = "<w:document xmlns:w=\"w\"><w:body><w:p/></w:body></w:document>";
  const struct {
    const char* name;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"bad.docx", "PK\x03\x04 this is no zip", "not a zip package"},
      {"empty.odt", "", "not a zip package"},
      {"malformed.docx",
       doctest::makeZip({{"[Content_Types].xml", types},
                         {"_rels/.rels", rels},
                         {"word/document.xml", "<w:document xmlns:w=\"w\"><w:body>"}}),
       "word/document.xml: malformed XML (line 1, column"},
      {"missing.docx", doctest::makeZip({{"[Content_Types].xml", types}, {"_rels/.rels", rels}}),
       "word/document.xml: missing part"},
      {"missing.odt", doctest::makeZip({{"mimetype", "application/vnd.oasis.opendocument.text"}}),
       "content.xml: missing part"},
      {"entities.odt",
       doctest::makeZip({{"content.xml",
                          "<!DOCTYPE a [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;\">"
                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;\">]><a>&c;&c;&c;</a>"}}),
       "content.xml: malformed XML (line 1, column 13: document type declarations are not "
       "allowed)"},
      {"bomb.docx",
       doctest::makeZip({{"[Content_Types].xml", types},
                         {"_rels/.rels", rels},
                         {"word/document.xml", body + std::string(300u << 20, ' ')}}),
       "word/document.xml: entry expands too much (possible zip bomb)"},
  };
  for (const auto& c : cases) {
    const fs::path in = tmp.path() / c.name;
    spit(in, c.bytes);
    const fs::path out = tmp.path() / (std::string("out-") + c.name);
    for (const char* from : {"glyphs", "unicode"}) {
      const test::Result r = convert({"--from", from, in.string(), "-o", out.string()});
      EXPECT_EQ(r.exitCode, 1) << c.name;
      EXPECT_EQ(r.err.rfind("kavelin-convert: " + in.string() + ": " + c.message, 0), 0u) << r.err;
      EXPECT_FALSE(fs::exists(out)) << c.name;
    }
  }
  // Nothing is left beside the output either.
  std::size_t files = 0;
  for (const auto& e : fs::directory_iterator(tmp.path())) files += e.is_regular_file();
  EXPECT_EQ(files, std::size(cases));
}

// --strict: characters left as they were fail the document, writing nothing;
// without it they are reported with part, paragraph and offset.
TEST(PythonDocx, StrictAndReport) {
  doctest::TempDir tmp;
  const fs::path in = tmp.path() / "in.docx";
  spit(tmp.path() / "make.py",
       "import sys, docx\nd = docx.Document()\nd.add_paragraph('one')\n"
       "d.add_paragraph('x \\u0919\\u0919 \\u0915').runs[0].font.name = "
       "'Mangal'\nd.save(sys.argv[1])\n");
  ASSERT_TRUE(
      capture(kPython + quote((tmp.path() / "make.py").string()) + " " + quote(in.string())).first);
  const fs::path out = tmp.path() / "out.docx";
  const test::Result strict =
      convert({"--from", "unicode", "--strict", in.string(), "-o", out.string()});
  EXPECT_EQ(strict.exitCode, 1);
  EXPECT_FALSE(fs::exists(out));
  const test::Result r = convert({"--from", "unicode", in.string(), "-o", out.string()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err,
            "kavelin-convert: warning: 2 characters could not be converted\n"
            "kavelin-convert:   " +
                in.string() +
                ":word/document.xml:2:3: U+0919 'ङ'\n"
                "kavelin-convert:   " +
                in.string() + ":word/document.xml:2:4: U+0919 'ङ'\n");
  EXPECT_EQ(strict.err, "kavelin-convert: error" + r.err.substr(r.err.find(':', 17)));
  // Usage: one document, named output.
  EXPECT_EQ(convert({"--from", "unicode", in.string()}).exitCode, 2);
  EXPECT_EQ(convert({"--from", "unicode", "--to-text", in.string(), "-o", out.string()}).exitCode,
            2);
}

}  // namespace
}  // namespace kavelin
