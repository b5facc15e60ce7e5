// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's status bar: a text panel, the Caps Lock and Num Lock
// indicators, the date and the time. The indicators and the clock update
// themselves; a report in the text panel gives way to the idle text after a
// few seconds.
#pragma once

#include <QStatusBar>
#include <optional>

class QLabel;
class QTimer;

namespace kavelin {

class StatusBar : public QStatusBar {
  Q_OBJECT

 public:
  explicit StatusBar(QWidget* parent = nullptr);

  QLabel* panel(int index) const { return panels_[index]; }
  static constexpr int kPanelCount = 5;

  // Reads the keyboard lock state and the clock again.
  void refresh();

  // Shows a report in the text panel until the next report, clearReport() or
  // kReportMs later; then the panel shows idleText() again.
  void showReport(const QString& text);
  void clearReport();
  static QString idleText();
  static constexpr int kReportMs = 5000;

  // The lock state of the keyboard, where the platform tells it.
  struct Locks {
    bool caps = false;
    bool num = false;
  };
  static std::optional<Locks> keyboardLocks();

 private:
  QLabel* panels_[kPanelCount] = {};
  QTimer* timer_ = nullptr;
  QTimer* reportTimer_ = nullptr;
};

}  // namespace kavelin
