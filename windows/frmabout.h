// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: the program's title, version and description with its
// pictures, and a button that starts the system-information tool.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace kavelin {

class PlatformTools;

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  // The system-information tool is looked up in the platform's registry and
  // started by the platform.
  explicit frmAbout(PlatformTools& platform, QWidget* parent = nullptr);

  // Prepares the labels and pictures; runs at every load.
  void Form_Load();
  // The word lists the suggestions were found in, under the font's line.
  void setWordLists(const QString& summary);
  void cmdOK_Click();
  void cmdSysInfo_Click();

  QLabel* picIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QLabel* lblFont = nullptr;     // which font draws the Hindi
  QLabel* lblWords = nullptr;    // which word lists the suggestions use
  QLabel* lblLicence = nullptr;  // the program's licence
  QLabel* Picture1 = nullptr;
  QLabel* Picture2 = nullptr;
  QLabel* Picture3 = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdSysInfo = nullptr;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  PlatformTools& platform_;
};

}  // namespace kavelin
