// The main window: the English box, the Hindi box, the Editing Box, the chart,
// the font lists, the toolbar, the command buttons and the status bar.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "chart.h"
#include "engine.h"
#include "incremental.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolBar;
class QToolButton;

namespace kavelin {

class GridView;
class RichTextField;
class StatusBar;

class frmMain : public QMainWindow, private ChartHost {
  Q_OBJECT

 public:
  explicit frmMain(QWidget* parent = nullptr);
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

  // The engine's buffers and the chart.
  Engine& engine() { return engine_; }
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

  // Sets a list's text as code does, which runs its change handler.
  void setComboText(QComboBox* combo, const QString& text);

  // True in wide layout (Command10 shows ">").
  bool wideLayout() const;

  // The path of the settings file that start-up reads.
  QString settingsPath() const;

 protected:
  void changeEvent(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // ChartHost
  std::u16string fontSelectorText() const override;
  std::u16string englishText() const override;
  void setEnglishText(const std::u16string& text) override;

  void createControls();
  void createMenus();
  void createToolBar();
  void applySize(double points);
  void applyFontName(const QString& name);
  void relayoutFrame(bool widthFirst);
  void convertEnglishBox();
  void Form_Unload();

  Engine engine_;
  IncrementalConverter converter_{IncrementalConverter::Breaks::kDocument};
  Chart chart_;
  QWidget* client_ = nullptr;
  QWidget* comboSpacer_ = nullptr;
  bool unloading_ = false;
  bool activated_ = false;
  QSize outerSize_;  // outer size asked for at load, made good at the first show
  bool hindiBoxInStep_ = false;    // the Hindi box holds the converter's last result
  bool patchingHindiBox_ = false;
};

}  // namespace kavelin
