// SPDX-License-Identifier: GPL-3.0-or-later
// The rules under the rewriters, in memory: XML that is refused, package
// limits, part names, and the effective font of DOCX runs and ODT spans.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "doc_test_util.h"
#include "docx.h"
#include "odt.h"
#include "package.h"
#include "xml.h"

namespace kavelin::documents {
namespace {

XmlDocument mustParse(const std::string& xml) {
  XmlDocument doc;
  std::string error;
  EXPECT_TRUE(parseXml(xml, doc, &error)) << error;
  return doc;
}

TEST(DocumentXml, RefusesWhatIsNotPlainXml) {
  const struct {
    std::string xml, message;
  } cases[] = {
      {"<a><b></a>", "mismatched tag"},
      {"", "no element found"},
      {"<a>&undefined;</a>", "undefined entity"},
      {"<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x \"xx\"><!ENTITY y "
       "\"&x;&x;&x;\">]><a>&y;</a>",
       "document type declarations are not allowed"},
      {"<!DOCTYPE a SYSTEM \"file:///etc/passwd\"><a/>",
       "document type declarations are not allowed"},
      {"<a>\xFF</a>", "not well-formed"},
      {std::string(2000, '<'), "not well-formed"},
  };
  for (const auto& c : cases) {
    XmlDocument doc;
    std::string error;
    EXPECT_FALSE(parseXml(c.xml, doc, &error)) << c.xml.substr(0, 40);
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
  }
  std::string deep;
  for (int i = 0; i < 1500; ++i) deep += "<a>";
  XmlDocument doc;
  std::string error;
  EXPECT_FALSE(parseXml(deep, doc, &error));
  EXPECT_NE(error.find("nested too deeply"), std::string::npos) << error;
}

TEST(DocumentXml, WritesBackWhatItRead) {
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<w:document xmlns:w=\"urn:w\" a=\"&quot;x&amp;y&lt;&#10;\"><!--c--><?pi data?>"
      "<w:t xml:space=\"preserve\"> a &amp; b &lt; c \xE0\xA4\x95\t</w:t><w:br/></w:document>";
  const XmlDocument doc = mustParse(xml);
  EXPECT_EQ(writeXml(doc), xml);
  EXPECT_EQ(doc.root.children.size(), 4u);
  EXPECT_EQ(*doc.root.attribute("a"), "\"x&y<\n");
}

// Streams the content of the first element named `region` (the root for
// ""), reading the elements named `whole` whole; each is handed to `change`.
class TestStream : public XmlStream {
 public:
  TestStream(std::string region, std::string whole, bool rewrite,
             std::function<void(XmlNode&)> change = nullptr)
      : region_(std::move(region)), whole_(std::move(whole)), change_(std::move(change)) {
    rewrites = rewrite;
  }
  bool streams(const XmlNode& element, std::size_t depth, const XmlNode&) override {
    if (done_ || (region_.empty() ? depth != 0 : element.name != region_)) return false;
    done_ = true;
    return true;
  }
  bool enter(const XmlNode& element) override {
    if (element.name == whole_) return true;
    ++passed;
    return false;
  }
  void whole(XmlNode& element) override {
    handed.push_back(writeXml(XmlDocument{{}, element}));
    if (change_) change_(element);
  }
  void leave() override { ++left; }

  std::vector<std::string> handed;
  int passed = 0;
  int left = 0;

 private:
  std::string region_, whole_;
  std::function<void(XmlNode&)> change_;
  bool done_ = false;
};

TEST(DocumentXml, StreamedRegionsAreWrittenBackAsTheTreeWouldBe) {
  const std::string xmls[] = {
      "<r/>",
      "<r></r>",
      "<r><p/><q/></r>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<r a=\"&quot;1&#9;&amp;\">"
      "<!--c--><?pi x?><?bare?><q b=\"&lt;&#10;&#13;\">t &amp; &lt;u&gt; \"v\"\t</q>"
      "<p><p>in</p></p><![CDATA[<raw>&]]><q><q/></q>tail</r>",
      "<r><body><p x=\"1\">a<b>b</b>c</p><tbl><tblPr/><p/></tbl></body><after/></r>",
      "<r>\xE0\xA4\x95 &#x915; &#65;</r>",
  };
  for (const std::string& xml : xmls) {
    const std::string tree = writeXml(mustParse(xml));
    for (const char* region : {"", "body", "q"}) {
      TestStream stream(region, "p", true);
      XmlDocument doc;
      std::string error;
      ASSERT_TRUE(parseXml(xml, doc, &error, &stream)) << error;
      EXPECT_EQ(writeXml(doc), tree) << xml << " streaming " << region;
      EXPECT_EQ(stream.passed, stream.left) << xml;
    }
  }
}

TEST(DocumentXml, WholeElementsComeInOrderOnceEachAndTheirChangesAreWritten) {
  const std::string xml = "<d><b><p>one<p>inner</p></p><t><p>two</p></t><p/></b><p>outside</p></d>";
  const auto upper = [](XmlNode& p) { p.setAttribute("n", std::to_string(p.children.size())); };
  TestStream stream("b", "p", true, upper);
  XmlDocument doc;
  ASSERT_TRUE(parseXml(xml, doc, nullptr, &stream));
  EXPECT_EQ(stream.handed,
            (std::vector<std::string>{"<p>one<p>inner</p></p>", "<p>two</p>", "<p/>"}));
  EXPECT_EQ(writeXml(doc),
            "<d><b><p n=\"2\">one<p>inner</p></p><t><p n=\"1\">two</p></t><p n=\"0\"/></b>"
            "<p>outside</p></d>");

  // Read only: nothing of the region is kept.
  TestStream reading("b", "p", false);
  ASSERT_TRUE(parseXml(xml, doc, nullptr, &reading));
  EXPECT_EQ(reading.handed.size(), 3u);
  EXPECT_EQ(writeXml(doc), "<d><b/><p>outside</p></d>");
}

TEST(DocumentXml, PiecesGiveTheSameDocumentAndTheSameErrors) {
  const std::string xmls[] = {
      "<?xml version=\"1.0\"?>\n<a x=\"1\"><b>\xE0\xA4\x95 text</b><!--c--></a>",
      "<a><b></a>",
      "",
      "<a>\n<b>&undefined;</b></a>",
      "<!DOCTYPE a SYSTEM \"x\"><a/>",
      "<a>\xE0\xA4</a>",
      "<a></a><b/>",
  };
  for (const std::string& xml : xmls) {
    XmlDocument whole;
    std::string wholeError;
    const bool ok = parseXml(xml, whole, &wholeError);
    for (std::size_t size : {1, 3, 7}) {
      TestStream stream("a", "b", true);
      XmlParser parser(&stream);
      for (std::size_t at = 0; at < xml.size(); at += size) parser.feed(xml.substr(at, size));
      XmlDocument doc;
      std::string error;
      EXPECT_EQ(parser.finish(doc, &error), ok) << xml;
      EXPECT_EQ(error, wholeError) << xml;
      if (ok) {
        EXPECT_EQ(writeXml(doc), writeXml(whole)) << xml;
      }
    }
  }
}

TEST(DocumentPackage, PartNamesResolveAgainstTheirSource) {
  const struct {
    const char *base, *target, *part;
  } cases[] = {
      {"word/document.xml", "styles.xml", "word/styles.xml"},
      {"word/document.xml", "../customXml/item1.xml", "customXml/item1.xml"},
      {"word/document.xml", "/word/header1.xml", "word/header1.xml"},
      {"", "word/document.xml", "word/document.xml"},
      {"word/document.xml", "./media/../theme/theme1.xml", "word/theme/theme1.xml"},
      {"word/document.xml", "../../../x.xml", "x.xml"},
  };
  for (const auto& c : cases) EXPECT_EQ(resolvePartName(c.base, c.target), c.part) << c.target;
}

TEST(DocumentPackage, LimitsAgainstZipBombs) {
  const std::string zeros(3u << 20, '\0');
  const std::string bomb = doctest::makeZip({{"[Content_Types].xml", "<a/>"}, {"big", zeros}});
  const std::string fine = doctest::makeZip({{"[Content_Types].xml", "<a/>"}, {"small", "abc"}});
  const struct {
    std::string bytes;
    PackageLimits limits;
    std::string message;  // empty: opens
  } cases[] = {
      {fine, {}, ""},
      {bomb, {}, "big: entry expands too much (possible zip bomb)"},
      {bomb, {10000, 256u << 20, 1u << 30, 1u << 30, 200}, ""},  // ratio checked above 1 GiB only
      {bomb, {10000, 1u << 20, 1u << 30, 1u << 30, 200}, "big: entry expands too much"},
      {fine, {1, 256u << 20, 1u << 30, 1u << 20, 200}, "too many entries"},
      {bomb, {10000, 256u << 20, 2u << 20, 1u << 30, 200}, "the package expands too much"},
      {"PK\x03\x04 not really", {}, "not a zip package"},
      {"", {}, "not a zip package"},
      {fine.substr(0, fine.size() - 10), {}, "not a zip package"},
  };
  for (const auto& c : cases) {
    Package p;
    std::string error;
    EXPECT_EQ(p.open(c.bytes, c.limits, &error), c.message.empty()) << c.message << c.bytes.size();
    if (!c.message.empty()) {
      EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
  }
}

TEST(DocumentPackage, SavesChangedEntriesOnlyAndMimetypeFirst) {
  const std::string in = doctest::makeZip({{"content.xml", "<a>old</a>"},
                                           {"mimetype", "application/vnd.oasis.opendocument.text"},
                                           {"Pictures/x.png", std::string(5000, 'x')}});
  Package p;
  std::string error;
  ASSERT_TRUE(p.open(in, {}, &error)) << error;
  p.replace("content.xml", "<a>new</a>");
  std::string out;
  ASSERT_TRUE(p.save(out, &error)) << error;
  const auto before = doctest::readZip(in);
  const auto after = doctest::readZip(out);
  ASSERT_EQ(after.size(), 3u);
  EXPECT_EQ(after[0].first, "mimetype");
  EXPECT_EQ(after[0].second.method, ZIP_CM_STORE);
  EXPECT_EQ(after[1].first, "content.xml");
  EXPECT_EQ(after[1].second.data, "<a>new</a>");
  EXPECT_EQ(after[2].second.raw, before[2].second.raw);  // copied compressed
  EXPECT_EQ(after[2].second.method, before[2].second.method);
}

// Pieces of a part, counted as they are asked for.
class Pieces : public PartSource {
 public:
  explicit Pieces(std::vector<std::string> pieces) : pieces_(std::move(pieces)) {}
  void start() override {
    at_ = 0;
    ++starts;
  }
  bool next(std::string& out) override {
    if (at_ < pieces_.size()) out += pieces_[at_++];
    return at_ < pieces_.size();
  }
  int starts = 0;

 private:
  std::vector<std::string> pieces_;
  std::size_t at_ = 0;
};

TEST(DocumentPackage, EntriesMadeWhileSavingHoldWhatTheirSourceMade) {
  std::string large;
  for (int i = 0; large.size() < 300000; ++i) large += "<p>" + std::to_string(i * 7919) + "</p>";
  const struct {
    std::vector<std::string> pieces;
  } cases[] = {{{}}, {{""}}, {{"<a/>"}}, {{"<a>", "", "b", "</a>"}}, {{"<d>", large, "</d>"}}};
  for (const auto& c : cases) {
    Pieces source(c.pieces);
    Package p;
    p.add("mimetype", "application/vnd.oasis.opendocument.text");
    p.add("content.xml", source);
    p.add("styles.xml", "<s/>");
    std::string out, error;
    ASSERT_TRUE(p.save(out, &error)) << error;
    std::string whole;
    for (const std::string& piece : c.pieces) whole += piece;
    // As the same content added whole.
    Package q;
    q.add("mimetype", "application/vnd.oasis.opendocument.text");
    q.add("content.xml", whole);
    q.add("styles.xml", "<s/>");
    std::string expected;
    ASSERT_TRUE(q.save(expected, &error)) << error;
    const auto entries = doctest::readZip(out);
    const auto wanted = doctest::readZip(expected);
    ASSERT_EQ(entries.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(entries[i].first, wanted[i].first);
      EXPECT_EQ(entries[i].second.data, wanted[i].second.data);
      EXPECT_EQ(entries[i].second.raw, wanted[i].second.raw);
      EXPECT_EQ(entries[i].second.method, wanted[i].second.method);
    }
    EXPECT_EQ(entries[1].second.data, whole);
    EXPECT_GE(source.starts, 2);  // its size counted first, then written
  }
}

// styles.xml and a theme for the resolution cases.
const char kStyles[] =
    "<w:styles xmlns:w=\"w\">"
    "<w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:asciiTheme=\"minorHAnsi\" "
    "w:hAnsiTheme=\"minorHAnsi\" w:cstheme=\"minorBidi\"/><w:sz w:val=\"22\"/></w:rPr>"
    "</w:rPrDefault></w:docDefaults>"
    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"/>"
    "<w:style w:type=\"paragraph\" w:styleId=\"Hindi\"><w:basedOn w:val=\"Normal\"/>"
    "<w:rPr><w:rFonts w:ascii=\"DevLys 160\" w:hAnsi=\"DevLys 160\"/></w:rPr></w:style>"
    "<w:style w:type=\"paragraph\" w:styleId=\"HindiBig\"><w:basedOn w:val=\"Hindi\"/>"
    "<w:rPr><w:sz w:val=\"40\"/></w:rPr></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"Eng\"><w:rPr><w:rFonts w:ascii=\"Arial\"/>"
    "</w:rPr></w:style>"
    "<w:style w:type=\"character\" w:styleId=\"Loop\"><w:basedOn w:val=\"Loop\"/></w:style>"
    "<w:style w:type=\"table\" w:styleId=\"Grid\"><w:rPr><w:rFonts w:hAnsi=\"Mangal\"/>"
    "<w:b/></w:rPr></w:style>"
    "</w:styles>";
const char kTheme[] =
    "<a:theme xmlns:a=\"a\"><a:themeElements><a:fontScheme>"
    "<a:majorFont><a:latin typeface=\"Cambria\"/><a:cs typeface=\"Major CS\"/></a:majorFont>"
    "<a:minorFont><a:latin typeface=\"Calibri\"/><a:ea typeface=\"\"/>"
    "<a:cs typeface=\"Mangal\"/></a:minorFont></a:fontScheme></a:themeElements></a:theme>";

TEST(DocxFonts, EffectiveFontPerSlot) {
  const XmlDocument styles = mustParse(kStyles);
  const XmlDocument theme = mustParse(kTheme);
  DocxStyles resolved;
  resolved.load(&styles.root, &theme.root);
  const std::string hindi = "Hindi", big = "HindiBig";
  const struct {
    std::string direct;  // w:rPr of the run, or ""
    std::string charStyle;
    const std::string* paraStyle;
    std::string tableStyle;
    char16_t c;
    std::string font;
  } cases[] = {
      {"", "", nullptr, "", u'a', "Calibri"},  // docDefaults through the theme
      {"", "", nullptr, "", u'\u00A1', "Calibri"},
      {"", "", &hindi, "", u'k', "DevLys 160"},
      {"", "", &big, "", u'\u00A1', "DevLys 160"},        // basedOn chain
      {"", "Eng", &hindi, "", u'k', "Arial"},             // character style over paragraph style
      {"", "Eng", &hindi, "", u'\u00A1', "DevLys 160"},   // ... for its slot only
      {"", "Loop", &hindi, "", u'k', "DevLys 160"},       // a basedOn loop ends
      {"", "", nullptr, "Grid", u'\u00E7', "Mangal"},     // table style
      {"", "", &hindi, "Grid", u'\u00E7', "DevLys 160"},  // paragraph style over table style
      {"<w:rPr><w:rFonts w:ascii=\"X\"/></w:rPr>", "Eng", &hindi, "", u'k', "X"},
      {"<w:rPr><w:rFonts w:ascii=\"X\" w:asciiTheme=\"majorHAnsi\"/></w:rPr>", "", nullptr, "",
       u'k', "Cambria"},  // the theme attribute wins at its layer
      {"<w:rPr><w:cs/></w:rPr>", "", &hindi, "", u'k', "Mangal"},  // w:cs: complex script
      {"<w:rPr><w:rtl/><w:rFonts w:cs=\"DevLys 160\"/></w:rPr>", "", nullptr, "", u'a',
       "DevLys 160"},
      {"<w:rPr><w:cs w:val=\"0\"/></w:rPr>", "", &hindi, "", u'k', "DevLys 160"},
      {"<w:rPr><w:rFonts w:cstheme=\"majorBidi\"/><w:cs/></w:rPr>", "", nullptr, "", u'k',
       "Major CS"},
  };
  for (const auto& c : cases) {
    XmlDocument direct;
    if (!c.direct.empty()) direct = mustParse(c.direct);
    const auto layers = resolved.layers(c.direct.empty() ? nullptr : &direct.root, c.charStyle,
                                        c.paraStyle, c.tableStyle);
    EXPECT_EQ(resolved.fontFor(layers, c.c), c.font)
        << c.direct << " " << c.charStyle << " " << (c.paraStyle ? *c.paraStyle : "default") << " "
        << c.tableStyle << " U+" << std::hex << int(c.c);
  }
  const auto grid = resolved.layers(nullptr, "", &big, "Grid");
  EXPECT_EQ(resolved.value(grid, "sz"), "40");
  EXPECT_TRUE(resolved.toggle(grid, "b"));
  EXPECT_FALSE(resolved.toggle(resolved.layers(nullptr, "", &big, ""), "b"));
}

TEST(OdtFonts, EffectiveFontThroughSpansAndParagraphs) {
  const XmlDocument styles = mustParse(
      "<office:document-styles xmlns:office=\"o\" xmlns:style=\"s\" xmlns:svg=\"v\" "
      "xmlns:fo=\"f\"><office:font-face-decls>"
      "<style:font-face style:name=\"DevLys\" svg:font-family=\"&apos;DevLys 160&apos;\"/>"
      "<style:font-face style:name=\"Lib\" svg:font-family=\"&quot;Liberation Serif&quot;\"/>"
      "</office:font-face-decls><office:styles>"
      "<style:default-style style:family=\"paragraph\"><style:text-properties "
      "style:font-name=\"Lib\" style:font-name-complex=\"Lib\"/></style:default-style>"
      "<style:style style:name=\"Standard\" style:family=\"paragraph\"/>"
      "<style:style style:name=\"Hindi\" style:family=\"paragraph\" "
      "style:parent-style-name=\"Standard\"><style:text-properties style:font-name=\"DevLys\"/>"
      "</style:style>"
      "<style:style style:name=\"Hindi\" style:family=\"text\"><style:text-properties "
      "fo:font-family=\"Arial\"/></style:style>"
      "</office:styles></office:document-styles>");
  const XmlDocument content = mustParse(
      "<office:document-content xmlns:office=\"o\" xmlns:style=\"s\" xmlns:fo=\"f\">"
      "<office:automatic-styles>"
      "<style:style style:name=\"P1\" style:family=\"paragraph\" "
      "style:parent-style-name=\"Hindi\"/>"
      "<style:style style:name=\"T1\" style:family=\"text\"><style:text-properties "
      "fo:font-family=\"&apos;DevLys 160&apos;\"/></style:style>"
      "<style:style style:name=\"T2\" style:family=\"text\"><style:text-properties "
      "fo:font-weight=\"bold\"/></style:style>"
      "</office:automatic-styles></office:document-content>");
  OdtStyles resolved;
  resolved.load(content.root, 0);
  resolved.load(styles.root, 1);
  const struct {
    int part;
    std::vector<std::string> spans;
    std::string paragraph;
    std::string western;
  } cases[] = {
      {0, {}, "", "Liberation Serif"},  // the default style, quotes gone
      {0, {}, "Standard", "Liberation Serif"},
      {0, {}, "P1", "DevLys 160"},            // automatic -> common parent chain
      {0, {"T2"}, "P1", "DevLys 160"},        // a span without a font
      {0, {"T1"}, "Standard", "DevLys 160"},  // fo:font-family, quoted
      {0, {"Hindi"}, "P1", "Arial"},          // a text style, not the paragraph one
      {0, {"T2", "T1"}, "", "DevLys 160"},    // the inner span first
      {1, {"T1"}, "", "Liberation Serif"},    // content's automatic styles not in styles.xml
  };
  for (const auto& c : cases) {
    EXPECT_EQ(resolved.font(resolved.layers(c.part, c.spans, c.paragraph), false), c.western)
        << c.paragraph;
  }
  EXPECT_EQ(resolved.font(resolved.layers(0, {}, "P1"), true), "Liberation Serif");
  EXPECT_EQ(OdtStyles::value(resolved.layers(0, {"T2"}, "P1"), "fo:font-weight"), "bold");
}

}  // namespace
}  // namespace kavelin::documents
