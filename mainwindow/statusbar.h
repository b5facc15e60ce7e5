// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's status bar: a text panel, the Caps Lock and Num Lock
// indicators, the date and the time. The indicators and the clock update
// themselves.
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

  // The lock state of the keyboard, where the platform tells it.
  struct Locks {
    bool caps = false;
    bool num = false;
  };
  static std::optional<Locks> keyboardLocks();

 private:
  QLabel* panels_[kPanelCount] = {};
  QTimer* timer_ = nullptr;
};

}  // namespace kavelin
