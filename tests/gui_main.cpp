// Test main for widget tests: a QApplication on the offscreen platform, with the
// per-user settings store in a fresh temporary folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir settings;
  qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  kavelin::prepareApplication();
  QApplication app(argc, argv);
  kavelin::configureApplication();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
