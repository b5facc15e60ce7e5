// SPDX-License-Identifier: GPL-3.0-or-later
#include "unicodetext.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "forms.h"
#include "glyphfont.h"
#include "richformat.h"
#include "unicode.h"

namespace kavelin {
namespace {

bool separates(QChar c) { return c == u' ' || c == QChar::LineSeparator || c == u'\t'; }

}  // namespace

QString unicodeText(const QString& glyphs) { return qstr(glyphsToUnicode(uview(glyphs))); }

QString unicodeText(const QTextDocument& document, int from, int to) {
  const QFont base = document.defaultFont();
  QString out;
  QString glyphs;  // the glyph text since the last other run, converted as one
  auto flush = [&] {
    out += unicodeText(glyphs);
    glyphs.clear();
  };
  for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() <= to;
       block = block.next()) {
    if (block.position() > from) {
      flush();
      out += u'\n';
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int begin = std::max(from, fragment.position());
      const int end = std::min(to, fragment.position() + fragment.length());
      if (begin >= end) continue;
      QString piece = fragment.text().mid(begin - fragment.position(), end - begin);
      piece.replace(QChar::LineSeparator, u'\n');
      if (isGlyphFamily(formatFamily(fragment.charFormat(), base), base)) {
        glyphs += piece;
      } else {
        flush();
        out += piece;
      }
    }
  }
  flush();
  return out;
}

QString unicodeText(const QTextCursor& cursor) {
  const QTextDocument& document = *cursor.document();
  if (cursor.hasSelection()) {
    return unicodeText(document, cursor.selectionStart(), cursor.selectionEnd());
  }
  return unicodeText(document, 0, document.characterCount() - 1);
}

bool isGlyphFamily(const QString& family, const QFont& base) {
  for (const QString& name :
       {kGlyphFontName, kGlyphFontBoldName, kBundledGlyphFont, base.family()}) {
    if (family.compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

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

QString textFamily(const QFont& base) {
  for (const QString& family : {devanagariFont(), QStringLiteral("Sans Serif")}) {
    if (!isGlyphFamily(family, base)) return family;
  }
  return QStringLiteral("Serif");
}

void unicodeDocument(const QTextDocument& glyphs, QTextDocument& out, const QString& font) {
  out.clear();
  const QFont source = glyphs.defaultFont();
  QFont base = source;
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
    // The block's text with the run of each character, and the runs' formats.
    QString text;
    std::vector<int> runOf;
    std::vector<QTextCharFormat> formats;
    std::vector<bool> converted;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      QTextCharFormat format = fragment.charFormat();
      const bool glyphRun = isGlyphFamily(formatFamily(format, source), source);
      // Also a run in a font that is not installed, which keeps its family in
      // a property of its own.
      if (glyphRun) setFormatFamily(format, font);
      text += fragment.text();
      runOf.insert(runOf.end(), fragment.length(), static_cast<int>(formats.size()));
      formats.push_back(format);
      converted.push_back(glyphRun);
    }
    // Words of glyphs convert whole, and separators keep their own format;
    // other runs are copied.
    int i = 0;
    while (i < text.size()) {
      const int run = runOf[i];
      int end = i + 1;
      if (!converted[run]) {
        while (end < text.size() && runOf[end] == run) ++end;
        cursor.insertText(text.mid(i, end - i), formats[run]);
      } else {
        if (!separates(text[i])) {
          while (end < text.size() && converted[runOf[end]] && !separates(text[end])) ++end;
        }
        cursor.insertText(unicodeText(text.mid(i, end - i)), formats[run]);
      }
      i = end;
    }
  }
}

}  // namespace kavelin
