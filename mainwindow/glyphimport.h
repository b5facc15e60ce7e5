// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode text brought into the Editing Box: its Devanagari as glyph codes in
// the legacy font, everything else as it was in a Unicode font.
#pragma once

#include <QString>
#include <cstddef>
#include <vector>

class QFont;
class QTextCursor;

namespace kavelin {

struct GlyphImport {
  struct Piece {
    QString text;  // line breaks as LF
    bool glyphs;   // glyph codes, else the characters as they were
  };
  std::vector<Piece> pieces;
  std::size_t unconverted;  // Devanagari characters kept as they were among the glyphs
  QString details;          // the first few of them with their line and column, or empty
};

// Converts Unicode text (a byte-order mark and CR LF or CR line breaks allowed)
// as devanagariToGlyphs does.
GlyphImport glyphsFromUnicode(const QString& unicode);

// Inserts the pieces at `cursor`, replacing its selection: the glyphs in the
// box's base font `base` (the legacy font the Hindi is typed in); the rest in
// the format at the cursor when that is no legacy font, else in textFamily().
void insertGlyphImport(QTextCursor& cursor, const GlyphImport& import, const QFont& base);

}  // namespace kavelin
