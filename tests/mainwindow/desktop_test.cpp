// SPDX-License-Identifier: GPL-3.0-or-later
// What a desktop user expects of the main window: placement kept exactly and on
// the screen, dialogs set up per command, default extensions, shortcuts, Undo
// and Redo, the formatting buttons' state, the title, the Hindi box following
// the edited line, the floating panel's place, the font list and the settings
// dialog's layout.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QStatusBar>
#include <QTextBlock>
#include <QWindow>

#include "fixtures.h"
#include "fontlists.h"
#include "frmsettings.h"
#include "numbers.h"
#include "placement.h"
#include "unicodepreview.h"

namespace kavelin::test {
namespace {

QSettings store() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kavelin", "Kavelin");
}

QStringList storedPlacement() {
  QSettings s = store();
  s.beginGroup("Settings");
  QStringList out;
  for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
    out << s.value(key).toString();
  }
  return out;
}

void storePlacement(const QStringList& values) {
  QSettings s = store();
  s.beginGroup("Settings");
  const char* keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
  for (int i = 0; i < 4; ++i) s.setValue(keys[i], values[i]);
}

// Starts the window as the program does, lets it settle, and closes it.
QRect runOnce(const std::function<void(frmMain&)>& meanwhile = nullptr) {
  FakePlatform platform;
  frmMain w(platform);
  w.Form_Load();
  w.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::qWait(50);
  if (meanwhile) meanwhile(w);
  const QRect outer = w.frameGeometry();
  w.close();
  return outer;
}

QRect available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// ---------------------------------------------------------------------------
// Geometry helpers

TEST(Geometry, FitToArea) {
  const QRect area(0, 0, 1280, 1024);
  struct Case {
    QRect outer;
    QRect fitted;
  } cases[] = {
      {{66, 66, 800, 600}, {66, 66, 800, 600}},       // inside: unchanged
      {{-40, 10, 800, 600}, {0, 10, 800, 600}},       // off the left edge
      {{900, 10, 800, 600}, {480, 10, 800, 600}},     // off the right edge
      {{10, -22, 800, 600}, {10, 0, 800, 600}},       // title bar above the screen
      {{10, 900, 800, 600}, {10, 424, 800, 600}},     // off the bottom
      {{10, 10, 2000, 1500}, {0, 0, 1280, 1024}},     // larger than the screen
      {{5000, 5000, 100, 80}, {1180, 944, 100, 80}},  // on a screen that is gone
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fitToArea(c.outer, area), c.fitted) << c.outer.x() << "," << c.outer.y();
  }
  // At 150 % on a 1280 x 900 screen the logical area is 853 x 600: the design
  // size fits, moved left.
  EXPECT_EQ(fitToArea(QRect(66, 66, 800, 600), QRect(0, 0, 853, 600)), QRect(53, 0, 800, 600));
}

TEST(Geometry, InnerOf) {
  EXPECT_EQ(innerOf(QRect(66, 66, 800, 600), QMargins(1, 22, 1, 5)), QRect(67, 88, 798, 573));
  EXPECT_EQ(innerOf(QRect(0, 0, 10, 10), QMargins(20, 20, 20, 20)).size(), QSize(1, 1));
}

TEST(Geometry, BesideOwner) {
  const QRect area(0, 0, 1280, 1024);
  const QSize strip(800, 150);
  struct Case {
    QRect owner;
    QSize panel;
    QRect place;
  } cases[] = {
      {{66, 66, 800, 600}, strip, {66, 674, 800, 150}},      // below
      {{66, 400, 800, 600}, strip, {66, 242, 800, 150}},     // no room below: above
      {{0, 0, 900, 1024}, {320, 600}, {908, 0, 320, 600}},   // right
      {{380, 0, 900, 1024}, {320, 600}, {52, 0, 320, 600}},  // left
  };
  for (const Case& c : cases) {
    const QRect got = besideOwner(c.owner, c.panel, area);
    EXPECT_EQ(got, c.place) << c.owner.x() << "," << c.owner.y();
    EXPECT_FALSE(got.intersects(c.owner));
    EXPECT_TRUE(area.contains(got));
  }
  // No room anywhere: along the bottom of the screen, still inside it.
  const QRect full(0, 0, 1280, 1024);
  EXPECT_EQ(besideOwner(full, strip, area), QRect(0, 874, 800, 150));
}

TEST(Geometry, PlacePanel) {
  const QRect area(0, 0, 1024, 768);
  const QRect window(66, 66, 800, 600);
  const std::vector<QSize> shapes = {{800, 150}, {320, 600}};
  const QSize minimum(240, 80);
  // A window over the whole screen: a bar at the top and bottom, a column on
  // the right, and controls down to y 500 on the left.
  const QRect full(0, 0, 1024, 768);
  const std::vector<QRect> controls = {
      {0, 0, 1024, 30}, {0, 740, 1024, 28}, {544, 30, 480, 700}, {0, 30, 544, 470}};
  struct Case {
    const char* what;
    QRect owner;
    std::vector<QRect> controls;
    QRect place;
  } cases[] = {
      {"room below", {66, 66, 800, 500}, {}, {66, 574, 800, 150}},
      {"room on the right", {0, 0, 600, 768}, {}, {608, 0, 320, 600}},
      {"a narrower strip below", window, {}, {66, 674, 800, 94}},
      {"a narrower column on the right", {0, 0, 760, 768}, {}, {768, 0, 256, 600}},
      {"inside, off the controls", full, controls, {0, 500, 544, 240}},
  };
  for (const Case& c : cases) {
    const QRect got = placePanel(c.owner, c.controls, shapes, minimum, area);
    EXPECT_EQ(got, c.place) << c.what;
    EXPECT_TRUE(panelFits(got, c.controls, area)) << c.what;
  }
  // Controls everywhere: the place that covers the least of them.
  const std::vector<QRect> crowded = {{0, 0, 1024, 300}, {0, 300, 500, 468}, {500, 310, 524, 458}};
  const QRect got = placePanel(full, crowded, shapes, minimum, area);
  EXPECT_TRUE(area.contains(got));
  EXPECT_EQ(got.size(), minimum);
  EXPECT_EQ((got & crowded[0]).height() * (got & crowded[0]).width() +
                (got & crowded[1]).height() * (got & crowded[1]).width() +
                (got & crowded[2]).height() * (got & crowded[2]).width(),
            240 * 70);  // the 10-pixel gap at y 300 is the only free part

  struct Fit {
    QRect panel;
    bool fits;
  } fits[] = {{{0, 500, 544, 150}, true},
              {{0, 500, 545, 150}, false},    // touches the column
              {{0, 700, 544, 150}, false},    // over the bottom bar, off the screen
              {{-1, 500, 100, 100}, false}};  // off the screen
  for (const Fit& f : fits) EXPECT_EQ(panelFits(f.panel, controls, area), f.fits) << f.panel.x();
}

// ---------------------------------------------------------------------------
// Placement

class PlacementTest : public testing::Test {
 protected:
  void SetUp() override { store().clear(); }
  void TearDown() override { store().clear(); }
};

TEST_F(PlacementTest, FirstRunOpensAtTheDesignOuterFrameAndStoresItUnchanged) {
  const QRect outer = runOnce();
  EXPECT_EQ(outer, QRect(1000 / 15, 1000 / 15, 12000 / 15, 9000 / 15));
  // 1000 twips is no whole number of pixels; the value is kept as it was.
  EXPECT_EQ(storedPlacement(), (QStringList{"1000", "1000", "12000", "9000"}));
}

TEST_F(PlacementTest, FiveRestartsKeepTheStoredValues) {
  const QStringList values{"2003", "1507", "10001", "8000"};
  storePlacement(values);
  for (int run = 0; run < 5; ++run) {
    const QRect outer = runOnce();
    EXPECT_EQ(outer, QRect(2003 / 15, 1507 / 15, 10001 / 15, 8000 / 15)) << run;
    EXPECT_EQ(storedPlacement(), values) << run;
  }
}

TEST_F(PlacementTest, AMovedWindowStoresItsNewOuterFrame) {
  storePlacement({"1500", "1500", "9000", "7500"});
  runOnce([](frmMain& w) { w.move(200, 150); });
  EXPECT_EQ(storedPlacement(), (QStringList{"3000", "2250", "9000", "7500"}));
}

TEST_F(PlacementTest, KeptOnTheAvailableScreenArea) {
  struct Case {
    QStringList stored;
  } cases[] = {{{"-30000", "1000", "12000", "9000"}},
               {{"1000", "-330", "12000", "9000"}},
               {{"90000", "90000", "12000", "9000"}},
               {{"0", "0", "40000", "30000"}}};
  for (const Case& c : cases) {
    storePlacement(c.stored);
    const QRect outer = runOnce();
    EXPECT_TRUE(available().contains(outer)) << c.stored.join(',').toStdString();
    EXPECT_LE(outer.width(), available().width());
  }
}

TEST_F(PlacementTest, EditingBoxAtStartUpAsAfterTwoToggles) {
  for (const QStringList& values : {QStringList{"1000", "1000", "12000", "9000"},
                                    QStringList{"300", "200", "14000", "10500"}}) {
    storePlacement(values);
    runOnce([](frmMain& w) {
      const QRect frame = w.Frame1->geometry();
      const QRect box = w.MainBox->geometry();
      const int windowHeight = w.frameGeometry().height();
      EXPECT_EQ(frame.height(), px(twips(windowHeight) - 480 - 1100));
      w.Command10_Click();
      w.Command10_Click();
      EXPECT_EQ(w.Frame1->geometry(), frame);
      EXPECT_EQ(w.MainBox->geometry(), box);
    });
  }
}

// ---------------------------------------------------------------------------
// Commands

class DesktopTest : public WindowTest {
 protected:
  void SetUp() override {
    store().clear();
    WindowTest::SetUp();
    exports = &platform.script(w->exportDialog());
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  }
  QString title() const { return w->windowHandle()->title(); }
  DialogScript* exports = nullptr;
};

TEST_F(DesktopTest, EachCommandSetsItsOwnDialogTitleAndFilter) {
  writeFile("doc.rtf", "{\\rtf1 abc}");
  dialog->pdf = dir.filePath("out.pdf");
  dialog->answers = {dir.filePath("doc.rtf"), QString(), QString(), QString()};
  w->Command13_Click();                      // Editing Box "Open"
  w->action(Cmd::FilePrint)->trigger();      // File > Print
  w->action(Cmd::FileSave)->trigger();       // File > Save (English text)
  w->mnuFileSaveEditingBoxAs_Click();        // File > Save Editing Box As
  w->action(Cmd::FilePageSetup)->trigger();  // File > Page Setup
  w->action(Cmd::FileOpen)->trigger();       // File > Open (English text)
  struct Expected {
    const char* kind;
    const char* title;
    const char* filter;
  } expected[] = {{"open", "Open",
                   "Documents (*.rtf *.docx *.odt)|*.rtf;*.docx;*.odt|Rich Text Format "
                   "(*.rtf)|*.rtf|Word Document (*.docx)|*.docx|OpenDocument Text (*.odt)|*.odt"},
                  {"print", "Print", nullptr},
                  {"save", "Save Text", "All Files (*.txt)|*.txt"},
                  {"save", "Save Rich Text",
                   "Rich Text Format (*.rtf)|*.rtf|Word Document (*.docx)|*.docx|"
                   "OpenDocument Text (*.odt)|*.odt"},
                  {"pagesetup", "Page Setup", nullptr},
                  {"open", "Open", "All Files (*.txt)|*.txt"}};
  ASSERT_EQ(dialog->shown.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(dialog->shown[i].kind, expected[i].kind) << i;
    EXPECT_EQ(dialog->shown[i].title, expected[i].title) << i;
    if (expected[i].filter) {
      EXPECT_EQ(dialog->shown[i].filter, expected[i].filter) << i;
    }
  }
  // The text save after the rich-text open proposes the folder, not doc.rtf.
  EXPECT_EQ(dialog->shown[2].fileName, dir.path() + "/");
  EXPECT_EQ(dialog->shown[2].defaultExt, "txt");
}

TEST_F(DesktopTest, SaveDialogsNeverProposeANameOfAnotherKind) {
  struct Case {
    const char* previous;
    const char* ext;
    const char* proposed;
  } cases[] = {{"/tmp/a/doc.rtf", "txt", "/tmp/a/"},
               {"/tmp/a/doc.RTF", "rtf", "/tmp/a/doc.RTF"},
               {"/tmp/a/doc.txt", "pdf", "/tmp/a/"},
               {"doc.txt", "rtf", ""},
               {"", "rtf", ""},
               {"/tmp/a/doc.txt", "txt", "/tmp/a/doc.txt"}};
  for (const Case& c : cases) {
    EXPECT_EQ(nameOfKind(c.previous, c.ext), c.proposed) << c.previous << " " << c.ext;
  }
}

TEST_F(DesktopTest, SavedFilesGetTheirExtension) {
  struct Case {
    const char* typed;
    const char* written;
    std::function<void()> run;
    DialogScript* dlg;
  } cases[] = {
      {"english", "english.txt", [&] { w->mnuFileSave_Click(); }, dialog},
      {"letter", "letter.rtf", [&] { w->Command12_Click(); }, dialog},
      {"unicode", "unicode.txt", [&] { w->mnuFileExportUnicode_Click(); }, exports},
      {"print", "print.pdf", [&] { w->mnuFileExportPdf_Click(); }, exports},
      {"kept.rtf", "kept.rtf", [&] { w->mnuFileSaveEditingBoxAs_Click(); }, dialog},
      {"two.parts", "two.parts", [&] { w->mnuFileSaveAs_Click(); }, dialog},
  };
  type("namaste");
  w->MainBox->setText("ueLrs");
  for (const Case& c : cases) {
    c.dlg->answers = {dir.filePath(c.typed)};
    c.run();
    EXPECT_TRUE(QFile::exists(dir.filePath(c.written))) << c.typed;
    if (QString(c.typed) != c.written) {
      EXPECT_FALSE(QFile::exists(dir.filePath(c.typed)));
    }
  }
  EXPECT_EQ(readFile("english.txt"), "namaste");
  struct Name {
    const char* name;
    const char* ext;
    const char* result;
  } names[] = {{"/x/notes", "rtf", "/x/notes.rtf"},
               {"/x/notes.rtf", "rtf", "/x/notes.rtf"},
               {"/x/.profile", "txt", "/x/.profile"},
               {"/x.d/notes", "pdf", "/x.d/notes.pdf"},
               {"", "txt", ""},
               {"/x/notes", "", "/x/notes"}};
  for (const Name& n : names) EXPECT_EQ(withDefaultExt(n.name, n.ext), n.result) << n.name;
}

TEST_F(DesktopTest, StandardShortcuts) {
  struct Case {
    Cmd command;
    const char* keys;
  } cases[] = {
      {Cmd::FileNew, "Ctrl+N"},        {Cmd::FileOpen, "Ctrl+O"}, {Cmd::FileSave, "Ctrl+S"},
      {Cmd::FilePrint, "Ctrl+P"},      {Cmd::FileExit, "Ctrl+Q"}, {Cmd::EditUndo, "Ctrl+Z"},
      {Cmd::EditRedo, "Ctrl+Shift+Z"}, {Cmd::EditCut, "Ctrl+X"},  {Cmd::FileSaveAs, "Ctrl+Shift+S"},
      {Cmd::EditCopy, "Ctrl+C"},       {Cmd::EditPaste, "Ctrl+V"}};
  for (const Case& c : cases) {
    EXPECT_EQ(w->action(c.command)->shortcut(), QKeySequence(QString(c.keys))) << c.keys;
  }
  // Ctrl+O typed in the English box opens the text dialog once.
  w->RTB2->setFocus();
  QTest::keyClick(w->RTB2, Qt::Key_O, Qt::ControlModifier);
  ASSERT_EQ(dialog->shown.size(), 1u);
  EXPECT_EQ(dialog->shown[0].filter, "All Files (*.txt)|*.txt");
  // Ctrl+C in a box still copies its selection (the box takes the key).
  w->MainBox->setText("abc");
  w->MainBox->setFocus();
  w->MainBox->selectAll();
  QTest::keyClick(w->MainBox, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "abc");
}

TEST_F(DesktopTest, UndoAndRedoOnTheActiveBox) {
  QAction* undo = w->action(Cmd::EditUndo);
  QAction* redo = w->action(Cmd::EditRedo);
  w->RTB2->setFocus();
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  type("ka");
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  undo->trigger();
  EXPECT_NE(w->RTB2->text(), "ka");
  EXPECT_EQ(w->RTB1->text(), hindiOf(w->RTB2->text()));
  EXPECT_TRUE(redo->isEnabled());
  redo->trigger();
  EXPECT_EQ(w->RTB2->text(), "ka");
  EXPECT_EQ(w->RTB1->text(), hindiOf("ka"));
  // The Hindi box is written by the conversion: nothing to undo there.
  w->RTB1->setFocus();
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
  // The Editing Box has its own history.
  w->MainBox->setFocus();
  EXPECT_FALSE(undo->isEnabled());
  QTest::keyClicks(w->MainBox, "xy");
  EXPECT_TRUE(undo->isEnabled());
  while (undo->isEnabled()) undo->trigger();
  EXPECT_EQ(w->MainBox->text(), "");
  EXPECT_EQ(w->RTB2->text(), "ka");
  // On a grid there is nothing to undo.
  w->Grid2->setFocus();
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
}

TEST_F(DesktopTest, FormattingButtonsShowTheSelection) {
  QAction* bold = w->action(Cmd::Bold);
  QAction* italic = w->action(Cmd::Italic);
  QAction* underline = w->action(Cmd::Underline);
  w->MainBox->setText("abcdef");
  w->MainBox->setFocus();
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(3);
  bold->trigger();  // as a click on the button
  EXPECT_TRUE(bold->isChecked());
  EXPECT_FALSE(italic->isChecked());
  underline->trigger();
  EXPECT_TRUE(underline->isChecked());
  struct Case {
    int start;
    int length;
    bool bold;
    bool underline;
  } cases[] = {{1, 1, true, true},    // inside the formatted part
               {4, 2, false, false},  // outside it
               {2, 3, false, false},  // mixed: not down
               {0, 3, true, true},
               {5, 0, false, false}};  // the insertion point after plain text
  for (const Case& c : cases) {
    w->MainBox->setSelStart(c.start);
    w->MainBox->setSelLength(c.length);
    EXPECT_EQ(bold->isChecked(), c.bold) << c.start << "+" << c.length;
    EXPECT_EQ(underline->isChecked(), c.underline) << c.start << "+" << c.length;
  }
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(3);
  bold->trigger();  // turns the wholly bold selection plain
  EXPECT_FALSE(bold->isChecked());
  EXPECT_EQ(w->MainBox->selBold(), std::optional<bool>(false));
  // A mixed selection stays mixed and the button stays up.
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(6);
  underline->trigger();
  EXPECT_EQ(w->MainBox->selUnderline(), std::nullopt);
  EXPECT_FALSE(underline->isChecked());
  // The English box is plain: nothing down there.
  w->RTB2->setFocus();
  EXPECT_FALSE(bold->isChecked());
}

TEST_F(DesktopTest, TitleShowsTheDocumentAndItsModifiedMark) {
  EXPECT_EQ(title(), "Kavelin");
  QTest::keyClicks(w->MainBox, "ab");
  EXPECT_EQ(title(), "Kavelin*");
  dialog->answers = {dir.filePath("notes")};
  w->Command12_Click();
  EXPECT_EQ(title(), "notes.rtf - Kavelin");
  EXPECT_EQ(w->windowFilePath(), dir.filePath("notes.rtf"));
  QTest::keyClicks(w->MainBox, "c");
  EXPECT_EQ(title(), "notes.rtf* - Kavelin");
  writeFile("other.rtf", "{\\rtf1 other}");
  dialog->answers = {dir.filePath("other.rtf")};
  replies = {QMessageBox::Discard};  // asked first: "c" is not saved
  w->Command13_Click();
  EXPECT_EQ(title(), "other.rtf - Kavelin");
  w->Command14_Click();  // Clear: a new, empty document
  EXPECT_EQ(title(), "Kavelin");
  // The English box is no document of the title.
  type("ka");
  EXPECT_EQ(title(), "Kavelin");
}

TEST_F(DesktopTest, HindiBoxFollowsTheEditedLine) {
  QStringList lines;
  for (int i = 0; i < 60; ++i) lines << QString("kamal %1").arg(i);
  w->RTB2->setText(lines.join('\n'));
  QScrollBar* bar = w->RTB1->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  // A whole new text: its end shows.
  EXPECT_TRUE(w->RTB1->textCursor().atEnd());
  EXPECT_TRUE(w->RTB1->viewport()->rect().contains(w->RTB1->cursorRect()));
  EXPECT_GT(bar->value(), 0);
  struct Case {
    int line;
  } cases[] = {{3}, {30}, {59}, {0}};
  for (const Case& c : cases) {
    QTextCursor english(w->RTB2->document()->findBlockByNumber(c.line));
    english.movePosition(QTextCursor::EndOfBlock);
    w->RTB2->setTextCursor(english);
    QTest::keyClicks(w->RTB2, "ga");
    const QTextCursor caret = w->RTB1->textCursor();
    EXPECT_EQ(caret.blockNumber(), c.line);
    EXPECT_TRUE(caret.atBlockEnd()) << c.line;
    EXPECT_TRUE(w->RTB1->viewport()->rect().contains(w->RTB1->cursorRect())) << c.line;
    if (c.line < 10) {
      EXPECT_LT(bar->value(), bar->maximum() / 2) << c.line;
    }
    EXPECT_EQ(w->RTB1->text(), hindiOf(w->RTB2->text()));
  }
  // Removing a line break keeps the caret on the joined line.
  QTextCursor english(w->RTB2->document()->findBlockByNumber(10));
  english.deletePreviousChar();
  w->RTB2->setTextCursor(english);
  EXPECT_EQ(w->RTB1->textCursor().blockNumber(), 9);
  EXPECT_EQ(w->RTB1->text(), hindiOf(w->RTB2->text()));
}

// The rectangles of the main window's controls on the screen.
std::vector<QRect> controlsOf(frmMain& w) {
  std::vector<QRect> rects;
  QList<QWidget*> controls = w.centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  controls << w.menuBar() << w.statusBar();
  for (QWidget* c : controls) {
    if (c->isVisible()) rects.emplace_back(c->mapToGlobal(QPoint(0, 0)), c->size());
  }
  return rects;
}

// The panel goes beside the window where the screen has room, else where it
// covers none of the window's controls; a place of the user's that has come to
// cover them (or to leave the screen) is corrected when the panel shows again,
// and one that covers nothing is kept.
TEST_F(DesktopTest, PreviewPanelOnTheScreenAndOffTheWindowsControls) {
  QAction* toggle = w->action(Cmd::ViewUnicodePreview);
  UnicodePreview* preview = w->unicodePreview();
  const auto showAgain = [&] {
    if (toggle->isChecked()) toggle->trigger();
    toggle->trigger();
    ASSERT_TRUE(preview->isVisible());
  };
  showAgain();
  EXPECT_FALSE(preview->frameGeometry().intersects(w->frameGeometry()));
  EXPECT_TRUE(available().contains(preview->frameGeometry()));

  // The window over the whole screen: in its empty part, off every control.
  w->setGeometry(available().marginsRemoved(w->windowHandle()->frameMargins()));
  QTest::qWait(20);
  struct Case {
    const char* what;
    QRect userPlace;  // empty: as placed
    bool kept;
  } cases[] = {
      {"first show", {}, false},
      {"over the status bar", {10, available().height() - 60, 400, 150}, false},
      {"off the screen", {-300, 700, 400, 150}, false},
  };
  for (const Case& c : cases) {
    if (!c.userPlace.isNull()) preview->setGeometry(c.userPlace);
    showAgain();
    const QRect panel = preview->frameGeometry();
    EXPECT_TRUE(available().contains(panel)) << c.what;
    for (const QRect& control : controlsOf(*w)) {
      EXPECT_FALSE(panel.intersects(control)) << c.what;
    }
    EXPECT_GE(panel.width(), 240) << c.what;
    EXPECT_GE(panel.height(), 80) << c.what;
  }
  // A place that covers no control stays where the user put it.
  const QRect free = preview->geometry().adjusted(4, 4, -4, -4);
  preview->setGeometry(free);
  showAgain();
  EXPECT_EQ(preview->geometry(), free);
}

// In wide layout the font lists show the font name and point size the
// document stores at the caret or selection, empty where mixed; showing them
// changes nothing in the document. In narrow layout they show the Hindi box's.
TEST_F(DesktopTest, WideLayoutFontListsFollowTheEditingBox) {
  writeFile("fonts.rtf",
            "{\\rtf1{\\fonttbl{\\f0 DevLys 160;}{\\f1 Arial;}{\\f2 No Such Font Here;}}"
            "\\f0\\fs28 ab\\f1\\fs28 cd\\f2\\fs21 ef\\f0\\fs20 gh\\par}");
  dialog->answers = {dir.filePath("fonts.rtf")};
  w->Command13_Click();
  ASSERT_EQ(w->MainBox->text(), "abcdefgh");
  const QString narrowName = w->Combo2->currentText();
  const QString narrowSize = w->Combo1->currentText();
  w->MainBox->setFocus();
  w->MainBox->setSelStart(1);  // in narrow layout the lists stay the Hindi box's
  EXPECT_EQ(w->Combo2->currentText(), narrowName);
  EXPECT_EQ(w->Combo1->currentText(), narrowSize);
  w->Command10_Click();
  ASSERT_TRUE(w->wideLayout());
  const QByteArray html = w->MainBox->document()->toHtml().toUtf8();
  struct Case {
    int start, length;
    QString name, size;
  } cases[] = {
      {1, 0, "DevLys 160", "14"},  // the caret: the character before it
      {0, 2, "DevLys 160", "14"},
      {2, 2, "Arial", "14"},
      {4, 2, "No Such Font Here", "10.5"},
      {1, 2, "", "14"},  // two fonts, one size
      {5, 2, "", ""},
      {6, 2, "DevLys 160", "10"},
      {0, 8, "", ""},
  };
  for (const Case& c : cases) {
    w->MainBox->setSelStart(c.start);
    w->MainBox->setSelLength(c.length);
    EXPECT_EQ(w->Combo2->currentText(), c.name) << c.start << "+" << c.length;
    EXPECT_EQ(w->Combo1->currentText(), c.size) << c.start << "+" << c.length;
  }
  EXPECT_EQ(w->MainBox->document()->toHtml().toUtf8(), html);
  EXPECT_FALSE(w->MainBox->document()->isModified());
  // Choosing from a list still formats the selection, and the list shows it.
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(4);
  w->Combo1->setCurrentIndex(w->Combo1->findText("20"));
  emit w->Combo1->activated(w->Combo1->currentIndex());
  EXPECT_EQ(w->MainBox->selFontSize(), std::optional<double>(20));
  EXPECT_EQ(w->Combo1->currentText(), "20");
  EXPECT_EQ(w->Combo2->currentText(), "");
  // Back in narrow layout: the Hindi box's font again.
  w->Command10_Click();
  EXPECT_EQ(w->Combo2->currentText(), w->RTB1->baseFont().family());
  EXPECT_EQ(w->Combo1->currentText(), sizeText(w->RTB1->baseFont().pointSizeF()));
}

TEST_F(DesktopTest, FontListShowsEachFamilyOnce) {
  EXPECT_EQ(fontFamilies({"Noto Sans [GOOG]", "Noto Sans [Monotype]", "DejaVu Sans", "dejavu sans",
                          "Lohit Devanagari", " ", "A [b] [c]"}),
            (QStringList{"Noto Sans", "DejaVu Sans", "Lohit Devanagari", "A [b]"}));
  QStringList entries;
  int widest = 0;
  const QFontMetrics metrics(w->Combo2->view()->font());
  for (int i = 0; i < w->Combo2->count(); ++i) {
    entries << w->Combo2->itemText(i).toCaseFolded();
    widest = std::max(widest, metrics.horizontalAdvance(w->Combo2->itemText(i)));
  }
  ASSERT_GE(entries.size(), 2);
  EXPECT_EQ(entries.size(), QSet<QString>(entries.begin(), entries.end()).size());
  // The legacy-code names first.
  EXPECT_EQ(entries.mid(0, 2), (QStringList{"devlys 160", "devlys 160 bold"}));
  EXPECT_GE(w->Combo2->view()->minimumWidth(), widest);
}

// Whether a label or field shows its whole text on one line, inside its parent.
void expectUncut(QWidget* control, const QString& text, const QFont& font) {
  const int needed = QFontMetrics(font).horizontalAdvance(text);
  EXPECT_GE(control->contentsRect().width(), needed) << text.toStdString();
  EXPECT_TRUE(control->parentWidget()->rect().contains(control->geometry())) << text.toStdString();
}

TEST_F(DesktopTest, SettingsDialogShowsLabelsAndSampleWhole) {
  struct Case {
    const char* file;
  } cases[] = {{""},  // "Not available" in both labels
               {"[Hindi Box]\nFontName=DevLys 160\nFontSize=14.25\n"},
               {"[Hindi Box]\nFontName=Lohit Devanagari\nFontSize=28\n"}};
  for (const Case& c : cases) {
    writeFile("settings.ini", c.file);
    w->action(Cmd::Settings)->trigger();
    auto* s = w->findChild<frmSettings*>();
    ASSERT_NE(s, nullptr);
    expectUncut(s->Label1, s->Label1->text(), s->Label1->font());
    expectUncut(s->Label2, s->Label2->text(), s->Label2->font());
    const QMargins m = s->Text1->textMargins();
    EXPECT_GE(s->Text1->width() - m.left() - m.right() - 4,
              QFontMetrics(s->Text1->font()).horizontalAdvance(s->Text1->text()))
        << c.file;
    EXPECT_GE(s->Text1->height(), QFontMetrics(s->Text1->font()).height()) << c.file;
    // Frames side by side without overlapping, all inside the dialog.
    EXPECT_LE(s->Frame1->geometry().right(), s->Frame2->x());
    EXPECT_LE(s->Frame2->geometry().right(), s->Frame4->x());
    EXPECT_LE(s->Frame4->geometry().right(), s->Command1->x());
    for (QWidget* inner :
         std::initializer_list<QWidget*>{s->Frame1, s->Frame2, s->Frame4, s->Command1}) {
      EXPECT_TRUE(s->Frame3->rect().contains(inner->geometry()));
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{s->Frame3, s->OKButton, s->CancelButton, s->Command2}) {
      EXPECT_TRUE(s->rect().contains(control->geometry()));
    }
    EXPECT_GT(s->OKButton->y(), s->Frame3->geometry().bottom());
    s->CancelButton_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

}  // namespace
}  // namespace kavelin::test
