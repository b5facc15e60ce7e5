// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the command line is read, the About window is loaded hidden, then
// the main window is loaded and shown with the files given; the program runs
// until the main window closes.
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <vector>

#include "application.h"
#include "desktopplatform.h"
#include "frmabout.h"
#include "frmmain.h"

#ifndef KAVELIN_VERSION
#define KAVELIN_VERSION "0.0.0"
#endif
#ifndef KAVELIN_APP_ID
#define KAVELIN_APP_ID "kavelin"
#endif

namespace {

// Used by the installation test: runs Help > Contents once the window shows.
const QCommandLineOption kShowReadme(QStringLiteral("show-readme"),
                                     QStringLiteral("Open the read-me after start-up."));

void describe(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("Write Hindi by typing its sounds in Roman letters.\n"
                     "Text files (.txt, UTF-8) open in the English box, RTF documents (.rtf)\n"
                     "in the Editing Box."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption showReadme = kShowReadme;
  showReadme.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(showReadme);
  parser.addPositionalArgument(QStringLiteral("files"),
                               QStringLiteral("Text files and RTF documents to open."),
                               QStringLiteral("[files...]"));
}

// --help and --version need no display: they are answered before the window
// system is contacted.
bool asksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--") == 0) return false;
    for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
      if (std::strcmp(arg, option) == 0) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (asksForHelpOrVersion(argc, argv)) {
    // The texts name the command as it is typed.
    std::vector<char*> args(argv, argv + argc);
    char command[] = "kavelin";
    args[0] = command;
    int count = argc;
    QCoreApplication app(count, args.data());
    QCoreApplication::setApplicationName(QString::fromLatin1(command));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVELIN_VERSION));
    QCommandLineParser parser;
    describe(parser);
    parser.process(app);  // prints and exits
    return 0;
  }

  kavelin::prepareApplication();
  QApplication app(argc, argv);
  kavelin::configureApplication();
  QGuiApplication::setDesktopFileName(QStringLiteral(KAVELIN_APP_ID));

  QCommandLineParser parser;
  describe(parser);
  if (!parser.parse(QCoreApplication::arguments())) {
    std::fprintf(stderr, "kavelin: %s\nTry 'kavelin --help' for more information.\n",
                 qPrintable(parser.errorText()));
    return 2;
  }

  kavelin::DesktopPlatform platform;
  kavelin::frmAbout about(platform);
  about.Form_Load();

  kavelin::frmMain main(platform);
  main.Form_Load();
  main.show();
  main.openFiles(parser.positionalArguments());
  if (parser.isSet(kShowReadme)) {
    QTimer::singleShot(0, &main, [&main] { main.action(kavelin::Cmd::HelpContents)->trigger(); });
  }
  return app.exec();
}
