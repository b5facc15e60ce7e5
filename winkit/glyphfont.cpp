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

bool drawsGlyphCodes(const QString& family) {
  for (const QString& name : {kGlyphFontName, kGlyphFontBoldName, kBundledGlyphFont}) {
    if (family.compare(name, Qt::CaseInsensitive) == 0) return true;
  }
  return false;
}

QStringList glyphFontNames() { return {kGlyphFontName, kGlyphFontBoldName}; }

QFont glyphSampleFont(const QString& family, double points) {
  QFont font(family);
  if (drawsGlyphCodes(family)) font.setFamilies({family, kBundledGlyphFont});
  if (points > 0) font.setPointSizeF(points);
  return font;
}

QString glyphFontNote(const QString& family) {
  if (drawsGlyphCodes(family)) return QString();
  return QObject::tr(
             "\"%1\" cannot show Hindi: the Hindi box will show Latin letters and "
             "signs, as in the sample.")
      .arg(family);
}

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
