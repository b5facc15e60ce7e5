// SPDX-License-Identifier: GPL-3.0-or-later
// The Editing Box's Open and Save with DOCX and ODT: the format by content on
// opening and by extension on saving, the suffix of the chosen filter, the
// title and modified mark, nothing to undo after an open, and what an open
// could not take.
#include <QLabel>
#include <QTextDocument>

#include "fixtures.h"
#include "package.h"
#include "richdocs.h"
#include "rtfdocument.h"
#include "statusbar.h"

namespace kavelin::test {
namespace {

using OfficeDocsTest = WindowTest;

RunFormat format(const char16_t* font, double size, bool b = false, bool i = false,
                 bool u = false) {
  return RunFormat{font, size, b, i, u};
}

// Hindi in the legacy font, Unicode Devanagari and English in other fonts, in
// each alignment.
RichDocument letter() {
  RunFormat red = format(u"DejaVu Sans", 11, false, false, true);
  red.color = 0xAA0000;
  RichDocument d;
  d.paragraphs.push_back({Align::Center,
                          {{u"ueLrs ", format(u"DevLys 160", 20, true)},
                           {u"/keZ", format(u"DevLys 160", 20, true, true)}}});
  d.paragraphs.push_back({Align::Left, {}});
  d.paragraphs.push_back(
      {Align::Right,
       {{u"\u0928\u092E\u0938\u094D\u0924\u0947", format(u"Noto Sans Devanagari", 14.5)},
        {u" and  English\t", red}}});
  d.paragraphs.push_back(
      {Align::Left, {{u"vfUre", format(u"DevLys 160", 12, false, false, true)}}});
  return d;
}

std::string packageOf(const std::vector<std::pair<std::string, std::string>>& entries) {
  documents::Package package;
  for (const auto& [name, bytes] : entries) package.add(name, bytes);
  std::string out;
  EXPECT_TRUE(package.save(out, nullptr));
  return out;
}

class OfficeRoundTrip : public OfficeDocsTest, public testing::WithParamInterface<const char*> {};

TEST_P(OfficeRoundTrip, SavedAndOpenedAgainExactly) {
  const QString name = QStringLiteral("letter.") + GetParam();
  fromRichDocument(letter(), *w->MainBox->document());
  const RichDocument before = toRichDocument(*w->MainBox->document());
  ASSERT_EQ(before, letter());
  EXPECT_TRUE(w->isWindowModified());

  dialog->answers = {dir.filePath(name)};
  w->Command12->click();
  EXPECT_TRUE(shownMessages.empty());
  EXPECT_TRUE(readFile(name).startsWith("PK\x03\x04"));
  EXPECT_FALSE(w->isWindowModified());
  EXPECT_EQ(w->windowTitle(), name + "[*] - Kavelin");

  w->Command14_Click();
  EXPECT_EQ(w->windowTitle(), "Kavelin[*]");
  dialog->answers = {dir.filePath(name)};
  w->Command13->click();
  EXPECT_TRUE(shownMessages.empty());
  EXPECT_EQ(toRichDocument(*w->MainBox->document()), before);
  EXPECT_EQ(w->windowTitle(), name + "[*] - Kavelin");
  EXPECT_FALSE(w->isWindowModified());
  // Opening is no step of undo (and keeps no history of the text it built).
  EXPECT_FALSE(w->MainBox->document()->isUndoAvailable());

  // Save writes the same file in its own format again.
  w->MainBox->setSelStart(0);
  w->MainBox->setSelLength(0);
  QTest::keyClicks(w->MainBox, "x");
  EXPECT_TRUE(w->isWindowModified());
  w->Command12->click();
  EXPECT_FALSE(w->isWindowModified());
  const QByteArray bytes = readFile(name);
  RichDocument again;
  std::string error;
  const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  ASSERT_TRUE(QString(GetParam()) == "docx" ? documents::readDocx(view, again, nullptr, &error)
                                            : documents::readOdt(view, again, nullptr, &error))
      << error;
  ASSERT_FALSE(again.paragraphs.empty());
  EXPECT_EQ(again.paragraphs[0].runs[0].text, u"xueLrs ");
  // What was typed is the only step of undo.
  w->MainBox->undo();
  EXPECT_EQ(toRichDocument(*w->MainBox->document()), before);
  EXPECT_FALSE(w->MainBox->document()->isUndoAvailable());
}

INSTANTIATE_TEST_SUITE_P(Formats, OfficeRoundTrip, testing::Values("docx", "odt"));

TEST_F(OfficeDocsTest, NameWithoutSuffixTakesTheChosenFiltersFormat) {
  const struct {
    int filter;  // 0: the one proposed
    const char* file;
    documents::RichFormat format;
  } cases[] = {{0, "plain.rtf", documents::RichFormat::kRtf},
               {2, "word.docx", documents::RichFormat::kDocx},
               {3, "open.odt", documents::RichFormat::kOdt},
               {1, "typed.odt", documents::RichFormat::kOdt}};  // a typed suffix wins
  for (const auto& c : cases) {
    w->MainBox->setText("ueLrs");
    const QString typed =
        QString(c.file).startsWith("typed") ? QString(c.file) : QString(c.file).section('.', 0, 0);
    dialog->answers = {dir.filePath(typed)};
    if (c.filter) dialog->filters = {c.filter};
    w->mnuFileSaveEditingBoxAs_Click();
    EXPECT_EQ(w->documentPath(), dir.filePath(c.file)) << c.file;
    const QByteArray bytes = readFile(c.file);
    EXPECT_EQ(documents::richFormatOf(std::string_view(bytes.constData(), bytes.size())), c.format)
        << c.file;
  }
  // Save As proposes the filter of the document's own format.
  dialog->answers = {};
  w->mnuFileSaveEditingBoxAs_Click();
  EXPECT_EQ(dialog->shown.back().filterIndex, 3);
  EXPECT_EQ(dialog->shown.back().fileName, dir.filePath("typed.odt"));
}

TEST_F(OfficeDocsTest, OpenTellsWhatWasLeftOut) {
  const char* const w14 =
      "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
  writeFile("report.docx",
            QByteArray::fromStdString(packageOf(
                {{"word/document.xml",
                  std::string("<w:document ") + w14 +
                      "><w:body><w:p><w:r><w:t>top</w:t><w:drawing/></w:r><w:r>"
                      "<w:footnoteReference w:id=\"1\"/></w:r></w:p><w:tbl><w:tr><w:tc><w:p><w:r>"
                      "<w:t>a</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>b</w:t></w:r></w:p>"
                      "</w:tc></w:tr></w:tbl></w:body></w:document>"}})));
  dialog->answers = {dir.filePath("report.docx")};
  w->Command13->click();
  EXPECT_EQ(w->MainBox->text(), "top\na\tb");
  ASSERT_EQ(shownMessages.size(), 1u);
  const QString text = shownMessages[0].text;
  EXPECT_TRUE(text.contains(dir.filePath("report.docx"))) << text.toStdString();
  EXPECT_TRUE(text.contains("pictures and drawings")) << text.toStdString();
  EXPECT_TRUE(text.contains("footnotes and endnotes")) << text.toStdString();
  EXPECT_FALSE(text.contains("headers")) << text.toStdString();
  EXPECT_TRUE(w->sbStatusBar->panel(0)->text().contains("Table layout was not kept"))
      << w->sbStatusBar->panel(0)->text().toStdString();
  EXPECT_EQ(w->windowTitle(), "report.docx[*] - Kavelin");
}

TEST_F(OfficeDocsTest, ContentNotNameDecidesTheFormatAndDamageIsReported) {
  w->MainBox->setText("before");
  w->MainBox->document()->setModified(false);
  // RTF under a .docx name opens as RTF; a DOCX under .rtf as DOCX.
  writeFile("rtf.docx", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 from rtf\\par}");
  std::string docx;
  ASSERT_TRUE(
      documents::writeDocx(RichDocument{{{Align::Left, {{u"from docx", {}}}}}}, docx, nullptr));
  writeFile("docx.rtf", QByteArray::fromStdString(docx));
  for (const auto& [file, text] : {std::pair{"rtf.docx", "from rtf"}, {"docx.rtf", "from docx"}}) {
    dialog->answers = {dir.filePath(file)};
    w->Command13->click();
    EXPECT_EQ(w->MainBox->text(), text) << file;
  }
  EXPECT_TRUE(shownMessages.empty());

  // A package that cannot be read: which file and why; nothing changes.
  writeFile("bad.odt", QByteArray::fromStdString(
                           packageOf({{"mimetype", "application/vnd.oasis.opendocument.text"},
                                      {"content.xml", "<office:document-content>"}})));
  dialog->answers = {dir.filePath("bad.odt")};
  w->Command13->click();
  EXPECT_EQ(w->MainBox->text(), "from docx");
  EXPECT_EQ(w->windowTitle(), "docx.rtf[*] - Kavelin");
  ASSERT_EQ(shownMessages.size(), 1u);
  EXPECT_EQ(shownMessages[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(shownMessages[0].text.startsWith("Could not read " + dir.filePath("bad.odt")))
      << shownMessages[0].text.toStdString();
  EXPECT_TRUE(shownMessages[0].text.contains("content.xml: malformed XML"))
      << shownMessages[0].text.toStdString();

  // Damage after paragraphs that read well: the box keeps what it had.
  writeFile("cut.docx",
            QByteArray::fromStdString(packageOf(
                {{"word/document.xml",
                  "<w:document><w:body><w:p><w:r><w:t>read</w:t></w:r></w:p><w:p><w:r>"}})));
  dialog->answers = {dir.filePath("cut.docx")};
  w->Command13->click();
  EXPECT_EQ(w->MainBox->text(), "from docx");
  ASSERT_EQ(shownMessages.size(), 2u);
  EXPECT_TRUE(shownMessages[1].text.contains("word/document.xml: malformed XML"))
      << shownMessages[1].text.toStdString();
}

}  // namespace
}  // namespace kavelin::test
