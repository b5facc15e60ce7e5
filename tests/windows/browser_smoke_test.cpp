// The browser window on the real web engine, offscreen: the home page loads.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

#include "frmbrowser.h"
#include "webcomponent.h"

namespace kavelin {
namespace {

TEST(BrowserSmoke, HomePageLoads) {
  auto* browser = new frmBrowser;
  QSignalSpy completed(browser->brwWebBrowser, &WebComponent::DownloadComplete);
  browser->StartingAddress = kHomePage;
  browser->Form_Load();
  ASSERT_TRUE(completed.wait(60000)) << "the home page did not finish loading";
  QTest::qWait(50);
  EXPECT_FALSE(browser->brwWebBrowser->Busy());
  EXPECT_EQ(browser->brwWebBrowser->LocationURL(), kHomePage);
  EXPECT_EQ(browser->windowTitle(), QString::fromUtf8("Kavelin — write Hindi by its sounds"));
  EXPECT_EQ(browser->cboAddress->itemText(0), kHomePage);
  delete browser;
}

}  // namespace
}  // namespace kavelin
