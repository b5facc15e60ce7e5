// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop platform's message box, file and font dialogs (answered by the
// test once they show) and its program start.
#include "desktopplatform.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "commondialog.h"

namespace kavelin {
namespace {

// Runs `act` on the modal dialog once it shows, while the caller waits in it.
// A dialog of another kind fails the test and is closed.
template <class Dialog>
void onModal(std::function<void(Dialog*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    if (auto* dialog = qobject_cast<Dialog*>(modal)) {
      act(dialog);
    } else {
      ADD_FAILURE() << "another dialog: " << modal->metaObject()->className();
      if (auto* other = qobject_cast<QDialog*>(modal)) other->reject();
    }
  });
  timer->start();
}

TEST(DesktopPlatform, MessageBoxShowsItsTextAndReturnsTheButtonPressed) {
  DesktopPlatform platform;
  QWidget parent;
  struct Seen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title, text;
    QMessageBox::StandardButtons buttons;
  } seen;
  onModal<QMessageBox>([&](QMessageBox* box) {
    seen = {box->icon(), box->windowTitle(), box->text(), box->standardButtons()};
    box->button(QMessageBox::Discard)->click();
  });
  const QMessageBox::StandardButtons buttons =
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
  EXPECT_EQ(platform.message(&parent, QMessageBox::Warning, "Kavelin", "Save them?", buttons),
            QMessageBox::Discard);
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.title, "Kavelin");
  EXPECT_EQ(seen.text, "Save them?");
  EXPECT_EQ(seen.buttons, buttons);
}

TEST(DesktopPlatform, MessageBoxButtonsTakeTheGivenCaptions) {
  DesktopPlatform platform;
  QWidget parent;
  QStringList captions;
  onModal<QMessageBox>([&](QMessageBox* box) {
    for (QMessageBox::StandardButton b :
         {QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel}) {
      captions << box->button(b)->text();
    }
    box->button(QMessageBox::Save)->click();
  });
  EXPECT_EQ(platform.message(&parent, QMessageBox::Warning, "Kavelin", "Save them?",
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                             {{QMessageBox::Save, "&Save"}, {QMessageBox::Discard, "Do&n't Save"}}),
            QMessageBox::Save);
  ASSERT_EQ(captions.size(), 3);
  EXPECT_EQ(captions[0], "&Save");
  EXPECT_EQ(captions[1], "Do&n't Save");
}

TEST(DesktopPlatform, SaveDialogStartsInTheProposedFolderAndAddsTheExtension) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  DesktopPlatform platform;
  QWidget parent;
  CommonDialog dlg(platform, &parent);
  dlg.DialogTitle = "Save Rich Text";
  dlg.Filter = "All Files (*.rtf) RichTextFormat|*.rtf";
  dlg.DefaultExt = "rtf";
  dlg.FileName = dir.path() + "/";
  struct Seen {
    QString title, folder, suffix;
    QStringList filters;
  } seen;
  onModal<QFileDialog>([&](QFileDialog* dialog) {
    seen = {dialog->windowTitle(), dialog->directory().absolutePath(), dialog->defaultSuffix(),
            dialog->nameFilters()};
    dialog->selectFile(dir.filePath("letter"));
    QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
  });
  ASSERT_TRUE(dlg.ShowSave());
  EXPECT_EQ(dlg.FileName, dir.filePath("letter.rtf"));
  EXPECT_EQ(seen.title, "Save Rich Text");
  EXPECT_EQ(seen.folder, QDir(dir.path()).absolutePath());
  EXPECT_EQ(seen.suffix, "rtf");
  EXPECT_EQ(seen.filters, QStringList{"All Files (*.rtf) RichTextFormat"});

  // Cancelled: no name, whatever was proposed.
  onModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_FALSE(dlg.ShowSave());
  EXPECT_EQ(dlg.FileName, "");
}

TEST(DesktopPlatform, CancelledOpenDialogLeavesNoName) {
  DesktopPlatform platform;
  QWidget parent;
  CommonDialog dlg(platform, &parent);
  dlg.DialogTitle = "Open";
  dlg.Filter = "All Files (*.txt)|*.txt";
  dlg.FileName = "/tmp/notes.txt";
  QString title;
  onModal<QFileDialog>([&](QFileDialog* dialog) {
    title = dialog->windowTitle();
    dialog->reject();
  });
  EXPECT_FALSE(dlg.ShowOpen());
  EXPECT_EQ(dlg.FileName, "");
  EXPECT_EQ(title, "Open");
}

TEST(DesktopPlatform, FontDialogAnswersOnlyWhenAFontIsChosen) {
  DesktopPlatform platform;
  QWidget parent;
  QFont preset = QApplication::font();
  preset.setPointSizeF(12);
  for (const bool choose : {false, true}) {
    QString title;
    onModal<QFontDialog>([&](QFontDialog* dialog) {
      title = dialog->windowTitle();
      choose ? dialog->accept() : dialog->reject();
    });
    const std::optional<QFont> chosen = platform.chooseFont(&parent, preset, "Font");
    EXPECT_EQ(title, "Font");
    ASSERT_EQ(chosen.has_value(), choose);
    if (chosen) {
      EXPECT_DOUBLE_EQ(chosen->pointSizeF(), 12);
    }
  }
}

TEST(DesktopPlatform, StartProgramSaysWhetherItStarted) {
  DesktopPlatform platform;
  EXPECT_TRUE(platform.startProgram("/bin/true", {}));
  EXPECT_TRUE(platform.startProgram("/bin/sh", {"-c", "exit 0"}));
  EXPECT_FALSE(platform.startProgram("/nonexistent/kavelin-sysinfo", {}));
}

}  // namespace
}  // namespace kavelin
