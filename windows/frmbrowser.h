// SPDX-License-Identifier: GPL-3.0-or-later
// The web-browser window: an address box with a most-recent-first history, a
// navigation toolbar, and a busy indicator in the caption.
#pragma once

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QTimer;
class QToolBar;

namespace kavelin {

class WebComponent;

class frmBrowser : public QWidget {
  Q_OBJECT

 public:
  // `component` makes the page display; by default the Qt WebEngine one.
  explicit frmBrowser(WebComponent* component = nullptr, QWidget* parent = nullptr);

  QString StartingAddress;
  bool suppressNavigate = false;

  void Form_Load();
  void Form_Resize();
  void cboAddress_Click();
  void cboAddress_KeyPress(int keyAscii);
  void timTimer_Timer();
  void tbToolBar_ButtonClick(const QString& key);
  void brwWebBrowser_DownloadComplete();
  void brwWebBrowser_NavigateComplete2(const QString& url);

  QToolBar* tbToolBar = nullptr;
  QWidget* picAddress = nullptr;
  QLabel* lblAddress = nullptr;
  QComboBox* cboAddress = nullptr;
  WebComponent* brwWebBrowser = nullptr;
  QTimer* timTimer = nullptr;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
};

}  // namespace kavelin
