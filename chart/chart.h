// SPDX-License-Identifier: GPL-3.0-or-later
// The character chart: the vowel strip Grid1 and the consonant grid Grid2, what
// they show, how they follow the word being typed, and picking a key by mouse.
#pragma once

#include <cstdint>
#include <string>

#include "engine.h"
#include "gridmodel.h"

namespace kavelin {

// What the chart reads and writes of the main window.
class ChartHost {
 public:
  virtual ~ChartHost() = default;
  // Text of the Hindi font selector (Combo2).
  virtual std::u16string fontSelectorText() const = 0;
  // The English box: reading its text, and writing it, which runs the whole
  // change handling (conversion and FillGrid) before it returns.
  virtual std::u16string englishText() const = 0;
  virtual void setEnglishText(const std::u16string& text) = 0;
};

class Chart {
 public:
  static constexpr std::uint32_t kHighlight = 0x00FFFF;  // yellow, BGR
  static constexpr std::uint32_t kPlain = 0xFFFFFF;      // white

  // Grid1 starts in MS Sans Serif 9.75 pt, Grid2 in MS Sans Serif 12 pt.
  explicit Chart(ChartHost& host);

  GridModel& grid1() { return Grid1; }
  GridModel& grid2() { return Grid2; }
  const GridModel& grid1() const { return Grid1; }
  const GridModel& grid2() const { return Grid2; }

  // Layout and fixed contents.
  void SetGrid1();
  void SetGrid2();
  void FillSwar();
  void FillVyanjan();
  void FillGrid2(const std::u16string& chr);
  void FillGridCol(std::int16_t c, GlyphString& h, const std::u16string& e);
  void FillGrid2Row(std::int16_t r, const std::u16string& e, const GlyphString& h);

  // Tracking the word being typed: `token` is the chart token (Text1) that the
  // conversion of the English text left.
  void FillGrid(const std::u16string& token);
  void HighLightWord();
  void HighLightRow();

  // Picks: the clicked cell is already current.
  void Grid1_Click();
  void Grid2_Click();

 private:
  const std::u16string& W() const { return word_; }
  void resetGrid2();
  void plainGrid2();

  Engine scratch_;       // converts the word for its syllables
  std::u16string word_;  // the token of the last FillGrid
  ChartHost& host_;
  GridModel Grid1;
  GridModel Grid2;
};

}  // namespace kavelin
