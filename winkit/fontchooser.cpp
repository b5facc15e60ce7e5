// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontchooser.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSet>

#include "forms.h"
#include "glyphfont.h"
#include "numbers.h"

namespace kavelin {

QStringList fontFamilies(const QStringList& families) {
  QStringList out;
  QSet<QString> seen;
  for (QString family : families) {
    if (family.endsWith(u']')) {
      const qsizetype open = family.lastIndexOf(QStringLiteral(" ["));
      if (open > 0) family.truncate(open);
    }
    family = family.trimmed();
    if (family.isEmpty()) continue;
    const QString key = family.toCaseFolded();
    if (seen.contains(key)) continue;
    seen.insert(key);
    out << family;
  }
  return out;
}

QStringList offeredFontNames(const QStringList& installed) {
  QStringList glyphs = glyphFontNames();
  QStringList others;
  for (const QString& family : fontFamilies(installed)) {
    (drawsGlyphCodes(family) ? glyphs : others) << family;
  }
  return fontFamilies(glyphs + others);
}

FontChooser::FontChooser(const QFont& preset, const QStringList& families, QWidget* parent)
    : QDialog(parent) {
  useDialogFrame(this);
  setWindowTitle(tr("Font"));
  familyList = new QListWidget(this);
  familyList->addItems(families);
  const QString family = preset.family();
  QList<QListWidgetItem*> found = familyList->findItems(family, Qt::MatchFixedString);
  if (found.isEmpty() && !family.isEmpty()) {
    familyList->addItem(family);
    found = {familyList->item(familyList->count() - 1)};
  }
  if (!found.isEmpty()) familyList->setCurrentItem(found.first());

  sizeBox = new QComboBox(this);
  sizeBox->setEditable(true);
  sizeBox->setInsertPolicy(QComboBox::NoInsert);
  for (int size = 8; size <= 72; size += 2) sizeBox->addItem(QString::number(size));
  sizeBox->setMinimumContentsLength(6);
  sizeBox->setEditText(sizeText(preset.pointSizeF() > 0 ? preset.pointSizeF() : 12));
  sizeBox->lineEdit()->setCursorPosition(0);

  // The word हिन्दी in glyph codes, as the Hindi box will show it.
  sample = new QLineEdit(QStringLiteral("fgUnh"), this);
  sample->setReadOnly(true);
  sample->setAlignment(Qt::AlignCenter);
  sample->setMinimumHeight(64);
  note = new QLabel(this);
  note->setWordWrap(true);

  auto* fontLabel = new QLabel(tr("&Font:"), this);
  fontLabel->setBuddy(familyList);
  auto* sizeLabel = new QLabel(tr("&Size:"), this);
  sizeLabel->setBuddy(sizeBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(fontLabel, 0, 0);
  grid->addWidget(sizeLabel, 0, 1);
  grid->addWidget(familyList, 1, 0, 2, 1);
  grid->addWidget(sizeBox, 1, 1, Qt::AlignTop);
  grid->addWidget(sample, 3, 0, 1, 2);
  grid->addWidget(note, 4, 0, 1, 2);
  grid->addWidget(buttons, 5, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(2, 1);
  resize(420, 440);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(familyList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  connect(familyList, &QListWidget::currentRowChanged, this, &FontChooser::showSample);
  connect(sizeBox, &QComboBox::currentTextChanged, this, &FontChooser::showSample);
  showSample();
  familyList->setFocus();
}

QFont FontChooser::chosenFont() const {
  QFont font;
  if (const QListWidgetItem* item = familyList->currentItem()) font.setFamily(item->text());
  const std::optional<double> size = parseNumber(sizeBox->currentText());
  font.setPointSizeF(size && *size >= 1 && *size <= 1638 ? *size : 12);
  return font;
}

void FontChooser::showSample() {
  const QFont chosen = chosenFont();
  sample->setFont(glyphSampleFont(chosen.family(), chosen.pointSizeF()));
  note->setText(glyphFontNote(chosen.family()));
  note->setVisible(!note->text().isEmpty());
}

}  // namespace kavelin
