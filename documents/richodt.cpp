// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text model as ODT: read through span, paragraph, parent and default
// styles; written with automatic styles and font-face declarations.
#include <cstdlib>
#include <map>
#include <set>

#include "odt.h"
#include "richdocs.h"
#include "richshared.h"
#include "text.h"

namespace kavelin::documents {
namespace {

using rich::Builder;

constexpr std::string_view kOdtMime = "application/vnd.oasis.opendocument.text";

// A length in points ("12pt", "0.5in", "1cm"); 0 for what is none.
double points(const std::string& v) {
  char* end = nullptr;
  const double n = std::strtod(v.c_str(), &end);
  const std::string unit = end ? std::string(end) : std::string();
  if (unit == "pt") return n;
  if (unit == "in") return n * 72.0;
  if (unit == "cm") return n * 72.0 / 2.54;
  if (unit == "mm") return n * 72.0 / 25.4;
  if (unit == "pc") return n * 12.0;
  if (unit == "px") return n * 0.75;
  return 0;
}

// The font size of some text-properties layers, most specific first; a
// percentage scales what the layers below give.
double fontSize(const std::vector<const XmlNode*>& layers, const std::string& name,
                std::size_t from = 0) {
  for (std::size_t i = from; i < layers.size(); ++i) {
    const std::string* v = layers[i]->attribute(name);
    if (!v || v->empty()) continue;
    if (v->back() == '%') return std::atof(v->c_str()) / 100.0 * fontSize(layers, name, i + 1);
    const double pt = points(*v);
    if (pt > 0) return pt;
  }
  return 12.0;
}

// The first layer's value of the first attribute of `names` any layer has.
std::string firstValue(const std::vector<const XmlNode*>& layers,
                       std::initializer_list<const char*> names) {
  for (const char* n : names) {
    const std::string v = OdtStyles::value(layers, n);
    if (!v.empty()) return v;
  }
  return {};
}

// Paragraph styles' alignments through their parents and the default style.
class ParagraphAlignments {
 public:
  void load(const XmlNode& root, int part) {
    for (const XmlNode& section : root.children) {
      const bool common = section.isElement("office:styles");
      if (!common && !section.isElement("office:automatic-styles")) continue;
      for (const XmlNode& s : section.children) {
        const std::string* family = s.attribute("style:family");
        if (!family || *family != "paragraph") continue;
        const XmlNode* props = s.child("style:paragraph-properties");
        const std::string* align = props ? props->attribute("fo:text-align") : nullptr;
        if (s.isElement("style:default-style")) {
          if (align) default_ = *align;
          continue;
        }
        const std::string* name = s.attribute("style:name");
        if (!s.isElement("style:style") || !name) continue;
        Style& style = styles_[{common ? -1 : part, *name}];
        if (align) style.align = *align;
        if (const std::string* p = s.attribute("style:parent-style-name")) style.parent = *p;
      }
    }
  }
  Align align(int part, const std::string& name) const {
    std::string at = name;
    std::string value = default_;
    for (int depth = 0; depth < 32 && !at.empty(); ++depth) {
      auto it = styles_.find({part, at});
      if (it == styles_.end()) it = styles_.find({-1, at});
      if (it == styles_.end()) break;
      if (!it->second.align.empty()) {
        value = it->second.align;
        break;
      }
      at = it->second.parent;
    }
    if (value == "center") return Align::Center;
    if (value == "end" || value == "right") return Align::Right;
    return Align::Left;
  }

 private:
  struct Style {
    std::string align, parent;
  };
  std::map<std::pair<int, std::string>, Style> styles_;
  std::string default_;
};

bool hasElement(const XmlNode& node, std::string_view qname) {
  for (const XmlNode& c : node.children) {
    if (c.kind != XmlNode::Kind::kElement) continue;
    if (c.name == qname || hasElement(c, qname)) return true;
  }
  return false;
}

class OdtReader {
 public:
  OdtReader(const OdtStyles& styles, const ParagraphAlignments& alignments, Builder& out)
      : styles_(styles), alignments_(alignments), out_(out) {}

  void paragraph(const XmlNode& p);

 private:
  void inlines(const XmlNode& node);
  void text(std::u16string_view s, bool collapse);
  void formats();

  const OdtStyles& styles_;
  const ParagraphAlignments& alignments_;
  Builder& out_;
  std::string paraStyle_;
  std::vector<std::string> spans_;  // innermost last
  RunFormat western_, complex_;
  bool space_ = true;  // the text so far ends with white space (or is none)
};

void OdtReader::formats() {
  std::vector<std::string> innermostFirst(spans_.rbegin(), spans_.rend());
  const std::vector<const XmlNode*> layers = styles_.layers(0, innermostFirst, paraStyle_);
  for (bool complex : {false, true}) {
    RunFormat& f = complex ? complex_ : western_;
    std::string font = styles_.font(layers, complex);
    if (font.empty() && complex) font = styles_.font(layers, false);
    f.font.clear();
    decodeUtf8(font, f.font);
    const bool any = complex && !firstValue(layers, {"style:font-size-complex"}).empty();
    f.sizePt = fontSize(layers, any ? "style:font-size-complex" : "fo:font-size");
    const std::string weight =
        complex ? firstValue(layers, {"style:font-weight-complex", "fo:font-weight"})
                : OdtStyles::value(layers, "fo:font-weight");
    f.bold = weight == "bold" || std::atoi(weight.c_str()) >= 600;
    const std::string style =
        complex ? firstValue(layers, {"style:font-style-complex", "fo:font-style"})
                : OdtStyles::value(layers, "fo:font-style");
    f.italic = style == "italic" || style == "oblique";
    const std::string underline = OdtStyles::value(layers, "style:text-underline-style");
    f.underline = !underline.empty() && underline != "none";
    f.color = rich::parseHexColor(OdtStyles::value(layers, "fo:color"));
  }
}

void OdtReader::paragraph(const XmlNode& p) {
  const std::string* style = p.attribute("text:style-name");
  paraStyle_ = style ? *style : std::string();
  spans_.clear();
  formats();
  out_.startParagraph(alignments_.align(0, paraStyle_));
  space_ = true;
  inlines(p);
  out_.endParagraph();
}

// White space in text collapses to one space, none at a paragraph's start.
void OdtReader::text(std::u16string_view s, bool collapse) {
  std::u16string kept;
  kept.reserve(s.size());
  for (char16_t c : s) {
    const bool white = collapse && (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r');
    if (white) {
      if (space_) continue;
      c = u' ';
    }
    space_ = white;
    kept += c;
  }
  std::size_t begin = 0;
  while (begin < kept.size()) {
    const bool complex = rich::isComplexScript(kept[begin]);
    std::size_t end = begin + 1;
    while (end < kept.size() && rich::isComplexScript(kept[end]) == complex) ++end;
    out_.append(std::u16string_view(kept).substr(begin, end - begin),
                complex ? complex_ : western_);
    begin = end;
  }
}

void OdtReader::inlines(const XmlNode& node) {
  for (const XmlNode& c : node.children) {
    if (c.kind == XmlNode::Kind::kText) {
      std::u16string s;
      decodeUtf8(c.text, s);
      text(s, true);
      continue;
    }
    if (c.kind != XmlNode::Kind::kElement) continue;
    if (c.isElement("text:span")) {
      const std::string* style = c.attribute("text:style-name");
      spans_.push_back(style ? *style : std::string());
      formats();
      inlines(c);
      spans_.pop_back();
      formats();
    } else if (c.isElement("text:s")) {
      const std::string* n = c.attribute("text:c");
      const int count = n ? std::max(1, std::atoi(n->c_str())) : 1;
      text(std::u16string(static_cast<std::size_t>(std::min(count, 10000)), u' '), false);
      space_ = true;
    } else if (c.isElement("text:tab")) {
      text(u"\t", false);
      space_ = true;
    } else if (c.isElement("text:line-break")) {
      out_.breakParagraph();
      space_ = true;
    } else if (c.isElement("text:a") || c.isElement("text:meta") || c.isElement("text:ruby") ||
               c.isElement("text:ruby-base")) {
      inlines(c);
    } else if (c.isElement("text:note")) {
      out_.drop(kDroppedNotes);
    } else if (c.isElement("office:annotation")) {
      out_.drop(kDroppedComments);
    } else if (c.name.rfind("draw:", 0) == 0) {
      out_.drop(hasElement(c, "draw:text-box") ? kDroppedTextBoxes : kDroppedImages);
    } else if (c.isElement("text:soft-page-break") || c.isElement("text:bookmark") ||
               c.isElement("text:bookmark-start") || c.isElement("text:bookmark-end") ||
               c.isElement("text:reference-mark") || c.isElement("text:reference-mark-start") ||
               c.isElement("text:reference-mark-end") || c.isElement("text:change-start") ||
               c.isElement("text:change-end") || c.isElement("text:change") ||
               c.isElement("office:annotation-end") || c.isElement("text:ruby-text") ||
               c.isElement("text:toc-mark") || c.isElement("text:toc-mark-start") ||
               c.isElement("text:toc-mark-end") || c.isElement("text:alphabetical-index-mark") ||
               c.isElement("text:alphabetical-index-mark-start") ||
               c.isElement("text:alphabetical-index-mark-end")) {
      // Marks without text of their own.
    } else if (c.name.rfind("text:", 0) == 0) {
      // Fields (page numbers, dates, references, variables): the text they show.
      out_.drop(kDroppedFields);
      inlines(c);
    }
  }
}

// office:text read in one pass: paragraphs, drawings and tracked changes
// read whole; lists, sections, indexes' bodies and tables' rows and cells
// passed through; anything else passed by unread. The styles are loaded when
// office:body starts, after the automatic styles before it.
class TextStream : public XmlStream {
 public:
  TextStream(OdtReader& reader, Builder& out, const std::function<void(const XmlNode&)>& load)
      : reader_(reader), out_(out), load_(load) {}

  bool streams(const XmlNode& element, std::size_t depth, const XmlNode& root) override {
    if (depth != 1 || body_ || !element.isElement("office:body")) return false;
    load_(root);
    body_ = true;
    return true;
  }

  bool enter(const XmlNode& e) override {
    const Kind in = open_.empty() ? Kind::kBody : checking ? Kind::kIgnored : open_.back();
    Kind kind = Kind::kIgnored;
    switch (in) {
      case Kind::kBody:
        if (e.isElement("office:text") && !text) {
          text = true;
          kind = Kind::kBlocks;
        }
        break;
      case Kind::kBlocks:
        if (e.isElement("text:p") || e.isElement("text:h") || e.isElement("text:tracked-changes") ||
            e.name.rfind("draw:", 0) == 0) {
          return true;
        }
        if (e.isElement("table:table")) {
          kind = Kind::kRows;
        } else if (e.isElement("text:list") || e.isElement("text:list-item") ||
                   e.isElement("text:list-header") || e.isElement("text:section") ||
                   e.isElement("text:index-body") || e.isElement("office:text") ||
                   e.isElement("text:numbered-paragraph")) {
          kind = Kind::kBlocks;
        } else if (e.isElement("text:table-of-content") || e.isElement("text:alphabetical-index") ||
                   e.isElement("text:illustration-index") || e.isElement("text:table-index") ||
                   e.isElement("text:object-index") || e.isElement("text:user-index") ||
                   e.isElement("text:bibliography")) {
          out_.drop(kDroppedFields);
          kind = Kind::kIndex;
        }
        break;
      case Kind::kIndex:
        if (e.isElement("text:index-body")) kind = Kind::kBlocks;
        break;
      case Kind::kRows:
        if (e.isElement("table:table-row")) {
          out_.startRow();
          kind = Kind::kCells;
        } else if (e.isElement("table:table-header-rows") || e.isElement("table:table-rows") ||
                   e.isElement("table:table-row-group")) {
          kind = Kind::kRows;
        }
        break;
      case Kind::kCells:
        if (e.isElement("table:table-cell")) {
          out_.startCell();
          kind = Kind::kBlocks;
        }
        break;
      case Kind::kIgnored:
        break;
    }
    open_.push_back(kind);
    return false;
  }

  void whole(XmlNode& e) override {
    if (e.isElement("text:tracked-changes")) {
      if (hasElement(e, "text:deletion")) out_.drop(kDroppedDeletions);
    } else if (e.name.rfind("draw:", 0) == 0) {
      out_.drop(hasElement(e, "draw:text-box") ? kDroppedTextBoxes : kDroppedImages);
    } else {
      reader_.paragraph(e);
    }
  }

  void leave() override {
    if (open_.back() == Kind::kCells) out_.endRow();
    open_.pop_back();
  }

  bool text = false;      // office:text was read
  bool checking = false;  // office:text is passed by: only its presence counts

 private:
  // What an element passed through holds.
  enum class Kind { kBody, kBlocks, kIndex, kRows, kCells, kIgnored };

  OdtReader& reader_;
  Builder& out_;
  const std::function<void(const XmlNode&)>& load_;
  bool body_ = false;
  std::vector<Kind> open_;  // innermost last
};

// ---------------------------------------------------------------------------
// Writing

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr std::string_view kNamespaces =
    " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
    " xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\""
    " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\""
    " xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\""
    " xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\""
    " xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\""
    " xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
    " office:version=\"1.2\"";

// Font faces are named by their family; a family holding a quote is quoted
// with the other kind.
void appendFontFaces(std::string& s, const std::vector<std::u16string>& fonts) {
  s += "<office:font-face-decls>";
  for (const std::u16string& f : fonts) {
    const char quote = f.find(u'\'') == std::u16string::npos ? '\'' : '"';
    s += "<style:font-face style:name=\"";
    rich::appendEscaped(s, f);
    s += "\" svg:font-family=\"";
    s += quote == '\'' ? "'" : "&quot;";
    rich::appendEscaped(s, f);
    s += quote == '\'' ? "'" : "&quot;";
    s += "\" style:font-pitch=\"variable\"/>";
  }
  s += "</office:font-face-decls>";
}

void appendTextProperties(std::string& s, const RunFormat& f) {
  s += "<style:text-properties";
  if (!f.font.empty()) {
    for (const char* a : {"style:font-name", "style:font-name-asian", "style:font-name-complex"}) {
      s += std::string(" ") + a + "=\"";
      rich::appendEscaped(s, f.font);
      s += "\"";
    }
  }
  const std::string size = rich::number(f.sizePt) + "pt";
  s += " fo:font-size=\"" + size + "\" style:font-size-asian=\"" + size +
       "\" style:font-size-complex=\"" + size + "\"";
  const char* weight = f.bold ? "bold" : "normal";
  s += std::string(" fo:font-weight=\"") + weight + "\" style:font-weight-asian=\"" + weight +
       "\" style:font-weight-complex=\"" + weight + "\"";
  const char* posture = f.italic ? "italic" : "normal";
  s += std::string(" fo:font-style=\"") + posture + "\" style:font-style-asian=\"" + posture +
       "\" style:font-style-complex=\"" + posture + "\"";
  if (f.underline) {
    s += " style:text-underline-style=\"solid\" style:text-underline-width=\"auto\""
         " style:text-underline-color=\"font-color\"";
  }
  if (f.color != kAutoColor) s += " fo:color=\"#" + rich::hexColor(f.color) + "\"";
  s += "/>";
}

// Text as ODF keeps it: tabs, line breaks, and spaces that would collapse
// (after a space, at the paragraph's start or end) as elements.
void appendOdfText(std::string& s, std::u16string_view text, bool& afterSpace, bool last) {
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c == u'\t') {
      s += "<text:tab/>";
      afterSpace = true;
      ++i;
    } else if (c == u'\u2028') {
      s += "<text:line-break/>";
      afterSpace = true;
      ++i;
    } else if (c == u' ') {
      std::size_t n = 0;
      while (i + n < text.size() && text[i + n] == u' ') ++n;
      const bool atEnd = last && i + n == text.size();
      std::size_t elements = n;
      if (!afterSpace && !atEnd) {
        s += ' ';
        --elements;
      }
      if (elements == 1) s += "<text:s/>";
      if (elements > 1) s += "<text:s text:c=\"" + std::to_string(elements) + "\"/>";
      afterSpace = true;
      i += n;
    } else {
      std::size_t end = i;
      while (end < text.size() && text[end] != u'\t' && text[end] != u'\u2028' &&
             text[end] != u' ') {
        ++end;
      }
      rich::appendEscaped(s, text.substr(i, end - i));
      afterSpace = false;
      i = end;
    }
  }
}

struct Catalogue {
  std::vector<std::u16string> fonts;
  std::map<RunFormat, std::size_t, bool (*)(const RunFormat&, const RunFormat&)> formats{
      [](const RunFormat& a, const RunFormat& b) {
        return std::tie(a.font, a.sizePt, a.bold, a.italic, a.underline, a.color) <
               std::tie(b.font, b.sizePt, b.bold, b.italic, b.underline, b.color);
      }};
  std::vector<const RunFormat*> order;  // T1, T2, ...
};

Catalogue catalogue(ParagraphSource& doc) {
  Catalogue c;
  std::set<std::u16string> seen;
  doc.rewind();
  while (const RichParagraph* p = doc.next()) {
    for (const RichRun& r : p->runs) {
      if (r.text.empty()) continue;
      if (!r.format.font.empty() && seen.insert(r.format.font).second) {
        c.fonts.push_back(r.format.font);
      }
      const auto [it, added] = c.formats.emplace(r.format, c.order.size() + 1);
      if (added) c.order.push_back(&it->first);
    }
  }
  return c;
}

rich::ParagraphsPart contentPart(ParagraphSource& doc, const Catalogue& c) {
  std::string s(kDeclaration);
  s += "<office:document-content";
  s += kNamespaces;
  s += ">";
  appendFontFaces(s, c.fonts);
  s += "<office:automatic-styles>";
  static const char* const kAligns[] = {"P1", "P2", "P3"};
  const char* const kValues[] = {"start", "center", "end"};
  for (int a = 0; a < 3; ++a) {
    s += std::string("<style:style style:name=\"") + kAligns[a] +
         "\" style:family=\"paragraph\" style:parent-style-name=\"Standard\">"
         "<style:paragraph-properties fo:text-align=\"" +
         kValues[a] + "\"/></style:style>";
  }
  for (std::size_t i = 0; i < c.order.size(); ++i) {
    s += "<style:style style:name=\"T" + std::to_string(i + 1) + "\" style:family=\"text\">";
    appendTextProperties(s, *c.order[i]);
    s += "</style:style>";
  }
  s += "</office:automatic-styles><office:body><office:text>";
  const auto paragraph = [&c](std::string& out, const RichParagraph& p) {
    out += "<text:p text:style-name=\"";
    out += kAligns[static_cast<int>(p.align)];
    out += "\">";
    std::size_t lastRun = p.runs.size();
    for (std::size_t i = 0; i < p.runs.size(); ++i) {
      if (!p.runs[i].text.empty()) lastRun = i;
    }
    bool afterSpace = true;
    for (std::size_t i = 0; i < p.runs.size(); ++i) {
      const RichRun& r = p.runs[i];
      if (r.text.empty()) continue;
      out += "<text:span text:style-name=\"T" + std::to_string(c.formats.at(r.format)) + "\">";
      appendOdfText(out, r.text, afterSpace, i == lastRun);
      out += "</text:span>";
    }
    out += "</text:p>";
  };
  return rich::ParagraphsPart(doc, std::move(s),
                              "</office:text></office:body></office:document-content>", paragraph);
}

std::string stylesPart(const Catalogue& c) {
  std::string s(kDeclaration);
  s += "<office:document-styles";
  s += kNamespaces;
  s += ">";
  appendFontFaces(s, c.fonts);
  s += "<office:styles><style:default-style style:family=\"paragraph\">"
       "<style:paragraph-properties fo:text-align=\"start\"/>";
  RunFormat base;
  if (!c.fonts.empty()) base.font = c.fonts.front();
  appendTextProperties(s, base);
  s += "</style:default-style>"
       "<style:style style:name=\"Standard\" style:family=\"paragraph\" style:class=\"text\"/>"
       "</office:styles><office:automatic-styles><style:page-layout style:name=\"pm1\">"
       "<style:page-layout-properties fo:page-width=\"21cm\" fo:page-height=\"29.7cm\" "
       "style:print-orientation=\"portrait\" fo:margin-top=\"2.5cm\" fo:margin-bottom=\"2.5cm\" "
       "fo:margin-left=\"2.5cm\" fo:margin-right=\"2.5cm\"/></style:page-layout>"
       "</office:automatic-styles><office:master-styles>"
       "<style:master-page style:name=\"Standard\" style:page-layout-name=\"pm1\"/>"
       "</office:master-styles></office:document-styles>";
  return s;
}

std::string manifest() {
  std::string s(kDeclaration);
  s += "<manifest:manifest "
       "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
       "manifest:version=\"1.2\">"
       "<manifest:file-entry manifest:full-path=\"/\" manifest:version=\"1.2\" "
       "manifest:media-type=\"";
  s += kOdtMime;
  s += "\"/>";
  for (const char* part : {"content.xml", "styles.xml", "meta.xml"}) {
    s += std::string("<manifest:file-entry manifest:full-path=\"") + part +
         "\" manifest:media-type=\"text/xml\"/>";
  }
  return s + "</manifest:manifest>";
}

std::string metaPart() {
  std::string s(kDeclaration);
  s += "<office:document-meta";
  s += kNamespaces;
  return s +
         "><office:meta><meta:generator>Kavelin</meta:generator></office:meta>"
         "</office:document-meta>";
}

}  // namespace

bool readOdtParagraphs(std::string_view bytes, const ParagraphSink& sink, ReadNotes* notes,
                       std::string* error, const PackageLimits& limits) {
  Package package;
  if (!package.open(bytes, limits, error)) return false;
  if (!package.has("content.xml"))
    return package.read(
        "content.xml", [](std::string_view) {}, error);
  // styles.xml first: content.xml is read with both parts' styles as it is
  // decompressed.
  XmlDocument styles;
  const bool haveStyles = package.has("styles.xml");
  if (haveStyles && !readXmlPart(package, "styles.xml", styles, error)) return false;
  ReadNotes local;
  if (haveStyles) {
    if (const XmlNode* master = styles.root.child("office:master-styles")) {
      for (const XmlNode& page : master->children) {
        for (const XmlNode& part : page.children) {
          const std::string_view n = localName(part.name);
          if (part.kind == XmlNode::Kind::kElement &&
              (n.rfind("header", 0) == 0 || n.rfind("footer", 0) == 0)) {
            local.dropped |= kDroppedHeadersFooters;
          }
        }
      }
    }
  }
  OdtStyles odtStyles;
  ParagraphAlignments alignments;
  const std::function<void(const XmlNode&)> load = [&](const XmlNode& contentRoot) {
    odtStyles.load(contentRoot, 0);
    alignments.load(contentRoot, 0);
    if (haveStyles) {
      odtStyles.load(styles.root, 1);
      alignments.load(styles.root, 1);
    }
  };
  Builder builder(local, sink);
  OdtReader reader(odtStyles, alignments, builder);
  TextStream stream(reader, builder, load);
  stream.checking = !sink;
  XmlDocument content;
  if (!readXmlPart(package, "content.xml", content, error, &stream)) return false;
  if (!stream.text) {
    if (error) *error = "content.xml holds no text document";
    return false;
  }
  builder.finish();
  if (notes) *notes = local;
  return true;
}

bool readOdt(std::string_view bytes, RichDocument& out, ReadNotes* notes, std::string* error,
             const PackageLimits& limits) {
  return rich::readAll(
      [&](const ParagraphSink& sink) {
        return readOdtParagraphs(bytes, sink, notes, error, limits);
      },
      out);
}

bool writeOdt(const RichDocument& doc, std::string& out, std::string* error) {
  DocumentParagraphs paragraphs(doc);
  return writeOdt(paragraphs, out, error);
}

bool writeOdt(ParagraphSource& doc, std::string& out, std::string* error) {
  const Catalogue c = catalogue(doc);
  rich::ParagraphsPart content = contentPart(doc, c);
  Package package;
  package.add("mimetype", std::string(kOdtMime));
  package.add("META-INF/manifest.xml", manifest());
  package.add("content.xml", content);
  package.add("styles.xml", stylesPart(c));
  package.add("meta.xml", metaPart());
  return package.save(out, error);
}

}  // namespace kavelin::documents
