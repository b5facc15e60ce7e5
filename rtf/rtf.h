// SPDX-License-Identifier: GPL-3.0-or-later
// Rich text for the Editing Box: a small document model and its RTF form.
//
// The model holds what the editor keeps: paragraphs with an alignment, each a
// list of runs of text in one character format (font name, size, bold, italic,
// underline, colour). Text is UTF-16; glyph strings of the legacy 8-bit fonts are held
// as the Windows-1252 characters of their codes, as everywhere in Kavelin.
//
// Character conventions shared by the writer and the reader:
//   U+0009 (TAB)            <-> \tab
//   U+2028 (LINE SEPARATOR) <-> \line, a line break inside a paragraph
//                               (what QTextDocument uses for one)
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavelin {

enum class Align { Left, Center, Right };  // justified text is read as Left

// The colour of text that names none: the reader's default, usually black.
inline constexpr std::int32_t kAutoColor = -1;

// The character format of a run.
struct RunFormat {
  std::u16string font;  // family name; empty when the file named none
  double sizePt = 12.0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::int32_t color = kAutoColor;  // 0xRRGGBB
};

bool operator==(const RunFormat& a, const RunFormat& b);
inline bool operator!=(const RunFormat& a, const RunFormat& b) { return !(a == b); }

struct RichRun {
  std::u16string text;
  RunFormat format;
};

struct RichParagraph {
  Align align = Align::Left;
  std::vector<RichRun> runs;  // an empty paragraph has none
};

struct RichDocument {
  std::vector<RichParagraph> paragraphs;
};

bool operator==(const RichRun& a, const RichRun& b);
bool operator==(const RichParagraph& a, const RichParagraph& b);
bool operator==(const RichDocument& a, const RichDocument& b);
inline bool operator!=(const RichRun& a, const RichRun& b) { return !(a == b); }
inline bool operator!=(const RichParagraph& a, const RichParagraph& b) { return !(a == b); }
inline bool operator!=(const RichDocument& a, const RichDocument& b) { return !(a == b); }

// The size RTF stores for `pt`: the nearest half point, halves rounded up
// (14.25 -> 14.5), kept within 1..1638 pt; a size that is not a finite number
// becomes 12 pt. Reading back what writeRtf wrote gives exactly this size.
double rtfFontSize(double pt);

// Drops empty runs and joins neighbouring runs of the same format.
void mergeRuns(RichParagraph& paragraph);

// The document as RTF: pure ASCII, Windows-1252 based, fonts declared with
// \fcharset0. Every paragraph ends with \par, so a document without paragraphs
// has no \par at all and reads back as such. readRtf(writeRtf(d)) equals d
// after mergeRuns on each paragraph and rtfFontSize on each size, for text
// without U+F020..U+F0FF (see readRtf).
std::string writeRtf(const RichDocument& doc);

class RtfOut;  // the writer's output, in writer.cpp

// writeRtf a paragraph at a time, for text too long to hold whole: begin(),
// then paragraph() for each paragraph, then end() give the bytes writeRtf
// gives for the document of those paragraphs, when `fonts` lists the fonts of
// its runs in order of first use (a run in a font not listed takes the first)
// and `colors` their colours other than kAutoColor, likewise (a colour not
// listed is written as the automatic colour).
class RtfWriter {
 public:
  explicit RtfWriter(std::vector<std::u16string> fonts, std::vector<std::int32_t> colors = {});
  std::string begin();
  std::string paragraph(const RichParagraph& paragraph);
  std::string end();

 private:
  long fontIndex(const std::u16string& name) const;
  long colorIndex(std::int32_t color) const;
  void writeFormat(RtfOut& out, const RunFormat& format);

  std::vector<std::u16string> fonts_;
  std::map<std::u16string, long> fontNumbers_;
  std::vector<std::int32_t> colors_;
  std::map<std::int32_t, long> colorNumbers_;  // 1 for the first
  // Character format last written, with the font it was written in and its
  // size as written; nothing is assumed before the first run.
  std::optional<RunFormat> written_;
};

struct RtfError {
  std::size_t offset = 0;  // byte offset of the offending input (0 for empty input)
  std::string message;
};

// What a successful read had to make good.
struct RtfNotes {
  // The input ended before the document did (inside a group, a control word
  // or \bin data): the text before that point was read.
  bool endedEarly = false;
};

// Reads RTF as written by writeRtf or by word processors. On failure returns
// false, fills `err` (when given) and leaves `out` unchanged.
//
// \par ends a paragraph; text after the last one is one more paragraph, and
// nothing after it adds none. \sect, \cell and \row end a paragraph that has
// text. A paragraph takes the alignment in force at its end; \qj is Left.
// Hidden text (\v), destinations that are no body text (font table, styles,
// pictures, headers, footnotes, field instructions, any {\* group}) and
// unknown control words are skipped. Runs of one format are joined. Font
// names lose surrounding spaces; a font number missing from the font table
// means the \deff font.
//
// Leniency: a UTF-8 byte-order mark and whitespace may precede "{\rtf", and
// whitespace or NUL bytes may follow the document. Input cut off anywhere
// before the outermost group closes reads as far as it goes and sets
// `notes->endedEarly`. \'hh and raw 8-bit bytes are Windows-1252 whatever \ansicpg says.
//
// Symbol fonts: a font code hh is read as the Windows-1252 character of hh,
// which is U+00hh except for 0x80..0x9F (so code 0x93 is U+201C, as in glyph
// strings). \'hh gives that in any font. \uN in U+F020..U+F0FF, where symbol
// font codes live in Unicode, is folded to it in any font, since LibreOffice
// writes such text in a font it declares \fcharset0; \uN in U+0080..U+009F is
// folded in a \fcharset2 font only. So U+F020..U+F0FF does not survive
// writeRtf and readRtf: it comes back as the code it stands for.
bool readRtf(std::string_view bytes, RichDocument& out, RtfError* err = nullptr,
             RtfNotes* notes = nullptr);

}  // namespace kavelin
