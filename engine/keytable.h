// SPDX-License-Identifier: GPL-3.0-or-later
// The Roman vocabulary of the transliterator: the pass-through set, the
// punctuation table and the key table in its 27 groups, each in test order.
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "text.h"

namespace kavelin {

struct KeyRow {
  int group;                // 1..27
  std::u16string key;       // 1 to 4 ASCII characters
  GlyphString glyph;        // 1 to 4 font codes
};

struct PunctuationRow {
  std::u16string key;       // one character
  GlyphString glyph;
};

constexpr int kGroupCount = 27;
constexpr std::size_t kKeyRowCount = 147;
constexpr std::size_t kPunctuationRowCount = 18;

class KeyTable {
 public:
  static const KeyTable& instance();

  // "0".."9" and "!": handed to convrt as both key and glyph string.
  static bool isPassThrough(char16_t c) { return (c >= u'0' && c <= u'9') || c == u'!'; }

  const std::vector<KeyRow>& rows() const { return rows_; }
  const std::array<PunctuationRow, kPunctuationRowCount>& punctuation() const {
    return punctuation_;
  }

  // The punctuation row whose key is `c`, or null.
  const PunctuationRow* punctuationFor(char16_t c) const {
    return c < 128 ? punctuationByChar_[c] : nullptr;
  }

  // The group (1..27) whose keys begin with `c`, or 0.
  int groupOf(char16_t c) const { return c < 128 ? groupByLead_[c] : 0; }

  // Rows of one group, in test order.
  const KeyRow* groupBegin(int group) const { return rows_.data() + groupStart_[group]; }
  const KeyRow* groupEnd(int group) const { return rows_.data() + groupStart_[group + 1]; }

  // The first row of `group` that `buffer` begins with, or null. Since no key
  // is preceded in its group by a prefix of it, that is the longest such key.
  const KeyRow* match(int group, std::u16string_view buffer) const;

  // True when some key of the three tables begins with the whole of `text`,
  // so that further characters may still complete a key.
  bool isKeyPrefix(std::u16string_view text) const;

 private:
  KeyTable();
  std::vector<KeyRow> rows_;
  std::array<PunctuationRow, kPunctuationRowCount> punctuation_;
  std::array<std::size_t, kGroupCount + 2> groupStart_{};
  std::array<int, 128> groupByLead_{};
  std::array<const PunctuationRow*, 128> punctuationByChar_{};
  std::vector<std::u16string> prefixes_;  // sorted prefixes of every key

  // Keys of the key table as a trie over ASCII; node 0 is the root and a
  // child index of 0 means no child.
  struct TrieNode {
    std::array<std::uint16_t, 128> next{};
    const KeyRow* row = nullptr;
  };
  std::vector<TrieNode> trie_;
};

}  // namespace kavelin
