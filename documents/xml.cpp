// SPDX-License-Identifier: GPL-3.0-or-later
#include "xml.h"

#include <expat.h>

#include <algorithm>

namespace kavelin::documents {

const std::string* XmlNode::attribute(std::string_view qname) const {
  for (const auto& [n, v] : attributes) {
    if (n == qname) return &v;
  }
  return nullptr;
}

void XmlNode::setAttribute(std::string_view qname, std::string value) {
  for (auto& [n, v] : attributes) {
    if (n == qname) {
      v = std::move(value);
      return;
    }
  }
  attributes.emplace_back(std::string(qname), std::move(value));
}

bool XmlNode::removeAttribute(std::string_view qname) {
  const auto it = std::find_if(attributes.begin(), attributes.end(),
                               [&](const auto& a) { return a.first == qname; });
  if (it == attributes.end()) return false;
  attributes.erase(it);
  return true;
}

XmlNode* XmlNode::child(std::string_view qname) {
  for (XmlNode& c : children) {
    if (c.isElement(qname)) return &c;
  }
  return nullptr;
}

const XmlNode* XmlNode::child(std::string_view qname) const {
  return const_cast<XmlNode*>(this)->child(qname);
}

XmlNode XmlNode::element(std::string name) {
  XmlNode n;
  n.name = std::move(name);
  return n;
}

XmlNode XmlNode::textNode(std::string text) {
  XmlNode n;
  n.kind = Kind::kText;
  n.text = std::move(text);
  return n;
}

std::string_view localName(std::string_view qname) {
  const std::size_t colon = qname.find(':');
  return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}

namespace {

constexpr std::size_t kMaxDepth = 1000;

void escape(std::string& out, std::string_view s, bool attribute);
void write(std::string& out, const XmlNode& n);

}  // namespace

struct XmlParser::State {
  XML_Parser parser = nullptr;
  XmlStream* stream = nullptr;
  XmlDocument doc;
  std::vector<XmlNode*> open;  // the tree's elements being read, innermost last
  bool haveRoot = false;
  bool failed = false;
  std::string refused;  // why the parse was stopped
  std::string error;    // the failure with its place

  // A streamed region: its depth below its element (0: directly in it), the
  // element read whole there and its open elements, and what it writes.
  bool inRegion = false;
  std::size_t regionDepth = 0;
  XmlNode whole;
  std::vector<XmlNode*> wholeOpen;
  std::string written;
  bool tagOpen = false;  // a start tag written without its '>'

  void stop(std::string why) {
    if (refused.empty()) refused = std::move(why);
    XML_StopParser(parser, XML_FALSE);
  }
  std::size_t depth() const { return open.size() + regionDepth + wholeOpen.size(); }
  // Where content goes: an element of the tree, or of one read whole.
  XmlNode* parent() {
    if (!wholeOpen.empty()) return wholeOpen.back();
    if (inRegion) return nullptr;
    return open.empty() ? nullptr : open.back();
  }
  // Content passed through a streamed region, to be written.
  bool writing() {
    if (!inRegion || !wholeOpen.empty() || !stream->rewrites) return false;
    if (tagOpen) written += '>';
    tagOpen = false;
    return true;
  }
  void noteFailure() {
    failed = true;
    const std::string what = !refused.empty() ? refused : XML_ErrorString(XML_GetErrorCode(parser));
    error = "line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
            std::to_string(XML_GetCurrentColumnNumber(parser) + 1) + ": " + what;
  }
};

namespace {

using State = XmlParser::State;

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attrs) {
  auto* p = static_cast<State*>(data);
  if (p->depth() >= kMaxDepth) return p->stop("elements nested too deeply");
  XmlNode node = XmlNode::element(name);
  for (std::size_t i = 0; attrs[i]; i += 2) node.attributes.emplace_back(attrs[i], attrs[i + 1]);
  if (p->inRegion && p->wholeOpen.empty()) {
    if (p->stream->enter(node)) {
      p->whole = std::move(node);
      p->wholeOpen.push_back(&p->whole);
    } else {
      if (p->writing()) {
        p->written += '<';
        p->written += node.name;
        for (const auto& [n, v] : node.attributes) {
          p->written += ' ';
          p->written += n;
          p->written += "=\"";
          escape(p->written, v, true);
          p->written += '"';
        }
        p->tagOpen = true;
      }
      ++p->regionDepth;
    }
    return;
  }
  XmlNode* parent = p->parent();
  const bool streamed =
      p->wholeOpen.empty() && p->stream && p->stream->streams(node, p->open.size(), p->doc.root);
  if (parent) {
    parent->children.push_back(std::move(node));
    (p->wholeOpen.empty() ? p->open : p->wholeOpen).push_back(&parent->children.back());
  } else {
    p->doc.root = std::move(node);
    p->haveRoot = true;
    p->open.push_back(&p->doc.root);
  }
  if (streamed) {
    p->inRegion = true;
    p->regionDepth = 0;
    if (p->stream->rewrites) p->written.reserve(p->stream->expectedSize);
  }
}

void XMLCALL onEnd(void* data, const XML_Char* name) {
  auto* p = static_cast<State*>(data);
  if (!p->wholeOpen.empty()) {
    p->wholeOpen.pop_back();
    if (!p->wholeOpen.empty()) return;
    p->stream->whole(p->whole);
    if (p->writing()) write(p->written, p->whole);
    p->whole = XmlNode();
    return;
  }
  if (p->inRegion && p->regionDepth > 0) {
    --p->regionDepth;
    p->stream->leave();
    if (p->stream->rewrites) {
      if (p->tagOpen) {
        p->written += "/>";
      } else {
        p->written += "</";
        p->written += name;
        p->written += '>';
      }
      p->tagOpen = false;
    }
    return;
  }
  if (p->inRegion) {  // the region's element ends
    p->inRegion = false;
    if (!p->written.empty()) {
      XmlNode raw;
      raw.kind = XmlNode::Kind::kRaw;
      raw.text = std::move(p->written);
      p->open.back()->children.push_back(std::move(raw));
    }
    p->written = std::string();
  }
  p->open.pop_back();
}

void XMLCALL onText(void* data, const XML_Char* s, int len) {
  auto* p = static_cast<State*>(data);
  const std::string_view text(s, static_cast<std::size_t>(len));
  if (p->writing()) return escape(p->written, text, false);
  XmlNode* parent = p->parent();
  if (!parent) return;  // whitespace around the root, or passed by
  if (!parent->children.empty() && parent->children.back().kind == XmlNode::Kind::kText) {
    parent->children.back().text.append(text);
  } else {
    parent->children.push_back(XmlNode::textNode(std::string(text)));
  }
}

void XMLCALL onComment(void* data, const XML_Char* s) {
  auto* p = static_cast<State*>(data);
  XmlNode n;
  n.kind = XmlNode::Kind::kComment;
  n.text = s;
  if (p->writing()) return write(p->written, n);
  if (XmlNode* parent = p->parent()) parent->children.push_back(std::move(n));
}

void XMLCALL onInstruction(void* data, const XML_Char* target, const XML_Char* s) {
  auto* p = static_cast<State*>(data);
  XmlNode n;
  n.kind = XmlNode::Kind::kInstruction;
  n.name = target;
  n.text = s;
  if (p->writing()) return write(p->written, n);
  if (XmlNode* parent = p->parent()) parent->children.push_back(std::move(n));
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  static_cast<State*>(data)->stop("document type declarations are not allowed");
}

void XMLCALL onEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                      const XML_Char*, const XML_Char*, const XML_Char*) {
  static_cast<State*>(data)->stop("entity declarations are not allowed");
}

void XMLCALL onDeclaration(void* data, const XML_Char*, const XML_Char*, int standalone) {
  auto* p = static_cast<State*>(data);
  p->doc.declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"";
  if (standalone == 1) p->doc.declaration += " standalone=\"yes\"";
  if (standalone == 0) p->doc.declaration += " standalone=\"no\"";
  p->doc.declaration += "?>";
}

void escape(std::string& out, std::string_view s, bool attribute) {
  for (char c : s) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += attribute ? "&quot;" : "\"";
        break;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        break;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        out += c;
    }
  }
}

void write(std::string& out, const XmlNode& n) {
  switch (n.kind) {
    case XmlNode::Kind::kText:
      escape(out, n.text, false);
      return;
    case XmlNode::Kind::kComment:
      out += "<!--" + n.text + "-->";
      return;
    case XmlNode::Kind::kInstruction:
      out += "<?" + n.name + (n.text.empty() ? "" : " " + n.text) + "?>";
      return;
    case XmlNode::Kind::kRaw:
      out += n.text;
      return;
    case XmlNode::Kind::kElement:
      break;
  }
  out += '<';
  out += n.name;
  for (const auto& [name, value] : n.attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    escape(out, value, true);
    out += '"';
  }
  if (n.children.empty()) {
    out += "/>";
    return;
  }
  out += '>';
  for (const XmlNode& c : n.children) write(out, c);
  out += "</";
  out += n.name;
  out += '>';
}

std::size_t sizeHint(const XmlNode& n) {
  std::size_t size = n.name.size() * 2 + n.text.size() + 5;
  for (const auto& [name, value] : n.attributes) size += name.size() + value.size() + 4;
  for (const XmlNode& c : n.children) size += sizeHint(c);
  return size;
}

}  // namespace

XmlParser::XmlParser(XmlStream* stream) : state_(std::make_unique<State>()) {
  State& p = *state_;
  p.stream = stream;
  p.parser = XML_ParserCreate(nullptr);
  if (!p.parser) {
    p.failed = true;
    p.error = "out of memory";
    return;
  }
  XML_SetUserData(p.parser, &p);
  XML_SetElementHandler(p.parser, onStart, onEnd);
  XML_SetCharacterDataHandler(p.parser, onText);
  XML_SetCommentHandler(p.parser, onComment);
  XML_SetProcessingInstructionHandler(p.parser, onInstruction);
  XML_SetStartDoctypeDeclHandler(p.parser, onDoctype);
  XML_SetEntityDeclHandler(p.parser, onEntity);
  XML_SetXmlDeclHandler(p.parser, onDeclaration);
  XML_SetParamEntityParsing(p.parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlParser::~XmlParser() {
  if (state_->parser) XML_ParserFree(state_->parser);
}

bool XmlParser::feed(std::string_view piece) {
  State& p = *state_;
  // Expat copies what it is given into a buffer of its own, grown to hold
  // the largest piece: small pieces keep it small (and fit its int length).
  constexpr std::size_t kPiece = 1 << 14;
  while (!p.failed && !piece.empty()) {
    const std::size_t n = std::min(kPiece, piece.size());
    if (XML_Parse(p.parser, piece.data(), static_cast<int>(n), XML_FALSE) != XML_STATUS_OK) {
      p.noteFailure();
    }
    piece.remove_prefix(n);
  }
  return !p.failed;
}

bool XmlParser::finish(XmlDocument& out, std::string* error) {
  State& p = *state_;
  if (!p.failed && XML_Parse(p.parser, "", 0, XML_TRUE) != XML_STATUS_OK) p.noteFailure();
  if (!p.failed && !p.haveRoot) {
    p.refused = "no root element";
    p.noteFailure();
  }
  if (p.failed) {
    if (error) *error = p.error;
    return false;
  }
  out = std::move(p.doc);
  return true;
}

bool parseXml(std::string_view bytes, XmlDocument& out, std::string* error, XmlStream* stream) {
  XmlParser parser(stream);
  parser.feed(bytes);
  return parser.finish(out, error);
}

std::string writeXml(const XmlDocument& doc) {
  std::string out;
  out.reserve(sizeHint(doc.root) + doc.declaration.size() + 2);
  if (!doc.declaration.empty()) out += doc.declaration + "\n";
  write(out, doc.root);
  return out;
}

}  // namespace kavelin::documents
