// SPDX-License-Identifier: GPL-3.0-or-later
#include "glyphimport.h"

#include <QCoreApplication>
#include <QTextCursor>

#include "forms.h"
#include "mixedscript.h"
#include "richformat.h"
#include "unicodetext.h"

namespace kavelin {

GlyphImport glyphsFromUnicode(const QString& unicode) {
  QString text = unicode;
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  const MixedConversion m = devanagariToGlyphs(uview(text));
  GlyphImport result;
  for (const ScriptPiece& piece : m.pieces)
    result.pieces.push_back({qstr(piece.text), piece.glyphs});
  result.unconverted = m.unconverted.count;
  for (const UnconvertedChar& c : m.unconverted.first) {
    const QString character = QString::fromUcs4(&c.character, 1);
    result.details += QCoreApplication::translate("frmMain", "Line %1, column %2: U+%3 %4\n")
                          .arg(c.at.line)
                          .arg(c.at.column)
                          .arg(QString::number(static_cast<uint>(c.character), 16)
                                   .toUpper()
                                   .rightJustified(4, u'0'))
                          .arg(c.character >= 0x20 ? character : QString());
  }
  if (m.unconverted.count > m.unconverted.first.size()) {
    result.details += QCoreApplication::translate("frmMain", "... and %1 more\n")
                          .arg(m.unconverted.count - m.unconverted.first.size());
  }
  return result;
}

void insertGlyphImport(QTextCursor& cursor, const GlyphImport& import, const QFont& base) {
  cursor.beginEditBlock();
  cursor.removeSelectedText();
  QTextCharFormat text = cursor.charFormat();
  if (isGlyphFamily(formatFamily(text, base), base)) {
    text = QTextCharFormat();
    setFormatFamily(text, textFamily(base));
  }
  for (const GlyphImport::Piece& piece : import.pieces) {
    cursor.insertText(piece.text, piece.glyphs ? QTextCharFormat() : text);
  }
  cursor.endEditBlock();
}

}  // namespace kavelin
