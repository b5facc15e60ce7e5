// The settings dialog: chooses the font name and size of the Hindi box and
// keeps them in the settings file, section "Hindi Box".
#pragma once

#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavelin {

// What the dialog changes in the main window.
class SettingsTarget {
 public:
  virtual ~SettingsTarget() = default;
  // "Apply": the whole Hindi box takes the font (the size only when known).
  virtual void setHindiBoxFont(const QString& name, std::optional<double> size) = 0;
  // "OK": the font lists take the texts, whose handlers apply them.
  virtual void setFontListTexts(const QString& name, const QString& size) = 0;
};

class frmSettings : public QDialog {
  Q_OBJECT

 public:
  frmSettings(SettingsTarget& target, QWidget* parent = nullptr);

  void Form_Load();
  void Command1_Click();  // &Change
  void Command2_Click();  // Apply
  void OKButton_Click();
  void CancelButton_Click();

  // The font chooser: shows `preset`, returns the chosen font, or nothing when
  // the user leaves it without choosing. Replaceable for tests.
  static std::function<std::optional<QFont>(QWidget* parent, const QFont& preset)> chooseFont;

  QGroupBox* Frame1 = nullptr;  // "Font Name"
  QGroupBox* Frame2 = nullptr;  // "Size"
  QGroupBox* Frame3 = nullptr;  // "Hindi Box"
  QGroupBox* Frame4 = nullptr;  // "Sample"
  QLabel* Label1 = nullptr;     // the font name
  QLabel* Label2 = nullptr;     // the font size
  QLineEdit* Text1 = nullptr;   // the sample
  QPushButton* Command1 = nullptr;
  QPushButton* Command2 = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;

  // The settings file, set when the dialog opens and before each write.
  QString path;

 private:
  std::optional<double> labelSize() const;
  void fitLabels();
  void showSample(const QString& name, std::optional<double> size);
  bool writeLabels();

  SettingsTarget& target_;
};

}  // namespace kavelin
