// SPDX-License-Identifier: GPL-3.0-or-later
// The browser window on the real web engine, offscreen: the home page loads.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

#include "frmbrowser.h"
#include "webcomponent.h"

namespace kavelin {
namespace {

TEST(BrowserSmoke, HomePageLoads) {
  auto* browser = new frmBrowser;
  auto* view = browser->findChild<QWebEngineView*>();
  ASSERT_NE(view, nullptr);
  QSignalSpy loaded(view, &QWebEngineView::loadFinished);
  QSignalSpy completed(browser->brwWebBrowser, &WebComponent::DownloadComplete);
  browser->StartingAddress = kHomePage;
  browser->Form_Load();
  ASSERT_TRUE(loaded.wait(60000)) << "the home page did not finish loading";
  EXPECT_TRUE(loaded.first().at(0).toBool());
  EXPECT_EQ(completed.size(), 1);
  QTest::qWait(50);
  EXPECT_FALSE(browser->brwWebBrowser->Busy());
  EXPECT_EQ(browser->brwWebBrowser->LocationURL(), kHomePage);
  EXPECT_EQ(browser->windowTitle(), QString::fromUtf8("Kavelin — write Hindi by its sounds"));
  EXPECT_EQ(browser->cboAddress->itemText(0), kHomePage);
  delete browser;
}

}  // namespace
}  // namespace kavelin
