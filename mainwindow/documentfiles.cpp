// SPDX-License-Identifier: GPL-3.0-or-later
#include "documentfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QPrinter>
#include <QTextDocument>

#include "forms.h"
#include "pdfexport.h"
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

}  // namespace

RichTextOpen openRichTextFile(const QString& path, QTextDocument& document, QString* error) {
  bool opened = false;
  const std::optional<QByteArray> bytes = readWhole(path, &opened, error);
  if (!bytes) return opened ? RichTextOpen::kNotRead : RichTextOpen::kNotOpened;
  RichDocument rich;
  RtfNotes notes;
  if (!readRtf(std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())), rich,
               nullptr, &notes)) {
    return RichTextOpen::kInvalid;
  }
  fromRichDocument(rich, document);
  return notes.endedEarly ? RichTextOpen::kEndedEarly : RichTextOpen::kOpened;
}

bool saveRichTextFile(const QTextDocument& document, const QString& path, QString* error) {
  return saveFile(path, writeRtf(toRichDocument(document)), error);
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
