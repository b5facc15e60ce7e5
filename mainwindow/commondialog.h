// The common dialog of the main window: one object serves every open, save,
// print and page-setup dialog and keeps its title, filter, flags, cancel setting
// and file name from one command to the next.
#pragma once

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

namespace kavelin {

class CommonDialog {
 public:
  // Print dialog flags.
  static constexpr int kSelection = 1;       // the selection range is chosen
  static constexpr int kNoPageNumbers = 8;   // no page range to choose
  static constexpr int kReturnDC = 256;      // a device to print to comes back

  explicit CommonDialog(QWidget* parent);
  virtual ~CommonDialog();

  QString DialogTitle;
  QString Filter;  // "Description|pattern", as "All Files (*.txt)|*.txt"
  QString FileName;
  QString DefaultExt;  // without the dot; given to a saved name that has none
  int Flags = 0;
  bool CancelError = false;

  // Each returns false when the user cancels; the file name is then empty.
  virtual bool ShowOpen();
  virtual bool ShowSave();
  // The printer comes back ready to print on.
  virtual bool ShowPrinter();
  virtual bool ShowPageSetup();

  QPrinter* printer();

 protected:
  QWidget* parent_;

 private:
  QString qtFilter() const;
  std::unique_ptr<QPrinter> printer_;
};

// `name` with the extension `ext` (no dot) when it has none.
QString withDefaultExt(const QString& name, const QString& ext);

// The name a dialog for files of extension `ext` may propose after `previous`:
// `previous` when it is of that kind, else only its folder (or nothing).
QString nameOfKind(const QString& previous, const QString& ext);

}  // namespace kavelin
