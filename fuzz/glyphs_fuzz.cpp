// SPDX-License-Identifier: GPL-3.0-or-later
// glyphsToUnicode on arbitrary glyph strings: the bytes are font codes, and
// 0xFF followed by two bytes is any UTF-16 unit (surrogates included). The
// result is valid UTF-16 whose length is bounded by a multiple of the input's.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "text.h"
#include "unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string glyphs;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF && i + 2 < size) {
      glyphs.push_back(static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]));
      i += 2;
    } else {
      glyphs.push_back(kavelin::cp1252ToChar(data[i]));
    }
  }
  const std::u16string unicode = kavelin::glyphsToUnicode(glyphs);
  for (std::size_t i = 0; i < unicode.size(); ++i) {
    const char16_t c = unicode[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      FUZZ_CHECK(i + 1 < unicode.size() && unicode[i + 1] >= 0xDC00 && unicode[i + 1] <= 0xDFFF);
      ++i;
    } else {
      FUZZ_CHECK(!(c >= 0xDC00 && c <= 0xDFFF));
    }
  }
  // No code stands for more than four characters.
  FUZZ_CHECK(unicode.size() <= 4 * glyphs.size());
  return 0;
}
