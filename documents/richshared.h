// SPDX-License-Identifier: GPL-3.0-or-later
// What the DOCX and ODT readers and writers of the rich-text model share.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "richdocs.h"
#include "xml.h"

namespace kavelin::documents::rich {

// Devanagari and its extensions, which word processors show in the font of
// complex scripts.
inline bool isComplexScript(char16_t c) {
  return (c >= 0x0900 && c <= 0x097F) || (c >= 0xA8E0 && c <= 0xA8FF) ||
         (c >= 0x1CD0 && c <= 0x1CFF);
}

// Appends `text` as UTF-8 XML character data (also fit for an attribute in
// double quotes); characters XML cannot hold become U+FFFD.
void appendEscaped(std::string& out, std::u16string_view text);
void appendEscaped(std::string& out, std::string_view utf8);

// A number as short as it reads back exactly ("12", "10.5").
std::string number(double value);

// "RRGGBB" (any case) as 0xRRGGBB, or kAutoColor.
std::int32_t parseHexColor(std::string_view hex);
// 0xRRGGBB as six lower-case hex digits.
std::string hexColor(std::int32_t color);

// The text of an element's text children, decoded; false when it is not UTF-8.
std::u16string textOf(const XmlNode& node);

// A part written from a document's paragraphs: a head, each paragraph's XML
// as `paragraph` appends it, and a tail.
class ParagraphsPart : public PartSource {
 public:
  using Writer = std::function<void(std::string&, const RichParagraph&)>;
  ParagraphsPart(ParagraphSource& doc, std::string head, std::string tail, Writer paragraph)
      : doc_(doc),
        head_(std::move(head)),
        tail_(std::move(tail)),
        paragraph_(std::move(paragraph)) {}

  void start() override {
    doc_.rewind();
    headDone_ = false;
  }
  bool next(std::string& out) override {
    if (!headDone_) {
      headDone_ = true;
      out += head_;
      return true;
    }
    if (const RichParagraph* p = doc_.next()) {
      paragraph_(out, *p);
      return true;
    }
    out += tail_;
    return false;
  }

 private:
  ParagraphSource& doc_;
  std::string head_, tail_;
  Writer paragraph_;
  bool headDone_ = false;
};

// The whole document a reader of paragraphs reads; `out` changes only when
// the read succeeds.
inline bool readAll(const std::function<bool(const ParagraphSink&)>& read, RichDocument& out) {
  std::vector<RichParagraph> paragraphs;
  if (!read([&paragraphs](RichParagraph&& p) { paragraphs.push_back(std::move(p)); })) {
    return false;
  }
  out.paragraphs = std::move(paragraphs);
  return true;
}

// The paragraphs being read: runs appended with their format, paragraph ends,
// and table rows, where cells are split by tabs and a cell's paragraphs by
// spaces. Each paragraph goes to the sink as it ends.
class Builder {
 public:
  Builder(ReadNotes& notes, const ParagraphSink& sink) : notes_(notes), sink_(sink) {}

  void startParagraph(Align align);
  void append(std::u16string_view text, const RunFormat& format);
  // A break: a new paragraph of the same alignment, or a space within a row.
  void breakParagraph();
  void endParagraph();

  void startRow();
  void startCell();
  void endRow();

  void drop(std::uint32_t what) { notes_.dropped |= what; }
  // Ends the paragraph still open.
  void finish() { endParagraph(); }

 private:
  ReadNotes& notes_;
  const ParagraphSink& sink_;
  RichParagraph current_;
  bool open_ = false;
  int rowDepth_ = 0;  // tables within tables are one row
  bool cellHasText_ = false;
  bool firstCell_ = true;
};

}  // namespace kavelin::documents::rich
