// SPDX-License-Identifier: GPL-3.0-or-later
// Key spellings: the Roman keys that make the engine type a given Hindi word.
//
// A spelling is built syllable by syllable from the key chart and then typed
// into the engine; only a spelling whose glyphs are the word's own glyph codes
// (unicodeToGlyphs), which read back as the word, is returned. When the first
// choice fails, the alternatives are tried (final a, ii/I for ee, M for ^ ...).
//
// Conventions, as the chart teaches them: a for the inherent vowel inside a
// word and none at its end (bhaarat, dharm); aa, ee, oo for the long vowels;
// ^ for the anusvara, * for the candrabindu, : for the visarga; lower case
// wherever a key allows it (Ksh, Gy, T, Th, D, Dh, N, Sh, R, O are capitals).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"

namespace kavelin::words {

// Why a word has no key spelling.
enum class SpellFailure : std::uint8_t {
  kNone,           // spelled
  kNotDevanagari,  // empty, or holds a character outside the Devanagari letters and signs
  kNoGlyph,        // the font cannot show it, or shows it as another word
  kNoKey,          // a letter or sign that no key types (क़, ञ, a final halant, ...)
  kNoMatch,        // every spelling tried gave other glyphs
};
constexpr std::size_t kSpellFailureCount = 5;

// A short English description of a failure, for reports.
const char* describe(SpellFailure failure);

struct SpellCounts {
  std::size_t words = 0;
  std::array<std::size_t, kSpellFailureCount> byResult{};  // indexed by SpellFailure
  std::size_t engineRuns = 0;                              // spellings typed into the engine
};

// Finds key spellings with one engine, reused for every word. Not
// thread-safe: use one speller per thread.
class KeySpeller {
 public:
  KeySpeller();

  // The key spelling of `word` (Devanagari in NFC) into `spelling`, or the
  // reason there is none (then `spelling` is empty).
  SpellFailure spell(std::u16string_view word, std::string& spelling);
  // The same for a word in UTF-8; invalid UTF-8 is kNotDevanagari.
  SpellFailure spellUtf8(std::string_view word, std::string& spelling);

  const SpellCounts& counts() const { return counts_; }
  void resetCounts() { counts_ = {}; }

  // The most spellings tried for one word.
  static constexpr int kMaxTries = 24;

 private:
  struct Slot {
    std::array<const char*, 3> choices{};
    std::uint8_t count = 0;
  };
  SpellFailure build(std::u16string_view word);
  bool tryChoice(std::string& spelling);
  SpellFailure finish(SpellFailure result, std::string& spelling);

  Engine engine_;
  std::vector<Slot> slots_;
  std::vector<std::uint8_t> chosen_;
  std::u16string typed_;
  std::u16string target_;  // the word's glyphs and the end-of-text space
  std::u16string utf16_;
  SpellCounts counts_;
};

// The key spelling of `word`, from a speller of the calling thread.
std::optional<std::string> keySpelling(std::u16string_view word);

}  // namespace kavelin::words
