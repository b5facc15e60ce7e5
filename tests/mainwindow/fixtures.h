// Shared set-up for the window tests: a main window, a common dialog that
// answers from a script, and message boxes that are recorded and answered.
#pragma once

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPrinter>
#include <QGroupBox>
#include <QPushButton>
#include <QToolButton>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>

#include "commondialog.h"
#include "engine.h"
#include "forms.h"
#include "frmmain.h"
#include "gridview.h"
#include "messages.h"
#include "richtextfield.h"
#include "settingsfile.h"

namespace kavelin::test {

inline QString hindiOf(const QString& english) {
  Engine engine;
  return qstr(engine.e2h(toCrLf(ustr(english))));
}

// Answers the file and print dialogs from a queue and records what they were
// shown with.
class ScriptedDialog : public CommonDialog {
 public:
  using CommonDialog::CommonDialog;

  struct Shown {
    QString kind;
    QString title;
    QString filter;
    int flags;
    bool cancelError;
    QString fileName;  // the name the dialog proposed
    QString defaultExt;
  };
  std::vector<Shown> shown;
  std::deque<QString> answers;  // a file name, or empty for Cancel
  QString pdf;                  // where ShowPrinter prints to

  bool ShowOpen() override { return answer("open"); }
  bool ShowSave() override { return answer("save"); }
  bool ShowPrinter() override {
    record("print");
    printer()->setOutputFormat(QPrinter::PdfFormat);
    printer()->setOutputFileName(pdf);
    return !pdf.isEmpty();
  }
  bool ShowPageSetup() override {
    record("pagesetup");
    return true;
  }

 private:
  void record(const QString& kind) { 
    shown.push_back({kind, DialogTitle, Filter, Flags, CancelError, FileName, DefaultExt});
  }
  bool answer(const QString& kind) {
    record(kind);
    FileName = answers.empty() ? QString() : answers.front();
    if (!answers.empty()) answers.pop_front();
    return !FileName.isEmpty();
  }
};

struct Message {
  QMessageBox::Icon icon;
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
};

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setSettingsFilePath(dir.filePath("settings.ini"));
    messages::setHandler([this](QWidget*, QMessageBox::Icon icon, const QString& title,
                                const QString& text, QMessageBox::StandardButtons buttons) {
      shownMessages.push_back({icon, title, text, buttons});
      if (replies.empty()) return QMessageBox::Ok;
      const QMessageBox::StandardButton reply = replies.front();
      replies.pop_front();
      return reply;
    });
    makeWindow();
  }
  void TearDown() override {
    if (w) {
      w->MainBox->document()->setModified(false);
      w->close();
      w.reset();
    }
    messages::setHandler(nullptr);
    setSettingsFilePath(QString());
  }
  void makeWindow() {
    w = std::make_unique<frmMain>();
    auto scripted = std::make_unique<ScriptedDialog>(w.get());
    dialog = scripted.get();
    w->setCommonDialog(std::move(scripted));
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

  QTemporaryDir dir;
  std::unique_ptr<frmMain> w;
  ScriptedDialog* dialog = nullptr;
  std::vector<Message> shownMessages;
  std::deque<QMessageBox::StandardButton> replies;
};

}  // namespace kavelin::test
