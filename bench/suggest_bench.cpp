// SPDX-License-Identifier: GPL-3.0-or-later
// Word suggestions: the time of one lookup (each Roman word of the sample
// text, as typed), and the start-up cost of the index: the installed word
// lists read and every word spelled and indexed.
#include <benchmark/benchmark.h>

#include <set>
#include <string>
#include <vector>

#include "corpus.h"
#include "suggest.h"
#include "suggestindex.h"

namespace {

using namespace kavelin;

// The sample's distinct Roman words.
const std::vector<std::string>& typedWords() {
  static const std::vector<std::string> words = [] {
    std::set<std::string> found;
    std::string word;
    for (char16_t c : bench::corpusRoman()) {
      if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'^') {
        word.push_back(static_cast<char>(c));
      } else if (!word.empty()) {
        found.insert(word);
        word.clear();
      }
    }
    if (!word.empty()) found.insert(word);
    return std::vector<std::string>(found.begin(), found.end());
  }();
  return words;
}

words::Suggester& index() {
  static words::Suggester* suggester = [] {
    auto* s = new words::Suggester;
    words::buildSuggester(*s, words::loadWordLists());
    return s;
  }();
  return *suggester;
}

void BM_SuggestLookup(benchmark::State& state) {
  words::Suggester& s = index();
  const auto& typed = typedWords();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.suggest(typed[i], 9));
    if (++i == typed.size()) i = 0;
  }
  state.counters["index_words"] = static_cast<double>(s.size());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SuggestLookup)->Repetitions(5)->Unit(benchmark::kMicrosecond);

void BM_BuildIndex(benchmark::State& state) {
  for (auto _ : state) {
    words::Suggester s;
    words::buildSuggester(s, words::loadWordLists());
    state.counters["index_words"] = static_cast<double>(s.size());
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
