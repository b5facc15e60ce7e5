// SPDX-License-Identifier: GPL-3.0-or-later
// The browser window with a stand-in page display: history, caption, toolbar,
// address box and layout.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "frmbrowser.h"
#include "webcomponent.h"

namespace kavelin {
namespace {

// Records what the window asks of it and completes navigations on demand.
class FakeComponent : public WebComponent {
 public:
  QWidget* widget() override { return &view; }
  void Navigate(const QString& address) override { calls << "Navigate " + address; }
  void GoBack() override { calls << "GoBack"; }
  void GoForward() override { calls << "GoForward"; }
  void GoHome() override { calls << "GoHome"; }
  void GoSearch() override { calls << "GoSearch"; }
  void Refresh() override { calls << "Refresh"; }
  void Stop() override { calls << "Stop"; }
  bool Busy() const override { return busy; }
  QString LocationName() const override { return name; }
  QString LocationURL() const override { return url; }

  // The page at `u` titled `t` has loaded.
  void complete(const QString& u, const QString& t) {
    url = u;
    name = t;
    busy = false;
    emit NavigateComplete(u);
    emit DownloadComplete();
  }

  QWidget view;
  QStringList calls;
  bool busy = false;
  QString name;
  QString url;
};

QStringList entries(QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

class Browser : public testing::Test {
 protected:
  void SetUp() override {
    web = new FakeComponent;
    b = new frmBrowser(web);
  }
  void TearDown() override { delete b; }
  FakeComponent* web;
  frmBrowser* b;
};

TEST_F(Browser, LoadNavigatesToTheStartingAddress) {
  b->StartingAddress = "qrc:/home/index.html";
  b->Form_Load();
  EXPECT_TRUE(b->isVisible());
  EXPECT_EQ(web->calls, QStringList{"Navigate qrc:/home/index.html"});
  EXPECT_EQ(b->cboAddress->currentText(), "qrc:/home/index.html");
  EXPECT_EQ(entries(b->cboAddress), QStringList{"qrc:/home/index.html"});
  EXPECT_TRUE(b->timTimer->isActive());
  EXPECT_EQ(b->timTimer->interval(), 5);
  EXPECT_EQ(b->cboAddress->pos(), QPoint(50 / 15, (60 + 255 + 15) / 15));
  EXPECT_EQ(b->lblAddress->text(), "&Address:");
  QStringList keys;
  for (QAction* a : b->tbToolBar->actions()) keys << a->data().toString();
  EXPECT_EQ(keys, (QStringList{"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
}

TEST_F(Browser, NoStartingAddressOpensNothing) {
  b->Form_Load();
  EXPECT_TRUE(web->calls.isEmpty());
  EXPECT_EQ(b->cboAddress->count(), 0);
  EXPECT_FALSE(b->timTimer->isActive());
  EXPECT_EQ(b->windowTitle(), "");
}

TEST_F(Browser, HistoryIsMostRecentFirstWithoutDuplicates) {
  b->Form_Load();
  struct Step {
    const char* url;
    QStringList list;
  } steps[] = {{"http://a/", {"http://a/"}},
               {"http://b/", {"http://b/", "http://a/"}},
               {"http://a/", {"http://a/", "http://b/"}},
               {"http://c/", {"http://c/", "http://a/", "http://b/"}},
               {"http://b/", {"http://b/", "http://c/", "http://a/"}}};
  for (const Step& s : steps) {
    web->complete(s.url, QString("Title of ") + s.url);
    EXPECT_EQ(entries(b->cboAddress), s.list) << s.url;
    EXPECT_EQ(b->cboAddress->currentIndex(), 0);
    EXPECT_EQ(b->windowTitle(), QString("Title of ") + s.url);
  }
  // Updating the list never navigated.
  EXPECT_TRUE(web->calls.isEmpty());
  EXPECT_FALSE(b->suppressNavigate);
}

TEST_F(Browser, AddressBox) {
  b->Form_Load();
  // Enter navigates to the text exactly as typed.
  b->cboAddress->lineEdit()->setText(" example.org/a b ");
  QTest::keyClick(b->cboAddress->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(web->calls, QStringList{"Navigate  example.org/a b "});
  EXPECT_TRUE(b->timTimer->isActive());
  EXPECT_EQ(b->cboAddress->count(), 0);  // the list grows from completed navigations only
  // Other keys are typed.
  QTest::keyClick(b->cboAddress->lineEdit(), Qt::Key_X);
  EXPECT_EQ(b->cboAddress->currentText(), " example.org/a b x");
  // Choosing an entry navigates; while suppressed, nothing does.
  web->complete("http://a/", "A");
  web->calls.clear();
  b->cboAddress_Click();
  EXPECT_EQ(web->calls, QStringList{"Navigate http://a/"});
  b->suppressNavigate = true;
  b->cboAddress_Click();
  b->cboAddress_KeyPress(13);
  EXPECT_EQ(web->calls.size(), 1);
}

// Real key events reach the widget that has the focus, which for an editable
// combo box is the box itself, not its line edit.
TEST_F(Browser, EnterOnTheFocusedAddressBoxNavigatesToANewAddress) {
  b->Form_Load();
  QApplication::setActiveWindow(b);
  ASSERT_TRUE(QTest::qWaitForWindowActive(b));
  b->cboAddress->setFocus();
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  struct Case {
    const char* typed;
    Qt::Key enter;
  } cases[] = {{"file:///tmp/page.html", Qt::Key_Return},  // not in the list
               {"file:///tmp/page.html", Qt::Key_Enter},   // the keypad's Enter
               {"qrc:/home/index.html", Qt::Key_Return}};  // in the list: still once
  b->cboAddress->addItem("qrc:/home/index.html");
  for (const Case& c : cases) {
    web->calls.clear();
    b->cboAddress->clearEditText();
    QTest::keyClicks(focus, c.typed);
    ASSERT_EQ(b->cboAddress->currentText(), c.typed);
    QTest::keyClick(focus, c.enter);
    EXPECT_EQ(web->calls, QStringList{QString("Navigate ") + c.typed}) << c.typed;
    EXPECT_TRUE(b->timTimer->isActive());
  }
}

TEST_F(Browser, BusyCaptionAndToolbar) {
  b->Form_Load();
  web->busy = true;
  b->timTimer->start();
  b->timTimer_Timer();
  EXPECT_EQ(b->windowTitle(), "Working...");
  EXPECT_TRUE(b->timTimer->isActive());
  web->busy = false;
  web->name = "Loaded page";
  b->timTimer_Timer();
  EXPECT_EQ(b->windowTitle(), "Loaded page");
  EXPECT_FALSE(b->timTimer->isActive());

  struct Case {
    const char* key;
    const char* call;
  } cases[] = {{"Back", "GoBack"},      {"Forward", "GoForward"}, {"Refresh", "Refresh"},
               {"Home", "GoHome"},      {"Search", "GoSearch"}};
  for (const Case& c : cases) {
    web->calls.clear();
    b->tbToolBar_ButtonClick(c.key);
    EXPECT_EQ(web->calls, QStringList{c.call});
    EXPECT_TRUE(b->timTimer->isActive());
  }
  // Stop: the caption shows whatever has loaded so far.
  web->busy = true;
  web->name = "Half loaded";
  web->calls.clear();
  b->tbToolBar->findChild<QAction*>("Stop")->trigger();
  EXPECT_EQ(web->calls, QStringList{"Stop"});
  EXPECT_FALSE(b->timTimer->isActive());
  EXPECT_EQ(b->windowTitle(), "Half loaded");
  web->calls.clear();
  b->tbToolBar_ButtonClick("Unknown");
  EXPECT_TRUE(web->calls.isEmpty());
}

TEST_F(Browser, ResizeArithmetic) {
  b->Form_Load();
  b->resize(600, 500);
  const int inner = b->width();
  EXPECT_EQ(b->cboAddress->width(), inner - 100 / 15);
  EXPECT_EQ(web->view.width(), inner - 100 / 15);
  EXPECT_EQ(web->view.height(), b->height() - (540 + 675) / 15 - 100 / 15);
  EXPECT_EQ(web->view.pos(), QPoint(50 / 15, 1215 / 15));
  // Too small: the negative results are skipped.
  const int height = web->view.height();
  b->resize(600, 60);
  EXPECT_EQ(web->view.height(), height);
}

}  // namespace
}  // namespace kavelin
