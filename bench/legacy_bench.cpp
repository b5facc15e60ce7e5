// SPDX-License-Identifier: GPL-3.0-or-later
// Legacy documents both ways: Unicode to glyph codes and glyph codes to
// Unicode, on the sample text typed by the engine and repeated to size. Bytes
// processed are those of the input as UTF-8, as the converter reads it.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "corpus.h"
#include "engine.h"
#include "text.h"
#include "unicode.h"
#include "unicodetoglyphs.h"

namespace {

using kavelin::bench::corpusGlyphs;

kavelin::GlyphString repeatedGlyphs(std::size_t utf8Bytes) {
  const kavelin::GlyphString& unit = corpusGlyphs();
  const std::size_t unitBytes = kavelin::encodeUtf8(unit).size();
  kavelin::GlyphString text;
  if (unit.empty()) return text;
  for (std::size_t bytes = 0; bytes < utf8Bytes; bytes += unitBytes) text += unit;
  return text;
}

void BM_UnicodeToGlyphs(benchmark::State& state) {
  const kavelin::GlyphString& unit = corpusGlyphs();
  if (unit.empty()) {
    state.SkipWithError("sample text not found");
    return;
  }
  const std::u16string shown = kavelin::glyphsToUnicode(unit);
  std::u16string text;
  const std::size_t unitBytes = kavelin::encodeUtf8(shown).size();
  std::size_t bytes = 0;
  for (; bytes < static_cast<std::size_t>(state.range(0)); bytes += unitBytes) text += shown;
  for (auto _ : state) {
    kavelin::GlyphConversion g = kavelin::unicodeToGlyphs(text);
    benchmark::DoNotOptimize(g.glyphs.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_UnicodeToGlyphs)->Arg(1'000'000)->Arg(8'000'000)->Unit(benchmark::kMillisecond);

void BM_GlyphTextToUnicode(benchmark::State& state) {
  const kavelin::GlyphString glyphs = repeatedGlyphs(static_cast<std::size_t>(state.range(0)));
  const std::size_t bytes = kavelin::encodeUtf8(glyphs).size();
  for (auto _ : state) {
    std::u16string text = kavelin::glyphsToUnicode(glyphs);
    kavelin::Unconverted kept = kavelin::unconvertedGlyphs(glyphs);
    benchmark::DoNotOptimize(text.data());
    benchmark::DoNotOptimize(kept.count);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_GlyphTextToUnicode)->Arg(1'000'000)->Arg(8'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
