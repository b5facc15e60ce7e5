// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the font-size and font-name lists.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "fontchooser.h"  // fontFamilies, offeredFontNames

class QComboBox;

namespace kavelin {

// The leading decimal number of a text, leading spaces skipped; reading stops at
// the first character that cannot continue the number. No number (or one that
// parseNumber refuses) gives 0.
double leadingNumber(const QString& text);

// The size the size list applies for its text: below 6 or above 72 gives 12.
double sizeForText(const QString& text);

// What the font lists show for a font name and size: empty for a mixed one.
struct FontListTexts {
  QString name;
  QString size;
};
FontListTexts fontListTexts(const std::optional<QString>& name, std::optional<double> size);

// Makes a list's popup wide enough for its longest entry (within the screen).
void fitListPopup(QComboBox* combo);

}  // namespace kavelin
