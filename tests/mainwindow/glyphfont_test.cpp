// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled glyph font standing in for "DevLys 160": which family draws the
// Hindi box, the chart and the Editing Box, what documents keep, what the
// printout embeds and what the About window says.
#include "glyphfont.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QProcess>
#include <QRawFont>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include "fixtures.h"
#include "frmabout.h"

namespace kavelin::test {
namespace {

bool legacyFontInstalled() {
  return QFontDatabase::families().contains(kGlyphFontName, Qt::CaseInsensitive);
}

// The family that draws the character at `pos` of a rich-text field.
QString familyAt(RichTextField* box, int pos) {
  QTextCursor cursor(box->document());
  cursor.setPosition(pos + 1);
  return QFontInfo(cursor.charFormat().font()).family();
}

TEST(GlyphFont, BundledFamilyStandsInForTheLegacyNames) {
  if (legacyFontInstalled()) {
    // The installed font wins, and nothing is substituted for it.
    EXPECT_EQ(glyphFontFamily(), kGlyphFontName);
    EXPECT_TRUE(QFont::substitutes(kGlyphFontName).isEmpty());
    return;
  }
  EXPECT_EQ(glyphFontFamily(), kBundledGlyphFont);
  EXPECT_EQ(QFontInfo(QFont(kGlyphFontName)).family(), kBundledGlyphFont);
  EXPECT_EQ(QFontInfo(QFont(kGlyphFontBoldName)).family(), kBundledGlyphFont);
  // The substitution does not touch other names.
  EXPECT_NE(QFontInfo(QFont("DejaVu Sans")).family(), kBundledGlyphFont);
  installGlyphFont();  // a second call changes nothing
  const QStringList substitutes = QFont::substitutes(kGlyphFontName);
  ASSERT_EQ(substitutes.size(), 1);
  EXPECT_EQ(substitutes[0].compare(kBundledGlyphFont, Qt::CaseInsensitive), 0);
}

// Qt checks a font's OpenType script tags before it lays out Devanagari in it,
// and warns on standard error when they are missing; Unicode Devanagari in a
// glyph-font field then still shows, from a fallback font.
QStringList fontWarnings;
void recordFontWarning(QtMsgType, const QMessageLogContext&, const QString& message) {
  fontWarnings << message;
}

TEST(GlyphFont, DevanagariInTheGlyphFontRaisesNoWarning) {
  fontWarnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(recordFontWarning);
  for (const char* family : {"DevLys 160", "DevLys 160 Bold", "Kavelin Legacy Devanagari"}) {
    QFont font{QString::fromLatin1(family)};
    font.setPointSize(17);  // an engine of its own, not one cached by other tests
    for (const QString& text : {QStringLiteral("ueLrs"), QStringLiteral("नमस्ते भारत")}) {
      QTextLayout layout(text, font);
      layout.beginLayout();
      layout.createLine();
      layout.endLayout();
      EXPECT_GT(layout.boundingRect().width(), 0) << family;
    }
  }
  qInstallMessageHandler(previous);
  EXPECT_TRUE(fontWarnings.filter("OpenType").isEmpty()) << fontWarnings.join('\n').toStdString();
}

// Bold is its own file, so Qt does not thicken the regular outlines.
TEST(GlyphFont, BothWeightsAreRegistered) {
  const QStringList styles = QFontDatabase::styles(kBundledGlyphFont);
  EXPECT_TRUE(styles.contains("Regular")) << styles.join(",").toStdString();
  EXPECT_TRUE(styles.contains("Bold")) << styles.join(",").toStdString();
  struct Case {
    bool bold;
    const char* style;
    int weight;
  } cases[] = {{false, "Regular", 400}, {true, "Bold", 700}};
  for (const Case& c : cases) {
    QFont font(kBundledGlyphFont);
    font.setBold(c.bold);
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    EXPECT_EQ(raw.familyName(), kBundledGlyphFont);
    EXPECT_EQ(raw.styleName(), c.style);
    EXPECT_EQ(raw.weight(), c.weight);
    // Every code the engine writes has a glyph: namaste, and code 0x93.
    for (QChar ch : QString("ueLrs\u201C")) EXPECT_TRUE(raw.supportsCharacter(ch)) << ch.unicode();
  }
}

class GlyphFontWindow : public WindowTest {};

TEST_F(GlyphFontWindow, HindiBoxChartAndEditingBoxUseIt) {
  if (legacyFontInstalled()) GTEST_SKIP() << "\"DevLys 160\" is installed";
  type("namaste dharma");
  ASSERT_EQ(w->RTB1->text(), hindiOf("namaste dharma"));
  for (int pos : {0, 3, 6}) EXPECT_EQ(familyAt(w->RTB1, pos), kBundledGlyphFont) << pos;

  // The chart's glyph cells name the font of the font selector.
  bool sawGlyphCell = false;
  for (GridView* grid : {w->Grid1, w->Grid2}) {
    for (int r = 0; r < grid->rowCount(); ++r) {
      for (int c = 0; c < grid->columnCount(); ++c) {
        const QTableWidgetItem* item = grid->item(r, c);
        if (!item || item->text().isEmpty() || item->font().family() != kGlyphFontName) continue;
        sawGlyphCell = true;
        EXPECT_EQ(QFontInfo(item->font()).family(), kBundledGlyphFont);
      }
    }
  }
  EXPECT_TRUE(sawGlyphCell);

  w->Command7_Click();  // Send All
  ASSERT_EQ(w->MainBox->text().trimmed(), hindiOf("namaste dharma").trimmed());
  EXPECT_EQ(w->MainBox->selFontName(), std::optional<QString>(kGlyphFontName));
  for (int pos : {0, 7}) EXPECT_EQ(familyAt(w->MainBox, pos), kBundledGlyphFont) << pos;
  // Bold text takes the bold file.
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(5);
  w->MainBox->setSelBold(true);
  QTextCursor cursor(w->MainBox->document());
  cursor.setPosition(1);
  EXPECT_EQ(QRawFont::fromFont(cursor.charFormat().font()).styleName(), "Bold");
}

// Documents name the legacy font, never the stand-in.
TEST_F(GlyphFontWindow, RichTextKeepsTheLegacyName) {
  w->MainBox->setText("ueLrs /keZ");
  dialog->answers = {dir.filePath("doc.rtf")};
  w->Command12->click();
  const QByteArray rtf = readFile("doc.rtf");
  EXPECT_TRUE(rtf.contains("DevLys 160")) << rtf.toStdString();
  EXPECT_FALSE(rtf.contains("Kavelin Legacy")) << rtf.toStdString();
  w->Command14_Click();
  dialog->answers = {dir.filePath("doc.rtf")};
  w->Command13->click();
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(5);
  EXPECT_EQ(w->MainBox->selFontName(), std::optional<QString>(kGlyphFontName));
}

TEST_F(GlyphFontWindow, PrintoutEmbedsTheFont) {
  if (legacyFontInstalled()) GTEST_SKIP() << "\"DevLys 160\" is installed";
  const QString pdffonts = QStandardPaths::findExecutable("pdffonts");
  if (pdffonts.isEmpty()) GTEST_SKIP() << "pdffonts is not installed";
  // The sample text, its first line bold; the printout is kept in the build
  // tree to be looked at.
  QFile corpus(KAVELIN_CORPUS);
  ASSERT_TRUE(corpus.open(QIODevice::ReadOnly));
  const QString english = QString::fromUtf8(corpus.readAll());
  const QString hindi = hindiOf(english);
  w->MainBox->setText(hindi);
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(static_cast<int>(hindi.indexOf('\n')));
  w->MainBox->setSelBold(true);
  w->MainBox->setSelLength(0);  // the whole box, not the selection
  QDir().mkpath(KAVELIN_ARTEFACTS);
  dialog->pdf = QString(KAVELIN_ARTEFACTS) + "/printout.pdf";
  QFile::remove(dialog->pdf);
  w->Command6->click();
  ASSERT_TRUE(QFile::exists(dialog->pdf));
  QProcess p;
  p.start(pdffonts, {dialog->pdf});
  p.waitForFinished();
  const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
  // name type encoding emb sub uni object ID
  QStringList embedded;
  for (const QString& line : lines) {
    const QStringList cols = line.simplified().split(' ');
    if (line.contains("KavelinLegacyDevanagari") && cols.size() >= 5 &&
        cols.at(cols.size() - 5) == "yes") {
      embedded << cols.at(0);
    }
  }
  EXPECT_EQ(embedded.size(), 2) << lines.join('\n').toStdString();
  EXPECT_TRUE(embedded.join(' ').contains("Regular")) << embedded.join(' ').toStdString();
  EXPECT_TRUE(embedded.join(' ').contains("Bold")) << embedded.join(' ').toStdString();
}

// Export PDF writes Unicode in a Devanagari font, embedded, whatever draws the
// glyph codes on screen.
TEST_F(GlyphFontWindow, ExportedPdfEmbedsADevanagariFont) {
  const QString pdffonts = QStandardPaths::findExecutable("pdffonts");
  if (pdffonts.isEmpty()) GTEST_SKIP() << "pdffonts is not installed";
  platform.script(w->exportDialog()).answers = {dir.filePath("export.pdf")};
  w->MainBox->setText(hindiOf("namaste dharma vidyaarthii"));
  w->action(Cmd::FileExportPdf)->trigger();
  ASSERT_TRUE(QFile::exists(dir.filePath("export.pdf")));
  QProcess p;
  p.start(pdffonts, {dir.filePath("export.pdf")});
  p.waitForFinished();
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  bool embedded = false;
  for (const QString& line : out.split('\n')) {
    const QStringList cols = line.simplified().split(' ');
    if (line.contains("Devanagari") && cols.size() >= 5 && cols.at(cols.size() - 5) == "yes")
      embedded = true;
  }
  EXPECT_TRUE(embedded) << out.toStdString();
  EXPECT_FALSE(out.contains("KavelinLegacy")) << out.toStdString();
}

TEST(GlyphFont, AboutNamesTheFontThatDrawsTheHindi) {
  FakePlatform platform;
  frmAbout about(platform);
  about.Form_Load();
  ASSERT_NE(about.lblFont, nullptr);
  if (legacyFontInstalled()) {
    EXPECT_TRUE(about.lblFont->text().contains("installed font \"DevLys 160\""));
  } else {
    EXPECT_EQ(about.lblFont->text(),
              "Hindi is shown in the bundled font \"Kavelin Legacy Devanagari\" (SIL Open Font "
              "License 1.1), since \"DevLys 160\" is not installed.");
  }
  EXPECT_TRUE(about.lblFont->wordWrap());
  EXPECT_LE(about.lblFont->geometry().bottom(), about.cmdSysInfo->geometry().bottom());
  EXPECT_LE(about.lblFont->geometry().right(), about.cmdOK->geometry().left());
}

}  // namespace
}  // namespace kavelin::test
