// SPDX-License-Identifier: GPL-3.0-or-later
// The DOCX rewriter, and the font rules it follows, open for tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "package.h"
#include "textconvert.h"
#include "xml.h"

namespace kavelin::documents {

// The fonts, sizes and script flags of w:rPr elements, resolved through the
// layers that apply to a run, most specific first.
class DocxStyles {
 public:
  // styles.xml (may be null) and the theme's font scheme (may be null).
  void load(const XmlNode* styles, const XmlNode* theme);

  // The layers of a run: its direct w:rPr (may be null), its character style
  // and the paragraph's (or the default paragraph style), the table's style,
  // and the document defaults.
  std::vector<const XmlNode*> layers(const XmlNode* direct, const std::string& charStyle,
                                     const std::string* paraStyle,
                                     const std::string& tableStyle) const;

  // The font of an rFonts slot ("ascii", "hAnsi", "cs", "eastAsia"), a theme
  // attribute at a layer taking precedence over the name there.
  std::string font(const std::vector<const XmlNode*>& layers, const std::string& slot) const;
  // A toggle such as "b", "i", "cs", "rtl".
  bool toggle(const std::vector<const XmlNode*>& layers, const std::string& name) const;
  // Whether a layer has element `name`.
  bool has(const std::vector<const XmlNode*>& layers, const std::string& name) const;
  // The w:val of the first layer with element `name` ("sz"), or "".
  std::string value(const std::vector<const XmlNode*>& layers, const std::string& name) const;

  // The font a character shows in: cs with w:cs or w:rtl, else ascii for
  // U+0000..U+007F and hAnsi for the rest.
  std::string fontFor(const std::vector<const XmlNode*>& layers, char16_t c) const;

 private:
  void addChain(std::vector<const XmlNode*>& out, const std::string& id) const;

  struct Style {
    const XmlNode* rPr = nullptr;
    std::string basedOn;
  };
  std::map<std::string, Style> styles_;
  std::string defaultParagraph_;
  const XmlNode* defaults_ = nullptr;
  std::map<std::string, std::string> theme_;  // "minorHAnsi" -> typeface
};

// Converts a DOCX package in place (its replacements). Returns false with
// `error` set for a damaged package.
bool convertDocx(Package& package, TextConverter& converter, std::string* error);

}  // namespace kavelin::documents
