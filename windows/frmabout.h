// The About window: the program's title, version and description with its
// pictures, and a button that starts the system-information tool.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace kavelin {

class Registry;

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);

  // Prepares the labels and pictures; runs at every load.
  void Form_Load();
  void cmdOK_Click();
  void cmdSysInfo_Click();

  QLabel* picIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QLabel* lblFont = nullptr;  // which font draws the Hindi
  QLabel* Picture1 = nullptr;
  QLabel* Picture2 = nullptr;
  QLabel* Picture3 = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdSysInfo = nullptr;

  // Where the system-information tool is looked up, and how it is started;
  // replaceable for tests.
  static Registry* registry;
  static std::function<bool(const QString& program)> startProgram;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace kavelin
