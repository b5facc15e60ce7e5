// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode Devanagari into the Editing Box as glyph codes: Edit > "Paste Unicode
// as Hindi Glyphs" and File > "Import Unicode Text...".
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>

#include "fixtures.h"
#include "richformat.h"
#include "statusbar.h"
#include "unicodetext.h"

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
  // The script of each of the Editing Box's characters, block by block: G in
  // a glyph font, U in the Unicode font pasted text keeps, ? in another.
  QString scripts() const {
    const QFont base = w->MainBox->baseFont();
    QString out;
    for (QTextBlock b = w->MainBox->document()->begin(); b.isValid(); b = b.next()) {
      if (b != w->MainBox->document()->begin()) out += u'|';
      for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QString family = formatFamily(it.fragment().charFormat(), base);
        const QChar kind = isGlyphFamily(family, base)  ? u'G'
                           : family == textFamily(base) ? u'U'
                                                        : u'?';
        out += QString(it.fragment().length(), kind);
      }
    }
    return out;
  }
  QString exportedText() {
    files->answers = {dir.filePath("out.txt")};
    w->mnuFileExportUnicode_Click();
    return QString::fromUtf8(readFile("out.txt"));
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
  // Only Devanagari the font has no code for: Latin letters are no loss.
  QApplication::clipboard()->setText(QString::fromUtf8("अङ्ग\nok १ \U0001F600 ०"));
  w->mnuEditPasteUnicode_Click();
  EXPECT_EQ(w->MainBox->text(), QString::fromUtf8("vङ~x\nok १ \U0001F600 ०"));
  EXPECT_EQ(status(), "3 characters could not be converted");
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].icon, QMessageBox::Warning);
  EXPECT_EQ(shownMessages[0].text,
            QString::fromUtf8("3 characters could not be converted and were kept as they are:\n"
                              "Line 1, column 2: U+0919 ङ\n"
                              "Line 2, column 4: U+0967 १\n"
                              "Line 2, column 8: U+0966 ०\n"));
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

// Only Devanagari becomes glyphs; every other character stays as it was, in
// the Unicode font, and every export gives the text back.
TEST_F(GlyphImportTest, MixedTextByPasteAndImport) {
  struct Case {
    const char* unicode;
    const char* glyphs;   // the Editing Box's text
    const char* scripts;  // as scripts() gives them
    std::size_t unconverted;
  };
  const Case cases[] = {
      {"abc", "abc", "UUU", 0},
      {"विद्यार्थी १२३ ok", "fon~;kFkhZ १२३ ok", "GGGGGGGGGGGGGGUUU", 3},
      {"Hello नमस्ते, दुनिया! 123", "Hello ueLrs] nqfu;k! 123", "UUUUUUGGGGGGGGGGGGGUUUUU", 0},
      {"0123 ०१ 4.5", "0123 ०१ 4.5", "UUUUUGGUUUU", 2},
      {"(नमस्ते)... “धर्म”?", "(ueLrs)... “/keZ”?", "UGGGGGUUUUUUGGGGUU", 0},
      {"नमस्ते \U0001F600 धर्म\U0001F64F", "ueLrs \U0001F600 /keZ\U0001F64F", "GGGGGUUUUGGGGUU", 0},
      {"line one\r\nपंक्ति दो\n\nthree ३\r", "line one\niafDr nks\n\nthree ३\n",
       "UUUUUUUU|GGGGGGGGG||UUUUUUG|", 1},
  };
  enum Via { kPaste, kImport };
  for (Via via : {kPaste, kImport}) {
    for (const Case& c : cases) {
      const QString unicode = QString::fromUtf8(c.unicode);
      const std::string where = std::string(via == kPaste ? "paste " : "import ") + c.unicode;
      w->MainBox->setText(QString());
      shownMessages.clear();
      if (via == kPaste) {
        QApplication::clipboard()->setText(unicode);
        w->mnuEditPasteUnicode_Click();
      } else {
        writeFile("in.txt", unicode.toUtf8());
        files->answers = {dir.filePath("in.txt")};
        w->mnuFileImportUnicode_Click();
      }
      EXPECT_EQ(w->MainBox->text(), QString::fromUtf8(c.glyphs)) << where;
      EXPECT_EQ(scripts(), QString::fromUtf8(c.scripts)) << where;
      EXPECT_EQ(shownMessages.size(), c.unconverted ? 1u : 0u) << where;
      if (c.unconverted) {
        EXPECT_TRUE(status().startsWith(QString("%1 character").arg(c.unconverted))) << where;
      }

      // Back to Unicode: line breaks as LF.
      const QString expected = QString(unicode).replace("\r\n", "\n").replace(u'\r', u'\n');
      w->MainBox->setFocus();
      w->mnuEditCopyUnicode_Click();
      EXPECT_EQ(QApplication::clipboard()->text(), expected) << where;
      EXPECT_EQ(exportedText(), expected) << where;
    }
  }
}

// Latin text goes into the format at the caret when that is no glyph font,
// and comes back from a part of a line.
TEST_F(GlyphImportTest, MixedTextAtTheCaret) {
  w->MainBox->setText("AB");
  w->MainBox->selectAll();
  w->MainBox->setSelFontName("Arial");
  w->MainBox->setSelBold(true);
  w->MainBox->setSelStart(1);
  QApplication::clipboard()->setText(QString::fromUtf8("x धर्म y"));
  w->mnuEditPasteUnicode_Click();
  EXPECT_EQ(w->MainBox->text(), "Ax /keZ yB");
  EXPECT_EQ(w->MainBox->selFontName(), "Arial");  // the y
  EXPECT_EQ(w->MainBox->selBold(), true);
  w->MainBox->setSelStart(1);
  w->MainBox->setSelLength(5);
  EXPECT_EQ(w->MainBox->selFontName(), std::nullopt);  // "x /ke"
  w->mnuEditCopyUnicode_Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("x धम"));

  // A document that has only the typed Hindi in the base font.
  w->MainBox->setText("ueLrs");
  w->MainBox->setSelStart(5);
  QApplication::clipboard()->setText(QString::fromUtf8(", world"));
  w->mnuEditPasteUnicode_Click();
  EXPECT_EQ(w->MainBox->text(), "ueLrs, world");
  EXPECT_EQ(scripts(), "GGGGGUUUUUUU");
  EXPECT_EQ(exportedText(), QString::fromUtf8("नमस्ते, world"));
  // Typing on goes on in the pasted text's font, as in any word processor.
  EXPECT_EQ(w->MainBox->selFontName(), textFamily(w->MainBox->baseFont()));
}

// Copy as Unicode converts the glyphs of a selection, which may begin or end
// inside a word, and keeps the rest.
TEST_F(GlyphImportTest, CopiesAPartAsUnicode) {
  QApplication::clipboard()->setText(QString::fromUtf8("Hello नमस्ते\nधर्म ok"));
  w->mnuEditPasteUnicode_Click();
  ASSERT_EQ(w->MainBox->text(), "Hello ueLrs\n/keZ ok");
  const struct {
    int from, to;
    const char* unicode;
  } cases[] = {{0, 19, "Hello नमस्ते\nधर्म ok"},
               {3, 8, "lo नम"},
               {6, 12, "नमस्ते\n"},
               {11, 12, "\n"},
               {8, 14, "स्ते\nध"},
               {14, 18, "र्म o"},
               {17, 19, "ok"}};
  for (const auto& c : cases) {
    QTextCursor selection(w->MainBox->document());
    selection.setPosition(c.from);
    selection.setPosition(c.to, QTextCursor::KeepAnchor);
    w->MainBox->setTextCursor(selection);
    w->MainBox->setFocus();
    w->mnuEditCopyUnicode_Click();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(c.unicode))
        << c.from << "-" << c.to;
  }
}

TEST_F(GlyphImportTest, MixedTextInThePdf) {
  QApplication::clipboard()->setText(
      QString::fromUtf8("Hello नमस्ते, दुनिया! 123 ok\nविद्यार्थी १२३ ok"));
  w->mnuEditPasteUnicode_Click();
  files->answers = {dir.filePath("out.pdf")};
  w->mnuFileExportPdf_Click();
  ASSERT_TRUE(QFile::exists(dir.filePath("out.pdf")));
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  QProcess p;
  p.start(pdftotext, {dir.filePath("out.pdf"), "-"});
  p.waitForFinished();
  const QStringList lines =
      QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
  ASSERT_GE(lines.size(), 2);
  EXPECT_EQ(lines[0].simplified(), QString::fromUtf8("Hello नमस्ते, दुनिया! 123 ok"));
  EXPECT_EQ(lines[1].simplified(), QString::fromUtf8("विद्यार्थी १२३ ok"));
}

}  // namespace
}  // namespace kavelin::test
