// SPDX-License-Identifier: GPL-3.0-or-later
// Saving files atomically through Qt: the target is replaced only by a save
// whose every step succeeded; a failure says why and leaves it as it was.
#include "savefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include "filesizelimit.h"

namespace kavelin {
namespace {

class SaveFileTest : public testing::Test {
 protected:
  QString path(const QString& name) const { return dir.filePath(name); }
  void put(const QString& name, const QByteArray& bytes) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QByteArray get(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
  }
  QStringList entries() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  }
  QTemporaryDir dir;
};

bool isCharacterDevice(const char* path) {
  struct stat info {};
  return ::lstat(path, &info) == 0 && S_ISCHR(info.st_mode);
}

TEST_F(SaveFileTest, ReplacesTheFileAndKeepsItsPermissions) {
  put("a.txt", "old content");
  ASSERT_TRUE(QFile::setPermissions(path("a.txt"), QFile::ReadOwner | QFile::WriteOwner));
  QString error;
  ASSERT_TRUE(saveFile(path("a.txt"), "new", &error)) << error.toStdString();
  EXPECT_EQ(get("a.txt"), "new");
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(path("a.txt")).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  ASSERT_TRUE(saveFile(path("new.txt"), std::string("made"), &error));
  EXPECT_EQ(get("new.txt"), "made");
  EXPECT_EQ(entries(), (QStringList{"a.txt", "new.txt"}));  // no temporary file left
}

TEST_F(SaveFileTest, AFailedWriteIsReported) {
  // A full device (also through a link), and a full disk: the write fails.
  ASSERT_TRUE(QFile::link("/dev/full", path("full.txt")));
  for (const QString& target : {QStringLiteral("/dev/full"), path("full.txt")}) {
    QString error;
    EXPECT_FALSE(saveFile(target, QByteArray(100, 'x'), &error)) << target.toStdString();
    EXPECT_EQ(error, "No space left on device") << target.toStdString();
  }
  EXPECT_TRUE(isCharacterDevice("/dev/full"));  // written into, not replaced
  EXPECT_TRUE(QFileInfo(path("full.txt")).isSymLink());

  put("big.txt", "old content");
  // Failing as it is written, or only when the buffered rest goes at the commit.
  for (const int size : {64 * 1024, 2000}) {
    const test::FileSizeLimit limit(1024);
    QString error;
    EXPECT_FALSE(saveFile(path("big.txt"), QByteArray(size, 'x'), &error)) << size;
    EXPECT_EQ(error, "File too large") << size;
  }
  EXPECT_EQ(get("big.txt"), "old content");
  EXPECT_EQ(entries(), (QStringList{"big.txt", "full.txt"}));

  // A device that takes anything: a save like any other.
  QString error;
  EXPECT_TRUE(saveFile("/dev/null", "x", &error)) << error.toStdString();
  EXPECT_TRUE(isCharacterDevice("/dev/null"));
}

TEST_F(SaveFileTest, AFileThatCannotBeOpenedIsReported) {
  put("kept.txt", "kept");
  for (const QString& target : {path("missing/a.txt"), dir.path()}) {
    QString error;
    EXPECT_FALSE(saveFile(target, "x", &error)) << target.toStdString();
    EXPECT_FALSE(error.isEmpty()) << target.toStdString();
  }
  EXPECT_EQ(entries(), QStringList{"kept.txt"});
}

TEST_F(SaveFileTest, StreamedSaveCommitsOnlyWhatSucceeded) {
  put("doc.pdf", "old");
  {
    SaveFile file(path("doc.pdf"));
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(file.write("part one, "));
    EXPECT_TRUE(file.write("part two"));
    EXPECT_EQ(get("doc.pdf"), "old");  // nothing reaches the file before the commit
    ASSERT_TRUE(file.commit()) << file.errorString().toStdString();
  }
  EXPECT_EQ(get("doc.pdf"), "part one, part two");
  {
    SaveFile file(path("doc.pdf"));
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(file.write("half"));
    file.cancel("the layout failed");
    EXPECT_FALSE(file.write("more"));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(file.errorString(), "the layout failed");
  }
  {
    SaveFile file(path("doc.pdf"));
    ASSERT_TRUE(file.open());
    EXPECT_TRUE(file.write("never committed"));
  }
  EXPECT_EQ(get("doc.pdf"), "part one, part two");
  EXPECT_EQ(entries(), QStringList{"doc.pdf"});
  // Into a full device: the failure shows at the latest at the commit, and a
  // failed write stops the rest.
  SaveFile full("/dev/full");
  ASSERT_TRUE(full.open());
  full.write("x");
  EXPECT_FALSE(full.commit());
  EXPECT_EQ(full.errorString(), "No space left on device");
  SaveFile large("/dev/full");
  ASSERT_TRUE(large.open());
  EXPECT_FALSE(large.write(QByteArray(100 * 1024, 'x')));
  EXPECT_FALSE(large.write("y"));
  EXPECT_FALSE(large.commit());
  EXPECT_EQ(large.errorString(), "No space left on device");
}

}  // namespace
}  // namespace kavelin
