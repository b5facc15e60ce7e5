// The main window's placement in the per-user settings store, in twips, under
// the application title and the section "Settings", and the geometry helpers
// that keep windows on the screen.
#pragma once

#include <QMargins>
#include <QRect>
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

// An outer rectangle made to fit `area`: no larger than it, and moved inside it.
QRect fitToArea(const QRect& outer, const QRect& area);

// The client rectangle of a window whose frame is `outer`.
QRect innerOf(const QRect& outer, const QMargins& frame);

// Where a floating panel of outer size `panel` goes: beside `owner` (below,
// right, above, left, the first with room in `area`), else along the bottom of
// `area` over the owner's lower edge; always inside `area`.
QRect besideOwner(const QRect& owner, const QSize& panel, const QRect& area);

}  // namespace kavelin
