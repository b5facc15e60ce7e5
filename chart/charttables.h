// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's fixed contents: the vowel strip's start contents, the consonant
// list, the family lists and the glyph overrides of the strip. The chart keeps
// its own glyph strings, which differ from the key table in places.
#pragma once

#include <string>
#include <vector>

#include "text.h"

namespace kavelin::chart {

struct Entry {
  std::u16string key;
  GlyphString glyph;
};

// Columns 0 to 13 of the vowel strip at start.
const std::vector<Entry>& swarColumns();

// Rows 0 to 34 of the consonant list.
const std::vector<Entry>& vyanjanRows();

// Glyph strings that replace what a strip column is given, by key.
const GlyphString* overrideFor(const std::u16string& key);

// The family list of a one-letter string, in order; empty for any other string.
std::vector<Entry> family(const std::u16string& letter);

// The vowel signs of the syllable columns 1 to 13: the key suffix, and the
// glyphs placed after (or, for short i, before) the word's glyph string.
struct SyllableColumn {
  std::u16string suffix;
  GlyphString before;
  GlyphString after;
};
const std::vector<SyllableColumn>& syllableColumns();

}  // namespace kavelin::chart
