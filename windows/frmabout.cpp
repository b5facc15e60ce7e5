#include "frmabout.h"

#include <QCoreApplication>

namespace kavelin {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {}

void frmAbout::Form_Load() {
  setWindowTitle(tr("About ") + QCoreApplication::applicationName());
}

}  // namespace kavelin
