// SPDX-License-Identifier: GPL-3.0-or-later
#include "gridview.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "forms.h"

namespace kavelin {
namespace {

QColor fromBgr(std::uint32_t bgr) {
  return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// Whether a key types text: Backspace, Enter, or printable characters without
// Ctrl, Alt or Meta.
bool typesText(const QKeyEvent& e) {
  if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (e.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    default:
      break;
  }
  const QString text = e.text();
  return !text.isEmpty() &&
         std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

}  // namespace

GridView::GridView(GridModel& model, QWidget* parent) : QTableWidget(parent), model_(model) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setSelectionMode(QAbstractItemView::NoSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  model_.onLayoutChanged = [this] { syncLayout(); };
  model_.onCellChanged = [this](int row, int col) { syncCell(row, col); };
  syncLayout();
  connect(this, &QTableWidget::cellClicked, this, [this](int row, int col) {
    model_.setRow(row);
    model_.setCol(col);
    emit clicked();
  });
}

GridView::~GridView() {
  model_.onLayoutChanged = nullptr;
  model_.onCellChanged = nullptr;
}

void GridView::keyPressEvent(QKeyEvent* e) {
  if (typingTarget_ && typesText(*e)) {
    QKeyEvent typed(QEvent::KeyPress, e->key(), e->modifiers(), e->text(), e->isAutoRepeat(),
                    static_cast<quint16>(e->count()));
    QCoreApplication::sendEvent(typingTarget_, &typed);
    e->accept();
    return;
  }
  QTableWidget::keyPressEvent(e);
}

void GridView::setRowHeightPixels(int pixels) {
  rowHeight_ = pixels;
  verticalHeader()->setDefaultSectionSize(pixels);
  verticalHeader()->setMinimumSectionSize(std::min(pixels, 8));
  for (int r = 0; r < rowCount(); ++r) setRowHeight(r, pixels);
}

void GridView::syncLayout() {
  setRowCount(model_.Rows());
  setColumnCount(model_.Cols());
  for (int c = 0; c < model_.Cols(); ++c) setColumnWidth(c, px(model_.ColWidth(c)));
  for (int r = 0; r < model_.Rows(); ++r) {
    setRowHeight(r, rowHeight_);
    for (int c = 0; c < model_.Cols(); ++c) syncCell(r, c);
  }
}

void GridView::syncCell(int row, int col) {
  if (row >= rowCount() || col >= columnCount()) return;
  const GridModel::Cell& cell = model_.cell(row, col);
  QTableWidgetItem* it = item(row, col);
  if (!it) {
    it = new QTableWidgetItem;
    it->setTextAlignment(Qt::AlignCenter);
    setItem(row, col, it);
  }
  it->setText(qstr(cell.text));
  it->setBackground(fromBgr(cell.background.value_or(GridModel::kDefaultBackground)));
  it->setForeground(Qt::black);
  QFont f(qstr(cell.fontName.value_or(model_.fontName())));
  f.setPointSizeF(cell.fontSize.value_or(model_.fontSize()));
  it->setFont(f);
}

}  // namespace kavelin
