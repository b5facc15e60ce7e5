// SPDX-License-Identifier: GPL-3.0-or-later
// Glyph string to Unicode: turns DevLys 160 codes into the Unicode Devanagari
// text that the font shows for them.
#pragma once

#include <string>
#include <string_view>

namespace kavelin {

// Converts a glyph string (see GlyphString) to Unicode Devanagari in NFC.
//
// Codes are read left to right, longest sequence first ("vkS" is औ, a half
// form and "k" the full consonant). The vowel sign i, written before its
// consonant cluster, moves behind it; the reph, written after its syllable,
// becomes र् before the syllable's cluster. Characters that are not font codes
// pass through unchanged (line breaks included), except that an unpaired
// surrogate becomes U+FFFD so that the result is always valid UTF-16.
// Runs in linear time on any input.
std::u16string glyphsToUnicode(std::u16string_view glyphs);

}  // namespace kavelin
