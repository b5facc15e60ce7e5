// SPDX-License-Identifier: GPL-3.0-or-later
// What the DOCX and ODT rewriters share: converting a piece of text and
// counting what stays, font names compared as word processors compare them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "documents.h"

namespace kavelin::documents {

struct Piece {
  std::u16string text;
  bool converted = false;  // in the target script, to be written in the target font
};

class TextConverter {
 public:
  TextConverter(const Request& request, Result& result);

  void startPart(std::string name) { part_ = std::move(name); }
  // With toUnicode, the characters whose mask entry is set are glyph codes
  // and become Unicode; otherwise Devanagari stretches become glyph codes.
  // `column` is the place of text[0] in paragraph `paragraph`. Returns no
  // pieces when nothing changes.
  std::vector<Piece> convert(std::u16string_view text, const std::vector<bool>& legacy,
                             std::size_t paragraph, std::size_t column);

  bool isLegacyFont(std::string_view utf8Name) const;
  const std::string& legacyFontName() const { return legacyName_; }
  const std::string& unicodeFont() const { return unicodeFont_; }
  bool toUnicode() const { return request_.toUnicode; }
  // Reports progress; true (and the result marked) when the caller cancels.
  bool cancelled(std::size_t done, std::size_t total);

 private:
  ConversionOptions at(std::size_t paragraph, std::size_t column) const;
  void note(const Unconverted& u);

  const Request& request_;
  Result& result_;
  std::string part_;
  std::string legacyName_, legacyFont_, legacyBold_, unicodeFont_;
};

// Characters in a UTF-16 string (a surrogate pair is one).
std::size_t characterCount(std::u16string_view text);
std::u16string fromUtf8(std::string_view s);  // invalid bytes become U+FFFD

}  // namespace kavelin::documents
