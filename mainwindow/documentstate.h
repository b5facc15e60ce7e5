// SPDX-License-Identifier: GPL-3.0-or-later
// The files behind the boxes' texts: where a document was opened from or saved
// to, so that Save writes there and only Save As asks for a name, and the
// question asked before unsaved changes would be lost.
#pragma once

#include <QString>
#include <optional>
#include <utility>

class QTextDocument;
class QWidget;

namespace kavelin {

class CommonDialog;
class PlatformTools;

// What to do with changes that are not saved yet.
enum class UnsavedChoice { kSave, kDiscard, kCancel };

// Asks what to do with unsaved changes: "&Save", "Do&n't Save" or "&Cancel",
// each with its access key; closing the box's question is Cancel.
UnsavedChoice askAboutUnsavedChanges(PlatformTools& platform, QWidget* parent, const QString& title,
                                     const QString& text);

// Changes that would be lost: the document is modified and holds something.
bool hasUnsavedChanges(const QTextDocument& document);

// The save dialog's set-up for one kind of file.
struct FileKind {
  QString title;
  QString filter;  // as CommonDialog::Filter
  QString ext;     // the default extension, without the dot
};

// A document's file: the one it was opened from or last saved to, or none.
class DocumentFile {
 public:
  explicit DocumentFile(FileKind kind) : kind_(std::move(kind)) {}

  QString path() const { return path_; }
  void setPath(const QString& path) { path_ = path; }

  // The file a save writes: the document's own, unless it has none or
  // `chooseName` (Save As), when the save dialog asks, proposing the
  // document's own name. Nothing when the user cancels.
  std::optional<QString> fileToWrite(CommonDialog& dialog, bool chooseName) const;

 private:
  FileKind kind_;
  QString path_;
};

}  // namespace kavelin
