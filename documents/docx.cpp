// SPDX-License-Identifier: GPL-3.0-or-later
#include "docx.h"

#include <algorithm>
#include <set>

#include "text.h"

namespace kavelin::documents {
namespace {

bool endsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool isOff(const std::string* val) {
  return val && (*val == "0" || *val == "false" || *val == "off");
}

// The order of w:rPr's children in the schema; elements are inserted in it.
const char* const kRprOrder[] = {"w:rStyle",
                                 "w:rFonts",
                                 "w:b",
                                 "w:bCs",
                                 "w:i",
                                 "w:iCs",
                                 "w:caps",
                                 "w:smallCaps",
                                 "w:strike",
                                 "w:dstrike",
                                 "w:outline",
                                 "w:shadow",
                                 "w:emboss",
                                 "w:imprint",
                                 "w:noProof",
                                 "w:snapToGrid",
                                 "w:vanish",
                                 "w:webHidden",
                                 "w:color",
                                 "w:spacing",
                                 "w:w",
                                 "w:kern",
                                 "w:position",
                                 "w:sz",
                                 "w:szCs",
                                 "w:highlight",
                                 "w:u",
                                 "w:effect",
                                 "w:bdr",
                                 "w:shd",
                                 "w:fitText",
                                 "w:vertAlign",
                                 "w:rtl",
                                 "w:cs",
                                 "w:em",
                                 "w:lang",
                                 "w:eastAsianLayout",
                                 "w:specVanish",
                                 "w:oMath"};

std::size_t rprRank(const std::string& name) {
  for (std::size_t i = 0; i < std::size(kRprOrder); ++i) {
    if (name == kRprOrder[i]) return i;
  }
  return std::size(kRprOrder);
}

// The rPr child `name`, added in its place when missing.
XmlNode& rprChild(XmlNode& rPr, const std::string& name) {
  if (XmlNode* c = rPr.child(name)) return *c;
  const std::size_t rank = rprRank(name);
  auto at = rPr.children.begin();
  while (at != rPr.children.end() &&
         (at->kind != XmlNode::Kind::kElement || rprRank(at->name) <= rank)) {
    ++at;
  }
  return *rPr.children.insert(at, XmlNode::element(name));
}

void removeChild(XmlNode& node, const std::string& name) {
  node.children.erase(std::remove_if(node.children.begin(), node.children.end(),
                                     [&](const XmlNode& c) { return c.isElement(name); }),
                      node.children.end());
}

void setToggle(XmlNode& rPr, const std::string& name, bool on) {
  if (!on) {
    if (XmlNode* c = rPr.child(name)) {
      c->attributes.clear();
      c->setAttribute("w:val", "0");
    }
    return;
  }
  rprChild(rPr, name).attributes.clear();
}

void setFonts(XmlNode& rPr, const std::string& font) {
  XmlNode& fonts = rprChild(rPr, "w:rFonts");
  for (const char* theme : {"w:asciiTheme", "w:hAnsiTheme", "w:cstheme", "w:hint"}) {
    fonts.removeAttribute(theme);
  }
  for (const char* slot : {"w:ascii", "w:hAnsi", "w:cs"}) fonts.setAttribute(slot, font);
}

void preserveSpaces(XmlNode& t) {
  const std::string& s = t.children.empty() ? std::string() : t.children.front().text;
  const bool needed =
      !s.empty() && (s.front() == ' ' || s.back() == ' ' || s.find("  ") != std::string::npos ||
                     s.find('\t') != std::string::npos);
  if (needed) {
    t.setAttribute("xml:space", "preserve");
  }
}

struct Rels {
  std::vector<std::pair<std::string, std::string>> targets;  // type, part name
};

// The relationships of `part` (its _rels/NAME.rels), internal targets only.
bool readRels(const Package& package, const std::string& part, Rels& rels, std::string* error) {
  const std::size_t slash = part.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
  const std::string name = dir + "_rels/" + file + ".rels";
  if (!package.has(name)) return true;
  XmlDocument doc;
  if (!readXmlPart(package, name, doc, error)) return false;
  for (const XmlNode& r : doc.root.children) {
    if (r.kind != XmlNode::Kind::kElement || localName(r.name) != "Relationship") continue;
    const std::string* type = r.attribute("Type");
    const std::string* target = r.attribute("Target");
    const std::string* mode = r.attribute("TargetMode");
    if (!type || !target || (mode && *mode == "External")) continue;
    rels.targets.emplace_back(*type, resolvePartName(part, *target));
  }
  return true;
}

// A run's content child and the text it stands for.
struct Item {
  XmlNode* run;
  std::size_t child;  // index in run->children
  std::u16string text;
  bool legacyText = false;  // glyph codes by the run's fonts (w:sym: its own font)
};

class DocxRewriter {
 public:
  DocxRewriter(const DocxStyles& styles, TextConverter& converter)
      : styles_(styles), converter_(converter) {}

  // A text part's paragraphs are handed to visit() in document order, each
  // with the style of the table it is in (or ""); changed() tells whether
  // any of them changed.
  void startPart();
  void visit(XmlNode& node, const std::string& tableStyle);
  bool changed() const { return changed_; }
  bool convertNumbering(XmlNode& root);
  std::set<std::string> fontsUsed;

 private:
  void paragraph(XmlNode& p, const std::string& tableStyle);
  void collect(XmlNode& node, std::size_t depth, std::vector<std::pair<XmlNode*, XmlNode*>>& runs,
               std::map<XmlNode*, std::size_t>& depths);
  XmlNode targetRpr(const XmlNode* rPr, const std::vector<const XmlNode*>& layers);

  const DocxStyles& styles_;
  TextConverter& converter_;
  std::size_t paragraphs_ = 0;
  bool changed_ = false;
  int fieldDepth_ = 0;
  std::vector<bool> inInstruction_;  // per open field: before its separate mark
};

XmlNode DocxRewriter::targetRpr(const XmlNode* rPr, const std::vector<const XmlNode*>& layers) {
  XmlNode out = rPr ? *rPr : XmlNode::element("w:rPr");
  if (converter_.toUnicode()) {
    const std::string& font = converter_.unicodeFont();
    setFonts(out, font);
    fontsUsed.insert(font);
    if (styles_.toggle(layers, "b")) setToggle(out, "w:bCs", true);
    if (styles_.toggle(layers, "i")) setToggle(out, "w:iCs", true);
    const std::string sz = styles_.value(layers, "sz");
    if (!sz.empty()) rprChild(out, "w:szCs").setAttribute("w:val", sz);
    setToggle(out, "w:cs", true);
    rprChild(out, "w:lang").setAttribute("w:bidi", "hi-IN");
  } else {
    // Devanagari showed in the complex-script font and its sizes; the codes
    // show in the ascii and hAnsi fonts with the plain ones.
    const std::string& name = converter_.legacyFontName();
    setFonts(out, name);
    fontsUsed.insert(name);
    const bool b = styles_.toggle(layers, styles_.has(layers, "bCs") ? "bCs" : "b");
    const bool i = styles_.toggle(layers, styles_.has(layers, "iCs") ? "iCs" : "i");
    setToggle(out, "w:b", b);
    setToggle(out, "w:i", i);
    std::string sz = styles_.value(layers, "szCs");
    if (sz.empty()) sz = styles_.value(layers, "sz");
    if (!sz.empty()) rprChild(out, "w:sz").setAttribute("w:val", sz);
    if (styles_.toggle(layers, "cs")) {
      setToggle(out, "w:cs", false);
    } else {
      removeChild(out, "w:cs");
    }
    if (styles_.toggle(layers, "rtl")) {
      setToggle(out, "w:rtl", false);
    } else {
      removeChild(out, "w:rtl");
    }
  }
  return out;
}

void DocxRewriter::collect(XmlNode& node, std::size_t depth,
                           std::vector<std::pair<XmlNode*, XmlNode*>>& runs,
                           std::map<XmlNode*, std::size_t>& depths) {
  for (XmlNode& c : node.children) {
    if (c.kind != XmlNode::Kind::kElement || c.isElement("w:pPr")) continue;
    if (c.isElement("w:r")) {
      runs.emplace_back(&c, &node);
      depths[&node] = depth;
    } else if (!c.isElement("w:p")) {
      collect(c, depth + 1, runs, depths);
    }
  }
}

void DocxRewriter::paragraph(XmlNode& p, const std::string& tableStyle) {
  const std::size_t number = ++paragraphs_;
  const std::string* paraStyle = nullptr;
  if (const XmlNode* pPr = p.child("w:pPr")) {
    if (const XmlNode* ps = pPr->child("w:pStyle")) paraStyle = ps->attribute("w:val");
  }
  std::vector<std::pair<XmlNode*, XmlNode*>> runs;  // run, parent
  std::map<XmlNode*, std::size_t> depths;
  collect(p, 0, runs, depths);

  // Segments: text of neighbouring runs in one parent with the same format,
  // not interrupted by other content.
  struct Segment {
    std::vector<Item> items;
    std::string key;
    XmlNode* parent = nullptr;
    std::vector<const XmlNode*> layers;
    std::size_t column = 0;
  };
  std::vector<Segment> segments;
  Segment current;
  std::size_t column = 1;
  auto flush = [&] {
    if (!current.items.empty()) segments.push_back(std::move(current));
    current = Segment();
  };
  for (auto& [run, parent] : runs) {
    const XmlNode* rPr = run->child("w:rPr");
    std::string charStyle;
    if (rPr) {
      if (const XmlNode* rs = rPr->child("w:rStyle")) {
        if (const std::string* v = rs->attribute("w:val")) charStyle = *v;
      }
    }
    const std::vector<const XmlNode*> layers =
        styles_.layers(rPr, charStyle, paraStyle, tableStyle);
    XmlDocument keyDoc;
    if (rPr) keyDoc.root = *rPr;
    const std::string key = rPr ? writeXml(keyDoc) : std::string();
    for (std::size_t i = 0; i < run->children.size(); ++i) {
      XmlNode& c = run->children[i];
      if (c.kind != XmlNode::Kind::kElement || c.isElement("w:rPr")) continue;
      if (c.isElement("w:fldChar")) {
        const std::string* type = c.attribute("w:fldCharType");
        if (type && *type == "begin") inInstruction_.push_back(true);
        if (type && *type == "separate" && !inInstruction_.empty()) inInstruction_.back() = false;
        if (type && *type == "end" && !inInstruction_.empty()) inInstruction_.pop_back();
        flush();
        continue;
      }
      const bool instruction = !inInstruction_.empty() && inInstruction_.back();
      Item item{run, i, {}, false};
      bool text = false;
      if ((c.isElement("w:t") || c.isElement("w:delText")) && !instruction) {
        std::string s;
        for (const XmlNode& t : c.children) {
          if (t.kind == XmlNode::Kind::kText) s += t.text;
        }
        item.text = fromUtf8(s);
        text = true;
      } else if (c.isElement("w:sym") && converter_.toUnicode() && !instruction) {
        const std::string* font = c.attribute("w:font");
        const std::string* code = c.attribute("w:char");
        if (font && code && converter_.isLegacyFont(*font)) {
          const unsigned long v = std::strtoul(code->c_str(), nullptr, 16);
          item.text = std::u16string(1, cp1252ToChar(static_cast<std::uint8_t>(v & 0xFF)));
          item.legacyText = true;
          text = true;
        }
      }
      if (!text) {
        flush();
        if (c.isElement("w:tab") || c.isElement("w:br") || c.isElement("w:cr")) ++column;
        continue;
      }
      if (!current.items.empty() && (current.key != key || current.parent != parent)) flush();
      if (current.items.empty()) {
        current.key = key;
        current.parent = parent;
        current.layers = layers;
        current.column = column;
      }
      column += characterCount(item.text);
      current.items.push_back(std::move(item));
    }
  }
  flush();

  // What each run becomes: runs holding converted text are rebuilt.
  struct Plan {
    std::map<std::size_t, std::vector<Piece>> pieces;  // at a segment's first item
    std::set<std::size_t> dropped;                     // the segment's other items
    const std::vector<const XmlNode*>* layers = nullptr;
  };
  std::map<XmlNode*, Plan> plans;
  for (Segment& s : segments) {
    std::u16string text;
    std::vector<bool> legacy;
    for (const Item& item : s.items) {
      text += item.text;
      for (char16_t c : item.text) {
        legacy.push_back(item.legacyText || converter_.isLegacyFont(styles_.fontFor(s.layers, c)));
      }
    }
    std::vector<Piece> pieces = converter_.convert(text, legacy, number, s.column);
    if (pieces.empty()) continue;
    changed_ = true;
    for (std::size_t k = 0; k < s.items.size(); ++k) {
      Plan& plan = plans[s.items[k].run];
      plan.layers = &s.layers;
      if (k == 0) {
        plan.pieces[s.items[k].child] = std::move(pieces);
      } else {
        plan.dropped.insert(s.items[k].child);
      }
    }
  }
  if (plans.empty()) return;

  // Parents rebuilt deepest first, so that a parent's address is still good.
  std::vector<XmlNode*> parents;
  for (auto& [run, parent] : runs) {
    if (plans.count(run) && std::find(parents.begin(), parents.end(), parent) == parents.end()) {
      parents.push_back(parent);
    }
  }
  std::stable_sort(parents.begin(), parents.end(),
                   [&](XmlNode* a, XmlNode* b) { return depths[a] > depths[b]; });
  for (XmlNode* parent : parents) {
    std::vector<XmlNode> children;
    for (XmlNode& c : parent->children) {
      const auto plan = plans.find(&c);
      if (plan == plans.end()) {
        children.push_back(std::move(c));
        continue;
      }
      const XmlNode* rPr = c.child("w:rPr");
      XmlNode shell = XmlNode::element(c.name);
      shell.attributes = c.attributes;
      if (rPr) shell.children.push_back(*rPr);
      for (std::size_t i = 0; i < c.children.size(); ++i) {
        XmlNode& content = c.children[i];
        if (content.isElement("w:rPr") || plan->second.dropped.count(i)) continue;
        const auto pieces = plan->second.pieces.find(i);
        if (pieces == plan->second.pieces.end()) {
          XmlNode run = shell;
          run.children.push_back(std::move(content));
          children.push_back(std::move(run));
          continue;
        }
        const std::string textName = content.isElement("w:delText") ? "w:delText" : "w:t";
        for (Piece& piece : pieces->second) {
          XmlNode run = XmlNode::element(c.name);
          run.attributes = c.attributes;
          if (piece.converted) {
            run.children.push_back(targetRpr(rPr, *plan->second.layers));
          } else if (rPr) {
            run.children.push_back(*rPr);
          }
          XmlNode t = XmlNode::element(textName);
          t.children.push_back(XmlNode::textNode(encodeUtf8(piece.text)));
          preserveSpaces(t);
          run.children.push_back(std::move(t));
          children.push_back(std::move(run));
        }
      }
    }
    parent->children = std::move(children);
  }
}

void DocxRewriter::visit(XmlNode& node, const std::string& tableStyle) {
  if (node.kind != XmlNode::Kind::kElement) return;
  std::string style = tableStyle;
  if (node.isElement("w:tbl")) {
    style.clear();
    if (const XmlNode* pr = node.child("w:tblPr")) {
      if (const XmlNode* ts = pr->child("w:tblStyle")) {
        if (const std::string* v = ts->attribute("w:val")) style = *v;
      }
    }
  }
  if (node.isElement("w:p")) paragraph(node, style);
  for (XmlNode& c : node.children) visit(c, style);
}

void DocxRewriter::startPart() {
  paragraphs_ = 0;
  changed_ = false;
  inInstruction_.clear();
}

// A text part read in one pass: each paragraph outside another is read whole
// and converted, the rest written through. A table's style comes from its
// w:tblPr, which comes before its rows.
class TextPartStream : public XmlStream {
 public:
  explicit TextPartStream(DocxRewriter& rewriter) : rewriter_(rewriter) { rewrites = true; }

  bool streams(const XmlNode& element, std::size_t depth, const XmlNode&) override {
    streamed = depth == 0 && !element.isElement("w:p");
    return streamed;
  }
  bool enter(const XmlNode& element) override {
    if (element.isElement("w:p")) return true;
    if (element.isElement("w:tblPr") && !open_.empty() && open_.back().table &&
        !open_.back().styled) {
      return true;
    }
    open_.push_back({element.isElement("w:tbl"), false, {}});
    return false;
  }
  void whole(XmlNode& element) override {
    if (element.isElement("w:p")) return rewriter_.visit(element, tableStyle());
    Open& table = open_.back();
    table.styled = true;
    if (const XmlNode* ts = element.child("w:tblStyle")) {
      if (const std::string* v = ts->attribute("w:val")) table.style = *v;
    }
  }
  void leave() override { open_.pop_back(); }

  bool streamed = false;

 private:
  const std::string& tableStyle() const {
    static const std::string none;
    for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
      if (it->table) return it->style;
    }
    return none;
  }

  struct Open {
    bool table;
    bool styled;  // its w:tblPr was read
    std::string style;
  };
  DocxRewriter& rewriter_;
  std::vector<Open> open_;  // the elements passed through, innermost last
};

bool DocxRewriter::convertNumbering(XmlNode& root) {
  bool changed = false;
  std::size_t level = 0;
  std::vector<XmlNode*> levels;
  std::vector<XmlNode*> stack{&root};
  while (!stack.empty()) {
    XmlNode* n = stack.back();
    stack.pop_back();
    for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) {
      if (it->kind != XmlNode::Kind::kElement) continue;
      if (it->isElement("w:lvl")) {
        levels.push_back(&*it);
      } else {
        stack.push_back(&*it);
      }
    }
  }
  for (XmlNode* lvl : levels) {
    ++level;
    XmlNode* lvlText = lvl->child("w:lvlText");
    const std::string* val = lvlText ? lvlText->attribute("w:val") : nullptr;
    if (!val) continue;
    const XmlNode* rPr = lvl->child("w:rPr");
    const std::vector<const XmlNode*> layers = styles_.layers(rPr, "", nullptr, "");
    // Placeholders (%1 .. %9) stay; the text between them converts.
    const std::u16string text = fromUtf8(*val);
    std::u16string out;
    bool any = false;
    for (std::size_t begin = 0; begin < text.size();) {
      if (text[begin] == u'%' && begin + 1 < text.size() && text[begin + 1] >= u'1' &&
          text[begin + 1] <= u'9') {
        out += text.substr(begin, 2);
        begin += 2;
        continue;
      }
      std::size_t end = begin;
      while (end < text.size() && !(text[end] == u'%' && end + 1 < text.size() &&
                                    text[end + 1] >= u'1' && text[end + 1] <= u'9')) {
        ++end;
      }
      const std::u16string literal = text.substr(begin, end - begin);
      std::vector<bool> legacy;
      for (char16_t c : literal)
        legacy.push_back(converter_.isLegacyFont(styles_.fontFor(layers, c)));
      std::vector<Piece> pieces = converter_.convert(literal, legacy, level, begin + 1);
      if (pieces.empty()) {
        out += literal;
      } else {
        any = true;
        for (const Piece& p : pieces) out += p.text;
      }
      begin = end;
    }
    if (!any) continue;
    changed = true;
    lvlText->setAttribute("w:val", encodeUtf8(out));
    XmlNode target = targetRpr(rPr, layers);
    if (XmlNode* old = lvl->child("w:rPr")) {
      *old = std::move(target);
    } else {
      lvl->children.push_back(std::move(target));
    }
  }
  return changed;
}

const XmlNode* findDescendant(const XmlNode& node, std::string_view local) {
  for (const XmlNode& c : node.children) {
    if (c.kind != XmlNode::Kind::kElement) continue;
    if (localName(c.name) == local) return &c;
    if (const XmlNode* d = findDescendant(c, local)) return d;
  }
  return nullptr;
}

// Adds the fonts to fontTable.xml where it lacks them; true when it changed.
bool addFonts(XmlNode& table, const std::set<std::string>& fonts) {
  bool changed = false;
  for (const std::string& font : fonts) {
    bool present = false;
    for (const XmlNode& f : table.children) {
      const std::string* name = f.isElement("w:font") ? f.attribute("w:name") : nullptr;
      present = present || (name && *name == font);
    }
    if (present) continue;
    XmlNode f = XmlNode::element("w:font");
    f.setAttribute("w:name", font);
    XmlNode charset = XmlNode::element("w:charset");
    charset.setAttribute("w:val", "00");
    XmlNode family = XmlNode::element("w:family");
    family.setAttribute("w:val", "auto");
    XmlNode pitch = XmlNode::element("w:pitch");
    pitch.setAttribute("w:val", "variable");
    f.children = {std::move(charset), std::move(family), std::move(pitch)};
    table.children.push_back(std::move(f));
    changed = true;
  }
  return changed;
}

}  // namespace

void DocxStyles::load(const XmlNode* styles, const XmlNode* theme) {
  if (styles) {
    for (const XmlNode& s : styles->children) {
      if (s.isElement("w:docDefaults")) {
        if (const XmlNode* d = s.child("w:rPrDefault")) defaults_ = d->child("w:rPr");
      }
      if (!s.isElement("w:style")) continue;
      const std::string* id = s.attribute("w:styleId");
      if (!id) continue;
      Style style;
      style.rPr = s.child("w:rPr");
      if (const XmlNode* b = s.child("w:basedOn")) {
        if (const std::string* v = b->attribute("w:val")) style.basedOn = *v;
      }
      styles_[*id] = style;
      const std::string* type = s.attribute("w:type");
      const std::string* def = s.attribute("w:default");
      if (type && *type == "paragraph" && def && (*def == "1" || *def == "true")) {
        defaultParagraph_ = *id;
      }
    }
  }
  if (theme) {
    for (const char* major : {"majorFont", "minorFont"}) {
      const XmlNode* f = findDescendant(*theme, major);
      if (!f) continue;
      const std::string prefix = major[1] == 'a' ? "major" : "minor";
      for (const XmlNode& c : f->children) {
        const std::string* face = c.attribute("typeface");
        if (!face || c.kind != XmlNode::Kind::kElement) continue;
        const std::string_view local = localName(c.name);
        if (local == "latin") theme_[prefix + "HAnsi"] = theme_[prefix + "Ascii"] = *face;
        if (local == "cs") theme_[prefix + "Bidi"] = *face;
        if (local == "ea") theme_[prefix + "EastAsia"] = *face;
      }
    }
  }
}

void DocxStyles::addChain(std::vector<const XmlNode*>& out, const std::string& id) const {
  std::string at = id;
  for (int depth = 0; depth < 32 && !at.empty(); ++depth) {
    const auto it = styles_.find(at);
    if (it == styles_.end()) break;
    if (it->second.rPr) out.push_back(it->second.rPr);
    at = it->second.basedOn;
  }
}

std::vector<const XmlNode*> DocxStyles::layers(const XmlNode* direct, const std::string& charStyle,
                                               const std::string* paraStyle,
                                               const std::string& tableStyle) const {
  std::vector<const XmlNode*> out;
  if (direct) out.push_back(direct);
  addChain(out, charStyle);
  addChain(out, paraStyle ? *paraStyle : defaultParagraph_);
  addChain(out, tableStyle);
  if (defaults_) out.push_back(defaults_);
  return out;
}

std::string DocxStyles::font(const std::vector<const XmlNode*>& layers,
                             const std::string& slot) const {
  const std::string theme = "w:" + (slot == "cs" ? std::string("cstheme") : slot + "Theme");
  const std::string name = "w:" + slot;
  for (const XmlNode* l : layers) {
    const XmlNode* f = l->child("w:rFonts");
    if (!f) continue;
    if (const std::string* t = f->attribute(theme)) {
      const auto it = theme_.find(*t);
      if (it != theme_.end()) return it->second;
    }
    if (const std::string* n = f->attribute(name)) return *n;
  }
  return {};
}

bool DocxStyles::has(const std::vector<const XmlNode*>& layers, const std::string& name) const {
  const std::string qname = "w:" + name;
  for (const XmlNode* l : layers) {
    if (l->child(qname)) return true;
  }
  return false;
}

bool DocxStyles::toggle(const std::vector<const XmlNode*>& layers, const std::string& name) const {
  const std::string qname = "w:" + name;
  for (const XmlNode* l : layers) {
    if (const XmlNode* e = l->child(qname)) return !isOff(e->attribute("w:val"));
  }
  return false;
}

std::string DocxStyles::value(const std::vector<const XmlNode*>& layers,
                              const std::string& name) const {
  const std::string qname = "w:" + name;
  for (const XmlNode* l : layers) {
    if (const XmlNode* e = l->child(qname)) {
      if (const std::string* v = e->attribute("w:val")) return *v;
    }
  }
  return {};
}

std::string DocxStyles::fontFor(const std::vector<const XmlNode*>& layers, char16_t c) const {
  if (toggle(layers, "cs") || toggle(layers, "rtl")) return font(layers, "cs");
  return font(layers, c < 0x80 ? "ascii" : "hAnsi");
}

bool convertDocx(Package& package, TextConverter& converter, std::string* error) {
  if (!package.has("[Content_Types].xml")) {
    if (error) *error = "[Content_Types].xml: missing part";
    return false;
  }
  Rels root;
  if (!readRels(package, "", root, error)) return false;
  std::string main;
  for (const auto& [type, target] : root.targets) {
    if (endsWith(type, "/officeDocument")) main = target;
  }
  if (main.empty()) {
    if (error) *error = "_rels/.rels: no main document part";
    return false;
  }
  if (!package.has(main)) {
    if (error) *error = main + ": missing part";
    return false;
  }
  Rels rels;
  if (!readRels(package, main, rels, error)) return false;

  std::vector<std::string> textParts{main};
  std::string stylesName, themeName, numberingName, fontTableName;
  for (const auto& [type, target] : rels.targets) {
    const std::string_view kind = std::string_view(type).substr(type.rfind('/') + 1);
    if (kind == "header" || kind == "footer" || kind == "footnotes" || kind == "endnotes" ||
        kind == "comments") {
      textParts.push_back(target);
    } else if (kind == "styles") {
      stylesName = target;
    } else if (kind == "theme") {
      themeName = target;
    } else if (kind == "numbering") {
      numberingName = target;
    } else if (kind == "fontTable") {
      fontTableName = target;
    } else {
      continue;
    }
    if (!package.has(target)) {
      if (error) *error = target + ": missing part";
      return false;
    }
  }

  XmlDocument styles, theme;
  if (!stylesName.empty() && !readXmlPart(package, stylesName, styles, error)) return false;
  if (!themeName.empty() && !readXmlPart(package, themeName, theme, error)) return false;
  DocxStyles resolved;
  resolved.load(stylesName.empty() ? nullptr : &styles.root,
                themeName.empty() ? nullptr : &theme.root);

  DocxRewriter rewriter(resolved, converter);
  const std::size_t total = textParts.size() + (numberingName.empty() ? 0 : 1);
  std::size_t done = 0;
  for (const std::string& name : textParts) {
    if (package.replaced(name)) continue;  // listed twice
    XmlDocument doc;
    converter.startPart(name);
    rewriter.startPart();
    TextPartStream stream(rewriter);
    if (!readXmlPart(package, name, doc, error, &stream)) return false;
    if (!stream.streamed) rewriter.visit(doc.root, "");
    if (rewriter.changed()) package.replace(name, writeXml(doc));
    if (converter.cancelled(++done, total)) return true;
  }
  if (!numberingName.empty()) {
    XmlDocument doc;
    if (!readXmlPart(package, numberingName, doc, error)) return false;
    converter.startPart(numberingName);
    if (rewriter.convertNumbering(doc.root)) package.replace(numberingName, writeXml(doc));
    if (converter.cancelled(++done, total)) return true;
  }
  if (!fontTableName.empty() && !rewriter.fontsUsed.empty()) {
    XmlDocument doc;
    if (!readXmlPart(package, fontTableName, doc, error)) return false;
    if (addFonts(doc.root, rewriter.fontsUsed)) package.replace(fontTableName, writeXml(doc));
  }
  return true;
}

}  // namespace kavelin::documents
