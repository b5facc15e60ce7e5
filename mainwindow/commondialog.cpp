#include "commondialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace kavelin {

CommonDialog::CommonDialog(QWidget* parent) : parent_(parent) {}

CommonDialog::~CommonDialog() = default;

QPrinter* CommonDialog::printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
  }
  return printer_.get();
}

// "All Files (*.txt)|*.txt" lists its descriptions; each names its patterns.
QString CommonDialog::qtFilter() const {
  const QStringList parts = Filter.split(u'|');
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
    if (!description.contains(u'(')) description += QStringLiteral(" (%1)").arg(patterns);
    filters << description;
  }
  return filters.join(QStringLiteral(";;"));
}

bool CommonDialog::ShowOpen() {
  FileName = QFileDialog::getOpenFileName(parent_, DialogTitle, FileName, qtFilter());
  return !FileName.isEmpty();
}

bool CommonDialog::ShowSave() {
  QFileDialog dialog(parent_, DialogTitle, FileName, qtFilter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The dialog adds the extension itself, so that it can ask before replacing
  // the file of that name.
  dialog.setDefaultSuffix(DefaultExt);
  if (QFileInfo(FileName).isDir()) dialog.setDirectory(FileName);
  FileName = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                 ? withDefaultExt(dialog.selectedFiles().constFirst(), DefaultExt)
                 : QString();
  return !FileName.isEmpty();
}

QString withDefaultExt(const QString& name, const QString& ext) {
  if (name.isEmpty() || ext.isEmpty() || name.endsWith(u'/')) return name;
  const QString fileName = QFileInfo(name).fileName();
  // A name such as ".profile" or "notes." is taken as it stands.
  if (fileName.contains(u'.')) return name;
  return name + u'.' + ext;
}

QString nameOfKind(const QString& previous, const QString& ext) {
  if (previous.isEmpty() || ext.isEmpty()) return previous;
  const QFileInfo info(previous);
  if (info.suffix().compare(ext, Qt::CaseInsensitive) == 0) return previous;
  if (info.isDir()) return previous;
  return info.path() == QStringLiteral(".") ? QString() : info.path() + u'/';
}

bool CommonDialog::ShowPrinter() {
  QPrintDialog dialog(printer(), parent_);
  if (!DialogTitle.isEmpty()) dialog.setWindowTitle(DialogTitle);
  QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
  if (!(Flags & kNoPageNumbers)) options |= QAbstractPrintDialog::PrintPageRange;
  if (Flags & kSelection) {
    options |= QAbstractPrintDialog::PrintSelection;
    printer()->setPrintRange(QPrinter::Selection);
  } else {
    printer()->setPrintRange(QPrinter::AllPages);
  }
  dialog.setOptions(options);
  return dialog.exec() == QDialog::Accepted;
}

bool CommonDialog::ShowPageSetup() {
  // Without a system printer (only printing to PDF) the page setup dialog is
  // not available; the print dialog's options set paper and margins there.
  if (printer()->outputFormat() != QPrinter::NativeFormat ||
      QPrinterInfo::availablePrinterNames().isEmpty()) {
    QPrintDialog dialog(printer(), parent_);
    if (!DialogTitle.isEmpty()) dialog.setWindowTitle(DialogTitle);
    return dialog.exec() == QDialog::Accepted;
  }
  QPageSetupDialog dialog(printer(), parent_);
  if (!DialogTitle.isEmpty()) dialog.setWindowTitle(DialogTitle);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace kavelin
