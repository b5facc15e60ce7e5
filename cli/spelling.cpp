// SPDX-License-Identifier: GPL-3.0-or-later
#include "spelling.h"

#include "text.h"
#include "unicodetoglyphs.h"

namespace kavelin::cli {

namespace {

// Characters, not UTF-16 units: a surrogate pair counts once.
std::size_t characters(std::u16string_view text) {
  std::size_t n = 0;
  for (char16_t c : text) n += (c >= 0xDC00 && c <= 0xDFFF) ? 0 : 1;
  return n;
}

}  // namespace

CheckReport checkText(words::SpellChecker& checker, std::u16string_view text, bool glyphs) {
  CheckReport report;
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    ++lineNumber;
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    for (const words::SpellChecker::Unknown& u : checker.check(line, glyphs)) {
      ++report.unknown;
      const std::u16string_view word = line.substr(u.word.begin, u.word.length);
      report.lines += std::to_string(lineNumber) + ':' +
                      std::to_string(characters(line.substr(0, u.word.begin)) + 1) + '\t' +
                      encodeUtf8(word);
      for (const std::u16string& correction : u.corrections) {
        report.lines += '\t';
        report.lines += encodeUtf8(glyphs ? unicodeToGlyphs(correction).glyphs : correction);
      }
      report.lines += '\n';
    }
    start = end + 1;
  }
  return report;
}

}  // namespace kavelin::cli
