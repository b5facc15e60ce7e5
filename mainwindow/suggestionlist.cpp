// SPDX-License-Identifier: GPL-3.0-or-later
#include "suggestionlist.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

namespace kavelin {
namespace {

constexpr int kPad = 4;  // around the rows and between the columns

}  // namespace

SuggestionList::SuggestionList(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("SuggestionList"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
  hide();
}

void SuggestionList::setRows(std::vector<Row> rows, const QFont& hindiFont) {
  // The window's own font (a tool tip's) is known once it is polished.
  ensurePolished();
  rows_ = std::move(rows);
  hindi_ = hindiFont;
  resize(sizeHint());
  update();
}

QFont SuggestionList::smallFont() const {
  QFont f = font();
  f.setPointSizeF(std::max(7.0, f.pointSizeF() * 0.85));
  return f;
}

int SuggestionList::rowHeight() const {
  return std::max(QFontMetrics(hindi_).height(), QFontMetrics(smallFont()).height()) + 2;
}

QSize SuggestionList::sizeHint() const {
  const QFontMetrics small(smallFont());
  const QFontMetrics hindi(hindi_);
  int glyphs = 0, spelling = 0;
  for (const Row& r : rows_) {
    glyphs = std::max(glyphs, hindi.horizontalAdvance(r.glyphs));
    spelling = std::max(spelling, small.horizontalAdvance(r.spelling));
  }
  const int number = small.horizontalAdvance(QStringLiteral("9 "));
  return {kPad + number + kPad + glyphs + 2 * kPad + spelling + 2 * kPad + 2,
          kPad * 2 + static_cast<int>(rows_.size()) * rowHeight() + 2};
}

QRect SuggestionList::rowRect(int row) const {
  return {1, 1 + kPad + row * rowHeight(), width() - 2, rowHeight()};
}

int SuggestionList::rowAt(QPoint point) const {
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
    if (rowRect(i).contains(point)) return i;
  }
  return -1;
}

void SuggestionList::showBelow(QPoint below, int lineTop) {
  const QSize size = sizeHint();
  QRect place(below, size);
  if (QScreen* screen = QGuiApplication::screenAt(below)) {
    const QRect area = screen->availableGeometry();
    if (place.bottom() > area.bottom()) place.moveBottom(lineTop - 1);
    if (place.right() > area.right()) place.moveRight(area.right());
    if (place.left() < area.left()) place.moveLeft(area.left());
    if (place.top() < area.top()) place.moveTop(area.top());
  }
  setGeometry(place);
  if (!isVisible()) {
    show();
    raise();
  }
}

void SuggestionList::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  const QFont small = smallFont();
  const int number = QFontMetrics(small).horizontalAdvance(QStringLiteral("9 "));
  int glyphs = 0;
  for (const Row& r : rows_)
    glyphs = std::max(glyphs, QFontMetrics(hindi_).horizontalAdvance(r.glyphs));
  for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
    const QRect row = rowRect(i);
    // The first is what a space takes when words are replaced as they are typed.
    if (i == 0) p.fillRect(row, palette().color(QPalette::AlternateBase));
    QRect cell = row.adjusted(kPad, 0, 0, 0);
    p.setFont(small);
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, QString::number(i + 1));
    cell.setLeft(cell.left() + number + kPad);
    p.setFont(hindi_);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, rows_[static_cast<std::size_t>(i)].glyphs);
    cell.setLeft(cell.left() + glyphs + 2 * kPad);
    p.setFont(small);
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, rows_[static_cast<std::size_t>(i)].spelling);
  }
}

void SuggestionList::mousePressEvent(QMouseEvent* e) {
  pressed_ = e->button() == Qt::LeftButton ? rowAt(e->position().toPoint()) : -1;
}

// A click picks the row it began and ended on.
void SuggestionList::mouseReleaseEvent(QMouseEvent* e) {
  const int row = rowAt(e->position().toPoint());
  if (e->button() == Qt::LeftButton && row >= 0 && row == pressed_) emit picked(row);
  pressed_ = -1;
}

void SuggestionList::contextMenuEvent(QContextMenuEvent* e) {
  const int row = rowAt(e->pos());
  if (row >= 0) menuFor(row)->popup(e->globalPos());
}

QMenu* SuggestionList::menuFor(int row) {
  delete menu_;
  menu_ = new QMenu(this);
  QAction* forget = menu_->addAction(tr("Forget This Word"));
  forget->setObjectName(QStringLiteral("ForgetThisWord"));
  forget->setEnabled(row >= 0 && row < static_cast<int>(rows_.size()) &&
                     rows_[static_cast<std::size_t>(row)].learned);
  connect(forget, &QAction::triggered, this, [this, row] { emit forgetRequested(row); });
  return menu_;
}

}  // namespace kavelin
