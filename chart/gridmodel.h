// SPDX-License-Identifier: GPL-3.0-or-later
// A cell grid as the chart uses it: rows, columns, column widths, a current
// cell, and per-cell text, background and font. Every cell property acts on
// the current cell. Plain C++, so the chart logic runs without widgets.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kavelin {

class GridModel {
 public:
  struct Cell {
    std::u16string text;
    std::optional<std::uint32_t> background;  // BGR; none: the grid's default
    std::optional<std::u16string> fontName;   // none: the grid's font
    std::optional<double> fontSize;
  };

  GridModel(std::u16string fontName, double fontSize);

  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  void setRows(int rows);
  void setCols(int cols);
  int FixedRows() const { return fixedRows_; }
  int FixedCols() const { return fixedCols_; }
  void setFixedRows(int n);
  void setFixedCols(int n);
  int ColWidth(int col) const;  // twips
  void setColWidth(int col, int twips);

  // Empties every cell and resets its colours and fonts; counts and widths stay.
  void Clear();

  // The current cell.
  int Row() const { return row_; }
  int Col() const { return col_; }
  void setRow(int row);
  void setCol(int col);

  const std::u16string& Text() const { return current().text; }
  void setText(std::u16string text);
  std::uint32_t CellBackColor() const;
  void setCellBackColor(std::uint32_t bgr);
  const std::u16string& CellFontName() const;
  void setCellFontName(std::u16string name);
  double CellFontSize() const;
  void setCellFontSize(double points);

  // Direct access for views and tests.
  const Cell& cell(int row, int col) const;
  const std::u16string& fontName() const { return fontName_; }
  double fontSize() const { return fontSize_; }
  static constexpr std::uint32_t kDefaultBackground = 0xFFFFFF;

  // Change notifications for a view.
  std::function<void(int row, int col)> onCellChanged;
  std::function<void()> onLayoutChanged;

 private:
  Cell& current();
  const Cell& current() const;
  void resize(int rows, int cols);
  void cellChanged();

  std::u16string fontName_;
  double fontSize_;
  int rows_ = 2;
  int cols_ = 2;
  int fixedRows_ = 1;
  int fixedCols_ = 1;
  int row_ = 0;
  int col_ = 0;
  std::vector<int> colWidths_;
  std::vector<Cell> cells_;  // row by row
};

// Raised by a grid operation with an index outside the grid.
class GridError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

}  // namespace kavelin
