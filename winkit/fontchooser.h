// SPDX-License-Identifier: GPL-3.0-or-later
// The font dialog of the settings: a list of font names with the legacy-code
// names first, a size, and a sample of the glyph codes in the chosen font.
#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace kavelin {

// The families for a font-name list: each once, in the order given, without
// the foundry that Qt appends to a family several foundries make ("Sans [Foo]").
QStringList fontFamilies(const QStringList& families);

// What font-name lists offer: the legacy-code names ("DevLys 160" and its
// Bold), then the installed families that show glyph codes as Hindi, then the
// other installed families; each once.
QStringList offeredFontNames(const QStringList& installed);

class FontChooser : public QDialog {
  Q_OBJECT

 public:
  // Lists `families`, with the preset's family (added when missing) and size
  // chosen.
  FontChooser(const QFont& preset, const QStringList& families, QWidget* parent = nullptr);

  // The family and size chosen.
  QFont chosenFont() const;

  QListWidget* familyList = nullptr;
  QComboBox* sizeBox = nullptr;
  QLineEdit* sample = nullptr;
  QLabel* note = nullptr;  // what the Hindi box will look like in a font without glyphs

 private:
  void showSample();
};

}  // namespace kavelin
