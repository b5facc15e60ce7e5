// SPDX-License-Identifier: GPL-3.0-or-later
// The road of a change through the real window: typing and chart picks, each
// compared with a fresh conversion of the English text and one chart update.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QSettings>
#include <QTest>
#include <functional>
#include <random>

#include "fakeplatform.h"
#include "frmmain.h"
#include "gridview.h"
#include "richtextfield.h"
#include "unicodepreview.h"
#include "unicodetext.h"

namespace kavelin {
namespace {

std::u16string ustr(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                        static_cast<std::size_t>(s.size()));
}

QString qstr(const std::u16string& s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// The chart as a fresh window would show it: the fixed contents of the first
// activation, then one FillGrid per change of the English text.
class ReferenceChart : private ChartHost {
 public:
  explicit ReferenceChart(std::u16string font) : font_(std::move(font)), chart_(*this) {
    chart_.SetGrid1();
    chart_.FillSwar();
    chart_.SetGrid2();
    chart_.FillVyanjan();
  }
  void changed(const std::u16string& english) {
    Engine fresh;
    fresh.e2h(toCrLf(english));
    chart_.FillGrid(fresh.Text1());
  }
  const Chart& chart() const { return chart_; }

 private:
  std::u16string fontSelectorText() const override { return font_; }
  std::u16string englishText() const override { return {}; }
  void setEnglishText(const std::u16string&) override {}

  std::u16string font_;
  Chart chart_;
};

// Differences between two grids, cell by cell; empty when they agree.
std::string differences(const GridModel& got, const GridModel& want, const char* name) {
  if (got.Rows() != want.Rows() || got.Cols() != want.Cols()) {
    return std::string(name) + ": " + std::to_string(got.Rows()) + "x" +
           std::to_string(got.Cols()) + " cells, want " + std::to_string(want.Rows()) + "x" +
           std::to_string(want.Cols());
  }
  std::string out;
  for (int r = 0; r < got.Rows(); ++r) {
    for (int c = 0; c < got.Cols(); ++c) {
      const GridModel::Cell& g = got.cell(r, c);
      const GridModel::Cell& e = want.cell(r, c);
      const auto background = [](const GridModel::Cell& cell) {
        return cell.background.value_or(GridModel::kDefaultBackground);
      };
      if (g.text != e.text || background(g) != background(e)) {
        out += std::string(name) + "(" + std::to_string(r) + "," + std::to_string(c) + ") \"" +
               qstr(g.text).toStdString() + "\" want \"" + qstr(e.text).toStdString() + "\"\n";
      }
    }
  }
  return out;
}

class KeystrokeRoad : public testing::Test {
 protected:
  void SetUp() override {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kavelin", "Kavelin").clear();
    w = std::make_unique<frmMain>(platform);
    w->Form_Load();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    w->RTB2->setFocus();
  }
  void TearDown() override {
    w->hide();
    w.reset();
  }
  // The boxes and both grids, after a change of the English text when `changed`.
  void expectInStep(ReferenceChart& reference, const std::string& step, bool changed = true) {
    const QString english = w->RTB2->text();
    if (changed) reference.changed(ustr(english));
    Engine fresh;
    EXPECT_EQ(w->RTB1->text(), qstr(fresh.e2h(toCrLf(ustr(english))))) << step;
    EXPECT_EQ(differences(w->chart().grid1(), reference.chart().grid1(), "Grid1"), "") << step;
    EXPECT_EQ(differences(w->chart().grid2(), reference.chart().grid2(), "Grid2"), "") << step;
  }
  test::FakePlatform platform;
  std::unique_ptr<frmMain> w;
};

TEST_F(KeystrokeRoad, PicksAndKeysKeepBoxesAndChartAsAFreshConversion) {
  struct Step {
    char kind;  // 'k' key, '1' Grid1 cell, '2' Grid2 cell
    int a, b;   // key: character index; cell: row, column
  };
  const std::string keys = "kgtdnpmrsh aeiouAI\n";
  std::mt19937 rng(20261207);
  for (int sequence = 0; sequence < 12 && !HasFailure(); ++sequence) {
    w->RTB2->setText(QString());
    ReferenceChart reference(ustr(w->Combo2->currentText()));
    w->Form_Activate();  // the chart's fixed contents, as at the first activation
    expectInStep(reference, "start", false);
    std::string history;
    for (int i = 0; i < 25 && !HasFailure(); ++i) {
      const int kind = std::uniform_int_distribution<int>(0, 2)(rng);
      Step step{kind == 0 ? 'k' : kind == 1 ? '1' : '2', 0, 0};
      if (step.kind == 'k') {
        step.a = std::uniform_int_distribution<int>(0, static_cast<int>(keys.size()) - 1)(rng);
        if (keys[step.a] == '\n') {
          QTest::keyClick(w->RTB2, Qt::Key_Return);
        } else {
          QTest::keyClicks(w->RTB2, QString(QChar(keys[step.a])));
        }
        history += std::string("key '") + keys[step.a] + "' ";
      } else {
        GridView* view = step.kind == '1' ? w->Grid1 : w->Grid2;
        step.a = std::uniform_int_distribution<int>(0, view->rowCount() - 1)(rng);
        step.b = std::uniform_int_distribution<int>(0, view->columnCount() - 1)(rng);
        emit view->cellClicked(step.a, step.b);
        history += std::string("Grid") + step.kind + "(" + std::to_string(step.a) + "," +
                   std::to_string(step.b) + ") ";
      }
      expectInStep(reference, history);
    }
  }
}

// After a chart pick the grid keeps the focus; keys that type text go on in
// the English box as if typed there, and the other keys move in the grid.
TEST_F(KeystrokeRoad, TypingOnAGridAfterAPickGoesToTheEnglishBox) {
  for (GridView* grid : {w->Grid2, w->Grid1}) {
    w->RTB2->setText("na");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 1)).center());
    ASSERT_TRUE(grid->hasFocus());
    const QString picked = w->RTB2->text();
    ASSERT_NE(picked, "na");
    struct Case {
      std::function<void()> keys;
      QString english;  // after the keys
      bool gridMoves;   // the current cell moves
    } cases[] = {
        {[&] { QTest::keyClicks(grid, "aa "); }, picked + "aa ", false},
        {[&] { QTest::keyClick(grid, Qt::Key_Backspace); }, picked + "aa", false},
        {[&] { QTest::keyClick(grid, Qt::Key_Return); }, picked + "aa\n", false},
        {[&] { QTest::keyClick(grid, Qt::Key_Enter); }, picked + "aa\n\n", false},
        {[&] { QTest::keyClicks(grid, "K", Qt::ShiftModifier); }, picked + "aa\n\nK", false},
        {[&] { QTest::keyClick(grid, Qt::Key_Down); }, picked + "aa\n\nK", true},
        {[&] { QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier); }, picked + "aa\n\nK", false},
        {[&] { QTest::keyClick(grid, Qt::Key_X, Qt::AltModifier); }, picked + "aa\n\nK", false},
    };
    for (const Case& c : cases) {
      const QModelIndex before = grid->currentIndex();
      c.keys();
      EXPECT_EQ(w->RTB2->text(), c.english);
      EXPECT_EQ(grid->currentIndex() != before, c.gridMoves) << c.english.toStdString();
      EXPECT_TRUE(grid->hasFocus());
    }
    // The Hindi box follows what was typed.
    Engine fresh;
    EXPECT_EQ(w->RTB1->text(), qstr(fresh.e2h(toCrLf(ustr(w->RTB2->text())))));
  }
}

// Edits anywhere in the English box, of one character or many, with line
// breaks: the shown preview takes the same change as the Hindi box.
TEST_F(KeystrokeRoad, PreviewTakesTheChangeOfTheHindiBox) {
  w->action(Cmd::ViewUnicodePreview)->trigger();
  ASSERT_TRUE(w->unicodePreview()->isVisible());
  const QString pieces[] = {"k", "aa", "\n", "namaste ", "dharma\nbhaarat", "", "i^", "\n\n"};
  std::mt19937 rng(7);
  for (int step = 0; step < 300 && !HasFailure(); ++step) {
    QTextCursor c(w->RTB2->document());
    const int length = static_cast<int>(w->RTB2->text().size());
    c.setPosition(std::uniform_int_distribution<int>(0, length)(rng));
    const int removed = std::uniform_int_distribution<int>(0, 3)(rng);
    c.setPosition(std::min(length, c.position() + removed), QTextCursor::KeepAnchor);
    c.insertText(pieces[std::uniform_int_distribution<int>(0, 7)(rng)]);
    if (step % 50 == 49) w->RTB2->setText(w->RTB2->text().left(length / 2));
    ASSERT_EQ(w->unicodePreview()->text(), unicodeText(w->RTB1->text())) << "step " << step;
  }
  EXPECT_GT(w->RTB2->document()->blockCount(), 3);
}

}  // namespace
}  // namespace kavelin

namespace kavelin {
namespace {

// Setting a field's whole text is one change, whatever it held before.
TEST(RichTextFieldText, SettingTheWholeTextIsOneChange) {
  RichTextField box(nullptr);
  int changes = 0;
  QObject::connect(&box, &RichTextField::changed, [&] { ++changes; });
  const QString texts[] = {"kaa", "kaa", "", "", "namaste\ndharma\n", "bhaarat"};
  for (const QString& text : texts) {
    changes = 0;
    box.setText(text);
    EXPECT_EQ(changes, 1) << text.toStdString();
    EXPECT_EQ(box.text(), text);
  }
}

}  // namespace
}  // namespace kavelin
