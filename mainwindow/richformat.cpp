// SPDX-License-Identifier: GPL-3.0-or-later
#include "richformat.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include "forms.h"

namespace kavelin {

QString formatFamily(const QTextCharFormat& format, const QFont& base) {
  const QString uninstalled = format.stringProperty(kUninstalledFamilyProperty);
  if (!uninstalled.isEmpty()) return uninstalled;
  const QStringList families = format.fontFamilies().toStringList();
  return families.isEmpty() ? base.family() : families.first();
}

void setFormatFamily(QTextCharFormat& format, const QString& family) {
  static QHash<QString, bool> installed;  // what QFontDatabase says, per family
  auto it = installed.find(family);
  if (it == installed.end()) {
    it = installed.insert(
        family, QFontDatabase::hasFamily(family) || !QFont::substitutes(family).isEmpty());
  }
  if (*it) {
    format.setFontFamilies({family});
    format.clearProperty(kUninstalledFamilyProperty);
  } else {
    format.clearProperty(QTextFormat::FontFamilies);
    format.setProperty(kUninstalledFamilyProperty, family);
  }
}

double effectiveSize(const QTextCharFormat& format, const QFont& base) {
  return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                        : base.pointSizeF();
}

bool effectiveBold(const QTextCharFormat& format, const QFont& base) {
  return format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() >= QFont::Bold
                                                     : base.bold();
}

bool effectiveItalic(const QTextCharFormat& format, const QFont& base) {
  return format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : base.italic();
}

bool effectiveUnderline(const QTextCharFormat& format, const QFont& base) {
  return format.hasProperty(QTextFormat::TextUnderlineStyle) ? format.fontUnderline()
                                                             : base.underline();
}

RunFormat effectiveFormat(const QTextCharFormat& format, const QFont& base) {
  RunFormat f;
  f.font = ustr(formatFamily(format, base));
  f.sizePt = effectiveSize(format, base);
  f.bold = effectiveBold(format, base);
  f.italic = effectiveItalic(format, base);
  f.underline = effectiveUnderline(format, base);
  f.color = effectiveColor(format);
  return f;
}

std::int32_t effectiveColor(const QTextCharFormat& format) {
  if (!format.hasProperty(QTextFormat::ForegroundBrush)) return kAutoColor;
  const QBrush brush = format.foreground();
  if (brush.style() == Qt::NoBrush) return kAutoColor;
  return static_cast<std::int32_t>(brush.color().rgb() & 0xFFFFFFu);
}

QTextCharFormat charFormat(const RunFormat& format) {
  QTextCharFormat f;
  if (!format.font.empty()) setFormatFamily(f, qstr(format.font));
  f.setFontPointSize(format.sizePt);
  f.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(format.italic);
  f.setFontUnderline(format.underline);
  if (format.color != kAutoColor) f.setForeground(QColor(QRgb(format.color)));
  return f;
}

Align alignOf(Qt::Alignment alignment) {
  const Qt::Alignment a = alignment & Qt::AlignHorizontal_Mask;
  return a & Qt::AlignHCenter ? Align::Center : a & Qt::AlignRight ? Align::Right : Align::Left;
}

Qt::Alignment qtAlignment(Align align) {
  switch (align) {
    case Align::Center:
      return Qt::AlignHCenter;
    case Align::Right:
      return Qt::AlignRight;
    case Align::Left:
      break;
  }
  return Qt::AlignLeft;
}

}  // namespace kavelin
