// SPDX-License-Identifier: GPL-3.0-or-later
// The ODT rewriter: content.xml, and styles.xml for headers and footers.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "package.h"
#include "textconvert.h"
#include "xml.h"

namespace kavelin::documents {

// Text properties of ODF styles, resolved through span styles, the
// paragraph style, parent styles and the default paragraph style.
class OdtStyles {
 public:
  // Adds a part's font faces and styles; automatic styles are looked up
  // only for the part they belong to (`part` 0 or 1), common ones for both.
  void load(const XmlNode& root, int part);

  // The style:text-properties elements that apply at a place, most specific
  // first: the span styles (innermost first), then the paragraph style.
  std::vector<const XmlNode*> layers(int part, const std::vector<std::string>& spans,
                                     const std::string& paragraph) const;
  // The western (style:font-name, fo:font-family) or complex font.
  std::string font(const std::vector<const XmlNode*>& layers, bool complex) const;
  // The first layer's value of an attribute, or "".
  static std::string value(const std::vector<const XmlNode*>& layers, const std::string& name);
  bool hasStyle(const std::string& name) const;

 private:
  struct Style {
    std::string parent;
    const XmlNode* props = nullptr;
  };
  void chain(std::vector<const XmlNode*>& out, int part, const std::string& family,
             const std::string& name) const;

  std::map<std::string, std::string> faces_;             // font-face name -> family
  std::map<std::pair<int, std::string>, Style> styles_;  // (part or -1, family:name)
  const XmlNode* defaultParagraph_ = nullptr;
};

bool convertOdt(Package& package, TextConverter& converter, std::string* error);

}  // namespace kavelin::documents
