// Start-up: the About window is loaded hidden, then the main window is loaded
// and shown; the program runs until the main window closes.
#include <QApplication>
#include <QFont>
#include <unistd.h>

#include "frmabout.h"
#include "frmmain.h"

int main(int argc, char** argv) {
  // The browser window's web engine shares its GL contexts and, run as root,
  // cannot use its sandbox.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kavelin"));
  QApplication::setApplicationVersion(QStringLiteral(KAVELIN_VERSION));
  // Fonts of the design that Linux does not have by that name.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans"),
                              QStringLiteral("DejaVu Sans")});

  kavelin::frmAbout about;
  about.Form_Load();

  kavelin::frmMain main;
  main.Form_Load();
  main.show();
  return app.exec();
}
