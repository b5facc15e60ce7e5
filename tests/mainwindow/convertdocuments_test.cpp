// SPDX-License-Identifier: GPL-3.0-or-later
// File > Convert Documents: files and folders added, the output folder, a
// batch converted on the worker thread with a result per file, numbered names
// beside existing files, cancelling, and every failure reported.
#include "convertdocuments.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include "fixtures.h"
#include "keys.h"

namespace kavelin::test {
namespace {

class ConvertDocumentsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    writeText(keys::kConvertFolder, QString());
    writeFlag(keys::kConvertToUnicode, true);
    open();
  }
  void TearDown() override { window.reset(); }

  void open() {
    window = std::make_unique<frmConvertDocuments>(platform);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  QString path(const QString& name) const { return dir.filePath(name); }
  void write(const QString& name, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path(name)).path());
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  QByteArray read(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
  }
  QStringList results() const {
    QStringList texts;
    for (int i = 0; i < window->FileList->topLevelItemCount(); ++i) {
      texts << window->FileList->topLevelItem(i)->text(1);
    }
    return texts;
  }
  QStringList namesIn(const QString& folder) const {
    return QDir(path(folder)).entryList(QDir::Files, QDir::Name);
  }
  // Converts and waits until the batch is through.
  void convert() {
    QSignalSpy finished(window.get(), &frmConvertDocuments::batchFinished);
    window->Convert_Click();
    EXPECT_TRUE(window->running());
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_FALSE(window->running());
  }

  QTemporaryDir dir;
  FakePlatform platform;
  std::unique_ptr<frmConvertDocuments> window;
};

TEST_F(ConvertDocumentsTest, ConvertsEachFormatIntoTheDefaultFolderAndReportsEachFile) {
  write("a.txt", "ueLrs] nqfu;kA\n");
  write("b.rtf", "{\\rtf1{\\fonttbl{\\f0 DevLys 160;}}\\f0 ueLrs\\par}");
  write("letters/c.docx", "PK\x03\x04 not a package");
  write("letters/d.odt", "");
  write("letters/notes.pdf", "%PDF");
  EXPECT_EQ(window->windowTitle(), "Convert Documents");
  EXPECT_FALSE(window->ConvertButton->isEnabled());
  EXPECT_TRUE(window->ToUnicode->isChecked());

  platform.chosenFiles.push_back({path("a.txt"), path("b.rtf")});
  window->AddFiles_Click();
  platform.chosenFolders.push_back(path("letters"));
  window->AddFolder_Click();
  EXPECT_EQ(platform.filesShown, QStringList{"Add Files|" + QDir::homePath()});
  EXPECT_EQ(platform.foldersShown, QStringList{"Add Folder|" + dir.path()});
  EXPECT_EQ(window->files(), QStringList({path("a.txt"), path("b.rtf"), path("letters/c.docx"),
                                          path("letters/d.odt")}));
  EXPECT_EQ(window->OutputFolder->text(), path("converted"));
  EXPECT_TRUE(window->ConvertButton->isEnabled());
  EXPECT_TRUE(platform.messages.empty());

  convert();
  const QStringList r = results();
  ASSERT_EQ(r.size(), 4);
  EXPECT_EQ(r[0], "Done: a.txt");
  EXPECT_EQ(r[1], "Done: b.rtf");
  EXPECT_TRUE(r[2].startsWith("Not a zip package")) << r[2].toStdString();
  EXPECT_FALSE(r[2].contains(path("letters"))) << "the line names the file already";
  EXPECT_TRUE(r[3].startsWith("Not a zip package")) << r[3].toStdString();
  EXPECT_EQ(window->Summary->text(), "2 of 4 converted, 2 failed");
  EXPECT_EQ(window->Progress->value(), window->Progress->maximum());
  EXPECT_EQ(namesIn("converted"), QStringList({"a.txt", "b.rtf"}));
  EXPECT_EQ(QString::fromUtf8(read("converted/a.txt")), u"नमस्ते, दुनिया।\n");
  EXPECT_TRUE(read("converted/b.rtf").startsWith("{\\rtf"));
  EXPECT_EQ(read("a.txt"), "ueLrs] nqfu;kA\n");
  EXPECT_EQ(read("letters/c.docx"), "PK\x03\x04 not a package");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].icon, QMessageBox::Warning);
  EXPECT_EQ(platform.messages[0].text,
            "2 of 4 documents could not be converted. The list shows why.");

  // Again: the first results keep their names, the new ones are numbered.
  convert();
  EXPECT_EQ(results().mid(0, 2), QStringList({"Done: a (2).txt", "Done: b (2).rtf"}));
  EXPECT_EQ(namesIn("converted"), QStringList({"a (2).txt", "a.txt", "b (2).rtf", "b.rtf"}));
}

TEST_F(ConvertDocumentsTest, UnicodeToGlyphsCountsWhatWasLeftAndTheChoicesAreKept) {
  write("u.txt", "कङ");
  write("out/u.txt", "kept");
  window->ToGlyphs->setChecked(true);
  window->addPaths({path("u.txt")});
  platform.chosenFolders.push_back(path("out"));
  window->Browse_Click();
  EXPECT_EQ(platform.foldersShown, QStringList{"Output Folder|" + path("converted")});
  convert();
  EXPECT_EQ(results(), QStringList{"Done: u (2).txt; 1 character left as they were"});
  const QString tip = window->FileList->topLevelItem(0)->toolTip(1);
  EXPECT_TRUE(tip.contains(u"U+0919 ङ: line 1, column 2")) << tip.toStdString();
  EXPECT_EQ(read("out/u.txt"), "kept");
  EXPECT_EQ(read("out/u (2).txt"), "dङ");
  EXPECT_TRUE(platform.messages.empty());

  // A new window starts with the folder chosen and the direction used.
  open();
  EXPECT_TRUE(window->ToGlyphs->isChecked());
  EXPECT_EQ(window->OutputFolder->text(), path("out"));
  window->addPaths({path("u.txt")});
  EXPECT_EQ(window->OutputFolder->text(), path("out")) << "a chosen folder stays";
}

TEST_F(ConvertDocumentsTest, RefusesWhatCannotBeConvertedAndSaysWhy) {
  write("a.pdf", "%PDF");
  write("empty/notes.doc", "x");
  write("a.txt", "d");
  const struct {
    QString given;
    QString message;
  } cases[] = {
      {path("a.pdf"), path("a.pdf") + ": only text, RTF, DOCX and ODT documents can be converted"},
      {path("none.txt"), path("none.txt") + ": no such file"},
      {path("empty"), path("empty") + ": no text, RTF, DOCX or ODT documents in this folder"},
  };
  for (const auto& c : cases) {
    platform.messages.clear();
    window->addPaths({c.given, path("a.txt")});
    ASSERT_EQ(platform.messages.size(), 1u) << c.given.toStdString();
    EXPECT_EQ(platform.messages[0].text,
              "Some of what was chosen cannot be converted:\n\n" + c.message);
    EXPECT_EQ(window->files(), QStringList{path("a.txt")}) << "added once";
  }
}

TEST_F(ConvertDocumentsTest, AnOutputFolderThatCannotBeMadeIsReported) {
  write("a.txt", "d");
  write("file", "x");
  window->addPaths({path("a.txt")});
  window->OutputFolder->setText(path("file/sub"));
  convert();
  EXPECT_EQ(results(), QStringList{"Not converted"});
  EXPECT_EQ(window->Summary->text(), "Nothing converted");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(platform.messages[0].text.startsWith("The output folder could not be made:\n" +
                                                   path("file/sub") + ": "))
      << platform.messages[0].text.toStdString();
  EXPECT_EQ(read("file"), "x");
}

// The first file is a pipe: its conversion waits until the test writes to it,
// while the window goes on answering.
TEST_F(ConvertDocumentsTest, CancelStopsAfterTheCurrentFile) {
  const struct {
    const char* how;
    void (*cancel)(frmConvertDocuments&);
    bool closes;
  } cases[] = {
      {"Cancel", [](frmConvertDocuments& w) { QTest::mouseClick(w.CloseButton, Qt::LeftButton); },
       false},
      {"Escape", [](frmConvertDocuments& w) { QTest::keyClick(&w, Qt::Key_Escape); }, false},
      {"closing", [](frmConvertDocuments& w) { w.close(); }, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    QTemporaryDir batch;
    const QString pipe = batch.filePath("slow.txt");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    QStringList inputs{pipe};
    for (const char* name : {"x.txt", "y.txt", "z.txt"}) {
      QFile f(batch.filePath(name));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("d");
      inputs << f.fileName();
    }
    open();
    window->addPaths(inputs);
    QSignalSpy finished(window.get(), &frmConvertDocuments::batchFinished);
    window->Convert_Click();
    QTRY_COMPARE(results().value(0), "Converting…");
    EXPECT_EQ(results().mid(1), QStringList({"Waiting", "Waiting", "Waiting"}));
    EXPECT_EQ(window->CloseButton->text(), "Cancel");
    EXPECT_FALSE(window->ConvertButton->isEnabled());
    EXPECT_FALSE(window->AddFilesButton->isEnabled());
    c.cancel(*window);
    QTest::qWait(50);
    EXPECT_TRUE(window->running()) << "the current file goes on";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Summary->text(), "Cancelling after the current document…");

    const int fd = ::open(pipe.toLocal8Bit().constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "ueLrs", 5), 5);
    ::close(fd);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(results(), QStringList({"Done: slow.txt", "Not converted: cancelled",
                                      "Not converted: cancelled", "Not converted: cancelled"}));
    EXPECT_EQ(window->Summary->text(), "1 of 4 converted (cancelled)");
    EXPECT_EQ(QDir(batch.filePath("converted")).entryList(QDir::Files), QStringList{"slow.txt"});
    EXPECT_EQ(window->isVisible(), !c.closes);
    EXPECT_EQ(window->CloseButton->text(), "&Close");
  }
}

// One action in the File menu opens the window, and the same window again.
TEST_F(WindowTest, FileMenuOpensConvertDocuments) {
  QAction* action = w->action(Cmd::FileConvertDocuments);
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->text(), "Con&vert Documents…");
  auto* menu = w->menuBar()->findChild<QMenu*>("mnuFile");
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->actions().contains(action));
  action->trigger();
  frmConvertDocuments* first = w->convertDocumentsWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(first->isModal());
  action->trigger();
  EXPECT_EQ(w->convertDocumentsWindow(), first);
}

}  // namespace
}  // namespace kavelin::test
