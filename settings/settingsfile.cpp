// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kavelin {
namespace {

QString& overridePath() {
  static QString path;
  return path;
}

}  // namespace

QString settingsFilePath() {
  if (!overridePath().isEmpty()) return overridePath();
  const QString name = QStringLiteral("settings.ini");
  const QString programFolder = QCoreApplication::applicationDirPath();
  const QFileInfo inProgramFolder(programFolder + u'/' + name);
  const bool writable = inProgramFolder.exists() ? inProgramFolder.isWritable()
                                                 : QFileInfo(programFolder).isWritable();
  if (writable) return inProgramFolder.filePath();
  const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  QDir().mkpath(userFolder);
  return userFolder + u'/' + name;
}

void setSettingsFilePath(const QString& path) { overridePath() = path; }

}  // namespace kavelin
