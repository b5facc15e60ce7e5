// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the command line is read, the About window is loaded hidden, then
// the main window is loaded and shown with the files given; the program runs
// until the main window closes.
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#ifdef KAVELIN_HAVE_X11
#include <X11/Xlib.h>
#endif

#include "application.h"
#include "desktopplatform.h"
#include "frmabout.h"
#include "frmmain.h"
#include "startoptions.h"

#ifndef KAVELIN_VERSION
#define KAVELIN_VERSION "0.0.0"
#endif
#ifndef KAVELIN_APP_ID
#define KAVELIN_APP_ID "kavelin"
#endif

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

kavelin::DisplayEnvironment displayEnvironment(const kavelin::StartOptions& options) {
  kavelin::DisplayEnvironment env;
  env.platform = options.platform.empty() ? environment("QT_QPA_PLATFORM") : options.platform;
  env.display = environment("DISPLAY");
  for (std::size_t i = 0; i + 1 < options.qtArgs.size(); ++i) {
    if (options.qtArgs[i] == "-display") env.display = options.qtArgs[i + 1];
  }
  env.waylandDisplay = environment("WAYLAND_DISPLAY");
#ifdef KAVELIN_HAVE_X11
  env.canOpenX = [](const std::string& name) {
    Display* display = XOpenDisplay(name.c_str());
    if (display) XCloseDisplay(display);
    return display != nullptr;
  };
#endif
  return env;
}

}  // namespace

int main(int argc, char** argv) {
  // Everything that needs no window is answered before Qt contacts the window
  // system, which would abort without a display.
  const kavelin::StartOptions options = kavelin::parseStartOptions(argc, argv);
  using Action = kavelin::StartOptions::Action;
  switch (options.action) {
    case Action::kHelp:
    case Action::kHelpAll:
      return kavelin::writeAll(stdout, kavelin::startHelpText(options.action == Action::kHelpAll))
                 ? 0
                 : 1;
    case Action::kVersion:
      return kavelin::writeAll(stdout, kavelin::startVersionText("kavelin", KAVELIN_VERSION)) ? 0
                                                                                              : 1;
    case Action::kUsageError:
      std::fprintf(stderr, "kavelin: %s\nTry 'kavelin --help' for more information.\n",
                   options.error.c_str());
      return 2;
    case Action::kRun:
      break;
  }
  const std::string noDisplay = kavelin::missingDisplay(displayEnvironment(options));
  if (!noDisplay.empty()) {
    std::fputs(noDisplay.c_str(), stderr);
    return 1;
  }

  // The application sees the program's name and Qt's own options.
  std::vector<char*> qtArgv{argv[0]};
  std::vector<std::string> qtArgs = options.qtArgs;
  for (std::string& arg : qtArgs) qtArgv.push_back(arg.data());
  qtArgv.push_back(nullptr);
  int qtArgc = static_cast<int>(qtArgv.size()) - 1;

  kavelin::prepareApplication();
  QApplication app(qtArgc, qtArgv.data());
  kavelin::configureApplication();
  QGuiApplication::setDesktopFileName(QStringLiteral(KAVELIN_APP_ID));

  QStringList files;
  for (const std::string& file : options.files) files << QString::fromLocal8Bit(file.c_str());

  kavelin::DesktopPlatform platform;
  kavelin::frmAbout about(platform);
  about.Form_Load();

  kavelin::frmMain main(platform);
  main.Form_Load();
  main.show();
  main.openFiles(files);
  // The word lists are read once the window has shown, on a thread of their own.
  QTimer::singleShot(0, &main, [&main] { main.startWordSuggestions(); });
  if (options.showReadme) {
    QTimer::singleShot(0, &main, [&main] { main.action(kavelin::Cmd::HelpContents)->trigger(); });
  }
  return app.exec();
}
