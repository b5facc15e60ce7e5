// SPDX-License-Identifier: GPL-3.0-or-later
// Files given on the command line, and Help > Contents finding the read-me.
#include <QDir>
#include <QUrl>

#include "datafiles.h"
#include "fixtures.h"
#include "frmbrowser.h"

namespace kavelin::test {
namespace {

class FilesTest : public WindowTest {
 protected:
  void TearDown() override {
    setDataFolders(std::nullopt);
    WindowTest::TearDown();
  }
  // Program folder <dir>/usr/bin, data folder <dir>/usr/share/kavelin.
  DataFolders installed() {
    QDir().mkpath(dir.filePath("usr/bin"));
    QDir().mkpath(dir.filePath("usr/share/kavelin"));
    DataFolders folders;
    folders.programFolder = dir.filePath("usr/bin");
    folders.dataFolderFromProgram = "../share/kavelin";
    folders.installedDataFolder = dir.filePath("prefix/share/kavelin");
    return folders;
  }

  QStringList& opened = platform.opened;
};

constexpr char kRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello\\par}";

TEST_F(FilesTest, EachKindOfFileOpensInItsBox) {
  struct Case {
    const char* name;
    QByteArray content;
    QString english;
    QString editingBox;
  } cases[] = {
      {"a.txt", "namaste", "namaste", ""},
      {"b.rtf", kRtf, "", "Hello"},
      {"C.RTF", kRtf, "", "Hello"},
      {"rich-without-suffix", kRtf, "", "Hello"},
      {"plain-without-suffix", "dharma\r\nbhaarat", "dharma\nbhaarat", ""},
      {"rtf-looking.txt", kRtf, QString::fromLatin1(kRtf), ""},
  };
  for (const Case& c : cases) {
    w->RTB2->setText(QString());
    w->MainBox->setText(QString());
    w->MainBox->document()->setModified(false);
    writeFile(c.name, c.content);
    w->openFiles({dir.filePath(c.name)});
    EXPECT_EQ(w->RTB2->text(), c.english) << c.name;
    EXPECT_EQ(w->RTB1->text(), hindiOf(c.english)) << c.name;
    EXPECT_EQ(w->MainBox->text().trimmed(), c.editingBox) << c.name;
    EXPECT_FALSE(w->MainBox->document()->isModified()) << c.name;
  }
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(FilesTest, OneOfEachKindTheRestNamedInAMessage) {
  writeFile("one.txt", "ek");
  writeFile("two.txt", "do");
  writeFile("one.rtf", kRtf);
  writeFile("two.rtf", kRtf);
  w->openFiles({dir.filePath("one.txt"), dir.filePath("one.rtf"), dir.filePath("two.txt"),
                dir.filePath("two.rtf")});
  EXPECT_EQ(w->RTB2->text(), "ek");
  EXPECT_EQ(w->MainBox->text().trimmed(), "Hello");
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].icon, QMessageBox::Information);
  EXPECT_TRUE(
      shownMessages[0].text.endsWith(dir.filePath("two.txt") + "\n" + dir.filePath("two.rtf")))
      << shownMessages[0].text.toStdString();
}

TEST_F(FilesTest, FilesThatCannotBeReadAreReported) {
  writeFile("latin1.txt", "caf\xe9");
  writeFile("broken.rtf", "no RTF at all");
  w->openFiles({dir.filePath("missing.txt")});
  w->openFiles({dir.filePath("latin1.txt")});
  w->openFiles({dir.filePath("missing.rtf")});
  w->openFiles({dir.filePath("broken.rtf")});
  w->openFiles({});
  ASSERT_EQ(shownMessages.size(), 4u);
  EXPECT_TRUE(shownMessages[0].text.startsWith("Could not open " + dir.filePath("missing.txt")));
  EXPECT_TRUE(shownMessages[1].text.contains("not UTF-8"));
  EXPECT_EQ(shownMessages[2].text, "Error # 53 File not found");
  EXPECT_EQ(shownMessages[3].text, "Error # 321 Invalid file format");
  EXPECT_EQ(w->RTB2->text(), "");
  EXPECT_EQ(w->MainBox->text(), "");
}

TEST_F(FilesTest, HelpContentsOpensTheInstalledReadme) {
  setDataFolders(installed());
  writeFile("usr/share/kavelin/readme.txt", "read me");
  // One in the current folder is not the program's.
  writeFile("readme.txt", "someone else's");
  const QString before = QDir::currentPath();
  QDir::setCurrent(dir.path());
  w->action(Cmd::HelpContents)->trigger();
  QDir::setCurrent(before);
  EXPECT_EQ(opened, QStringList{dir.filePath("usr/share/kavelin/readme.txt")});
  EXPECT_TRUE(shownMessages.empty());

  // Beside the program comes first; the "Read-me" button does the same.
  writeFile("usr/bin/readme.txt", "read me");
  w->Command3_Click();
  EXPECT_EQ(opened.last(), dir.filePath("usr/bin/readme.txt"));
  EXPECT_TRUE(shownMessages.empty());
}

TEST_F(FilesTest, HelpContentsSaysWhenThereIsNoReadme) {
  setDataFolders(installed());
  w->mnuHelpContents_Click();
  EXPECT_TRUE(opened.isEmpty());
  ASSERT_EQ(shownMessages.size(), 1u);
  const Message& m = shownMessages[0];
  EXPECT_EQ(m.icon, QMessageBox::Warning);
  EXPECT_EQ(m.title, w->windowTitle());
  EXPECT_EQ(m.text, "Cannot find the read-me \"readme.txt\". It was looked for in:\n" +
                        dir.filePath("usr/bin/readme.txt") + "\n" +
                        dir.filePath("usr/share/kavelin/readme.txt") + "\n" +
                        dir.filePath("prefix/share/kavelin/readme.txt"));
}

TEST_F(FilesTest, HelpContentsShowsTheReadmeInItsOwnBrowserWhenNothingElseCan) {
  setDataFolders(installed());
  writeFile("usr/share/kavelin/readme.txt", "read me");
  platform.openWorks = false;
  w->mnuHelpContents_Click();
  EXPECT_EQ(opened.size(), 1);
  EXPECT_TRUE(shownMessages.empty());
  ASSERT_EQ(platform.pages.size(), 1u);
  ASSERT_TRUE(platform.pages[0]);
  EXPECT_EQ(
      platform.pages[0]->navigated,
      QStringList{QUrl::fromLocalFile(dir.filePath("usr/share/kavelin/readme.txt")).toString()});
  auto* browser = qobject_cast<frmBrowser*>(platform.pages[0]->view.window());
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->isVisible());
  delete browser;
}

}  // namespace
}  // namespace kavelin::test
