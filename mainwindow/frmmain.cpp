// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include "fontlists.h"
#include "forms.h"
#include "gridview.h"
#include "kavelin_resources.h"
#include "keys.h"
#include "numbers.h"
#include "placement.h"
#include "richtextfield.h"
#include "settingsfile.h"
#include "spelling.h"
#include "statusbar.h"
#include "suggestions.h"
#include "unicodepreview.h"

namespace kavelin {

frmMain::frmMain(PlatformTools& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  dlgCommonDialog_ = std::make_unique<CommonDialog>(platform_, this);
  exportDialog_ = std::make_unique<CommonDialog>(platform_, this);
  createMenus();
  createControls();
  connectCommands();
  createUnicodePreview();
  createSuggestions();
  setDocumentPath(QString());
  connect(MainBox->document(), &QTextDocument::modificationChanged, this,
          &frmMain::setWindowModified);
  // A report in the status bar is over once either box is edited.
  for (RichTextField* box : {RTB2, MainBox}) {
    connect(box, &RichTextField::changed, sbStatusBar, &StatusBar::clearReport);
  }
  // The Edit entries and the formatting buttons follow the active box, also
  // while the menu bar has the keyboard.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    if (now == menuBar()) focusBeforeMenu_ = old;
  });
  connect(qApp, &QApplication::focusChanged, this, &frmMain::updateCommandStates);
  for (RichTextField* box : {RTB1, RTB2, MainBox}) {
    connect(box, &QTextEdit::undoAvailable, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::redoAvailable, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::cursorPositionChanged, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::selectionChanged, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::currentCharFormatChanged, this, &frmMain::updateCommandStates);
  }
  updateCommandStates();
  // In wide layout the font lists follow the Editing Box.
  const auto follow = [this] {
    if (wideLayout_) showListFont();
  };
  connect(MainBox, &QTextEdit::cursorPositionChanged, this, follow);
  connect(MainBox, &QTextEdit::selectionChanged, this, follow);
  connect(MainBox, &QTextEdit::currentCharFormatChanged, this, follow);
}

frmMain::~frmMain() {
  // The list's store is written, and it stops watching the boxes.
  delete spelling_;
  spelling_ = nullptr;
  delete suggestions_;
  suggestions_ = nullptr;
  // No state updates while the controls go.
  disconnect(qApp, nullptr, this, nullptr);
  for (RichTextField* box : {RTB1, RTB2, MainBox}) disconnect(box, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------
// Controls

namespace {

// The picture buttons of the top row and the push buttons, with their design
// places (twips).
struct PictureButton {
  QToolButton* frmMain::*control;
  const char* name;
  const char* caption;
  int left;
};
const PictureButton kPictureButtons[] = {
    {&frmMain::Command2, "Command2", "&Intro", 1680},
    {&frmMain::Command1, "Command1", "&Clear", 2400},
    {&frmMain::Command6, "Command6", "&Print", 3120},
    {&frmMain::Command9, "Command9", "&Settings", 5040},
    {&frmMain::Command3, "Command3", "&Help", 5880},
    {&frmMain::Command4, "Command4", "&About", 6600},
    {&frmMain::Command5, "Command5", "E&xit", 7320},
};

struct PushButton {
  QPushButton* frmMain::*control;
  const char* name;
  const char* caption;
  int left, top, width, height;
  bool small;  // one of the Editing Box's buttons above it
};
const PushButton kPushButtons[] = {
    {&frmMain::Command7, "Command7", "S&end All >", 3960, 480, 975, 495, false},
    {&frmMain::Command8, "Command8", "Se&nd Sel >", 3960, 960, 975, 495, false},
    {&frmMain::Command10, "Command10", "<", 8280, 120, 255, 255, true},
    {&frmMain::Command11, "Command11", "Copy All", 8520, 120, 855, 255, true},
    {&frmMain::Command12, "Command12", "Save", 9360, 120, 615, 255, true},
    {&frmMain::Command13, "Command13", "Open", 9960, 120, 615, 255, true},
    {&frmMain::Command14, "Command14", "Clear", 10560, 120, 615, 255, true},
};

// The other controls' design places, by name.
struct Place {
  const char* name;
  int left, top, width, height;
};
const Place kPlaces[] = {
    {"Image1", 120, 480, 1455, 975},   {"Label2", 1680, 1560, 2895, 255},
    {"RTB1", 1680, 1800, 6375, 2175},  {"Label1", 1680, 4080, 2415, 255},
    {"RTB2", 1680, 4320, 6375, 2175},  {"Grid2", 120, 1560, 1500, 4935},
    {"Grid1", 120, 6600, 7935, 900},   {"Frame1", 8160, 480, 3495, 6975},
    {"MainBox", 120, 240, 3255, 6660},
};

QFont fontOf(const char* family, double points) {
  QFont font(QString::fromLatin1(family));
  font.setPointSizeF(points);
  return font;
}

}  // namespace

void frmMain::createControls() {
  client_ = new QWidget(this);
  setCentralWidget(client_);
  client_->setFont(fontOf("MS Sans Serif", 8));

  createToolBar();
  createButtons();

  Image1 = new QLabel(client_);
  Image1->setScaledContents(true);
  Image1->setCursor(Qt::PointingHandCursor);

  Label2 = new QLabel(tr("Transliterated Text ( Hindi )"), client_);
  RTB1 = new RichTextField(client_);
  RTB1->setReadOnly(true);
  RTB1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // The conversion writes it; there is nothing for the user to undo.
  RTB1->setUndoRedoEnabled(false);
  RTB1->setBaseFont(fontOf("DevLys 160", 14.25));

  Label1 = new QLabel(tr("Text To Transliterate ( English )"), client_);
  RTB2 = new RichTextField(client_);
  RTB2->setBaseFont(fontOf("MS Sans Serif", 12));

  Grid2 = new GridView(chart_.grid2(), client_);
  Grid2->setRowHeightPixels(22);
  Grid1 = new GridView(chart_.grid1(), client_);
  Grid1->setRowHeightPixels(20);
  Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  Frame1 = new QGroupBox(tr("Editing Box"), client_);
  // In wide layout the frame lies over other controls; it hides them cleanly.
  Frame1->setAutoFillBackground(true);
  MainBox = new RichTextField(Frame1);
  MainBox->setAcceptRichText(true);
  MainBox->setBaseFont(fontOf("DevLys 160", 14.25));

  const std::pair<QWidget*, const char*> names[] = {
      {Image1, "Image1"}, {Label2, "Label2"}, {RTB1, "RTB1"},
      {Label1, "Label1"}, {RTB2, "RTB2"},     {Grid2, "Grid2"},
      {Grid1, "Grid1"},   {Frame1, "Frame1"}, {MainBox, "MainBox"}};
  for (const auto& [control, name] : names) control->setObjectName(QString::fromLatin1(name));
  for (const Place& p : kPlaces) {
    place(client_->findChild<QWidget*>(QString::fromLatin1(p.name)), p.left, p.top, p.width,
          p.height);
  }

  sbStatusBar = new StatusBar(this);
  setStatusBar(sbStatusBar);

  // The grids' design layout, before any activation fills them.
  chart_.SetGrid1();
  chart_.SetGrid2();

  connect(RTB2, &RichTextField::changed, this, &frmMain::RTB2_Change);
  // Any change of the Hindi box that the conversion did not make means the
  // next conversion rewrites it whole.
  connect(RTB1->document(), &QTextDocument::contentsChange, this, [this] {
    if (!patchingHindiBox_) hindiBoxInStep_ = false;
  });
  connect(RTB2, &RichTextField::keyUp, this, &frmMain::RTB2_KeyUp);
  connect(MainBox, &RichTextField::keyDown, this, &frmMain::MainBox_KeyDown);
  connect(MainBox, &RichTextField::keyUp, this, &frmMain::MainBox_KeyUp);
  connect(Command10, &QPushButton::clicked, this, &frmMain::Command10_Click);
  // Keys that type text while a grid has the focus go to the English box.
  Grid1->setTypingTarget(RTB2);
  Grid2->setTypingTarget(RTB2);
  connect(Grid1, &GridView::clicked, this, [this] { chart_.Grid1_Click(); });
  connect(Grid2, &GridView::clicked, this, [this] { chart_.Grid2_Click(); });
}

void frmMain::createButtons() {
  for (const PictureButton& b : kPictureButtons) {
    auto* button = new QToolButton(client_);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setText(tr(b.caption));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    place(button, b.left, 480, 735, 975);
    this->*b.control = button;
  }
  for (const PushButton& b : kPushButtons) {
    auto* button = new QPushButton(tr(b.caption), client_);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setAutoDefault(false);
    if (b.small) button->setStyleSheet(QStringLiteral("padding: 0px 2px;"));
    place(button, b.left, b.top, b.width, b.height);
    this->*b.control = button;
  }
}

void frmMain::createToolBar() {
  tbToolBar = new QToolBar(client_);
  tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
  tbToolBar->setIconSize(QSize(16, 16));
  tbToolBar->setMovable(false);
  tbToolBar->setFloatable(false);
  tbToolBar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: 0px; }"));
  addToolbarButtons();
  // The font lists sit to the right of the buttons, at their design place.
  comboSpacer_ = new QWidget(tbToolBar);
  tbToolBar->addWidget(comboSpacer_);
  Combo2 = new QComboBox(tbToolBar);
  Combo2->setObjectName(QStringLiteral("Combo2"));
  Combo2->setEditable(true);
  Combo2->setInsertPolicy(QComboBox::NoInsert);
  Combo2->setFixedWidth(px(2175));
  Combo2->setMaxVisibleItems(20);
  tbToolBar->addWidget(Combo2);
  Combo1 = new QComboBox(tbToolBar);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setEditable(true);
  Combo1->setInsertPolicy(QComboBox::NoInsert);
  // A little wider than the design, so that sizes such as 14.25 stay readable.
  Combo1->setFixedWidth(px(735) + 8);
  Combo1->setEditText(QStringLiteral("Size"));
  tbToolBar->addWidget(Combo1);
  place(tbToolBar, 0, 0, 8085, 390);

  // An entry picked from a list is a click; text typed into it is a change.
  connect(Combo1, qOverload<int>(&QComboBox::activated), this, [this] { Combo1_Click(); });
  connect(Combo2, qOverload<int>(&QComboBox::activated), this, [this] { Combo2_Click(); });
  connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo1_Change(); });
  connect(Combo2->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo2_Change(); });
}

// ---------------------------------------------------------------------------
// Loading

void frmMain::Form_Load() {
  setWindowIcon(QIcon(res::icon(101)));
  LoadIcon();

  const QStringList families = offeredFontNames(QFontDatabase::families());
  for (int i = 0; i < families.size(); ++i) Combo2->addItem(families.at(i));
  fitListPopup(Combo2);
  for (int size = 8; size <= 72; size += 2) Combo1->addItem(QString::number(size));
  Combo1->setEditText(QStringLiteral("Size"));

  // From here on each step stands alone.
  const HindiBoxFont font = readHindiBoxFont(settingsFilePath());
  standAlone([&] {
    if (font.name != keys::kFontName.fallback) MainBox->setBaseFontName(font.name);
  });
  standAlone([&] {
    const std::optional<double> points = parseNumber(font.size);
    if (points && *points > 0) MainBox->setBaseFontSize(*points);
  });
  standAlone([&] { setComboText(Combo2, MainBox->baseFont().family()); });
  standAlone([&] { setComboText(Combo1, sizeText(MainBox->baseFont().pointSizeF())); });

  restorePlacement();
  HideTxtBox();
}

// The four stored values give the outer (frame) rectangle; one that is no number
// keeps what the window has. The rectangle is kept on the available screen area.
void frmMain::restorePlacement() {
  StoredPlacement stored;
  standAlone([&] { stored = readPlacement(); });
  for (int i = 0; i < 4; ++i) stored_[i] = stored[static_cast<std::size_t>(i)];
  QRect outer = frameGeometry();
  if (stored_[0]) outer.moveLeft(px(*stored_[0]));
  if (stored_[1]) outer.moveTop(px(*stored_[1]));
  if (stored_[2]) outer.setWidth(px(*stored_[2]));
  if (stored_[3]) outer.setHeight(px(*stored_[3]));
  QScreen* screen = QGuiApplication::screenAt(outer.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) outer = fitToArea(outer, screen->availableGeometry());
  wantedOuter_ = outer;
  // Before the first show the frame is not known: the position is the frame's,
  // the size is corrected once the frame is known.
  const QMargins frame = frameMarginsNow();
  move(outer.topLeft());
  resize(innerOf(outer, frame).size());
}

// The frame as the window system reports it; nothing before the first show.
// While the window manager is still building the frame, the platform may
// report the margins of a frame window not yet sized: such margins count as
// none.
QMargins frmMain::frameMarginsNow() const {
  const QWindow* window = windowHandle();
  if (!window) return QMargins();
  const QMargins frame = window->frameMargins();
  const bool sane = frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 &&
                    frame.bottom() >= 0 && frame.left() + frame.right() < width() &&
                    frame.top() + frame.bottom() < height();
  return sane ? frame : QMargins();
}

// The window's outer rectangle, from its client rectangle and the frame.
QRect frmMain::outerNow() const {
  const QMargins frame = frameMarginsNow();
  return geometry().marginsAdded(frame);
}

// Runs from the first show until the frame is known: gives the window the
// stored outer rectangle exactly. A size set meanwhile by anyone else wins.
// Where no window manager frames the window, the last attempt changes nothing:
// the window already has the outer size.
void frmMain::settleFrame() {
  constexpr int kAttempts = 300;
  constexpr int kIntervalMs = 50;
  if (wantedOuter_.isNull()) return;
  if (size() != settlingSize_) {
    wantedOuter_ = QRect();
    return;
  }
  // The frame counts once it holds for two polls in a row.
  const QMargins frame = frameMarginsNow();
  const bool known = !frame.isNull() && frame == lastFrame_;
  lastFrame_ = frame;
  if (!known && ++settleAttempts_ < kAttempts) {
    QTimer::singleShot(kIntervalMs, this, &frmMain::settleFrame);
    return;
  }
  const QRect outer = wantedOuter_;
  wantedOuter_ = QRect();
  resize(innerOf(outer, frame).size());
  // At fractional scaling the frame in logical pixels is rounded; one more step
  // makes the outer size come out as asked.
  const QSize error = outer.size() - outerNow().size();
  if (!error.isNull()) resize(size() + error);
  // The client's place for the frame to stand at the stored place.
  const QRect inner = innerOf(QRect(outer.topLeft(), outerNow().size()), frameMarginsNow());
  setGeometry(QRect(inner.topLeft(), size()));
  Form_Resize();
  // A panel shown before the window was framed may lie below it, or over its
  // controls now that the frame has moved them.
  if (preview_ && preview_->isVisible()) {
    if (!panelFits(preview_->frameGeometry(), controlRects(), previewArea())) {
      placeUnicodePreview();
    }
    preview_->raise();
  }
}

// The outer rectangle as stored at closing: the stored value itself for every
// edge that has not moved, so that an unchanged placement is kept exactly.
std::array<double, 4> frmMain::placementToStore() const {
  // Closed before the frame was known: what was asked for, unless the window
  // has been resized or moved meanwhile.
  const QRect current = outerNow();
  const bool pending = !wantedOuter_.isNull() && size() == settlingSize_ &&
                       (current.topLeft() - wantedOuter_.topLeft()).manhattanLength() <= 64;
  const QRect outer = pending ? wantedOuter_ : current;
  const int now[] = {outer.x(), outer.y(), outer.width(), outer.height()};
  std::array<double, 4> values{};
  for (int i = 0; i < 4; ++i) {
    values[i] = stored_[i] && px(*stored_[i]) == now[i] ? *stored_[i] : twips(now[i]);
  }
  return values;
}

void frmMain::LoadIcon() {
  Command2->setIcon(QIcon(res::icon(101)));
  Command1->setIcon(QIcon(res::icon(102)));
  Command6->setIcon(QIcon(res::icon(108)));
  Command9->setIcon(QIcon(res::icon(107)));
  Command3->setIcon(QIcon(res::icon(106)));
  Command4->setIcon(QIcon(res::icon(103)));
  Command5->setIcon(QIcon(res::icon(104)));
}

void frmMain::HideTxtBox() {
  // The engine's buffers are never widgets; only the two boxes are shown.
  RTB1->setVisible(true);
  RTB2->setVisible(true);
}

// ---------------------------------------------------------------------------
// Activation, layout and closing

void frmMain::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
}

void frmMain::Form_Activate() {
  activated_ = true;
  Image1->setPixmap(QPixmap(res::bitmap(101)));
  if (RTB2->isVisible()) RTB2->setFocus();
  chart_.SetGrid1();
  chart_.FillSwar();
  chart_.SetGrid2();
  chart_.FillVyanjan();
}

void frmMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  Form_Resize();
}

// The layout follows the outer size, which also changes when the window manager
// frames the window or changes its frame.
void frmMain::moveEvent(QMoveEvent* e) {
  QMainWindow::moveEvent(e);
  if (frameMarginsNow() != layoutFrame_) Form_Resize();
}

void frmMain::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  // The first display activates the window, even where the platform does not
  // make it the active window at once.
  if (!activated_) Form_Activate();
  // The window frame is known only once the window manager has framed the
  // window; the stored outer placement is made good then.
  if (!wantedOuter_.isNull()) {
    settleAttempts_ = 0;
    lastFrame_ = QMargins(-1, -1, -1, -1);
    settlingSize_ = size();
    settleFrame();
  }
  // The font lists start at their design place on the toolbar.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (QLayout* layout = tbToolBar->layout()) layout->activate();
    const int gap = px(5040) - Combo2->x();
    if (gap == 0 || comboSpacer_->width() + gap < 0) break;
    comboSpacer_->setFixedWidth(comboSpacer_->width() + gap);
  }
  if (action(Cmd::ViewUnicodePreview)->isChecked()) showUnicodePreview(true);
}

// The four sizes follow the window's outer size; a negative result skips its step.
void frmMain::relayoutFrame(bool widthFirst) {
  const QRect outer = outerNow();
  layoutFrame_ = frameMarginsNow();
  const double windowWidth = twips(outer.width());
  const double windowHeight = twips(outer.height());
  auto frameWidth = [&] {
    const double w = windowWidth - twips(Frame1->x()) - 300;
    if (w >= 0) Frame1->resize(px(w), Frame1->height());
  };
  auto boxWidth = [&] {
    const double w = twips(Frame1->width()) - 200;
    if (w >= 0) MainBox->resize(px(w), MainBox->height());
  };
  auto frameHeight = [&] {
    const double h = windowHeight - twips(Frame1->y()) - 1100;
    if (h >= 0) Frame1->resize(Frame1->width(), px(h));
  };
  auto boxHeight = [&] {
    const double h = twips(Frame1->height()) - 350;
    if (h >= 0) MainBox->resize(MainBox->width(), px(h));
  };
  if (widthFirst) {
    frameWidth(), boxWidth(), frameHeight(), boxHeight();
  } else {
    frameWidth(), frameHeight(), boxWidth(), boxHeight();
  }
}

void frmMain::Form_Resize() {
  if (!Frame1) return;
  relayoutFrame(true);
}

void frmMain::Command10_Click() {
  wideLayout_ = !wideLayout_;
  if (wideLayout_) {
    Frame1->move(px(50), px(480));
    relayoutFrame(false);
    Frame1->raise();
    Command10->setText(QStringLiteral(">"));
  } else {
    Frame1->move(px(8160), px(480));
    relayoutFrame(true);
    Command10->setText(QStringLiteral("<"));
  }
  showListFont();
}

void frmMain::closeEvent(QCloseEvent* e) {
  if (!unloading_ && !confirmClose()) {
    e->ignore();
    return;
  }
  Form_Unload();
  e->accept();
}

void frmMain::Form_Unload() {
  if (unloading_) return;
  unloading_ = true;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w != this && w->isVisible()) w->close();
  }
  if (!isMinimized()) {
    writePlacement(placementToStore());
  }
  QCoreApplication::quit();
}

// ---------------------------------------------------------------------------
// Font lists

void frmMain::setComboText(QComboBox* combo, const QString& text) {
  combo->setEditText(text);
  combo->lineEdit()->setCursorPosition(0);
  if (combo == Combo1) {
    Combo1_Change();
  } else if (combo == Combo2) {
    Combo2_Change();
  }
}

void frmMain::applySize(double points) {
  if (!wideLayout()) {
    RTB1->setBaseFontSize(points);
  } else {
    MainBox->setSelFontSize(points);
  }
}

void frmMain::Combo1_Change() {
  if (showingListFont_) return;
  standAlone([&] { applySize(sizeForText(Combo1->currentText())); });
}

void frmMain::Combo1_Click() { Combo1_Change(); }

void frmMain::applyFontName(const QString& name) {
  if (!wideLayout()) {
    RTB1->setBaseFontName(name);
  } else {
    MainBox->setSelFontName(name);
  }
}

void frmMain::Combo2_Change() {
  if (showingListFont_) return;
  standAlone([&] { applyFontName(Combo2->currentText()); });
}

void frmMain::Combo2_Click() {
  if (showingListFont_) return;
  standAlone([&] {
    const QString name = Combo2->currentText();
    if (!wideLayout() && name == QStringLiteral("DevLys 160")) {
      applyFontName(name + QStringLiteral(" Bold"));
    } else {
      applyFontName(name);
    }
  });
}

// What the font lists act on, as it is stored: in wide layout the font name
// and point size at the Editing Box's caret or selection (empty where mixed),
// else the Hindi box's font. Nothing is applied back; a list being typed into
// keeps the user's text.
void frmMain::showListFont() {
  const FontListTexts texts =
      wideLayout_ ? fontListTexts(MainBox->selFontName(), MainBox->selFontSize())
                  : fontListTexts(RTB1->baseFont().family(), RTB1->baseFont().pointSizeF());
  showingListFont_ = true;
  for (auto [combo, text] : {std::pair{Combo2, texts.name}, {Combo1, texts.size}}) {
    if (combo->hasFocus() || combo->lineEdit()->hasFocus() || combo->currentText() == text) {
      continue;
    }
    combo->setEditText(text);
    combo->lineEdit()->setCursorPosition(0);
  }
  showingListFont_ = false;
}

// ---------------------------------------------------------------------------
// Keys

void frmMain::MainBox_KeyDown(int keyCode, int shift) {
  if (shift != (kShiftMask | kCtrlMask) || (keyCode != kKeyComma && keyCode != kKeyPeriod)) return;
  const double step = keyCode == kKeyComma ? -2 : 2;
  if (const std::optional<double> size = MainBox->selFontSize()) {
    const double points = std::max(1.0, *size + step);
    MainBox->setSelFontSize(points);
    setComboText(Combo1, sizeText(points));
    return;
  }
  // Several sizes: each part of the selection grows or shrinks by the step.
  QTextCursor cursor = MainBox->textCursor();
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  const QFont base = MainBox->baseFont();
  for (QTextBlock block = MainBox->document()->findBlock(start);
       block.isValid() && block.position() < end; block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      const int from = std::max(start, f.position());
      const int to = std::min(end, f.position() + f.length());
      if (from >= to) continue;
      const double size = effectiveSize(f.charFormat(), base);
      QTextCursor part(MainBox->document());
      part.setPosition(from);
      part.setPosition(to, QTextCursor::KeepAnchor);
      QTextCharFormat change;
      change.setFontPointSize(std::max(1.0, size + step));
      part.mergeCharFormat(change);
    }
  }
}

// Alt+S moves the caret to the end of the sentence, Alt+W to the end of the word.
void frmMain::jumpCaret(RichTextField* box, int keyCode, int shift) {
  if (shift != kAltMask) return;
  if (keyCode == kKeyS) box->span(QStringLiteral(".?!:"));
  if (keyCode == kKeyW) box->span(QStringLiteral(" .?!:"));
}

void frmMain::MainBox_KeyUp(int keyCode, int shift) { jumpCaret(MainBox, keyCode, shift); }

void frmMain::RTB2_KeyUp(int keyCode, int shift) { jumpCaret(RTB2, keyCode, shift); }

// ---------------------------------------------------------------------------
// Transliteration

void frmMain::RTB2_Change() {
  try {
    convertEnglishBox();
  } catch (const std::exception& e) {
    // Nothing may escape into the event loop; the Hindi box stays as it was.
    qWarning("Kavelin: conversion failed: %s", e.what());
  }
}

// The edit the English box reports becomes one change of the Hindi box and
// of the preview, and the chart follows the token.
void frmMain::convertEnglishBox() {
  RichTextField::Edit edit = RTB2->takeEdit();
  TextSource source(*RTB2->document());
  // A Hindi box written by anyone else is written whole again.
  const bool wasInStep = hindiBoxInStep_;
  if (!wasInStep) {
    edit = {0, static_cast<int>(transliterator_.englishLength()),
            static_cast<int>(source.length())};
  }
  const bool previewShown = preview_ && preview_->isVisible();
  transliterator_.setUnicodeLines(previewShown);
  const Transliterator::Change& change = transliterator_.edit(
      source, static_cast<std::size_t>(edit.position), static_cast<std::size_t>(edit.removed),
      static_cast<std::size_t>(edit.added));
  patchingHindiBox_ = true;
  if (!wasInStep) {
    RTB1->setText(qview(change.inserted));
  } else if (change.removed != 0 || !change.inserted.empty()) {
    QTextCursor cursor(RTB1->document());
    cursor.setPosition(static_cast<int>(change.position));
    cursor.setPosition(static_cast<int>(change.position + change.removed), QTextCursor::KeepAnchor);
    cursor.insertText(qview(change.inserted), QTextCharFormat());
  }
  patchingHindiBox_ = false;
  hindiBoxInStep_ = true;
  if (previewShown) preview_->replaceLines(change.firstLine, change.removedLines, change.unicode);
  chart_.FillGrid(transliterator_.chartToken());
  // The caret goes to the end of the last line the change rewrote, so that the
  // line being edited shows; after a whole rewrite, to the end, except after a
  // file was opened, whose start shows in both boxes (moving to the end would
  // lay the whole Hindi text out at once).
  QTextCursor caret(RTB1->document());
  if (!wasInStep || hindiBoxAtStart_) {
    if (!hindiBoxAtStart_) caret.movePosition(QTextCursor::End);
  } else if (change.removed != 0 || !change.inserted.empty()) {
    std::size_t end = change.position + change.inserted.size();
    if (!change.inserted.empty() && change.inserted.back() == u'\n') --end;
    caret.setPosition(static_cast<int>(end));
    caret.movePosition(QTextCursor::EndOfBlock);
  } else {
    return;
  }
  RTB1->setTextCursor(caret);
  RTB1->ensureCursorVisible();
}

// ---------------------------------------------------------------------------
// Chart host

std::u16string frmMain::fontSelectorText() const { return ustr(Combo2->currentText()); }

std::u16string frmMain::englishText() const { return ustr(RTB2->text()); }

void frmMain::setEnglishText(const std::u16string& text) {
  // A pick types its key at the end: one step of undo, as typing it would be.
  RTB2->replaceText(qstr(text));
  // After a pick the caret stands at the end of the English text.
  QTextCursor end(RTB2->document());
  end.movePosition(QTextCursor::End);
  RTB2->setTextCursor(end);
}

}  // namespace kavelin
