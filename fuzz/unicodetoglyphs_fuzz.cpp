// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary UTF-8 to unicodeToGlyphs. Checks that nothing crashes, that
// the report of kept characters is consistent, and the round trip: for the
// glyph string g that the engine types for the same bytes as Roman text,
// glyphsToUnicode(unicodeToGlyphs(glyphsToUnicode(g))) equals glyphsToUnicode(g).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine.h"
#include "text.h"
#include "unicode.h"
#include "unicodetoglyphs.h"

namespace {

#define check(ok) checkAt(ok, __LINE__)

void checkAt(bool ok, int line) {
  if (!ok) {
    std::fprintf(stderr, "unicodetoglyphs_fuzz: check failed at line %d\n", line);
    std::abort();
  }
}

void convert(std::u16string_view text) {
  kavelin::ConversionOptions options;
  options.maxReported = 3;
  const kavelin::GlyphConversion g = kavelin::unicodeToGlyphs(text, options);
  check(g.unconverted.count <= text.size());
  check(g.unconverted.first.size() <= 3);
  check(g.unconverted.first.size() == std::min<std::size_t>(3, g.unconverted.count));
  std::size_t lastLine = 1;
  for (const kavelin::UnconvertedChar& c : g.unconverted.first) {
    check(c.at.line >= lastLine && c.at.column >= 1 && c.at.column <= text.size());
    lastLine = c.at.line;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text;
  if (kavelin::decodeUtf8(bytes, text)) {
    convert(text);
  } else {
    text = kavelin::latin1(bytes);  // the bytes as Latin-1 still make a text
  }
  convert(kavelin::latin1(bytes));

  // The round trip on what the engine types.
  static kavelin::Engine engine;
  std::u16string roman;
  for (char16_t c : text) roman += c < 128 ? c : u' ';
  const kavelin::GlyphString g = engine.e2h(kavelin::toCrLf(roman));
  const std::u16string shown = kavelin::glyphsToUnicode(g);
  const kavelin::GlyphConversion back = kavelin::unicodeToGlyphs(shown);
  check(back.unconverted.count == 0);
  check(kavelin::glyphsToUnicode(back.glyphs) == shown);
  return 0;
}
