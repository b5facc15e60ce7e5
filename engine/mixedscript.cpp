// SPDX-License-Identifier: GPL-3.0-or-later
#include "mixedscript.h"

namespace kavelin {
namespace {

// Characters that join two Devanagari stretches into one: spaces and the
// punctuation and digits the legacy font shows.
bool isNeutral(char16_t c) {
  return c == u' ' || (c >= u'0' && c <= u'9') ||
         std::u16string_view(u"!+-;./?,()={}\u2018\u2019").find(c) != std::u16string_view::npos;
}

bool isLowSurrogateAfterHigh(std::u16string_view text, std::size_t i) {
  return text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 &&
         text[i - 1] <= 0xDBFF;
}

// Moves `at` over text[from, to): LF, CR LF and CR end a line; a surrogate
// pair is one column.
void advance(TextPosition& at, std::u16string_view text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    const char16_t c = text[i];
    if (c == u'\n' || c == u'\r') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
      ++at.line;
      at.column = 1;
    } else if (!isLowSurrogateAfterHigh(text, i)) {
      ++at.column;
    }
  }
}

}  // namespace

bool isDevanagari(char16_t c) { return c >= 0x0900 && c < 0x0980; }

MixedConversion devanagariToGlyphs(std::u16string_view text, const ConversionOptions& options) {
  MixedConversion result;
  TextPosition at = options.start;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = i;
    ScriptPiece piece;
    if (isDevanagari(text[i])) {
      for (std::size_t k = i; k < text.size() && (isDevanagari(text[k]) || isNeutral(text[k]));
           ++k) {
        if (isDevanagari(text[k])) end = k + 1;
      }
      ConversionOptions o;
      o.start = at;
      o.maxReported = options.maxReported - result.unconverted.first.size();
      GlyphConversion g = unicodeToGlyphs(text.substr(i, end - i), o);
      result.unconverted.count += g.unconverted.count;
      result.unconverted.first.insert(result.unconverted.first.end(), g.unconverted.first.begin(),
                                      g.unconverted.first.end());
      piece.text = std::move(g.glyphs);
      piece.glyphs = true;
    } else {
      while (end < text.size() && !isDevanagari(text[end])) ++end;
      piece.text = text.substr(i, end - i);
    }
    result.pieces.push_back(std::move(piece));
    advance(at, text, i, end);
    i = end;
  }
  return result;
}

}  // namespace kavelin
