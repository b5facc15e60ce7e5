// SPDX-License-Identifier: GPL-3.0-or-later
#include "startoptions.h"

#include <cstring>

namespace kavelin {

namespace {

// Qt's standard options that take a value, and those that take none.
const char* const kQtValueOptions[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
    "display",     "geometry",           "name",          "title",      "visual"};
const char* const kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// The option's name without its one or two dashes.
std::string bareName(const std::string& arg) { return arg.substr(arg.rfind("--", 0) == 0 ? 2 : 1); }

template <std::size_t N>
bool among(const std::string& name, const char* const (&names)[N]) {
  for (const char* n : names) {
    if (name == n) return true;
  }
  return false;
}

// Plug-ins that draw without a window system.
bool needsNoDisplay(const std::string& plugin) {
  for (const char* name :
       {"offscreen", "minimal", "minimalegl", "vnc", "linuxfb", "eglfs", "vkkhrdisplay"}) {
    if (plugin == name) return true;
  }
  return false;
}

}  // namespace

StartOptions parseStartOptions(int argc, const char* const* argv) {
  StartOptions options;
  auto fail = [&options](const std::string& message) {
    options.action = StartOptions::Action::kUsageError;
    options.error = message;
    return options;
  };
  bool onlyFiles = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (onlyFiles || arg.empty() || arg == "-" || arg[0] != '-') {
      options.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "-h" || arg == "--help" || arg == "-?") {
      if (options.action == StartOptions::Action::kRun)
        options.action = StartOptions::Action::kHelp;
    } else if (arg == "--help-all") {
      if (options.action == StartOptions::Action::kRun) {
        options.action = StartOptions::Action::kHelpAll;
      }
    } else if (arg == "-V" || arg == "-v" || arg == "--version") {
      if (options.action == StartOptions::Action::kRun) {
        options.action = StartOptions::Action::kVersion;
      }
    } else if (arg == "--show-readme") {
      options.showReadme = true;
    } else {
      std::string name = bareName(arg);
      std::string value;
      const std::size_t equals = name.find('=');
      const bool inlineValue = equals != std::string::npos;
      if (inlineValue) {
        value = name.substr(equals + 1);
        name.erase(equals);
      }
      if (among(name, kQtValueOptions)) {
        if (!inlineValue) {
          if (i + 1 >= argc) return fail("option '" + arg + "' needs a value");
          value = argv[++i];
        }
        options.qtArgs.push_back("-" + name);
        options.qtArgs.push_back(value);
        if (name == "platform") options.platform = value;
      } else if (among(name, kQtFlags) && !inlineValue) {
        options.qtArgs.push_back("-" + name);
      } else {
        return fail("unknown option '" + arg + "'");
      }
    }
  }
  return options;
}

std::string startHelpText(bool withQtOptions) {
  std::string text =
      "Usage: kavelin [options] [files...]\n"
      "Write Hindi by typing its sounds in Roman letters.\n"
      "Text files (.txt, UTF-8) open in the English box, RTF documents (.rtf)\n"
      "in the Editing Box.\n"
      "\n"
      "Options:\n"
      "  -h, --help     Displays help on command-line options.\n"
      "  --help-all     Displays help including Qt specific options.\n"
      "  -V, --version  Displays version information.\n"
      "\n"
      "Arguments:\n"
      "  files          Text files and RTF documents to open.\n";
  if (withQtOptions) {
    text +=
        "\n"
        "Qt options:\n"
        "  -platform NAME          the window system plug-in (xcb, wayland, offscreen)\n"
        "  -display DISPLAY        the X display to use\n"
        "  -style NAME             the widget style (Fusion, Windows)\n"
        "  -stylesheet FILE        a Qt style sheet for the windows\n"
        "  -reverse                right-to-left layout\n"
        "  -qwindowgeometry GEOMETRY  the main window's place and size (WxH+X+Y)\n"
        "  -qwindowtitle TITLE     the main window's title\n";
  }
  text +=
      "\n"
      "Without a display the window cannot open; kavelin-convert converts files\n"
      "without one.\n";
  return text;
}

std::string startVersionText(const std::string& program, const std::string& version) {
  return program + " " + version +
         "\n"
         "Copyright (C) 2026 The Kavelin developers\n"
         "License GPL-3.0-or-later: GNU GPL version 3 or later "
         "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}

bool writeAll(std::FILE* stream, const std::string& text) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  return (std::fflush(stream) == 0) && written && !std::ferror(stream);
}

std::string missingDisplay(const DisplayEnvironment& env) {
  // A list such as "wayland;xcb" tries each in turn; "xcb:option" carries options.
  std::vector<std::string> plugins;
  std::size_t start = 0;
  while (start <= env.platform.size()) {
    std::size_t end = env.platform.find(';', start);
    if (end == std::string::npos) end = env.platform.size();
    std::string plugin = env.platform.substr(start, end - start);
    plugin = plugin.substr(0, plugin.find(':'));
    if (!plugin.empty()) plugins.push_back(plugin);
    start = end + 1;
  }
  if (plugins.empty()) plugins = {"wayland", "xcb"};  // what Qt tries on its own

  std::string reason;
  for (const std::string& plugin : plugins) {
    if (needsNoDisplay(plugin)) return {};
    if (plugin == "wayland" || plugin.rfind("wayland-", 0) == 0) {
      if (!env.waylandDisplay.empty()) return {};
    } else if (plugin == "xcb") {
      if (env.display.empty()) {
        if (reason.empty()) reason = "no display to show the window on (DISPLAY is not set)";
      } else if (env.canOpenX && !env.canOpenX(env.display)) {
        reason = "cannot open the display '" + env.display + "'";
      } else {
        return {};
      }
    } else {
      return {};  // another plug-in: Qt itself says whether it can start
    }
  }
  if (reason.empty()) reason = "no display to show the window on (WAYLAND_DISPLAY is not set)";
  return "kavelin: " + reason +
         ".\n"
         "The converter needs none: kavelin-convert FILE converts Roman-typed Hindi;\n"
         "see kavelin-convert --help.\n";
}

}  // namespace kavelin
