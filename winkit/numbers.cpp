// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers.h"

#include <cmath>
#include <limits>

namespace kavelin {
namespace {

constexpr double kSingleMax = std::numeric_limits<float>::max();

}  // namespace

std::optional<double> parseNumber(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value) || std::abs(value) > kSingleMax) return std::nullopt;
  if (value != 0 && static_cast<float>(value) == 0) return std::nullopt;
  return value;
}

QString sizeText(double points) {
  const double shown =
      std::isfinite(points) && std::abs(points) <= kSingleMax ? static_cast<float>(points) : points;
  return QString::number(shown, 'g', 7);
}

}  // namespace kavelin
