// SPDX-License-Identifier: GPL-3.0-or-later
// The common dialog of the main window: one object serves every open, save,
// print and page-setup dialog and keeps its title, filter, flags, cancel setting
// and file name from one command to the next. The platform shows the dialogs.
#pragma once

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace kavelin {

class PlatformTools;

class CommonDialog {
 public:
  // Print dialog flags.
  static constexpr int kSelection = 1;      // the selection range is chosen
  static constexpr int kNoPageNumbers = 8;  // no page range to choose
  static constexpr int kReturnDC = 256;     // a device to print to comes back

  CommonDialog(PlatformTools& platform, QWidget* parent);
  ~CommonDialog();

  QString DialogTitle;
  QString Filter;  // "Description|pattern", as "All Files (*.txt)|*.txt"
  QString FileName;
  QString DefaultExt;  // without the dot; given to a saved name that has none
  // The filter chosen, from 1; a saved name without an extension takes the
  // first extension of its pattern rather than DefaultExt.
  int FilterIndex = 1;
  int Flags = 0;
  bool CancelError = false;

  // Each returns false when the user cancels; the file name is then empty.
  bool ShowOpen();
  bool ShowSave();
  // The printer comes back ready to print on.
  bool ShowPrinter();
  bool ShowPageSetup();

  QPrinter* printer();
  QWidget* parent() const { return parent_; }

 private:
  PlatformTools& platform_;
  QWidget* parent_;
  std::unique_ptr<QPrinter> printer_;
};

// A filter of "Description|pattern" pairs as Qt's file dialogs take it:
// "Description (pattern);;...", several patterns split by spaces.
QString qtFilter(const QString& filter);

// The extension (no dot) of the first pattern of filter `index` (from 1),
// "docx" for "*.docx"; empty when the pattern names none ("*.*", "*").
QString filterExt(const QString& filter, int index);
// The index (from 1) of the first filter whose patterns take `ext`; 1 for none.
int filterIndexOf(const QString& filter, const QString& ext);

// `name` with the extension `ext` (no dot) when it has none.
QString withDefaultExt(const QString& name, const QString& ext);

// The name a dialog for files of extension `ext` may propose after `previous`:
// `previous` when it is of that kind, else only its folder (or nothing).
QString nameOfKind(const QString& previous, const QString& ext);

}  // namespace kavelin
