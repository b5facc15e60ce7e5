// SPDX-License-Identifier: GPL-3.0-or-later
// Spelling: the Devanagari words of a text, in glyph codes or Unicode, checked
// against the word data (the installed lists, the common words, the user's
// store), and corrections for those not known, from the words' own sounds
// (the suggestion engine) and from the slips typical of written Hindi.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "keyspelling.h"
#include "suggest.h"
#include "wordlists.h"

namespace kavelin::words {

// One word of a text: where it stands, in the text's own code units, and its
// Unicode (NFC, without joiners).
struct TextWord {
  std::size_t begin = 0;
  std::size_t length = 0;
  std::u16string unicode;
};

// The Devanagari words of `text`. In glyph codes a word is a run of codes that
// show Devanagari, converted as one piece (so a short i or a reph stays with
// its word); codes that show only punctuation, digits or spaces end it. In
// Unicode a word is a run of Devanagari letters and signs (ZWJ and ZWNJ
// inside it included); dandas, Devanagari digits and anything else end it.
std::vector<TextWord> devanagariWords(std::u16string_view text, bool glyphs);

// A slip made into a word, as the corrections undo it.
enum class Slip : std::uint8_t {
  kVowelLength,  // ि/ी, ु/ू, इ/ई, उ/ऊ
  kVowelSign,    // a vowel sign left out, added or another one
  kNasal,        // anusvara, candrabindu, a nasal consonant with halant
  kNukta,
  kHalant,
  kSibilant,  // ष/श/स
  kRetroflexN,
  kBaVa,
  kSwap,  // two letters swapped
};
inline constexpr std::size_t kSlipCount = 9;

// Every word one slip away from `word` (Unicode, NFC), with the slip.
std::vector<std::pair<std::u16string, Slip>> slipsAway(std::u16string_view word);

class SpellChecker {
 public:
  // The word data: `lists` and `suggester` (which also holds the common and
  // the user's words) must outlive the checker; either may be null.
  SpellChecker(const WordSet* lists, Suggester* suggester);

  // Known: in the word data, added, or ignored. `word` is NFC Unicode.
  bool known(std::u16string_view word);
  // Up to five corrections, best first, as Unicode; cached per word.
  const std::vector<std::u16string>& corrections(std::u16string_view word);

  // "Add to Dictionary" (kept by the caller in the user's store) and
  // "Ignore All": the word is known from now on.
  void addWord(std::u16string_view word);
  void ignoreWord(std::u16string_view word);
  // Words added to the word data elsewhere: forget what was cached.
  void clearCache();

  struct Unknown {
    TextWord word;
    std::vector<std::u16string> corrections;  // Unicode
  };
  // The unknown words of a text, with their corrections when `withCorrections`.
  std::vector<Unknown> check(std::u16string_view text, bool glyphs, bool withCorrections = true);

 private:
  int prior(std::u16string_view word) const;

  const WordSet* lists_;
  Suggester* suggester_;
  KeySpeller speller_;
  std::unordered_set<std::u16string> extra_;
  std::unordered_map<std::u16string, bool> knownCache_;
  std::unordered_map<std::u16string, std::vector<std::u16string>> corrections_;
};

}  // namespace kavelin::words
