// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode Devanagari into the Editing Box as glyph codes: Edit > "Paste Unicode
// as Hindi Glyphs" and File > "Import Unicode Text...".
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextCursor>

#include "fixtures.h"
#include "statusbar.h"

namespace kavelin::test {
namespace {

class GlyphImportTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    files = &platform.script(w->exportDialog());
  }
  QString status() const { return w->sbStatusBar->panel(0)->text(); }
  // The font family of the Editing Box's character at `position`.
  QString familyAt(int position) const {
    QTextCursor c(w->MainBox->document());
    c.setPosition(position + 1);
    return c.charFormat().font().family();
  }
  DialogScript* files = nullptr;
};

TEST_F(GlyphImportTest, MenuEntries) {
  QAction* paste = w->menuBar()->findChild<QAction*>("mnuEditPasteUnicode");
  QAction* import = w->menuBar()->findChild<QAction*>("mnuFileImportUnicode");
  ASSERT_TRUE(paste && import);
  EXPECT_EQ(paste->text(), "Paste Unicode as Hindi Glyphs");
  EXPECT_EQ(import->text(), "Import Unicode Text...");
  const QMenu* edit = w->menuBar()->findChild<QMenu*>("mnuEdit");
  const QMenu* file = w->menuBar()->findChild<QMenu*>("mnuFile");
  EXPECT_TRUE(edit->actions().contains(paste));
  EXPECT_TRUE(file->actions().contains(import));
}

TEST_F(GlyphImportTest, PastesAtTheCaretInTheHindiFont) {
  w->MainBox->setText("AB");
  w->MainBox->selectAll();
  w->MainBox->setSelBold(true);
  w->MainBox->setSelFontName("Arial");
  w->MainBox->setSelStart(1);
  w->MainBox->setSelLength(0);
  QApplication::clipboard()->setText(QString::fromUtf8("नमस्ते\r\nहिन्दी"));
  w->RTB2->setFocus();  // wherever the focus is, the text goes into the Editing Box
  w->action(Cmd::EditPasteUnicode)->trigger();
  EXPECT_EQ(w->MainBox->text(), "AueLrs\nfgUnhB");
  EXPECT_EQ(w->MainBox->selStart(), 1 + 11);  // the caret after the pasted text
  EXPECT_EQ(familyAt(1), w->MainBox->baseFont().family());
  EXPECT_EQ(w->MainBox->baseFont().family(), "DevLys 160");
  EXPECT_EQ(familyAt(0), "Arial");  // what was there keeps its format
  EXPECT_EQ(status(), "Converted to Hindi glyphs");
  EXPECT_TRUE(shownMessages.empty());
  EXPECT_TRUE(w->MainBox->document()->isModified());

  // A selection is replaced.
  w->MainBox->setSelStart(1);
  w->MainBox->setSelLength(5);
  QApplication::clipboard()->setText(QString::fromUtf8("धर्म"));
  w->mnuEditPasteUnicode_Click();
  EXPECT_EQ(w->MainBox->text(), "A/keZ\nfgUnhB");
}

TEST_F(GlyphImportTest, ReportsWhatCouldNotBeConverted) {
  QApplication::clipboard()->setText(QString::fromUtf8("अङ्ग\nok"));
  w->mnuEditPasteUnicode_Click();
  EXPECT_EQ(w->MainBox->text(), QString::fromUtf8("vङ~x\nok"));
  EXPECT_EQ(status(), "3 characters could not be converted");
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].icon, QMessageBox::Warning);
  EXPECT_EQ(shownMessages[0].text,
            QString::fromUtf8("3 characters could not be converted and were kept as they are:\n"
                              "Line 1, column 2: U+0919 ङ\n"
                              "Line 2, column 1: U+006F o\n"
                              "Line 2, column 2: U+006B k\n"));
  QApplication::clipboard()->setText(QString::fromUtf8("ङ"));
  w->mnuEditPasteUnicode_Click();
  EXPECT_EQ(status(), "1 character could not be converted");
  ASSERT_EQ(shownMessages.size(), 2u);
  // The next clean paste clears the status.
  QApplication::clipboard()->setText(QString::fromUtf8("क"));
  w->mnuEditPasteUnicode_Click();
  EXPECT_EQ(status(), "Converted to Hindi glyphs");
  EXPECT_EQ(shownMessages.size(), 2u);
}

TEST_F(GlyphImportTest, ImportsAUtf8File) {
  writeFile("in.txt",
            "\xEF\xBB\xBF"
            "भारत\r\nप्रेम");
  w->MainBox->setText("x");
  w->MainBox->setSelStart(0);
  files->answers = {dir.filePath("in.txt")};
  w->action(Cmd::FileImportUnicode)->trigger();
  EXPECT_EQ(w->MainBox->text(), QString::fromUtf8("Hkkjr\n\u00E7sex"));
  EXPECT_EQ(files->shown.back().kind, "open");
  EXPECT_EQ(files->shown.back().title, "Import Unicode Text");
  EXPECT_EQ(status(), "Converted to Hindi glyphs");
  EXPECT_TRUE(dialog->shown.empty());  // the other commands' dialog is left alone

  // Not UTF-8, missing, cancelled: a message or nothing, and no change.
  writeFile("bad.txt", "\xE0\xA4");
  files->answers = {dir.filePath("bad.txt")};
  w->mnuFileImportUnicode_Click();
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_TRUE(shownMessages[0].text.contains("not UTF-8"));
  files->answers = {dir.filePath("missing.txt")};
  w->mnuFileImportUnicode_Click();
  ASSERT_EQ(shownMessages.size(), 2u);
  EXPECT_TRUE(shownMessages[1].text.contains("missing.txt"));
  files->answers = {};
  w->mnuFileImportUnicode_Click();
  EXPECT_EQ(shownMessages.size(), 2u);
  EXPECT_EQ(w->MainBox->text(), QString::fromUtf8("Hkkjr\n\u00E7sex"));
}

}  // namespace
}  // namespace kavelin::test
