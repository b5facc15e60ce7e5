// SPDX-License-Identifier: GPL-3.0-or-later
// Glyph strings as readable Unicode Devanagari: plain text, and a copy of a
// rich-text document with its runs in the legacy font converted and shown in
// a Devanagari font. Runs in any other font hold Unicode already and stay.
#pragma once

#include <QString>

class QFont;
class QTextCursor;
class QTextDocument;

namespace kavelin {

// The glyph string as Unicode Devanagari.
QString unicodeText(const QString& glyphs);

// The text of `document` from position `from` to `to` (a selection's ends)
// as Unicode: the runs in the legacy font converted, the others as they are;
// line breaks as LF.
QString unicodeText(const QTextDocument& document, int from, int to);
// The cursor's selection so, or the whole document when nothing is selected.
QString unicodeText(const QTextCursor& cursor);

// Whether text in `family` is glyph codes: the legacy font, under any of its
// names, and the box's base font `base`, in which the Hindi is typed.
bool isGlyphFamily(const QString& family, const QFont& base);

// The first installed Devanagari font of the ones we know to read well.
QString devanagariFont();

// The font that text other than Devanagari keeps in a box with the base font
// `base`: devanagariFont() (these fonts have Latin letters too), else a
// generic family, whichever is no glyph family.
QString textFamily(const QFont& base);

// Fills `out` with `glyphs` converted to Unicode: paragraphs keep their
// alignment, runs their size, bold, italic and underline; every run in a glyph
// family becomes `font`, the other runs keep their font and text. A word whose
// letters carry different formats takes the format of its first letter, since
// its glyphs are reordered as a whole.
void unicodeDocument(const QTextDocument& glyphs, QTextDocument& out, const QString& font);

}  // namespace kavelin
