// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop platform's message box, file and font dialogs (answered by the
// test once they show) and its program start.
#include "desktopplatform.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "commondialog.h"
#include "fakeplatform.h"
#include "fontchooser.h"
#include "frmabout.h"

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

TEST(FontChooser, OffersTheLegacyCodeNamesFirst) {
  EXPECT_EQ(offeredFontNames({"Noto Sans [GOOG]", "Kavelin Legacy Devanagari", "DejaVu Sans",
                              "devlys 160", "Noto Sans [Monotype]"}),
            (QStringList{"DevLys 160", "DevLys 160 Bold", "Kavelin Legacy Devanagari", "Noto Sans",
                         "DejaVu Sans"}));
  EXPECT_EQ(offeredFontNames({}), (QStringList{"DevLys 160", "DevLys 160 Bold"}));
}

// The font dialog starts at the preset, offers "DevLys 160" and its Bold first,
// shows the glyph codes in the font being chosen (with a note for a font that
// cannot show them as Hindi), and answers only when a font is chosen.
TEST(FontChooser, StartsAtThePresetAndAnswersOnlyWhenAFontIsChosen) {
  DesktopPlatform platform;
  QWidget parent;
  struct Case {
    QString preset;
    double size;
    QString pick;      // the family picked; empty: the preset's
    QString sizeText;  // typed into the size; empty: as shown
    bool accept;
    bool note;  // for the font chosen
  } cases[] = {
      {"DevLys 160", 14.25, "", "", true, false},
      {"DevLys 160", 14.25, "DevLys 160 Bold", "20", true, false},
      {"DevLys 160", 12, "DejaVu Sans", "", true, true},
      {"No Such Font Here", 9, "", "", true, true},  // added to the list
      {"DevLys 160", 12, "DejaVu Sans", "", false, true},
  };
  for (const Case& c : cases) {
    struct Seen {
      QString title, current, size;
      QStringList first;
      bool note = false;
      QStringList sampleFamilies;
    } seen;
    onModal<FontChooser>([&](FontChooser* dialog) {
      seen.title = dialog->windowTitle();
      seen.current = dialog->familyList->currentItem()->text();
      seen.size = dialog->sizeBox->currentText();
      seen.first = {dialog->familyList->item(0)->text(), dialog->familyList->item(1)->text()};
      if (!c.pick.isEmpty()) {
        const QList<QListWidgetItem*> items =
            dialog->familyList->findItems(c.pick, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << c.pick.toStdString();
        dialog->familyList->setCurrentItem(items.first());
      }
      if (!c.sizeText.isEmpty()) dialog->sizeBox->setEditText(c.sizeText);
      seen.note = dialog->note->isVisibleTo(dialog);
      seen.sampleFamilies = dialog->sample->font().families();
      c.accept ? dialog->accept() : dialog->reject();
    });
    QFont preset(c.preset);
    preset.setPointSizeF(c.size);
    const std::optional<QFont> chosen = platform.chooseFont(&parent, preset, "Font");
    const QString family = c.pick.isEmpty() ? c.preset : c.pick;
    EXPECT_EQ(seen.title, "Font");
    EXPECT_EQ(seen.current, c.preset);
    EXPECT_EQ(seen.size, QString::number(c.size));
    EXPECT_EQ(seen.first, (QStringList{"DevLys 160", "DevLys 160 Bold"}));
    EXPECT_EQ(seen.note, c.note) << family.toStdString();
    EXPECT_EQ(seen.sampleFamilies.value(0), family);
    if (!c.note) {
      EXPECT_TRUE(seen.sampleFamilies.contains("Kavelin Legacy Devanagari"));
    }
    ASSERT_EQ(chosen.has_value(), c.accept) << family.toStdString();
    if (chosen) {
      EXPECT_EQ(chosen->family(), family);
      EXPECT_DOUBLE_EQ(chosen->pointSizeF(), c.sizeText.isEmpty() ? c.size : c.sizeText.toDouble());
    }
  }
}

// Whether window flags give a dialog's title bar: a close button, no minimise
// or maximise button.
bool dialogTitleBar(Qt::WindowFlags flags) {
  return (flags & Qt::WindowType_Mask) == Qt::Dialog && (flags & Qt::CustomizeWindowHint) &&
         (flags & Qt::WindowCloseButtonHint) &&
         !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST(DesktopPlatform, EveryDialogHasADialogsTitleBar) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  DesktopPlatform platform;
  QWidget parent;
  CommonDialog dlg(platform, &parent);
  dlg.FileName = dir.path() + "/";
  struct Case {
    const char* what;
    std::function<void()> show;
  } cases[] = {
      {"message",
       [&] {
         platform.message(&parent, QMessageBox::Warning, "Kavelin", "Text", QMessageBox::Ok);
       }},
      {"open", [&] { dlg.ShowOpen(); }},
      {"save", [&] { dlg.ShowSave(); }},
      {"print", [&] { dlg.ShowPrinter(); }},
      {"page setup", [&] { dlg.ShowPageSetup(); }},
      {"font", [&] { platform.chooseFont(&parent, QFont("DevLys 160"), "Font"); }},
  };
  for (const Case& c : cases) {
    Qt::WindowFlags flags;
    onModal<QDialog>([&](QDialog* dialog) {
      flags = dialog->windowFlags();
      dialog->reject();
    });
    c.show();
    EXPECT_TRUE(dialogTitleBar(flags)) << c.what << ": " << std::hex << flags.toInt();
  }
  test::FakePlatform fake;
  frmAbout about(fake, &parent);
  EXPECT_TRUE(dialogTitleBar(about.windowFlags()));
}

TEST(DesktopPlatform, StartProgramSaysWhetherItStarted) {
  DesktopPlatform platform;
  EXPECT_TRUE(platform.startProgram("/bin/true", {}));
  EXPECT_TRUE(platform.startProgram("/bin/sh", {"-c", "exit 0"}));
  EXPECT_FALSE(platform.startProgram("/nonexistent/kavelin-sysinfo", {}));
}

}  // namespace
}  // namespace kavelin
