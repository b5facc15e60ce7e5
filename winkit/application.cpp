// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include <unistd.h>

#include <QApplication>
#include <QFont>

#include "glyphfont.h"

#ifndef KAVELIN_VERSION
#define KAVELIN_VERSION "0.0.0"
#endif

namespace kavelin {

void prepareApplication() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

void configureApplication() {
  QApplication::setApplicationName(QStringLiteral("Kavelin"));
  QApplication::setApplicationVersion(QStringLiteral(KAVELIN_VERSION));
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans"),
                              QStringLiteral("DejaVu Sans")});
  installGlyphFont();
}

}  // namespace kavelin
