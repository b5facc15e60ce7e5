// SPDX-License-Identifier: GPL-3.0-or-later
// The font that draws glyph strings. Documents and controls name the legacy
// font "DevLys 160"; when no installed font has that name, the bundled Kavelin
// Legacy Devanagari (built from Noto Sans Devanagari) stands in for it.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

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

// Whether text in font `family` shows the glyph codes as Hindi: "DevLys 160",
// "DevLys 160 Bold" and the bundled family (case ignored). Any other font
// shows the codes as the Latin letters and signs they are.
bool drawsGlyphCodes(const QString& family);

// The legacy-code names font lists offer first: "DevLys 160" and its Bold.
QStringList glyphFontNames();

// The font a sample of glyph codes shows in: `family` at `points`, drawn by
// the bundled font when `family` is a legacy-code name with no font of its own.
QFont glyphSampleFont(const QString& family, double points);

// What the Hindi box will look like in `family` when that font does not show
// the glyph codes as Hindi; empty when it does.
QString glyphFontNote(const QString& family);

// What the About window says about it: the installed font or the bundled one.
QString glyphFontDescription();

}  // namespace kavelin
