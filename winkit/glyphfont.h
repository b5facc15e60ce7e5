// SPDX-License-Identifier: GPL-3.0-or-later
// The font that draws glyph strings. Documents and controls name the legacy
// font "DevLys 160"; when no installed font has that name, the bundled Kavelin
// Legacy Devanagari (built from Noto Sans Devanagari) stands in for it.
#pragma once

#include <QString>

namespace kavelin {

inline const QString kGlyphFontName = QStringLiteral("DevLys 160");
inline const QString kGlyphFontBoldName = QStringLiteral("DevLys 160 Bold");
inline const QString kBundledGlyphFont = QStringLiteral("Kavelin Legacy Devanagari");

// Registers the bundled font's regular and bold files from the resources and,
// unless "DevLys 160" is installed, substitutes the bundled family for
// "DevLys 160" and "DevLys 160 Bold". Needs the QGuiApplication; later calls
// do nothing.
void installGlyphFont();

// The family that text in "DevLys 160" is drawn with.
QString glyphFontFamily();

// What the About window says about it: the installed font or the bundled one.
QString glyphFontDescription();

}  // namespace kavelin
