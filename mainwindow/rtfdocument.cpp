// SPDX-License-Identifier: GPL-3.0-or-later
#include "rtfdocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "forms.h"
#include "richformat.h"
#include "richtextfield.h"

namespace kavelin {
RichParagraph paragraphOf(const QTextBlock& block, const QFont& base,
                          std::map<int, RunFormat>* formats) {
  RichParagraph paragraph;
  paragraph.align = alignOf(block.blockFormat().alignment());
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    RunFormat format;
    if (formats) {
      const auto [known, added] = formats->try_emplace(fragment.charFormatIndex());
      if (added) known->second = effectiveFormat(fragment.charFormat(), base);
      format = known->second;
    } else {
      format = effectiveFormat(fragment.charFormat(), base);
    }
    paragraph.runs.push_back(RichRun{ustr(fragment.text()), std::move(format)});
  }
  mergeRuns(paragraph);
  return paragraph;
}

bool isEmptyDocument(const QTextDocument& document) {
  const QTextBlock first = document.begin();
  return document.blockCount() == 1 && first.length() == 1 &&
         alignOf(first.blockFormat().alignment()) == Align::Left;
}

RichDocument toRichDocument(const QTextDocument& document) {
  RichDocument rich;
  if (isEmptyDocument(document)) return rich;
  const QFont base = document.defaultFont();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    rich.paragraphs.push_back(paragraphOf(block, base));
  }
  return rich;
}

void fromRichDocument(const RichDocument& rich, QTextDocument& document) {
  RichDocumentFill fill(document);
  for (const RichParagraph& paragraph : rich.paragraphs) fill.add(paragraph);
}

void RichDocumentFill::add(const RichParagraph& paragraph) {
  QTextCursor& cursor = edit_.cursor();
  QTextBlockFormat block;
  block.setAlignment(qtAlignment(paragraph.align));
  if (first_) {
    cursor.setBlockFormat(block);
    first_ = false;
  } else {
    cursor.insertBlock(block, QTextCharFormat());
  }
  for (const RichRun& run : paragraph.runs) cursor.insertText(qstr(run.text), format(run.format));
}

const QTextCharFormat& RichDocumentFill::format(const RunFormat& run) {
  for (auto it = formats_.rbegin(); it != formats_.rend(); ++it) {
    if (it->first == run) return it->second;
  }
  constexpr std::size_t kKept = 32;
  if (formats_.size() == kKept) formats_.erase(formats_.begin());
  formats_.emplace_back(run, charFormat(run));
  return formats_.back().second;
}

}  // namespace kavelin
