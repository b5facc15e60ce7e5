// SPDX-License-Identifier: GPL-3.0-or-later
// A small XML tree for rewriting office document parts: read with expat,
// written back with the same names, attributes and order. Document type
// declarations (and so every entity definition) are refused.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavelin::documents {

struct XmlNode {
  enum class Kind : unsigned char { kElement, kText, kComment, kInstruction };
  Kind kind = Kind::kElement;
  std::string name;  // element name as written (prefix:local), or the instruction's target
  std::string text;  // text, comment or instruction data (UTF-8)
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<XmlNode> children;

  bool isElement(std::string_view qname) const { return kind == Kind::kElement && name == qname; }
  // The attribute's value, or nullptr.
  const std::string* attribute(std::string_view qname) const;
  void setAttribute(std::string_view qname, std::string value);
  bool removeAttribute(std::string_view qname);
  // The first child element of that name, or nullptr.
  XmlNode* child(std::string_view qname);
  const XmlNode* child(std::string_view qname) const;

  static XmlNode element(std::string name);
  static XmlNode textNode(std::string text);
};

struct XmlDocument {
  std::string declaration;  // "<?xml ...?>" as read, empty when there was none
  XmlNode root;
};

// Parses `bytes`. On failure returns false and sets `error` ("line L, column
// C: what").
bool parseXml(std::string_view bytes, XmlDocument& out, std::string* error);

// The document as UTF-8 XML.
std::string writeXml(const XmlDocument& doc);

// The local part of a qualified name ("w:t" -> "t").
std::string_view localName(std::string_view qname);

}  // namespace kavelin::documents
