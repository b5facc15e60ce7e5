// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text model read from and written as DOCX and ODT: round trips,
// documents made by hand with what the readers must resolve or drop, damaged
// packages, and telling the formats apart by content.
#include "richdocs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "doc_test_util.h"
#include "rtf_test_util.h"

namespace kavelin {
namespace {

using documents::ReadNotes;
using documents::RichFormat;
using rtftest::Format;
using rtftest::para;
using rtftest::run;

struct Codec {
  const char* name;
  bool (*write)(const RichDocument&, std::string&, std::string*);
  bool (*read)(std::string_view, RichDocument&, ReadNotes*, std::string*,
               const documents::PackageLimits&);
  bool halfPoints;  // sizes kept to the half point
};

const Codec kDocx{"docx", documents::writeDocx, documents::readDocx, true};
const Codec kOdt{"odt", documents::writeOdt, documents::readOdt, false};

std::string written(const Codec& codec, const RichDocument& doc) {
  std::string bytes, error;
  EXPECT_TRUE(codec.write(doc, bytes, &error)) << error;
  return bytes;
}

RichDocument readBack(const Codec& codec, const std::string& bytes, ReadNotes* notes = nullptr) {
  RichDocument doc;
  std::string error;
  EXPECT_TRUE(codec.read(bytes, doc, notes, &error, {})) << error;
  return doc;
}

// What a document reads back as: runs merged, line separators as paragraph
// ends, DOCX sizes to the half point.
RichDocument expectedBack(RichDocument doc, bool halfPoints) {
  RichDocument out;
  for (RichParagraph& p : doc.paragraphs) {
    for (RichRun& r : p.runs) {
      if (halfPoints) r.format.sizePt = rtfFontSize(r.format.sizePt);
    }
    mergeRuns(p);
    RichParagraph current{p.align, {}};
    for (const RichRun& r : p.runs) {
      std::size_t begin = 0;
      for (std::size_t i = 0; i <= r.text.size(); ++i) {
        if (i < r.text.size() && r.text[i] != u'\u2028') continue;
        if (i > begin) current.runs.push_back({r.text.substr(begin, i - begin), r.format});
        if (i < r.text.size()) {
          out.paragraphs.push_back(current);
          current.runs.clear();
        }
        begin = i + 1;
      }
    }
    mergeRuns(current);
    out.paragraphs.push_back(current);
  }
  return out;
}

class RoundTrip : public testing::TestWithParam<Codec> {};

TEST_P(RoundTrip, KeepsTextFontsSizesStylesAndAlignment) {
  const Codec& codec = GetParam();
  Format red{u"Noto Sans Devanagari", 16};
  red.color = 0xC00000;
  Format blue{u"DevLys 160", 13.25, false, true, true};
  blue.color = 0x0000FF;
  RichDocument extra = rtftest::fixtureDocument();
  extra.paragraphs.push_back(
      para(Align::Right,
           {run(u"\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E", red),
            run(u" vkidk", blue)}));
  const std::vector<RichDocument> documents = {
      rtftest::fixtureDocument(),
      extra,
      RichDocument{},
      // Spaces XML or ODF would lose: leading, trailing, doubled, alone.
      RichDocument{{para({run(u"  two  spaces  ")}), para({run(u" ")}),
                    para({run(u"a "), run(u" b", {u"Arial", 12, true})}),
                    para({run(u"\t lead"), run(u"tail \t")})}},
      // Markup characters and an empty paragraph between others.
      RichDocument{{para({run(u"<&>\"'")}), para({}), para(Align::Center, {run(u"]]>")})}},
  };
  for (const RichDocument& doc : documents) {
    EXPECT_EQ(readBack(codec, written(codec, doc)), expectedBack(doc, codec.halfPoints));
  }
}

TEST_P(RoundTrip, SizesAsEachFormatKeepsThem) {
  const Codec& codec = GetParam();
  for (double size : {1.0, 7.5, 10.0, 14.25, 14.75, 72.0, 400.0}) {
    RichDocument doc{{para({run(u"x", {u"Arial", size})})}};
    const RichDocument back = readBack(codec, written(codec, doc));
    ASSERT_EQ(back.paragraphs.size(), 1u);
    ASSERT_EQ(back.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(back.paragraphs[0].runs[0].format.sizePt, codec.halfPoints ? rtfFontSize(size) : size)
        << size;
  }
}

TEST_P(RoundTrip, ReadsNothingDroppedFromItsOwnOutput) {
  const Codec& codec = GetParam();
  ReadNotes notes;
  readBack(codec, written(codec, rtftest::fixtureDocument()), &notes);
  EXPECT_EQ(notes.dropped, 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip, testing::Values(kDocx, kOdt),
                         [](const auto& p) { return std::string(p.param.name); });

// ---------------------------------------------------------------------------
// DOCX made by hand

const char* const kW = "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";

std::string docx(const std::string& body, const std::string& styles = "",
                 const std::string& docRels = "") {
  std::vector<std::pair<std::string, std::string>> entries = {
      {"[Content_Types].xml", "<Types/>"},
      {"word/document.xml",
       std::string("<w:document ") + kW + "><w:body>" + body + "</w:body></w:document>"}};
  if (!styles.empty()) {
    entries.push_back(
        {"word/styles.xml", std::string("<w:styles ") + kW + ">" + styles + "</w:styles>"});
    entries.push_back(
        {"word/_rels/document.xml.rels",
         "<Relationships><Relationship Id=\"r1\" Type=\"http://schemas.openxmlformats.org/"
         "officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>" +
             docRels + "</Relationships>"});
  }
  return doctest::makeZip(entries);
}

RichDocument readDocx(const std::string& bytes, ReadNotes* notes = nullptr) {
  return readBack(kDocx, bytes, notes);
}

TEST(DocxReading, StylesDefaultsAndDirectFormatsResolve) {
  const std::string styles =
      "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Arial\" w:hAnsi=\"Arial\" "
      "w:cs=\"Lohit Devanagari\"/><w:sz w:val=\"22\"/><w:szCs w:val=\"28\"/></w:rPr>"
      "</w:rPrDefault></w:docDefaults>"
      "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"/>"
      "<w:style w:type=\"paragraph\" w:styleId=\"Title\"><w:pPr><w:jc w:val=\"center\"/></w:pPr>"
      "<w:rPr><w:b/></w:rPr></w:style>"
      "<w:style w:type=\"paragraph\" w:styleId=\"Sub\"><w:basedOn w:val=\"Title\"/></w:style>"
      "<w:style w:type=\"character\" w:styleId=\"Em\"><w:rPr><w:i/><w:u w:val=\"single\"/>"
      "</w:rPr></w:style>";
  const std::string body =
      "<w:p><w:pPr><w:pStyle w:val=\"Sub\"/></w:pPr><w:r><w:t>Head</w:t></w:r></w:p>"
      "<w:p><w:pPr><w:pStyle w:val=\"Title\"/><w:jc w:val=\"right\"/></w:pPr>"
      "<w:r><w:rPr><w:rStyle w:val=\"Em\"/><w:b w:val=\"0\"/></w:rPr><w:t>em</w:t></w:r></w:p>"
      "<w:p><w:r><w:rPr><w:color w:val=\"FF0000\"/></w:rPr><w:t xml:space=\"preserve\">a "
      "\xE0\xA4\x95</w:t></w:r></w:p>"
      "<w:p><w:r><w:rPr><w:rFonts w:ascii=\"DevLys 160\" w:hAnsi=\"DevLys 160\"/>"
      "<w:sz w:val=\"32\"/></w:rPr><w:t>vk\xE2\x80\x9C</w:t></w:r></w:p>";
  Format head{u"Arial", 11, true};
  Format em{u"Arial", 11, false, true, true};
  Format red{u"Arial", 11};
  red.color = 0xFF0000;
  Format redDeva{u"Lohit Devanagari", 14};
  redDeva.color = 0xFF0000;
  const RichDocument expected{{para(Align::Center, {run(u"Head", head)}),
                               para(Align::Right, {run(u"em", em)}),
                               para({run(u"a ", red), run(u"\u0915", redDeva)}),
                               para({run(u"vk\u201C", {u"DevLys 160", 16})})}};
  EXPECT_EQ(readDocx(docx(body, styles)), expected);
}

TEST(DocxReading, BreaksSymbolsAndTables) {
  const std::string body =
      "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:t>one</w:t><w:br/><w:t>two</w:t>"
      "<w:br w:type=\"page\"/><w:t>three</w:t><w:cr/><w:tab/><w:t>four</w:t></w:r></w:p>"
      "<w:p><w:r><w:sym w:font=\"DevLys 160\" w:char=\"F093\"/><w:sym w:font=\"Symbol\" "
      "w:char=\"03B1\"/></w:r></w:p>"
      "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>a</w:t></w:r></w:p><w:p><w:r><w:t>b</w:t></w:r></w:p>"
      "</w:tc><w:tc><w:p/></w:tc><w:tc><w:p><w:r><w:t>c</w:t></w:r></w:p></w:tc></w:tr>"
      "<w:tr><w:tc><w:p><w:r><w:t>d</w:t></w:r></w:p></w:tc></w:tr></w:tbl>"
      "<w:p><w:r><w:t>after</w:t></w:r></w:p>";
  const Format plain{u"", 10};
  const RichDocument expected{
      {para(Align::Center, {run(u"one", plain)}), para(Align::Center, {run(u"two", plain)}),
       para(Align::Center, {run(u"three", plain)}), para(Align::Center, {run(u"\tfour", plain)}),
       para({run(u"\u201C", {u"DevLys 160", 10}), run(u"\u03B1", {u"Symbol", 10})}),
       para({run(u"a b\t\tc", plain)}), para({run(u"d", plain)}), para({run(u"after", plain)})}};
  ReadNotes notes;
  EXPECT_EQ(readDocx(docx(body), &notes), expected);
  EXPECT_EQ(notes.dropped, documents::kDroppedLayout);
}

TEST(DocxReading, WhatIsDroppedIsReported) {
  const struct {
    const char* what;
    std::string body;
    std::u16string text;  // what is kept
    std::uint32_t dropped;
  } cases[] = {
      {"picture", "<w:p><w:r><w:t>x</w:t><w:drawing><wp:inline/></w:drawing></w:r></w:p>", u"x",
       documents::kDroppedImages},
      {"text box",
       "<w:p><w:r><w:pict><v:shape><v:textbox><w:txbxContent><w:p><w:r><w:t>box</w:t></w:r>"
       "</w:p></w:txbxContent></v:textbox></v:shape></w:pict><w:t>x</w:t></w:r></w:p>",
       u"x", documents::kDroppedTextBoxes},
      {"footnote", "<w:p><w:r><w:t>x</w:t></w:r><w:r><w:footnoteReference w:id=\"1\"/></w:r></w:p>",
       u"x", documents::kDroppedNotes},
      {"comment", "<w:p><w:r><w:t>x</w:t></w:r><w:r><w:commentReference w:id=\"0\"/></w:r></w:p>",
       u"x", documents::kDroppedComments},
      {"field",
       "<w:p><w:r><w:t>p</w:t><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText> PAGE "
       "</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r><w:r><w:t>7</w:t>"
       "</w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r></w:p>",
       u"p7", documents::kDroppedFields},
      {"simple field",
       "<w:p><w:fldSimple w:instr=\"DATE\"><w:r><w:t>today</w:t></w:r></w:fldSimple></w:p>",
       u"today", documents::kDroppedFields},
      {"tracked changes",
       "<w:p><w:ins><w:r><w:t>new</w:t></w:r></w:ins><w:del><w:r><w:delText>old</w:delText>"
       "</w:r></w:del></w:p>",
       u"new", documents::kDroppedDeletions},
      {"header",
       "<w:p><w:r><w:t>x</w:t></w:r></w:p><w:sectPr><w:headerReference w:type=\"default\" "
       "r:id=\"r9\"/></w:sectPr>",
       u"x", documents::kDroppedHeadersFooters},
      {"hyperlink and content control",
       "<w:p><w:hyperlink r:id=\"r1\"><w:r><w:t>li</w:t></w:r></w:hyperlink><w:sdt><w:sdtContent>"
       "<w:r><w:t>nk</w:t></w:r></w:sdtContent></w:sdt></w:p>",
       u"link", 0},
  };
  for (const auto& c : cases) {
    ReadNotes notes;
    const RichDocument doc = readDocx(docx(c.body), &notes);
    ASSERT_EQ(doc.paragraphs.size(), 1u) << c.what;
    std::u16string text;
    for (const RichRun& r : doc.paragraphs[0].runs) text += r.text;
    EXPECT_EQ(text, c.text) << c.what;
    EXPECT_EQ(notes.dropped, c.dropped) << c.what;
  }
}

// ---------------------------------------------------------------------------
// ODT made by hand

const char* const kOdfNs =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
    " xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\"";

std::string odt(const std::string& text, const std::string& automatic = "",
                const std::string& stylesXml = "") {
  std::vector<std::pair<std::string, std::string>> entries = {
      {"mimetype", "application/vnd.oasis.opendocument.text"},
      {"content.xml", std::string("<office:document-content") + kOdfNs +
                          "><office:font-face-decls><style:font-face style:name=\"F1\" "
                          "svg:font-family=\"'DevLys 160'\"/></office:font-face-decls>"
                          "<office:automatic-styles>" +
                          automatic + "</office:automatic-styles><office:body><office:text>" +
                          text + "</office:text></office:body></office:document-content>"}};
  if (!stylesXml.empty()) {
    entries.push_back({"styles.xml", std::string("<office:document-styles") + kOdfNs + ">" +
                                         stylesXml + "</office:document-styles>"});
  }
  return doctest::makeZip(entries);
}

RichDocument readOdt(const std::string& bytes, ReadNotes* notes = nullptr) {
  return readBack(kOdt, bytes, notes);
}

TEST(OdtReading, StylesWhiteSpaceAndBreaks) {
  const std::string stylesXml =
      "<office:styles><style:default-style style:family=\"paragraph\">"
      "<style:text-properties fo:font-family=\"Arial\" fo:font-size=\"11pt\" "
      "style:font-name-complex=\"Lohit Devanagari\" style:font-size-complex=\"14pt\"/>"
      "</style:default-style><style:style style:name=\"Centre\" style:family=\"paragraph\">"
      "<style:paragraph-properties fo:text-align=\"center\"/></style:style></office:styles>";
  const std::string automatic =
      "<style:style style:name=\"P1\" style:family=\"paragraph\" "
      "style:parent-style-name=\"Centre\"/>"
      "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties "
      "style:font-name=\"F1\" fo:font-weight=\"bold\" fo:font-size=\"200%\"/></style:style>"
      "<style:style style:name=\"T2\" style:family=\"text\"><style:text-properties "
      "fo:font-style=\"italic\" style:text-underline-style=\"solid\" fo:color=\"#00ff00\"/>"
      "</style:style>";
  const std::string text =
      "<text:p text:style-name=\"P1\">  lead\n  and <text:span text:style-name=\"T1\">vk "
      "<text:span text:style-name=\"T2\">x</text:span></text:span><text:s text:c=\"3\"/>end"
      "<text:line-break/>next<text:tab/>\xE0\xA4\x95</text:p>"
      "<text:list><text:list-item><text:p>item</text:p></text:list-item></text:list>";
  Format green{u"DevLys 160", 22, true, true, true};
  green.color = 0x00FF00;
  const Format arial{u"Arial", 11};
  const RichDocument expected{
      {para(Align::Center, {run(u"lead and ", arial), run(u"vk ", {u"DevLys 160", 22, true}),
                            run(u"x", green), run(u"   end", arial)}),
       para(Align::Center, {run(u"next\t", arial), run(u"\u0915", {u"Lohit Devanagari", 14})}),
       para({run(u"item", arial)})}};
  EXPECT_EQ(readOdt(odt(text, automatic, stylesXml)), expected);
}

TEST(OdtReading, WhatIsDroppedIsReported) {
  const struct {
    const char* what;
    std::string text;
    std::string stylesXml;
    std::u16string kept;
    std::uint32_t dropped;
  } cases[] = {
      {"picture", "<text:p>x<draw:frame><draw:image/></draw:frame></text:p>", "", u"x",
       documents::kDroppedImages},
      {"text box",
       "<text:p>x<draw:frame><draw:text-box><text:p>in</text:p></draw:text-box>"
       "</draw:frame></text:p>",
       "", u"x", documents::kDroppedTextBoxes},
      {"note",
       "<text:p>x<text:note><text:note-body><text:p>n</text:p></text:note-body>"
       "</text:note></text:p>",
       "", u"x", documents::kDroppedNotes},
      {"comment", "<text:p>x<office:annotation><text:p>c</text:p></office:annotation></text:p>", "",
       u"x", documents::kDroppedComments},
      {"field", "<text:p>page <text:page-number>3</text:page-number></text:p>", "", u"page 3",
       documents::kDroppedFields},
      {"footer", "<text:p>x</text:p>",
       "<office:master-styles><style:master-page style:name=\"S\"><style:footer><text:p>f</text:p>"
       "</style:footer></style:master-page></office:master-styles>",
       u"x", documents::kDroppedHeadersFooters},
      {"table",
       "<table:table><table:table-row><table:table-cell><text:p>a</text:p>"
       "</table:table-cell><table:covered-table-cell/><table:table-cell><text:p>b</text:p>"
       "</table:table-cell></table:table-row></table:table>",
       "", u"a\tb", documents::kDroppedLayout},
      {"link and bookmark",
       "<text:p><text:bookmark text:name=\"b\"/><text:a>li</text:a>nk</text:p>", "", u"link", 0},
  };
  for (const auto& c : cases) {
    ReadNotes notes;
    const RichDocument doc = readOdt(odt(c.text, "", c.stylesXml), &notes);
    ASSERT_EQ(doc.paragraphs.size(), 1u) << c.what;
    std::u16string text;
    for (const RichRun& r : doc.paragraphs[0].runs) text += r.text;
    EXPECT_EQ(text, c.kept) << c.what;
    EXPECT_EQ(notes.dropped, c.dropped) << c.what;
  }
}

// ---------------------------------------------------------------------------
// Damaged packages and formats

TEST(RichDocuments, DamagedPackagesFailAndLeaveTheDocument) {
  const RichDocument before{{para({run(u"kept")})}};
  const struct {
    const char* what;
    const Codec* codec;
    std::string bytes;
  } cases[] = {
      {"empty", &kDocx, ""},
      {"not a zip", &kOdt, "PK\x03\x04 but no more"},
      {"no document part", &kDocx, doctest::makeZip({{"word/other.xml", "<a/>"}})},
      {"malformed XML", &kDocx, doctest::makeZip({{"word/document.xml", "<w:document><w:body>"}})},
      {"no body", &kDocx, doctest::makeZip({{"word/document.xml", "<w:document/>"}})},
      {"no content", &kOdt,
       doctest::makeZip({{"mimetype", "application/vnd.oasis.opendocument.text"}})},
      {"a spreadsheet's content", &kOdt,
       doctest::makeZip({{"content.xml", std::string("<office:document-content") + kOdfNs +
                                             "><office:body><office:spreadsheet/></office:body>"
                                             "</office:document-content>"}})},
      {"entity declarations", &kOdt,
       doctest::makeZip({{"content.xml", "<!DOCTYPE x [<!ENTITY a \"b\">]><x>&a;</x>"}})},
      {"malformed after paragraphs", &kDocx,
       doctest::makeZip({{"word/document.xml",
                          "<w:document><w:body><w:p><w:r><w:t>read</w:t></w:r></w:p><w:p>"
                          "</w:body></w:document>"}})},
      {"cut off after paragraphs", &kOdt,
       doctest::makeZip({{"content.xml", std::string("<office:document-content") + kOdfNs +
                                             "><office:body><office:text><text:p>read</text:p>"
                                             "<text:p>and</text:p>"}})},
  };
  for (const auto& c : cases) {
    RichDocument doc = before;
    std::string error;
    EXPECT_FALSE(c.codec->read(c.bytes, doc, nullptr, &error, {})) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_EQ(doc, before) << c.what;
    // Checking alone finds the same fault.
    const auto check =
        c.codec == &kDocx ? documents::readDocxParagraphs : documents::readOdtParagraphs;
    std::string checkError;
    EXPECT_FALSE(check(c.bytes, nullptr, nullptr, &checkError, {})) << c.what;
    EXPECT_EQ(checkError, error) << c.what;
  }
}

// Read a paragraph at a time: the same paragraphs in the same order as the
// model gets, and a fault after some of them fails the read.
TEST(RichDocuments, ParagraphsComeAsTheyAreRead) {
  RichDocument doc;
  for (int i = 0; i < 300; ++i) {
    doc.paragraphs.push_back(
        para(i % 3 == 0 ? Align::Center : Align::Left,
             {run(u"p" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26))),
              run(u" \u0915", Format{u"Noto Sans Devanagari", 12, i % 2 == 0})}));
  }
  for (const Codec* codec : {&kDocx, &kOdt}) {
    const std::string bytes = written(*codec, doc);
    const auto read =
        codec == &kDocx ? documents::readDocxParagraphs : documents::readOdtParagraphs;
    RichDocument streamed;
    std::string error;
    ASSERT_TRUE(read(bytes, [&](RichParagraph&& p) { streamed.paragraphs.push_back(std::move(p)); },
                     nullptr, &error, {}))
        << error;
    EXPECT_EQ(streamed, readBack(*codec, bytes)) << codec->name;
    EXPECT_TRUE(read(bytes, nullptr, nullptr, &error, {})) << error;
    EXPECT_EQ(streamed, expectedBack(doc, codec->halfPoints)) << codec->name;
  }
  std::size_t handed = 0;
  std::string error;
  EXPECT_FALSE(documents::readDocxParagraphs(
      doctest::makeZip({{"word/document.xml",
                         "<w:document><w:body><w:p><w:r><w:t>a</w:t></w:r></w:p><w:p/><w:tbl>"}}),
      [&handed](RichParagraph&&) { ++handed; }, nullptr, &error, {}));
  EXPECT_EQ(handed, 2u);
  EXPECT_NE(error.find("malformed XML"), std::string::npos) << error;
}

TEST(RichDocuments, FormatByContent) {
  // Packages as the writers make them, with parts of some size.
  RichDocument large;
  for (int i = 0; i < 200; ++i) large.paragraphs.push_back(para({run(u"text of a paragraph")}));
  const std::string docx = written(kDocx, large), odt = written(kOdt, large);
  const struct {
    const char* what;
    std::string bytes;
    RichFormat format;
  } cases[] = {
      {"docx", doctest::makeZip({{"word/document.xml", "<w:document/>"}}), RichFormat::kDocx},
      {"odt", doctest::makeZip({{"mimetype", "application/vnd.oasis.opendocument.text"}}),
       RichFormat::kOdt},
      {"ods", doctest::makeZip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}),
       RichFormat::kUnknown},
      {"other zip", doctest::makeZip({{"a.txt", "x"}}), RichFormat::kUnknown},
      {"written docx", docx, RichFormat::kDocx},
      {"written odt", odt, RichFormat::kOdt},
      {"rtf", "{\\rtf1 x}", RichFormat::kRtf},
      {"rtf after BOM and space", "\xEF\xBB\xBF \r\n{\\rtf1}", RichFormat::kRtf},
      {"text", "hello", RichFormat::kUnknown},
      {"empty", "", RichFormat::kUnknown},
      {"damaged zip", "PK\x03\x04xxxx", RichFormat::kUnknown},
  };
  for (const auto& c : cases) EXPECT_EQ(documents::richFormatOf(c.bytes), c.format) << c.what;
}

// The RTF writer keeps colours in a colour table and the reader reads them.
TEST(RichDocuments, RtfKeepsColours) {
  Format red{u"Arial", 12};
  red.color = 0xFF0000;
  Format teal{u"Arial", 12, true};
  teal.color = 0x008080;
  const RichDocument doc{{para({run(u"red ", red), run(u"plain "), run(u"teal", teal)}),
                          para({run(u"red again", red)})}};
  const std::string rtf = writeRtf(doc);
  EXPECT_NE(rtf.find("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue128;}"),
            std::string::npos)
      << rtf;
  EXPECT_EQ(rtftest::mustRead(rtf), doc);
  // Without colours the output is as before: no table, no \cf.
  const std::string plain = writeRtf(RichDocument{{para({run(u"x")})}});
  EXPECT_EQ(plain.find("colortbl"), std::string::npos);
  EXPECT_EQ(plain.find("\\cf"), std::string::npos);
}

}  // namespace
}  // namespace kavelin
