// SPDX-License-Identifier: GPL-3.0-or-later
// Where data files such as the read-me are looked for.
#include "datafiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kavelin {
namespace {

class DataFilesTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString folder(const QString& relative) {
    const QString path = dir.filePath(relative);
    QDir().mkpath(path);
    return QDir::cleanPath(path);
  }
  void write(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("read me\n");
  }
  QTemporaryDir dir;
};

TEST_F(DataFilesTest, CandidatesInOrder) {
  const QString build = folder("build");
  const QString source = folder("src");
  struct Case {
    const char* what;
    QString program;
    QString buildFolder;
    QStringList expected;
  } cases[] = {
      {"run from the build tree: its source tree second",
       folder("build/app"),
       build,
       {dir.filePath("build/app/readme.txt"), source + "/readme.txt",
        dir.filePath("build/share/kavelin/readme.txt"), "/xdg/one/kavelin/readme.txt",
        "/xdg/two/kavelin/readme.txt", "/usr/share/kavelin/readme.txt"}},
      {"installed: no source tree",
       folder("root/usr/bin"),
       build,
       {dir.filePath("root/usr/bin/readme.txt"), dir.filePath("root/usr/share/kavelin/readme.txt"),
        "/xdg/one/kavelin/readme.txt", "/xdg/two/kavelin/readme.txt",
        "/usr/share/kavelin/readme.txt"}},
      {"a folder whose name only begins with the build folder's is outside it",
       folder("build-other/bin"),
       build,
       {dir.filePath("build-other/bin/readme.txt"),
        dir.filePath("build-other/share/kavelin/readme.txt"), "/xdg/one/kavelin/readme.txt",
        "/xdg/two/kavelin/readme.txt", "/usr/share/kavelin/readme.txt"}},
      {"no build folder known",
       folder("build/app"),
       QString(),
       {dir.filePath("build/app/readme.txt"), dir.filePath("build/share/kavelin/readme.txt"),
        "/xdg/one/kavelin/readme.txt", "/xdg/two/kavelin/readme.txt",
        "/usr/share/kavelin/readme.txt"}},
  };
  for (const Case& c : cases) {
    DataFolders folders;
    folders.programFolder = c.program;
    folders.buildFolder = c.buildFolder;
    folders.sourceFolder = source;
    folders.dataFolderFromProgram = "../share/kavelin";
    folders.systemDataFolders = {"/xdg/one/kavelin", "/xdg/two/kavelin"};
    folders.installedDataFolder = "/usr/share/kavelin";
    EXPECT_EQ(dataFileCandidates("readme.txt", folders), c.expected) << c.what;
  }
}

TEST_F(DataFilesTest, RepeatsAndEmptyFoldersAreLeftOut) {
  DataFolders folders;
  folders.programFolder = folder("usr/bin");
  folders.dataFolderFromProgram = "../share/kavelin";
  folders.systemDataFolders = {dir.filePath("usr/share/kavelin"), QString(), "/usr/share/kavelin"};
  folders.installedDataFolder = "/usr/share/kavelin/";
  EXPECT_EQ(
      dataFileCandidates("readme.txt", folders),
      (QStringList{dir.filePath("usr/bin/readme.txt"), dir.filePath("usr/share/kavelin/readme.txt"),
                   "/usr/share/kavelin/readme.txt"}));
  EXPECT_EQ(dataFileCandidates("readme.txt", DataFolders{}), QStringList{});
}

TEST_F(DataFilesTest, TheFirstFileFoundWins) {
  DataFolders folders;
  folders.programFolder = folder("usr/bin");
  folders.dataFolderFromProgram = "../share/kavelin";
  folders.systemDataFolders = {folder("xdg/kavelin")};
  folders.installedDataFolder = folder("prefix/share/kavelin");

  EXPECT_EQ(findDataFile("readme.txt", folders), QString()) << "none yet";
  write(folders.installedDataFolder + "/readme.txt");
  EXPECT_EQ(findDataFile("readme.txt", folders), folders.installedDataFolder + "/readme.txt");
  write(folders.systemDataFolders[0] + "/readme.txt");
  EXPECT_EQ(findDataFile("readme.txt", folders), folders.systemDataFolders[0] + "/readme.txt");
  // A folder of that name is no file.
  QDir().mkpath(folder("usr/share/kavelin") + "/readme.txt");
  EXPECT_EQ(findDataFile("readme.txt", folders), folders.systemDataFolders[0] + "/readme.txt");
  write(dir.filePath("usr/bin/readme.txt"));
  EXPECT_EQ(findDataFile("readme.txt", folders), dir.filePath("usr/bin/readme.txt"));
}

TEST_F(DataFilesTest, TheCurrentFolderIsNotSearched) {
  const QString here = folder("here");
  write(here + "/readme.txt");
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(here));
  DataFolders folders;
  folders.programFolder = folder("usr/bin");
  folders.dataFolderFromProgram = "../share/kavelin";
  const QString found = findDataFile("readme.txt", folders);
  QDir::setCurrent(before);
  EXPECT_EQ(found, QString());
}

TEST_F(DataFilesTest, OverrideForTests) {
  DataFolders folders;
  folders.programFolder = "/somewhere";
  setDataFolders(folders);
  EXPECT_EQ(dataFolders().programFolder, "/somewhere");
  setDataFolders(std::nullopt);
  EXPECT_NE(dataFolders().programFolder, "/somewhere");
  EXPECT_FALSE(dataFolders().installedDataFolder.isEmpty());
}

}  // namespace
}  // namespace kavelin
