// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmbrowser.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>

#include "forms.h"
#include "kavelin_resources.h"
#include "webcomponent.h"

namespace kavelin {
namespace {

const char* const kButtons[] = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};

}  // namespace

frmBrowser::frmBrowser(WebComponent* component, QWidget* parent) : QWidget(parent, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(QIcon(res::icon(101)));
  resize(px(6540), px(5130));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8);
  setFont(font);

  tbToolBar = new QToolBar(this);
  tbToolBar->setIconSize(QSize(16, 16));
  tbToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tbToolBar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; } QToolButton { padding: 2px; }"));
  for (const char* key : kButtons) {
    const QString k = QString::fromLatin1(key);
    QAction* action = tbToolBar->addAction(QIcon(res::toolbar(k)), tr(key));
    action->setObjectName(k);
    action->setData(k);
    action->setToolTip(tr(key));
    connect(action, &QAction::triggered, this, [this, k] { tbToolBar_ButtonClick(k); });
  }
  tbToolBar->setGeometry(0, 0, px(6540), px(540));

  picAddress = new QWidget(this);
  picAddress->setGeometry(0, px(540), px(6540), px(675));
  lblAddress = new QLabel(tr("&Address:"), picAddress);
  lblAddress->setGeometry(px(45), px(60), px(3075), px(255));
  cboAddress = new QComboBox(picAddress);
  cboAddress->setEditable(true);
  cboAddress->setInsertPolicy(QComboBox::NoInsert);
  cboAddress->setGeometry(px(45), px(300), px(3795), px(315));
  lblAddress->setBuddy(cboAddress);
  // Keys reach the combo box when it has the focus (its line edit's focus
  // proxy), or the line edit when that has it: Enter is caught on both.
  cboAddress->installEventFilter(this);
  cboAddress->lineEdit()->installEventFilter(this);
  connect(cboAddress, qOverload<int>(&QComboBox::activated), this, [this] { cboAddress_Click(); });

  brwWebBrowser = component ? component : createWebEngineComponent(this);
  brwWebBrowser->setParent(this);
  brwWebBrowser->widget()->setParent(this);
  brwWebBrowser->widget()->setGeometry(px(50), px(1215), px(5393), px(3734));
  connect(brwWebBrowser, &WebComponent::DownloadComplete, this,
          &frmBrowser::brwWebBrowser_DownloadComplete);
  connect(brwWebBrowser, &WebComponent::NavigateComplete, this,
          &frmBrowser::brwWebBrowser_NavigateComplete2);

  timTimer = new QTimer(this);
  timTimer->setInterval(5);
  connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
}

void frmBrowser::Form_Load() {
  standAlone([&] {
    show();
    tbToolBar->update();
    Form_Resize();
  });
  standAlone([&] { cboAddress->move(px(50), lblAddress->y() + lblAddress->height() + 1); });
  if (StartingAddress.isEmpty()) return;
  standAlone([&] {
    cboAddress->setEditText(StartingAddress);
    cboAddress->addItem(StartingAddress);
  });
  standAlone([&] {
    timTimer->start();
    brwWebBrowser->Navigate(StartingAddress);
  });
}

void frmBrowser::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  Form_Resize();
}

// Sizes follow the inner area; a negative result is skipped.
void frmBrowser::Form_Resize() {
  const int inner = width();
  const int margin = px(100);
  tbToolBar->resize(inner, tbToolBar->height());
  picAddress->resize(inner, picAddress->height());
  if (inner - margin >= 0) cboAddress->resize(inner - margin, cboAddress->height());
  QWidget* view = brwWebBrowser->widget();
  if (inner - margin >= 0) view->resize(inner - margin, view->height());
  const int height = this->height() - (picAddress->y() + picAddress->height()) - margin;
  if (height >= 0) view->resize(view->width(), height);
}

void frmBrowser::cboAddress_Click() {
  if (suppressNavigate) return;
  timTimer->start();
  brwWebBrowser->Navigate(cboAddress->currentText());
}

void frmBrowser::cboAddress_KeyPress(int keyAscii) {
  if (keyAscii == 13) cboAddress_Click();
}

// Enter in the address box navigates; other keys are typed as usual.
bool frmBrowser::eventFilter(QObject* watched, QEvent* e) {
  if ((watched == cboAddress || watched == cboAddress->lineEdit()) &&
      e->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      cboAddress_KeyPress(13);
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void frmBrowser::timTimer_Timer() {
  if (brwWebBrowser->Busy()) {
    setWindowTitle(tr("Working..."));
  } else {
    timTimer->stop();
    setWindowTitle(brwWebBrowser->LocationName());
  }
}

void frmBrowser::brwWebBrowser_DownloadComplete() {
  standAlone([&] { setWindowTitle(brwWebBrowser->LocationName()); });
}

// Keeps the address list as a most-recent-first history without duplicates.
void frmBrowser::brwWebBrowser_NavigateComplete2(const QString&) {
  standAlone([&] { setWindowTitle(brwWebBrowser->LocationName()); });
  standAlone([&] {
    const QString location = brwWebBrowser->LocationURL();
    const int found = cboAddress->findText(location, Qt::MatchExactly | Qt::MatchCaseSensitive);
    suppressNavigate = true;
    if (found >= 0) cboAddress->removeItem(found);
    cboAddress->insertItem(0, location);
    cboAddress->setCurrentIndex(0);
    suppressNavigate = false;
  });
}

void frmBrowser::tbToolBar_ButtonClick(const QString& key) {
  standAlone([&] { timTimer->start(); });
  standAlone([&] {
    if (key == QLatin1String("Back")) {
      brwWebBrowser->GoBack();
    } else if (key == QLatin1String("Forward")) {
      brwWebBrowser->GoForward();
    } else if (key == QLatin1String("Refresh")) {
      brwWebBrowser->Refresh();
    } else if (key == QLatin1String("Home")) {
      brwWebBrowser->GoHome();
    } else if (key == QLatin1String("Search")) {
      brwWebBrowser->GoSearch();
    } else if (key == QLatin1String("Stop")) {
      timTimer->stop();
      brwWebBrowser->Stop();
      setWindowTitle(brwWebBrowser->LocationName());
    }
  });
}

}  // namespace kavelin
