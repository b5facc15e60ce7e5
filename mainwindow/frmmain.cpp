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
#include "inifile.h"
#include "kavelin_resources.h"
#include "placement.h"
#include "richtextfield.h"
#include "settingsfile.h"
#include "statusbar.h"
#include "unicodepreview.h"

namespace kavelin {
namespace {}  // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent), chart_(engine_, *this) {
  dlgCommonDialog_ = std::make_unique<CommonDialog>(this);
  exportDialog_ = std::make_unique<CommonDialog>(this);
  createControls();
  createMenus();
  connectCommands();
  createUnicodePreview();
  setDocumentPath(QString());
  connect(MainBox->document(), &QTextDocument::modificationChanged, this,
          &frmMain::setWindowModified);
  // The Edit entries and the formatting buttons follow the active box.
  connect(qApp, &QApplication::focusChanged, this, &frmMain::updateCommandStates);
  for (RichTextField* box : {RTB1, RTB2, MainBox}) {
    connect(box, &QTextEdit::undoAvailable, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::redoAvailable, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::cursorPositionChanged, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::selectionChanged, this, &frmMain::updateCommandStates);
    connect(box, &QTextEdit::currentCharFormatChanged, this, &frmMain::updateCommandStates);
  }
  updateCommandStates();
}

frmMain::~frmMain() {
  // No state updates while the controls go.
  disconnect(qApp, nullptr, this, nullptr);
  for (RichTextField* box : {RTB1, RTB2, MainBox}) disconnect(box, nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------
// Controls

void frmMain::createControls() {
  client_ = new QWidget(this);
  setCentralWidget(client_);
  QFont sansSerif(QStringLiteral("MS Sans Serif"));
  sansSerif.setPointSizeF(8);
  client_->setFont(sansSerif);

  createToolBar();

  Image1 = new QLabel(client_);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setScaledContents(true);
  Image1->setCursor(Qt::PointingHandCursor);
  place(Image1, 120, 480, 1455, 975);

  auto pictureButton = [this](const char* name, const QString& caption, int left) {
    auto* b = new QToolButton(client_);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(caption);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(32, 32));
    place(b, left, 480, 735, 975);
    return b;
  };
  Command2 = pictureButton("Command2", tr("&Intro"), 1680);
  Command1 = pictureButton("Command1", tr("&Clear"), 2400);
  Command6 = pictureButton("Command6", tr("&Print"), 3120);
  Command9 = pictureButton("Command9", tr("&Settings"), 5040);
  Command3 = pictureButton("Command3", tr("&Help"), 5880);
  Command4 = pictureButton("Command4", tr("&About"), 6600);
  Command5 = pictureButton("Command5", tr("E&xit"), 7320);

  auto button = [this](const char* name, const QString& caption, int left, int top, int width,
                       int height) {
    auto* b = new QPushButton(caption, client_);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    place(b, left, top, width, height);
    return b;
  };
  Command7 = button("Command7", tr("S&end All >"), 3960, 480, 975, 495);
  Command8 = button("Command8", tr("Se&nd Sel >"), 3960, 960, 975, 495);
  Command10 = button("Command10", QStringLiteral("<"), 8280, 120, 255, 255);
  Command11 = button("Command11", tr("Copy All"), 8520, 120, 855, 255);
  Command12 = button("Command12", tr("Save"), 9360, 120, 615, 255);
  Command13 = button("Command13", tr("Open"), 9960, 120, 615, 255);
  Command14 = button("Command14", tr("Clear"), 10560, 120, 615, 255);
  for (QPushButton* small : {Command10, Command11, Command12, Command13, Command14}) {
    small->setStyleSheet(QStringLiteral("padding: 0px 2px;"));
  }

  Label2 = new QLabel(tr("Transliterated Text ( Hindi )"), client_);
  place(Label2, 1680, 1560, 2895, 255);
  RTB1 = new RichTextField(client_);
  RTB1->setObjectName(QStringLiteral("RTB1"));
  RTB1->setReadOnly(true);
  RTB1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  // The conversion writes it; there is nothing for the user to undo.
  RTB1->setUndoRedoEnabled(false);
  place(RTB1, 1680, 1800, 6375, 2175);
  QFont devlys(QStringLiteral("DevLys 160"));
  devlys.setPointSizeF(14.25);
  RTB1->setBaseFont(devlys);

  Label1 = new QLabel(tr("Text To Transliterate ( English )"), client_);
  place(Label1, 1680, 4080, 2415, 255);
  RTB2 = new RichTextField(client_);
  RTB2->setObjectName(QStringLiteral("RTB2"));
  place(RTB2, 1680, 4320, 6375, 2175);
  QFont english(QStringLiteral("MS Sans Serif"));
  english.setPointSizeF(12);
  RTB2->setBaseFont(english);

  Grid2 = new GridView(chart_.grid2(), client_);
  Grid2->setObjectName(QStringLiteral("Grid2"));
  Grid2->setRowHeightPixels(22);
  place(Grid2, 120, 1560, 1500, 4935);
  Grid1 = new GridView(chart_.grid1(), client_);
  Grid1->setObjectName(QStringLiteral("Grid1"));
  Grid1->setRowHeightPixels(20);
  Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  place(Grid1, 120, 6600, 7935, 900);

  Frame1 = new QGroupBox(tr("Editing Box"), client_);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  // In wide layout the frame lies over other controls; it hides them cleanly.
  Frame1->setAutoFillBackground(true);
  place(Frame1, 8160, 480, 3495, 6975);
  MainBox = new RichTextField(Frame1);
  MainBox->setObjectName(QStringLiteral("MainBox"));
  MainBox->setAcceptRichText(true);
  place(MainBox, 120, 240, 3255, 6660);
  MainBox->setBaseFont(devlys);

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
  connect(Grid1, &GridView::clicked, this, [this] { chart_.Grid1_Click(); });
  connect(Grid2, &GridView::clicked, this, [this] { chart_.Grid2_Click(); });
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

  const QStringList families = fontFamilies(QFontDatabase::families());
  for (int i = 0; i < families.size(); ++i) Combo2->addItem(families.at(i));
  fitListPopup(Combo2);
  for (int size = 8; size <= 72; size += 2) Combo1->addItem(QString::number(size));
  Combo1->setEditText(QStringLiteral("Size"));

  // From here on each step stands alone.
  const std::string path = settingsPath().toStdString();
  standAlone([&] {
    const std::string name = GetIni("Hindi Box", "FontName", path);
    if (name != kNotAvailable) MainBox->setBaseFontName(QString::fromStdString(name));
  });
  standAlone([&] {
    const std::string size = GetIni("Hindi Box", "FontSize", path);
    bool ok = false;
    const double points = QString::fromStdString(size).trimmed().toDouble(&ok);
    if (size != kNotAvailable && ok && points > 0) MainBox->setBaseFontSize(points);
  });
  standAlone([&] { setComboText(Combo2, MainBox->baseFont().family()); });
  standAlone([&] { setComboText(Combo1, sizeText(MainBox->baseFont().pointSizeF())); });

  restorePlacement();
  HideTxtBox();
}

QString frmMain::settingsPath() const { return settingsFilePath(); }

// The four stored values give the outer (frame) rectangle; one that is no number
// keeps what the window has. The rectangle is kept on the available screen area.
void frmMain::restorePlacement() {
  const std::pair<const char*, double> keys[] = {{"MainLeft", Placement::kDefaultLeft},
                                                 {"MainTop", Placement::kDefaultTop},
                                                 {"MainWidth", Placement::kDefaultWidth},
                                                 {"MainHeight", Placement::kDefaultHeight}};
  for (int i = 0; i < 4; ++i) {
    stored_[i] = std::nullopt;
    standAlone(
        [&] { stored_[i] = Placement::read(QString::fromLatin1(keys[i].first), keys[i].second); });
  }
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
  // A panel shown before the window was framed may lie below it.
  if (preview_ && preview_->isVisible()) preview_->raise();
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
  if (menuAction(Cmd::ViewUnicodePreview)->isChecked()) showUnicodePreview(true);
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

bool frmMain::wideLayout() const { return Command10->text() != QStringLiteral("<"); }

void frmMain::Command10_Click() {
  if (!wideLayout()) {
    Frame1->move(px(50), px(480));
    relayoutFrame(false);
    Frame1->raise();
    Command10->setText(QStringLiteral(">"));
  } else {
    Frame1->move(px(8160), px(480));
    relayoutFrame(true);
    Command10->setText(QStringLiteral("<"));
  }
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
    const std::array<double, 4> v = placementToStore();
    Placement::write(v[0], v[1], v[2], v[3]);
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
  standAlone([&] { applyFontName(Combo2->currentText()); });
}

void frmMain::Combo2_Click() {
  standAlone([&] {
    const QString name = Combo2->currentText();
    if (!wideLayout() && name == QStringLiteral("DevLys 160")) {
      applyFontName(name + QStringLiteral(" Bold"));
    } else {
      applyFontName(name);
    }
  });
}

// ---------------------------------------------------------------------------
// Keys

void frmMain::MainBox_KeyDown(int keyCode, int shift) {
  if (shift != 3 || (keyCode != 188 && keyCode != 190)) return;
  const double step = keyCode == 188 ? -2 : 2;
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

void frmMain::MainBox_KeyUp(int keyCode, int shift) {
  if (shift != 4) return;
  if (keyCode == 83) MainBox->span(QStringLiteral(".?!:"));
  if (keyCode == 87) MainBox->span(QStringLiteral(" .?!:"));
}

void frmMain::RTB2_KeyUp(int keyCode, int shift) {
  if (shift != 4) return;
  if (keyCode == 83) RTB2->span(QStringLiteral(".?!:"));
  if (keyCode == 87) RTB2->span(QStringLiteral(" .?!:"));
}

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

void frmMain::convertEnglishBox() {
  const IncrementalConverter::Change& change = converter_.setText(ustr(RTB2->text()));
  patchingHindiBox_ = true;
  const bool wasInStep = hindiBoxInStep_;
  if (!hindiBoxInStep_) {
    RTB1->setText(qstr(converter_.hindi()));
  } else if (change.removed != 0 || !change.inserted.empty()) {
    // Only the converted lines change; the rest is what a rebuild would give.
    QTextCursor cursor(RTB1->document());
    cursor.setPosition(static_cast<int>(change.position));
    cursor.setPosition(static_cast<int>(change.position + change.removed), QTextCursor::KeepAnchor);
    cursor.insertText(qstr(change.inserted), QTextCharFormat());
  }
  patchingHindiBox_ = false;
  hindiBoxInStep_ = true;
  engine_.setText1(converter_.chartToken());
  chart_.FillGrid();
  // The caret goes to the end of the last line the change rewrote, so that the
  // line being edited shows; after a whole rewrite, to the end, except after a
  // file was opened, whose start shows in both boxes (moving to the end would
  // lay the whole Hindi text out at once).
  QTextCursor caret(RTB1->document());
  if (!wasInStep) {
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
  RTB2->setText(qstr(text));
  // After a pick the caret stands at the end of the English text.
  QTextCursor end(RTB2->document());
  end.movePosition(QTextCursor::End);
  RTB2->setTextCursor(end);
}

}  // namespace kavelin
