// SPDX-License-Identifier: GPL-3.0-or-later
// File > Convert Documents: text, RTF, DOCX and ODT files converted between
// glyph codes and Unicode into an output folder, one after another on a worker
// thread, with a line of result per file. Originals are never written.
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QString>
#include <QStringList>
#include <memory>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kavelin {

class PlatformTools;
namespace batch {
class Queue;
struct Outcome;
}  // namespace batch

class frmConvertDocuments : public QDialog {
  Q_OBJECT

 public:
  explicit frmConvertDocuments(PlatformTools& platform, QWidget* parent = nullptr);
  // Cancels a running batch and waits for its current file.
  ~frmConvertDocuments() override;

  // Adds files, and the documents directly in folders; reports those that
  // cannot be converted. A file already listed is not added again.
  void addPaths(const QStringList& paths);
  QStringList files() const;
  bool running() const { return queue_ != nullptr; }

  void AddFiles_Click();
  void AddFolder_Click();
  void Remove_Click();
  void Browse_Click();
  void Convert_Click();
  void Close_Click();  // Cancel while converting: stops after the current file

  QTreeWidget* FileList = nullptr;  // columns: document, result
  QPushButton* AddFilesButton = nullptr;
  QPushButton* AddFolderButton = nullptr;
  QPushButton* RemoveButton = nullptr;
  QRadioButton* ToUnicode = nullptr;
  QRadioButton* ToGlyphs = nullptr;
  QLineEdit* OutputFolder = nullptr;
  QPushButton* BrowseButton = nullptr;
  QProgressBar* Progress = nullptr;
  QLabel* Summary = nullptr;
  QPushButton* ConvertButton = nullptr;
  QPushButton* CloseButton = nullptr;

 signals:
  // A batch is through, finished or cancelled, and the window shows its results.
  void batchFinished();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void createControls();
  void updateStates();
  void setProgress(int index, double fraction);
  void fileStarted(int index);
  void fileFinished(const batch::Outcome& outcome);
  void batchDone();
  QTreeWidgetItem* item(int index) const;

  PlatformTools& platform_;
  std::shared_ptr<batch::Queue> queue_;  // while a batch runs
  QFutureWatcher<void> watcher_;
  QString folderError_;  // the output folder could not be made
  int converted_ = 0;    // of the running or last batch
  int failed_ = 0;
  int total_ = 0;
  bool folderChosen_ = false;  // by the user, rather than beside the first file
  bool closeWhenDone_ = false;
};

// The result line of a file, such as "Done: letter (2).docx".
QString outcomeText(const batch::Outcome& outcome);

}  // namespace kavelin
