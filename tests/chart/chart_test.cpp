// SPDX-License-Identifier: GPL-3.0-or-later
// The chart: layout, fixed contents, tracking the word being typed, and picks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart.h"

namespace kavelin {
namespace {

constexpr std::uint32_t kYellow = Chart::kHighlight;
constexpr std::uint32_t kWhite = Chart::kPlain;

std::string codes(const std::u16string& s) { return glyphToCodes(s); }
std::u16string u(const std::string& s) { return latin1(s); }

// The main window as the chart sees it: the English box converts on every
// change and then calls FillGrid.
class Window : public ChartHost {
 public:
  Window() : chart(*this) {
    chart.SetGrid1();
    chart.FillSwar();
    chart.SetGrid2();
    chart.FillVyanjan();
  }
  std::u16string fontSelectorText() const override { return font; }
  std::u16string englishText() const override { return english; }
  void setEnglishText(const std::u16string& text) override {
    english = text;
    hindi = engine.e2h(toCrLf(english));
    chart.FillGrid(engine.Text1());
  }
  void type(const std::string& s) {
    for (char c : s) setEnglishText(english + static_cast<char16_t>(c));
  }
  // W set directly, as if the conversion had left it.
  void track(const std::string& w) {
    engine.setText1(u(w));
    chart.FillGrid(engine.Text1());
  }

  std::vector<std::string> strip(int row) const {
    std::vector<std::string> out;
    for (int c = 0; c < grid1().Cols(); ++c) {
      out.push_back(codes(grid1().cell(row, c).text));
    }
    return out;
  }
  std::vector<int> highlightedColumns() const {
    std::vector<int> out;
    for (int c = 0; c < grid1().Cols(); ++c) {
      const bool top = grid1().cell(0, c).background == kYellow;
      const bool bottom = grid1().cell(1, c).background == kYellow;
      EXPECT_EQ(top, bottom) << "column " << c;
      if (top) out.push_back(c);
    }
    return out;
  }
  std::vector<int> highlightedRows() const {
    std::vector<int> out;
    for (int r = 0; r < grid2().Rows(); ++r) {
      if (grid2().cell(r, 0).background == kYellow) out.push_back(r);
    }
    return out;
  }
  std::vector<std::string> keys() const {
    std::vector<std::string> out;
    for (int r = 0; r < grid2().Rows(); ++r) {
      if (!grid2().cell(r, 0).text.empty()) out.push_back(codes(grid2().cell(r, 0).text));
    }
    return out;
  }
  const GridModel& grid1() const { return chart.grid1(); }
  const GridModel& grid2() const { return chart.grid2(); }

  Engine engine;
  Chart chart;
  std::u16string font = u"DevLys 160";
  std::u16string english;
  GlyphString hindi;
};

const std::vector<std::string> kStartKeys = {
    " ", "a", "aa, A", "i", "ee, I", "u", "oo, U", "e", "ai", "o, oM", "au", "aM", "aH", "O", ""};
const std::vector<std::string> kStartGlyphs = {
    " ", "v", "vk", "b", "\xC3", "m", "\xC5", ",", ",s", "vks \xC5\xA1", "vkS", "va", "v%", "vkW",
    ""};
const std::vector<std::string> kConsonants = {
    "k", "kh", "g", "gh", "R", "ch", "chh", "j", "jh", "T", "Th", "D", "Dh", "N", "t", "th", "d",
    "dh", "n", "p", "f", "b", "bh", "m", "y", "r", "l", "v", "s", "sh", "Sh", "h", "Ksh", "tr", "Gy"};

TEST(ChartLayout, GridsAfterActivation) {
  Window w;
  const GridModel& g1 = w.grid1();
  EXPECT_EQ(g1.Cols(), 15);
  EXPECT_EQ(g1.Rows(), 2);
  EXPECT_EQ(g1.FixedCols(), 0);
  EXPECT_EQ(g1.FixedRows(), 0);
  for (int c = 0; c < 15; ++c) {
    EXPECT_EQ(g1.ColWidth(c), 600);
    EXPECT_EQ(g1.cell(0, c).fontName, u"DevLys 160");
    EXPECT_EQ(g1.cell(0, c).fontSize, 12.0);
    EXPECT_FALSE(g1.cell(1, c).fontName.has_value());  // keys keep the grid's font
  }
  EXPECT_EQ(g1.fontName(), u"MS Sans Serif");
  EXPECT_EQ(g1.fontSize(), 9.75);
  EXPECT_EQ(w.strip(1), kStartKeys);
  EXPECT_EQ(w.strip(0), kStartGlyphs);
  EXPECT_TRUE(w.highlightedColumns().empty());  // the empty token matches no key

  const GridModel& g2 = w.grid2();
  EXPECT_EQ(g2.Cols(), 2);
  EXPECT_EQ(g2.Rows(), 40);
  EXPECT_EQ(g2.ColWidth(0), 600);
  EXPECT_EQ(g2.ColWidth(1), 600);
  EXPECT_EQ(g2.fontSize(), 12.0);
  EXPECT_EQ(w.keys(), kConsonants);
  for (int r = 0; r < 40; ++r) {
    EXPECT_EQ(g2.cell(r, 1).fontName, u"DevLys 160");
    EXPECT_FALSE(g2.cell(r, 1).fontSize.has_value());
    EXPECT_FALSE(g2.cell(r, 0).fontName.has_value());
  }
  EXPECT_EQ(codes(g2.cell(30, 1).text), "\"k");
  EXPECT_EQ(codes(g2.cell(33, 1).text), "\xE9");
  for (int r = 35; r < 40; ++r) EXPECT_EQ(g2.cell(r, 0).text, u"");
  // The current cell is left where the last step put it.
  EXPECT_EQ(g2.Row(), 34);
  EXPECT_EQ(g2.Col(), 1);
}

TEST(ChartLayout, SetGridTakesTheFontSelectorText) {
  Window w;
  w.font = u"Lohit Devanagari";
  w.chart.SetGrid2();
  EXPECT_EQ(w.grid2().cell(7, 1).fontName, u"Lohit Devanagari");
  EXPECT_EQ(w.grid1().cell(0, 3).fontName, u"DevLys 160");  // only at the next SetGrid1
  w.chart.SetGrid1();
  EXPECT_EQ(w.grid1().cell(0, 3).fontName, u"Lohit Devanagari");
  EXPECT_EQ(w.grid1().Row(), 0);
  EXPECT_EQ(w.grid1().Col(), 14);
}

TEST(ChartContents, Families) {
  struct Case {
    const char* letter;
    std::vector<std::string> keys;
  } cases[] = {
      {"T", {"T", "Tr", "Th", "Thr"}},
      {"t", {"t", "tr", "tR", "T", "Tr", "th", "thr", "thR", "Th", "Thr"}},
      {"x", {"x"}},
      {"z", {"z"}},
      {"K", {"Ksh"}},
      {"a", {"a", "A", "aa", "ai", "au", "aM", "aH"}},
      {"S", {"Sh", "Shr", "ShR"}},
      {"D", {"D", "Dr", "Dh", "Dhr"}},
      {"g", {"g", "gr", "gR", "gh", "ghr", "ghR", "gy"}},
      {"G", {}},
      {"E", {}},
      {"", {}},
      {"ka", {}},
      {"5", {}},
  };
  for (const Case& c : cases) {
    Window w;
    w.chart.grid2().Clear();
    w.chart.FillGrid2(u(c.letter));
    EXPECT_EQ(w.keys(), c.keys) << c.letter;
  }
  Window w;
  w.chart.grid2().Clear();
  w.chart.FillGrid2(u"d");
  EXPECT_EQ(codes(w.grid2().cell(9, 1).text), "<\xAA");
  EXPECT_EQ(codes(w.grid2().cell(1, 1).text), "\xE6");
}

TEST(ChartContents, FillGridCol) {
  Window w;
  w.track("ru");
  // A halant alone becomes a space and brings the consonant list.
  w.chart.grid2().Clear();
  GlyphString h = u"~";
  w.chart.FillGridCol(3, h, u"xy");
  EXPECT_EQ(h, u" ");
  EXPECT_EQ(w.keys(), kConsonants);
  EXPECT_EQ(w.grid1().cell(0, 3).text, u" ");
  EXPECT_EQ(w.grid1().cell(1, 3).text, u"xy");
  EXPECT_EQ(w.grid1().cell(0, 3).background, kWhite);
  // The override table applies to every caller; the key equal to W is marked.
  h = u"anything";
  w.chart.FillGridCol(5, h, u"ru");
  EXPECT_EQ(h, u"#");
  EXPECT_EQ(w.grid1().cell(0, 5).text, u"#");
  EXPECT_EQ(w.grid1().cell(1, 5).text, u"ru");
  EXPECT_EQ(w.grid1().cell(0, 5).background, kYellow);
  EXPECT_EQ(w.grid1().cell(1, 5).background, kYellow);
  EXPECT_EQ(w.grid1().Row(), 1);
  EXPECT_EQ(w.grid1().Col(), 5);
}

// --- Tracking ---------------------------------------------------------------

TEST(ChartTracking, TypingKaa) {
  Window w;
  w.type("k");
  EXPECT_EQ(w.strip(1), (std::vector<std::string>{"k", "ka", "kaa", "ki", "kee", "ku", "koo", "ke",
                                                  "kai", "ko", "kau", "kaM", "kaH", "kO", ""}));
  EXPECT_EQ(w.strip(0), (std::vector<std::string>{"d~", "d", "dk", "fd", "dh", "dq", "dw", "ds",
                                                  "dS", "dks", "dkS", "da", "d%", "dkW", ""}));
  EXPECT_EQ(w.highlightedColumns(), std::vector<int>{0});
  EXPECT_EQ(w.keys(), (std::vector<std::string>{"k", "kr", "kR", "kh", "khr", "khR", "Ksh"}));
  EXPECT_EQ(w.highlightedRows(), std::vector<int>{0});

  w.type("a");
  EXPECT_EQ(w.strip(1)[1], "ka");  // texts unchanged
  EXPECT_EQ(w.highlightedColumns(), std::vector<int>{1});
  EXPECT_EQ(w.keys(), kConsonants);
  EXPECT_TRUE(w.highlightedRows().empty());

  w.type("a");
  EXPECT_EQ(w.highlightedColumns(), std::vector<int>{2});
  EXPECT_EQ(w.keys(), kConsonants);
  EXPECT_TRUE(w.highlightedRows().empty());
}

TEST(ChartTracking, AfterASpaceTheStripShowsTheIndependentVowels) {
  Window w;
  w.type("k ");
  EXPECT_EQ(w.engine.Text1(), u"");
  EXPECT_EQ(w.strip(1), (std::vector<std::string>{"", "a", "aa", "i", "ee", "u", "oo", "e", "ai",
                                                  "o", "au", "aM", "aH", "O", ""}));
  EXPECT_EQ(w.strip(0), (std::vector<std::string>{" ", "v", "vk", "b", "bZ", "m", "\xC5", ",", ",s",
                                                  "vks", "vkS", "va", "v%", "vkW", ""}));
  EXPECT_EQ(w.highlightedColumns(), std::vector<int>{0});
  EXPECT_EQ(w.keys(), kConsonants);
  EXPECT_TRUE(w.highlightedRows().empty());  // "k" is not marked for the empty word

  // Straight from the empty word to "aa" (a paste), which has a column of its own.
  w.setEnglishText(u"k aa");
  EXPECT_EQ(w.engine.Text1(), u"aa");
  EXPECT_EQ(w.highlightedColumns(), std::vector<int>{2});
}

TEST(ChartTracking, VowelsTypedAlone) {
  struct Case {
    const char* english;
    std::vector<std::string> family;
    std::vector<int> rows;
    std::vector<int> columns;
  } cases[] = {
      {"a", {"a", "A", "aa", "ai", "au", "aM", "aH"}, {0}, {1}},
      {"A", {"A"}, {0}, {}},  // the strip's column is "aa, A"
      {"e", {"e", "ea", "ee"}, {0}, {7}},
      {"O", {"O"}, {0}, {13}},
      {"U", {"U"}, {0}, {}},
  };
  for (const Case& c : cases) {
    Window w;
    w.track(c.english);
    EXPECT_EQ(w.keys(), c.family) << c.english;
    EXPECT_EQ(w.highlightedRows(), c.rows) << c.english;
    EXPECT_EQ(w.strip(1), kStartKeys) << c.english;
    EXPECT_EQ(w.highlightedColumns(), c.columns) << c.english;
  }
  // "aa" after the start contents: no column has that key.
  Window w;
  w.type("aa");
  EXPECT_TRUE(w.highlightedColumns().empty());
  EXPECT_EQ(w.keys(), (std::vector<std::string>{"a", "A", "aa", "ai", "au", "aM", "aH"}));
}

TEST(ChartTracking, WordsEndingInAVowelSignDigitOrMark) {
  Window w;
  w.track("oo");  // not a vowel pair of the first case: the family, then the consonants
  EXPECT_EQ(w.keys(), kConsonants);
  EXPECT_TRUE(w.highlightedRows().empty());

  w.track("k5");
  EXPECT_TRUE(w.highlightedColumns().empty());
  EXPECT_EQ(w.keys(), kConsonants);

  for (const char* word : {"k.", "k,", "k'", "k`", "k=", "k|", "k0"}) {
    w.track(word);
    EXPECT_EQ(w.keys(), kConsonants) << word;
  }
}

TEST(ChartTracking, NasalOLeavesTheStripAlone) {
  Window w;
  w.type("ko");
  const auto strip = w.strip(1);
  const auto marked = w.highlightedColumns();
  w.track("koM");
  EXPECT_EQ(w.strip(1), strip);
  EXPECT_EQ(w.highlightedColumns(), marked);
  EXPECT_EQ(w.keys(), (std::vector<std::string>{"k", "kr", "kR", "kh", "khr", "khR", "Ksh"}));
  EXPECT_TRUE(w.highlightedRows().empty());
}

TEST(ChartTracking, WordsEndingInOtherCharacters) {
  Window w;
  w.type("r");
  EXPECT_EQ(w.strip(1)[5], "ru");
  EXPECT_EQ(w.strip(0)[5], "#");
  EXPECT_EQ(w.strip(1)[6], "roo");
  EXPECT_EQ(w.strip(0)[6], ":");
  EXPECT_EQ(w.strip(0)[14], "");

  w.track("Gy");
  EXPECT_EQ(w.strip(0)[0], "K~");
  EXPECT_EQ(w.strip(0)[3], "fK");
  EXPECT_TRUE(w.keys().empty());
  EXPECT_TRUE(w.highlightedRows().empty());
  for (int r = 0; r < 40; ++r) EXPECT_EQ(w.grid2().cell(r, 0).background, kWhite) << r;

  // "#" converts to nothing and leaves an empty chart token behind.
  w.setEnglishText(u"#");
  EXPECT_EQ(w.engine.Text1(), u"");
  EXPECT_EQ(w.strip(1)[0], "");
  EXPECT_EQ(w.strip(0)[0], " ");
  EXPECT_EQ(w.keys(), kConsonants);
}

// --- Picks --------------------------------------------------------------------

TEST(ChartPicks, AppendTheCellsKey) {
  Window w;
  w.chart.grid1().setRow(0);
  w.chart.grid1().setCol(0);
  w.chart.Grid1_Click();
  EXPECT_EQ(w.english, u" ");
  EXPECT_EQ(w.grid1().Row(), 0);  // the clicked row is restored

  w.type("k");
  w.chart.grid1().setRow(0);
  w.chart.grid1().setCol(2);
  w.chart.Grid1_Click();
  EXPECT_EQ(w.english, u" kkaa");  // the key doubles the word already typed

  w.track("k");
  w.chart.grid2().setRow(5);
  w.chart.grid2().setCol(1);
  w.chart.Grid2_Click();
  EXPECT_EQ(w.english, u" kkaakhR");
  EXPECT_EQ(w.grid2().Col(), 1);

  // An empty cell appends nothing.
  const std::u16string before = w.english;
  w.chart.grid1().setRow(1);
  w.chart.grid1().setCol(14);
  w.chart.Grid1_Click();
  EXPECT_EQ(w.english, before);
  w.chart.FillVyanjan();
  w.chart.grid2().setRow(37);
  w.chart.Grid2_Click();
  EXPECT_EQ(w.english, before);
}

TEST(GridModel, CellsAndCurrentCell) {
  GridModel g(u"MS Sans Serif", 12);
  g.setCols(3);
  g.setRows(4);
  g.setRow(2);
  g.setCol(1);
  g.setText(u"x");
  g.setCellBackColor(0x123456);
  g.setCellFontName(u"Arial");
  g.setCellFontSize(9);
  EXPECT_EQ(g.cell(2, 1).text, u"x");
  EXPECT_EQ(g.CellBackColor(), 0x123456u);
  g.setRows(2);  // row 2 goes, the current cell moves inside
  EXPECT_EQ(g.Row(), 1);
  g.setRows(4);
  EXPECT_EQ(g.cell(2, 1).text, u"");
  g.setRow(0);
  g.setText(u"kept");
  g.setColWidth(2, 777);
  g.Clear();
  EXPECT_EQ(g.cell(0, 1).text, u"");
  EXPECT_EQ(g.ColWidth(2), 777);
  EXPECT_EQ(g.Rows(), 4);
  EXPECT_EQ(g.CellFontName(), u"MS Sans Serif");
  EXPECT_EQ(g.CellFontSize(), 12.0);
  EXPECT_THROW(g.setRow(4), GridError);
  EXPECT_THROW(g.setCol(-1), GridError);
  EXPECT_THROW(g.ColWidth(3), GridError);
}

}  // namespace
}  // namespace kavelin
