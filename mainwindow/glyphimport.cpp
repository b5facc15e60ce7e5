// SPDX-License-Identifier: GPL-3.0-or-later
#include "glyphimport.h"

#include <QCoreApplication>

#include "forms.h"
#include "unicodetoglyphs.h"

namespace kavelin {

GlyphImport glyphsFromUnicode(const QString& unicode) {
  QString text = unicode;
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  const GlyphConversion g = unicodeToGlyphs(uview(text));
  GlyphImport result;
  result.glyphs = qstr(g.glyphs);
  result.unconverted = g.unconverted.count;
  for (const UnconvertedChar& c : g.unconverted.first) {
    const QString character = QString::fromUcs4(&c.character, 1);
    result.details += QCoreApplication::translate("frmMain", "Line %1, column %2: U+%3 %4\n")
                          .arg(c.at.line)
                          .arg(c.at.column)
                          .arg(QString::number(static_cast<uint>(c.character), 16)
                                   .toUpper()
                                   .rightJustified(4, u'0'))
                          .arg(c.character >= 0x20 ? character : QString());
  }
  if (g.unconverted.count > g.unconverted.first.size()) {
    result.details += QCoreApplication::translate("frmMain", "... and %1 more\n")
                          .arg(g.unconverted.count - g.unconverted.first.size());
  }
  return result;
}

}  // namespace kavelin
