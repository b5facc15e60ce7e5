// SPDX-License-Identifier: GPL-3.0-or-later
// The Editing Box's rich-text model read from and written as DOCX and ODT.
//
// Reading keeps what the model holds: paragraphs and their alignment, runs
// with font, size, bold, italic, underline and colour. Line, page and column
// breaks end a paragraph (the next one takes the same alignment); a table
// becomes a paragraph per row, its cells split by tabs. Images, drawings,
// text boxes, headers and footers, notes, comments and deleted text are
// dropped; fields keep the text they show. What was dropped is reported.
//
// Text is held as in the model: glyph strings of the legacy fonts as the
// Windows-1252 characters of their codes (a DOCX w:sym in U+F020..U+F0FF is
// read as its code), Unicode text as it is.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "package.h"
#include "rtf.h"

namespace kavelin::documents {

enum class RichFormat { kUnknown, kRtf, kDocx, kOdt };

// The format of a file by its content: a zip package holding
// word/document.xml (DOCX) or a mimetype entry naming an ODF text document
// (ODT), or "{\rtf" after optional white space and byte-order mark (RTF).
RichFormat richFormatOf(std::string_view bytes);

// What a read left out, as flags.
enum Dropped : std::uint32_t {
  kDroppedImages = 1u << 0,          // pictures, drawings, charts, objects
  kDroppedTextBoxes = 1u << 1,       // text boxes and frames with their text
  kDroppedHeadersFooters = 1u << 2,  // headers and footers
  kDroppedNotes = 1u << 3,           // footnotes and endnotes
  kDroppedComments = 1u << 4,        // comments (annotations)
  kDroppedFields = 1u << 5,          // field codes; their shown text is kept
  kDroppedDeletions = 1u << 6,       // tracked deletions (insertions are kept)
  kDroppedLayout = 1u << 7,          // tables' layout: their cells are kept as tab-separated text
};

struct ReadNotes {
  std::uint32_t dropped = 0;  // Dropped flags
};

// Each reads the package in `bytes` into `out`; on failure returns false, sets
// `error` and leaves `out` as it was.
bool readDocx(std::string_view bytes, RichDocument& out, ReadNotes* notes, std::string* error,
              const PackageLimits& limits = {});
bool readOdt(std::string_view bytes, RichDocument& out, ReadNotes* notes, std::string* error,
             const PackageLimits& limits = {});

// The same in one pass over the document's text, never held whole: each
// paragraph goes to `sink` as it is read. A read that fails may have handed
// over the paragraphs before the fault; one that succeeded gives the same
// paragraphs on every run. An empty sink only checks the package: the
// result, and the error, are those of a full read, without paragraphs or
// notes.
using ParagraphSink = std::function<void(RichParagraph&&)>;
bool readDocxParagraphs(std::string_view bytes, const ParagraphSink& sink, ReadNotes* notes,
                        std::string* error, const PackageLimits& limits = {});
bool readOdtParagraphs(std::string_view bytes, const ParagraphSink& sink, ReadNotes* notes,
                       std::string* error, const PackageLimits& limits = {});

// The document as a DOCX or ODT package in `out`. Runs keep their fonts in
// every script slot; sizes are kept to the half point in DOCX, exactly in
// ODT; a line separator (U+2028) is written as a line break, which reads back
// as a paragraph end. False with `error` set when the package could not be made.
bool writeDocx(const RichDocument& doc, std::string& out, std::string* error);
bool writeOdt(const RichDocument& doc, std::string& out, std::string* error);

// The paragraphs of a document to write, in order, as often as a writer goes
// through them (a pass for the fonts and formats, then the text).
class ParagraphSource {
 public:
  virtual ~ParagraphSource() = default;
  virtual void rewind() = 0;
  // The next paragraph, valid until the next call; nullptr after the last.
  virtual const RichParagraph* next() = 0;
};

// The same from a source, the document's text made as the package is
// written: neither the model of the whole text nor its XML is held.
bool writeDocx(ParagraphSource& doc, std::string& out, std::string* error);
bool writeOdt(ParagraphSource& doc, std::string& out, std::string* error);

// A document's paragraphs as a source.
class DocumentParagraphs : public ParagraphSource {
 public:
  explicit DocumentParagraphs(const RichDocument& doc) : doc_(doc) {}
  void rewind() override { at_ = 0; }
  const RichParagraph* next() override {
    return at_ < doc_.paragraphs.size() ? &doc_.paragraphs[at_++] : nullptr;
  }

 private:
  const RichDocument& doc_;
  std::size_t at_ = 0;
};

}  // namespace kavelin::documents
