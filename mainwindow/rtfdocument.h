// SPDX-License-Identifier: GPL-3.0-or-later
// The Editing Box's content and the rich-text model of the RTF reader and
// writer: paragraphs with their alignment, runs with font, size, bold, italic
// and underline.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "richtextfield.h"
#include "rtf.h"

class QTextBlock;
class QTextDocument;

namespace kavelin {

RichDocument toRichDocument(const QTextDocument& document);
// What toRichDocument makes of one block (runs without a font given `base`);
// `formats`, when given, keeps the formats made by the document's format
// index for the next blocks.
RichParagraph paragraphOf(const QTextBlock& block, const QFont& base,
                          std::map<int, RunFormat>* formats = nullptr);
// A document of one empty block, left-aligned: toRichDocument gives no
// paragraphs for it.
bool isEmptyDocument(const QTextDocument& document);

// Replaces the document's content. Runs without a font take the document's
// default font.
void fromRichDocument(const RichDocument& rich, QTextDocument& document);

// The same a paragraph at a time, in one edit of the document: its content is
// replaced when this is made, and each add() appends a paragraph.
class RichDocumentFill {
 public:
  explicit RichDocumentFill(QTextDocument& document) : edit_(document, DocumentEdit::kReplace) {}
  void add(const RichParagraph& paragraph);

 private:
  const QTextCharFormat& format(const RunFormat& run);

  DocumentEdit edit_;
  bool first_ = true;
  // The character formats made, the latest last: a document uses few.
  std::vector<std::pair<RunFormat, QTextCharFormat>> formats_;
};

}  // namespace kavelin
