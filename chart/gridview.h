// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a GridModel in a QTableWidget without headers and reports clicks with
// the clicked cell made current in the model.
#pragma once

#include <QTableWidget>

#include "gridmodel.h"

namespace kavelin {

class GridView : public QTableWidget {
  Q_OBJECT

 public:
  GridView(GridModel& model, QWidget* parent = nullptr);
  ~GridView() override;

  // Row height in pixels for every row.
  void setRowHeightPixels(int pixels);

 signals:
  void clicked();

 private:
  void syncLayout();
  void syncCell(int row, int col);

  GridModel& model_;
  int rowHeight_ = 20;
};

}  // namespace kavelin
