// SPDX-License-Identifier: GPL-3.0-or-later
#include "convertdocuments.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "batch.h"
#include "keys.h"
#include "platformtools.h"

namespace kavelin {
namespace {

constexpr int kSteps = 1000;  // of the progress bar per file
constexpr int kPathRole = Qt::UserRole;

QString fromUtf8(const std::string& s) { return QString::fromStdString(s); }
std::string toUtf8(const QString& s) { return s.toStdString(); }

QString characters(std::size_t n) {
  return n == 1 ? frmConvertDocuments::tr("1 character")
                : frmConvertDocuments::tr("%1 characters").arg(n);
}

}  // namespace

QString outcomeText(const batch::Outcome& outcome) {
  const FileResult& r = outcome.result;
  if (!r.ok) {
    // The message names the input; the line already does.
    const std::string prefix = outcome.input + ": ";
    const std::string& e = r.error;
    QString text = fromUtf8(e.rfind(prefix, 0) == 0 ? e.substr(prefix.size()) : e);
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
  }
  const QString name = QFileInfo(fromUtf8(outcome.output)).fileName();
  if (r.unconverted == 0) return frmConvertDocuments::tr("Done: %1").arg(name);
  return frmConvertDocuments::tr("Done: %1; %2 left as they were")
      .arg(name, characters(r.unconverted));
}

frmConvertDocuments::frmConvertDocuments(PlatformTools& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setObjectName(QStringLiteral("frmConvertDocuments"));
  setWindowTitle(tr("Convert Documents"));
  createControls();
  const QString folder = readText(keys::kConvertFolder);
  if (!folder.isEmpty()) {
    OutputFolder->setText(folder);
    folderChosen_ = true;
  }
  (readFlag(keys::kConvertToUnicode) ? ToUnicode : ToGlyphs)->setChecked(true);
  connect(&watcher_, &QFutureWatcher<void>::finished, this, &frmConvertDocuments::batchDone);
  updateStates();
}

frmConvertDocuments::~frmConvertDocuments() {
  if (queue_) queue_->cancel();
  watcher_.waitForFinished();
}

void frmConvertDocuments::createControls() {
  auto* filesLabel = new QLabel(tr("&Documents to convert (text, RTF, DOCX, ODT):"), this);
  FileList = new QTreeWidget(this);
  FileList->setObjectName(QStringLiteral("FileList"));
  FileList->setColumnCount(2);
  FileList->setHeaderLabels({tr("Document"), tr("Result")});
  FileList->setRootIsDecorated(false);
  FileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FileList->setUniformRowHeights(true);
  FileList->header()->setStretchLastSection(true);
  FileList->setColumnWidth(0, 220);
  filesLabel->setBuddy(FileList);

  AddFilesButton = new QPushButton(tr("Add &Files…"), this);
  AddFolderButton = new QPushButton(tr("Add F&older…"), this);
  RemoveButton = new QPushButton(tr("&Remove"), this);
  auto* listButtons = new QVBoxLayout;
  for (QPushButton* b : {AddFilesButton, AddFolderButton, RemoveButton}) listButtons->addWidget(b);
  listButtons->addStretch();
  auto* listRow = new QHBoxLayout;
  listRow->addWidget(FileList, 1);
  listRow->addLayout(listButtons);

  ToUnicode = new QRadioButton(tr("&Glyph codes to Unicode"), this);
  ToUnicode->setToolTip(tr("Text in the legacy font DevLys 160 becomes Unicode Devanagari"));
  ToGlyphs = new QRadioButton(tr("&Unicode to glyph codes"), this);
  ToGlyphs->setToolTip(tr("Unicode Devanagari becomes glyph codes in the font DevLys 160"));
  auto* direction = new QHBoxLayout;
  direction->addWidget(ToUnicode);
  direction->addWidget(ToGlyphs);
  direction->addStretch();

  OutputFolder = new QLineEdit(this);
  OutputFolder->setObjectName(QStringLiteral("OutputFolder"));
  OutputFolder->setPlaceholderText(tr("A “converted” folder beside the first document"));
  BrowseButton = new QPushButton(tr("&Browse…"), this);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(OutputFolder, 1);
  folderRow->addWidget(BrowseButton);

  auto* form = new QFormLayout;
  form->addRow(tr("Direction:"), direction);
  auto* folderLabel = new QLabel(tr("Output fol&der:"), this);
  folderLabel->setBuddy(OutputFolder);
  form->addRow(folderLabel, folderRow);

  Progress = new QProgressBar(this);
  Progress->setRange(0, kSteps);
  Progress->setValue(0);
  Progress->setTextVisible(true);
  Progress->setFormat(QString());
  Summary = new QLabel(this);
  Summary->setObjectName(QStringLiteral("Summary"));
  Summary->setWordWrap(true);

  ConvertButton = new QPushButton(tr("Con&vert"), this);
  ConvertButton->setDefault(true);
  CloseButton = new QPushButton(tr("&Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Summary, 1);
  buttons->addWidget(ConvertButton);
  buttons->addWidget(CloseButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(filesLabel);
  layout->addLayout(listRow, 1);
  layout->addLayout(form);
  layout->addWidget(Progress);
  layout->addLayout(buttons);
  resize(640, 420);

  connect(AddFilesButton, &QPushButton::clicked, this, &frmConvertDocuments::AddFiles_Click);
  connect(AddFolderButton, &QPushButton::clicked, this, &frmConvertDocuments::AddFolder_Click);
  connect(RemoveButton, &QPushButton::clicked, this, &frmConvertDocuments::Remove_Click);
  connect(BrowseButton, &QPushButton::clicked, this, &frmConvertDocuments::Browse_Click);
  connect(ConvertButton, &QPushButton::clicked, this, &frmConvertDocuments::Convert_Click);
  connect(CloseButton, &QPushButton::clicked, this, &frmConvertDocuments::Close_Click);
  connect(FileList, &QTreeWidget::itemSelectionChanged, this, &frmConvertDocuments::updateStates);
  connect(OutputFolder, &QLineEdit::textEdited, this, [this] { folderChosen_ = true; });
}

QStringList frmConvertDocuments::files() const {
  QStringList paths;
  for (int i = 0; i < FileList->topLevelItemCount(); ++i) {
    paths << FileList->topLevelItem(i)->data(0, kPathRole).toString();
  }
  return paths;
}

QTreeWidgetItem* frmConvertDocuments::item(int index) const {
  return FileList->topLevelItem(index);
}

void frmConvertDocuments::addPaths(const QStringList& paths) {
  if (running()) return;
  QStringList listed = files();
  QStringList refused;
  auto add = [&](const QString& path) {
    if (listed.contains(path)) return;
    listed << path;
    auto* row = new QTreeWidgetItem(FileList, {QFileInfo(path).fileName(), QString()});
    row->setData(0, kPathRole, path);
    row->setToolTip(0, QDir::toNativeSeparators(path));
  };
  for (const QString& given : paths) {
    const QFileInfo info(given);
    const QString path = info.absoluteFilePath();
    if (info.isDir()) {
      std::string error;
      const std::vector<std::string> found = batch::acceptedFilesIn(toUtf8(path), error);
      if (!error.empty()) {
        refused << fromUtf8(error);
      } else if (found.empty()) {
        refused << tr("%1: no text, RTF, DOCX or ODT documents in this folder")
                       .arg(QDir::toNativeSeparators(path));
      }
      for (const std::string& f : found) add(fromUtf8(f));
    } else if (!info.exists()) {
      refused << tr("%1: no such file").arg(QDir::toNativeSeparators(path));
    } else if (!batch::isAccepted(toUtf8(path))) {
      refused << tr("%1: only text, RTF, DOCX and ODT documents can be converted")
                     .arg(QDir::toNativeSeparators(path));
    } else {
      add(path);
    }
  }
  if (!folderChosen_ && FileList->topLevelItemCount() > 0) {
    OutputFolder->setText(fromUtf8(batch::defaultOutputFolder(toUtf8(files().constFirst()))));
  }
  updateStates();
  if (!refused.isEmpty()) {
    platform_.message(
        this, QMessageBox::Warning, windowTitle(),
        tr("Some of what was chosen cannot be converted:\n\n%1").arg(refused.join(u'\n')));
  }
}

void frmConvertDocuments::AddFiles_Click() {
  const QStringList listed = files();
  const QString folder = listed.isEmpty() ? QDir::homePath() : QFileInfo(listed.last()).path();
  const QStringList chosen = platform_.chooseFiles(
      this, tr("Add Files"), folder, tr("Documents (*.txt *.rtf *.docx *.odt);;All Files (*)"));
  if (!chosen.isEmpty()) addPaths(chosen);
}

void frmConvertDocuments::AddFolder_Click() {
  const QStringList listed = files();
  const QString start = listed.isEmpty() ? QDir::homePath() : QFileInfo(listed.last()).path();
  const QString folder = platform_.chooseFolder(this, tr("Add Folder"), start);
  if (!folder.isEmpty()) addPaths({folder});
}

void frmConvertDocuments::Remove_Click() {
  if (running()) return;
  qDeleteAll(FileList->selectedItems());
  if (!folderChosen_) {
    OutputFolder->setText(FileList->topLevelItemCount() > 0
                              ? fromUtf8(batch::defaultOutputFolder(toUtf8(files().constFirst())))
                              : QString());
  }
  updateStates();
}

void frmConvertDocuments::Browse_Click() {
  const QString start = OutputFolder->text().isEmpty() ? QDir::homePath() : OutputFolder->text();
  const QString folder = platform_.chooseFolder(this, tr("Output Folder"), start);
  if (folder.isEmpty()) return;
  OutputFolder->setText(folder);
  folderChosen_ = true;
}

void frmConvertDocuments::Convert_Click() {
  if (running() || FileList->topLevelItemCount() == 0) return;
  QString folder = OutputFolder->text().trimmed();
  if (folder.isEmpty()) {
    platform_.message(this, QMessageBox::Warning, windowTitle(),
                      tr("Choose the folder the converted documents go to."));
    return;
  }
  folder = QFileInfo(folder).absoluteFilePath();
  FileRequest request;
  request.toUnicode = ToUnicode->isChecked();
  writeText(keys::kConvertFolder, folderChosen_ ? folder : QString());
  writeFlag(keys::kConvertToUnicode, request.toUnicode);

  std::vector<std::string> inputs;
  for (const QString& f : files()) inputs.push_back(toUtf8(f));
  for (int i = 0; i < FileList->topLevelItemCount(); ++i) {
    item(i)->setText(1, tr("Waiting"));
    item(i)->setIcon(1, QIcon());
    item(i)->setToolTip(1, QString());
  }
  total_ = static_cast<int>(inputs.size());
  converted_ = failed_ = 0;
  folderError_.clear();
  closeWhenDone_ = false;
  Progress->setRange(0, total_ * kSteps);
  setProgress(0, 0);
  Summary->setText(tr("Converting…"));
  queue_ = std::make_shared<batch::Queue>(std::move(inputs), toUtf8(folder), request);
  updateStates();

  // The worker reports through queued calls, which arrive before the
  // watcher's finished signal.
  batch::Events events;
  events.started = [this](std::size_t i) {
    QMetaObject::invokeMethod(
        this, [this, i] { fileStarted(static_cast<int>(i)); }, Qt::QueuedConnection);
  };
  events.progress = [this](std::size_t i, std::size_t done, std::size_t total) {
    const double fraction = total ? static_cast<double>(done) / static_cast<double>(total) : 0;
    QMetaObject::invokeMethod(
        this, [this, i, fraction] { setProgress(static_cast<int>(i), fraction); },
        Qt::QueuedConnection);
  };
  events.finished = [this](const batch::Outcome& outcome) {
    QMetaObject::invokeMethod(
        this, [this, outcome] { fileFinished(outcome); }, Qt::QueuedConnection);
  };
  std::shared_ptr<batch::Queue> queue = queue_;
  watcher_.setFuture(QtConcurrent::run([this, queue, events] {
    std::string error;
    queue->run(events, error);
    if (!error.empty()) {
      QMetaObject::invokeMethod(
          this, [this, error] { folderError_ = fromUtf8(error); }, Qt::QueuedConnection);
    }
  }));
}

void frmConvertDocuments::setProgress(int index, double fraction) {
  Progress->setValue(index * kSteps + static_cast<int>(fraction * kSteps));
  Progress->setFormat(tr("%1 of %2").arg(std::min(index + 1, total_)).arg(total_));
}

void frmConvertDocuments::fileStarted(int index) {
  if (QTreeWidgetItem* row = item(index)) {
    row->setText(1, tr("Converting…"));
    FileList->scrollToItem(row);
  }
  setProgress(index, 0);
}

void frmConvertDocuments::fileFinished(const batch::Outcome& outcome) {
  const int index = static_cast<int>(outcome.index);
  QTreeWidgetItem* row = item(index);
  if (!row) return;
  const FileResult& r = outcome.result;
  const QString text = outcomeText(outcome);
  QStyle::StandardPixmap icon = QStyle::SP_DialogApplyButton;
  QString tip = text;
  if (!r.ok) {
    ++failed_;
    icon = QStyle::SP_MessageBoxCritical;
  } else {
    ++converted_;
    tip = QDir::toNativeSeparators(fromUtf8(outcome.output));
    if (r.unconverted != 0) {
      icon = QStyle::SP_MessageBoxWarning;
      tip += u'\n' + tr("Left as they were:");
      for (const UnconvertedPlace& p : r.first) {
        // The label is the input's name, then ":PART" in a DOCX or ODT file.
        const std::size_t named = outcome.input.size() + 1;
        const QString part = fromUtf8(p.label.size() > named ? p.label.substr(named) : "");
        const QString where =
            part.isEmpty() ? tr("line %1, column %2").arg(p.where.at.line).arg(p.where.at.column)
                           : tr("%1, paragraph %2, character %3")
                                 .arg(part)
                                 .arg(p.where.at.line)
                                 .arg(p.where.at.column);
        const QString code =
            QStringLiteral("U+%1").arg(static_cast<uint>(p.where.character), 4, 16, QChar(u'0'));
        tip += u'\n' +
               tr("%1 %2: %3").arg(code.toUpper(), QString::fromUcs4(&p.where.character, 1), where);
      }
      if (r.unconverted > r.first.size()) tip += u'\n' + tr("…");
    }
  }
  row->setText(1, text);
  row->setIcon(1, style()->standardIcon(icon));
  row->setToolTip(1, tip);
  setProgress(index, 1);
}

void frmConvertDocuments::batchDone() {
  const bool cancelled = queue_ && queue_->cancelled();
  queue_.reset();
  for (int i = 0; i < FileList->topLevelItemCount(); ++i) {
    const QString text = item(i)->text(1);
    if (text == tr("Waiting") || text == tr("Converting…")) {
      item(i)->setText(1, cancelled ? tr("Not converted: cancelled") : tr("Not converted"));
    }
  }
  Progress->setValue((converted_ + failed_) * kSteps);
  Progress->setFormat(tr("%1 of %2").arg(converted_ + failed_).arg(total_));
  QString summary = tr("%1 of %2 converted").arg(converted_).arg(total_);
  if (failed_ != 0) summary += tr(", %1 failed").arg(failed_);
  if (cancelled) summary += tr(" (cancelled)");
  Summary->setText(folderError_.isEmpty() ? summary : tr("Nothing converted"));
  updateStates();
  emit batchFinished();
  if (!folderError_.isEmpty()) {
    platform_.message(this, QMessageBox::Critical, windowTitle(),
                      tr("The output folder could not be made:\n%1").arg(folderError_));
  } else if (failed_ != 0) {
    platform_.message(this, QMessageBox::Warning, windowTitle(),
                      tr("%1 of %2 documents could not be converted. The list shows why.")
                          .arg(failed_)
                          .arg(total_));
  }
  if (closeWhenDone_) close();
}

void frmConvertDocuments::Close_Click() {
  if (running()) {
    queue_->cancel();
    CloseButton->setEnabled(false);
    Summary->setText(tr("Cancelling after the current document…"));
    return;
  }
  QDialog::reject();
}

void frmConvertDocuments::reject() { Close_Click(); }

void frmConvertDocuments::closeEvent(QCloseEvent* e) {
  if (running()) {
    // Closes once the current document is written.
    closeWhenDone_ = true;
    Close_Click();
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void frmConvertDocuments::updateStates() {
  const bool busy = running();
  for (QWidget* w : std::initializer_list<QWidget*>{AddFilesButton, AddFolderButton, ToUnicode,
                                                    ToGlyphs, OutputFolder, BrowseButton}) {
    w->setEnabled(!busy);
  }
  RemoveButton->setEnabled(!busy && !FileList->selectedItems().isEmpty());
  ConvertButton->setEnabled(!busy && FileList->topLevelItemCount() > 0);
  CloseButton->setText(busy ? tr("Cancel") : tr("&Close"));
  if (!busy) CloseButton->setEnabled(true);
}

}  // namespace kavelin
