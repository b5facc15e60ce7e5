// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktopplatform.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "commondialog.h"
#include "fontchooser.h"
#include "forms.h"
#include "registry.h"
#include "webcomponent.h"

namespace kavelin {

QMessageBox::StandardButton DesktopPlatform::message(QWidget* parent, QMessageBox::Icon icon,
                                                     const QString& title, const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     const ButtonTexts& texts) {
  QMessageBox box(icon, title, text, buttons, parent);
  useDialogFrame(&box);
  for (const auto& [button, caption] : texts) {
    if (QAbstractButton* b = box.button(button)) b->setText(caption);
  }
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

bool DesktopPlatform::showOpen(CommonDialog& dlg) {
  QFileDialog dialog(dlg.parent(), dlg.DialogTitle, dlg.FileName, qtFilter(dlg.Filter));
  useDialogFrame(&dialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dlg.FileName = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                     ? dialog.selectedFiles().constFirst()
                     : QString();
  return !dlg.FileName.isEmpty();
}

bool DesktopPlatform::showSave(CommonDialog& dlg) {
  QFileDialog dialog(dlg.parent(), dlg.DialogTitle, dlg.FileName, qtFilter(dlg.Filter));
  useDialogFrame(&dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The dialog adds the extension itself, the chosen filter's or else the
  // default, so that it can ask before replacing the file of that name.
  const QStringList filters = dialog.nameFilters();
  auto suffixOf = [&](int index) {
    const QString ext = filterExt(dlg.Filter, index);
    return ext.isEmpty() ? dlg.DefaultExt : ext;
  };
  if (dlg.FilterIndex >= 1 && dlg.FilterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[dlg.FilterIndex - 1]);
  }
  dialog.setDefaultSuffix(suffixOf(dlg.FilterIndex));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
    dialog.setDefaultSuffix(suffixOf(static_cast<int>(filters.indexOf(chosen)) + 1));
  });
  if (QFileInfo(dlg.FileName).isDir()) dialog.setDirectory(dlg.FileName);
  const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  if (accepted) {
    const int chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (chosen > 0) dlg.FilterIndex = chosen;
  }
  dlg.FileName =
      accepted ? withDefaultExt(dialog.selectedFiles().constFirst(), suffixOf(dlg.FilterIndex))
               : QString();
  return !dlg.FileName.isEmpty();
}

QStringList DesktopPlatform::chooseFiles(QWidget* parent, const QString& title,
                                         const QString& folder, const QString& filter) {
  QFileDialog dialog(parent, title, folder, filter);
  useDialogFrame(&dialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString DesktopPlatform::chooseFolder(QWidget* parent, const QString& title,
                                      const QString& folder) {
  QFileDialog dialog(parent, title, folder);
  useDialogFrame(&dialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().constFirst()
             : QString();
}

bool DesktopPlatform::showPrinter(CommonDialog& dlg) {
  QPrinter* printer = dlg.printer();
  QPrintDialog dialog(printer, dlg.parent());
  useDialogFrame(&dialog);
  if (!dlg.DialogTitle.isEmpty()) dialog.setWindowTitle(dlg.DialogTitle);
  QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile;
  if (!(dlg.Flags & CommonDialog::kNoPageNumbers)) options |= QAbstractPrintDialog::PrintPageRange;
  if (dlg.Flags & CommonDialog::kSelection) {
    options |= QAbstractPrintDialog::PrintSelection;
    printer->setPrintRange(QPrinter::Selection);
  } else {
    printer->setPrintRange(QPrinter::AllPages);
  }
  dialog.setOptions(options);
  return dialog.exec() == QDialog::Accepted;
}

bool DesktopPlatform::showPageSetup(CommonDialog& dlg) {
  QPrinter* printer = dlg.printer();
  // Without a system printer (only printing to PDF) the page setup dialog is
  // not available; the print dialog's options set paper and margins there.
  if (printer->outputFormat() != QPrinter::NativeFormat ||
      QPrinterInfo::availablePrinterNames().isEmpty()) {
    QPrintDialog dialog(printer, dlg.parent());
    useDialogFrame(&dialog);
    if (!dlg.DialogTitle.isEmpty()) dialog.setWindowTitle(dlg.DialogTitle);
    return dialog.exec() == QDialog::Accepted;
  }
  QPageSetupDialog dialog(printer, dlg.parent());
  useDialogFrame(&dialog);
  if (!dlg.DialogTitle.isEmpty()) dialog.setWindowTitle(dlg.DialogTitle);
  return dialog.exec() == QDialog::Accepted;
}

std::optional<QFont> DesktopPlatform::chooseFont(QWidget* parent, const QFont& preset,
                                                 const QString& title) {
  FontChooser dialog(preset, offeredFontNames(QFontDatabase::families()), parent);
  dialog.setWindowTitle(title);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosenFont();
}

bool DesktopPlatform::startProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

// The desktop's handler for the file, or else xdg-open (platforms without
// desktop services, such as offscreen, have only the latter).
bool DesktopPlatform::openFile(const QString& path) {
  if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return true;
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  return !opener.isEmpty() && QProcess::startDetached(opener, {path});
}

Registry& DesktopPlatform::registry() { return systemRegistry(); }

WebComponent* DesktopPlatform::createWebComponent() { return createWebEngineComponent(nullptr); }

}  // namespace kavelin
