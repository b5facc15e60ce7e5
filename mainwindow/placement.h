// The main window's placement in the per-user settings store, in twips, under
// the application title and the section "Settings".
#pragma once

#include <QSettings>
#include <QString>
#include <optional>

#include "forms.h"

namespace kavelin {

struct Placement {
  static constexpr double kDefaultLeft = 1000;
  static constexpr double kDefaultTop = 1000;
  static constexpr double kDefaultWidth = 12000;
  static constexpr double kDefaultHeight = 9000;

  // A stored value read as a number: the default when the key is missing,
  // nothing when it holds no number.
  static std::optional<double> read(const QString& key, double fallback);
  static void write(double left, double top, double width, double height);
};

// The per-user settings store, under the application title.
QSettings perUserSettings();

}  // namespace kavelin
