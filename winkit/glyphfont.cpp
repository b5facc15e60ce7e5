// SPDX-License-Identifier: GPL-3.0-or-later
#include "glyphfont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QObject>
#include <QStringList>
#include <QtDebug>

namespace kavelin {

void installGlyphFont() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const char* file : {":/fonts/KavelinLegacyDevanagari-Regular.ttf",
                           ":/fonts/KavelinLegacyDevanagari-Bold.ttf"}) {
    if (QFontDatabase::addApplicationFont(QString::fromLatin1(file)) < 0) {
      qWarning("kavelin: could not load the bundled font %s", file);
    }
  }
  // An exact name only: fontconfig aliases (ours among them) must not count
  // as the font being installed.
  if (QFontDatabase::families().contains(kGlyphFontName, Qt::CaseInsensitive)) return;
  QFont::insertSubstitution(kGlyphFontName, kBundledGlyphFont);
  QFont::insertSubstitution(kGlyphFontBoldName, kBundledGlyphFont);
}

QString glyphFontFamily() { return QFontInfo(QFont(kGlyphFontName)).family(); }

QString glyphFontDescription() {
  const QString family = glyphFontFamily();
  if (family.compare(kGlyphFontName, Qt::CaseInsensitive) == 0) {
    return QObject::tr("Hindi is shown in the installed font \"%1\".").arg(kGlyphFontName);
  }
  if (family == kBundledGlyphFont) {
    return QObject::tr(
               "Hindi is shown in the bundled font \"%1\" (SIL Open Font License 1.1), "
               "since \"%2\" is not installed.")
        .arg(kBundledGlyphFont, kGlyphFontName);
  }
  return QObject::tr("\"%1\" is not installed; Hindi glyph codes are shown in \"%2\".")
      .arg(kGlyphFontName, family);
}

}  // namespace kavelin
