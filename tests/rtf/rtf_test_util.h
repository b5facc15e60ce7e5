// SPDX-License-Identifier: GPL-3.0-or-later
// Builders and printers for RTF tests, and the document behind the
// LibreOffice fixture.
#pragma once

#include <ostream>
#include <string>

#include "rtf.h"

namespace kavelin {

// Readable failure output for the model.
void PrintTo(const RichRun& run, std::ostream* os);
void PrintTo(const RichParagraph& paragraph, std::ostream* os);
void PrintTo(const RichDocument& doc, std::ostream* os);

namespace rtftest {

struct Format {
  std::u16string font = u"Arial";
  double size = 12;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  std::int32_t color = kAutoColor;
};

RichRun run(std::u16string text, const Format& f = {});
RichParagraph para(Align align, std::vector<RichRun> runs);
RichParagraph para(std::vector<RichRun> runs);  // left aligned

// What readRtf(writeRtf(doc)) must give: runs merged, sizes as RTF keeps them.
RichDocument normalized(RichDocument doc);

// Reads `rtf` and fails the current test on error.
RichDocument mustRead(const std::string& rtf);

// Every character U+0020..U+00FF and U+201C: the font codes of a glyph string.
std::u16string allGlyphChars();

// The document written and converted by LibreOffice into data/libreoffice.rtf.
RichDocument fixtureDocument();

}  // namespace rtftest
}  // namespace kavelin
