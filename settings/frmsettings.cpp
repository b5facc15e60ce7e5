// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmsettings.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "forms.h"
#include "glyphfont.h"
#include "keys.h"
#include "numbers.h"
#include "platformtools.h"
#include "settingsfile.h"

namespace kavelin {
namespace {

// A short word in the legacy font's glyph codes: हिन्दी.
const QString kSample = QStringLiteral("fgUnh");

}  // namespace

frmSettings::frmSettings(SettingsTarget& target, PlatformTools& platform, QWidget* parent)
    : QDialog(parent), target_(target), platform_(platform) {
  useDialogFrame(this);
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
  // Between the frame and the buttons.
  Note = new QLabel(this);
  Note->setObjectName(QStringLiteral("Note"));
  Note->setWordWrap(true);
  Note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Note->hide();

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
  const HindiBoxFont stored = readHindiBoxFont(path);
  Label1->setText(stored.name);
  Label2->setText(stored.size);
  showSample();
  Command2->setEnabled(true);
}

// The controls at their design places, each frame widened (and the sample
// made taller) as far as its text needs, the controls to its right moving
// along, so that no label or sample is cut.
void frmSettings::fitLabels() {
  constexpr int kLabelLeft = 120, kLabelTop = 360, kMaxLabel = 360;
  auto needed = [](QLabel* label) {
    return label->fontMetrics().horizontalAdvance(label->text()) + 2;
  };
  // A name wider than any frame can be (a stored value of up to 254
  // characters) shows whole in the tooltip.
  for (QLabel* label : {Label1, Label2}) {
    label->setWordWrap(false);
    label->setToolTip(label->text());
  }
  const int label1 = std::min(needed(Label1), kMaxLabel);
  const int label2 = std::min(needed(Label2), kMaxLabel);
  const QFontMetrics sample(Text1->font());
  const QMargins text = Text1->textMargins();
  // The line edit's frame and inner margin: what its size hint adds to its text.
  const int frameW =
      Text1->minimumSizeHint().width() - Text1->fontMetrics().horizontalAdvance(u'x');
  const int sampleW = std::max(px(735), sample.horizontalAdvance(Text1->text()) + text.left() +
                                            text.right() + std::max(frameW, 8));
  const int sampleH =
      std::clamp(sample.height() + text.top() + text.bottom() + 8, px(495), px(495) * 4);

  const int grow1 = std::max(0, px(kLabelLeft) + label1 + px(kLabelLeft) - px(2295));
  const int grow2 = std::max(0, px(kLabelLeft) + label2 + px(kLabelLeft) - px(615));
  const int grow4 = std::max(0, sampleW - px(735));
  int growH = std::max(0, sampleH - px(495));
  const int frameH = px(855) + growH;

  Frame1->setGeometry(px(120), px(240), px(2295) + grow1, frameH);
  Frame2->setGeometry(px(2520) + grow1, px(240), px(615) + grow2, frameH);
  Frame4->setGeometry(px(3240) + grow1 + grow2, px(240), px(975) + grow4, frameH);
  Text1->setGeometry(px(120), px(240), sampleW, sampleH);
  Command1->setGeometry(px(4320) + grow1 + grow2 + grow4, px(360), px(975), px(735));
  const int growW = grow1 + grow2 + grow4;
  Frame3->setGeometry(px(120), px(240), px(5535) + growW, px(1215) + growH);
  // The note takes the lines it needs; more than two make the dialog taller.
  const int noteW = px(6420) + growW - 2 * px(120);
  const int noteH = std::max(px(495), Note->isVisibleTo(this) ? Note->heightForWidth(noteW) : 0);
  Note->setGeometry(px(120), px(1500) + growH, noteW, noteH);
  growH += noteH - px(495);
  OKButton->move(px(2040), px(2040) + growH);
  CancelButton->move(px(3240), px(2040) + growH);
  Command2->move(px(960), px(2040) + growH);
  setFixedSize(px(6420) + growW, px(2775) + growH);
  Label1->setGeometry(px(kLabelLeft), px(kLabelTop), label1, Label1->sizeHint().height());
  Label2->setGeometry(px(kLabelLeft), px(kLabelTop), label2, Label2->sizeHint().height());
}

// The size label as a number; nothing when it holds none ("Not available").
std::optional<double> frmSettings::labelSize() const {
  const std::optional<double> size = parseNumber(Label2->text());
  if (!size || *size <= 0) return std::nullopt;
  return size;
}

// The font the labels name; where the file names none ("Not available"), the
// Hindi box's font, which then stays.
QString frmSettings::pendingName() const {
  const QString name = Label1->text().trimmed();
  return name.isEmpty() || name == keys::kFontName.fallback ? target_.hindiBoxFont().family()
                                                            : name;
}

double frmSettings::pendingSize() const {
  return labelSize().value_or(target_.hindiBoxFont().pointSizeF());
}

// The sample shows the pending font as the Hindi box will: a legacy-code name
// draws Hindi (in the bundled font when no font of that name is installed);
// any other font draws the codes' Latin letters, and the note says so.
void frmSettings::showSample() {
  QFont font = Text1->font();
  const QFont sample = glyphSampleFont(pendingName(), pendingSize());
  font.setFamilies(sample.families());
  font.setPointSizeF(sample.pointSizeF());
  Text1->setFont(font);
  Note->setText(glyphFontNote(pendingName()));
  Note->setVisible(!Note->text().isEmpty());
  fitLabels();
}

// The chooser starts at the pending font.
void frmSettings::Command1_Click() {
  QFont preset(pendingName());
  preset.setPointSizeF(pendingSize());
  if (const std::optional<QFont> chosen = platform_.chooseFont(this, preset, tr("Font"))) {
    Label1->setText(chosen->family());
    Label2->setText(sizeText(chosen->pointSizeF()));
    showSample();
  }
  Command2->setEnabled(true);
}

// Writes both labels in one go; a failure is reported, naming the file and the
// reason.
bool frmSettings::writeLabels() {
  path = settingsFilePath();
  QString error;
  const bool ok = writeHindiBoxFont({Label1->text(), Label2->text()}, path, &error);
  if (!ok) {
    platform_.message(this, QMessageBox::Warning, windowTitle(),
                      tr("The settings could not be saved to %1:\n%2").arg(path, error));
  }
  return ok;
}

void frmSettings::Command2_Click() {
  writeLabels();
  target_.setHindiBoxFont(pendingName(), labelSize());
  Command2->setEnabled(false);
}

void frmSettings::OKButton_Click() {
  writeLabels();
  target_.setFontListTexts(pendingName(), sizeText(pendingSize()));
  close();
}

void frmSettings::CancelButton_Click() { close(); }

}  // namespace kavelin
