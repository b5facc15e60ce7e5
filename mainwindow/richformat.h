// SPDX-License-Identifier: GPL-3.0-or-later
// The formats of the Editing Box's text as the rich-text model has them: the
// character format a fragment shows in, and a paragraph's alignment.
#pragma once

#include <QFont>
#include <QString>
#include <QTextCharFormat>
#include <Qt>
#include <cstdint>

#include "rtf.h"

namespace kavelin {

// A character format's font family: a run in a font that is not installed
// (and has no substitute) keeps the family's name in a property of its own
// rather than in its font families, so that laying it out does not make Qt
// search the system's fonts for each such family (a document with thousands
// of them took seconds); it shows in the document's font.
inline constexpr int kUninstalledFamilyProperty = QTextFormat::UserProperty + 1;
QString formatFamily(const QTextCharFormat& format, const QFont& base);
// Sets the font family of `format` so.
void setFormatFamily(QTextCharFormat& format, const QString& family);

// The format text of `format` shows in: what `format` sets, and the document's
// default font `base` for what it leaves unset. Bold is a weight of Bold or more.
RunFormat effectiveFormat(const QTextCharFormat& format, const QFont& base);
// Its properties one at a time, for reading one over many fragments.
double effectiveSize(const QTextCharFormat& format, const QFont& base);
bool effectiveBold(const QTextCharFormat& format, const QFont& base);
bool effectiveItalic(const QTextCharFormat& format, const QFont& base);
bool effectiveUnderline(const QTextCharFormat& format, const QFont& base);
// 0xRRGGBB of a format that sets a colour, else kAutoColor.
std::int32_t effectiveColor(const QTextCharFormat& format);
// A character format that sets all of `format`, the family only when it has one.
QTextCharFormat charFormat(const RunFormat& format);

// A paragraph's horizontal alignment; justified text is Left.
Align alignOf(Qt::Alignment alignment);
Qt::Alignment qtAlignment(Align align);

}  // namespace kavelin
