// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <map>

#include "forms.h"
#include "pdfexport.h"
#include "richdocs.h"
#include "richtextfield.h"
#include "rtfdocument.h"
#include "savefile.h"
#include "text.h"
#include "unicodetext.h"

namespace kavelin {
namespace {

// The whole file; nothing when it cannot be opened (`opened` false) or read.
std::optional<QByteArray> readWhole(const QString& path, bool* opened, QString* error) {
  QFile file(path);
  *opened = file.open(QIODevice::ReadOnly);
  if (!*opened) {
    if (error) *error = file.errorString();
    return std::nullopt;
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    if (error) *error = file.errorString();
    return std::nullopt;
  }
  return bytes;
}

// The document's blocks as the paragraphs toRichDocument gives, one at a time.
class BlockParagraphs : public documents::ParagraphSource {
 public:
  explicit BlockParagraphs(const QTextDocument& document)
      : document_(document), base_(document.defaultFont()), empty_(isEmptyDocument(document)) {}
  void rewind() override { block_ = empty_ ? QTextBlock() : document_.begin(); }
  const RichParagraph* next() override {
    if (!block_.isValid()) return nullptr;
    paragraph_ = paragraphOf(block_, base_, &formats_);
    block_ = block_.next();
    return &paragraph_;
  }

 private:
  const QTextDocument& document_;
  const QFont base_;
  const bool empty_;
  QTextBlock block_;
  RichParagraph paragraph_;
  std::map<int, RunFormat> formats_;  // by the document's format index
};

}  // namespace

RichTextOpen openRichTextFile(const QString& path, QTextDocument& document, QString* error,
                              std::uint32_t* dropped) {
  if (dropped) *dropped = 0;
  bool opened = false;
  const std::optional<QByteArray> bytes = readWhole(path, &opened, error);
  if (!bytes) return opened ? RichTextOpen::kNotRead : RichTextOpen::kNotOpened;
  const std::string_view view(bytes->constData(), static_cast<std::size_t>(bytes->size()));
  RichDocument rich;
  documents::ReadNotes notes;
  std::string why;
  switch (documents::richFormatOf(view)) {
    case documents::RichFormat::kDocx:
    case documents::RichFormat::kOdt: {
      const bool docx = documents::richFormatOf(view) == documents::RichFormat::kDocx;
      const auto read = [docx, view](const documents::ParagraphSink& sink,
                                     documents::ReadNotes* readNotes, std::string* readError) {
        return docx ? documents::readDocxParagraphs(view, sink, readNotes, readError)
                    : documents::readOdtParagraphs(view, sink, readNotes, readError);
      };
      // Checked first, so that a damaged file leaves the document as it was,
      // then read straight into the document: the model of the whole text is
      // never held.
      if (!read(nullptr, nullptr, &why)) {
        if (error) *error = QString::fromStdString(why);
        return RichTextOpen::kDamaged;
      }
      RichDocumentFill fill(document);
      read([&fill](RichParagraph&& paragraph) { fill.add(paragraph); }, &notes, nullptr);
      if (dropped) *dropped = notes.dropped;
      return RichTextOpen::kOpened;
    }
    case documents::RichFormat::kRtf:
    case documents::RichFormat::kUnknown: {
      RtfNotes rtfNotes;
      if (!readRtf(view, rich, nullptr, &rtfNotes)) return RichTextOpen::kInvalid;
      fromRichDocument(rich, document);
      return rtfNotes.endedEarly ? RichTextOpen::kEndedEarly : RichTextOpen::kOpened;
    }
  }
  return RichTextOpen::kOpened;
}

bool saveRichTextFile(const QTextDocument& document, const QString& path, QString* error) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("docx") && suffix != QLatin1String("odt")) {
    return saveFile(path, writeRtf(toRichDocument(document)), error);
  }
  std::string bytes, why;
  BlockParagraphs paragraphs(document);
  const bool made = suffix == QLatin1String("docx") ? documents::writeDocx(paragraphs, bytes, &why)
                                                    : documents::writeOdt(paragraphs, bytes, &why);
  if (!made) {
    if (error) *error = QString::fromStdString(why);
    return false;
  }
  return saveFile(path, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())), error);
}

QString droppedDescription(std::uint32_t dropped) {
  auto tr = [](const char* s) { return QCoreApplication::translate("kavelin::frmMain", s); };
  const std::pair<std::uint32_t, const char*> kinds[] = {
      {documents::kDroppedImages, QT_TRANSLATE_NOOP("kavelin::frmMain", "pictures and drawings")},
      {documents::kDroppedTextBoxes,
       QT_TRANSLATE_NOOP("kavelin::frmMain", "text boxes and their text")},
      {documents::kDroppedHeadersFooters,
       QT_TRANSLATE_NOOP("kavelin::frmMain", "headers and footers")},
      {documents::kDroppedNotes, QT_TRANSLATE_NOOP("kavelin::frmMain", "footnotes and endnotes")},
      {documents::kDroppedComments, QT_TRANSLATE_NOOP("kavelin::frmMain", "comments")},
      {documents::kDroppedFields,
       QT_TRANSLATE_NOOP(
           "kavelin::frmMain",
           "fields (page numbers, dates and the like: the text they showed is kept)")},
      {documents::kDroppedDeletions,
       QT_TRANSLATE_NOOP("kavelin::frmMain", "tracked deletions (the deleted text)")},
  };
  QStringList lines;
  for (const auto& [flag, text] : kinds) {
    if (dropped & flag) lines << QStringLiteral("\u2022 ") + tr(text);
  }
  return lines.join(u'\n');
}

bool exportUnicodeFile(const QTextDocument& glyphs, const QString& path, QString* error) {
  return saveFile(path, unicodeText(glyphs, 0, glyphs.characterCount() - 1).toUtf8(), error);
}

bool exportPdfFile(const QTextDocument& glyphs, const QString& path, QString* error) {
  QTextDocument document;
  unicodeDocument(glyphs, document, devanagariFont());
  return writePdf(document, path, PdfPage(), error);
}

std::optional<QString> readUnicodeFile(const QString& path, bool* decoded, QString* error) {
  bool opened = false;
  *decoded = true;
  const std::optional<QByteArray> bytes = readWhole(path, &opened, error);
  if (!bytes) return std::nullopt;
  std::u16string text;
  Utf8Error bad;
  if (!decodeUtf8(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())),
                  text, &bad)) {
    *decoded = false;
    if (error) {
      *error =
          QCoreApplication::translate("kavelin::frmMain", "It is not UTF-8 text (byte offset %1).")
              .arg(bad.offset);
    }
    return std::nullopt;
  }
  return qstr(text);
}

bool printBox(const RichTextField& box, QPrinter& printer) {
  box.printSelection(&printer);
  return printer.printerState() != QPrinter::Error;
}

}  // namespace kavelin
