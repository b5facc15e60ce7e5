// SPDX-License-Identifier: GPL-3.0-or-later
// Glyph strings in test messages.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace kavelin::test {

// The glyph string with every non-ASCII character as \uXXXX.
inline std::string describe(std::u16string_view glyphs) {
  std::string out;
  for (char16_t c : glyphs) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[12];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

}  // namespace kavelin::test
