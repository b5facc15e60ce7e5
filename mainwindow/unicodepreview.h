// SPDX-License-Identifier: GPL-3.0-or-later
// A panel that shows the Hindi box as Unicode Devanagari, for readers without
// the legacy display font. It floats beside the main window, so that nothing in
// the window moves; only the lines that changed are converted again.
#pragma once

#include <QDockWidget>
#include <string>
#include <vector>

class QTextEdit;

namespace kavelin {

class UnicodePreview : public QDockWidget {
  Q_OBJECT

 public:
  explicit UnicodePreview(QWidget* parent);

  // Shows `glyphs` (the Hindi box's text) as Unicode.
  void showGlyphs(const QString& glyphs);
  // Lines [first, first + count) gave way to `lines`, already in Unicode.
  void replaceLines(std::size_t first, std::size_t count, const std::vector<std::u16string>& lines);

  QTextEdit* view() const { return view_; }

  // Placed beside the window once; then where the user puts it.
  bool placed() const { return placed_; }
  void setPlaced() { placed_ = true; }
  QString text() const;

 private:
  QTextEdit* view_;
  bool placed_ = false;
};

}  // namespace kavelin
