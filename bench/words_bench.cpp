// SPDX-License-Identifier: GPL-3.0-or-later
// Key spellings and loose keys per word, over the distinct words of the
// sample text (typed, converted and read back as Unicode).
#include <benchmark/benchmark.h>

#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "corpus.h"
#include "keyspelling.h"
#include "loosekey.h"
#include "spellmodel.h"
#include "unicode.h"

namespace {

using namespace kavelin;

// The sample's distinct Devanagari words.
const std::vector<std::u16string>& sampleWords() {
  static const std::vector<std::u16string> words = [] {
    const std::u16string text = glyphsToUnicode(bench::corpusGlyphs());
    std::set<std::u16string> found;
    std::u16string word;
    for (char16_t c : text) {
      if (c >= 0x0900 && c <= 0x097F && c != 0x0964) {
        word.push_back(c);
      } else if (!word.empty()) {
        found.insert(word);
        word.clear();
      }
    }
    if (!word.empty()) found.insert(word);
    return std::vector<std::u16string>(found.begin(), found.end());
  }();
  return words;
}

// Their key spellings.
const std::vector<std::string>& sampleSpellings() {
  static const std::vector<std::string> spellings = [] {
    std::vector<std::string> out;
    words::KeySpeller speller;
    std::string spelling;
    for (const std::u16string& w : sampleWords()) {
      if (speller.spell(w, spelling) == words::SpellFailure::kNone) out.push_back(spelling);
    }
    return out;
  }();
  return spellings;
}

// One speller over the words again and again: the engine's steps are known.
void BM_KeySpelling(benchmark::State& state) {
  const auto& words = sampleWords();
  words::KeySpeller speller;
  std::string spelling;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(speller.spell(words[i], spelling));
    if (++i == words.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_KeySpelling);

// A new speller for each pass over the words, as at start-up.
void BM_KeySpellingCold(benchmark::State& state) {
  const auto& words = sampleWords();
  std::string spelling;
  for (auto _ : state) {
    words::KeySpeller speller;
    for (const std::u16string& w : words) benchmark::DoNotOptimize(speller.spell(w, spelling));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
}
BENCHMARK(BM_KeySpellingCold);

void BM_LooseKey(benchmark::State& state) {
  const auto& spellings = sampleSpellings();
  std::string key;
  std::size_t i = 0;
  for (auto _ : state) {
    words::looseKey(spellings[i], key);
    benchmark::DoNotOptimize(key.data());
    if (++i == spellings.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LooseKey);

// The typed word against each spelling.
void BM_LooseDistance(benchmark::State& state) {
  const auto& spellings = sampleSpellings();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(words::looseDistance("bharat", spellings[i]));
    if (++i == spellings.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LooseDistance);

// Counting the sample's spellings into a new letter model (per word).
void BM_SpellingModelAdd(benchmark::State& state) {
  const auto& spellings = sampleSpellings();
  for (auto _ : state) {
    words::SpellingModel model;
    for (const std::string& s : spellings) benchmark::DoNotOptimize(model.add(s));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(spellings.size()));
}
BENCHMARK(BM_SpellingModelAdd);

// Twenty spellings guessed for a typed word, from the sample's model.
void BM_GuessSpellings(benchmark::State& state) {
  words::SpellingModel model;
  for (const std::string& s : sampleSpellings()) model.add(s);
  const char* typed[] = {"bharat", "ladki", "pradhanmantri", "kiya", "aapki", "shiksha"};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(words::guessSpellings(typed[i], model, 20).size());
    if (++i == std::size(typed)) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GuessSpellings);

}  // namespace
