// SPDX-License-Identifier: GPL-3.0-or-later
// A letter model of key spellings, and spellings guessed from what was typed.
//
// The model counts the key tokens (k, kh, aa, ^, ...) of the key spellings of
// the words in the index, in n-grams, and gives the cost (-ln P) of a
// spelling: how much it looks like a Hindi word as the chart spells it.
// The guesser turns a Roman word as typed into likely key spellings, sound by
// sound (t as t, T, th; i as i, ee; a schwa left out between consonants; a
// final nasal left out ...), each costed by the change and by the model, so
// that words no list holds can be offered too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavelin::words {

// The key tokens of a spelling, longest first ("chh" before "ch"); false when
// it holds a letter that is no key token.
bool keyTokens(std::string_view spelling, std::vector<std::uint8_t>& tokens);
// The keys of a token ("" for 0, the word's start and end).
std::string_view tokenKeys(std::uint8_t token);

class SpellingModel {
 public:
  static constexpr int kOrder = 5;  // tokens in an n-gram, the word's end included

  SpellingModel();

  // Counts the n-grams of one spelling; false (and nothing counted) when it
  // holds no key tokens.
  bool add(std::string_view spelling);

  // -ln P of the token `next` after the tokens `history` (the most recent
  // last; 0 is the word's start and end), interpolated with absolute
  // discounting down to a uniform choice.
  float cost(const std::uint8_t* history, std::size_t size, std::uint8_t next);

  // The cost of a whole spelling, its end included; a large cost when it
  // holds no key tokens.
  float spellingCost(std::string_view spelling);

  std::size_t words() const { return words_; }
  std::size_t memoryBytes() const;

 private:
  // Open addressing from 64-bit keys to counts; key 0 is never used.
  class Counts {
   public:
    // Adds to the key's count and returns the new count.
    std::uint32_t add(std::uint64_t key, std::uint32_t amount);
    std::uint32_t get(std::uint64_t key) const;
    std::size_t memoryBytes() const { return keys_.size() * 12; }

   private:
    void grow();
    std::vector<std::uint64_t> keys_;
    std::vector<std::uint32_t> values_;
    std::size_t used_ = 0;
  };
  std::uint32_t* denseSlot(std::uint64_t type, const std::uint8_t* last, std::size_t size);
  std::uint32_t addCount(std::uint64_t type, const std::uint8_t* last, std::size_t size);
  std::uint32_t getCount(std::uint64_t type, const std::uint8_t* last, std::size_t size);

  static constexpr std::size_t kMaxMemo = std::size_t{1} << 18;

  Counts counts_;
  std::vector<std::uint32_t> dense_;
  std::unordered_map<std::uint64_t, float> memo_;
  std::vector<std::uint8_t> scratch_;
  std::size_t words_ = 0;
  std::size_t tokens_ = 0;  // tokens counted, word ends included
};

// A guessed spelling and its cost (the changes made to what was typed, plus
// the model's cost), lowest first.
struct Guess {
  std::string spelling;
  float cost = 0;
};

// Up to `n` distinct spellings for `typed` (ASCII letters; others skipped),
// best first, searched with `beam` partial spellings kept at each letter.
std::vector<Guess> guessSpellings(std::string_view typed, SpellingModel& model, std::size_t n,
                                  std::size_t beam = 48);

}  // namespace kavelin::words
