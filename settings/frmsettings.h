// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog: chooses the font name and size of the Hindi box and
// keeps them in the settings file, section "Hindi Box".
#pragma once

#include <QDialog>
#include <QFont>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavelin {

class PlatformTools;

// What the dialog changes in the main window.
class SettingsTarget {
 public:
  virtual ~SettingsTarget() = default;
  // "Apply": the whole Hindi box takes the font (the size only when known).
  virtual void setHindiBoxFont(const QString& name, std::optional<double> size) = 0;
  // "OK": the font lists take the texts, whose handlers apply them.
  virtual void setFontListTexts(const QString& name, const QString& size) = 0;
  // The Hindi box's font now: what the dialog shows where the file names none.
  virtual QFont hindiBoxFont() const = 0;
};

class frmSettings : public QDialog {
  Q_OBJECT

 public:
  frmSettings(SettingsTarget& target, PlatformTools& platform, QWidget* parent = nullptr);

  void Form_Load();
  void Command1_Click();  // &Change
  void Command2_Click();  // Apply
  void OKButton_Click();
  void CancelButton_Click();

  QGroupBox* Frame1 = nullptr;  // "Font Name"
  QGroupBox* Frame2 = nullptr;  // "Size"
  QGroupBox* Frame3 = nullptr;  // "Hindi Box"
  QGroupBox* Frame4 = nullptr;  // "Sample"
  QLabel* Label1 = nullptr;     // the font name
  QLabel* Label2 = nullptr;     // the font size
  QLineEdit* Text1 = nullptr;   // the sample
  QLabel* Note = nullptr;       // shown when the font cannot show Hindi
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;

  // The settings file, set when the dialog opens and before each write.
  QString path;

 private:
  std::optional<double> labelSize() const;
  QString pendingName() const;
  double pendingSize() const;
  void fitLabels();
  void showSample();
  bool writeLabels();

  SettingsTarget& target_;
  PlatformTools& platform_;
};

}  // namespace kavelin
