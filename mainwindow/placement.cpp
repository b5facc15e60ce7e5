// SPDX-License-Identifier: GPL-3.0-or-later
#include "placement.h"

#include <algorithm>
#include <set>

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

namespace {

constexpr int kPanelGap = 8;

bool fitsIn(const QRect& r, const QSize& minimum) {
  return r.width() >= minimum.width() && r.height() >= minimum.height();
}

long long areaOf(const QRect& r) {
  return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height();
}

// The largest of the free strips on the four sides of `owner` that holds
// `minimum`; the panel lies against the owner, no larger than `largest`.
QRect bestStrip(const QRect& owner, const QSize& largest, const QSize& minimum, const QRect& area) {
  const int right = area.x() + area.width();
  const int bottom = area.y() + area.height();
  const int ownerRight = owner.x() + owner.width();
  const int ownerBottom = owner.y() + owner.height();
  const QRect across(owner.x(), area.y(), owner.width(), area.height());
  const QRect along(area.x(), owner.y(), area.width(), owner.height());
  struct Strip {
    QRect free;
    Qt::Edge against;  // the strip's edge next to the owner
  } strips[] = {
      {QRect(QPoint(owner.x(), ownerBottom + kPanelGap), QPoint(ownerRight - 1, bottom - 1)) &
           across & area,
       Qt::TopEdge},
      {QRect(QPoint(ownerRight + kPanelGap, owner.y()), QPoint(right - 1, ownerBottom - 1)) &
           along & area,
       Qt::LeftEdge},
      {QRect(QPoint(owner.x(), area.y()), QPoint(ownerRight - 1, owner.y() - kPanelGap - 1)) &
           across & area,
       Qt::BottomEdge},
      {QRect(QPoint(area.x(), owner.y()), QPoint(owner.x() - kPanelGap - 1, ownerBottom - 1)) &
           along & area,
       Qt::RightEdge},
  };
  QRect best;
  for (const Strip& s : strips) {
    if (!fitsIn(s.free, minimum)) continue;
    QRect panel = s.free;
    panel.setWidth(std::min(panel.width(), largest.width()));
    panel.setHeight(std::min(panel.height(), largest.height()));
    if (s.against == Qt::BottomEdge) panel.moveBottom(s.free.bottom());
    if (s.against == Qt::RightEdge) panel.moveRight(s.free.right());
    if (areaOf(panel) > areaOf(best)) best = panel;
  }
  return best;
}

// The largest rectangle inside `region` that meets none of `controls`.
QRect largestFree(const QRect& region, const std::vector<QRect>& controls) {
  std::set<int> edges = {region.y(), region.y() + region.height()};
  for (const QRect& c : controls) {
    for (int y : {c.y(), c.y() + c.height()}) {
      if (y > region.y() && y < region.y() + region.height()) edges.insert(y);
    }
  }
  const std::vector<int> ys(edges.begin(), edges.end());
  QRect best;
  for (std::size_t i = 0; i < ys.size(); ++i) {
    for (std::size_t j = i + 1; j < ys.size(); ++j) {
      // The band from ys[i] to ys[j]: the widest run of x that no control in it blocks.
      std::vector<std::pair<int, int>> blocked;
      for (const QRect& c : controls) {
        if (c.y() < ys[j] && c.y() + c.height() > ys[i]) {
          blocked.emplace_back(c.x(), c.x() + c.width());
        }
      }
      std::sort(blocked.begin(), blocked.end());
      int from = region.x();
      const auto consider = [&](int to) {
        const QRect r(from, ys[i], std::min(to, region.x() + region.width()) - from, ys[j] - ys[i]);
        if (areaOf(r) > areaOf(best)) best = r;
      };
      for (const auto& [left, right] : blocked) {
        if (left > from) consider(left);
        from = std::max(from, right);
      }
      consider(region.x() + region.width());
    }
  }
  return best;
}

long long coveredBy(const QRect& panel, const std::vector<QRect>& controls) {
  long long covered = 0;
  for (const QRect& c : controls) covered += areaOf(panel & c);
  return covered;
}

}  // namespace

bool panelFits(const QRect& panel, const std::vector<QRect>& controls, const QRect& area) {
  return area.contains(panel) && coveredBy(panel, controls) == 0;
}

QRect placePanel(const QRect& owner, const std::vector<QRect>& controls,
                 const std::vector<QSize>& shapes, const QSize& minimum, const QRect& area) {
  for (const QSize& shape : shapes) {
    const QSize size = fitToArea(QRect(QPoint(), shape), area).size();
    const QRect beside = besideOwner(owner, size, area);
    if (!beside.intersects(owner)) return beside;
  }
  QSize largest = minimum;
  for (const QSize& shape : shapes) largest = largest.expandedTo(shape);
  const QRect strip = bestStrip(owner, largest, minimum, area);
  if (!strip.isNull()) return strip;
  QRect free = largestFree(owner & area, controls);
  if (fitsIn(free, minimum)) {
    free.setWidth(std::min(free.width(), largest.width()));
    free.setHeight(std::min(free.height(), largest.height()));
    return free;
  }
  // Everywhere covers some control: the place of the minimum size that covers
  // the least, trying each control's edges.
  std::set<int> xs = {owner.x(), owner.x() + owner.width() - minimum.width()};
  std::set<int> ys = {owner.y(), owner.y() + owner.height() - minimum.height()};
  for (const QRect& c : controls) {
    xs.insert({c.x() + c.width(), c.x() - minimum.width()});
    ys.insert({c.y() + c.height(), c.y() - minimum.height()});
  }
  QRect best;
  long long least = -1;
  for (int x : xs) {
    for (int y : ys) {
      const QRect panel = fitToArea(QRect(QPoint(x, y), minimum), area);
      const long long covered = coveredBy(panel, controls);
      if (least < 0 || covered < least) {
        least = covered;
        best = panel;
      }
    }
  }
  return best;
}

}  // namespace kavelin
