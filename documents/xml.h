// SPDX-License-Identifier: GPL-3.0-or-later
// A small XML tree for rewriting office document parts: read with expat,
// written back with the same names, attributes and order. Document type
// declarations (and so every entity definition) are refused.
//
// A large part need not be held as a tree: an XmlStream has the content of
// one element read in a single pass, the pieces it asks for (paragraphs) as
// trees of their own, one at a time, and the rest passed by, or written out
// again as it was read.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavelin::documents {

struct XmlNode {
  // kRaw: markup written out as it is (what a streamed region wrote).
  enum class Kind : unsigned char { kElement, kText, kComment, kInstruction, kRaw };
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

// What to do with the content of elements, for parsing in one pass.
class XmlStream {
 public:
  virtual ~XmlStream() = default;

  // Whether the content of `element` (name and attributes; `depth` 0 for the
  // root) is streamed rather than kept in the tree. Asked of the elements of
  // the tree as they start, with the tree's `root` as read so far (the
  // element not in it yet); nodes in it stay where they are when the tree
  // is handed over.
  virtual bool streams(const XmlNode& element, std::size_t depth, const XmlNode& root) = 0;
  // An element in a streamed region starts: true has it read whole and
  // handed to whole(), where it may be changed; otherwise leave() follows
  // at its end.
  virtual bool enter(const XmlNode& element) = 0;
  virtual void whole(XmlNode& element) = 0;
  virtual void leave() {}

  // Whether a streamed region is written again, as it was read but for what
  // whole() changed, into a kRaw child of its element; room for
  // expectedSize bytes of it is made up front.
  bool rewrites = false;
  std::size_t expectedSize = 0;
};

// Parses XML handed over in pieces.
class XmlParser {
 public:
  explicit XmlParser(XmlStream* stream = nullptr);
  ~XmlParser();
  XmlParser(const XmlParser&) = delete;
  XmlParser& operator=(const XmlParser&) = delete;

  // Parses the next piece; false once the XML is found malformed.
  bool feed(std::string_view piece);
  // Ends the input: true with the document in `out`; else false with
  // `error` set ("line L, column C: what").
  bool finish(XmlDocument& out, std::string* error);

  struct State;  // the parse, for Expat's handlers

 private:
  std::unique_ptr<State> state_;
};

// Parses `bytes`. On failure returns false and sets `error` ("line L, column
// C: what").
bool parseXml(std::string_view bytes, XmlDocument& out, std::string* error,
              XmlStream* stream = nullptr);

// The document as UTF-8 XML.
std::string writeXml(const XmlDocument& doc);

// The local part of a qualified name ("w:t" -> "t").
std::string_view localName(std::string_view qname);

}  // namespace kavelin::documents
