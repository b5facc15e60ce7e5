// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode text that mixes Devanagari with other scripts, split between the
// legacy font and the font the text was in: only the Devanagari becomes glyph
// codes, so that the rest reads the same in any font.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "unicodetoglyphs.h"

namespace kavelin {

struct ScriptPiece {
  std::u16string text;  // glyph codes, or the characters as they were
  bool glyphs = false;  // glyph codes for the legacy font
};

struct MixedConversion {
  std::vector<ScriptPiece> pieces;  // in text order, glyphs and text alternating
  Unconverted unconverted;
};

// Whether `c` is in the Devanagari block (U+0900 to U+097F).
bool isDevanagari(char16_t c);

// Converts the Devanagari stretches of `text` to glyph codes, as
// unicodeToGlyphs does, and keeps everything else as it is. A stretch runs
// from a Devanagari character to the last Devanagari character that follows it
// with only spaces and the digits and punctuation the legacy font shows in
// between; so "ok, नमस्ते, दुनिया!" is "ok, " and then the glyphs of
// "नमस्ते, दुनिया" and then "!". Line breaks, tabs, letters of other scripts and
// emoji end a stretch. A Devanagari character the font cannot show (ङ, a
// Devanagari digit) stays in its stretch as it is, and is counted and placed
// as unicodeToGlyphs does from `options.start`.
MixedConversion devanagariToGlyphs(std::u16string_view text, const ConversionOptions& options = {});

}  // namespace kavelin
