// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of the menus, toolbar and buttons, and what they do to the
// English box, the Hindi box and the Editing Box.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>

#include "fixtures.h"
#include "frmabout.h"
#include "frmbrowser.h"
#include "rtf.h"
#include "statusbar.h"
#include "webcomponent.h"

namespace kavelin::test {
namespace {

using CommandTest = WindowTest;

TEST_F(CommandTest, SendAllAppendsAndKeepsTheFormatting) {
  type("namaste");
  w->MainBox->setText("x");
  w->MainBox->selectAll();
  w->MainBox->setSelBold(true);
  w->Command7->click();
  EXPECT_EQ(w->MainBox->text(), "xueLrs ");
  EXPECT_EQ(w->RTB1->text(), "");
  EXPECT_EQ(w->RTB2->text(), "");
  // The bold "x" stays bold; the sent text is in the base font.
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(1);
  EXPECT_EQ(w->MainBox->selBold(), std::optional<bool>(true));
  w->MainBox->setSelStart(1);
  w->MainBox->setSelLength(6);
  EXPECT_EQ(w->MainBox->selBold(), std::optional<bool>(false));
  // A second time the Hindi box is empty: nothing changes.
  w->Command7_Click();
  EXPECT_EQ(w->MainBox->text(), "xueLrs ");
  EXPECT_TRUE(w->MainBox->document()->isModified());
}

TEST_F(CommandTest, SendSelectionCopiesExactlyTheSelection) {
  type("namaste dharma");
  w->RTB1->setSelStart(6);
  w->RTB1->setSelLength(4);
  w->Command8->click();
  EXPECT_EQ(w->MainBox->text(), "/keZ");
  EXPECT_EQ(w->RTB2->text(), "namaste dharma");
  EXPECT_EQ(w->RTB1->text(), "ueLrs /keZ ");
  w->RTB1->setSelLength(0);
  w->Command8_Click();  // nothing selected: nothing added
  EXPECT_EQ(w->MainBox->text(), "/keZ");
}

TEST_F(CommandTest, NewAndCloseEmptyTheBoxesButNotTheEditingBox) {
  for (Cmd command : {Cmd::FileNew, Cmd::FileClose}) {
    type("ka");
    w->MainBox->setText("kept");
    w->action(command)->trigger();
    EXPECT_EQ(w->RTB1->text(), "");
    EXPECT_EQ(w->RTB2->text(), "");
    EXPECT_EQ(w->MainBox->text(), "kept");
  }
  type("ga");
  w->Command1->click();
  EXPECT_EQ(w->RTB2->text(), "");
  w->tbToolBar_ButtonClick("New");
  EXPECT_EQ(w->action(Cmd::FileNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
}

TEST_F(CommandTest, OpenTextReadsEveryKindOfLineBreak) {
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {{"lf.txt", "namaste\nbhaarat"},
               {"crlf.txt", "namaste\r\nbhaarat"},
               {"cr.txt", "namaste\rbhaarat"},
               {"bom.txt", "\xEF\xBB\xBFnamaste\nbhaarat"}};
  for (const Case& c : cases) {
    writeFile(c.name, c.bytes);
    dialog->answers = {dir.filePath(c.name)};
    w->action(Cmd::FileOpen)->trigger();
    EXPECT_EQ(w->RTB2->text(), "namaste\nbhaarat") << c.name;
    EXPECT_EQ(w->RTB1->text(), "ueLrs \nHkkjr ") << c.name;
  }
  const auto& shown = dialog->shown.back();
  EXPECT_EQ(shown.kind, "open");
  EXPECT_EQ(shown.title, "Open");
  EXPECT_EQ(shown.filter, "All Files (*.txt)|*.txt");
  EXPECT_FALSE(shown.cancelError);
  // Cancel: nothing changes.
  dialog->answers = {QString()};
  w->tbToolBar_ButtonClick("Open");
  EXPECT_EQ(w->RTB2->text(), "namaste\nbhaarat");
  // Not UTF-8, or missing: a message naming the file.
  writeFile("latin1.txt", "caf\xE9");
  dialog->answers = {dir.filePath("latin1.txt")};
  w->mnuFileOpen_Click();
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_TRUE(shownMessages[0].text.contains("latin1.txt"));
  EXPECT_EQ(w->RTB2->text(), "namaste\nbhaarat");
}

TEST_F(CommandTest, SaveTextWritesTheEnglishBox) {
  type("namaste");
  QTest::keyClick(w->RTB2, Qt::Key_Return);
  type("bhaarat");
  dialog->answers = {dir.filePath("out.txt")};
  w->tbToolBar_ButtonClick("Save");
  EXPECT_EQ(readFile("out.txt"), "namaste\nbhaarat");
  EXPECT_EQ(dialog->shown.back().filter, "All Files (*.txt)|*.txt");
  dialog->answers = {dir.filePath("missing/out.txt")};
  w->mnuFileSaveAs_Click();
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_TRUE(shownMessages[0].text.contains("missing/out.txt"));
}

// Each save, through a link in the chosen folder, into a full device: the
// failed write says which file and why; the device stays a device.
TEST_F(CommandTest, FailedWritesAreReported) {
  DialogScript* exports = &platform.script(w->exportDialog());
  type("namaste");
  w->MainBox->setText("ueLrs");
  struct Case {
    const char* name;
    DialogScript* dialog;
    void (frmMain::*command)();
  } cases[] = {{"english.txt", dialog, &frmMain::mnuFileSave_Click},
               {"editing.rtf", dialog, &frmMain::Command12_Click},
               {"unicode.txt", exports, &frmMain::mnuFileExportUnicode_Click},
               {"unicode.pdf", exports, &frmMain::mnuFileExportPdf_Click}};
  for (const Case& c : cases) {
    const QString link = dir.filePath(c.name);
    ASSERT_TRUE(QFile::link("/dev/full", link));
    shownMessages.clear();
    c.dialog->answers = {link};
    (w.get()->*c.command)();
    ASSERT_EQ(shownMessages.size(), 1u) << c.name;
    EXPECT_TRUE(shownMessages[0].text.contains(link)) << shownMessages[0].text.toStdString();
    EXPECT_TRUE(shownMessages[0].text.endsWith(":\nNo space left on device"))
        << shownMessages[0].text.toStdString();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
  }
  EXPECT_TRUE(QFileInfo("/dev/full").exists() && !QFileInfo("/dev/full").isFile());
  EXPECT_EQ(w->documentPath(), QString());  // the Editing Box was not saved
}

TEST_F(CommandTest, IntroSample) {
  w->Command2->click();
  EXPECT_EQ(w->RTB2->text(), frmMain::kIntroLine + "\ndhanyavAd !!!");
  EXPECT_EQ(w->RTB1->text(), hindiOf(w->RTB2->text()));
  EXPECT_TRUE(w->RTB1->text().endsWith("/kU;okn !!! "));
}

TEST_F(CommandTest, EditingBoxClearAndCopyAll) {
  w->MainBox->setText("ueLrs");
  w->Command11->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "ueLrs");
  EXPECT_EQ(w->MainBox->selLength(), 5);
  EXPECT_TRUE(w->MainBox->hasFocus());
  replies = {QMessageBox::Discard};
  w->Command14->click();
  EXPECT_EQ(w->MainBox->text(), "");
}

TEST_F(CommandTest, ClipboardCommandsActOnTheActiveControl) {
  type("kaa ga");
  w->RTB2->setSelStart(0);
  w->RTB2->setSelLength(3);
  w->RTB2->setFocus();
  w->action(Cmd::EditCopy)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "kaa");
  w->action(Cmd::EditCut)->trigger();
  EXPECT_EQ(w->RTB2->text(), " ga");
  EXPECT_EQ(w->RTB1->text(), hindiOf(" ga"));
  w->MainBox->setFocus();
  w->tbToolBar_ButtonClick("Paste");
  EXPECT_EQ(w->MainBox->text(), "kaa");
  // A grid has no clipboard: nothing happens.
  w->Grid2->setFocus();
  w->mnuEditPaste_Click();
  EXPECT_EQ(w->MainBox->text(), "kaa");
}

// A command with a toolbar button is one action: the button and the menu entry
// are the same, so that their states cannot part.
TEST_F(CommandTest, MenuEntryAndToolbarButtonAreOneAction) {
  struct Case {
    Cmd command;
    const char* menu;  // null: toolbar only
    const char* key;
  } cases[] = {{Cmd::FileNew, "mnuFile", "New"},     {Cmd::FileSave, "mnuFile", "Save"},
               {Cmd::FilePrint, "mnuFile", "Print"}, {Cmd::EditPaste, "mnuEdit", "Paste"},
               {Cmd::Bold, nullptr, "Bold"},         {Cmd::AlignRight, nullptr, "Align Right"}};
  for (const Case& c : cases) {
    QAction* action = w->action(c.command);
    ASSERT_NE(action, nullptr) << c.key;
    EXPECT_TRUE(w->tbToolBar->actions().contains(action)) << c.key;
    EXPECT_EQ(action->data().toString(), c.key);
    if (c.menu) {
      auto* menu = w->menuBar()->findChild<QMenu*>(c.menu);
      ASSERT_NE(menu, nullptr);
      EXPECT_TRUE(menu->actions().contains(action)) << c.key;
      EXPECT_FALSE(action->isIconVisibleInMenu()) << c.key;
    }
  }
  // Triggering the action runs the command once, whichever shows it.
  w->RTB2->setText("namaste");
  w->action(Cmd::FileNew)->trigger();
  EXPECT_EQ(w->RTB2->text(), "");
  EXPECT_TRUE(w->action(Cmd::ViewToolbar)->isChecked());
  EXPECT_FALSE(w->action(Cmd::Bold)->isChecked());
}

TEST_F(CommandTest, FormattingTogglesOnTheActiveControl) {
  w->MainBox->setText("abcdef");
  w->MainBox->setFocus();
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(3);
  struct Case {
    const char* key;
    std::function<std::optional<bool>()> read;
  } cases[] = {{"Bold", [&] { return w->MainBox->selBold(); }},
               {"Italic", [&] { return w->MainBox->selItalic(); }},
               {"Underline", [&] { return w->MainBox->selUnderline(); }}};
  for (const Case& c : cases) {
    w->tbToolBar_ButtonClick(c.key);
    EXPECT_EQ(c.read(), std::optional<bool>(true)) << c.key;
    w->tbToolBar_ButtonClick(c.key);
    EXPECT_EQ(c.read(), std::optional<bool>(false)) << c.key;
    // A mixed selection is left as it is.
    w->tbToolBar_ButtonClick(c.key);
    w->MainBox->setSelLength(5);
    EXPECT_EQ(c.read(), std::nullopt) << c.key;
    w->tbToolBar_ButtonClick(c.key);
    EXPECT_EQ(c.read(), std::nullopt) << c.key;
    w->MainBox->setSelStart(0);
    w->MainBox->setSelLength(3);
  }
  w->tbToolBar_ButtonClick("Unknown key");  // does nothing
  // On a grid the buttons do nothing.
  w->Grid1->setFocus();
  w->toggleBold();
}

// The alignment buttons align the caret's paragraph or the selected ones, and
// show the alignment at the caret: one of them down, none for a mixed selection.
TEST_F(CommandTest, AlignTheCaretsParagraphAndShowItsAlignment) {
  w->MainBox->setText("one\ntwo\nthree");
  w->MainBox->setFocus();
  const auto paragraph = [&](int block) {
    return alignOf(w->MainBox->document()->findBlockByNumber(block).blockFormat().alignment());
  };
  const auto down = [&] {
    QStringList keys;
    for (Cmd command : {Cmd::AlignLeft, Cmd::Center, Cmd::AlignRight}) {
      if (w->action(command)->isChecked()) keys << w->action(command)->data().toString();
    }
    return keys.join(u',');
  };
  EXPECT_EQ(down(), "Align Left");
  struct Case {
    int start, length;  // the selection
    const char* key;
    std::vector<Align> paragraphs;  // after the click
    const char* down;
  } cases[] = {
      {5, 0, "Center", {Align::Left, Align::Center, Align::Left}, "Center"},
      {0, 0, "Align Right", {Align::Right, Align::Center, Align::Left}, "Align Right"},
      {9, 0, "Align Right", {Align::Right, Align::Center, Align::Right}, "Align Right"},
      {2, 5, "Center", {Align::Center, Align::Center, Align::Right}, "Center"},
      {6, 5, "Align Left", {Align::Center, Align::Left, Align::Left}, "Align Left"},
      // Clicking the button that is down keeps it down.
      {6, 5, "Align Left", {Align::Center, Align::Left, Align::Left}, "Align Left"},
  };
  for (const Case& c : cases) {
    w->MainBox->setSelStart(c.start);
    w->MainBox->setSelLength(c.length);
    w->tbToolBar_ButtonClick(c.key);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(paragraph(i), c.paragraphs[i]) << c.key << " " << i;
    EXPECT_EQ(down(), c.down) << c.key << " at " << c.start;
  }
  // The buttons follow the caret, and show nothing for a mixed selection.
  struct Caret {
    int start, length;
    const char* down;
  } carets[] = {{0, 0, "Center"}, {4, 0, "Align Left"}, {1, 6, ""}, {5, 6, "Align Left"}};
  for (const Caret& c : carets) {
    QTextCursor cursor = w->MainBox->textCursor();
    cursor.setPosition(c.start);
    cursor.setPosition(c.start + c.length, QTextCursor::KeepAnchor);
    w->MainBox->setTextCursor(cursor);
    EXPECT_EQ(down(), c.down) << c.start << "+" << c.length;
  }
  // Outside a rich-text box no alignment is down.
  w->Grid1->setFocus();
  EXPECT_EQ(down(), "");
}

TEST_F(CommandTest, ViewTogglesAndMessages) {
  QAction* toolbar = w->action(Cmd::ViewToolbar);
  const QPoint frame = w->Frame1->pos();
  toolbar->trigger();
  EXPECT_FALSE(toolbar->isChecked());
  EXPECT_FALSE(w->tbToolBar->isVisible());
  EXPECT_EQ(w->Frame1->pos(), frame);  // no other control moves
  toolbar->trigger();
  EXPECT_TRUE(w->tbToolBar->isVisible());
  QAction* status = w->action(Cmd::ViewStatusBar);
  status->trigger();
  EXPECT_FALSE(status->isChecked());
  EXPECT_FALSE(w->sbStatusBar->isVisible());
  status->trigger();
  EXPECT_TRUE(w->sbStatusBar->isVisible());

  w->action(Cmd::ViewRefresh)->trigger();
  w->action(Cmd::HelpSearchForHelpOn)->trigger();
  ASSERT_EQ(shownMessages.size(), 2u);
  EXPECT_EQ(shownMessages[0].text, "Add 'mnuViewRefresh_Click' code.");
  EXPECT_EQ(shownMessages[0].title, "Kavelin");
  EXPECT_EQ(shownMessages[0].buttons, QMessageBox::Ok);
  EXPECT_EQ(shownMessages[1].text,
            "Unable to display Help Contents. There is no Help associated with this project.");
  EXPECT_EQ(shownMessages[1].icon, QMessageBox::Information);
  EXPECT_EQ(shownMessages[1].title, "Kavelin");  // the caption, without a document name
  // Entries without a command do nothing and are disabled.
  EXPECT_FALSE(w->action(Cmd::EditPasteSpecial)->isEnabled());
  w->action(Cmd::EditUndo)->trigger();
  w->action(Cmd::EditPasteSpecial)->trigger();
  EXPECT_EQ(shownMessages.size(), 2u);
}

TEST_F(CommandTest, RichTextSavedAndOpenedAgain) {
  w->MainBox->setText("ueLrs\n/keZ");
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(3);
  w->MainBox->setSelBold(true);
  w->MainBox->setSelStart(6);
  w->MainBox->setSelLength(4);
  w->MainBox->setSelAlignment(RichTextField::kCenter);
  w->MainBox->setSelFontSize(20);
  dialog->answers = {dir.filePath("doc.rtf")};
  w->Command12->click();
  EXPECT_TRUE(readFile("doc.rtf").startsWith("{\\rtf1\\ansi\\ansicpg1252"));
  EXPECT_FALSE(w->MainBox->document()->isModified());
  EXPECT_EQ(dialog->shown.back().filter,
            "Rich Text Format (*.rtf)|*.rtf|Word Document (*.docx)|*.docx|"
            "OpenDocument Text (*.odt)|*.odt");

  w->Command14_Click();
  dialog->answers = {dir.filePath("doc.rtf")};
  w->Command13->click();
  EXPECT_EQ(w->MainBox->text(), "ueLrs\n/keZ");
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(3);
  EXPECT_EQ(w->MainBox->selBold(), std::optional<bool>(true));
  w->MainBox->setSelStart(6);
  w->MainBox->setSelLength(4);
  EXPECT_EQ(w->MainBox->selAlignment(), std::optional<int>(RichTextField::kCenter));
  EXPECT_EQ(w->MainBox->selFontSize(), std::optional<double>(20));
  EXPECT_EQ(w->MainBox->selFontName(), std::optional<QString>("DevLys 160"));
  EXPECT_EQ(dialog->shown.back().title, "Open");
}

TEST_F(CommandTest, DamagedRichTextLeavesTheEditingBoxAlone) {
  w->MainBox->setText("kept");
  w->MainBox->document()->setModified(false);
  struct Case {
    const char* name;
    QByteArray bytes;  // empty: no file
    const char* message;
  } cases[] = {{"plain.rtf", "just text", "Error # 321 Invalid file format"},
               {"deep.rtf", "{\\rtf1 " + QByteArray(2000, '{'), "Error # 321 Invalid file format"},
               {"none.rtf", QByteArray(), "Error # 53 File not found"}};
  for (const Case& c : cases) {
    if (!c.bytes.isEmpty()) writeFile(c.name, c.bytes);
    dialog->answers = {dir.filePath(c.name)};
    shownMessages.clear();
    w->Command13_Click();
    ASSERT_EQ(shownMessages.size(), 1u) << c.name;
    EXPECT_EQ(shownMessages[0].text, c.message);
    EXPECT_EQ(shownMessages[0].title, "Kavelin");
    EXPECT_EQ(w->MainBox->text(), "kept");
  }
}

TEST_F(CommandTest, PrintsTheEditingBoxToPdf) {
  type("namaste");
  // In a Latin font, so that the printed letters can be read back (the glyph
  // font joins codes into ligatures).
  w->MainBox->setText("dharma bhaarat");
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(14);
  w->MainBox->setSelFontName("DejaVu Sans");
  w->MainBox->setSelLength(0);
  dialog->pdf = dir.filePath("all.pdf");
  w->tbToolBar_ButtonClick("Print");
  EXPECT_EQ(dialog->shown.back().flags, 264);
  ASSERT_TRUE(QFile::exists(dialog->pdf));
  // With text selected in the Hindi box the selection range is chosen; the
  // printout is still the Editing Box's selection.
  w->RTB1->setSelStart(0);
  w->RTB1->setSelLength(3);
  w->MainBox->setSelStart(7);
  w->MainBox->setSelLength(7);
  dialog->pdf = dir.filePath("selection.pdf");
  w->Command6->click();
  EXPECT_EQ(dialog->shown.back().flags, 265);
  ASSERT_TRUE(QFile::exists(dialog->pdf));

  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  auto text = [&](const QString& pdf) {
    QProcess p;
    p.start(pdftotext, {pdf, "-"});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
  };
  EXPECT_EQ(text(dir.filePath("all.pdf")), "dharma bhaarat");
  EXPECT_EQ(text(dir.filePath("selection.pdf")), "bhaarat");

  w->action(Cmd::FilePageSetup)->trigger();
  EXPECT_EQ(dialog->shown.back().kind, "pagesetup");
  EXPECT_EQ(dialog->shown.back().title, "Page Setup");
  EXPECT_TRUE(dialog->shown.back().cancelError);
}

TEST_F(CommandTest, ClosingAsksAboutUnsavedChanges) {
  w->MainBox->setText("ueLrs");
  // Cancel keeps the program open.
  replies = {QMessageBox::Cancel};
  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].buttons,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  // Save, cancelled in the file dialog: still open.
  replies = {QMessageBox::Save};
  dialog->answers = {QString()};
  EXPECT_FALSE(w->close());
  // Save into a file: saved, and the program ends.
  replies = {QMessageBox::Save};
  dialog->answers = {dir.filePath("kept.rtf")};
  EXPECT_TRUE(w->close());
  EXPECT_TRUE(readFile("kept.rtf").contains("ueLrs"));
  w.reset();

  makeWindow();
  w->MainBox->setText("more");
  replies = {QMessageBox::Discard};
  shownMessages.clear();
  w->mnuFileExit_Click();
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(shownMessages.size(), 1u);
  w.reset();

  // Nothing unsaved: no question.
  makeWindow();
  shownMessages.clear();
  w->Command5->click();
  EXPECT_TRUE(shownMessages.empty());
  EXPECT_FALSE(w->isVisible());
}

TEST_F(CommandTest, EachWebBrowserCommandOpensOneMoreWindow) {
  w->action(Cmd::ViewWebBrowser)->trigger();
  w->mnuViewWebBrowser_Click();
  const QList<frmBrowser*> browsers = [] {
    QList<frmBrowser*> found;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* b = qobject_cast<frmBrowser*>(top); b && b->isVisible()) found << b;
    }
    return found;
  }();
  ASSERT_EQ(browsers.size(), 2);
  ASSERT_EQ(platform.pages.size(), 2u);
  for (FakePage* c : platform.pages) EXPECT_EQ(c->navigated, QStringList{kHomePage});
  EXPECT_EQ(browsers[0]->StartingAddress, kHomePage);
  // Closing the main window closes them all.
  w->close();
  for (frmBrowser* b : browsers) EXPECT_FALSE(b->isVisible());
}

TEST_F(CommandTest, AboutIsShownModal) {
  const std::function<void()> triggers[] = {[&] { w->action(Cmd::HelpAbout)->trigger(); },
                                            [&] { w->Command4->click(); },
                                            [&] { QTest::mouseClick(w->Image1, Qt::LeftButton); }};
  for (const auto& trigger : triggers) {
    QString title;
    bool modal = false;
    QTimer::singleShot(0, [&] {
      if (auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget())) {
        title = about->windowTitle();
        modal = about->isModal() && about->parentWidget() == w.get();
        about->cmdOK->click();
      }
    });
    trigger();
    EXPECT_EQ(title, "About Kavelin");
    EXPECT_TRUE(modal);
  }
}

TEST_F(CommandTest, AccessKeys) {
  QApplication::setActiveWindow(w.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  w->RTB2->setFocus();
  QTest::keyClick(w->windowHandle(), Qt::Key_I, Qt::AltModifier);  // &Intro
  QTest::qWait(300);  // an access key clicks the button after a short animation
  EXPECT_EQ(w->RTB2->text(), frmMain::kIntroLine + "\ndhanyavAd !!!");
  w->RTB1->setSelStart(0);
  w->RTB1->setSelLength(3);
  QTest::keyClick(w->windowHandle(), Qt::Key_N, Qt::AltModifier);  // Se&nd Sel >
  QTest::qWait(300);
  EXPECT_EQ(w->MainBox->text(), w->RTB1->text().left(3));
  // A letter that a menu title also uses opens the menu.
  QTest::keyClick(w->windowHandle(), Qt::Key_E, Qt::AltModifier);
  QTest::qWait(300);
  EXPECT_FALSE(w->RTB2->text().isEmpty());  // not "S&end All >"
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->objectName(), "mnuEdit");
  popup->close();
  EXPECT_TRUE(w->Command7->shortcut().isEmpty());
  EXPECT_TRUE(w->Command3->shortcut().isEmpty());
  EXPECT_EQ(w->Command7->text(), "S&end All >");
}

TEST_F(CommandTest, CutOffRichTextOpensAsFarAsItGoesAndSaysSo) {
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* text;
    bool warned;
  } cases[] = {{"cut.rtf", "{\\rtf1\\ansi {\\b half", "half", true},
               {"bom.rtf", "\xEF\xBB\xBF{\\rtf1\\ansi whole\\par}", "whole", false}};
  for (const Case& c : cases) {
    writeFile(c.name, c.bytes);
    dialog->answers = {dir.filePath(c.name)};
    shownMessages.clear();
    w->Command13_Click();
    EXPECT_EQ(w->MainBox->text(), c.text) << c.name;
    ASSERT_EQ(shownMessages.size(), c.warned ? 1u : 0u) << c.name;
    if (c.warned) {
      EXPECT_TRUE(shownMessages[0].text.contains(dir.filePath(c.name)));
      EXPECT_TRUE(shownMessages[0].text.contains("ended early"));
      EXPECT_EQ(shownMessages[0].icon, QMessageBox::Warning);
    }
  }
}

// A file that cannot be read says which and why, whatever kind it is.
TEST_F(CommandTest, ReadErrorsNameTheFileAndTheReason) {
  // Reading a process's own memory from its start fails with EIO.
  const QString unreadable = QStringLiteral("/proc/self/mem");
  struct Case {
    void (frmMain::*command)();
    QString path;
    QString reason;
  } cases[] = {{&frmMain::Command13_Click, unreadable, "Input/output error"},
               {&frmMain::mnuFileOpen_Click, unreadable, "Input/output error"},
               {&frmMain::Command13_Click, dir.path(), "directory"},
               {&frmMain::mnuFileOpen_Click, dir.path(), "directory"}};
  w->MainBox->setText("kept");
  w->MainBox->document()->setModified(false);
  w->RTB2->setText("kept too");
  for (const Case& c : cases) {
    dialog->answers = {c.path};
    shownMessages.clear();
    (w.get()->*c.command)();
    ASSERT_EQ(shownMessages.size(), 1u) << c.path.toStdString();
    EXPECT_TRUE(shownMessages[0].text.contains(c.path)) << shownMessages[0].text.toStdString();
    EXPECT_TRUE(shownMessages[0].text.contains(c.reason, Qt::CaseInsensitive))
        << shownMessages[0].text.toStdString();
    EXPECT_FALSE(shownMessages[0].text.contains("321"));
  }
  EXPECT_EQ(w->MainBox->text(), "kept");
  EXPECT_EQ(w->RTB2->text(), "kept too");
}

TEST_F(CommandTest, LargeFilesAreOpenedOnlyWhenTheUserSaysSo) {
  w->largeTextBytes = 100;
  w->largeRtfBytes = 100;
  writeFile("big.txt", QByteArray(101, 'k'));
  writeFile("small.txt", QByteArray(100, 'g'));
  writeFile("big.rtf", "{\\rtf1 " + QByteArray(100, 'x') + "}");
  // The file dialog's commands, and files given on the command line.
  const auto openText = [this](const QString&) { w->mnuFileOpen_Click(); };
  const auto openRtf = [this](const QString&) { w->Command13_Click(); };
  const auto given = [this](const QString& path) { w->openFiles({path}); };
  struct Case {
    std::function<void(const QString&)> open;
    const char* file;
    QMessageBox::StandardButton reply;  // NoButton: no question
    bool opened;
  } cases[] = {{openText, "big.txt", QMessageBox::Cancel, false},
               {openText, "big.txt", QMessageBox::Open, true},
               {openText, "small.txt", QMessageBox::NoButton, true},
               {openRtf, "big.rtf", QMessageBox::Cancel, false},
               {openRtf, "big.rtf", QMessageBox::Open, true},
               {given, "big.txt", QMessageBox::Cancel, false},
               {given, "big.txt", QMessageBox::Open, true},
               {given, "small.txt", QMessageBox::NoButton, true},
               {given, "big.rtf", QMessageBox::Cancel, false},
               {given, "big.rtf", QMessageBox::Open, true}};
  for (const Case& c : cases) {
    w->RTB2->setText("before");
    w->MainBox->setText("before");
    w->MainBox->document()->setModified(false);
    dialog->answers = {dir.filePath(c.file)};
    shownMessages.clear();
    replies.clear();
    if (c.reply != QMessageBox::NoButton) replies = {c.reply};
    c.open(dir.filePath(c.file));
    if (c.reply == QMessageBox::NoButton) {
      EXPECT_TRUE(shownMessages.empty()) << c.file;
    } else {
      ASSERT_EQ(shownMessages.size(), 1u) << c.file;
      EXPECT_EQ(shownMessages[0].buttons, QMessageBox::Open | QMessageBox::Cancel);
      EXPECT_TRUE(shownMessages[0].text.contains(c.file)) << shownMessages[0].text.toStdString();
    }
    RichTextField* box =
        std::string(c.file).find(".rtf") != std::string::npos ? w->MainBox : w->RTB2;
    EXPECT_EQ(box->text() != "before", c.opened) << c.file;
  }
}

TEST_F(CommandTest, AnOpenedTextShowsTheStartOfBothBoxes) {
  writeFile("lines.txt", QByteArray("ka\n").repeated(200));
  dialog->answers = {dir.filePath("lines.txt")};
  w->mnuFileOpen_Click();
  EXPECT_EQ(w->RTB1->text(), QString("d \n").repeated(200));
  EXPECT_EQ(w->RTB1->selStart(), 0);
  EXPECT_EQ(w->RTB2->selStart(), 0);
  // Typing at the end brings the Hindi box's caret to its end again.
  QTextCursor end(w->RTB2->document());
  end.movePosition(QTextCursor::End);
  w->RTB2->setTextCursor(end);
  type("ga");
  EXPECT_EQ(w->RTB1->selStart(), w->RTB1->text().size());
}

TEST_F(CommandTest, BuildingADocumentIsOneStep) {
  // Opening leaves nothing to undo; Send All is one step of undo.
  writeFile("doc.rtf", "{\\rtf1 {\\b a}b{\\i c}\\par d\\par}");
  dialog->answers = {dir.filePath("doc.rtf")};
  w->Command13_Click();
  EXPECT_EQ(w->MainBox->text(), "abc\nd");
  EXPECT_FALSE(w->MainBox->document()->isUndoAvailable());
  type("namaste");
  QTest::keyClick(w->RTB2, Qt::Key_Return);
  type("dharma");
  w->Command7_Click();
  EXPECT_EQ(w->MainBox->text(), "abc\ndueLrs \n/keZ ");
  w->MainBox->document()->undo();
  EXPECT_EQ(w->MainBox->text(), "abc\nd");
  EXPECT_FALSE(w->MainBox->document()->isUndoAvailable());
  // Replacing a field's text keeps no history and marks it changed.
  w->MainBox->document()->setModified(false);
  w->MainBox->setText("x\ny");
  EXPECT_TRUE(w->MainBox->document()->isModified());
  EXPECT_FALSE(w->MainBox->document()->isUndoAvailable());
  EXPECT_EQ(w->MainBox->selStart(), 0);
}

// Fonts that are not installed keep their names through opening, editing and
// saving, though they show in the document's font.
TEST_F(CommandTest, UninstalledFontsKeepTheirNames) {
  writeFile("fonts.rtf",
            "{\\rtf1{\\fonttbl{\\f0 No Such Font Here;}{\\f1 DejaVu Sans;}}\\f0 ab\\f1 cd\\par}");
  dialog->answers = {dir.filePath("fonts.rtf")};
  w->Command13_Click();
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(2);
  EXPECT_EQ(w->MainBox->selFontName(), std::optional<QString>("No Such Font Here"));
  w->MainBox->setSelStart(2);
  w->MainBox->setSelLength(2);
  EXPECT_EQ(w->MainBox->selFontName(), std::optional<QString>("DejaVu Sans"));
  // Changing fonts either way.
  w->MainBox->setSelStart(1);
  w->MainBox->setSelLength(2);
  w->MainBox->setSelFontName("Another Missing Font");
  EXPECT_EQ(w->MainBox->selFontName(), std::optional<QString>("Another Missing Font"));
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(1);
  w->MainBox->setSelFontName("DejaVu Sans");
  dialog->answers = {dir.filePath("saved.rtf")};
  w->mnuFileSaveEditingBoxAs_Click();
  RichDocument saved;
  const QByteArray bytes = readFile("saved.rtf");
  ASSERT_TRUE(
      readRtf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), saved));
  ASSERT_EQ(saved.paragraphs.size(), 1u);
  std::vector<std::pair<std::u16string, std::u16string>> runs;
  for (const RichRun& r : saved.paragraphs[0].runs) runs.push_back({r.text, r.format.font});
  const std::vector<std::pair<std::u16string, std::u16string>> expected = {
      {u"a", u"DejaVu Sans"}, {u"bc", u"Another Missing Font"}, {u"d", u"DejaVu Sans"}};
  EXPECT_EQ(runs, expected);
}

}  // namespace
}  // namespace kavelin::test
