// The About window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "frmabout.h"
#include "messages.h"
#include "registry.h"

namespace kavelin {
namespace {

class NoRegistry : public Registry {
 public:
  std::optional<RegistryValue> query(std::uint32_t, const std::string&, const std::string&,
                                     std::uint32_t) override {
    return std::nullopt;
  }
};

class OneTool : public Registry {
 public:
  std::optional<RegistryValue> query(std::uint32_t, const std::string& key,
                                     const std::string& name, std::uint32_t) override {
    if (key == kMsinfoKey && name == "PATH") return RegistryValue{REG_SZ, "/opt/sysinfo\0"};
    return std::nullopt;
  }
};

TEST(About, LoadsItsLabelsAndPictures) {
  frmAbout about;
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
  } cases[] = {{about.picIcon, {240, 240, 540, 540}},     {about.lblTitle, {1050, 240, 3885, 240}},
               {about.lblVersion, {1050, 480, 3885, 225}}, {about.Picture1, {720, 960, 2295, 1335}},
               {about.Picture2, {3000, 960, 2295, 1335}},  {about.Picture3, {720, 2280, 4575, 615}},
               {about.cmdOK, {4320, 3720, 1380, 345}},     {about.cmdSysInfo, {4320, 4200, 1365, 345}}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.control->geometry(), QRect(c.twips.x() / 15, c.twips.y() / 15,
                                           c.twips.width() / 15, c.twips.height() / 15));
  }
  EXPECT_EQ(about.cmdSysInfo->text(), "&System Info...");
}

TEST(About, SystemInfo) {
  std::vector<QString> messages;
  messages::setHandler([&](QWidget*, QMessageBox::Icon, const QString&, const QString& text,
                           QMessageBox::StandardButtons) {
    messages.push_back(text);
    return QMessageBox::Ok;
  });
  QStringList started;
  bool startWorks = true;
  frmAbout::startProgram = [&](const QString& program) {
    started << program;
    return startWorks;
  };
  frmAbout about;
  about.Form_Load();

  NoRegistry none;
  frmAbout::registry = &none;
  about.cmdSysInfo->click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "System Information Is Unavailable At This Time");
  EXPECT_TRUE(started.isEmpty());

  OneTool tool;
  frmAbout::registry = &tool;
  about.cmdSysInfo_Click();
  EXPECT_EQ(started, QStringList{"/opt/sysinfo"});
  EXPECT_EQ(messages.size(), 1u);
  // Named but not startable: the same message.
  startWorks = false;
  about.cmdSysInfo_Click();
  EXPECT_EQ(messages.size(), 2u);

  frmAbout::registry = nullptr;
  messages::setHandler(nullptr);
}

TEST(About, OkCloses) {
  frmAbout about;
  about.Form_Load();
  about.show();
  about.cmdOK->click();
  EXPECT_FALSE(about.isVisible());
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kavelin
