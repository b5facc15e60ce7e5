// SPDX-License-Identifier: GPL-3.0-or-later
// Glyph string to Unicode throughput on the sample text, repeated to size.
// Bytes processed are glyph string characters.
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

namespace {

using kavelin::bench::corpusGlyphs;

kavelin::GlyphString repeated(std::size_t chars) {
  const kavelin::GlyphString& unit = corpusGlyphs();
  kavelin::GlyphString text;
  if (unit.empty()) return text;
  text.reserve(chars + unit.size());
  while (text.size() < chars) text += unit;
  return text;
}

void BM_GlyphsToUnicode(benchmark::State& state) {
  const kavelin::GlyphString glyphs = repeated(static_cast<std::size_t>(state.range(0)));
  if (glyphs.empty()) {
    state.SkipWithError("sample text not found");
    return;
  }
  for (auto _ : state) {
    std::u16string text = kavelin::glyphsToUnicode(glyphs);
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(glyphs.size()));
  state.counters["chars"] = static_cast<double>(glyphs.size());
}
BENCHMARK(BM_GlyphsToUnicode)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
