// SPDX-License-Identifier: GPL-3.0-or-later
#include "odt.h"

#include "mixedscript.h"
#include "text.h"

namespace kavelin::documents {
namespace {

// An svg:font-family value without its quotes.
std::string unquote(std::string s) {
  if (s.size() >= 2 && (s.front() == '\'' || s.front() == '"') && s.back() == s.front()) {
    s = s.substr(1, s.size() - 2);
  }
  return s;
}

bool isContainer(const XmlNode& n) {
  return n.isElement("text:span") || n.isElement("text:a") || n.isElement("text:meta");
}

bool isParagraph(const XmlNode& n) { return n.isElement("text:p") || n.isElement("text:h"); }

// Text as ODF writes it: runs of spaces beyond the first, and a space that
// starts the text, as text:s.
void appendText(std::vector<XmlNode>& out, const std::u16string& text) {
  std::string pending;
  auto flushText = [&] {
    if (!pending.empty()) out.push_back(XmlNode::textNode(pending));
    pending.clear();
  };
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != u' ') {
      std::size_t end = i;
      while (end < text.size() && text[end] != u' ') ++end;
      pending += encodeUtf8(text.substr(i, end - i));
      i = end;
      continue;
    }
    std::size_t n = 0;
    while (i + n < text.size() && text[i + n] == u' ') ++n;
    std::size_t spaces = n;
    if (i > 0) {
      pending += ' ';
      --spaces;
    }
    if (spaces > 0) {
      flushText();
      XmlNode s = XmlNode::element("text:s");
      if (spaces > 1) s.setAttribute("text:c", std::to_string(spaces));
      out.push_back(std::move(s));
    }
    i += n;
  }
  flushText();
}

class OdtRewriter {
 public:
  OdtRewriter(const OdtStyles& styles, TextConverter& converter, int part)
      : styles_(styles), converter_(converter), part_(part) {}

  bool convert(XmlNode& body);
  // Converts a paragraph (or any element) of the body; changed() tells
  // whether any changed.
  void element(XmlNode& node) {
    std::vector<std::string> none;
    visit(node, nullptr, none);
  }
  bool changed() const { return changed_; }
  // The automatic styles made, to add to the part.
  std::vector<XmlNode> newStyles;
  std::map<std::string, std::string>* names = nullptr;  // properties -> style name
  int* counter = nullptr;

 private:
  struct Paragraph {
    std::size_t number = 0;
    std::size_t column = 1;
    std::string style;
  };
  void visit(XmlNode& node, Paragraph* paragraph, std::vector<std::string>& spans);
  void container(XmlNode& node, Paragraph& paragraph, std::vector<std::string>& spans);
  std::string styleFor(const std::vector<const XmlNode*>& layers);

  const OdtStyles& styles_;
  TextConverter& converter_;
  int part_;
  std::size_t paragraphs_ = 0;
  bool changed_ = false;
};

std::string OdtRewriter::styleFor(const std::vector<const XmlNode*>& layers) {
  XmlNode props = XmlNode::element("style:text-properties");
  if (converter_.toUnicode()) {
    const std::string& font = converter_.unicodeFont();
    props.setAttribute("style:font-name", font);
    props.setAttribute("style:font-name-complex", font);
    for (const auto& [from, to] :
         {std::pair<const char*, const char*>{"fo:font-size", "style:font-size-complex"},
          {"fo:font-weight", "style:font-weight-complex"},
          {"fo:font-style", "style:font-style-complex"}}) {
      const std::string v = OdtStyles::value(layers, from);
      if (!v.empty()) props.setAttribute(to, v);
    }
    props.setAttribute("style:language-complex", "hi");
    props.setAttribute("style:country-complex", "IN");
  } else {
    props.setAttribute("style:font-name", converter_.legacyFontName());
    for (const auto& [from, plain] :
         {std::pair<const char*, const char*>{"style:font-size-complex", "fo:font-size"},
          {"style:font-weight-complex", "fo:font-weight"},
          {"style:font-style-complex", "fo:font-style"}}) {
      std::string v = OdtStyles::value(layers, from);
      if (v.empty()) v = OdtStyles::value(layers, plain);
      if (!v.empty()) props.setAttribute(plain, v);
    }
  }
  XmlDocument key;
  key.root = props;
  const std::string k = writeXml(key);
  const auto it = names->find(k);
  if (it != names->end()) return it->second;
  std::string name;
  do {
    name = "Kv" + std::to_string(++*counter);
  } while (styles_.hasStyle(name));
  XmlNode style = XmlNode::element("style:style");
  style.setAttribute("style:name", name);
  style.setAttribute("style:family", "text");
  style.children.push_back(std::move(props));
  newStyles.push_back(std::move(style));
  (*names)[k] = name;
  return name;
}

void OdtRewriter::container(XmlNode& node, Paragraph& paragraph, std::vector<std::string>& spans) {
  // Segments: neighbouring text and text:s children.
  std::vector<XmlNode> out;
  std::u16string text;
  std::vector<XmlNode> held;  // the segment's nodes as they were
  std::size_t column = paragraph.column;
  auto flush = [&] {
    if (text.empty()) {
      for (XmlNode& h : held) out.push_back(std::move(h));
      held.clear();
      return;
    }
    const std::vector<const XmlNode*> layers = styles_.layers(part_, spans, paragraph.style);
    std::vector<bool> legacy;
    if (converter_.toUnicode()) {
      const bool western = converter_.isLegacyFont(styles_.font(layers, false));
      const bool complex = converter_.isLegacyFont(styles_.font(layers, true));
      for (char16_t c : text) legacy.push_back(isDevanagari(c) ? complex : western);
    }
    std::vector<Piece> pieces = converter_.convert(text, legacy, paragraph.number, column);
    if (pieces.empty()) {
      for (XmlNode& h : held) out.push_back(std::move(h));
    } else {
      changed_ = true;
      for (const Piece& p : pieces) {
        if (!p.converted) {
          appendText(out, p.text);
          continue;
        }
        XmlNode span = XmlNode::element("text:span");
        span.setAttribute("text:style-name", styleFor(layers));
        appendText(span.children, p.text);
        out.push_back(std::move(span));
      }
    }
    held.clear();
    text.clear();
  };
  for (XmlNode& c : node.children) {
    if (c.kind == XmlNode::Kind::kText) {
      const std::u16string t = fromUtf8(c.text);
      if (text.empty()) column = paragraph.column;
      text += t;
      paragraph.column += characterCount(t);
      held.push_back(std::move(c));
      continue;
    }
    if (c.isElement("text:s")) {
      const std::string* n = c.attribute("text:c");
      const long count =
          n ? std::max(1L, std::min(std::strtol(n->c_str(), nullptr, 10), 10000L)) : 1;
      if (text.empty()) column = paragraph.column;
      text.append(static_cast<std::size_t>(count), u' ');
      paragraph.column += static_cast<std::size_t>(count);
      held.push_back(std::move(c));
      continue;
    }
    flush();
    if (c.kind == XmlNode::Kind::kElement) {
      if (c.isElement("text:tab") || c.isElement("text:line-break")) {
        ++paragraph.column;
      } else if (isContainer(c)) {
        const std::string* style = c.attribute("text:style-name");
        spans.insert(spans.begin(), style ? *style : std::string());
        container(c, paragraph, spans);
        spans.erase(spans.begin());
      } else {
        std::vector<std::string> none;
        visit(c, nullptr, none);
      }
    }
    out.push_back(std::move(c));
  }
  flush();
  node.children = std::move(out);
}

void OdtRewriter::visit(XmlNode& node, Paragraph* paragraph, std::vector<std::string>& spans) {
  if (node.kind != XmlNode::Kind::kElement) return;
  if (isParagraph(node)) {
    Paragraph p;
    p.number = ++paragraphs_;
    if (const std::string* s = node.attribute("text:style-name")) p.style = *s;
    std::vector<std::string> none;
    container(node, p, none);
    return;
  }
  (void)paragraph;
  for (XmlNode& c : node.children) visit(c, nullptr, spans);
}

bool OdtRewriter::convert(XmlNode& body) {
  std::vector<std::string> none;
  visit(body, nullptr, none);
  return changed_;
}

XmlNode* childOf(XmlNode& root, const char* name) { return root.child(name); }

// content.xml read in one pass: the styles before office:body are kept as a
// tree and loaded when the body starts; each paragraph of the body outside
// another is read whole and converted, the rest written through.
class ContentStream : public XmlStream {
 public:
  ContentStream(const XmlDocument* styles, OdtStyles& loaded, OdtRewriter& rewriter)
      : styles_(styles), loaded_(loaded), rewriter_(rewriter) {
    rewrites = true;
  }

  bool streams(const XmlNode& element, std::size_t depth, const XmlNode& root) override {
    if (depth != 1 || !element.isElement("office:body") || body) return false;
    load(root);
    body = true;
    return true;
  }
  bool enter(const XmlNode& element) override { return isParagraph(element); }
  void whole(XmlNode& element) override { rewriter_.element(element); }

  // Loads the styles of content.xml's `root` and of styles.xml, once.
  void load(const XmlNode& root) {
    if (isLoaded_) return;
    isLoaded_ = true;
    loaded_.load(root, 0);
    if (styles_) loaded_.load(styles_->root, 1);
  }

  bool body = false;

 private:
  const XmlDocument* styles_;
  OdtStyles& loaded_;
  OdtRewriter& rewriter_;
  bool isLoaded_ = false;
};

// Adds a font face declaration for `font` unless the part has one.
void declareFont(XmlNode& root, const std::string& font) {
  XmlNode* decls = root.child("office:font-face-decls");
  if (!decls) {
    auto at = root.children.begin();
    while (at != root.children.end() &&
           (at->kind != XmlNode::Kind::kElement || at->isElement("office:scripts"))) {
      ++at;
    }
    decls = &*root.children.insert(at, XmlNode::element("office:font-face-decls"));
  }
  for (const XmlNode& f : decls->children) {
    const std::string* n = f.attribute("style:name");
    if (n && *n == font) return;
  }
  XmlNode face = XmlNode::element("style:font-face");
  face.setAttribute("style:name", font);
  face.setAttribute("svg:font-family", "'" + font + "'");
  face.setAttribute("style:font-pitch", "variable");
  decls->children.push_back(std::move(face));
}

void addAutomaticStyles(XmlNode& root, std::vector<XmlNode>& styles) {
  XmlNode* automatic = root.child("office:automatic-styles");
  if (!automatic) {
    auto at = root.children.begin();
    while (at != root.children.end() &&
           (at->kind != XmlNode::Kind::kElement || at->isElement("office:scripts") ||
            at->isElement("office:font-face-decls") || at->isElement("office:styles"))) {
      ++at;
    }
    automatic = &*root.children.insert(at, XmlNode::element("office:automatic-styles"));
  }
  for (XmlNode& s : styles) automatic->children.push_back(std::move(s));
}

}  // namespace

void OdtStyles::load(const XmlNode& root, int part) {
  for (const XmlNode& section : root.children) {
    if (section.isElement("office:font-face-decls")) {
      for (const XmlNode& f : section.children) {
        const std::string* name = f.attribute("style:name");
        const std::string* family = f.attribute("svg:font-family");
        if (f.isElement("style:font-face") && name)
          faces_[*name] = family ? unquote(*family) : *name;
      }
    }
    const bool common = section.isElement("office:styles");
    if (!common && !section.isElement("office:automatic-styles")) continue;
    for (const XmlNode& s : section.children) {
      const XmlNode* props = s.child("style:text-properties");
      const std::string* family = s.attribute("style:family");
      if (s.isElement("style:default-style") && family && *family == "paragraph") {
        defaultParagraph_ = props;
      }
      const std::string* name = s.attribute("style:name");
      if (!s.isElement("style:style") || !name || !family) continue;
      Style style;
      style.props = props;
      if (const std::string* p = s.attribute("style:parent-style-name")) style.parent = *p;
      styles_[{common ? -1 : part, *family + ":" + *name}] = style;
    }
  }
}

bool OdtStyles::hasStyle(const std::string& name) const {
  for (const auto& [key, style] : styles_) {
    if (key.second.substr(key.second.find(':') + 1) == name) return true;
  }
  return false;
}

void OdtStyles::chain(std::vector<const XmlNode*>& out, int part, const std::string& family,
                      const std::string& name) const {
  std::string at = name;
  for (int depth = 0; depth < 32 && !at.empty(); ++depth) {
    auto it = styles_.find({part, family + ":" + at});
    if (it == styles_.end()) it = styles_.find({-1, family + ":" + at});
    if (it == styles_.end()) break;
    if (it->second.props) out.push_back(it->second.props);
    at = it->second.parent;
  }
}

std::vector<const XmlNode*> OdtStyles::layers(int part, const std::vector<std::string>& spans,
                                              const std::string& paragraph) const {
  std::vector<const XmlNode*> out;
  for (const std::string& s : spans) chain(out, part, "text", s);
  chain(out, part, "paragraph", paragraph);
  if (defaultParagraph_) out.push_back(defaultParagraph_);
  return out;
}

std::string OdtStyles::font(const std::vector<const XmlNode*>& layers, bool complex) const {
  const std::string name = complex ? "style:font-name-complex" : "style:font-name";
  const std::string family = complex ? "style:font-family-complex" : "fo:font-family";
  for (const XmlNode* l : layers) {
    if (const std::string* n = l->attribute(name)) {
      const auto it = faces_.find(*n);
      return it == faces_.end() ? *n : it->second;
    }
    if (const std::string* f = l->attribute(family)) return unquote(*f);
  }
  return {};
}

std::string OdtStyles::value(const std::vector<const XmlNode*>& layers, const std::string& name) {
  for (const XmlNode* l : layers) {
    if (const std::string* v = l->attribute(name)) return *v;
  }
  return {};
}

bool convertOdt(Package& package, TextConverter& converter, std::string* error) {
  if (!package.has("content.xml")) {
    if (error) *error = "content.xml: missing part";
    return false;
  }
  // styles.xml is read first: the body of content.xml is converted as it is
  // read, with the styles of both.
  XmlDocument docs[2];
  const char* names[2] = {"content.xml", "styles.xml"};
  const bool haveStyles = package.has("styles.xml");
  if (haveStyles && !readXmlPart(package, names[1], docs[1], error)) return false;
  OdtStyles styles;
  int counter = 0;
  const std::size_t total = haveStyles ? 2 : 1;

  converter.startPart(names[0]);
  OdtRewriter content(styles, converter, 0);
  std::map<std::string, std::string> contentMade;  // styles are made per part
  content.names = &contentMade;
  content.counter = &counter;
  ContentStream stream(haveStyles ? &docs[1] : nullptr, styles, content);
  if (!readXmlPart(package, names[0], docs[0], error, &stream)) return false;
  stream.load(docs[0].root);
  if (stream.body && content.changed()) {
    declareFont(docs[0].root,
                converter.toUnicode() ? converter.unicodeFont() : converter.legacyFontName());
    addAutomaticStyles(docs[0].root, content.newStyles);
    package.replace(names[0], writeXml(docs[0]));
  }
  if (converter.cancelled(1, total) || !haveStyles) return true;

  XmlNode& root = docs[1].root;
  XmlNode* body = childOf(root, "office:master-styles");
  if (!body) return true;
  converter.startPart(names[1]);
  OdtRewriter rewriter(styles, converter, 1);
  std::map<std::string, std::string> partMade;
  rewriter.names = &partMade;
  rewriter.counter = &counter;
  if (rewriter.convert(*body)) {
    declareFont(root, converter.toUnicode() ? converter.unicodeFont() : converter.legacyFontName());
    addAutomaticStyles(root, rewriter.newStyles);
    package.replace(names[1], writeXml(docs[1]));
  }
  converter.cancelled(2, total);
  return true;
}

}  // namespace kavelin::documents
