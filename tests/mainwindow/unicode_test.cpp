// SPDX-License-Identifier: GPL-3.0-or-later
// Hindi as Unicode in the window: the preview panel, Copy as Unicode, and the
// Unicode text and PDF exports.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include "fixtures.h"
#include "richformat.h"
#include "unicodepreview.h"
#include "unicodetext.h"

namespace kavelin::test {
namespace {

class UnicodeTest : public WindowTest {
 protected:
  void SetUp() override {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kavelin", "Kavelin").clear();
    WindowTest::SetUp();
    exports = &platform.script(w->exportDialog());
  }
  QString stored() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kavelin", "Kavelin")
        .value("Settings/UnicodePreview")
        .toString();
  }
  DialogScript* exports = nullptr;
};

TEST_F(UnicodeTest, PreviewFollowsTheHindiBox) {
  // Hidden at first: the Hindi box shows Devanagari itself.
  QAction* toggle = w->action(Cmd::ViewUnicodePreview);
  EXPECT_FALSE(toggle->isChecked());
  UnicodePreview* preview = w->unicodePreview();
  EXPECT_FALSE(preview->isVisible());
  toggle->trigger();
  EXPECT_TRUE(preview->isVisible());
  EXPECT_TRUE(preview->isFloating());
  EXPECT_TRUE(preview->view()->isReadOnly());
  EXPECT_EQ(preview->view()->font().family(), devanagariFont());

  type("namaste dharma");
  EXPECT_EQ(preview->text(), QString::fromUtf8("नमस्ते धर्म "));
  QTest::keyClick(w->RTB2, Qt::Key_Return);
  type("vidyaarthii");
  EXPECT_EQ(preview->text(), QString::fromUtf8("नमस्ते धर्म \nविद्यार्थी "));
  w->Command7_Click();  // Send All empties the Hindi box
  EXPECT_EQ(preview->text(), "");
}

TEST_F(UnicodeTest, PreviewStateIsKept) {
  QAction* toggle = w->action(Cmd::ViewUnicodePreview);
  EXPECT_EQ(stored(), "");
  toggle->trigger();
  EXPECT_TRUE(toggle->isChecked());
  EXPECT_TRUE(w->unicodePreview()->isVisible());
  EXPECT_EQ(stored(), "1");
  makeWindow();  // shown again, as left
  EXPECT_TRUE(w->action(Cmd::ViewUnicodePreview)->isChecked());
  EXPECT_TRUE(w->unicodePreview()->isVisible());
  w->action(Cmd::ViewUnicodePreview)->trigger();
  EXPECT_FALSE(w->unicodePreview()->isVisible());
  EXPECT_EQ(stored(), "0");
  makeWindow();  // and hidden, as left
  EXPECT_FALSE(w->action(Cmd::ViewUnicodePreview)->isChecked());
  EXPECT_FALSE(w->unicodePreview()->isVisible());
  w->action(Cmd::ViewUnicodePreview)->trigger();
  EXPECT_TRUE(w->unicodePreview()->isVisible());
  EXPECT_EQ(stored(), "1");
  // Closing the panel itself unchecks the entry.
  w->unicodePreview()->close();
  EXPECT_FALSE(w->action(Cmd::ViewUnicodePreview)->isChecked());
  EXPECT_EQ(stored(), "0");
}

TEST_F(UnicodeTest, PreviewMovesNothing) {
  QMenuBar plain;
  plain.addMenu("&File");
  EXPECT_EQ(w->menuBar()->height(), plain.sizeHint().height());
  EXPECT_EQ(w->Frame1->pos(), QPoint(8160 / 15, 480 / 15));
  EXPECT_EQ(w->Frame1->width() * 15, 3540);
  EXPECT_NE(w->menuBar()->cornerWidget(Qt::TopRightCorner), nullptr);
}

TEST(UnicodePreviewLines, PatchedLinesEqualAFullConversion) {
  QWidget parent;
  UnicodePreview preview(&parent);
  const QStringList pieces = {"ueLrs", "/keZ", "Hkkjr", "fgUnh", "", " ", "fon~;kFkhZ", "dk"};
  QStringList lines = {""};
  QRandomGenerator rng(99);
  for (int step = 0; step < 500; ++step) {
    const int at = rng.bounded(lines.size() + 1);
    const int kind = rng.bounded(4);
    if (kind == 0 && lines.size() > 1) {
      lines.removeAt(std::min(at, static_cast<int>(lines.size()) - 1));
    } else if (kind == 1) {
      lines.insert(at, pieces[rng.bounded(pieces.size())]);
    } else if (kind == 2 && !lines.isEmpty()) {
      const int i = std::min(at, static_cast<int>(lines.size()) - 1);
      lines[i] += pieces[rng.bounded(pieces.size())];
    } else if (lines.size() > 2) {
      const int i = rng.bounded(lines.size() - 1);
      lines.remove(i, std::min<int>(2, lines.size() - 1 - i));
    }
    const QString glyphs = lines.join('\n');
    preview.showGlyphs(glyphs);
    ASSERT_EQ(preview.text(), unicodeText(glyphs)) << step;
  }
}

TEST_F(UnicodeTest, CopyAsUnicode) {
  type("namaste dharma");
  w->RTB1->setFocus();
  w->action(Cmd::EditCopyUnicode)->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("नमस्ते धर्म "));
  w->RTB1->setSelStart(6);
  w->RTB1->setSelLength(4);
  w->mnuEditCopyUnicode_Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("धर्म"));
  w->MainBox->setText("Hkkjr");
  w->MainBox->setFocus();
  w->mnuEditCopyUnicode_Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("भारत"));
  // From anywhere else: the Hindi box.
  w->RTB2->setFocus();
  w->RTB1->setSelLength(0);
  w->mnuEditCopyUnicode_Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("नमस्ते धर्म "));
}

TEST_F(UnicodeTest, ExportUnicodeText) {
  w->MainBox->setText("ueLrs /keZ\nfgUnh");
  exports->answers = {dir.filePath("out.txt")};
  w->action(Cmd::FileExportUnicode)->trigger();
  EXPECT_EQ(QString::fromUtf8(readFile("out.txt")), QString::fromUtf8("नमस्ते धर्म\nहिन्दी"));
  EXPECT_EQ(exports->shown.back().title, "Export Unicode Text");
  // The common dialog of the other commands is left alone.
  EXPECT_TRUE(dialog->shown.empty());
  exports->answers = {dir.filePath("missing/out.txt")};
  w->mnuFileExportUnicode_Click();
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_TRUE(shownMessages[0].text.contains("missing/out.txt"));
}

TEST_F(UnicodeTest, ExportPdfKeepsTheFormatting) {
  w->MainBox->setText("ueLrs /keZ\nfgUnh Hkkjr");
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(5);
  w->MainBox->setSelBold(true);
  w->MainBox->setSelFontSize(24);
  w->MainBox->setSelStart(11);
  w->MainBox->setSelLength(3);
  w->MainBox->setSelAlignment(RichTextField::kCenter);

  // The Unicode document carries the formats, in the Devanagari font.
  QTextDocument document;
  unicodeDocument(*w->MainBox->document(), document, devanagariFont());
  EXPECT_EQ(document.toPlainText(), QString::fromUtf8("नमस्ते धर्म\nहिन्दी भारत"));
  const QTextBlock first = document.begin();
  const QTextCharFormat bold = first.begin().fragment().charFormat();
  EXPECT_EQ(bold.fontWeight(), QFont::Bold);
  EXPECT_EQ(bold.fontPointSize(), 24);
  EXPECT_EQ(bold.fontFamilies().toStringList().value(0), devanagariFont());
  EXPECT_EQ(first.next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  // Only the runs in a glyph font convert, whatever the legacy font is called;
  // a run in any other font, installed or not, holds Unicode and stays.
  const struct {
    const char* family;
    const char* text;
  } runs[] = {{"DevLys 160 Bold", "नमस्ते धर्म"},
              {"devlys 160", "नमस्ते धर्म"},
              {"Kavelin Legacy Devanagari", "नमस्ते धर्म"},
              {"Noto Sans", "ueLrs /keZ"},
              {"No Such Font Kavelin", "ueLrs /keZ"}};
  for (const auto& r : runs) {
    QTextCursor run(w->MainBox->document());
    run.setPosition(10, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    setFormatFamily(format, r.family);  // as an RTF file's font is read
    run.setCharFormat(format);
    ASSERT_EQ(
        formatFamily(w->MainBox->document()->begin().begin().fragment().charFormat(), QFont()),
        r.family);
    QTextDocument converted;
    unicodeDocument(*w->MainBox->document(), converted, devanagariFont());
    EXPECT_EQ(converted.begin().text(), QString::fromUtf8(r.text)) << r.family;
    const bool glyphs = QString::fromUtf8(r.text) != "ueLrs /keZ";
    EXPECT_EQ(formatFamily(converted.begin().begin().fragment().charFormat(), QFont()),
              glyphs ? devanagariFont() : QString(r.family))
        << r.family;
  }
  // The first line in a Unicode font is kept in the PDF as it is.
  exports->answers = {dir.filePath("out.pdf")};
  w->action(Cmd::FileExportPdf)->trigger();
  ASSERT_TRUE(QFile::exists(dir.filePath("out.pdf")));
  EXPECT_TRUE(shownMessages.empty());
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  QProcess p;
  p.start(pdftotext, {dir.filePath("out.pdf"), "-"});
  p.waitForFinished();
  const QString text = QString::fromUtf8(p.readAllStandardOutput());
  for (const char* word : {"ueLrs", "/keZ", "हिन्दी", "भारत"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word << " in " << text.toStdString();
  }
}

}  // namespace
}  // namespace kavelin::test
