// SPDX-License-Identifier: GPL-3.0-or-later
// The About window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "fakeplatform.h"
#include "frmabout.h"
#include "registry.h"

namespace kavelin {
namespace {

using test::FakePlatform;

TEST(About, LoadsItsLabelsAndPictures) {
  FakePlatform platform;
  frmAbout about(platform);
  about.Form_Load();
  EXPECT_EQ(about.windowTitle(), "About Kavelin");
  EXPECT_EQ(about.lblTitle->text(), "Kavelin");
  EXPECT_EQ(about.lblVersion->text(), "Version 1.0.0");
  EXPECT_EQ(about.lblDescription->text(), "Write Hindi by typing its sounds");
  EXPECT_EQ(about.size(), QSize(5790 / 15, 4665 / 15));
  EXPECT_FALSE(about.windowIcon().isNull());
  for (QLabel* picture : {about.picIcon, about.Picture1, about.Picture2, about.Picture3}) {
    ASSERT_FALSE(picture->pixmap().isNull());
    EXPECT_LE(picture->pixmap().width(), picture->width());
    EXPECT_LE(picture->pixmap().height(), picture->height());
  }
  EXPECT_EQ(about.Picture1->pixmap().size(), QSize(150, 85));
  EXPECT_EQ(about.Picture2->pixmap().size(), QSize(140, 80));
  struct Case {
    QWidget* control;
    QRect twips;
  } cases[] = {
      {about.picIcon, {240, 240, 540, 540}},      {about.lblTitle, {1050, 240, 3885, 240}},
      {about.lblVersion, {1050, 480, 3885, 225}}, {about.Picture1, {720, 960, 2295, 1335}},
      {about.Picture2, {3000, 960, 2295, 1335}},  {about.Picture3, {720, 2280, 4575, 615}},
      {about.cmdOK, {4320, 3720, 1380, 345}},     {about.cmdSysInfo, {4320, 4200, 1365, 345}}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.control->geometry(), QRect(c.twips.x() / 15, c.twips.y() / 15, c.twips.width() / 15,
                                           c.twips.height() / 15));
  }
  EXPECT_EQ(about.cmdSysInfo->text(), "&System Info...");
  // The licence is said, and fits its place beside the buttons.
  EXPECT_NE(about.lblLicence->text().indexOf("GPL-3.0-or-later"), -1);
  EXPECT_LE(about.lblLicence->heightForWidth(about.lblLicence->width()),
            about.lblLicence->height());
  EXPECT_LE(about.lblLicence->geometry().bottom(), about.height());
  EXPECT_LT(about.lblLicence->geometry().right(), about.cmdOK->geometry().left());
}

// The word lists' line sits between the font's and the licence's, and the
// longest summary (all four lists found) fits its place, the licence still
// inside the window.
TEST(About, NamesTheWordLists) {
  FakePlatform platform;
  frmAbout about(platform);
  about.Form_Load();
  for (const QString& summary :
       {QString(),
        QStringLiteral("aspell-hi (83,388 words), hunspell-hi (15,990 words), "
                       "apertium-hin (80,867 words), tesseract-ocr-hin (12,464 words)"),
        QStringLiteral("no word list; not found: aspell-hi, hunspell-hi, apertium-hin, "
                       "tesseract-ocr-hin")}) {
    about.setWordLists(summary);
    if (!summary.isEmpty()) {
      EXPECT_TRUE(about.lblWords->text().contains(summary));
    }
    EXPECT_FALSE(about.lblWords->text().isEmpty());
    EXPECT_LE(about.lblWords->heightForWidth(about.lblWords->width()), about.lblWords->height());
    EXPECT_LE(about.lblWords->geometry().bottom(), about.lblLicence->geometry().top());
    EXPECT_LE(about.lblLicence->geometry().bottom(), about.height());
  }
  EXPECT_LE(about.lblFont->heightForWidth(about.lblFont->width()), about.lblFont->height());
  EXPECT_LE(about.lblFont->geometry().bottom(), about.lblWords->geometry().top());
  EXPECT_LE(about.lblWords->geometry().bottom(), about.lblLicence->geometry().top());
}

TEST(About, SystemInfo) {
  FakePlatform platform;
  const std::vector<FakePlatform::Message>& messages = platform.messages;
  const QStringList& started = platform.started;
  frmAbout about(platform);
  about.Form_Load();

  // An empty registry: no tool is named.
  about.cmdSysInfo->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "System Information Is Unavailable At This Time");
  EXPECT_TRUE(started.isEmpty());

  platform.registryValues[{kMsinfoKey, "PATH"}] = RegistryValue{REG_SZ, "/opt/sysinfo\0"};
  about.cmdSysInfo_Click();
  EXPECT_EQ(started, QStringList{"/opt/sysinfo"});
  EXPECT_EQ(messages.size(), 1u);
  // Named but not startable: the same message.
  platform.startWorks = false;
  about.cmdSysInfo_Click();
  EXPECT_EQ(messages.size(), 2u);
}

TEST(About, OkCloses) {
  FakePlatform platform;
  frmAbout about(platform);
  about.Form_Load();
  about.show();
  about.cmdOK->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kavelin
