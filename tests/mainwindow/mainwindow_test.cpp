// SPDX-License-Identifier: GPL-3.0-or-later
// The main window offscreen: its controls, the transliteration on every change,
// the font lists, the layout toggle, the placement and the Editing Box keys.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <random>

#include "fakeplatform.h"
#include "fontlists.h"
#include "forms.h"
#include "frmmain.h"
#include "gridview.h"
#include "placement.h"
#include "richtextfield.h"
#include "statusbar.h"

namespace kavelin {
namespace {

// What the Hindi box must show for an English text: a full conversion.
QString expectedHindi(const QString& english) {
  Engine engine;
  return qstr(engine.e2h(toCrLf(ustr(english))));
}

void clearPlacement() {
  QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kavelin", "Kavelin").clear();
}

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    clearPlacement();
    w = std::make_unique<frmMain>(platform);
    w->Form_Load();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->Form_Activate();
  }
  void TearDown() override {
    w->hide();
    w.reset();
  }
  QRect twipsRect(QWidget* c) const {
    return QRect(c->x() * 15, c->y() * 15, c->width() * 15, c->height() * 15);
  }
  test::FakePlatform platform;
  std::unique_ptr<frmMain> w;
};

TEST_F(MainWindow, ControlsAtTheirDesignPlaces) {
  struct Case {
    QWidget* control;
    QRect twips;
    QString caption;
  } cases[] = {
      {w->Image1, {120, 480, 1455, 975}, ""},
      {w->Command2, {1680, 480, 735, 975}, "&Intro"},
      {w->Command1, {2400, 480, 735, 975}, "&Clear"},
      {w->Command6, {3120, 480, 735, 975}, "&Print"},
      {w->Command7, {3960, 480, 975, 495}, "S&end All >"},
      {w->Command8, {3960, 960, 975, 495}, "Se&nd Sel >"},
      {w->Command9, {5040, 480, 735, 975}, "&Settings"},
      {w->Command3, {5880, 480, 735, 975}, "&Help"},
      {w->Command4, {6600, 480, 735, 975}, "&About"},
      {w->Command5, {7320, 480, 735, 975}, "E&xit"},
      {w->Label2, {1680, 1560, 2895, 255}, "Transliterated Text ( Hindi )"},
      {w->RTB1, {1680, 1800, 6375, 2175}, ""},
      {w->Label1, {1680, 4080, 2415, 255}, "Text To Transliterate ( English )"},
      {w->RTB2, {1680, 4320, 6375, 2175}, ""},
      {w->Grid2, {120, 1560, 1500, 4935}, ""},
      {w->Grid1, {120, 6600, 7935, 900}, ""},
      {w->Command10, {8280, 120, 255, 255}, "<"},
      {w->Command11, {8520, 120, 855, 255}, "Copy All"},
      {w->Command12, {9360, 120, 615, 255}, "Save"},
      {w->Command13, {9960, 120, 615, 255}, "Open"},
      {w->Command14, {10560, 120, 615, 255}, "Clear"},
      {w->tbToolBar, {0, 0, 8085, 390}, ""},
  };
  for (const Case& c : cases) {
    const QRect got = twipsRect(c.control);
    // Whole pixels: within one pixel (15 twips) of the design.
    EXPECT_LE(std::abs(got.x() - c.twips.x()), 14) << c.control->objectName().toStdString();
    EXPECT_LE(std::abs(got.y() - c.twips.y()), 14) << c.control->objectName().toStdString();
    EXPECT_LE(std::abs(got.width() - c.twips.width()), 14) << c.control->objectName().toStdString();
    EXPECT_LE(std::abs(got.height() - c.twips.height()), 14)
        << c.control->objectName().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(c.control)) {
      EXPECT_EQ(b->text(), c.caption);
    }
    if (auto* l = qobject_cast<QLabel*>(c.control); l && !c.caption.isEmpty()) {
      EXPECT_EQ(l->text(), c.caption);
    }
  }
  EXPECT_EQ(w->Frame1->title(), "Editing Box");
  EXPECT_EQ(w->windowHandle()->title(), "Kavelin");
  EXPECT_EQ(twipsRect(w->MainBox).topLeft(), QPoint(120, 240));
  EXPECT_FALSE(w->windowIcon().isNull());
  for (QToolButton* b : {w->Command1, w->Command2, w->Command3, w->Command4, w->Command5,
                         w->Command6, w->Command9}) {
    EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
    EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  }
  EXPECT_FALSE(w->Image1->pixmap().isNull());
  // The font lists sit on the toolbar at their design place.
  EXPECT_EQ(w->Combo2->parentWidget(), w->tbToolBar);
  EXPECT_EQ(w->Combo2->x(), 5040 / 15);
}

TEST_F(MainWindow, FontsAndInitialContent) {
  EXPECT_EQ(w->RTB1->baseFont().family(), "DevLys 160");
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 14.25);
  EXPECT_EQ(w->MainBox->baseFont().family(), "DevLys 160");
  EXPECT_DOUBLE_EQ(w->MainBox->baseFont().pointSizeF(), 14.25);
  EXPECT_EQ(w->RTB2->baseFont().family(), "MS Sans Serif");
  EXPECT_DOUBLE_EQ(w->RTB2->baseFont().pointSizeF(), 12);
  // Start-up showed the Editing Box's font in the lists.
  EXPECT_EQ(w->Combo2->currentText(), "DevLys 160");
  EXPECT_EQ(w->Combo1->currentText(), "14.25");
  EXPECT_EQ(w->Combo1->count(), 33);
  EXPECT_EQ(w->Combo1->itemText(0), "8");
  EXPECT_EQ(w->Combo1->itemText(32), "72");
  EXPECT_GT(w->Combo2->count(), 0);
  EXPECT_EQ(w->RTB1->text(), "");
  EXPECT_EQ(w->RTB2->text(), "");
}

TEST_F(MainWindow, ToolbarMenusAndStatusBar) {
  const QStringList keys = {"New",        "Open",   "Save",       "Print",  "Cut",
                            "Copy",       "Paste",  "Bold",       "Italic", "Underline",
                            "Align Left", "Center", "Align Right"};
  QStringList got;
  int separators = 0;
  for (QAction* a : w->tbToolBar->actions()) {
    if (a->isSeparator()) ++separators;
    if (a->data().toString().isEmpty()) continue;
    got << a->data().toString();
    EXPECT_EQ(a->toolTip(), a->data().toString());
    EXPECT_FALSE(a->icon().isNull()) << a->data().toString().toStdString();
  }
  EXPECT_EQ(got, keys);
  EXPECT_EQ(separators, 4);

  struct MenuCase {
    const char* name;
    const char* caption;
  } menus[] = {{"mnuFileNew", "&New"},
               {"mnuFileOpen", "&Open..."},
               {"mnuFileClose", "&Close"},
               {"mnuFileSave", "&Save"},
               {"mnuFileSaveAs", "Save &As..."},
               {"mnuFileSaveEditingBoxAs", "Save &Editing Box As..."},
               {"mnuFilePageSetup", "Page Set&up..."},
               {"mnuFilePrint", "&Print..."},
               {"mnuFileExit", "E&xit"},
               {"mnuEditUndo", "&Undo"},
               {"mnuEditCut", "Cu&t"},
               {"mnuEditCopy", "&Copy"},
               {"mnuEditPaste", "&Paste"},
               {"mnuEditPasteSpecial", "Paste &Special..."},
               {"mnuViewToolbar", "&Toolbar"},
               {"mnuViewStatusBar", "Status &Bar"},
               {"mnusettings", "&Settings"},
               {"mnuViewRefresh", "&Refresh"},
               {"mnuViewWebBrowser", "&Web Browser"},
               {"mnuHelpContents", "&Contents"},
               {"mnuHelpSearchForHelpOn", "&Search For Help On..."},
               {"mnuHelpAbout", "&About "}};
  for (const MenuCase& m : menus) {
    auto* action = w->menuBar()->findChild<QAction*>(m.name);
    ASSERT_NE(action, nullptr) << m.name;
    EXPECT_EQ(action->text(), m.caption);
  }
  EXPECT_EQ(w->menuBar()->findChild<QAction*>("mnuFileNew")->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_N));
  EXPECT_TRUE(w->menuBar()->findChild<QAction*>("mnuViewToolbar")->isChecked());
  EXPECT_TRUE(w->menuBar()->findChild<QAction*>("mnuViewStatusBar")->isChecked());
  QStringList titles;
  for (QAction* a : w->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Help"}));

  EXPECT_EQ(w->sbStatusBar->panel(0)->text(), "Ready");
  EXPECT_EQ(w->sbStatusBar->panel(1)->text(), "CAPS");
  EXPECT_EQ(w->sbStatusBar->panel(2)->text(), "NUM");
  EXPECT_FALSE(w->sbStatusBar->panel(3)->text().isEmpty());
  EXPECT_FALSE(w->sbStatusBar->panel(4)->text().isEmpty());
}

TEST_F(MainWindow, TypingTransliteratesAndTracks) {
  QTest::keyClicks(w->RTB2, "namaste dha");
  EXPECT_EQ(w->RTB1->text(), expectedHindi("namaste dha"));
  EXPECT_EQ(w->RTB1->text(), "ueLrs /k ");
  EXPECT_EQ(w->transliterator().chartToken(), u"dha");
  EXPECT_EQ(w->chart().grid1().cell(1, 1).text, u"dha");  // after "dh": its syllables
  EXPECT_EQ(w->RTB1->textCursor().position(), w->RTB1->text().size());
  QTest::keyClick(w->RTB2, Qt::Key_Return);
  QTest::keyClicks(w->RTB2, "bhaarat");
  EXPECT_EQ(w->RTB1->text(), "ueLrs /k \nHkkjr ");
  // Deleting goes back.
  for (int i = 0; i < 8; ++i) QTest::keyClick(w->RTB2, Qt::Key_Backspace);
  EXPECT_EQ(w->RTB1->text(), "ueLrs /k ");
}

TEST_F(MainWindow, HindiBoxAlwaysEqualsAFullConversion) {
  std::mt19937 rng(42);
  const QString alphabet = "aaeiouAIkgtdnpmrsSh     \n.,^";
  for (int step = 0; step < 400; ++step) {
    QTextCursor c(w->RTB2->document());
    const int length = w->RTB2->text().size();
    c.setPosition(std::uniform_int_distribution<int>(0, length)(rng));
    if (step % 5 == 4 && length > 0) {
      c.setPosition(std::min(length, c.position() + 3), QTextCursor::KeepAnchor);
      c.removeSelectedText();
    } else {
      QString piece;
      for (int i = std::uniform_int_distribution<int>(1, 6)(rng); i > 0; --i) {
        piece += alphabet[std::uniform_int_distribution<int>(0, alphabet.size() - 1)(rng)];
      }
      c.insertText(piece);
    }
    ASSERT_EQ(w->RTB1->text(), expectedHindi(w->RTB2->text())) << step;
  }
  // Formatting applied to the Hindi box does not survive the next change.
  w->RTB1->selectAll();
  w->RTB1->setSelBold(true);
  QTest::keyClicks(w->RTB2, "k");
  w->RTB1->selectAll();
  EXPECT_EQ(w->RTB1->selBold(), std::optional<bool>(false));
  EXPECT_EQ(w->RTB1->text(), expectedHindi(w->RTB2->text()));
}

TEST_F(MainWindow, SizeList) {
  struct Case {
    const char* text;
    double applied;
  } cases[] = {{"14", 14}, {"9.5", 9.5}, {"12pt", 12}, {"6", 6},    {"72", 72}, {"5.9", 12},
               {"73", 12}, {"", 12},     {"abc", 12},  {" 20", 20}, {"1", 12},  {"-8", 12},
               {"7.", 7},  {"2e1", 20},  {"3e", 12},   {"8,5", 8}};
  for (const Case& c : cases) {
    w->setComboText(w->Combo1, c.text);
    EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), c.applied) << c.text;
  }
  // Typing 14: after "1" the box takes 12 points, after "4" 14.
  w->Combo1->lineEdit()->clear();
  QTest::keyClick(w->Combo1->lineEdit(), Qt::Key_1);
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 12);
  QTest::keyClick(w->Combo1->lineEdit(), Qt::Key_4);
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 14);
  // In wide layout the lists act on the Editing Box's selection only.
  w->Command10_Click();
  w->MainBox->setText("abcdef");
  w->MainBox->setSelStart(1);
  w->MainBox->setSelLength(2);
  w->setComboText(w->Combo1, "30");
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 14);
  EXPECT_EQ(w->MainBox->selFontSize(), std::optional<double>(30));
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(3);
  EXPECT_EQ(w->MainBox->selFontSize(), std::nullopt);  // mixed
}

TEST_F(MainWindow, FontNameList) {
  w->Combo2->addItem("DevLys 160");
  w->Combo2->addItem("Lohit Devanagari");
  // A pick of "DevLys 160" in normal layout gives the bold-named font.
  w->Combo2->setCurrentText("DevLys 160");
  w->Combo2_Click();
  EXPECT_EQ(w->RTB1->baseFont().family(), "DevLys 160 Bold");
  w->Combo2->setCurrentText("Lohit Devanagari");
  w->Combo2_Click();
  EXPECT_EQ(w->RTB1->baseFont().family(), "Lohit Devanagari");
  // Typed names have no special case.
  w->setComboText(w->Combo2, "DevLys 160");
  EXPECT_EQ(w->RTB1->baseFont().family(), "DevLys 160");
  // Wide layout: the Editing Box's selection, no special case.
  w->Command10_Click();
  w->MainBox->setText("abc");
  w->MainBox->selectAll();
  w->Combo2->setCurrentText("DevLys 160");
  w->Combo2_Click();
  EXPECT_EQ(w->MainBox->selFontName(), std::optional<QString>("DevLys 160"));
  EXPECT_EQ(w->RTB1->baseFont().family(), "DevLys 160");
}

TEST_F(MainWindow, LayoutToggleAndResizeArithmetic) {
  // First run: 12000 x 9000 twips, so the frame is 12000 - 8160 - 300 wide.
  EXPECT_EQ(w->frameGeometry().width() * 15, 12000);
  EXPECT_EQ(w->frameGeometry().height() * 15, 9000);
  EXPECT_EQ(w->Frame1->width() * 15, 3540);
  EXPECT_EQ(w->MainBox->width(), (w->Frame1->width() * 15 - 200) / 15);
  EXPECT_EQ(w->Frame1->height(), static_cast<int>((9000 - 480 - 1100) / 15));

  w->Command10_Click();
  EXPECT_EQ(w->Command10->text(), ">");
  EXPECT_EQ(w->Frame1->pos(), QPoint(50 / 15, 480 / 15));
  EXPECT_EQ(w->Frame1->width(), static_cast<int>((12000 - 45 - 300) / 15));
  EXPECT_TRUE(w->wideLayout());

  // The arithmetic runs on the outer size, frame included.
  w->resize(900, 650);
  QSize outer = w->frameGeometry().size() * 15;
  EXPECT_EQ(w->Frame1->width(), (outer.width() - 45 - 300) / 15);
  EXPECT_EQ(w->Frame1->height(), (outer.height() - 480 - 1100) / 15);

  w->Command10_Click();
  EXPECT_EQ(w->Command10->text(), "<");
  EXPECT_EQ(w->Frame1->pos(), QPoint(8160 / 15, 480 / 15));
  EXPECT_EQ(w->Frame1->width(), (outer.width() - 8160 - 300) / 15);

  // Too small: the negative results are skipped, the others still run.
  const QSize frame = w->Frame1->size();
  w->resize(400, 650);
  outer = w->frameGeometry().size() * 15;
  EXPECT_EQ(w->Frame1->width(), frame.width());
  EXPECT_EQ(w->Frame1->height(), (outer.height() - 480 - 1100) / 15);
}

TEST_F(MainWindow, EditingBoxKeys) {
  w->MainBox->setText("one two. three");
  w->MainBox->selectAll();
  w->MainBox->setSelFontSize(20);
  QTest::keyClick(w->MainBox, Qt::Key_Greater, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(w->MainBox->selFontSize(), std::optional<double>(22));
  EXPECT_EQ(w->Combo1->currentText(), "22");
  EXPECT_DOUBLE_EQ(w->RTB1->baseFont().pointSizeF(), 22);  // normal layout: the Hindi box too
  QTest::keyClick(w->MainBox, Qt::Key_Less, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(w->MainBox->selFontSize(), std::optional<double>(20));
  // Other modifiers do nothing, and a key held with Ctrl types nothing.
  QTest::keyClick(w->MainBox, Qt::Key_Greater, Qt::ControlModifier);
  QTest::keyClick(w->MainBox, Qt::Key_Period, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(w->MainBox->selFontSize(), std::optional<double>(20));
  EXPECT_EQ(w->MainBox->text(), "one two. three");

  // Alt+W to the next word end, Alt+S to the next sentence end.
  w->MainBox->setSelStart(0);
  QTest::keyClick(w->MainBox, Qt::Key_W, Qt::AltModifier);
  EXPECT_EQ(w->MainBox->selStart(), 3);
  QTest::keyClick(w->MainBox, Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(w->MainBox->selStart(), 7);
  EXPECT_EQ(w->MainBox->text(), "one two. three");  // nothing typed
  w->MainBox->setSelStart(9);
  QTest::keyClick(w->MainBox, Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(w->MainBox->selStart(), 14);  // no sentence end follows: the end

  // The same moves in the English box, which leave the Hindi box alone.
  QTest::keyClicks(w->RTB2, "ka ga? na");
  const QString hindi = w->RTB1->text();
  w->RTB2->setSelStart(0);
  QTest::keyClick(w->RTB2, Qt::Key_W, Qt::AltModifier);
  EXPECT_EQ(w->RTB2->selStart(), 2);
  QTest::keyClick(w->RTB2, Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(w->RTB2->selStart(), 5);
  EXPECT_EQ(w->RTB1->text(), hindi);
}

TEST_F(MainWindow, PicksAppendTheKeyAndPutTheCaretAtTheEnd) {
  QTest::keyClicks(w->RTB2, "k");
  w->RTB2->setSelStart(0);
  // Row 3 of the family of "k" is "kh".
  const QRect cell = w->Grid2->visualItemRect(w->Grid2->item(3, 1));
  QTest::mouseClick(w->Grid2->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(w->RTB2->text(), "kkh");
  EXPECT_EQ(w->RTB2->textCursor().position(), 3);
  EXPECT_EQ(w->RTB1->text(), expectedHindi("kkh"));
}

TEST(Placement, SavedOnCloseAndRestored) {
  clearPlacement();
  QRect outer;
  {
    test::FakePlatform platform;
    frmMain w(platform);
    w.Form_Load();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.frameGeometry(), QRect(1000 / 15, 1000 / 15, 12000 / 15, 9000 / 15));
    w.setGeometry(100, 120, 700, 500);
    outer = w.frameGeometry();
    w.close();
  }
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Kavelin", "Kavelin");
  s.beginGroup("Settings");
  EXPECT_EQ(s.value("MainLeft").toString(), QString::number(outer.x() * 15));
  EXPECT_EQ(s.value("MainTop").toString(), QString::number(outer.y() * 15));
  EXPECT_EQ(s.value("MainWidth").toString(), QString::number(outer.width() * 15));
  EXPECT_EQ(s.value("MainHeight").toString(), QString::number(outer.height() * 15));
  s.setValue("MainTop", "not a number");
  s.sync();
  {
    test::FakePlatform platform;
    frmMain w(platform);
    w.Form_Load();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.frameGeometry().x(), outer.x());
    EXPECT_EQ(w.frameGeometry().size(), outer.size());
    // A stored value that is no number: that one step is skipped.
    EXPECT_NE(w.frameGeometry().y(), outer.y());
    w.showMinimized();
    w.close();
  }
  // Closed while minimized: nothing stored.
  EXPECT_EQ(QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kavelin", "Kavelin")
                .value("Settings/MainLeft")
                .toString(),
            QString::number(outer.x() * 15));
}

TEST(FontLists, LeadingNumber) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"14", 14},   {"9.5", 9.5}, {"12pt", 12},   {"", 0},   {"abc", 0},
               {"  7", 7},   {".5", 0.5},  {"1.2.3", 1.2}, {"+3", 3}, {"-4x", -4},
               {"1e2", 100}, {"1e", 1},    {"٣", 0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
}

}  // namespace
}  // namespace kavelin
