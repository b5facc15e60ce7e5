// SPDX-License-Identifier: GPL-3.0-or-later
// Word suggestions: the Hindi words a Roman word as typed may mean, best
// first, each with the key spelling that makes the engine type it exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine.h"
#include "keyspelling.h"
#include "spellmodel.h"
#include "text.h"

namespace kavelin::words {

// The lists a word was found in; a word may be in several.
enum WordSource : std::uint8_t {
  kFromCommon = 1,      // the program's own list of the most common words
  kFromHunspell = 2,    // hunspell-hi
  kFromAspell = 4,      // aspell-hi
  kFromApertium = 8,    // apertium-hin's inflected forms
  kFromUser = 16,       // the user's own word store
  kFromTesseract = 32,  // tesseract-ocr-hin's words, frequent in written text
};

struct Candidate {
  std::u16string unicode;  // NFC
  GlyphString glyphs;      // as the engine types the spelling
  std::string spelling;    // the keys that type it
  int cost = 0;            // lower is better
  bool known = true;       // false for a word in no list: a guess, or the literal conversion
};

// How the ranking weighs a candidate, in the tenths of looseDistance: its
// cost is distance * `distance` less what is known of the word, plus the
// shapes the typed letters do not ask for; a guessed word in no list costs
// `unknown` more, and more again as its guess is less likely.
struct RankWeights {
  int distance = 3;
  int exact = 0;        // typed exactly as the word's key spelling
  int commonBase = 35;  // a common word of rank r gains commonBase - commonSlope * log2(r)
  int commonSlope = 3;
  int hunspell = 8;  // in the smaller, curated list
  int aspell = 3;
  int apertium = 3;
  int tesseract = 3;
  int userBase = 20;  // a word of the user's gains userBase + userSlope * log2(1 + count)
  int userSlope = 6;
  // Spellings guessed from the typed letters (spellmodel.h): how many are
  // tried, what a word in no list costs, and the weight of a guess's cost
  // beyond the best guess's, per unit of -ln P.
  int guesses = 20;
  int guessBeam = 48;  // partial spellings kept at each letter
  int unknown = 6;
  int guessScale = 5;
  // Shapes the typed letters do not ask for (see shapeCost).
  int nasalConjunct = 20;
  int candrabindu = 10;
  int visarga = 6;
  int nukta = 10;      // ज़, which most writing leaves as ज
  int reading = 0;     // a word found by another reading of the typed letters
  int english = 10;    // a word found by reading the letters as English spelling
  int keepGuess = 5;   // the best unlisted word stays within this many places (0: no)
  int skeleton = 10;   // a common word whose consonants alone were typed (h / है)
  int finalVowel = 6;  // the word ends in a vowel and the typed letters do not, or the reverse
};

class Suggester {
 public:
  Suggester();

  RankWeights weights;

  // Adds a word (Devanagari, NFC) from `sources`; `commonRank` is its place in
  // the common list (1 = most common, 0 = not there). A word added again gains
  // the new sources. False when the scheme cannot spell it: it is not offered.
  bool add(std::u16string_view word, std::uint8_t sources, std::uint32_t commonRank = 0);

  // How often the user picked or kept the word; its weight in the ranking.
  // The word is added when it is new and spellable.
  void setUserCount(std::u16string_view word, std::uint32_t count);

  // Up to `n` candidates for `typed` (ASCII Roman letters), best first: the
  // listed words of its loose key and of the spellings guessed from its
  // letters, and guessed words in no list (known = false), which rank below
  // listed ones of a like cost. What the typed letters give literally is
  // among them whenever n > 1 and a list knows it, and first when nothing
  // ranks better; an unknown literal word ranks as any guess.
  std::vector<Candidate> suggest(std::string_view typed, std::size_t n);

  // What is known of an indexed word before anything is typed (its place in
  // the common list, its lists, the user's count), in the ranking's units;
  // nothing when the word is not in the index.
  std::optional<int> prior(std::u16string_view word) const;

  std::size_t size() const { return entries_.size(); }
  // Why words were not added, counted since the start.
  const SpellCounts& spellCounts() const { return speller_.counts(); }

 private:
  struct Entry {
    std::u16string word;
    std::string spelling;
    std::uint32_t commonRank = 0;
    std::uint32_t userCount = 0;
    std::uint8_t sources = 0;
  };
  int priorBonus(const Entry& e) const;
  int shapeCost(std::string_view typed, std::string_view spelling) const;
  int knownCost(std::string_view typed, const Entry& e) const;
  std::int64_t find(std::u16string_view word) const;

  KeySpeller speller_;
  SpellingModel model_;
  Engine literal_;
  std::vector<Entry> entries_;
  std::unordered_map<std::u16string, std::uint32_t> byWord_;
  std::unordered_map<std::string, std::vector<std::uint32_t>> byKey_;
  std::unordered_map<std::string, std::vector<std::uint32_t>> bySkeleton_;  // common words
  std::string spelling_, key_;
};

}  // namespace kavelin::words
