// SPDX-License-Identifier: GPL-3.0-or-later
// Save targets and the unsaved-changes question.
#include "documentstate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextDocument>

#include "commondialog.h"
#include "platformtools.h"

namespace kavelin {

UnsavedChoice askAboutUnsavedChanges(PlatformTools& platform, QWidget* parent, const QString& title,
                                     const QString& text) {
  auto tr = [](const char* s) { return QCoreApplication::translate("kavelin::frmMain", s); };
  const PlatformTools::ButtonTexts texts = {{QMessageBox::Save, tr("&Save")},
                                            {QMessageBox::Discard, tr("Do&n't Save")},
                                            {QMessageBox::Cancel, tr("&Cancel")}};
  switch (platform.message(parent, QMessageBox::Warning, title, text,
                           QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, texts)) {
    case QMessageBox::Save:
      return UnsavedChoice::kSave;
    case QMessageBox::Discard:
      return UnsavedChoice::kDiscard;
    default:
      return UnsavedChoice::kCancel;
  }
}

bool hasUnsavedChanges(const QTextDocument& document) {
  return document.isModified() && !document.isEmpty();
}

std::optional<QString> DocumentFile::fileToWrite(CommonDialog& dialog, bool chooseName) const {
  if (!chooseName && !path_.isEmpty()) return path_;
  dialog.DialogTitle = kind_.title;
  dialog.Filter = kind_.filter;
  dialog.DefaultExt = kind_.ext;
  dialog.FileName = path_.isEmpty() ? nameOfKind(dialog.FileName, kind_.ext) : path_;
  // The filter of the document's own format comes first.
  dialog.FilterIndex =
      filterIndexOf(kind_.filter, path_.isEmpty() ? kind_.ext : QFileInfo(path_).suffix());
  if (!dialog.ShowSave() || dialog.FileName.isEmpty()) return std::nullopt;
  const QString chosen = filterExt(kind_.filter, dialog.FilterIndex);
  dialog.FileName = withDefaultExt(dialog.FileName, chosen.isEmpty() ? kind_.ext : chosen);
  return dialog.FileName;
}

}  // namespace kavelin
