// SPDX-License-Identifier: GPL-3.0-or-later
// Glyph strings as readable Unicode Devanagari: plain text, and a copy of a
// rich-text document with every run converted and shown in a Devanagari font.
#pragma once

#include <QString>

class QTextDocument;

namespace kavelin {

// The glyph string as Unicode Devanagari.
QString unicodeText(const QString& glyphs);

// The first installed Devanagari font of the ones we know to read well.
QString devanagariFont();

// Fills `out` with `glyphs` converted to Unicode: paragraphs keep their
// alignment, runs their size, bold, italic and underline; every font becomes
// `font`. A word whose letters carry different formats takes the format of its
// first letter, since its glyphs are reordered as a whole.
void unicodeDocument(const QTextDocument& glyphs, QTextDocument& out, const QString& font);

}  // namespace kavelin
