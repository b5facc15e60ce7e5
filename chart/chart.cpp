// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart.h"

#include "charttables.h"

namespace kavelin {
namespace {

const std::u16string kSansSerif = u"MS Sans Serif";

bool isOneOf(const std::u16string& s, std::initializer_list<std::u16string_view> list) {
  for (std::u16string_view item : list) {
    if (s == item) return true;
  }
  return false;
}

// Closing set of FillGrid: vowel letters, digits and marks.
bool closes(char16_t c) {
  return std::u16string_view(u"eaiouAUIO1234567890!+:-;?/.|,(){}='`").find(c) !=
         std::u16string_view::npos;
}

std::u16string last(const std::u16string& s, std::size_t n) {
  return s.size() <= n ? s : s.substr(s.size() - n);
}

}  // namespace

Chart::Chart(ChartHost& host) : host_(host), Grid1(kSansSerif, 9.75), Grid2(kSansSerif, 12) {}

// ---------------------------------------------------------------------------
// Layout and fixed contents

void Chart::SetGrid1() {
  Grid1.setCols(15);
  Grid1.setRows(2);
  Grid1.setFixedCols(0);
  Grid1.setFixedRows(0);
  Grid1.setRow(0);
  for (int i = 0; i < Grid1.Cols(); ++i) {
    Grid1.setColWidth(i, 600);
    Grid1.setCol(i);
    Grid1.setCellFontSize(12);
    Grid1.setCellFontName(host_.fontSelectorText());
  }
}

void Chart::SetGrid2() {
  Grid2.setCols(2);
  Grid2.setRows(40);
  Grid2.setFixedCols(0);
  Grid2.setFixedRows(0);
  Grid2.setColWidth(0, 600);
  Grid2.setColWidth(1, 600);
  Grid2.setCol(1);
  for (int r = 0; r < Grid2.Rows(); ++r) {
    Grid2.setRow(r);
    Grid2.setCellFontName(host_.fontSelectorText());
  }
}

void Chart::FillGridCol(std::int16_t c, GlyphString& h, const std::u16string& e) {
  if (h == u"~") {
    h = u" ";
    FillVyanjan();
    plainGrid2();  // the consonant list replaces a family list: no row stays marked
  }
  if (const GlyphString* glyph = chart::overrideFor(e)) h = *glyph;
  Grid1.setRow(0);
  Grid1.setCol(c);
  Grid1.setText(h);
  const std::uint32_t colour = e == W() ? kHighlight : kPlain;
  Grid1.setCellBackColor(colour);
  Grid1.setRow(1);
  Grid1.setCellBackColor(colour);
  Grid1.setText(e);
}

void Chart::FillGrid2Row(std::int16_t r, const std::u16string& e, const GlyphString& h) {
  Grid2.setRow(r);
  Grid2.setCol(0);
  Grid2.setText(e);
  Grid2.setCol(1);
  Grid2.setText(h);
}

void Chart::FillSwar() {
  std::int16_t column = 0;
  for (const chart::Entry& entry : chart::swarColumns()) {
    GlyphString glyph = entry.glyph;
    FillGridCol(column++, glyph, entry.key);
  }
}

void Chart::FillVyanjan() {
  Grid2.setRows(40);
  std::int16_t row = 0;
  for (const chart::Entry& entry : chart::vyanjanRows()) FillGrid2Row(row++, entry.key, entry.glyph);
}

void Chart::FillGrid2(const std::u16string& chr) {
  std::int16_t row = 0;
  for (const chart::Entry& entry : chart::family(chr)) FillGrid2Row(row++, entry.key, entry.glyph);
}

// ---------------------------------------------------------------------------
// Tracking

void Chart::resetGrid2() {
  Grid2.Clear();
  SetGrid2();
}

void Chart::plainGrid2() {
  for (int r = 0; r < Grid2.Rows(); ++r) {
    Grid2.setRow(r);
    for (int c = 0; c < Grid2.Cols(); ++c) {
      Grid2.setCol(c);
      Grid2.setCellBackColor(kPlain);
    }
  }
}

void Chart::FillGrid(const std::u16string& token) {
  word_ = token;
  const std::u16string R2 = last(W(), 2);
  const std::u16string F = W().substr(0, W().empty() ? 0 : 1);
  const char16_t R1 = W().empty() ? 0 : W().back();

  if (isOneOf(R2, {u"ee", u"aa", u"ea", u"ai", u"au", u"aM", u"aH", u"ii"})) {
    HighLightWord();
    HighLightRow();
  } else if (R2 == u"oM") {
    resetGrid2();
    FillGrid2(F);
    HighLightRow();
  } else if (isOneOf(W(), {u"e", u"a", u"i", u"o", u"u", u"U", u"A", u"I", u"O"})) {
    resetGrid2();
    FillGrid2(F);
    HighLightRow();
    FillSwar();
  } else if (R1 != 0 && closes(R1)) {
    HighLightWord();
    resetGrid2();
    FillGrid2(F);
    HighLightRow();
    FillVyanjan();
    plainGrid2();  // the consonant list replaces a family list: no row stays marked
  } else {
    // The word's glyph string, then its syllables with every vowel sign.
    GlyphString H = scratch_.e2h(W());
    while (!H.empty() && H.back() == u' ') H.pop_back();
    resetGrid2();
    FillGrid2(F);
    HighLightRow();
    GlyphString glyph = H + u'~';
    FillGridCol(0, glyph, W());
    std::int16_t column = 1;
    for (const chart::SyllableColumn& s : chart::syllableColumns()) {
      glyph = s.before + H + s.after;
      FillGridCol(column++, glyph, W() + s.suffix);
    }
  }
}

void Chart::HighLightWord() {
  Grid1.setRow(1);
  for (int i = 0; i < Grid1.Cols(); ++i) {
    Grid1.setCol(i);
    if (Grid1.Text() == W()) {
      Grid1.setCellBackColor(kHighlight);
      Grid1.setRow(0);
      Grid1.setCellBackColor(kHighlight);
      return;
    }
    Grid1.setRow(0);
    Grid1.setCellBackColor(kPlain);
    Grid1.setRow(1);
    Grid1.setCellBackColor(kPlain);
  }
}

void Chart::HighLightRow() {
  for (int r = 0; r < Grid2.Rows(); ++r) {
    Grid2.setRow(r);
    Grid2.setCol(0);
    if (Grid2.Text() == W()) {
      Grid2.setCellBackColor(kHighlight);
      Grid2.setCol(1);
      Grid2.setCellBackColor(kHighlight);
      return;
    }
    Grid2.setCol(1);
    Grid2.setCellBackColor(kPlain);
    Grid2.setCol(0);
    Grid2.setCellBackColor(kPlain);
  }
}

// ---------------------------------------------------------------------------
// Picking

void Chart::Grid1_Click() {
  const int row = Grid1.Row();
  Grid1.setRow(1);
  host_.setEnglishText(host_.englishText() + Grid1.Text());
  Grid1.setRow(row);
}

void Chart::Grid2_Click() {
  const int col = Grid2.Col();
  Grid2.setCol(0);
  host_.setEnglishText(host_.englishText() + Grid2.Text());
  Grid2.setCol(col);
}

}  // namespace kavelin
