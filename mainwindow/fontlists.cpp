// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontlists.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "numbers.h"

namespace kavelin {

double leadingNumber(const QString& text) {
  int i = 0;
  const int n = static_cast<int>(text.size());
  while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
  const int start = i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ++i;
  const int digitsStart = i;
  while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
  int mantissaDigits = i - digitsStart;
  if (i < n && text[i] == u'.') {
    const int fractionStart = ++i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) ++i;
    mantissaDigits += i - fractionStart;
  }
  if (mantissaDigits == 0) return 0;
  // An exponent counts only when digits follow it.
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    int j = i + 1;
    if (j < n && (text[j] == u'+' || text[j] == u'-')) ++j;
    const int expStart = j;
    while (j < n && text[j].isDigit() && text[j].unicode() < 128) ++j;
    if (j > expStart) i = j;
  }
  return parseNumber(text.mid(start, i - start)).value_or(0);
}

double sizeForText(const QString& text) {
  const double value = leadingNumber(text);
  return value < 6 || value > 72 ? 12 : value;
}

FontListTexts fontListTexts(const std::optional<QString>& name, std::optional<double> size) {
  return {name.value_or(QString()), size ? sizeText(*size) : QString()};
}

void fitListPopup(QComboBox* combo) {
  const QFontMetrics metrics(combo->view()->font());
  int widest = 0;
  for (int i = 0; i < combo->count(); ++i) {
    widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
  }
  const int frame = 2 * combo->view()->frameWidth();
  const int scrollBar = combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  int width = widest + frame + scrollBar + 16;
  if (const QScreen* screen = combo->screen()) {
    width = std::min(width, screen->availableGeometry().width());
  }
  combo->view()->setMinimumWidth(std::max(width, combo->width()));
}

}  // namespace kavelin
