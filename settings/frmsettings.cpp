#include "frmsettings.h"

#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "forms.h"
#include "inifile.h"
#include "messages.h"
#include "settingsfile.h"

namespace kavelin {
namespace {

const char* const kSection = "Hindi Box";

// A short word in the font's glyph codes: हिन्दी.
const QString kSample = QStringLiteral("fgUnh");

// 12 as "12", 14.25 as "14.25": a single-precision number as text.
QString sizeText(double points) {
  return QString::number(static_cast<double>(static_cast<float>(points)), 'g', 7);
}

}  // namespace

std::function<std::optional<QFont>(QWidget*, const QFont&)> frmSettings::chooseFont =
    [](QWidget* parent, const QFont& preset) -> std::optional<QFont> {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, preset, parent, tr("Font"));
  if (!ok) return std::nullopt;
  return font;
};

frmSettings::frmSettings(SettingsTarget& target, QWidget* parent)
    : QDialog(parent), target_(target) {
  setWindowTitle(tr("Settings"));
  setAttribute(Qt::WA_DeleteOnClose);
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8);
  setFont(font);
  setFixedSize(px(6420), px(2775));

  Frame3 = new QGroupBox(tr("Hindi Box"), this);
  place(Frame3, 120, 240, 5535, 1215);
  Frame1 = new QGroupBox(tr("Font Name"), Frame3);
  place(Frame1, 120, 240, 2295, 855);
  // The labels wrap inside their frames rather than being cut off.
  Label1 = new QLabel(Frame1);
  Label1->setWordWrap(true);
  Frame2 = new QGroupBox(tr("Size"), Frame3);
  place(Frame2, 2520, 240, 615, 855);
  Label2 = new QLabel(Frame2);
  Label2->setWordWrap(true);
  Frame4 = new QGroupBox(tr("Sample"), Frame3);
  place(Frame4, 3240, 240, 975, 855);
  Text1 = new QLineEdit(kSample, Frame4);
  place(Text1, 120, 240, 735, 495);
  Text1->setAlignment(Qt::AlignCenter);
  Command1 = new QPushButton(tr("&Change"), Frame3);
  place(Command1, 4320, 360, 975, 735);

  OKButton = new QPushButton(tr("OK"), this);
  place(OKButton, 2040, 2040, 1095, 375);
  CancelButton = new QPushButton(tr("Cancel"), this);
  place(CancelButton, 3240, 2040, 1095, 375);
  Command2 = new QPushButton(tr("Apply"), this);
  place(Command2, 960, 2040, 975, 375);
  OKButton->setDefault(true);
  setTabOrder(OKButton, CancelButton);
  setTabOrder(CancelButton, Command1);
  setTabOrder(Command1, Command2);
  setTabOrder(Command2, Text1);

  connect(Command1, &QPushButton::clicked, this, &frmSettings::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &frmSettings::Command2_Click);
  connect(OKButton, &QPushButton::clicked, this, &frmSettings::OKButton_Click);
  connect(CancelButton, &QPushButton::clicked, this, &frmSettings::CancelButton_Click);
}

void frmSettings::Form_Load() {
  path = settingsFilePath();
  Label1->setText(QString::fromStdString(GetIni(kSection, "FontName", path.toStdString())));
  Label2->setText(QString::fromStdString(GetIni(kSection, "FontSize", path.toStdString())));
  fitLabels();
  showSample(Label1->text(), labelSize());
  Command2->setEnabled(true);
}

// Each label starts at its design place and takes the width left in its frame.
void frmSettings::fitLabels() {
  for (QLabel* label : {Label1, Label2}) {
    const int left = px(120);
    const int top = px(360);
    const QWidget* frame = label->parentWidget();
    const int width = frame->width() - left - 4;
    label->setGeometry(left, top, width, label->heightForWidth(width));
    label->setToolTip(label->text());
  }
}

// The size label as a number; nothing when it holds none ("Not available").
std::optional<double> frmSettings::labelSize() const {
  bool ok = false;
  const float size = Label2->text().trimmed().toFloat(&ok);
  if (!ok || size <= 0) return std::nullopt;
  return size;
}

// The sample shows the pending font; without a size it keeps its own.
void frmSettings::showSample(const QString& name, std::optional<double> size) {
  QFont font = Text1->font();
  font.setFamily(name);
  if (size) font.setPointSizeF(*size);
  Text1->setFont(font);
}

void frmSettings::Command1_Click() {
  QFont preset(Label1->text());
  preset.setPointSizeF(labelSize().value_or(Text1->font().pointSizeF()));
  if (const std::optional<QFont> chosen = chooseFont(this, preset)) {
    Label1->setText(chosen->family());
    Label2->setText(sizeText(chosen->pointSizeF()));
    fitLabels();
    showSample(chosen->family(), chosen->pointSizeF());
  }
  Command2->setEnabled(true);
}

// Writes both labels; a failure is reported, naming the file and the reason.
bool frmSettings::writeLabels() {
  path = settingsFilePath();
  std::string error;
  const bool ok =
      WriteIni(kSection, "FontName", Label1->text().toStdString(), path.toStdString(), &error) &&
      WriteIni(kSection, "FontSize", Label2->text().toStdString(), path.toStdString(), &error);
  if (!ok) {
    messages::show(this, QMessageBox::Warning, windowTitle(),
                   tr("The settings could not be saved to %1:\n%2")
                       .arg(path, QString::fromStdString(error)));
  }
  return ok;
}

void frmSettings::Command2_Click() {
  writeLabels();
  target_.setHindiBoxFont(Label1->text(), labelSize());
  Command2->setEnabled(false);
}

void frmSettings::OKButton_Click() {
  writeLabels();
  target_.setFontListTexts(Label1->text(), Label2->text());
  close();
}

void frmSettings::CancelButton_Click() { close(); }

}  // namespace kavelin
