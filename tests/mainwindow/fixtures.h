// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up for the window tests: a main window on a platform that
// answers its dialogs from scripts and records and answers its message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <deque>
#include <memory>

#include "commondialog.h"
#include "engine.h"
#include "fakeplatform.h"
#include "forms.h"
#include "frmmain.h"
#include "gridview.h"
#include "richtextfield.h"
#include "settingsfile.h"

namespace kavelin::test {

inline QString hindiOf(const QString& english) {
  Engine engine;
  return qstr(engine.e2h(toCrLf(ustr(english))));
}

using Message = FakePlatform::Message;

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setSettingsFilePath(dir.filePath("settings.ini"));
    makeWindow();
  }
  void TearDown() override {
    if (w) {
      w->MainBox->document()->setModified(false);
      w->close();
      w.reset();
    }
    setSettingsFilePath(QString());
  }
  void makeWindow() {
    w = std::make_unique<frmMain>(platform);
    dialog = &platform.script(w->dlgCommonDialog());
    w->Form_Load();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
  }
  void type(const QString& english) { QTest::keyClicks(w->RTB2, english); }
  void writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray readFile(const QString& name) {
    QFile f(dir.filePath(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  using DialogScript = FakePlatform::DialogScript;

  QTemporaryDir dir;
  FakePlatform platform;
  std::unique_ptr<frmMain> w;
  DialogScript* dialog = nullptr;  // File > Open and Save, Print, the Editing Box's buttons
  std::vector<Message>& shownMessages = platform.messages;
  std::deque<QMessageBox::StandardButton>& replies = platform.replies;
};

}  // namespace kavelin::test
