// SPDX-License-Identifier: GPL-3.0-or-later
#include "suggestions.h"

#include "text.h"

namespace kavelin::cli {

std::string suggestLines(words::Suggester& suggester, std::string_view input, std::size_t n) {
  std::string out;
  std::size_t start = 0;
  while (start < input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    std::string_view line = input.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    bool word = !line.empty();
    for (char c : line) {
      if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7F) {
        word = false;
      }
    }
    if (word) {
      bool first = true;
      for (const words::Candidate& c : suggester.suggest(line, n)) {
        if (!first) out += '\t';
        first = false;
        out += encodeUtf8(c.unicode);
        out += ' ';
        out += c.spelling;
      }
    }
    out += '\n';
  }
  return out;
}

}  // namespace kavelin::cli
