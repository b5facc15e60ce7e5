// SPDX-License-Identifier: GPL-3.0-or-later
// Both legacy conversions in pieces against the whole-text conversions. The
// first byte picks the piece sizes; the rest is the text, read twice: as a
// glyph string (bytes are font codes) and as Unicode (bytes 0x80..0xFE are
// the Devanagari block U+0900..U+097E). In both, 0xFF followed by two bytes is
// any UTF-16 unit, surrogates included. Both are also checked with the
// streams' word caches on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "text.h"
#include "unicode.h"
#include "unicodetoglyphs.h"

namespace {

// The pieces: sizes from 0 to 7 units drawn from `seed`.
std::vector<std::u16string_view> cut(std::u16string_view text, std::uint32_t seed) {
  std::vector<std::u16string_view> pieces;
  std::size_t at = 0;
  while (at < text.size()) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t n = std::min<std::size_t>((seed >> 16) % 8, text.size() - at);
    pieces.push_back(text.substr(at, n));
    at += n;
  }
  return pieces;
}

// Feeds `text` and a space to `stream` until its word cache is on and holds
// the text's own words, then ends that text.
template <typename Stream>
void warmUp(Stream& stream, std::u16string_view text) {
  std::u16string discarded;
  for (std::size_t read = 0; read <= Stream::kWordCacheAfter; read += text.size() + 1) {
    stream.feed(text, discarded);
    stream.feed(u" ", discarded);
    discarded.clear();
  }
  stream.finish(discarded);
}

// `text` converted to glyphs by `stream` in pieces against the whole-text
// conversion, kept characters placed included.
void checkGlyphs(kavelin::UnicodeToGlyphsStream& stream, std::u16string_view text,
                 std::uint32_t seed, const kavelin::GlyphConversion& whole) {
  kavelin::GlyphString codes;
  for (std::u16string_view piece : cut(text, seed)) stream.feed(piece, codes);
  stream.finish(codes);
  FUZZ_CHECK(codes == whole.glyphs);
  const kavelin::Unconverted& kept = stream.unconverted();
  FUZZ_CHECK(kept.count == whole.unconverted.count);
  FUZZ_CHECK(kept.first.size() == whole.unconverted.first.size());
  for (std::size_t i = 0; i < kept.first.size(); ++i) {
    FUZZ_CHECK(kept.first[i].character == whole.unconverted.first[i].character);
    FUZZ_CHECK(kept.first[i].at.line == whole.unconverted.first[i].at.line);
    FUZZ_CHECK(kept.first[i].at.column == whole.unconverted.first[i].at.column);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint32_t seed = data[0];
  std::u16string glyphs;
  std::u16string unicode;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == 0xFF && i + 2 < size) {
      const auto unit = static_cast<char16_t>(data[i + 1] << 8 | data[i + 2]);
      glyphs.push_back(unit);
      unicode.push_back(unit);
      i += 2;
      continue;
    }
    glyphs.push_back(kavelin::cp1252ToChar(data[i]));
    unicode.push_back(data[i] < 0x80 ? data[i] : static_cast<char16_t>(0x0900 + data[i] - 0x80));
  }

  kavelin::GlyphsToUnicodeStream toUnicode;
  std::u16string streamed;
  for (std::u16string_view piece : cut(glyphs, seed)) toUnicode.feed(piece, streamed);
  toUnicode.finish(streamed);
  const std::u16string expected = kavelin::glyphsToUnicode(glyphs);
  FUZZ_CHECK(streamed == expected);

  // Again after the same text, repeated, has switched the stream's word cache
  // on and filled it with the text's own words.
  if (!glyphs.empty()) {
    kavelin::GlyphsToUnicodeStream warm;
    warmUp(warm, glyphs);
    std::u16string again;
    for (std::u16string_view piece : cut(glyphs, seed + 1)) warm.feed(piece, again);
    warm.finish(again);
    FUZZ_CHECK(again == expected);
  }

  const kavelin::GlyphConversion whole = kavelin::unicodeToGlyphs(unicode, {50, {}});
  kavelin::UnicodeToGlyphsStream toGlyphs(50);
  checkGlyphs(toGlyphs, unicode, seed, whole);

  // Again, the word cache on and filled with the text's own words.
  if (!unicode.empty()) {
    kavelin::UnicodeToGlyphsStream warm(50);
    warmUp(warm, unicode);
    warm.forgetUnconverted();
    checkGlyphs(warm, unicode, seed + 1, whole);
  }
  return 0;
}
