// SPDX-License-Identifier: GPL-3.0-or-later
// Application-wide set-up shared by the program and its window tests.
#pragma once

namespace kavelin {

// Before the QApplication exists: the browser window's web engine shares its GL
// contexts and, run as root, cannot use its sandbox.
void prepareApplication();

// After: the application's name and version (the per-user store and the About
// window use them), fonts of the design that Linux knows by other names, and
// the bundled glyph font (see glyphfont.h).
void configureApplication();

}  // namespace kavelin
