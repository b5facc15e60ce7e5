// SPDX-License-Identifier: GPL-3.0-or-later
// The geometry helpers that keep windows on the screen. (The main window's
// stored placement: keys.h.)
#pragma once

#include <QMargins>
#include <QRect>
#include <vector>

namespace kavelin {

// An outer rectangle made to fit `area`: no larger than it, and moved inside it.
QRect fitToArea(const QRect& outer, const QRect& area);

// The client rectangle of a window whose frame is `outer`.
QRect innerOf(const QRect& outer, const QMargins& frame);

// Where a floating panel of outer size `panel` goes: beside `owner` (below,
// right, above, left, the first with room in `area`), else along the bottom of
// `area` over the owner's lower edge; always inside `area`.
QRect besideOwner(const QRect& owner, const QSize& panel, const QRect& area);

// Where a floating panel goes, inside `area` and off the owner's `controls`:
// beside `owner` where there is room for one of `shapes` (in order); else in
// the largest free strip beside it that holds `minimum`; else inside the
// owner, over the largest part that no control covers; else, at `minimum`,
// where it covers the least of the controls. No larger than the shapes allow.
QRect placePanel(const QRect& owner, const std::vector<QRect>& controls,
                 const std::vector<QSize>& shapes, const QSize& minimum, const QRect& area);

// Whether a panel at `panel` is wholly inside `area` and covers none of `controls`.
bool panelFits(const QRect& panel, const std::vector<QRect>& controls, const QRect& area);

}  // namespace kavelin
