// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line, read before any window-system connection exists,
// and the check that a display is there to show the window on.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace kavelin {

struct StartOptions {
  enum class Action { kRun, kHelp, kHelpAll, kVersion, kUsageError };
  Action action = Action::kRun;
  std::string error;  // what is wrong with the command line (kUsageError)
  bool showReadme = false;
  std::string platform;             // the value of Qt's -platform option, if given
  std::vector<std::string> files;   // in the order given
  std::vector<std::string> qtArgs;  // Qt's own options, handed on to the application
};

// Reads argv[1..argc-1]. Qt's standard options (-platform, -style, -reverse ...)
// are kept apart for the application; "--" ends the options.
StartOptions parseStartOptions(int argc, const char* const* argv);

std::string startHelpText(bool withQtOptions);
std::string startVersionText(const std::string& program, const std::string& version);

// Writes all of `text` and flushes; false when any of it could not be written
// (a full disk, a closed pipe).
bool writeAll(std::FILE* stream, const std::string& text);

// What a start needs to know of its environment.
struct DisplayEnvironment {
  std::string platform;        // -platform, else QT_QPA_PLATFORM; empty for Qt's default
  std::string display;         // DISPLAY
  std::string waylandDisplay;  // WAYLAND_DISPLAY
  // Whether an X server answers at a display name; not set when unknown.
  std::function<bool(const std::string&)> canOpenX;
};

// Why the window cannot be shown, as a message for standard error; empty when
// it can (or when the platform needs no display, such as offscreen).
std::string missingDisplay(const DisplayEnvironment& env);

}  // namespace kavelin
