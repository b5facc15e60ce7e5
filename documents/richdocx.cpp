// SPDX-License-Identifier: GPL-3.0-or-later
// The rich-text model as DOCX: read through the styles' layers, written with
// styles, document defaults and a font table.
#include <algorithm>
#include <map>
#include <set>

#include "docx.h"
#include "richdocs.h"
#include "richshared.h"
#include "text.h"

namespace kavelin::documents {
namespace {

using rich::Builder;

const std::string* val(const XmlNode* n) { return n ? n->attribute("w:val") : nullptr; }

// The internal relationships of `part`: type -> target part names.
std::multimap<std::string, std::string> relationships(const Package& package,
                                                      const std::string& part) {
  std::multimap<std::string, std::string> out;
  const std::size_t slash = part.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
  XmlDocument doc;
  if (!package.has(dir + "_rels/" + file + ".rels") ||
      !readXmlPart(package, dir + "_rels/" + file + ".rels", doc, nullptr)) {
    return out;
  }
  for (const XmlNode& r : doc.root.children) {
    if (r.kind != XmlNode::Kind::kElement || localName(r.name) != "Relationship") continue;
    const std::string* type = r.attribute("Type");
    const std::string* target = r.attribute("Target");
    const std::string* mode = r.attribute("TargetMode");
    if (!type || !target || (mode && *mode == "External")) continue;
    const std::size_t t = type->rfind('/');
    out.emplace(t == std::string::npos ? *type : type->substr(t + 1),
                resolvePartName(part, *target));
  }
  return out;
}

// The first related part of a type, or "".
std::string related(const std::multimap<std::string, std::string>& rels, const std::string& type) {
  const auto it = rels.find(type);
  return it == rels.end() ? std::string() : it->second;
}

Align alignOfJc(const std::string& jc) {
  if (jc == "center") return Align::Center;
  if (jc == "right" || jc == "end") return Align::Right;
  return Align::Left;
}

// Paragraph styles' alignments through their basedOn chains.
class ParagraphAlignments {
 public:
  void load(const XmlNode* styles) {
    if (!styles) return;
    for (const XmlNode& s : styles->children) {
      if (s.isElement("w:docDefaults")) {
        if (const XmlNode* d = s.child("w:pPrDefault")) {
          if (const XmlNode* p = d->child("w:pPr")) {
            if (const std::string* v = val(p->child("w:jc"))) default_ = *v;
          }
        }
      }
      const std::string* id = s.attribute("w:styleId");
      const std::string* type = s.attribute("w:type");
      if (!s.isElement("w:style") || !id || !type || *type != "paragraph") continue;
      Style& style = styles_[*id];
      if (const XmlNode* p = s.child("w:pPr")) {
        if (const std::string* v = val(p->child("w:jc"))) style.jc = *v;
      }
      if (const std::string* b = val(s.child("w:basedOn"))) style.basedOn = *b;
      const std::string* def = s.attribute("w:default");
      if (def && (*def == "1" || *def == "true")) defaultStyle_ = *id;
    }
  }
  std::string jc(const std::string& styleId) const {
    std::string at = styleId.empty() ? defaultStyle_ : styleId;
    for (int depth = 0; depth < 32 && !at.empty(); ++depth) {
      const auto it = styles_.find(at);
      if (it == styles_.end()) break;
      if (!it->second.jc.empty()) return it->second.jc;
      at = it->second.basedOn;
    }
    return default_;
  }

 private:
  struct Style {
    std::string jc, basedOn;
  };
  std::map<std::string, Style> styles_;
  std::string defaultStyle_;
  std::string default_;
};

bool hasDescendant(const XmlNode& node, std::string_view qname) {
  for (const XmlNode& c : node.children) {
    if (c.kind != XmlNode::Kind::kElement) continue;
    if (c.name == qname || hasDescendant(c, qname)) return true;
  }
  return false;
}

class DocxReader {
 public:
  DocxReader(const DocxStyles& styles, const ParagraphAlignments& alignments, Builder& out)
      : styles_(styles), alignments_(alignments), out_(out) {}

  void paragraph(const XmlNode& p, const std::string& tableStyle);
  void sectionProperties(const XmlNode& sectPr);

 private:
  void inlines(const XmlNode& node);
  void run(const XmlNode& r);
  // The formats of a run's text: [0] ASCII, [1] other, [2] complex script.
  void formats(const XmlNode* rPr, RunFormat (&out)[3]) const;
  void text(std::u16string_view s, const RunFormat (&f)[3], bool complex);

  const DocxStyles& styles_;
  const ParagraphAlignments& alignments_;
  Builder& out_;
  std::string paraStyle_;
  std::string tableStyle_;
  // Fields: for each open one, whether its instruction is still being read.
  std::vector<bool> fields_;
};

void DocxReader::sectionProperties(const XmlNode& sectPr) {
  if (sectPr.child("w:headerReference") || sectPr.child("w:footerReference")) {
    out_.drop(kDroppedHeadersFooters);
  }
}

void DocxReader::paragraph(const XmlNode& p, const std::string& tableStyle) {
  paraStyle_.clear();
  tableStyle_ = tableStyle;
  std::string jc;
  if (const XmlNode* pPr = p.child("w:pPr")) {
    if (const std::string* v = val(pPr->child("w:pStyle"))) paraStyle_ = *v;
    if (const std::string* v = val(pPr->child("w:jc"))) jc = *v;
    if (const XmlNode* s = pPr->child("w:sectPr")) sectionProperties(*s);
  }
  if (jc.empty()) jc = alignments_.jc(paraStyle_);
  out_.startParagraph(alignOfJc(jc));
  inlines(p);
  out_.endParagraph();
}

void DocxReader::inlines(const XmlNode& node) {
  for (const XmlNode& c : node.children) {
    if (c.kind != XmlNode::Kind::kElement) continue;
    if (c.isElement("w:r")) {
      run(c);
    } else if (c.isElement("w:hyperlink") || c.isElement("w:smartTag") || c.isElement("w:ins") ||
               c.isElement("w:moveTo") || c.isElement("w:customXml") || c.isElement("w:dir") ||
               c.isElement("w:bdo")) {
      inlines(c);
    } else if (c.isElement("w:sdt")) {
      if (const XmlNode* content = c.child("w:sdtContent")) inlines(*content);
    } else if (c.isElement("w:fldSimple")) {
      out_.drop(kDroppedFields);
      inlines(c);
    } else if (c.isElement("w:del") || c.isElement("w:moveFrom")) {
      out_.drop(kDroppedDeletions);
    } else if (c.isElement("m:oMath") || c.isElement("m:oMathPara") ||
               c.isElement("mc:AlternateContent")) {
      out_.drop(kDroppedImages);
    }
  }
}

void DocxReader::formats(const XmlNode* rPr, RunFormat (&out)[3]) const {
  std::string charStyle;
  if (rPr) {
    if (const std::string* v = val(rPr->child("w:rStyle"))) charStyle = *v;
  }
  const std::vector<const XmlNode*> layers =
      styles_.layers(rPr, charStyle, paraStyle_.empty() ? nullptr : &paraStyle_, tableStyle_);
  const bool csOnly = styles_.toggle(layers, "cs") || styles_.toggle(layers, "rtl");
  const std::string slots[3] = {"ascii", "hAnsi", "cs"};
  for (int i = 0; i < 3; ++i) {
    const bool complex = i == 2 || csOnly;
    RunFormat& f = out[i];
    std::string font = styles_.font(layers, complex ? "cs" : slots[i]);
    if (font.empty() && complex) font = styles_.font(layers, "hAnsi");
    decodeUtf8(font, f.font);
    std::string sz = complex ? styles_.value(layers, "szCs") : std::string();
    if (sz.empty()) sz = styles_.value(layers, "sz");
    const int halves = sz.empty() ? 20 : std::atoi(sz.c_str());
    f.sizePt = halves > 0 ? halves / 2.0 : 10.0;
    f.bold = complex && styles_.has(layers, "bCs") ? styles_.toggle(layers, "bCs")
                                                   : styles_.toggle(layers, "b");
    f.italic = complex && styles_.has(layers, "iCs") ? styles_.toggle(layers, "iCs")
                                                     : styles_.toggle(layers, "i");
    f.underline = styles_.has(layers, "u") && styles_.value(layers, "u") != "none";
    f.color = rich::parseHexColor(styles_.value(layers, "color"));
  }
  if (csOnly) out[0] = out[1] = out[2];
}

// Text in the fonts it shows in, split where the script changes.
void DocxReader::text(std::u16string_view s, const RunFormat (&f)[3], bool complexRun) {
  if (!fields_.empty() && fields_.back()) return;  // a field's instruction
  std::size_t begin = 0;
  while (begin < s.size()) {
    auto slot = [&](char16_t c) {
      return complexRun || rich::isComplexScript(c) ? 2 : c < 0x80 ? 0 : 1;
    };
    const int kind = slot(s[begin]);
    std::size_t end = begin + 1;
    while (end < s.size() && slot(s[end]) == kind) ++end;
    out_.append(s.substr(begin, end - begin), f[kind]);
    begin = end;
  }
}

void DocxReader::run(const XmlNode& r) {
  const XmlNode* rPr = r.child("w:rPr");
  RunFormat f[3];
  formats(rPr, f);
  for (const XmlNode& c : r.children) {
    if (c.kind != XmlNode::Kind::kElement) continue;
    if (c.isElement("w:t")) {
      std::u16string t = rich::textOf(c);
      const std::string* space = c.attribute("xml:space");
      if (!space || *space != "preserve") {
        // Surrounding white space is kept only when the element says so.
        const auto white = [](char16_t ch) {
          return ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\r';
        };
        std::size_t b = 0, e = t.size();
        while (b < e && white(t[b])) ++b;
        while (e > b && white(t[e - 1])) --e;
        t = t.substr(b, e - b);
      }
      text(t, f, false);
    } else if (c.isElement("w:tab") || c.isElement("w:ptab")) {
      text(u"\t", f, false);
    } else if (c.isElement("w:br") || c.isElement("w:cr")) {
      if (fields_.empty() || !fields_.back()) out_.breakParagraph();
    } else if (c.isElement("w:noBreakHyphen")) {
      text(u"\u2011", f, false);
    } else if (c.isElement("w:softHyphen")) {
      text(u"\u00AD", f, false);
    } else if (c.isElement("w:sym")) {
      const std::string* ch = c.attribute("w:char");
      const std::string* font = c.attribute("w:font");
      long code = ch ? std::strtol(ch->c_str(), nullptr, 16) : 0;
      if (code >= 0xF020 && code <= 0xF0FF) code -= 0xF000;
      if (code <= 0 || code > 0xFFFF) continue;
      RunFormat sym[3] = {f[0], f[1], f[2]};
      for (RunFormat& s : sym) {
        if (font) decodeUtf8(*font, s.font);
      }
      const char16_t character = code <= 0xFF ? cp1252ToChar(static_cast<std::uint8_t>(code))
                                              : static_cast<char16_t>(code);
      text(std::u16string_view(&character, 1), sym, false);
    } else if (c.isElement("w:fldChar")) {
      const std::string* type = c.attribute("w:fldCharType");
      if (!type) continue;
      if (*type == "begin") {
        fields_.push_back(true);
        out_.drop(kDroppedFields);
      } else if (*type == "separate" && !fields_.empty()) {
        fields_.back() = false;
      } else if (*type == "end" && !fields_.empty()) {
        fields_.pop_back();
      }
    } else if (c.isElement("w:instrText")) {
      out_.drop(kDroppedFields);
    } else if (c.isElement("w:drawing") || c.isElement("w:pict") || c.isElement("w:object") ||
               c.isElement("mc:AlternateContent")) {
      const bool box = hasDescendant(c, "w:txbxContent");
      out_.drop(box ? kDroppedTextBoxes : kDroppedImages);
    } else if (c.isElement("w:footnoteReference") || c.isElement("w:endnoteReference")) {
      out_.drop(kDroppedNotes);
    } else if (c.isElement("w:commentReference")) {
      out_.drop(kDroppedComments);
    } else if (c.isElement("w:delText") || c.isElement("w:delInstrText")) {
      out_.drop(kDroppedDeletions);
    }
  }
}

// w:body read in one pass: paragraphs and section properties read whole,
// tables' rows and cells, content controls, custom XML and insertions passed
// through, deletions and anything else passed by unread.
class BodyStream : public XmlStream {
 public:
  BodyStream(DocxReader& reader, Builder& out) : reader_(reader), out_(out) {}

  bool streams(const XmlNode& element, std::size_t depth, const XmlNode& root) override {
    if (depth != 1 || body || !root.isElement("w:document") || !element.isElement("w:body")) {
      return false;
    }
    body = true;
    return true;
  }

  bool enter(const XmlNode& e) override {
    const Kind in = checking ? Kind::kIgnored : open_.empty() ? Kind::kBlocks : open_.back().kind;
    Kind kind = Kind::kIgnored;
    switch (in) {
      case Kind::kBlocks:
        if (e.isElement("w:p") || e.isElement("w:sectPr")) return true;
        if (e.isElement("w:tbl")) {
          kind = Kind::kTable;
        } else if (e.isElement("w:sdt")) {
          return push(Kind::kContentControl, Kind::kBlocks);
        } else if (e.isElement("w:customXml") || e.isElement("w:ins") || e.isElement("w:moveTo")) {
          kind = Kind::kBlocks;
        } else if (e.isElement("w:del") || e.isElement("w:moveFrom")) {
          out_.drop(kDroppedDeletions);
        } else if (e.isElement("w:altChunk")) {
          out_.drop(kDroppedImages);
        }
        break;
      case Kind::kContentControl:
        if (e.isElement("w:sdtContent")) kind = open_.back().content;
        break;
      case Kind::kTable:
      case Kind::kRows:
        if (in == Kind::kTable && e.isElement("w:tblPr") && !open_.back().styled) return true;
        if (e.isElement("w:tr")) {
          out_.startRow();
          kind = Kind::kRow;
        } else if (in == Kind::kTable && e.isElement("w:sdt")) {
          return push(Kind::kContentControl, Kind::kRows);
        } else if (in == Kind::kTable && e.isElement("w:customXml")) {
          kind = Kind::kRows;
        }
        break;
      case Kind::kRow:
      case Kind::kCells:
        if (e.isElement("w:tc")) {
          out_.startCell();
          kind = Kind::kBlocks;
        } else if (in == Kind::kRow && e.isElement("w:sdt")) {
          return push(Kind::kContentControl, Kind::kCells);
        } else if (in == Kind::kRow && e.isElement("w:customXml")) {
          kind = Kind::kCells;
        }
        break;
      case Kind::kIgnored:
        break;
    }
    return push(kind, Kind::kIgnored);
  }

  void whole(XmlNode& e) override {
    if (e.isElement("w:p")) return reader_.paragraph(e, tableStyle());
    if (e.isElement("w:sectPr")) return reader_.sectionProperties(e);
    Open& table = open_.back();  // its w:tblPr
    table.styled = true;
    if (const std::string* v = val(e.child("w:tblStyle"))) table.style = *v;
  }

  void leave() override {
    if (open_.back().kind == Kind::kRow) out_.endRow();
    open_.pop_back();
  }

  bool body = false;
  bool checking = false;  // the body is passed by: only its presence counts

 private:
  // What an element passed through holds.
  enum class Kind { kBlocks, kContentControl, kTable, kRows, kRow, kCells, kIgnored };
  struct Open {
    Kind kind;
    Kind content;  // of a content control's w:sdtContent
    bool styled = false;
    std::string style;  // a table's
  };

  bool push(Kind kind, Kind content) {
    open_.push_back({kind, content, false, {}});
    return false;
  }
  const std::string& tableStyle() const {
    static const std::string none;
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
      if (it->kind == Kind::kTable) return it->style;
    }
    return none;
  }

  DocxReader& reader_;
  Builder& out_;
  std::vector<Open> open_;  // innermost last
};

// ---------------------------------------------------------------------------
// Writing

constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kR =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kPackageRels =
    "http://schemas.openxmlformats.org/package/2006/relationships";

std::string contentTypes() {
  std::string s(kDeclaration);
  s += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"rels\" "
       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
  const std::pair<const char*, const char*> parts[] = {
      {"/word/document.xml", "wordprocessingml.document.main+xml"},
      {"/word/styles.xml", "wordprocessingml.styles+xml"},
      {"/word/settings.xml", "wordprocessingml.settings+xml"},
      {"/word/fontTable.xml", "wordprocessingml.fontTable+xml"},
      {"/docProps/app.xml", "extended-properties+xml"}};
  for (const auto& [name, type] : parts) {
    s += std::string("<Override PartName=\"") + name +
         "\" ContentType=\"application/vnd.openxmlformats-officedocument." + type + "\"/>";
  }
  s += "<Override PartName=\"/docProps/core.xml\" "
       "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>";
  return s + "</Types>";
}

std::string packageRels() {
  std::string s(kDeclaration);
  s += "<Relationships xmlns=\"" + std::string(kPackageRels) + "\">";
  s += "<Relationship Id=\"rId1\" Type=\"" + std::string(kR) +
       "/officeDocument\" Target=\"word/document.xml\"/>";
  s += "<Relationship Id=\"rId2\" "
       "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
       "core-properties\" Target=\"docProps/core.xml\"/>";
  s += "<Relationship Id=\"rId3\" Type=\"" + std::string(kR) +
       "/extended-properties\" Target=\"docProps/app.xml\"/>";
  return s + "</Relationships>";
}

std::string documentRels() {
  std::string s(kDeclaration);
  s += "<Relationships xmlns=\"" + std::string(kPackageRels) + "\">";
  int id = 1;
  for (const char* part : {"styles", "settings", "fontTable"}) {
    s += "<Relationship Id=\"rId" + std::to_string(id++) + "\" Type=\"" + std::string(kR) + "/" +
         part + "\" Target=\"" + part + ".xml\"/>";
  }
  return s + "</Relationships>";
}

std::string coreProperties() {
  std::string s(kDeclaration);
  return s +
         "<cp:coreProperties "
         "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
         "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator>Kavelin</dc:creator>"
         "</cp:coreProperties>";
}

std::string appProperties() {
  std::string s(kDeclaration);
  return s +
         "<Properties "
         "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
         "<Application>Kavelin</Application></Properties>";
}

std::string settings() {
  std::string s(kDeclaration);
  return s + "<w:settings xmlns:w=\"" + std::string(kW) +
         "\"><w:defaultTabStop w:val=\"720\"/><w:compat><w:compatSetting "
         "w:name=\"compatibilityMode\" w:uri=\"http://schemas.microsoft.com/office/word\" "
         "w:val=\"15\"/></w:compat></w:settings>";
}

void appendFonts(std::string& s, const std::u16string& font) {
  s += "<w:rFonts w:ascii=\"";
  rich::appendEscaped(s, font);
  s += "\" w:hAnsi=\"";
  rich::appendEscaped(s, font);
  s += "\" w:eastAsia=\"";
  rich::appendEscaped(s, font);
  s += "\" w:cs=\"";
  rich::appendEscaped(s, font);
  s += "\"/>";
}

std::string fontTable(const std::vector<std::u16string>& fonts) {
  std::string s(kDeclaration);
  s += "<w:fonts xmlns:w=\"" + std::string(kW) + "\">";
  for (const std::u16string& f : fonts) {
    s += "<w:font w:name=\"";
    rich::appendEscaped(s, f);
    s += "\"><w:charset w:val=\"00\"/><w:family w:val=\"auto\"/><w:pitch w:val=\"variable\"/>"
         "</w:font>";
  }
  return s + "</w:fonts>";
}

std::string halfPoints(double pt) {
  return std::to_string(static_cast<long>(rtfFontSize(pt) * 2.0));
}

std::string styles(const std::u16string& defaultFont) {
  std::string s(kDeclaration);
  s += "<w:styles xmlns:w=\"" + std::string(kW) + "\"><w:docDefaults><w:rPrDefault><w:rPr>";
  if (!defaultFont.empty()) appendFonts(s, defaultFont);
  s += "<w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/><w:lang w:val=\"en-US\" w:bidi=\"hi-IN\"/>"
       "</w:rPr></w:rPrDefault><w:pPrDefault><w:pPr>"
       "<w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/>"
       "</w:pPr></w:pPrDefault></w:docDefaults>"
       "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
       "<w:name w:val=\"Normal\"/><w:qFormat/></w:style>"
       "<w:style w:type=\"character\" w:default=\"1\" w:styleId=\"DefaultParagraphFont\">"
       "<w:name w:val=\"Default Paragraph Font\"/><w:uiPriority w:val=\"1\"/>"
       "<w:semiHidden/><w:unhideWhenUsed/></w:style>"
       "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\">"
       "<w:name w:val=\"Normal Table\"/><w:semiHidden/><w:tblPr><w:tblInd w:w=\"0\" "
       "w:type=\"dxa\"/><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" "
       "w:type=\"dxa\"/><w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" "
       "w:type=\"dxa\"/></w:tblCellMar></w:tblPr></w:style>"
       "</w:styles>";
  return s;
}

void appendRunProperties(std::string& s, const RunFormat& f) {
  s += "<w:rPr>";
  if (!f.font.empty()) appendFonts(s, f.font);
  if (f.bold) s += "<w:b/><w:bCs/>";
  if (f.italic) s += "<w:i/><w:iCs/>";
  if (f.color != kAutoColor) s += "<w:color w:val=\"" + rich::hexColor(f.color) + "\"/>";
  const std::string hp = halfPoints(f.sizePt);
  s += "<w:sz w:val=\"" + hp + "\"/><w:szCs w:val=\"" + hp + "\"/>";
  if (f.underline) s += "<w:u w:val=\"single\"/>";
  s += "</w:rPr>";
}

// A w:t, which keeps its spaces only when it says so.
void appendT(std::string& s, std::u16string_view text) {
  if (text.empty()) return;
  const bool preserve =
      text.front() == u' ' || text.back() == u' ' || text.find(u"  ") != std::u16string_view::npos;
  s += preserve ? "<w:t xml:space=\"preserve\">" : "<w:t>";
  rich::appendEscaped(s, text);
  s += "</w:t>";
}

void appendRun(std::string& s, const RichRun& run) {
  s += "<w:r>";
  appendRunProperties(s, run.format);
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= run.text.size(); ++i) {
    if (i < run.text.size() && run.text[i] != u'\t' && run.text[i] != u'\u2028') continue;
    appendT(s, std::u16string_view(run.text).substr(begin, i - begin));
    if (i < run.text.size()) s += run.text[i] == u'\t' ? "<w:tab/>" : "<w:br/>";
    begin = i + 1;
  }
  s += "</w:r>";
}

std::vector<std::u16string> fontsOf(ParagraphSource& doc) {
  std::vector<std::u16string> fonts;
  std::set<std::u16string> seen;
  doc.rewind();
  while (const RichParagraph* p = doc.next()) {
    for (const RichRun& r : p->runs) {
      if (!r.text.empty() && !r.format.font.empty() && seen.insert(r.format.font).second) {
        fonts.push_back(r.format.font);
      }
    }
  }
  return fonts;
}

void appendParagraph(std::string& s, const RichParagraph& p) {
  s += "<w:p>";
  if (p.align != Align::Left) {
    s += p.align == Align::Center ? "<w:pPr><w:jc w:val=\"center\"/></w:pPr>"
                                  : "<w:pPr><w:jc w:val=\"right\"/></w:pPr>";
  }
  for (const RichRun& r : p.runs) {
    if (!r.text.empty()) appendRun(s, r);
  }
  s += "</w:p>";
}

rich::ParagraphsPart documentPart(ParagraphSource& doc) {
  std::string head(kDeclaration);
  head += "<w:document xmlns:w=\"" + std::string(kW) + "\" xmlns:r=\"" + std::string(kR) +
          "\"><w:body>";
  // A4 with 2.5 cm margins.
  std::string tail =
      "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"1417\" "
      "w:right=\"1417\" w:bottom=\"1417\" w:left=\"1417\" w:header=\"708\" w:footer=\"708\" "
      "w:gutter=\"0\"/></w:sectPr></w:body></w:document>";
  return rich::ParagraphsPart(doc, std::move(head), std::move(tail), appendParagraph);
}

}  // namespace

bool readDocxParagraphs(std::string_view bytes, const ParagraphSink& sink, ReadNotes* notes,
                        std::string* error, const PackageLimits& limits) {
  Package package;
  if (!package.open(bytes, limits, error)) return false;
  std::string main = related(relationships(package, ""), "officeDocument");
  if (main.empty() || !package.has(main)) main = "word/document.xml";
  if (!package.has(main))
    return package.read(
        main, [](std::string_view) {}, error);
  // The styles first: the body is read with them as it is decompressed.
  const auto rels = relationships(package, main);
  XmlDocument stylesDoc, themeDoc;
  const std::string stylesPart = related(rels, "styles");
  const std::string themePart = related(rels, "theme");
  const bool haveStyles = !stylesPart.empty() && package.has(stylesPart) &&
                          readXmlPart(package, stylesPart, stylesDoc, error);
  if (!stylesPart.empty() && package.has(stylesPart) && !haveStyles) return false;
  const bool haveTheme = !themePart.empty() && package.has(themePart) &&
                         readXmlPart(package, themePart, themeDoc, nullptr);
  DocxStyles styles;
  styles.load(haveStyles ? &stylesDoc.root : nullptr, haveTheme ? &themeDoc.root : nullptr);
  ParagraphAlignments alignments;
  alignments.load(haveStyles ? &stylesDoc.root : nullptr);

  ReadNotes local;
  Builder builder(local, sink);
  DocxReader reader(styles, alignments, builder);
  BodyStream stream(reader, builder);
  stream.checking = !sink;
  XmlDocument document;
  if (!readXmlPart(package, main, document, error, &stream)) return false;
  if (!stream.body) {
    if (error) *error = main + " holds no document body";
    return false;
  }
  builder.finish();
  if (notes) *notes = local;
  return true;
}

bool readDocx(std::string_view bytes, RichDocument& out, ReadNotes* notes, std::string* error,
              const PackageLimits& limits) {
  return rich::readAll(
      [&](const ParagraphSink& sink) {
        return readDocxParagraphs(bytes, sink, notes, error, limits);
      },
      out);
}

bool writeDocx(const RichDocument& doc, std::string& out, std::string* error) {
  DocumentParagraphs paragraphs(doc);
  return writeDocx(paragraphs, out, error);
}

bool writeDocx(ParagraphSource& doc, std::string& out, std::string* error) {
  const std::vector<std::u16string> fonts = fontsOf(doc);
  rich::ParagraphsPart document = documentPart(doc);
  Package package;
  package.add("[Content_Types].xml", contentTypes());
  package.add("_rels/.rels", packageRels());
  package.add("docProps/core.xml", coreProperties());
  package.add("docProps/app.xml", appProperties());
  package.add("word/_rels/document.xml.rels", documentRels());
  package.add("word/document.xml", document);
  package.add("word/styles.xml", styles(fonts.empty() ? std::u16string() : fonts.front()));
  package.add("word/settings.xml", settings());
  package.add("word/fontTable.xml", fontTable(fonts));
  return package.save(out, error);
}

}  // namespace kavelin::documents
