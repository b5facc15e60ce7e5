// The About window.
#pragma once

#include <QDialog>

namespace kavelin {

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);
  // Prepares the labels; runs at every load.
  void Form_Load();
};

}  // namespace kavelin
