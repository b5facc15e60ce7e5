// SPDX-License-Identifier: GPL-3.0-or-later
#include "gridmodel.h"

#include <string>

namespace kavelin {
namespace {

constexpr int kDefaultColWidth = 960;  // twips

void check(bool ok, const char* what) {
  if (!ok) throw GridError(std::string("grid: ") + what + " out of range");
}

}  // namespace

GridModel::GridModel(std::u16string fontName, double fontSize)
    : fontName_(std::move(fontName)), fontSize_(fontSize) {
  resize(rows_, cols_);
}

void GridModel::resize(int rows, int cols) {
  std::vector<Cell> cells(static_cast<std::size_t>(rows) * cols);
  for (int r = 0; r < std::min(rows, rows_); ++r) {
    for (int c = 0; c < std::min(cols, cols_); ++c) {
      if (!cells_.empty()) cells[r * cols + c] = std::move(cells_[r * cols_ + c]);
    }
  }
  cells_ = std::move(cells);
  colWidths_.resize(cols, kDefaultColWidth);
  rows_ = rows;
  cols_ = cols;
  if (row_ >= rows_) row_ = rows_ - 1;
  if (col_ >= cols_) col_ = cols_ - 1;
  if (row_ < 0) row_ = 0;
  if (col_ < 0) col_ = 0;
  if (onLayoutChanged) onLayoutChanged();
}

// Setting a count or width to what it is already changes nothing and tells no
// view.
void GridModel::setRows(int rows) {
  check(rows >= 1, "Rows");
  if (rows != rows_) resize(rows, cols_);
}

void GridModel::setCols(int cols) {
  check(cols >= 1, "Cols");
  if (cols != cols_) resize(rows_, cols);
}

void GridModel::setFixedRows(int n) {
  check(n >= 0 && n < rows_, "FixedRows");
  if (n == fixedRows_) return;
  fixedRows_ = n;
  if (onLayoutChanged) onLayoutChanged();
}

void GridModel::setFixedCols(int n) {
  check(n >= 0 && n < cols_, "FixedCols");
  if (n == fixedCols_) return;
  fixedCols_ = n;
  if (onLayoutChanged) onLayoutChanged();
}

int GridModel::ColWidth(int col) const {
  check(col >= 0 && col < cols_, "ColWidth");
  return colWidths_[col];
}

void GridModel::setColWidth(int col, int twips) {
  check(col >= 0 && col < cols_ && twips >= 0, "ColWidth");
  if (colWidths_[col] == twips) return;
  colWidths_[col] = twips;
  if (onLayoutChanged) onLayoutChanged();
}

void GridModel::Clear() {
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < cols_; ++c) {
      Cell& cell = cells_[r * cols_ + c];
      if (cell.text.empty() && !cell.background && !cell.fontName && !cell.fontSize) continue;
      cell = Cell();
      if (onCellChanged) onCellChanged(r, c);
    }
  }
}

void GridModel::setRow(int row) {
  check(row >= 0 && row < rows_, "Row");
  row_ = row;
}

void GridModel::setCol(int col) {
  check(col >= 0 && col < cols_, "Col");
  col_ = col;
}

GridModel::Cell& GridModel::current() { return cells_[row_ * cols_ + col_]; }
const GridModel::Cell& GridModel::current() const { return cells_[row_ * cols_ + col_]; }

const GridModel::Cell& GridModel::cell(int row, int col) const {
  check(row >= 0 && row < rows_ && col >= 0 && col < cols_, "cell");
  return cells_[row * cols_ + col];
}

void GridModel::cellChanged() {
  if (onCellChanged) onCellChanged(row_, col_);
}

void GridModel::setText(std::u16string text) {
  if (current().text == text) return;
  current().text = std::move(text);
  cellChanged();
}

std::uint32_t GridModel::CellBackColor() const {
  return current().background.value_or(kDefaultBackground);
}

void GridModel::setCellBackColor(std::uint32_t bgr) {
  if (current().background == bgr) return;
  current().background = bgr & 0xFFFFFF;
  cellChanged();
}

const std::u16string& GridModel::CellFontName() const {
  return current().fontName ? *current().fontName : fontName_;
}

void GridModel::setCellFontName(std::u16string name) {
  if (current().fontName == name) return;
  current().fontName = std::move(name);
  cellChanged();
}

double GridModel::CellFontSize() const { return current().fontSize.value_or(fontSize_); }

void GridModel::setCellFontSize(double points) {
  if (current().fontSize == points) return;
  current().fontSize = points;
  cellChanged();
}

}  // namespace kavelin
