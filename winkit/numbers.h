// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers as the program stores, reads and shows them: window placements and
// font sizes in the settings, sizes typed into the font lists.
#pragma once

#include <QString>
#include <optional>

namespace kavelin {

// A whole text as a decimal number in the C locale, whatever the user's
// ("14.25", "-300", "1e3", never "14,25"); surrounding white space is allowed.
// Nothing for any other text, for NaN and the infinities, and for numbers that
// single precision cannot hold (beyond about 3.4e38, or so small that they
// would be 0).
std::optional<double> parseNumber(const QString& text);

// A size as the font lists and the settings dialog show it: in single
// precision, at most 7 significant digits; 12 as "12", 14.25 as "14.25".
QString sizeText(double points);

}  // namespace kavelin
