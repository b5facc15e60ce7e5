// SPDX-License-Identifier: GPL-3.0-or-later
// The streaming transducer, Roman UTF-8 to glyph codes, with its word cache
// and without: on the sample text repeated (few words) and on a made-up text
// of thirty thousand words drawn with Zipf's law (many words, as in real
// text of some length).
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "corpus.h"
#include "transducer.h"

namespace {

using kavelin::Transducer;

constexpr std::size_t kSize = 8 << 20;

const std::string& sampleText() {
  static const std::string text = [] {
    const std::string one = kavelin::encodeUtf8(kavelin::bench::corpusRoman());
    std::string t;
    while (t.size() < kSize) t += one;
    return t;
  }();
  return text;
}

const std::string& manyWords() {
  static const std::string text = [] {
    const std::vector<std::string> onsets = {
        "k", "kh", "g", "ch", "j", "t", "th",  "d",  "dh", "n",  "p",   "ph", "b",  "bh", "m",  "y",
        "r", "l",  "v", "sh", "s", "h", "shr", "st", "pr", "tr", "ksh", "gy", "sk", "dv", "ny", ""};
    const std::vector<std::string> vowels = {"a", "aa", "i", "ii", "u", "e", "ai", "o", "an", "ii"};
    std::mt19937 rng(160);
    std::vector<std::string> words(30000);
    for (std::string& w : words) {
      const int syllables = std::uniform_int_distribution<int>(1, 4)(rng);
      for (int k = 0; k < syllables; ++k) {
        w += onsets[std::uniform_int_distribution<std::size_t>(0, onsets.size() - 1)(rng)];
        w += vowels[std::uniform_int_distribution<std::size_t>(0, vowels.size() - 1)(rng)];
      }
    }
    // Zipf's law: word r (from 1) with weight 1 / r.
    std::vector<double> weights(words.size());
    for (std::size_t r = 0; r < words.size(); ++r) weights[r] = 1.0 / static_cast<double>(r + 1);
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    std::string t;
    while (t.size() < kSize) {
      const int length = std::uniform_int_distribution<int>(5, 25)(rng);
      for (int k = 0; k < length; ++k) t += words[pick(rng)] + " ";
      t += "\n";
    }
    return t;
  }();
  return text;
}

void convert(benchmark::State& state, const std::string& text) {
  kavelin::WordCacheSettings words;
  if (state.range(0) == 0) words.after = ~std::size_t{0};
  kavelin::WordCacheStats stats;
  std::string out;
  for (auto _ : state) {
    Transducer t(Transducer::Output::kCodes, words);
    for (std::size_t at = 0; at < text.size(); at += 1 << 16) {
      out.clear();
      t.feed(std::string_view(text).substr(at, 1 << 16), out);
    }
    t.finish(out);
    stats = t.wordCacheStats();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  state.counters["hit%"] =
      stats.lookups ? 100.0 * static_cast<double>(stats.hits) / static_cast<double>(stats.lookups)
                    : 0.0;
  state.counters["entries"] = static_cast<double>(stats.entries);
}

void BM_TransducerSample(benchmark::State& state) { convert(state, sampleText()); }
void BM_TransducerManyWords(benchmark::State& state) { convert(state, manyWords()); }
// Argument: 0 without the word cache, 1 with it.
BENCHMARK(BM_TransducerSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TransducerManyWords)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
