// SPDX-License-Identifier: GPL-3.0-or-later
#include "textconvert.h"

#include "mixedscript.h"
#include "text.h"
#include "unicode.h"

namespace kavelin::documents {
namespace {

// Font names compare without case and surrounding spaces.
std::string fold(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Symbol fonts keep their codes at U+F020..U+F0FF, and a writer may store
// codes 0x80..0x9F as C1 controls: both become the Windows-1252 characters
// glyph strings hold.
char16_t foldCode(char16_t c) {
  if (c >= 0xF020 && c <= 0xF0FF) return cp1252ToChar(static_cast<std::uint8_t>(c - 0xF000));
  if (c >= 0x80 && c <= 0x9F) return cp1252ToChar(static_cast<std::uint8_t>(c));
  return c;
}

}  // namespace

std::size_t characterCount(std::u16string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 &&
          text[i - 1] <= 0xDBFF)) {
      ++n;
    }
  }
  return n;
}

std::u16string fromUtf8(std::string_view s) {
  std::u16string out;
  if (!decodeUtf8(s, out)) {
    // Expat hands over valid UTF-8 only; this is for names from elsewhere.
    out.clear();
    for (char c : s) out += static_cast<unsigned char>(c) < 0x80 ? char16_t(c) : u'\uFFFD';
  }
  return out;
}

TextConverter::TextConverter(const Request& request, Result& result)
    : request_(request),
      result_(result),
      legacyName_(encodeUtf8(request.legacyFont)),
      legacyFont_(fold(legacyName_)),
      legacyBold_(legacyFont_ + " bold"),
      unicodeFont_(encodeUtf8(request.unicodeFont)) {}

bool TextConverter::isLegacyFont(std::string_view name) const {
  const std::string f = fold(name);
  return f == legacyFont_ || f == legacyBold_ || f == "devlys 160" || f == "devlys 160 bold";
}

bool TextConverter::cancelled(std::size_t done, std::size_t total) {
  if (request_.progress && !request_.progress(done, total)) result_.cancelled = true;
  return result_.cancelled;
}

ConversionOptions TextConverter::at(std::size_t paragraph, std::size_t column) const {
  ConversionOptions o;
  o.maxReported =
      request_.maxReported > result_.first.size() ? request_.maxReported - result_.first.size() : 0;
  o.start = {paragraph, column};
  return o;
}

void TextConverter::note(const Unconverted& u) {
  result_.unconverted += u.count;
  for (const UnconvertedChar& c : u.first) {
    if (result_.first.size() < request_.maxReported) result_.first.push_back({part_, c});
  }
}

std::vector<Piece> TextConverter::convert(std::u16string_view text, const std::vector<bool>& legacy,
                                          std::size_t paragraph, std::size_t column) {
  std::vector<Piece> pieces;
  if (!request_.toUnicode) {
    bool any = false;
    for (char16_t c : text) any = any || isDevanagari(c);
    if (!any) return pieces;
    MixedConversion m = devanagariToGlyphs(text, at(paragraph, column));
    note(m.unconverted);
    for (ScriptPiece& p : m.pieces) {
      if (!p.text.empty()) pieces.push_back({std::move(p.text), p.glyphs});
    }
    return pieces;
  }
  bool any = false;
  for (std::size_t i = 0; i < text.size(); ++i) any = any || legacy[i];
  if (!any) return pieces;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = begin;
    while (end < text.size() && legacy[end] == legacy[begin]) ++end;
    std::u16string stretch(text.substr(begin, end - begin));
    if (legacy[begin]) {
      for (char16_t& c : stretch) c = foldCode(c);
      note(unconvertedGlyphs(stretch, at(paragraph, column)));
      pieces.push_back({glyphsToUnicode(stretch), true});
    } else {
      pieces.push_back({std::move(stretch), false});
    }
    column += characterCount(text.substr(begin, end - begin));
    begin = end;
  }
  return pieces;
}

}  // namespace kavelin::documents
