// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode Devanagari brought into the Editing Box as glyph codes.
#pragma once

#include <QString>
#include <cstddef>

namespace kavelin {

struct GlyphImport {
  QString glyphs;           // line breaks as LF
  std::size_t unconverted;  // characters kept as they were
  QString details;          // the first few of them with their line and column, or empty
};

// Converts Unicode text (a byte-order mark and CR LF or CR line breaks allowed)
// to glyph codes.
GlyphImport glyphsFromUnicode(const QString& unicode);

}  // namespace kavelin
