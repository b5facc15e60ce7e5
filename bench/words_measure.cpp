// SPDX-License-Identifier: GPL-3.0-or-later
// Measures key spellings and loose keys on romanized word lists (native TAB
// roman TAB count): how many native words the scheme spells, how often the
// loose key of what people wrote equals the loose key of the word's spelling
// (weighted by count), and how large the loose key's buckets grow.
// Usage: words_measure [--show N] FILE...  (tune on the train and dev lists only)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "keyspelling.h"
#include "loosekey.h"

using namespace kavelin::words;

namespace {

struct Row {
  std::string native;
  std::string roman;
  long count = 0;
};

struct Variant {
  const char* name;
  LooseOptions options;
};

}  // namespace

int main(int argc, char** argv) {
  int show = 0;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--show" && i + 1 < argc) {
      show = std::atoi(argv[++i]);
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    std::cerr << "usage: words_measure [--show N] FILE...\n";
    return 2;
  }
  std::vector<Row> rows;
  for (const std::string& file : files) {
    std::ifstream in(file);
    if (!in) {
      std::cerr << "cannot read " << file << "\n";
      return 1;
    }
    std::string line;
    while (std::getline(in, line)) {
      const std::size_t t1 = line.find('\t');
      const std::size_t t2 = line.find('\t', t1 + 1);
      if (t1 == std::string::npos || t2 == std::string::npos) continue;
      rows.push_back(
          {line.substr(0, t1), line.substr(t1 + 1, t2 - t1 - 1), std::atol(line.c_str() + t2 + 1)});
    }
  }

  // Spell every distinct native word once.
  std::unordered_map<std::string, std::string> spelled;
  std::map<std::string, SpellFailure> failed;
  KeySpeller speller;
  std::vector<std::string> natives;
  for (const Row& r : rows) {
    if (spelled.count(r.native) || failed.count(r.native)) continue;
    natives.push_back(r.native);
    spelled[r.native];
    failed[r.native];
  }
  spelled.clear();
  failed.clear();
  std::string spelling;
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& w : natives) {
    const SpellFailure f = speller.spellUtf8(w, spelling);
    if (f == SpellFailure::kNone) {
      spelled.emplace(w, spelling);
    } else {
      failed.emplace(w, f);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const SpellCounts& counts = speller.counts();
  std::printf(
      "rows %zu, distinct native words %zu, spelled %zu (%.2f %%), %.2f us a word, "
      "%.2f engine runs a word\n",
      rows.size(), natives.size(), spelled.size(), 100.0 * spelled.size() / natives.size(),
      1e6 * seconds / natives.size(), double(counts.engineRuns) / natives.size());
  for (std::size_t f = 1; f < kSpellFailureCount; ++f) {
    std::printf("  %-36s %zu\n", describe(static_cast<SpellFailure>(f)), counts.byResult[f]);
  }
  int shown = 0;
  for (const auto& [w, f] : failed) {
    if (shown++ >= show) break;
    std::fprintf(stderr, "unspelled\t%s\t%s\n", w.c_str(), describe(f));
  }

  auto variant = [](const char* name, bool LooseOptions::*flag) {
    Variant v{name, {}};
    if (flag) v.options.*flag = !(v.options.*flag);
    return v;
  };
  const Variant variants[] = {
      variant("default", nullptr),
      variant("ai != e", &LooseOptions::mergeAiE),
      variant("au != o", &LooseOptions::mergeAuO),
      variant("final a kept", &LooseOptions::dropFinalA),
      variant("R as r", &LooseOptions::hardRAsD),
      variant("y dropped between vowels", &LooseOptions::dropYBetweenVowels),
      variant("c kept", &LooseOptions::cAsK),
      variant("medial a kept", &LooseOptions::dropMedialA),
      variant("final nasal dropped", &LooseOptions::dropFinalNasal),
      variant("m before a schwa kept", &LooseOptions::nasalAfterSchwa),
  };
  for (const Variant& v : variants) {
    long agree = 0;
    long total = 0;
    long agreeRows = 0;
    long spelledRows = 0;
    std::unordered_map<std::string, int> bucket;
    std::string key;
    for (const auto& [w, s] : spelled) {
      looseKey(s, key, v.options);
      ++bucket[key];
    }
    int mismatchesShown = 0;
    for (const Row& r : rows) {
      const auto found = spelled.find(r.native);
      if (found == spelled.end()) continue;
      ++spelledRows;
      total += r.count;
      const std::string typed = looseKey(r.roman, v.options);
      if (typed == looseKey(found->second, v.options)) {
        agree += r.count;
        ++agreeRows;
      } else if (&v == &variants[0] && mismatchesShown++ < show) {
        std::fprintf(stderr, "mismatch\t%s\t%s\t%s\t%s\n", r.roman.c_str(), found->second.c_str(),
                     typed.c_str(), looseKey(found->second, v.options).c_str());
      }
    }
    double expected = 0;
    int largest = 0;
    for (const auto& [k, size] : bucket) {
      expected += double(size) * size;
      largest = std::max(largest, size);
    }
    std::printf(
        "%-22s agreement %.2f %% by count (%.2f %% of rows); %zu keys for %zu words, "
        "bucket of a word %.2f on average, largest %d\n",
        v.name, 100.0 * agree / total, 100.0 * agreeRows / spelledRows, bucket.size(),
        spelled.size(), expected / spelled.size(), largest);
  }
  return 0;
}
