// SPDX-License-Identifier: GPL-3.0-or-later
#include "keytable.h"

#include <algorithm>
#include <stdexcept>

namespace kavelin {
namespace {

struct RawRow {
  int group;
  const char* key;
  const char* codes;  // font codes as bytes
};

// Key table in test order: group by group, row by row. Where keys share a
// beginning the longer key stands first.
constexpr RawRow kKeyRows[] = {
    {1, "A", "vk"},
    {1, "a", "v"},
    {2, "e", ","},
    {3, "I", "\xC3"},
    {3, "i", "b"},
    {4, "oM", "\xC5\xA1"},
    {4, "o", "vks"},
    {5, "U", "\xC5"},
    {5, "u", "m"},
    {6, "Ksh", "{k"},
    {6, "khr", "[kz"},
    {6, "kh", "[k"},
    {6, "kr", "\xD8"},
    {6, "kR", "\xD1"},
    {6, "k", "d"},
    {7, "x", "Dl"},
    {8, "ghR", "?k`"},
    {8, "ghr", "?kz"},
    {8, "gh", "?k"},
    {8, "Gy", "K"},
    {8, "gr", "xz"},
    {8, "gR", "x`"},
    {8, "g", "x"},
    {9, "chhr", "N\xAA"},
    {9, "chh", "N"},
    {9, "chr", "Pkz"},
    {9, "chR", "Pk`"},
    {9, "cr", "\xD8"},
    {9, "cR", "d`"},
    {9, "ch", "Pk"},
    {9, "ck", "d"},
    {9, "c", "d"},
    {10, "quit", "fDoV"},
    {10, "qui", "fDo"},
    {10, "qu", "Do"},
    {10, "q", "d"},
    {11, "jhr", ">z"},
    {11, "jhR", ">`"},
    {11, "jh", ">"},
    {11, "jr", "tz"},
    {11, "jR", "t`"},
    {11, "j", "t"},
    {12, "z", "t+"},
    {13, "th", "Fk"},
    {13, "Th", "B"},
    {13, "tr", "\xABk"},
    {13, "tR", "r`"},
    {13, "Tr", "V\xAA"},
    {13, "t", "r"},
    {13, "T", "V"},
    {14, "dhr", "/kz"},
    {14, "dhR", "/k`"},
    {14, "Dhr", "<\xAA"},
    {14, "dh", "/k"},
    {14, "Dh", "<"},
    {14, "Dr", "M\xAA"},
    {14, "dR", "n`"},
    {14, "dr", "\xE6"},
    {14, "D", "M"},
    {14, "d", "n"},
    {15, "nr", "uz"},
    {15, "nR", "u`"},
    {15, "N", ".k"},
    {15, "n", "u"},
    {16, "phr", "\xDD"},
    {16, "phR", "Q`"},
    {16, "ph", "Q"},
    {16, "pr", "\xE7"},
    {16, "pR", "i`"},
    {16, "p", "i"},
    {17, "fr", "\xDD"},
    {17, "fR", "Q`"},
    {17, "f", "Q"},
    {18, "bhr", "Hkz"},
    {18, "bhR", "Hk`"},
    {18, "bh", "Hk"},
    {18, "bR", "c`"},
    {18, "br", "cz"},
    {18, "b", "c"},
    {19, "mR", "e`"},
    {19, "mr", "ez"},
    {19, "m", "e"},
    {20, "yR", ";`"},
    {20, "yr", ";z"},
    {20, "y", ";"},
    {21, "rchh", "NZ"},
    {21, "rbh", "\x93Z"},
    {21, "rch", "PkZ"},
    {21, "rdh", "/kZ"},
    {21, "rDh", "<Z"},
    {21, "rgh", "?kZ"},
    {21, "rjh", ">Z"},
    {21, "rkh", "[kZ"},
    {21, "rph", "QZ"},
    {21, "rsh", "'kZ"},
    {21, "rSh", "\"kZ"},
    {21, "rth", "FkZ"},
    {21, "rTh", "BZ"},
    {21, "rzh", ">Z"},
    {21, "rb", "cZ"},
    {21, "rc", "dZ"},
    {21, "rd", "nZ"},
    {21, "rD", "MZ"},
    {21, "rf", "QZ"},
    {21, "rg", "xZ"},
    {21, "rh", "gZ"},
    {21, "rj", "tZ"},
    {21, "rk", "dZ"},
    {21, "rl", "yZ"},
    {21, "rm", "eZ"},
    {21, "rn", "uZ"},
    {21, "rN", ".kZ"},
    {21, "rp", "iZ"},
    {21, "rq", "dZ"},
    {21, "rr", "jZ"},
    {21, "rs", "lZ"},
    {21, "rS", "\"kZ"},
    {21, "rt", "rZ"},
    {21, "rT", "VZ"},
    {21, "rv", "oZ"},
    {21, "rw", "oZ"},
    {21, "rx", "DZl"},
    {21, "ry", ";Z"},
    {21, "rz", "tZ"},
    {21, "R", "M+"},
    {21, "r", "j"},
    {22, "lR", "y`"},
    {22, "lr", "yz"},
    {22, "l", "y"},
    {23, "vR", "o`"},
    {23, "vr", "oz"},
    {23, "v", "o"},
    {24, "wR", "o`"},
    {24, "wr", "oz"},
    {24, "w", "o"},
    {25, "Shr", "\"kz"},
    {25, "ShR", "\"k`"},
    {25, "shr", "J"},
    {25, "sh", "'k"},
    {25, "Sh", "\"k"},
    {25, "sR", "l`"},
    {25, "sr", "J"},
    {25, "s", "l"},
    {26, "hR", "g`"},
    {26, "hr", "_"},
    {26, "h", "g"},
    {27, " ", " "},
};

struct RawPunctuation {
  char key;
  const char* codes;
};

constexpr RawPunctuation kPunctuationRows[] = {
    {'+', "$"},   {'*', "\xA1"}, {'\\', "k~"}, {':', "%"},  {'-', "&"},    {';', "("},
    {'?', "\\"},  {'/', "@"},    {'.', "-"},   {'|', "A"},  {',', "]"},    {'(', "\xBC"},
    {')', "\xBD"}, {'{', "\xBF"}, {'}', "\xC0"}, {'=', "\xBE"}, {'\'', "*"}, {'`', "^"},
};

}  // namespace

const KeyTable& KeyTable::instance() {
  static const KeyTable table;
  return table;
}

KeyTable::KeyTable() {
  static_assert(sizeof(kKeyRows) / sizeof(kKeyRows[0]) == kKeyRowCount);
  static_assert(sizeof(kPunctuationRows) / sizeof(kPunctuationRows[0]) == kPunctuationRowCount);
  rows_.reserve(kKeyRowCount);
  int lastGroup = 0;
  for (const RawRow& r : kKeyRows) {
    if (r.group < lastGroup || r.group > kGroupCount) throw std::logic_error("key table order");
    while (lastGroup < r.group) groupStart_[++lastGroup] = rows_.size();
    rows_.push_back({r.group, latin1(r.key), glyphFromCodes(r.codes)});
  }
  groupStart_[kGroupCount + 1] = rows_.size();
  for (const KeyRow& row : rows_) {
    const char16_t lead = row.key.front();
    if (groupByLead_[lead] != 0 && groupByLead_[lead] != row.group) {
      throw std::logic_error("a character begins keys of two groups");
    }
    groupByLead_[lead] = row.group;
  }
  for (std::size_t i = 0; i < kPunctuationRowCount; ++i) {
    punctuation_[i] = {std::u16string(1, static_cast<char16_t>(kPunctuationRows[i].key)),
                       glyphFromCodes(kPunctuationRows[i].codes)};
    punctuationByChar_[static_cast<unsigned char>(kPunctuationRows[i].key)] = &punctuation_[i];
  }

  trie_.emplace_back();
  for (const KeyRow& row : rows_) {
    std::size_t node = 0;
    for (char16_t c : row.key) {
      if (c >= 128) throw std::logic_error("keys are ASCII");
      if (!trie_[node].next[c]) {
        trie_[node].next[c] = static_cast<std::uint16_t>(trie_.size());
        trie_.emplace_back();
      }
      node = trie_[node].next[c];
    }
    trie_[node].row = &row;
  }

  auto addPrefixes = [this](const std::u16string& key) {
    for (std::size_t len = 1; len <= key.size(); ++len) prefixes_.push_back(key.substr(0, len));
  };
  for (const KeyRow& row : rows_) addPrefixes(row.key);
  for (const PunctuationRow& row : punctuation_) addPrefixes(row.key);
  for (char16_t c : std::u16string(u"0123456789!")) addPrefixes(std::u16string(1, c));
  std::sort(prefixes_.begin(), prefixes_.end());
  prefixes_.erase(std::unique(prefixes_.begin(), prefixes_.end()), prefixes_.end());
}

const KeyRow* KeyTable::match(int group, std::u16string_view buffer) const {
  if (buffer.empty() || groupOf(buffer[0]) != group) return nullptr;
  const KeyRow* longest = nullptr;
  std::size_t node = 0;
  for (char16_t c : buffer) {
    if (c >= 128 || !(node = trie_[node].next[c])) break;
    if (trie_[node].row) longest = trie_[node].row;
  }
  return longest;
}

bool KeyTable::isKeyPrefix(std::u16string_view text) const {
  return std::binary_search(prefixes_.begin(), prefixes_.end(), text,
                            [](std::u16string_view a, std::u16string_view b) { return a < b; });
}

}  // namespace kavelin
