// SPDX-License-Identifier: GPL-3.0-or-later
// Test main for widget tests: a QApplication on the offscreen platform, on a
// desktop-sized screen (1280 x 1024, so that the main window's design placement
// fits), with the per-user settings store in a fresh temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settings;
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
    const QString config = settings.filePath(QStringLiteral("offscreen.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly)) {
      file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1280, "height": 1024,
                      "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
      file.close();
      qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    }
  }
  qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  kavelin::prepareApplication();
  QApplication app(argc, argv);
  kavelin::configureApplication();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
