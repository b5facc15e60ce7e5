// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the English box, the Hindi box, the Editing Box, the chart,
// the font lists, the toolbar, the command buttons and the status bar.
#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "chart.h"
#include "commondialog.h"
#include "documentstate.h"
#include "engine.h"
#include "frmsettings.h"
#include "transliterator.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolBar;
class QToolButton;

namespace kavelin {

class GridView;
class RichTextField;
class SpellingController;
class StatusBar;
class SuggestionController;

class frmConvertDocuments;
class frmSettings;
class PlatformTools;
class UnicodePreview;

// The commands of the menus, the toolbar and the buttons (see commands.cpp).
enum class Cmd {
  FileNew,
  FileOpen,
  FileClose,
  FileSave,
  FilePageSetup,
  FilePrint,
  FileExit,
  EditUndo,
  EditCut,
  EditCopy,
  EditPaste,
  EditPasteSpecial,
  ViewToolbar,
  ViewStatusBar,
  Settings,
  ViewRefresh,
  ViewWebBrowser,
  HelpContents,
  HelpSearchForHelpOn,
  HelpAbout,
  Bold,
  Italic,
  Underline,
  AlignLeft,
  Center,
  AlignRight,
  FileExportUnicode,
  FileExportPdf,
  EditCopyUnicode,
  ViewUnicodePreview,
  EditPasteUnicode,
  FileImportUnicode,
  EditRedo,
  FileSaveAs,
  FileSaveEditingBoxAs,
  ViewSuggestions,
  ViewReplaceAsYouType,
  FileConvertDocuments,
  EditCheckSpelling,
  ViewUnderlineUnknownWords,
  Count
};

class frmMain : public QMainWindow, private ChartHost, private SettingsTarget {
  Q_OBJECT

 public:
  // Every message box, dialog and program the window starts goes through
  // `platform`, which outlives the window.
  explicit frmMain(PlatformTools& platform, QWidget* parent = nullptr);
  ~frmMain() override;

  // Runs the load steps; the start-up procedure calls it once.
  void Form_Load();

  // The controls, by their names.
  RichTextField* RTB1 = nullptr;     // the Hindi box
  RichTextField* RTB2 = nullptr;     // the English box
  RichTextField* MainBox = nullptr;  // the Editing Box
  QGroupBox* Frame1 = nullptr;
  QComboBox* Combo1 = nullptr;  // font sizes
  QComboBox* Combo2 = nullptr;  // font names
  QToolBar* tbToolBar = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QToolButton* Command1 = nullptr;
  QToolButton* Command2 = nullptr;
  QToolButton* Command3 = nullptr;
  QToolButton* Command4 = nullptr;
  QToolButton* Command5 = nullptr;
  QToolButton* Command6 = nullptr;
  QPushButton* Command7 = nullptr;
  QPushButton* Command8 = nullptr;
  QToolButton* Command9 = nullptr;
  QPushButton* Command10 = nullptr;
  QPushButton* Command11 = nullptr;
  QPushButton* Command12 = nullptr;
  QPushButton* Command13 = nullptr;
  QPushButton* Command14 = nullptr;
  GridView* Grid1 = nullptr;
  GridView* Grid2 = nullptr;
  StatusBar* sbStatusBar = nullptr;

  // The conversion of the English box and the chart.
  const Transliterator& transliterator() const { return transliterator_; }
  Chart& chart() { return chart_; }

  // Handlers.
  void Form_Activate();
  void Form_Resize();
  void Command10_Click();
  void Combo1_Change();
  void Combo1_Click();
  void Combo2_Change();
  void Combo2_Click();
  void RTB2_Change();
  void RTB2_KeyUp(int keyCode, int shift);
  void MainBox_KeyDown(int keyCode, int shift);
  void MainBox_KeyUp(int keyCode, int shift);
  void LoadIcon();
  void HideTxtBox();

  // Commands. Shared commands call the menu entry's handler.
  void mnuFileNew_Click();
  void mnuFileOpen_Click();
  void mnuFileClose_Click();
  void mnuFileSave_Click();
  void mnuFileSaveAs_Click();
  void mnuFileSaveEditingBoxAs_Click();
  void mnuFilePageSetup_Click();
  void mnuFilePrint_Click();
  void mnuFileExit_Click();
  void mnuEditUndo_Click();
  void mnuEditRedo_Click();
  void mnuEditCut_Click();
  void mnuEditCopy_Click();
  void mnuEditPaste_Click();
  void mnuViewToolbar_Click();
  void mnuViewStatusBar_Click();
  void mnusettings_Click();
  void mnuViewRefresh_Click();
  void mnuViewWebBrowser_Click();
  void mnuHelpContents_Click();
  void mnuHelpSearchForHelpOn_Click();
  void mnuHelpAbout_Click();
  void tbToolBar_ButtonClick(const QString& key);
  void toggleBold();
  void toggleItalic();
  void toggleUnderline();
  void alignLeft();
  void alignCenter();
  void alignRight();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void Command8_Click();
  void Command9_Click();
  void Command11_Click();
  void Command12_Click();
  void Command13_Click();
  void Command14_Click();
  void Image1_Click();

  // Unicode: the preview panel, copying and exporting.
  void mnuViewUnicodePreview_Click();
  void mnuEditCopyUnicode_Click();
  void mnuFileExportUnicode_Click();
  void mnuFileExportPdf_Click();
  // Many documents converted at once, in a window of their own.
  void mnuFileConvertDocuments_Click();
  frmConvertDocuments* convertDocumentsWindow() const;
  // Unicode Devanagari into the Editing Box as glyph codes.
  void mnuEditPasteUnicode_Click();
  void mnuFileImportUnicode_Click();
  UnicodePreview* unicodePreview() const { return preview_; }

  // Word suggestions under the word being typed in the English box.
  void mnuViewSuggestions_Click();
  void mnuViewReplaceAsYouType_Click();
  SuggestionController* suggestions() const { return suggestions_; }
  // Unknown words underlined in the Editing Box and the Hindi box.
  void mnuEditCheckSpelling_Click();
  void mnuViewUnderlineUnknownWords_Click();
  SpellingController* spelling() const { return spelling_; }
  // Builds the suggestion index from the installed word lists and the user's
  // store on a thread of its own; the start-up calls it once the window shows.
  void startWordSuggestions();
  CommonDialog& exportDialog() { return *exportDialog_; }

  // The action of a command: its menu entry and its toolbar button.
  QAction* action(Cmd command) const { return actions_[static_cast<int>(command)]; }

  CommonDialog& dlgCommonDialog() { return *dlgCommonDialog_; }

  // The control that has the keyboard focus, which menus and the toolbar act on.
  QWidget* activeControl() const;

  // The application-name part of the window title, also the messages' title.
  static const QString kCaption;
  // The file the Editing Box was last opened from or saved to; empty for none.
  QString documentPath() const { return editingFile_.path(); }
  // The file the English text was last opened from or saved to; empty for none.
  QString englishPath() const { return englishFile_.path(); }

  // The Intro sample's first line.
  static const QString kIntroLine;

  // Sets a list's text as code does, which runs its change handler.
  void setComboText(QComboBox* combo, const QString& text);

  // True in wide layout (Command10 shows ">").
  bool wideLayout() const { return wideLayout_; }

  // Opens the files given on the command line: text files in the English box,
  // RTF documents in the Editing Box, one of each.
  void openFiles(const QStringList& paths);

  // Files larger than these are opened only when the user says so: loading
  // them would keep the window busy for some seconds.
  qint64 largeTextBytes = qint64{24} << 20;
  qint64 largeRtfBytes = qint64{8} << 20;

 protected:
  void changeEvent(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // ChartHost
  std::u16string fontSelectorText() const override;
  std::u16string englishText() const override;
  void setEnglishText(const std::u16string& text) override;

  // SettingsTarget
  void setHindiBoxFont(const QString& name, std::optional<double> size) override;
  void setFontListTexts(const QString& name, const QString& size) override;
  QFont hindiBoxFont() const override;

  // Commands on the Editing Box and the active control.
  void appendToEditingBox(const QString& glyphs);
  bool saveRichText(bool chooseName);
  void saveEnglishText(bool chooseName);
  bool editingBoxMayBeReplaced(const QString& question);
  void openRichText();
  void reportDropped(const QString& fileName, std::uint32_t dropped);
  bool loadRichText(const QString& fileName);
  void loadEnglishText(const QString& path);
  void printEditingBox();
  void openBrowserWindow(const QString& address);
  void format(void (*apply)(RichTextField*));
  void alignSelection(int alignment);
  void reportFailure(const QString& what, const QString& reason);
  void insertUnicodeAsGlyphs(const QString& unicode);
  bool confirmLargeFile(const QString& path, qint64 limit);
  bool confirmClose();

  void createControls();
  void createButtons();
  void createMenus();
  void createToolBar();
  void connectCommands();
  void addToolbarButtons();
  void run(Cmd command);  // a command's handler, then the command states
  void resolveAccessKeys();
  void applySize(double points);
  void applyFontName(const QString& name);
  void showListFont();
  void relayoutFrame(bool widthFirst);
  void jumpCaret(RichTextField* box, int keyCode, int shift);
  void convertEnglishBox();
  void Form_Unload();

  PlatformTools& platform_;
  Transliterator transliterator_{Transliterator::Breaks::kDocument};
  Chart chart_{*this};
  QWidget* client_ = nullptr;
  QWidget* comboSpacer_ = nullptr;
  std::unique_ptr<CommonDialog> dlgCommonDialog_;
  std::unique_ptr<CommonDialog> exportDialog_;
  UnicodePreview* preview_ = nullptr;
  SuggestionController* suggestions_ = nullptr;
  SpellingController* spelling_ = nullptr;
  void createSuggestions();
  void createUnicodePreview();
  void placeUnicodePreview();
  QRect previewArea() const;
  std::vector<QRect> controlRects() const;
  void setDocumentPath(const QString& path);
  void updateCommandStates();
  static FileKind richTextKind();
  static FileKind plainTextKind();
  DocumentFile editingFile_{richTextKind()};
  DocumentFile englishFile_{plainTextKind()};
  void showUnicodePreview(bool shown);
  QAction* actions_[static_cast<int>(Cmd::Count)] = {};
  QPointer<frmSettings> settings_;
  QPointer<frmConvertDocuments> convertDocuments_;
  QPointer<QWidget> focusBeforeMenu_;  // while the menu bar has the keyboard
  bool unloading_ = false;
  bool wideLayout_ = false;  // the Editing Box spans the window
  bool activated_ = false;
  bool showingListFont_ = false;  // the font lists are being set to show a font
  void restorePlacement();
  void settleFrame();
  QMargins frameMarginsNow() const;
  QRect outerNow() const;
  std::array<double, 4> placementToStore() const;
  std::optional<double> stored_[4];  // the stored placement as read (twips)
  QRect wantedOuter_;                // outer rectangle to make good once the frame is known
  QSize settlingSize_;
  int settleAttempts_ = 0;
  QMargins lastFrame_;
  QMargins layoutFrame_;         // the frame the Editing Box was last laid out with
  bool hindiBoxInStep_ = false;  // the Hindi box holds the converter's last result
  bool patchingHindiBox_ = false;
  bool hindiBoxAtStart_ = false;  // a conversion leaves the Hindi box's caret at its start
};

}  // namespace kavelin
