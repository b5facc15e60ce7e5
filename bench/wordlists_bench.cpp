// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up cost of the word lists: each installed list read alone, and all of
// them read and merged, in parallel threads and one after another.
#include <benchmark/benchmark.h>

#include "wordlists.h"

namespace {

using namespace kavelin::words;

void readOne(benchmark::State& state, ListRead (*reader)(const WordListSources&)) {
  const WordListSources sources;
  for (auto _ : state) {
    ListRead read = reader(sources);
    if (!read.found) {
      state.SkipWithError(("not installed: " + read.error).c_str());
      break;
    }
    state.counters["words"] = static_cast<double>(read.words.size());
    benchmark::DoNotOptimize(read);
  }
}
BENCHMARK_CAPTURE(readOne, aspell, readAspellList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readOne, hunspell, readHunspellList)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(readOne, apertium, readApertiumList)->Unit(benchmark::kMillisecond);

void BM_loadWordLists(benchmark::State& state) {
  const bool parallel = state.range(0) != 0;
  for (auto _ : state) {
    LoadedWords loaded = loadWordLists({}, parallel);
    state.counters["words"] = static_cast<double>(loaded.words.size());
    state.counters["set_MB"] = static_cast<double>(loaded.words.memoryBytes()) / 1e6;
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_loadWordLists)->ArgName("parallel")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
