// SPDX-License-Identifier: GPL-3.0-or-later
// Legacy documents both ways for kavelin-convert: glyph text or RTF in the
// legacy font to Unicode, and Unicode text or RTF to glyph codes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "unicodetoglyphs.h"

namespace kavelin {

struct LegacyInput {
  std::string label;  // file name, or "standard input"
  std::string bytes;
};

struct LegacyRequest {
  bool toUnicode = true;        // glyphs -> Unicode; false: Unicode -> glyphs
  bool rawCodes = false;        // glyph side as raw 8-bit codes (cp1252)
  bool rtf = false;             // write RTF (an RTF input gives RTF anyway)
  bool toText = false;          // an RTF input gives plain text
  std::u16string legacyFont;    // besides "DevLys 160", a font whose runs hold glyph codes
  std::u16string unicodeFont;   // the font of Unicode runs; empty: Noto Sans Devanagari
  std::size_t maxReported = 5;  // unconverted characters to list with their place
};

struct UnconvertedPlace {
  std::string label;
  UnconvertedChar where;
};

struct LegacyResult {
  std::string output;  // empty with an error
  std::string error;   // "FILE: what is wrong", or empty
  std::size_t unconverted = 0;
  std::vector<UnconvertedPlace> first;
};

// Converts the inputs in order as one document. An input that starts with
// "{\rtf" (after a UTF-8 byte-order mark, if any) is an RTF document, converted
// run by run; any other input is text, whose line breaks become LF. The output
// is RTF when an input is, unless `toText` asks for text.
LegacyResult convertLegacy(const std::vector<LegacyInput>& inputs, const LegacyRequest& request);

// The report for standard error, one line each, every line starting with
// "kavelin-convert: "; empty when everything converted. For example:
//   kavelin-convert: warning: 2 characters could not be converted
//   kavelin-convert:   a.txt:1:3: U+0919 'ङ'
std::string legacyReport(const LegacyResult& result, bool strict);

}  // namespace kavelin
