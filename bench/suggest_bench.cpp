// SPDX-License-Identifier: GPL-3.0-or-later
// Word suggestions: the time of one lookup (each Roman word of the sample
// text, as typed), and the start-up cost of the index: the installed word
// lists read and every word spelled and indexed; and the spelling check of
// 1 MB of glyph text.
#include <benchmark/benchmark.h>

#include <set>
#include <string>
#include <vector>

#include "corpus.h"
#include "spellcheck.h"
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

const words::LoadedWords& lists() {
  static const words::LoadedWords* loaded = new words::LoadedWords(words::loadWordLists());
  return *loaded;
}

words::Suggester& index() {
  static words::Suggester* suggester = [] {
    auto* s = new words::Suggester;
    words::buildSuggester(*s, lists());
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

// The sample typed into glyph codes, repeated to 1 MB, checked by a new
// checker each time (nothing cached).
void BM_CheckGlyphText1MB(benchmark::State& state) {
  static const std::u16string text = [] {
    const GlyphString& glyphs = bench::corpusGlyphs();
    std::u16string out;
    while (out.size() < (1u << 20)) out += glyphs;
    return out;
  }();
  words::Suggester& s = index();
  std::size_t unknown = 0;
  for (auto _ : state) {
    words::SpellChecker checker(&lists().words, &s);
    unknown = checker.check(text, true).size();
    benchmark::DoNotOptimize(unknown);
  }
  state.counters["unknown_words"] = static_cast<double>(unknown);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CheckGlyphText1MB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
