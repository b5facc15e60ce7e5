// Start-up: the About window is loaded hidden, then the main window is loaded
// and shown; the program runs until the main window closes.
#include <QApplication>

#include "application.h"
#include "frmabout.h"
#include "frmmain.h"

int main(int argc, char** argv) {
  kavelin::prepareApplication();
  QApplication app(argc, argv);
  kavelin::configureApplication();

  kavelin::frmAbout about;
  about.Form_Load();

  kavelin::frmMain main;
  main.Form_Load();
  main.show();
  return app.exec();
}
