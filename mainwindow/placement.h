// The main window's placement in the per-user settings store, in twips, under
// the application title and the section "Settings".
#pragma once

#include <QString>
#include <optional>

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

// Twips and pixels: 15 twips a pixel.
constexpr int kTwipsPerPixel = 15;
inline int px(double twips) { return static_cast<int>(twips / kTwipsPerPixel); }
inline double twips(int pixels) { return static_cast<double>(pixels) * kTwipsPerPixel; }

}  // namespace kavelin
