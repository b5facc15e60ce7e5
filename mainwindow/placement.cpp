// SPDX-License-Identifier: GPL-3.0-or-later
#include "placement.h"

#include <algorithm>

namespace kavelin {

QRect fitToArea(const QRect& outer, const QRect& area) {
  if (area.isEmpty()) return outer;
  const int width = std::clamp(outer.width(), 1, area.width());
  const int height = std::clamp(outer.height(), 1, area.height());
  const int left = std::clamp(outer.x(), area.x(), area.x() + area.width() - width);
  const int top = std::clamp(outer.y(), area.y(), area.y() + area.height() - height);
  return QRect(left, top, width, height);
}

QRect innerOf(const QRect& outer, const QMargins& frame) {
  QRect inner = outer.marginsRemoved(frame);
  inner.setWidth(std::max(1, inner.width()));
  inner.setHeight(std::max(1, inner.height()));
  return inner;
}

QRect besideOwner(const QRect& owner, const QSize& panel, const QRect& area) {
  constexpr int kGap = 8;
  const QRect candidates[] = {
      QRect(QPoint(owner.x(), owner.y() + owner.height() + kGap), panel),
      QRect(QPoint(owner.x() + owner.width() + kGap, owner.y()), panel),
      QRect(QPoint(owner.x(), owner.y() - kGap - panel.height()), panel),
      QRect(QPoint(owner.x() - kGap - panel.width(), owner.y()), panel),
  };
  for (const QRect& c : candidates) {
    // Slid along the owner's edge to fit, but never over the owner.
    const QRect fitted = fitToArea(c, area);
    if (fitted.size() == panel && !fitted.intersects(owner)) return fitted;
  }
  // No room beside it: along the bottom of the area, under the owner's lower
  // edge, where the window holds the least.
  return fitToArea(QRect(QPoint(owner.x(), area.y() + area.height() - panel.height()), panel),
                   area);
}

}  // namespace kavelin
