// SPDX-License-Identifier: GPL-3.0-or-later
// The geometry helpers that keep windows on the screen. (The main window's
// stored placement: keys.h.)
#pragma once

#include <QMargins>
#include <QRect>

namespace kavelin {

// An outer rectangle made to fit `area`: no larger than it, and moved inside it.
QRect fitToArea(const QRect& outer, const QRect& area);

// The client rectangle of a window whose frame is `outer`.
QRect innerOf(const QRect& outer, const QMargins& frame);

// Where a floating panel of outer size `panel` goes: beside `owner` (below,
// right, above, left, the first with room in `area`), else along the bottom of
// `area` over the owner's lower edge; always inside `area`.
QRect besideOwner(const QRect& owner, const QSize& panel, const QRect& area);

}  // namespace kavelin
