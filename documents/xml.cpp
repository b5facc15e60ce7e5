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

struct Parse {
  XML_Parser parser = nullptr;
  XmlDocument* doc = nullptr;
  std::vector<XmlNode*> open;  // the elements being read, innermost last
  bool haveRoot = false;
  std::string refused;  // why the parse was stopped

  void stop(std::string why) {
    if (refused.empty()) refused = std::move(why);
    XML_StopParser(parser, XML_FALSE);
  }
  XmlNode* parent() { return open.empty() ? nullptr : open.back(); }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attrs) {
  auto* p = static_cast<Parse*>(data);
  if (p->open.size() >= kMaxDepth) return p->stop("elements nested too deeply");
  XmlNode node = XmlNode::element(name);
  for (std::size_t i = 0; attrs[i]; i += 2) node.attributes.emplace_back(attrs[i], attrs[i + 1]);
  if (XmlNode* parent = p->parent()) {
    parent->children.push_back(std::move(node));
    p->open.push_back(&parent->children.back());
  } else {
    p->doc->root = std::move(node);
    p->haveRoot = true;
    p->open.push_back(&p->doc->root);
  }
}

void XMLCALL onEnd(void* data, const XML_Char*) { static_cast<Parse*>(data)->open.pop_back(); }

void XMLCALL onText(void* data, const XML_Char* s, int len) {
  auto* p = static_cast<Parse*>(data);
  XmlNode* parent = p->parent();
  if (!parent) return;  // whitespace around the root
  if (!parent->children.empty() && parent->children.back().kind == XmlNode::Kind::kText) {
    parent->children.back().text.append(s, static_cast<std::size_t>(len));
  } else {
    parent->children.push_back(XmlNode::textNode(std::string(s, static_cast<std::size_t>(len))));
  }
}

void XMLCALL onComment(void* data, const XML_Char* s) {
  auto* p = static_cast<Parse*>(data);
  if (XmlNode* parent = p->parent()) {
    XmlNode n;
    n.kind = XmlNode::Kind::kComment;
    n.text = s;
    parent->children.push_back(std::move(n));
  }
}

void XMLCALL onInstruction(void* data, const XML_Char* target, const XML_Char* s) {
  auto* p = static_cast<Parse*>(data);
  if (XmlNode* parent = p->parent()) {
    XmlNode n;
    n.kind = XmlNode::Kind::kInstruction;
    n.name = target;
    n.text = s;
    parent->children.push_back(std::move(n));
  }
}

void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
  static_cast<Parse*>(data)->stop("document type declarations are not allowed");
}

void XMLCALL onEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                      const XML_Char*, const XML_Char*, const XML_Char*) {
  static_cast<Parse*>(data)->stop("entity declarations are not allowed");
}

void XMLCALL onDeclaration(void* data, const XML_Char*, const XML_Char*, int standalone) {
  auto* p = static_cast<Parse*>(data);
  p->doc->declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"";
  if (standalone == 1) p->doc->declaration += " standalone=\"yes\"";
  if (standalone == 0) p->doc->declaration += " standalone=\"no\"";
  p->doc->declaration += "?>";
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

bool parseXml(std::string_view bytes, XmlDocument& out, std::string* error) {
  XmlDocument doc;
  Parse p;
  p.doc = &doc;
  p.parser = XML_ParserCreate(nullptr);
  if (!p.parser) {
    if (error) *error = "out of memory";
    return false;
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

  bool ok = true;
  // Fed in pieces: XML_Parse takes an int length.
  constexpr std::size_t kPiece = 1 << 24;
  std::size_t at = 0;
  do {
    const std::size_t n = std::min(kPiece, bytes.size() - at);
    const bool last = at + n == bytes.size();
    if (XML_Parse(p.parser, bytes.data() + at, static_cast<int>(n), last) != XML_STATUS_OK) {
      ok = false;
      break;
    }
    at += n;
  } while (at < bytes.size());
  if (ok && !p.haveRoot) {
    ok = false;
    p.refused = "no root element";
  }
  if (!ok && error) {
    const std::string what =
        !p.refused.empty() ? p.refused : XML_ErrorString(XML_GetErrorCode(p.parser));
    *error = "line " + std::to_string(XML_GetCurrentLineNumber(p.parser)) + ", column " +
             std::to_string(XML_GetCurrentColumnNumber(p.parser) + 1) + ": " + what;
  }
  XML_ParserFree(p.parser);
  if (ok) out = std::move(doc);
  return ok;
}

std::string writeXml(const XmlDocument& doc) {
  std::string out;
  out.reserve(sizeHint(doc.root) + doc.declaration.size() + 2);
  if (!doc.declaration.empty()) out += doc.declaration + "\n";
  write(out, doc.root);
  return out;
}

}  // namespace kavelin::documents
