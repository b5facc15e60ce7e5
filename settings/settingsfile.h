// SPDX-License-Identifier: GPL-3.0-or-later
// Where the settings file lives: "settings.ini" in the program's folder, or in
// the per-user configuration folder when the program's folder is not writable
// (an installed program). Start-up and the settings dialog use the same file.
#pragma once

#include <QString>

namespace kavelin {

QString settingsFilePath();

// For tests: use `path` instead (empty restores the usual place).
void setSettingsFilePath(const QString& path);

}  // namespace kavelin
