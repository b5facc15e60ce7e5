// SPDX-License-Identifier: GPL-3.0-or-later
// The file side of the document commands: the Editing Box's document opened
// from and saved to RTF, DOCX and ODT, exported as Unicode text and as PDF, printed, and
// Unicode text read for import. Each says why when it fails; what to tell the
// user is the command's business.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QPrinter;
class QTextDocument;

namespace kavelin {

class RichTextField;

enum class RichTextOpen {
  kOpened,
  kEndedEarly,  // opened as far as the file went: it was cut off
  kNotOpened,   // the file could not be opened
  kNotRead,     // the file could not be read
  kDamaged,     // a DOCX or ODT package that cannot be read: `error` says why
  kInvalid,     // no RTF, DOCX or ODT: the document is left as it was
};
// Opens the file in the format its content shows. `dropped` (documents::Dropped
// flags) tells what the Editing Box could not take.
RichTextOpen openRichTextFile(const QString& path, QTextDocument& document, QString* error,
                              std::uint32_t* dropped = nullptr);
// Saves in the format of the name's extension: .docx, .odt, else RTF.
bool saveRichTextFile(const QTextDocument& document, const QString& path, QString* error);

// What an open dropped, for the user: one line each, or empty (the tables'
// layout is left out: it goes to the status bar).
QString droppedDescription(std::uint32_t dropped);

// The document converted to Unicode (its runs in the legacy font; the others
// hold Unicode already), as UTF-8 text and as PDF.
bool exportUnicodeFile(const QTextDocument& glyphs, const QString& path, QString* error);
bool exportPdfFile(const QTextDocument& glyphs, const QString& path, QString* error);

// A UTF-8 text file's text; nothing when it cannot be opened or read, or
// (`decoded` false) holds no UTF-8 text: `error` says why, with the byte offset
// of the first bad sequence.
std::optional<QString> readUnicodeFile(const QString& path, bool* decoded, QString* error);

// Prints the box's selection, or all of it; false when the printer failed.
bool printBox(const RichTextField& box, QPrinter& printer);

}  // namespace kavelin
