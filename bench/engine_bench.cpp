// SPDX-License-Identifier: GPL-3.0-or-later
// Transliteration throughput and the cost of one keystroke.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "corpus.h"
#include "engine.h"
#include "incremental.h"

namespace {

using kavelin::Engine;
using kavelin::IncrementalConverter;

// The sample text, with CR LF breaks, repeated to at least `size` characters.
std::u16string sample(std::size_t size) {
  const std::u16string& one = kavelin::bench::corpusRoman();
  std::u16string text;
  text.reserve(size + one.size());
  while (text.size() < size) text += one;
  text.resize(size);
  return text;
}

void BM_e2h(benchmark::State& state) {
  const std::u16string text = sample(static_cast<std::size_t>(state.range(0)));
  Engine engine;
  for (auto _ : state) benchmark::DoNotOptimize(engine.e2h(text));
  // One byte per English character (the text is ASCII).
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_e2h)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// One typed character and its backspace, so the document stays the same.
void keystroke(benchmark::State& state, bool atEnd) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  std::u16string text = sample(size);
  for (char16_t& c : text) {
    if (c == u'\r') c = u' ';  // document breaks are LF alone
  }
  IncrementalConverter converter(IncrementalConverter::Breaks::kDocument);
  converter.setText(text);
  std::size_t at = atEnd ? text.size() : text.size() / 2;
  // Type inside a word, not next to a line break.
  while (!atEnd && text[at] == u'\n') ++at;
  for (auto _ : state) {
    benchmark::DoNotOptimize(converter.edit(at, 0, u"k"));
    benchmark::DoNotOptimize(converter.edit(at, 1, u""));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 2);
  state.counters["us_per_keystroke"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 2,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void BM_KeystrokeAtEnd(benchmark::State& state) { keystroke(state, true); }
void BM_KeystrokeInMiddle(benchmark::State& state) { keystroke(state, false); }
BENCHMARK(BM_KeystrokeAtEnd)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeystrokeInMiddle)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
