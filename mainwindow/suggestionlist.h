// SPDX-License-Identifier: GPL-3.0-or-later
// The candidate list under the word being typed in the English box: up to
// nine numbered Hindi words in the Hindi box's font, each with its key
// spelling small beside it, in a window that never takes the focus.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <vector>

class QMenu;

namespace kavelin {

class SuggestionList : public QWidget {
  Q_OBJECT

 public:
  struct Row {
    QString glyphs;        // the word as glyph codes of the Hindi font
    QString spelling;      // the keys that type it
    bool learned = false;  // in the user's word store: it may be forgotten
  };

  // A window of its own above `owner`, which it never activates.
  explicit SuggestionList(QWidget* owner);

  void setRows(std::vector<Row> rows, const QFont& hindiFont);
  const std::vector<Row>& rows() const { return rows_; }

  // Shows the list with its top left at `below` (global), on the screen: above
  // `lineTop` instead when there is no room below.
  void showBelow(QPoint below, int lineTop);

  // The row under a point of the list; -1 for none.
  int rowAt(QPoint point) const;
  QRect rowRect(int row) const;

  // The context menu of a row ("Forget This Word"), made afresh.
  QMenu* menuFor(int row);

  QSize sizeHint() const override;

 signals:
  void picked(int row);
  void forgetRequested(int row);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  QFont smallFont() const;
  int rowHeight() const;

  std::vector<Row> rows_;
  QFont hindi_;
  int pressed_ = -1;
  QMenu* menu_ = nullptr;
};

}  // namespace kavelin
