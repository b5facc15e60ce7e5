// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: the action table from which the menus and the
// toolbar are built, and the handlers of the menus, toolbar, buttons and logo.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <functional>

#include "convertdocuments.h"
#include "datafiles.h"
#include "documentfiles.h"
#include "forms.h"
#include "frmabout.h"
#include "frmbrowser.h"
#include "frmmain.h"
#include "frmsettings.h"
#include "glyphimport.h"
#include "kavelin_resources.h"
#include "keys.h"
#include "pdfexport.h"
#include "placement.h"
#include "platformtools.h"
#include "richdocs.h"
#include "richtextfield.h"
#include "rtfdocument.h"
#include "savefile.h"
#include "spelling.h"
#include "statusbar.h"
#include "suggestions.h"
#include "text.h"
#include "unicodepreview.h"
#include "unicodetext.h"
#include "webcomponent.h"

namespace kavelin {
namespace {

using Slot = void (frmMain::*)();

// One row per command: its menu entry (name and caption), its toolbar button
// (key, also the tooltip and the image), its shortcut, whether it can be
// checked and is at first, and its handler. Each command is one action, in its
// menu and on the toolbar alike.
struct CommandRow {
  Cmd command;
  const char* name;      // menu entry; toolbar-only commands have none
  const char* caption;   // menu caption
  const char* key;       // toolbar key, or null
  const char* shortcut;  // or null; alternatives are split by "; "
  bool checkable;
  bool checked;  // at first
  Slot slot;     // null: the entry does nothing
};

constexpr CommandRow kCommands[] = {
    {Cmd::FileNew, "mnuFileNew", "&New", "New", "Ctrl+N", false, false, &frmMain::mnuFileNew_Click},
    {Cmd::FileOpen, "mnuFileOpen", "&Open...", "Open", "Ctrl+O", false, false,
     &frmMain::mnuFileOpen_Click},
    {Cmd::FileClose, "mnuFileClose", "&Close", nullptr, nullptr, false, false,
     &frmMain::mnuFileClose_Click},
    {Cmd::FileSave, "mnuFileSave", "&Save", "Save", "Ctrl+S", false, false,
     &frmMain::mnuFileSave_Click},
    {Cmd::FilePageSetup, "mnuFilePageSetup", "Page Set&up...", nullptr, nullptr, false, false,
     &frmMain::mnuFilePageSetup_Click},
    {Cmd::FilePrint, "mnuFilePrint", "&Print...", "Print", "Ctrl+P", false, false,
     &frmMain::mnuFilePrint_Click},
    {Cmd::FileExit, "mnuFileExit", "E&xit", nullptr, "Ctrl+Q", false, false,
     &frmMain::mnuFileExit_Click},
    {Cmd::EditUndo, "mnuEditUndo", "&Undo", nullptr, "Ctrl+Z", false, false,
     &frmMain::mnuEditUndo_Click},
    {Cmd::EditCut, "mnuEditCut", "Cu&t", "Cut", "Ctrl+X", false, false, &frmMain::mnuEditCut_Click},
    {Cmd::EditCopy, "mnuEditCopy", "&Copy", "Copy", "Ctrl+C", false, false,
     &frmMain::mnuEditCopy_Click},
    {Cmd::EditPaste, "mnuEditPaste", "&Paste", "Paste", "Ctrl+V", false, false,
     &frmMain::mnuEditPaste_Click},
    {Cmd::EditPasteSpecial, "mnuEditPasteSpecial", "Paste &Special...", nullptr, nullptr, false,
     false, nullptr},
    {Cmd::ViewToolbar, "mnuViewToolbar", "&Toolbar", nullptr, nullptr, true, true,
     &frmMain::mnuViewToolbar_Click},
    {Cmd::ViewStatusBar, "mnuViewStatusBar", "Status &Bar", nullptr, nullptr, true, true,
     &frmMain::mnuViewStatusBar_Click},
    {Cmd::Settings, "mnusettings", "&Settings", nullptr, nullptr, false, false,
     &frmMain::mnusettings_Click},
    {Cmd::ViewRefresh, "mnuViewRefresh", "&Refresh", nullptr, nullptr, false, false,
     &frmMain::mnuViewRefresh_Click},
    {Cmd::ViewWebBrowser, "mnuViewWebBrowser", "&Web Browser", nullptr, nullptr, false, false,
     &frmMain::mnuViewWebBrowser_Click},
    {Cmd::HelpContents, "mnuHelpContents", "&Contents", nullptr, nullptr, false, false,
     &frmMain::mnuHelpContents_Click},
    {Cmd::HelpSearchForHelpOn, "mnuHelpSearchForHelpOn", "&Search For Help On...", nullptr, nullptr,
     false, false, &frmMain::mnuHelpSearchForHelpOn_Click},
    {Cmd::HelpAbout, "mnuHelpAbout", "&About ", nullptr, nullptr, false, false,
     &frmMain::mnuHelpAbout_Click},
    {Cmd::Bold, nullptr, nullptr, "Bold", nullptr, true, false, &frmMain::toggleBold},
    {Cmd::Italic, nullptr, nullptr, "Italic", nullptr, true, false, &frmMain::toggleItalic},
    {Cmd::Underline, nullptr, nullptr, "Underline", nullptr, true, false,
     &frmMain::toggleUnderline},
    {Cmd::AlignLeft, nullptr, nullptr, "Align Left", nullptr, true, false, &frmMain::alignLeft},
    {Cmd::Center, nullptr, nullptr, "Center", nullptr, true, false, &frmMain::alignCenter},
    {Cmd::AlignRight, nullptr, nullptr, "Align Right", nullptr, true, false, &frmMain::alignRight},
    {Cmd::FileExportUnicode, "mnuFileExportUnicode", "Export Unicode Text...", nullptr, nullptr,
     false, false, &frmMain::mnuFileExportUnicode_Click},
    {Cmd::FileExportPdf, "mnuFileExportPdf", "Export PDF...", nullptr, nullptr, false, false,
     &frmMain::mnuFileExportPdf_Click},
    {Cmd::EditCopyUnicode, "mnuEditCopyUnicode", "Copy as Unicode", nullptr, nullptr, false, false,
     &frmMain::mnuEditCopyUnicode_Click},
    {Cmd::ViewUnicodePreview, "mnuViewUnicodePreview", "Unicode Preview", nullptr, nullptr, true,
     false, &frmMain::mnuViewUnicodePreview_Click},
    {Cmd::EditPasteUnicode, "mnuEditPasteUnicode", "Paste Unicode as Hindi Glyphs", nullptr,
     nullptr, false, false, &frmMain::mnuEditPasteUnicode_Click},
    {Cmd::FileImportUnicode, "mnuFileImportUnicode", "Import Unicode Text...", nullptr, nullptr,
     false, false, &frmMain::mnuFileImportUnicode_Click},
    {Cmd::EditRedo, "mnuEditRedo", "&Redo", nullptr, "Ctrl+Shift+Z; Ctrl+Y", false, false,
     &frmMain::mnuEditRedo_Click},
    {Cmd::FileSaveAs, "mnuFileSaveAs", "Save &As...", nullptr, "Ctrl+Shift+S", false, false,
     &frmMain::mnuFileSaveAs_Click},
    {Cmd::FileSaveEditingBoxAs, "mnuFileSaveEditingBoxAs", "Save &Editing Box As...", nullptr,
     nullptr, false, false, &frmMain::mnuFileSaveEditingBoxAs_Click},
    {Cmd::ViewSuggestions, "mnuViewSuggestions", "S&uggestions", nullptr, nullptr, true, true,
     &frmMain::mnuViewSuggestions_Click},
    {Cmd::ViewReplaceAsYouType, "mnuViewReplaceAsYouType", "Re&place as I Type", nullptr, nullptr,
     true, false, &frmMain::mnuViewReplaceAsYouType_Click},
    {Cmd::FileConvertDocuments, "mnuFileConvertDocuments", "Con&vert Documents…", nullptr, nullptr,
     false, false, &frmMain::mnuFileConvertDocuments_Click},
    {Cmd::EditCheckSpelling, "mnuEditCheckSpelling", "Chec&k Spelling", nullptr, "F7", false, false,
     &frmMain::mnuEditCheckSpelling_Click},
    {Cmd::ViewUnderlineUnknownWords, "mnuViewUnderlineUnknownWords", "Underline U&nknown Words",
     nullptr, nullptr, true, true, &frmMain::mnuViewUnderlineUnknownWords_Click},
};
constexpr bool rowsFollowCommands() {
  int i = 0;
  for (const CommandRow& r : kCommands) {
    if (static_cast<int>(r.command) != i++) return false;
  }
  return i == static_cast<int>(Cmd::Count);
}
static_assert(rowsFollowCommands(), "row i of kCommands is command i");

const CommandRow& row(Cmd command) { return kCommands[static_cast<int>(command)]; }

// The command of each toolbar key.
const QHash<QString, Cmd>& commandsByKey() {
  static const QHash<QString, Cmd> keys = [] {
    QHash<QString, Cmd> h;
    for (const CommandRow& r : kCommands) {
      if (r.key) h.insert(QString::fromLatin1(r.key), r.command);
    }
    return h;
  }();
  return keys;
}

// Menus: their entries in order; a separator is named, with no command.
struct MenuItem {
  Cmd command;
  const char* separator = nullptr;
};
struct MenuLayout {
  const char* name;
  const char* caption;
  std::vector<MenuItem> items;
};

const MenuLayout kMenus[] = {
    {"mnuFile",
     "&File",
     {{Cmd::FileNew},
      {Cmd::FileOpen},
      {Cmd::FileClose},
      {Cmd::Count, "mnuFileBar0"},
      {Cmd::FileSave},
      {Cmd::FileSaveAs},
      {Cmd::FileSaveEditingBoxAs},
      {Cmd::FileImportUnicode},
      {Cmd::FileExportUnicode},
      {Cmd::FileExportPdf},
      {Cmd::FileConvertDocuments},
      {Cmd::Count, "mnuFileBar1"},
      {Cmd::FilePageSetup},
      {Cmd::FilePrint},
      {Cmd::Count, "mnuFileBar5"},
      {Cmd::FileExit}}},
    {"mnuEdit",
     "&Edit",
     {{Cmd::EditUndo},
      {Cmd::EditRedo},
      {Cmd::Count, "mnuEditBar0"},
      {Cmd::EditCut},
      {Cmd::EditCopy},
      {Cmd::EditPaste},
      {Cmd::EditPasteSpecial},
      {Cmd::EditCopyUnicode},
      {Cmd::EditPasteUnicode},
      {Cmd::Count, "mnuEditBar1"},
      {Cmd::EditCheckSpelling}}},
    {"mnuview",
     "&View",
     {{Cmd::ViewToolbar},
      {Cmd::ViewStatusBar},
      {Cmd::Count, "mnuViewBar0"},
      {Cmd::Settings},
      {Cmd::Count, "mnuviewbar1"},
      {Cmd::ViewRefresh},
      {Cmd::ViewWebBrowser},
      {Cmd::ViewUnicodePreview},
      {Cmd::Count, "mnuViewBar2"},
      {Cmd::ViewSuggestions},
      {Cmd::ViewReplaceAsYouType},
      {Cmd::ViewUnderlineUnknownWords}}},
    {"mnuhelp",
     "&Help",
     {{Cmd::HelpContents},
      {Cmd::HelpSearchForHelpOn},
      {Cmd::Count, "mnuHelpBar0"},
      {Cmd::HelpAbout}}},
};

// The toolbar's buttons in their five groups.
const std::vector<std::vector<Cmd>> kToolbar = {{Cmd::FileNew, Cmd::FileOpen, Cmd::FileSave},
                                                {Cmd::FilePrint},
                                                {Cmd::EditCut, Cmd::EditCopy, Cmd::EditPaste},
                                                {Cmd::Bold, Cmd::Italic, Cmd::Underline},
                                                {Cmd::AlignLeft, Cmd::Center, Cmd::AlignRight}};

const QString kTextFilter = QStringLiteral("All Files (*.txt)|*.txt");
// The Editing Box's formats; saving writes the one of the name's extension.
const QString kRichSaveFilter = QStringLiteral(
    "Rich Text Format (*.rtf)|*.rtf|Word Document (*.docx)|*.docx|"
    "OpenDocument Text (*.odt)|*.odt");
const QString kRichOpenFilter =
    QStringLiteral("Documents (*.rtf *.docx *.odt)|*.rtf;*.docx;*.odt|") + kRichSaveFilter;

// Sets up the shared dialog for one command: its own title, filter and default
// extension, and no proposed name of another kind of file.
void prepare(CommonDialog& dlg, const QString& title, const QString& filter, const QString& ext) {
  dlg.DialogTitle = title;
  dlg.Filter = filter;
  dlg.DefaultExt = ext;
  dlg.FileName = nameOfKind(dlg.FileName, ext);
}

// Calls a handler when the logo is clicked.
class ClickFilter : public QObject {
 public:
  ClickFilter(QObject* parent, std::function<void()> onClick)
      : QObject(parent), onClick_(std::move(onClick)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
      onClick_();
      return true;
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace

const QString frmMain::kCaption = QStringLiteral("Kavelin");

FileKind frmMain::richTextKind() {
  return {tr("Save Rich Text"), kRichSaveFilter, QStringLiteral("rtf")};
}

FileKind frmMain::plainTextKind() { return {tr("Save Text"), kTextFilter, QStringLiteral("txt")}; }

const QString frmMain::kIntroLine = QStringLiteral("aapakaa svaagat hai, hindI likhie aur paDhie");

// ---------------------------------------------------------------------------
// Building the menus and the toolbar

// Builds every command's action, in its menu where it has an entry.
void frmMain::createMenus() {
  auto make = [this](const CommandRow& r, QObject* parent) {
    auto* action = new QAction(parent);
    if (r.caption) action->setText(tr(r.caption));
    if (r.name) action->setObjectName(QString::fromLatin1(r.name));
    if (r.shortcut)
      action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(r.shortcut)));
    if (r.key) {
      const QString key = QString::fromLatin1(r.key);
      action->setIcon(QIcon(res::toolbar(key)));
      action->setIconVisibleInMenu(false);
      action->setToolTip(key);
      action->setData(key);
      if (!r.name) action->setObjectName(key);
    }
    action->setCheckable(r.checkable);
    action->setChecked(r.checked);
    // An entry without a command does nothing, so it is never enabled.
    action->setEnabled(r.slot != nullptr);
    const Cmd command = r.command;
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
    actions_[static_cast<int>(r.command)] = action;
  };
  for (const MenuLayout& m : kMenus) {
    QMenu* menu = menuBar()->addMenu(tr(m.caption));
    menu->setObjectName(QString::fromLatin1(m.name));
    for (const MenuItem& item : m.items) {
      if (item.separator) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(item.separator));
        continue;
      }
      make(row(item.command), menu);
      menu->addAction(action(item.command));
    }
  }
  for (const CommandRow& r : kCommands) {
    if (!r.name) make(r, this);
  }
  // One alignment at a time; none for a selection of several.
  auto* alignments = new QActionGroup(this);
  alignments->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (Cmd command : {Cmd::AlignLeft, Cmd::Center, Cmd::AlignRight}) {
    alignments->addAction(action(command));
  }
}

// An access key of a button that a menu title also uses belongs to the menu, as
// on other desktops; the button keeps its underlined letter.
void frmMain::resolveAccessKeys() {
  QList<QKeySequence> menuKeys;
  for (QAction* menu : menuBar()->actions()) menuKeys << QKeySequence::mnemonic(menu->text());
  for (QAbstractButton* button : client_->findChildren<QAbstractButton*>()) {
    const QKeySequence key = QKeySequence::mnemonic(button->text());
    if (!key.isEmpty() && menuKeys.contains(key)) button->setShortcut(QKeySequence());
  }
}

void frmMain::addToolbarButtons() {
  bool first = true;
  for (const std::vector<Cmd>& group : kToolbar) {
    if (!first) tbToolBar->addSeparator();
    first = false;
    for (Cmd command : group) {
      tbToolBar->addAction(action(command));
      // Buttons of the classic 23 x 22 size, so the lists fit beside them.
      tbToolBar->widgetForAction(action(command))->setFixedSize(23, 22);
    }
  }
}

void frmMain::run(Cmd command) {
  if (const Slot slot = row(command).slot) (this->*slot)();
  updateCommandStates();
}

void frmMain::connectCommands() {
  const std::pair<QAbstractButton*, Slot> buttons[] = {
      {Command1, &frmMain::Command1_Click},   {Command2, &frmMain::Command2_Click},
      {Command3, &frmMain::Command3_Click},   {Command4, &frmMain::Command4_Click},
      {Command5, &frmMain::Command5_Click},   {Command6, &frmMain::Command6_Click},
      {Command7, &frmMain::Command7_Click},   {Command8, &frmMain::Command8_Click},
      {Command9, &frmMain::Command9_Click},   {Command11, &frmMain::Command11_Click},
      {Command12, &frmMain::Command12_Click}, {Command13, &frmMain::Command13_Click},
      {Command14, &frmMain::Command14_Click}};
  for (const auto& [button, slot] : buttons) connect(button, &QAbstractButton::clicked, this, slot);
  Image1->installEventFilter(new ClickFilter(Image1, [this] { Image1_Click(); }));
  resolveAccessKeys();
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
  const auto it = commandsByKey().find(key);
  if (it != commandsByKey().end()) run(*it);
}

// ---------------------------------------------------------------------------
// Documents of the English and Hindi boxes

// Emptying the English box starts a new text, which has no file yet; each such
// command is one step of undo, as is every other that replaces the text.
void frmMain::mnuFileNew_Click() {
  RTB2->replaceText(QString());
  englishFile_.setPath(QString());
}

void frmMain::mnuFileClose_Click() { mnuFileNew_Click(); }

void frmMain::mnuFileOpen_Click() {
  CommonDialog& dlg = dlgCommonDialog();
  prepare(dlg, tr("Open"), kTextFilter, QStringLiteral("txt"));
  dlg.CancelError = false;
  if (!dlg.ShowOpen() || dlg.FileName.isEmpty()) return;
  if (confirmLargeFile(dlg.FileName, largeTextBytes)) loadEnglishText(dlg.FileName);
}

// A text file into the English box, which shows the text's start; the Hindi
// box follows.
void frmMain::loadEnglishText(const QString& path) {
  QString error;
  hindiBoxAtStart_ = true;
  const bool loaded = RTB2->loadPlainText(path, &error);
  hindiBoxAtStart_ = false;
  if (!loaded) {
    reportFailure(tr("Could not open %1").arg(path), error);
    return;
  }
  englishFile_.setPath(path);
}

// Asks before opening a file so large that the window would stop answering
// for a while; true to go on.
bool frmMain::confirmLargeFile(const QString& path, qint64 limit) {
  const qint64 size = QFileInfo(path).size();
  if (size <= limit) return true;
  const QString megabytes = QLocale().toString(static_cast<double>(size) / (1 << 20), 'f', 1);
  return platform_.message(this, QMessageBox::Question, windowTitle(),
                           tr("%1 is %2 MB large. Opening it keeps Kavelin busy for a while.\n"
                              "Open it anyway?")
                               .arg(QFileInfo(path).fileName(), megabytes),
                           QMessageBox::Open | QMessageBox::Cancel) == QMessageBox::Open;
}

void frmMain::mnuFileSave_Click() { saveEnglishText(false); }

void frmMain::mnuFileSaveAs_Click() { saveEnglishText(true); }

// Save writes the English text to its file; Save As, or a text without one,
// asks for a name first.
void frmMain::saveEnglishText(bool chooseName) {
  const std::optional<QString> path = englishFile_.fileToWrite(dlgCommonDialog(), chooseName);
  if (!path) return;
  QString error;
  if (!RTB2->savePlainText(*path, &error)) {
    reportFailure(tr("Could not save %1").arg(*path), error);
    return;
  }
  englishFile_.setPath(*path);
  sbStatusBar->showReport(tr("Saved %1").arg(QFileInfo(*path).fileName()));
}

void frmMain::Command2_Click() {
  RTB2->replaceText(kIntroLine + QStringLiteral("\ndhanyavAd !!!"));
}

// ---------------------------------------------------------------------------
// The Editing Box

// Appends glyphs at the end of the Editing Box in its base font; what is
// already there keeps its formatting.
void frmMain::appendToEditingBox(const QString& glyphs) {
  if (glyphs.isEmpty()) return;
  DocumentEdit edit(*MainBox->document(), DocumentEdit::kAppend);
  edit.cursor().insertText(glyphs, QTextCharFormat());
}

void frmMain::Command7_Click() {
  appendToEditingBox(RTB1->text());
  mnuFileNew_Click();
}

void frmMain::Command8_Click() { appendToEditingBox(RTB1->selText()); }

// Clearing is one step of undo; the box then holds a new document, which has
// no file yet.
void frmMain::Command14_Click() {
  if (!editingBoxMayBeReplaced(tr("Save them before clearing the Editing Box?"))) return;
  MainBox->replaceText(QString());
  MainBox->document()->setModified(false);
  setDocumentPath(QString());
}

// The title: the Editing Box's document name and its modified mark, then the
// application name.
void frmMain::setDocumentPath(const QString& path) {
  editingFile_.setPath(path);
  setWindowFilePath(path);
  setWindowTitle(path.isEmpty() ? kCaption + QStringLiteral("[*]")
                                : QFileInfo(path).fileName() + QStringLiteral("[*] - ") + kCaption);
  setWindowModified(MainBox->document()->isModified());
}

void frmMain::Command11_Click() {
  MainBox->setFocus();
  MainBox->setSelStart(0);
  MainBox->setSelLength(MainBox->text().size());
  MainBox->copy();
}

void frmMain::Command12_Click() { saveRichText(false); }

void frmMain::mnuFileSaveEditingBoxAs_Click() { saveRichText(true); }

// Save writes the Editing Box to its document's file; Save As, or a document
// without one, asks for a name first.
bool frmMain::saveRichText(bool chooseName) {
  const std::optional<QString> path = editingFile_.fileToWrite(dlgCommonDialog(), chooseName);
  if (!path) return false;
  QString error;
  if (!saveRichTextFile(*MainBox->document(), *path, &error)) {
    reportFailure(tr("Could not save %1").arg(*path), error);
    return false;
  }
  MainBox->document()->setModified(false);
  setDocumentPath(*path);
  sbStatusBar->showReport(tr("Saved %1").arg(QFileInfo(*path).fileName()));
  return true;
}

void frmMain::Command13_Click() { openRichText(); }

void frmMain::openRichText() {
  if (!editingBoxMayBeReplaced(tr("Save them before opening another document?"))) return;
  CommonDialog& dlg = dlgCommonDialog();
  prepare(dlg, tr("Open"), kRichOpenFilter, QStringLiteral("rtf"));
  dlg.CancelError = false;
  if (!dlg.ShowOpen() || dlg.FileName.isEmpty()) return;
  loadRichText(dlg.FileName);
}

bool frmMain::loadRichText(const QString& fileName) {
  auto error = [this](int number, const QString& description) {
    platform_.message(this, QMessageBox::NoIcon, QCoreApplication::applicationName(),
                      tr("Error # %1 %2").arg(number).arg(description));
    return false;
  };
  if (!QFileInfo::exists(fileName)) return error(53, tr("File not found"));
  if (!confirmLargeFile(fileName, largeRtfBytes)) return false;
  QString reason;
  std::uint32_t dropped = 0;
  const RichTextOpen opened = openRichTextFile(fileName, *MainBox->document(), &reason, &dropped);
  switch (opened) {
    case RichTextOpen::kNotOpened:  // says why, with the file's name
      reportFailure(tr("Could not open %1").arg(fileName), reason);
      return false;
    case RichTextOpen::kNotRead:
    case RichTextOpen::kDamaged:
      reportFailure(tr("Could not read %1").arg(fileName), reason);
      return false;
    case RichTextOpen::kInvalid:
      return error(321, tr("Invalid file format"));
    case RichTextOpen::kOpened:
    case RichTextOpen::kEndedEarly:
      break;
  }
  MainBox->document()->setModified(false);
  setDocumentPath(fileName);
  if (opened == RichTextOpen::kEndedEarly) {
    platform_.message(this, QMessageBox::Warning, windowTitle(),
                      tr("%1 ended early: it may have been cut off. What it held up to there is "
                         "open.")
                          .arg(fileName));
  }
  reportDropped(fileName, dropped);
  return true;
}

// What the Editing Box could not take from a document: a message listing it,
// and a note in the status bar for tables.
void frmMain::reportDropped(const QString& fileName, std::uint32_t dropped) {
  if (dropped & documents::kDroppedLayout) {
    sbStatusBar->showReport(tr("Table layout was not kept: cells split by tabs"));
  }
  const QString lost = droppedDescription(dropped);
  if (lost.isEmpty()) return;
  platform_.message(this, QMessageBox::Information, windowTitle(),
                    tr("%1 holds things the Editing Box cannot show. They were left out:\n%2\n\n"
                       "Saving over the file would lose them.")
                        .arg(fileName, lost));
}

// ---------------------------------------------------------------------------
// Printing

void frmMain::mnuFilePrint_Click() {
  CommonDialog& dlg = dlgCommonDialog();
  dlg.DialogTitle = tr("Print");
  dlg.Flags = CommonDialog::kReturnDC | CommonDialog::kNoPageNumbers;
  if (RTB1->selLength() != 0) dlg.Flags += CommonDialog::kSelection;
  if (!dlg.ShowPrinter()) return;
  printEditingBox();
}

void frmMain::printEditingBox() {
  QPrinter* printer = dlgCommonDialog().printer();
  if (!printBox(*MainBox, *printer)) {
    const QString where =
        printer->outputFileName().isEmpty() ? printer->printerName() : printer->outputFileName();
    platform_.message(this, QMessageBox::Warning, kCaption,
                      tr("Could not print to %1.").arg(where));
  }
}

void frmMain::mnuFilePageSetup_Click() {
  CommonDialog& dlg = dlgCommonDialog();
  dlg.DialogTitle = tr("Page Setup");
  dlg.CancelError = true;
  dlg.ShowPageSetup();  // nothing is read back; a cancel is no error here
}

void frmMain::Command6_Click() { mnuFilePrint_Click(); }

// ---------------------------------------------------------------------------
// Clipboard and formatting on the active control

QWidget* frmMain::activeControl() const {
  QWidget* focus = QApplication::focusWidget();
  // The menu bar keeps the keyboard (Alt, F10) for the control it came from.
  if (focus && focus == menuBar()) focus = focusBeforeMenu_;
  return focus && isAncestorOf(focus) ? focus : nullptr;
}

void frmMain::mnuEditUndo_Click() {
  if (auto* box = qobject_cast<QTextEdit*>(activeControl())) box->undo();
}

void frmMain::mnuEditRedo_Click() {
  if (auto* box = qobject_cast<QTextEdit*>(activeControl())) box->redo();
}

// Undo and Redo are enabled when the active box has something to undo or redo;
// Bold, Italic and Underline are down when the active box's selection is
// wholly bold, italic or underlined, and an alignment button when the
// paragraphs of the caret or selection have that alignment.
void frmMain::updateCommandStates() {
  auto* box = qobject_cast<QTextEdit*>(activeControl());
  const bool editable = box && !box->isReadOnly() && box->isUndoRedoEnabled();
  action(Cmd::EditUndo)->setEnabled(editable && box->document()->isUndoAvailable());
  action(Cmd::EditRedo)->setEnabled(editable && box->document()->isRedoAvailable());
  auto* rich = qobject_cast<RichTextField*>(box);
  const std::pair<Cmd, std::optional<bool>> states[] = {
      {Cmd::Bold, rich ? rich->selBold() : std::nullopt},
      {Cmd::Italic, rich ? rich->selItalic() : std::nullopt},
      {Cmd::Underline, rich ? rich->selUnderline() : std::nullopt}};
  for (const auto& [command, on] : states) action(command)->setChecked(on.value_or(false));
  const std::optional<int> alignment = rich ? rich->selAlignment() : std::nullopt;
  const std::pair<Cmd, int> alignments[] = {{Cmd::AlignLeft, RichTextField::kLeft},
                                            {Cmd::Center, RichTextField::kCenter},
                                            {Cmd::AlignRight, RichTextField::kRight}};
  for (const auto& [command, value] : alignments) action(command)->setChecked(alignment == value);
}

void frmMain::mnuEditCut_Click() {
  if (auto* box = qobject_cast<QTextEdit*>(activeControl())) {
    box->setFocus();
    box->cut();
  }
}

void frmMain::mnuEditCopy_Click() {
  if (auto* box = qobject_cast<QTextEdit*>(activeControl())) {
    box->setFocus();
    box->copy();
  }
}

void frmMain::mnuEditPaste_Click() {
  if (auto* box = qobject_cast<QTextEdit*>(activeControl())) {
    box->setFocus();
    box->paste();
  }
}

void frmMain::format(void (*apply)(RichTextField*)) {
  if (auto* box = qobject_cast<RichTextField*>(activeControl())) apply(box);
}

void frmMain::toggleBold() {
  format([](RichTextField* box) {
    if (const std::optional<bool> bold = box->selBold()) box->setSelBold(!*bold);
  });
}

void frmMain::toggleItalic() {
  format([](RichTextField* box) {
    if (const std::optional<bool> italic = box->selItalic()) box->setSelItalic(!*italic);
  });
}

void frmMain::toggleUnderline() {
  format([](RichTextField* box) {
    if (const std::optional<bool> underline = box->selUnderline()) {
      box->setSelUnderline(!*underline);
    }
  });
}

// The paragraphs of the active control's selection, or the caret's paragraph.
void frmMain::alignSelection(int alignment) {
  if (auto* box = qobject_cast<RichTextField*>(activeControl())) box->setSelAlignment(alignment);
}

void frmMain::alignLeft() { alignSelection(RichTextField::kLeft); }
void frmMain::alignCenter() { alignSelection(RichTextField::kCenter); }
void frmMain::alignRight() { alignSelection(RichTextField::kRight); }

// A load, save or export that failed: which file and why.
void frmMain::reportFailure(const QString& what, const QString& reason) {
  platform_.message(this, QMessageBox::Warning, kCaption, what + QStringLiteral(":\n") + reason);
}

// ---------------------------------------------------------------------------
// View and windows

void frmMain::mnuViewToolbar_Click() {
  // The entry's check mark has already turned over when it triggers.
  tbToolBar->setVisible(action(Cmd::ViewToolbar)->isChecked());
}

void frmMain::mnuViewStatusBar_Click() {
  sbStatusBar->setVisible(action(Cmd::ViewStatusBar)->isChecked());
}

void frmMain::mnusettings_Click() {
  if (!settings_) {
    settings_ = new frmSettings(*this, platform_, this);
    settings_->Form_Load();
  }
  settings_->show();
  settings_->raise();
  settings_->activateWindow();
}

void frmMain::Command9_Click() { mnusettings_Click(); }

// One window, brought forward when already open; a batch goes on while the
// main window is used.
void frmMain::mnuFileConvertDocuments_Click() {
  if (!convertDocuments_) {
    convertDocuments_ = new frmConvertDocuments(platform_, this);
    convertDocuments_->setAttribute(Qt::WA_DeleteOnClose);
  }
  convertDocuments_->show();
  convertDocuments_->raise();
  convertDocuments_->activateWindow();
}

frmConvertDocuments* frmMain::convertDocumentsWindow() const { return convertDocuments_; }

void frmMain::mnuViewRefresh_Click() {
  platform_.message(this, QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QStringLiteral("Add 'mnuViewRefresh_Click' code."));
}

void frmMain::mnuViewWebBrowser_Click() { openBrowserWindow(kHomePage); }

void frmMain::openBrowserWindow(const QString& address) {
  auto* browser = new frmBrowser(platform_.createWebComponent());
  browser->StartingAddress = address;
  // Beside the main window and on the screen, each one a little further on;
  // its frame is taken to be like the main window's.
  const QRect area = screen() ? screen()->availableGeometry() : frameGeometry();
  const QSize outer = browser->size().grownBy(frameMarginsNow());
  int opened = 0;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != browser && qobject_cast<frmBrowser*>(window) && window->isVisible()) ++opened;
  }
  QRect place = besideOwner(outerNow(), outer, area);
  place = fitToArea(place.translated(24 * (opened % 8), 24 * (opened % 8)), area);
  browser->move(place.topLeft());
  browser->Form_Load();
}

void frmMain::mnuHelpAbout_Click() {
  frmAbout about(platform_, this);
  about.Form_Load();
  about.setWordLists(suggestions_->summary());
  about.exec();
}

void frmMain::Command4_Click() { mnuHelpAbout_Click(); }

void frmMain::Image1_Click() { mnuHelpAbout_Click(); }

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::Command5_Click() { mnuFileExit_Click(); }

void frmMain::Command1_Click() { mnuFileNew_Click(); }

// ---------------------------------------------------------------------------
// Help

void frmMain::mnuHelpContents_Click() {
  // The read-me where the program was installed or built, in the user's text editor.
  const QString name = QStringLiteral("readme.txt");
  const QString readme = findDataFile(name);
  if (readme.isEmpty()) {
    platform_.message(this, QMessageBox::Warning, windowTitle(),
                      tr("Cannot find the read-me \"%1\". It was looked for in:\n%2")
                          .arg(name, dataFileCandidates(name, dataFolders()).join(u'\n')));
  } else if (!platform_.openFile(readme)) {
    // No desktop program shows text files: the program's own browser does.
    openBrowserWindow(QUrl::fromLocalFile(readme).toString());
  }
}

void frmMain::Command3_Click() { mnuHelpContents_Click(); }

void frmMain::mnuHelpSearchForHelpOn_Click() {
  platform_.message(this, QMessageBox::Information, kCaption,
                    QStringLiteral("Unable to display Help Contents. There is no Help associated "
                                   "with this project."));
}

// ---------------------------------------------------------------------------
// Settings dialog and closing

void frmMain::setHindiBoxFont(const QString& name, std::optional<double> size) {
  RTB1->setBaseFontName(name);
  if (size) RTB1->setBaseFontSize(*size);
}

void frmMain::setFontListTexts(const QString& name, const QString& size) {
  setComboText(Combo2, name);
  setComboText(Combo1, size);
}

QFont frmMain::hindiBoxFont() const { return RTB1->baseFont(); }

// False keeps the program open.
bool frmMain::confirmClose() { return editingBoxMayBeReplaced(tr("Save them before closing?")); }

// Asks what to do with changes in the Editing Box that are not saved yet,
// before a command would lose them; true when they are saved or may go.
bool frmMain::editingBoxMayBeReplaced(const QString& question) {
  if (!hasUnsavedChanges(*MainBox->document())) return true;
  switch (
      askAboutUnsavedChanges(platform_, this, kCaption,
                             tr("The Editing Box has changes that are not saved.\n") + question)) {
    case UnsavedChoice::kSave:
      return saveRichText(false);
    case UnsavedChoice::kDiscard:
      return true;
    case UnsavedChoice::kCancel:
      break;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Unicode

// The panel starts as the user left it; the first time, hidden: the Hindi box
// itself reads as Devanagari (see glyphfont.h).
void frmMain::createUnicodePreview() {
  preview_ = new UnicodePreview(this);
  preview_->setFloating(true);
  preview_->hide();
  QAction* toggle = action(Cmd::ViewUnicodePreview);
  toggle->setIcon(QIcon(res::toolbar(QStringLiteral("Unicode Preview"))));
  toggle->setToolTip(tr("Unicode Preview"));
  // Its toolbar button sits at the end of the menu bar, where it moves nothing.
  const int barHeight = menuBar()->sizeHint().height();
  auto* corner = new QToolBar(menuBar());
  corner->setObjectName(QStringLiteral("tbUnicode"));
  corner->setIconSize(QSize(16, 16));
  corner->setStyleSheet(
      QStringLiteral("QToolBar { border: 0px; padding: 0px; spacing: 0px; }"
                     " QToolButton { padding: 0px; margin: 0px; }"));
  corner->addAction(toggle);
  // No taller than the menu bar, which must not grow and push the window's
  // controls down.
  corner->setFixedHeight(barHeight);
  corner->widgetForAction(toggle)->setFixedSize(barHeight, barHeight);
  menuBar()->setCornerWidget(corner, Qt::TopRightCorner);
  connect(preview_, &QDockWidget::visibilityChanged, this, [this](bool) {
    if (unloading_ || !isVisible()) return;
    action(Cmd::ViewUnicodePreview)->setChecked(preview_->isVisible());
    writeFlag(keys::kUnicodePreview, preview_->isVisible());
  });
  // The conversion patches the preview itself; anything else that writes the
  // Hindi box has it shown again.
  connect(RTB1, &RichTextField::changed, this, [this] {
    if (!patchingHindiBox_ && preview_->isVisible()) preview_->showGlyphs(RTB1->text());
  });
  toggle->setChecked(readFlag(keys::kUnicodePreview));
}

void frmMain::showUnicodePreview(bool shown) {
  if (!shown) {
    preview_->hide();
    return;
  }
  if (!preview_->isVisible()) {
    // Beside the window where the screen has room; once placed, the user's
    // place stays while it is on the screen and off the window's controls.
    const bool place =
        !preview_->placed() || !panelFits(preview_->frameGeometry(), controlRects(), previewArea());
    if (place) placeUnicodePreview();
    preview_->setPlaced();
    preview_->showGlyphs(RTB1->text());
    preview_->show();
    preview_->raise();
    // Its frame is known once it shows.
    if (place && !panelFits(preview_->frameGeometry(), controlRects(), previewArea())) {
      placeUnicodePreview();
    }
  }
}

// A strip below (or above) the window, else a column to its right (or left);
// where the screen has no room for those, a narrower strip beside it, else
// the window's largest area without controls, else where it covers the least.
// Always inside the available screen area, above the window.
void frmMain::placeUnicodePreview() {
  const QRect owner = frameGeometry();
  const QRect outer =
      placePanel(owner, controlRects(), {QSize(owner.width(), 150), QSize(320, owner.height())},
                 QSize(240, 80), previewArea());
  const QWindow* window = preview_->windowHandle();
  preview_->setGeometry(innerOf(outer, window ? window->frameMargins() : QMargins()));
}

// The screen area the preview stays in.
QRect frmMain::previewArea() const {
  QScreen* screen = this->screen();
  return screen ? screen->availableGeometry() : frameGeometry();
}

// The main window's controls on the screen: the menu bar, the controls of the
// window's client area and the status bar.
std::vector<QRect> frmMain::controlRects() const {
  std::vector<QRect> rects;
  QList<QWidget*> controls = client_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  controls << menuBar() << sbStatusBar;
  for (const QWidget* control : controls) {
    if (control->isVisibleTo(this)) {
      rects.emplace_back(control->mapToGlobal(QPoint(0, 0)), control->size());
    }
  }
  return rects;
}

void frmMain::mnuViewUnicodePreview_Click() {
  showUnicodePreview(action(Cmd::ViewUnicodePreview)->isChecked());
}

void frmMain::mnuEditCopyUnicode_Click() {
  // The Editing Box when it is active, else the Hindi box.
  RichTextField* box = activeControl() == MainBox ? MainBox : RTB1;
  QApplication::clipboard()->setText(unicodeText(box->textCursor()));
}

void frmMain::mnuFileExportUnicode_Click() {
  CommonDialog& dlg = exportDialog();
  prepare(dlg, tr("Export Unicode Text"), QStringLiteral("Text Files (*.txt)|*.txt"),
          QStringLiteral("txt"));
  if (!dlg.ShowSave() || dlg.FileName.isEmpty()) return;
  dlg.FileName = withDefaultExt(dlg.FileName, dlg.DefaultExt);
  QString error;
  if (!exportUnicodeFile(*MainBox->document(), dlg.FileName, &error)) {
    reportFailure(tr("Could not save %1").arg(dlg.FileName), error);
  }
}

void frmMain::mnuFileExportPdf_Click() {
  CommonDialog& dlg = exportDialog();
  prepare(dlg, tr("Export PDF"), QStringLiteral("PDF Files (*.pdf)|*.pdf"), QStringLiteral("pdf"));
  if (!dlg.ShowSave() || dlg.FileName.isEmpty()) return;
  dlg.FileName = withDefaultExt(dlg.FileName, dlg.DefaultExt);
  QString error;
  if (!exportPdfFile(*MainBox->document(), dlg.FileName, &error)) {
    reportFailure(tr("Could not export to %1").arg(dlg.FileName), error);
  }
}

// Puts Unicode text into the Editing Box at the caret, its Devanagari as glyph
// codes in the base font, the Hindi font, and tells what could not be converted.
void frmMain::insertUnicodeAsGlyphs(const QString& unicode) {
  const GlyphImport g = glyphsFromUnicode(unicode);
  QTextCursor cursor = MainBox->textCursor();
  insertGlyphImport(cursor, g, MainBox->baseFont());
  MainBox->setTextCursor(cursor);
  MainBox->setFocus();
  QString status = tr("Converted to Hindi glyphs");
  if (g.unconverted == 1) {
    status = tr("1 character could not be converted");
  } else if (g.unconverted > 1) {
    status = tr("%1 characters could not be converted").arg(static_cast<qulonglong>(g.unconverted));
  }
  sbStatusBar->showReport(status);
  if (g.unconverted != 0) {
    platform_.message(this, QMessageBox::Warning, kCaption,
                      status + tr(" and were kept as they are:\n") + g.details, QMessageBox::Ok);
  }
}

void frmMain::mnuEditPasteUnicode_Click() {
  insertUnicodeAsGlyphs(QApplication::clipboard()->text());
}

void frmMain::mnuFileImportUnicode_Click() {
  CommonDialog& dlg = exportDialog();
  prepare(dlg, tr("Import Unicode Text"), QStringLiteral("Text Files (*.txt)|*.txt"),
          QStringLiteral("txt"));
  if (!dlg.ShowOpen() || dlg.FileName.isEmpty()) return;
  QString error;
  bool decoded = true;
  if (const std::optional<QString> text = readUnicodeFile(dlg.FileName, &decoded, &error)) {
    insertUnicodeAsGlyphs(*text);
  } else {
    reportFailure((decoded ? tr("Could not open %1") : tr("Could not import %1")).arg(dlg.FileName),
                  error);
  }
}

}  // namespace kavelin

namespace kavelin {

// ---------------------------------------------------------------------------
// Word suggestions

// The list starts as the user left it: on the first time; Replace as I Type off.
void frmMain::createSuggestions() {
  SuggestionController::Hooks hooks;
  hooks.hindiFont = [this] { return RTB1->baseFont(); };
  hooks.status = [this](const QString& text) { sbStatusBar->showReport(text); };
  hooks.warning = [this](const QString& text) {
    platform_.message(this, QMessageBox::Warning, kCaption, text);
  };
  suggestions_ = new SuggestionController(RTB2, this, hooks, this);
  action(Cmd::ViewSuggestions)->setChecked(readFlag(keys::kSuggestions));
  action(Cmd::ViewReplaceAsYouType)->setChecked(readFlag(keys::kReplaceAsYouType));
  suggestions_->setEnabled(action(Cmd::ViewSuggestions)->isChecked());
  suggestions_->setReplaceAsYouType(action(Cmd::ViewReplaceAsYouType)->isChecked());
  // Spelling checks against the same word data, once it is ready.
  spelling_ = new SpellingController(suggestions_, MainBox, RTB1, RTB2, {hooks.status}, this);
  action(Cmd::ViewUnderlineUnknownWords)->setChecked(readFlag(keys::kUnderlineUnknownWords));
  spelling_->setUnderlining(action(Cmd::ViewUnderlineUnknownWords)->isChecked());
}

void frmMain::startWordSuggestions() { suggestions_->startLoading(); }

void frmMain::mnuViewSuggestions_Click() {
  const bool on = action(Cmd::ViewSuggestions)->isChecked();
  suggestions_->setEnabled(on);
  writeFlag(keys::kSuggestions, on);
}

void frmMain::mnuViewReplaceAsYouType_Click() {
  const bool on = action(Cmd::ViewReplaceAsYouType)->isChecked();
  suggestions_->setReplaceAsYouType(on);
  writeFlag(keys::kReplaceAsYouType, on);
}

// The Hindi box for the English box, which makes it; else the Editing Box.
void frmMain::mnuEditCheckSpelling_Click() {
  QWidget* active = activeControl();
  spelling_->checkNext(active == RTB1 || active == RTB2 ? RTB1 : MainBox);
}

void frmMain::mnuViewUnderlineUnknownWords_Click() {
  const bool on = action(Cmd::ViewUnderlineUnknownWords)->isChecked();
  spelling_->setUnderlining(on);
  writeFlag(keys::kUnderlineUnknownWords, on);
}

}  // namespace kavelin
