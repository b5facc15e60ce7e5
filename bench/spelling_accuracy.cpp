// SPDX-License-Identifier: GPL-3.0-or-later
// How the spelling checker does on real Hindi prose: the share of the words
// of clean text it flags, and, for slips injected into known words (seeded),
// how many it catches and how often the word meant is its first correction
// or among its first five. Reads the Hindi side of the romanized sentences
// (../shared/data/romanized/, measuring data only), or with "train" or "dev"
// the native words of those lexicons, for tuning.
//
//   spelling_accuracy [DATA_DIR [sentences|train|dev]] [errors=N] [seed=S]
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "devanagari.h"
#include "spellcheck.h"
#include "suggestindex.h"
#include "text.h"
#include "wordlists.h"

namespace {

namespace w = kavelin::words;

bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The first column of each line, as UTF-16.
std::vector<std::u16string> firstColumn(const std::string& path) {
  std::vector<std::u16string> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    const std::string field = line.substr(0, line.find('\t'));
    if (field == "</s>") continue;
    std::u16string text;
    if (kavelin::decodeUtf8(field, text)) out.push_back(std::move(text));
  }
  return out;
}

bool isConsonant(char16_t c) { return c >= 0x0915 && c <= 0x0939; }
bool isSign(char16_t c) { return c >= 0x093E && c <= 0x094C; }

// One slip of a kind the checker is meant to undo, made at random into
// `word`; empty when the word offers no place for the kind drawn.
std::u16string injectSlip(const std::u16string& word, std::mt19937& rng) {
  std::uniform_int_distribution<int> kindOf(0, 9);
  std::uniform_int_distribution<std::size_t> at(0, word.size() - 1);
  const int kind = kindOf(rng);
  for (int tries = 0; tries < 8; ++tries) {
    std::u16string s = word;
    const std::size_t i = at(rng);
    const char16_t c = s[i];
    const char16_t next = i + 1 < s.size() ? s[i + 1] : 0;
    switch (kind) {
      case 0:  // vowel length
        if (c == u'ि' || c == u'ी' || c == u'ु' || c == u'ू') {
          s[i] = c == u'ि' ? u'ी' : c == u'ी' ? u'ि' : c == u'ु' ? u'ू' : u'ु';
          return s;
        }
        break;
      case 1:  // a vowel sign left out
        if (isSign(c)) return s.erase(i, 1);
        break;
      case 2:  // a vowel sign added
        if (isConsonant(c) && !isSign(next) && next != 0x094D && next != 0x093C) {
          return s.insert(i + 1, 1, u'ा');
        }
        break;
      case 3:  // nasals
        if (c == 0x0902) {
          s[i] = 0x0901;
          return s;
        }
        if (c == 0x0901) return s.erase(i, 1);
        if ((c == u'न' || c == u'म') && next == 0x094D && i + 2 < s.size()) {
          return s.replace(i, 2, u"ं");
        }
        break;
      case 4:  // nukta
        if (c == 0x093C) return s.erase(i, 1);
        if ((c == u'ज' || c == u'फ' || c == u'ड') && next != 0x093C)
          return s.insert(i + 1, 1, 0x093C);
        break;
      case 5:  // halant
        if (c == 0x094D) return s.erase(i, 1);
        break;
      case 6:  // sibilants
        if (c == u'ष' || c == u'श' || c == u'स') {
          s[i] = c == u'स' ? u'श' : u'स';
          return s;
        }
        break;
      case 7:  // ण/न
        if (c == u'ण' || c == u'न') {
          s[i] = c == u'ण' ? u'न' : u'ण';
          return s;
        }
        break;
      case 8:  // ब/व
        if (c == u'ब' || c == u'व') {
          s[i] = c == u'ब' ? u'व' : u'ब';
          return s;
        }
        break;
      case 9:  // two letters swapped
        if (isConsonant(c) && i + 2 < s.size() && isConsonant(s[i + 2]) && c != s[i + 2]) {
          std::swap(s[i], s[i + 2]);
          return s;
        }
        break;
    }
  }
  return {};
}

double percent(double part, double whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

}  // namespace

int main(int argc, char** argv) {
  const std::string dir =
      argc > 1 ? argv[1] : std::string(KAVELIN_SOURCE_DIR) + "/../shared/data/romanized";
  if (!isDirectory(dir)) {
    std::printf("spelling_accuracy: no data in %s; skipped\n", dir.c_str());
    return 0;
  }
  const std::string set =
      argc > 2 && argv[2][0] != '-' && !std::strchr(argv[2], '=') ? argv[2] : "sentences";
  std::size_t errors = 5000;
  std::size_t show = 0;  // "misses=N": N misses printed, for looking at
  unsigned seed = 20261207;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("errors=", 0) == 0) errors = std::strtoul(arg.c_str() + 7, nullptr, 10);
    if (arg.rfind("misses=", 0) == 0) show = std::strtoul(arg.c_str() + 7, nullptr, 10);
    if (arg.rfind("seed=", 0) == 0)
      seed = static_cast<unsigned>(std::strtoul(arg.c_str() + 5, nullptr, 10));
  }
  const std::string file = set == "train" ? "/hi.translit.sampled.train.tsv"
                           : set == "dev" ? "/hi.translit.sampled.dev.tsv"
                                          : "/hi.romanized.aligned.tsv";
  const std::vector<std::u16string> tokens = firstColumn(dir + file);

  const auto loadStart = std::chrono::steady_clock::now();
  const w::LoadedWords lists = w::loadWordLists();
  w::Suggester suggester;
  w::buildSuggester(suggester, lists, nullptr);
  w::SpellChecker checker(&lists.words, &suggester);
  std::printf(
      "word data: %s; ready in %.0f ms\n", lists.summary().c_str(),
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadStart)
          .count());

  // Clean text: every Devanagari word of the tokens, by occurrence.
  std::size_t words = 0;
  std::size_t flagged = 0;
  std::vector<std::u16string> knownWords;
  std::unordered_set<std::u16string> seenKnown;
  for (const std::u16string& token : tokens) {
    for (const w::TextWord& tw : w::devanagariWords(token, false)) {
      ++words;
      if (!checker.known(tw.unicode)) {
        ++flagged;
      } else if (tw.unicode.size() > 1 && seenKnown.insert(tw.unicode).second) {
        knownWords.push_back(tw.unicode);
      }
    }
  }
  std::printf("%s: %zu words of clean text, %zu flagged: %.1f %%\n", set.c_str(), words, flagged,
              percent(flagged, words));

  // Slips injected into known words, by occurrence of distinct words drawn at
  // random; only those that make a word in no list count (non-word errors).
  std::mt19937 rng(seed);
  std::uniform_int_distribution<std::size_t> pick(0,
                                                  knownWords.empty() ? 0 : knownWords.size() - 1);
  std::size_t made = 0, caught = 0, first = 0, five = 0, realWord = 0;
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t tries = 0; made < errors && tries < errors * 20 && !knownWords.empty();
       ++tries) {
    const std::u16string& meant = knownWords[pick(rng)];
    std::u16string typo = w::devanagariNfc(injectSlip(meant, rng));
    if (typo.empty() || typo == meant) continue;
    if (checker.known(typo)) {
      ++realWord;  // a real-word error: no checker of single words sees it
      continue;
    }
    ++made;
    const std::vector<w::SpellChecker::Unknown> found = checker.check(typo, false);
    if (found.size() != 1) continue;
    ++caught;
    const std::vector<std::u16string>& fixes = found[0].corrections;
    if (!fixes.empty() && fixes[0] == meant) ++first;
    bool in = false;
    for (const std::u16string& f : fixes) in |= f == meant;
    five += in ? 1 : 0;
    if (!in && show > 0) {
      --show;
      std::string line = kavelin::encodeUtf8(typo) + "\t" + kavelin::encodeUtf8(meant) + "\t|";
      for (const std::u16string& f : fixes) line += " " + kavelin::encodeUtf8(f);
      std::printf("  missed: %s\n", line.c_str());
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("injected: %zu non-word errors (%zu real-word ones skipped, seed %u)\n", made,
              realWord, seed);
  std::printf("caught %.1f %%, right word first %.1f %%, among the first five %.1f %%\n",
              percent(caught, made), percent(first, made), percent(five, made));
  std::printf("corrections: %.2f ms a word\n", made ? 1000.0 * seconds / made : 0.0);
  return 0;
}
