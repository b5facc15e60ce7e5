// SPDX-License-Identifier: GPL-3.0-or-later
// How often the word suggestions give the word a writer meant: top-1 and
// top-5 accuracy on Roman spellings written by people (the romanized data in
// ../shared/data/romanized/, measuring data only), and how much of it the
// installed word lists cover. Also the word lists' load time and memory.
//
//   words_accuracy [DATA_DIR]
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "commonwords.h"
#include "engine.h"
#include "keyspelling.h"
#include "loosekey.h"
#include "spellmodel.h"
#include "suggest.h"
#include "text.h"
#include "unicode.h"
#include "wordlists.h"

namespace {

using kavelin::words::devanagariNfc;
using kavelin::words::isDevanagariWord;

// Candidates for a Roman word as typed, best first, at most n.
using Suggest = std::function<std::vector<std::u16string>(std::string_view roman, std::size_t n)>;

// The baseline: what the engine makes of the letters as typed, as the only
// candidate (without the space that the end-of-text flush leaves).
std::vector<std::u16string> literalSuggest(std::string_view roman, std::size_t n) {
  static kavelin::Engine engine;
  if (n == 0) return {};
  std::u16string word = kavelin::glyphsToUnicode(engine.e2h(kavelin::latin1(roman)));
  while (!word.empty() && word.back() == u' ') word.pop_back();
  return {devanagariNfc(word)};
}

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::vector<std::string>> readTsv(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> fields;
    std::istringstream fs(line);
    std::string f;
    while (std::getline(fs, f, '\t')) fields.push_back(f);
    if (!fields.empty()) rows.push_back(std::move(fields));
  }
  return rows;
}

// One scored item: the native word (NFC), the Roman spelling, its weight.
struct Item {
  std::u16string native;
  std::string roman;
  double weight = 1;
};

// The native word in NFC, or nothing when it is not a Devanagari word.
std::optional<std::u16string> nativeWord(const std::string& utf8) {
  std::u16string text;
  if (!kavelin::decodeUtf8(utf8, text)) return std::nullopt;
  text = devanagariNfc(text);
  if (!isDevanagariWord(text)) return std::nullopt;
  return text;
}

struct Loaded {
  std::vector<Item> items;
  std::size_t skipped = 0;  // tokens that are not Devanagari words
  std::size_t sentences = 0;
};

Loaded readSentences(const std::string& path) {
  Loaded out;
  for (const auto& row : readTsv(path)) {
    if (row.size() < 2) continue;
    if (row[0] == "</s>") {
      ++out.sentences;
      continue;
    }
    if (auto native = nativeWord(row[0])) {
      out.items.push_back({std::move(*native), row[1], 1});
    } else {
      ++out.skipped;
    }
  }
  return out;
}

Loaded readLexicon(const std::string& path) {
  Loaded out;
  for (const auto& row : readTsv(path)) {
    if (row.size() < 3) continue;
    if (auto native = nativeWord(row[0])) {
      out.items.push_back({std::move(*native), row[1], std::stod(row[2])});
    } else {
      ++out.skipped;
    }
  }
  return out;
}

struct Accuracy {
  double total = 0;
  double top1 = 0;
  double top5 = 0;
};

Accuracy score(const std::vector<Item>& items, const Suggest& suggest) {
  std::unordered_map<std::string, std::vector<std::u16string>> cache;
  Accuracy a;
  for (const Item& item : items) {
    auto it = cache.find(item.roman);
    if (it == cache.end()) {
      std::vector<std::u16string> candidates = suggest(item.roman, 5);
      for (std::u16string& c : candidates) c = devanagariNfc(c);
      it = cache.emplace(item.roman, std::move(candidates)).first;
    }
    const auto& candidates = it->second;
    a.total += item.weight;
    for (std::size_t i = 0; i < candidates.size() && i < 5; ++i) {
      if (candidates[i] == item.native) {
        if (i == 0) a.top1 += item.weight;
        a.top5 += item.weight;
        break;
      }
    }
  }
  return a;
}

double percent(double part, double whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

void printAccuracy(const char* name, const Loaded& data, const Accuracy& a) {
  std::printf("%-28s %8.0f weighted (%zu rows, %zu skipped)  top-1 %6.2f %%  top-5 %6.2f %%\n",
              name, a.total, data.items.size(), data.skipped, percent(a.top1, a.total),
              percent(a.top5, a.total));
}

// Share of the items (by weight, and of the distinct words) in the word set.
void printCoverage(const char* name, const std::vector<Item>& items,
                   const kavelin::words::WordSet& set) {
  double total = 0;
  double covered = 0;
  std::unordered_map<std::u16string, bool> distinct;
  for (const Item& item : items) {
    const bool in = set.contains(item.native);
    total += item.weight;
    if (in) covered += item.weight;
    distinct.emplace(item.native, in);
  }
  std::size_t distinctIn = 0;
  for (const auto& [word, in] : distinct) distinctIn += in ? 1 : 0;
  std::printf("coverage %-19s %5.1f %% weighted, %5.1f %% of %zu distinct words\n", name,
              percent(covered, total),
              percent(static_cast<double>(distinctIn), static_cast<double>(distinct.size())),
              distinct.size());
}

// Why the word meant was not among the top five, for a set: not in the
// index at all, in it under another loose key, or in the bucket but ranked
// lower; with examples of each (printed only, for looking at).
void printMisses(const std::vector<Item>& items, kavelin::words::Suggester& suggester,
                 const kavelin::words::LoadedWords& lists, std::size_t examples) {
  namespace w = kavelin::words;
  w::KeySpeller speller;
  std::unordered_map<std::u16string, bool> common;
  for (std::u16string_view c : w::commonWords()) common.emplace(w::devanagariNfc(c), true);
  const char* names[] = {"not in any list", "listed, cannot be spelled",
                         "other loose key", "same key, ranked lower",
                         "hit top-1",       "hit top-2..5"};
  double weight[6] = {};
  std::vector<std::string> shown[6];
  std::string spelling;
  for (const Item& item : items) {
    int kind = 0;
    std::size_t place = 99;
    const auto got = suggester.suggest(item.roman, 5);
    for (std::size_t i = 0; i < got.size(); ++i) {
      if (w::devanagariNfc(got[i].unicode) == item.native) place = i;
    }
    const bool listed = lists.words.contains(item.native) || common.count(item.native);
    const bool spelled = speller.spell(item.native, spelling) == w::SpellFailure::kNone;
    if (place == 0) {
      kind = 4;
    } else if (place < 5) {
      kind = 5;
    } else if (!listed) {
      kind = 0;
    } else if (!spelled) {
      kind = 1;
    } else if (w::looseKey(item.roman) != w::looseKey(spelling)) {
      kind = 2;
    } else {
      kind = 3;
    }
    weight[kind] += item.weight;
    if (shown[kind].size() < examples && kind != 4) {
      std::string line = item.roman + "\t" + kavelin::encodeUtf8(item.native) + "\t" + spelling +
                         "\t" + w::looseKey(item.roman) + "/" + w::looseKey(spelling) + "\t|";
      for (const auto& c : got) line += " " + kavelin::encodeUtf8(c.unicode) + ":" + c.spelling;
      shown[kind].push_back(line);
    }
  }
  // Top-1 misses among the top five: is the word meant listed, and was the
  // first candidate listed?
  double cross[2][2] = {};
  std::size_t crossShown = 0;
  for (const Item& item : items) {
    const auto got = suggester.suggest(item.roman, 5);
    if (got.empty() || w::devanagariNfc(got[0].unicode) == item.native) continue;
    bool inTop5 = false;
    for (const auto& c : got) inTop5 |= w::devanagariNfc(c.unicode) == item.native;
    if (!inTop5) continue;
    const bool listed = lists.words.contains(item.native) || common.count(item.native);
    cross[listed][got[0].known] += item.weight;
    if (listed && got[0].known && ++crossShown <= examples) {
      std::string line = item.roman + "\t" + kavelin::encodeUtf8(item.native) + "\t|";
      for (const auto& c : got) {
        line +=
            " " + kavelin::encodeUtf8(c.unicode) + ":" + c.spelling + ":" + std::to_string(c.cost);
      }
      std::printf("  listed, first known: %s\n", line.c_str());
    }
  }
  // For the misses: would a wide search of guesses reach the word's spelling?
  w::SpellingModel model;
  for (std::size_t i = 0; i < lists.words.size(); ++i) {
    if (speller.spell(lists.words.word(i), spelling) == w::SpellFailure::kNone) model.add(spelling);
  }
  double reach[3] = {};  // in the first 20 guesses, in the first 200, not at all
  double byPlace[20] = {};
  std::size_t reachShown = 0;
  for (const Item& item : items) {
    const auto got = suggester.suggest(item.roman, 5);
    bool hit = false;
    for (const auto& c : got) hit |= w::devanagariNfc(c.unicode) == item.native;
    if (hit || speller.spell(item.native, spelling) != w::SpellFailure::kNone) continue;
    const auto wide = w::guessSpellings(item.roman, model, 200, 200);
    std::size_t at = wide.size();
    for (std::size_t i = 0; i < wide.size(); ++i) {
      if (wide[i].spelling == spelling) at = i;
    }
    reach[at < 20 ? 0 : at < 200 ? 1 : 2] += item.weight;
    if (at < 20) byPlace[at] += item.weight;
    if (at >= 200 && ++reachShown <= examples) {
      std::printf("  not guessed: %s\t%s\n", item.roman.c_str(), spelling.c_str());
    }
  }
  double total = 0;
  for (double x : weight) total += x;
  std::printf("top-5 misses spellable: guessed in 20 %.1f %%, in 200 %.1f %%, not %.1f %%\n",
              percent(reach[0], total), percent(reach[1], total), percent(reach[2], total));
  std::printf("  at guess place:");
  for (double x : byPlace) std::printf(" %.1f", percent(x, total));
  std::printf("\n");
  std::printf(
      "top-2..5 hits: meant unlisted, first unknown %.1f %%; first known %.1f %%; "
      "meant listed, first unknown %.1f %%; first known %.1f %%\n",
      percent(cross[0][0], total), percent(cross[0][1], total), percent(cross[1][0], total),
      percent(cross[1][1], total));
  for (int k = 0; k < 6; ++k) {
    std::printf("%-28s %5.1f %%\n", names[k], percent(weight[k], total));
  }
  for (int k = 0; k < 6; ++k) {
    if (k == 4) continue;
    std::printf("== %s\n", names[k]);
    for (const auto& line : shown[k]) std::printf("  %s\n", line.c_str());
  }
}

// The median and 90th percentile time of one lookup of nine candidates, over
// the set's Roman words.
void printTiming(const std::vector<Item>& items, kavelin::words::Suggester& suggester) {
  std::vector<double> micros;
  for (const Item& item : items) {
    const auto start = std::chrono::steady_clock::now();
    const auto got = suggester.suggest(item.roman, 9);
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
    if (got.size() > 9) std::abort();
  }
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  std::printf("lookup of 9: median %.0f us, 90th percentile %.0f us, max %.0f us\n",
              micros[micros.size() / 2], micros[micros.size() * 9 / 10], micros.back());
}

long residentKilobytes() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir =
      argc > 1 ? argv[1] : std::string(KAVELIN_SOURCE_DIR) + "/../shared/data/romanized";
  if (!isDirectory(dir)) {
    std::printf("words_accuracy: no data in %s; skipped\n", dir.c_str());
    return 0;
  }
  // A second argument names the one set to score (sentences, test, dev, train
  // or common);
  // "literal" scores the engine's literal conversion instead of suggestions.
  const std::string only = argc > 2 ? argv[2] : "";

  const long rssBefore = residentKilobytes();
  const kavelin::words::LoadedWords lists = kavelin::words::loadWordLists();
  const long rssAfter = residentKilobytes();
  std::printf("word lists: %s\n", lists.summary().c_str());
  std::fputs(lists.warnings().c_str(), stderr);
  for (const auto& s : lists.lists) {
    std::printf("  %-13s read %7zu, kept %7zu, %6.1f ms  %s\n", kavelin::words::listName(s.list),
                s.read, s.kept, s.milliseconds, s.found ? s.where.c_str() : s.error.c_str());
  }
  std::printf("  merged %zu words in %.1f ms; word set %.1f MB; resident memory +%.1f MB\n",
              lists.words.size(), lists.milliseconds, lists.words.memoryBytes() / 1e6,
              (rssAfter - rssBefore) / 1e3);

  // The index: the common words, then every listed word the scheme can spell.
  namespace w = kavelin::words;
  w::Suggester suggester;
  std::size_t misses = 0;  // "misses[=N]": why words were missed, with N examples
  bool timing = false;     // "timing": the time of one lookup of nine
  // Further arguments set ranking weights for tuning: distance=3 hunspell=10 ...
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::size_t eq = arg.find('=');
    if (arg == "timing") {
      timing = true;
      continue;
    }
    if (arg.rfind("misses", 0) == 0) {
      misses = eq == std::string::npos ? 40 : std::atoi(arg.c_str() + eq + 1);
      continue;
    }
    const int value = eq == std::string::npos ? 0 : std::atoi(arg.c_str() + eq + 1);
    w::RankWeights& rw = suggester.weights;
    const std::pair<const char*, int*> fields[] = {{"distance", &rw.distance},
                                                   {"exact", &rw.exact},
                                                   {"commonBase", &rw.commonBase},
                                                   {"commonSlope", &rw.commonSlope},
                                                   {"hunspell", &rw.hunspell},
                                                   {"aspell", &rw.aspell},
                                                   {"apertium", &rw.apertium},
                                                   {"tesseract", &rw.tesseract},
                                                   {"guesses", &rw.guesses},
                                                   {"unknown", &rw.unknown},
                                                   {"guessScale", &rw.guessScale},
                                                   {"nasalConjunct", &rw.nasalConjunct},
                                                   {"candrabindu", &rw.candrabindu},
                                                   {"visarga", &rw.visarga},
                                                   {"nukta", &rw.nukta},
                                                   {"reading", &rw.reading},
                                                   {"guessBeam", &rw.guessBeam},
                                                   {"english", &rw.english},
                                                   {"keepGuess", &rw.keepGuess},
                                                   {"skeleton", &rw.skeleton},
                                                   {"finalVowel", &rw.finalVowel}};
    for (const auto& [name, field] : fields) {
      if (arg.compare(0, eq, name) == 0) *field = value;
    }
  }
  const long rssIndex = residentKilobytes();
  const auto indexStart = std::chrono::steady_clock::now();
  std::uint32_t rank = 0;
  for (std::u16string_view word : w::commonWords()) {
    suggester.add(w::devanagariNfc(word), w::kFromCommon, ++rank);
  }
  for (std::size_t i = 0; i < lists.words.size(); ++i) {
    const w::ListMask m = lists.words.lists(i);
    std::uint8_t from = 0;
    if (m & w::maskOf(w::WordList::kAspell)) from |= w::kFromAspell;
    if (m & w::maskOf(w::WordList::kHunspell)) from |= w::kFromHunspell;
    if (m & w::maskOf(w::WordList::kApertium)) from |= w::kFromApertium;
    if (m & w::maskOf(w::WordList::kTesseract)) from |= w::kFromTesseract;
    suggester.add(lists.words.word(i), from);
  }
  const double indexMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - indexStart)
          .count();
  const w::SpellCounts& spelled = suggester.spellCounts();
  std::printf("index: resident memory +%.1f MB\n", (residentKilobytes() - rssIndex) / 1e3);
  std::printf("index: %zu words in %.1f ms; not offered, as the scheme cannot spell them:",
              suggester.size(), indexMs);
  for (std::size_t r = 1; r < w::kSpellFailureCount; ++r) {
    std::printf(" %zu %s;", spelled.byResult[r], w::describe(static_cast<w::SpellFailure>(r)));
  }
  std::printf("\n");
  const Suggest suggest =
      only == "literal" ? Suggest(literalSuggest) : [&](std::string_view roman, std::size_t n) {
        std::vector<std::u16string> out;
        for (const w::Candidate& c : suggester.suggest(roman, n)) out.push_back(c.unicode);
        return out;
      };

  struct Set {
    const char* name;
    Loaded data;
  };
  std::vector<Set> sets;
  if (only.empty() || only == "literal" || only == "sentences") {
    sets.push_back({"sentences (by occurrence)", readSentences(dir + "/hi.romanized.aligned.tsv")});
  }
  if (only.empty() || only == "literal" || only == "test") {
    sets.push_back({"test words (by count)", readLexicon(dir + "/hi.translit.sampled.test.tsv")});
  }
  if (only.empty() || only == "literal" || only == "dev") {
    sets.push_back({"dev words (by count)", readLexicon(dir + "/hi.translit.sampled.dev.tsv")});
  }
  // Common words as people type them, written for Kavelin (not from the dataset).
  if (only.empty() || only == "literal" || only == "common") {
    sets.push_back({"common words as typed",
                    readLexicon(std::string(KAVELIN_SOURCE_DIR) + "/bench/data/common-typed.tsv")});
  }
  if (only == "train") {
    sets.push_back({"train words (by count)", readLexicon(dir + "/hi.translit.sampled.train.tsv")});
  }

  const auto start = std::chrono::steady_clock::now();
  for (const Set& set : sets) {
    if (set.data.items.empty()) {
      std::printf("%-28s no data\n", set.name);
      continue;
    }
    printAccuracy(set.name, set.data, score(set.data.items, suggest));
    // The sets reported on get the breakdown alone, never examples.
    const bool reported = std::string_view(set.name).rfind("sentences", 0) == 0 ||
                          std::string_view(set.name).rfind("test", 0) == 0;
    if (misses) printMisses(set.data.items, suggester, lists, reported ? 0 : misses);
    if (timing) printTiming(set.data.items, suggester);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("scored in %.1f s\n", seconds);
  if (only.empty()) {
    if (!sets[0].data.items.empty()) printCoverage("sentences", sets[0].data.items, lists.words);
    if (!sets[1].data.items.empty()) printCoverage("test words", sets[1].data.items, lists.words);
  }
  return 0;
}
