// SPDX-License-Identifier: GPL-3.0-or-later
// kavelin-convert --check: the unknown Devanagari words of a text, one line
// each, "LINE:COLUMN<TAB>WORD<TAB>CORRECTION<TAB>...", in the text's own
// encoding (glyph codes or Unicode).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "spellcheck.h"

namespace kavelin::cli {

struct CheckReport {
  std::string lines;  // one line per unknown word, in order
  std::size_t unknown = 0;
};

// Checks `text` line by line (LF or CR LF). LINE counts from 1; COLUMN counts
// characters from 1. Corrections are written as the text is: glyph codes
// when `glyphs`, else Unicode; up to five, best first.
CheckReport checkText(words::SpellChecker& checker, std::u16string_view text, bool glyphs);

}  // namespace kavelin::cli
