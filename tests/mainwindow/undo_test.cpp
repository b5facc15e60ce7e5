// SPDX-License-Identifier: GPL-3.0-or-later
// Work is not lost: every command that replaces a box's text is one step of
// undo there, the Editing Box asks before unsaved changes go, Save writes to
// the document's own file, and the status bar's reports give way.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "documentfiles.h"
#include "fixtures.h"
#include "gridview.h"
#include "statusbar.h"

namespace kavelin::test {
namespace {

class UndoTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  }
  void key(QWidget* box, Qt::Key k, Qt::KeyboardModifiers m = Qt::ControlModifier) {
    box->setFocus();
    QTest::keyClick(box, k, m);
  }
  // The English box and the Hindi box, which must be the English text's full
  // conversion.
  void expectEnglish(const QString& english, const char* step) {
    EXPECT_EQ(w->RTB2->text(), english) << step;
    EXPECT_EQ(w->RTB1->text(), hindiOf(english)) << step;
  }
  // The text of an RTF file as the Editing Box opens it.
  QString savedText(const QString& name) {
    QTextDocument document;
    EXPECT_EQ(openRichTextFile(dir.filePath(name), document, nullptr), RichTextOpen::kOpened);
    return document.toPlainText().trimmed();
  }
  QString panel() const { return w->sbStatusBar->panel(0)->text(); }
};

// Each command, then Ctrl+Z, Ctrl+Shift+Z, Ctrl+Z and Ctrl+Y in the English
// box: the text before and after the command by turns, the Hindi box always
// its conversion.
// A chart pick types its key at the end of the English text: one step of
// undo, and what was typed before it keeps its own steps.
TEST_F(UndoTest, AChartPickIsOneStepOfUndo) {
  for (GridView* grid : {w->Grid2, w->Grid1}) {
    w->RTB2->setText(QString());
    type("namaste ");
    type("na");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 1)).center());
    const QString picked = w->RTB2->text();
    ASSERT_NE(picked, "namaste na");
    expectEnglish(picked, "pick");
    key(w->RTB2, Qt::Key_Z);
    expectEnglish("namaste na", "undo the pick");
    key(w->RTB2, Qt::Key_Y);
    expectEnglish(picked, "redo the pick");
    key(w->RTB2, Qt::Key_Z);
    key(w->RTB2, Qt::Key_Z);
    EXPECT_NE(w->RTB2->text(), "namaste na") << "typing before the pick is still undoable";
    EXPECT_EQ(w->RTB1->text(), hindiOf(w->RTB2->text()));
  }
}

TEST_F(UndoTest, EnglishBoxCommandsAreOneStepOfUndo) {
  writeFile("opened.txt", "dharma\nbhaarat");
  const QString intro = frmMain::kIntroLine + "\ndhanyavAd !!!";
  struct Case {
    const char* name;
    std::function<void()> run;
    QString after;
  } cases[] = {
      {"File > New", [&] { w->action(Cmd::FileNew)->trigger(); }, ""},
      {"File > Close", [&] { w->action(Cmd::FileClose)->trigger(); }, ""},
      {"Clear", [&] { w->Command1->click(); }, ""},
      {"Intro", [&] { w->Command2->click(); }, intro},
      {"Send All", [&] { w->Command7->click(); }, ""},
      {"File > Open",
       [&] {
         dialog->answers = {dir.filePath("opened.txt")};
         w->action(Cmd::FileOpen)->trigger();
       },
       "dharma\nbhaarat"},
  };
  for (const Case& c : cases) {
    w->RTB2->setText(QString());
    type("namaste ");
    type("kamal");
    const QString before = w->RTB2->text();
    c.run();
    const QString& after = c.after;
    ASSERT_NE(after, before) << c.name;
    expectEnglish(after, c.name);
    key(w->RTB2, Qt::Key_Z);
    expectEnglish(before, c.name);
    key(w->RTB2, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    expectEnglish(after, c.name);
    key(w->RTB2, Qt::Key_Z);
    expectEnglish(before, c.name);
    key(w->RTB2, Qt::Key_Y);
    expectEnglish(after, c.name);
    // The typing before the command is still there to undo.
    w->action(Cmd::EditUndo)->trigger();
    w->action(Cmd::EditUndo)->trigger();
    EXPECT_NE(w->RTB2->text(), before) << c.name;
    expectEnglish(w->RTB2->text(), c.name);
  }
}

// The Edit entries follow the box with the focus, also while the menu bar
// has the keyboard (Alt+E) and after the menu has closed.
TEST_F(UndoTest, EditEntriesFollowTheFocusedBox) {
  QAction* undo = w->action(Cmd::EditUndo);
  QAction* redo = w->action(Cmd::EditRedo);
  type("ka");
  w->RTB2->setFocus();
  QTest::keyClick(w->windowHandle(), Qt::Key_E, Qt::AltModifier);
  QTest::qWait(300);  // the menu opens after a short animation
  QWidget* popup = QApplication::activePopupWidget();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  popup->close();
  undo->trigger();
  EXPECT_EQ(w->RTB2->text(), "");
  w->RTB2->setFocus();
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_TRUE(redo->isEnabled());
  redo->trigger();
  EXPECT_EQ(w->RTB2->text(), "ka");
  EXPECT_EQ(redo->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}));
}

// Clear and Open in the Editing Box ask first when it has unsaved changes:
// Cancel keeps it, Don't Save goes on, Save saves first (and a cancelled
// save dialog keeps it). The question is the one closing asks.
TEST_F(UndoTest, EditingBoxAsksBeforeUnsavedChangesGo) {
  writeFile("other.rtf", "{\\rtf1 other\\par}");
  enum Command { kClear, kOpen, kClose };
  struct Case {
    Command command;
    std::vector<QMessageBox::StandardButton> replies;
    std::deque<QString> answers;  // of the file dialogs, in turn
    const char* saved;            // the file saved first, if any
    QString editingBox;           // afterwards
  } cases[] = {
      {kClear, {QMessageBox::Cancel}, {}, nullptr, "changed"},
      {kClear, {QMessageBox::Discard}, {}, nullptr, ""},
      {kClear, {QMessageBox::Save}, {QString()}, nullptr, "changed"},
      {kClear, {QMessageBox::Save}, {"a.rtf"}, "a.rtf", ""},
      {kOpen, {QMessageBox::Cancel}, {}, nullptr, "changed"},
      {kOpen, {QMessageBox::Discard}, {"other.rtf"}, nullptr, "other"},
      {kOpen, {QMessageBox::Save}, {QString()}, nullptr, "changed"},
      {kOpen, {QMessageBox::Save}, {"b.rtf", "other.rtf"}, "b.rtf", "other"},
      {kClose, {QMessageBox::Cancel}, {}, nullptr, "changed"},
  };
  for (const Case& c : cases) {
    const std::string name = std::to_string(c.command) + " " + std::to_string(c.replies[0]);
    w->MainBox->document()->setModified(false);
    w->Command14_Click();
    ASSERT_EQ(w->MainBox->text(), "") << name;
    QTest::keyClicks(w->MainBox, "changed");
    shownMessages.clear();
    replies.assign(c.replies.begin(), c.replies.end());
    dialog->answers.clear();
    for (const QString& a : c.answers) dialog->answers.push_back(a.isEmpty() ? a : dir.filePath(a));
    const std::size_t dialogs = dialog->shown.size();
    if (c.command == kClear) w->Command14->click();
    if (c.command == kOpen) w->Command13->click();
    if (c.command == kClose) {
      EXPECT_FALSE(w->close());
    }
    ASSERT_EQ(shownMessages.size(), 1u) << name;
    const Message& m = shownMessages[0];
    EXPECT_EQ(m.icon, QMessageBox::Warning);
    EXPECT_EQ(m.buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_EQ(m.texts, (PlatformTools::ButtonTexts{{QMessageBox::Save, "&Save"},
                                                   {QMessageBox::Discard, "Do&n't Save"},
                                                   {QMessageBox::Cancel, "&Cancel"}}));
    EXPECT_TRUE(m.text.startsWith("The Editing Box has changes that are not saved.\n"));
    EXPECT_EQ(dialog->shown.size() - dialogs, c.answers.size()) << name;
    EXPECT_EQ(w->MainBox->text().trimmed(), c.editingBox) << name;
    if (c.saved) {
      EXPECT_EQ(savedText(c.saved), "changed") << name;
    }
    EXPECT_EQ(w->isWindowModified(), c.editingBox == "changed") << name;
  }
  // An unchanged box is cleared without a question.
  shownMessages.clear();
  w->MainBox->document()->setModified(false);
  w->Command14_Click();
  EXPECT_TRUE(shownMessages.empty());
}

// Clear in the Editing Box is one step of undo; what comes back is unsaved
// and formatted as it was. Send All and Send Sel are one step each.
TEST_F(UndoTest, EditingBoxCommandsAreOneStepOfUndo) {
  w->MainBox->setText("ueLrs");
  w->MainBox->selectAll();
  w->MainBox->setSelBold(true);
  w->MainBox->setSelAlignment(RichTextField::kCenter);
  w->MainBox->document()->setModified(false);
  w->Command14_Click();
  EXPECT_EQ(w->MainBox->text(), "");
  EXPECT_EQ(w->MainBox->selAlignment(), std::optional<int>(RichTextField::kLeft));
  EXPECT_EQ(w->MainBox->selBold(), std::optional<bool>(false));
  EXPECT_FALSE(w->isWindowModified());
  key(w->MainBox, Qt::Key_Z);
  EXPECT_EQ(w->MainBox->text(), "ueLrs");
  w->MainBox->selectAll();
  EXPECT_EQ(w->MainBox->selBold(), std::optional<bool>(true));
  EXPECT_EQ(w->MainBox->selAlignment(), std::optional<int>(RichTextField::kCenter));
  EXPECT_TRUE(w->isWindowModified());  // closing will ask

  type("namaste dharma");
  w->RTB1->setSelStart(0);
  w->RTB1->setSelLength(5);
  w->Command8->click();
  w->Command7->click();
  EXPECT_EQ(w->MainBox->text(), "ueLrsueLrsueLrs /keZ ");
  key(w->MainBox, Qt::Key_Z);
  EXPECT_EQ(w->MainBox->text(), "ueLrsueLrs");
  key(w->MainBox, Qt::Key_Z);
  EXPECT_EQ(w->MainBox->text(), "ueLrs");
}

// File > Save asks for a name only once; File > Save As always, proposing the
// current one. Open and Save As name the text, emptying it forgets the name.
// The Editing Box's Save and Save As go alike.
TEST_F(UndoTest, SaveWritesToTheDocumentsOwnFile) {
  EXPECT_EQ(w->action(Cmd::FileSaveAs)->shortcut(), QKeySequence("Ctrl+Shift+S"));
  type("namaste");
  dialog->answers = {dir.filePath("one")};
  w->action(Cmd::FileSave)->trigger();
  EXPECT_EQ(w->englishPath(), dir.filePath("one.txt"));
  type(" dharma");
  const std::size_t asked = dialog->shown.size();
  key(w->RTB2, Qt::Key_S);
  EXPECT_EQ(dialog->shown.size(), asked);
  EXPECT_EQ(readFile("one.txt"), "namaste dharma");
  // Save As proposes the name and writes under the new one.
  dialog->answers = {dir.filePath("two.txt")};
  key(w->RTB2, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(dialog->shown.back().fileName, dir.filePath("one.txt"));
  EXPECT_EQ(w->englishPath(), dir.filePath("two.txt"));
  type(" bhaarat");
  w->mnuFileSave_Click();
  EXPECT_EQ(readFile("one.txt"), "namaste dharma");
  EXPECT_EQ(readFile("two.txt"), "namaste dharma bhaarat");
  // A save that fails keeps the name and says why.
  writeFile("three.txt", "");
  dialog->answers = {dir.filePath("three.txt")};
  w->action(Cmd::FileOpen)->trigger();
  EXPECT_EQ(w->englishPath(), dir.filePath("three.txt"));
  QFile(dir.filePath("three.txt")).setPermissions(QFileDevice::ReadOwner);
  QDir(dir.path()).mkdir("locked");
  type("ka");
  const bool root = QFile(dir.filePath("three.txt")).open(QIODevice::WriteOnly);
  if (!root) {
    w->mnuFileSave_Click();
    ASSERT_EQ(shownMessages.size(), 1u);
    EXPECT_TRUE(shownMessages[0].text.startsWith("Could not save " + dir.filePath("three.txt")));
    EXPECT_EQ(w->englishPath(), dir.filePath("three.txt"));
  }
  // Emptying the text forgets its file.
  for (const auto& empty : std::vector<std::function<void()>>{[&] { w->mnuFileNew_Click(); },
                                                              [&] { w->Command1_Click(); },
                                                              [&] { w->Command7_Click(); }}) {
    dialog->answers = {dir.filePath("four.txt")};
    w->mnuFileSaveAs_Click();
    ASSERT_EQ(w->englishPath(), dir.filePath("four.txt"));
    empty();
    EXPECT_EQ(w->englishPath(), QString());
  }

  // The Editing Box: its Save writes to the document opened, Save As asks.
  writeFile("doc.rtf", "{\\rtf1 abc\\par}");
  w->MainBox->document()->setModified(false);
  dialog->answers = {dir.filePath("doc.rtf")};
  w->Command13_Click();
  QTest::keyClicks(w->MainBox, "x");
  const std::size_t before = dialog->shown.size();
  w->Command12->click();
  EXPECT_EQ(dialog->shown.size(), before);
  EXPECT_EQ(savedText("doc.rtf"), "abcx");
  EXPECT_FALSE(w->isWindowModified());
  dialog->answers = {dir.filePath("copy")};
  w->action(Cmd::FileSaveEditingBoxAs)->trigger();
  EXPECT_EQ(dialog->shown.back().fileName, dir.filePath("doc.rtf"));
  EXPECT_EQ(dialog->shown.back().title, "Save Rich Text");
  EXPECT_EQ(w->documentPath(), dir.filePath("copy.rtf"));
  EXPECT_EQ(savedText("copy.rtf"), "abcx");
}

// A report shows until the next edit of either box, or until its time is up.
TEST_F(UndoTest, StatusReportsGiveWay) {
  EXPECT_EQ(panel(), "Ready");
  type("ka");
  dialog->answers = {dir.filePath("a.txt")};
  w->mnuFileSave_Click();
  EXPECT_EQ(panel(), "Saved a.txt");
  type("g");
  EXPECT_EQ(panel(), "Ready");
  w->mnuFileSave_Click();
  EXPECT_EQ(panel(), "Saved a.txt");
  QTest::keyClicks(w->MainBox, "x");
  EXPECT_EQ(panel(), "Ready");
  // The time is up: the timer runs out at once here.
  w->mnuFileSave_Click();
  auto* timer = w->sbStatusBar->findChild<QTimer*>("reportTimer");
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), StatusBar::kReportMs);
  QSignalSpy expired(timer, &QTimer::timeout);
  timer->start(0);
  ASSERT_TRUE(expired.wait());
  EXPECT_EQ(panel(), "Ready");
}

}  // namespace
}  // namespace kavelin::test
