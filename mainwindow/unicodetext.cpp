// SPDX-License-Identifier: GPL-3.0-or-later
#include "unicodetext.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

#include "forms.h"
#include "richformat.h"
#include "unicode.h"

namespace kavelin {
namespace {

bool separates(QChar c) { return c == u' ' || c == QChar::LineSeparator || c == u'\t'; }

}  // namespace

QString unicodeText(const QString& glyphs) { return qstr(glyphsToUnicode(uview(glyphs))); }

QString devanagariFont() {
  static const QString font = [] {
    const QStringList installed = QFontDatabase::families();
    for (const char* name : {"Noto Sans Devanagari", "Lohit Devanagari", "Noto Serif Devanagari"}) {
      if (installed.contains(QString::fromLatin1(name))) return QString::fromLatin1(name);
    }
    return QStringLiteral("Sans Serif");
  }();
  return font;
}

void unicodeDocument(const QTextDocument& glyphs, QTextDocument& out, const QString& font) {
  out.clear();
  QFont base = glyphs.defaultFont();
  base.setFamily(font);
  out.setDefaultFont(base);
  QTextCursor cursor(&out);
  bool first = true;
  for (QTextBlock block = glyphs.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat blockFormat;
    blockFormat.setAlignment(block.blockFormat().alignment());
    if (first) {
      cursor.setBlockFormat(blockFormat);
      first = false;
    } else {
      cursor.insertBlock(blockFormat, QTextCharFormat());
    }
    // The block's text with the format of each character.
    QString text;
    std::vector<QTextCharFormat> formats;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      QTextCharFormat format = fragment.charFormat();
      // Also a run in a font that is not installed, which keeps its family in
      // a property of its own.
      setFormatFamily(format, font);
      text += fragment.text();
      formats.insert(formats.end(), fragment.length(), format);
    }
    // Words convert whole; separators keep their own format.
    int i = 0;
    while (i < text.size()) {
      int end = i + 1;
      if (!separates(text[i])) {
        while (end < text.size() && !separates(text[end])) ++end;
      }
      cursor.insertText(unicodeText(text.mid(i, end - i)), formats[i]);
      i = end;
    }
  }
}

}  // namespace kavelin
