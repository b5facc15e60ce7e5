// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a GridModel in a QTableWidget without headers and reports clicks with
// the clicked cell made current in the model. Keys that type text go to the
// typing target, as if typed there; the grid keeps the focus.
#pragma once

#include <QPointer>
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

  // Where printable text, Backspace and Enter go; other keys (arrows, Tab,
  // shortcuts) act on the grid as usual.
  void setTypingTarget(QWidget* target) { typingTarget_ = target; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 signals:
  void clicked();

 private:
  void syncLayout();
  void syncCell(int row, int col);

  GridModel& model_;
  int rowHeight_ = 20;
  QPointer<QWidget> typingTarget_;
};

}  // namespace kavelin
