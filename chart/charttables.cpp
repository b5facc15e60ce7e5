// SPDX-License-Identifier: GPL-3.0-or-later
#include "charttables.h"

#include <map>

namespace kavelin::chart {
namespace {

struct RawEntry {
  const char* key;
  const char* codes;
};

struct RawFamilyRow {
  const char* letter;
  int row;
  const char* key;
  const char* codes;
};

constexpr RawEntry kSwar[] = {
    {" ", " "},
    {"a", "v"},
    {"aa, A", "vk"},
    {"i", "b"},
    {"ee, I", "\xC3"},
    {"u", "m"},
    {"oo, U", "\xC5"},
    {"e", ","},
    {"ai", ",s"},
    {"o, oM", "vks \xC5\xA1"},
    {"au", "vkS"},
    {"aM", "va"},
    {"aH", "v%"},
    {"O", "vkW"},
};

constexpr RawEntry kVyanjan[] = {
    {"k", "d"},
    {"kh", "[k"},
    {"g", "x"},
    {"gh", "?k"},
    {"R", "M+"},
    {"ch", "p"},
    {"chh", "N"},
    {"j", "t"},
    {"jh", ">"},
    {"T", "V"},
    {"Th", "B"},
    {"D", "M"},
    {"Dh", "<"},
    {"N", ".k"},
    {"t", "r"},
    {"th", "Fk"},
    {"d", "n"},
    {"dh", "/k"},
    {"n", "u"},
    {"p", "i"},
    {"f", "Q"},
    {"b", "c"},
    {"bh", "Hk"},
    {"m", "e"},
    {"y", ";"},
    {"r", "j"},
    {"l", "y"},
    {"v", "o"},
    {"s", "l"},
    {"sh", "'k"},
    {"Sh", "\"k"},
    {"h", "g"},
    {"Ksh", "{k"},
    {"tr", "\xE9"},
    {"Gy", "K"},
};

constexpr RawEntry kOverrides[] = {
    {"a", "v"},
    {"aa", "vk"},
    {"i", "b"},
    {"ee", "bZ"},
    {"u", "m"},
    {"oo", "\xC5"},
    {"e", ","},
    {"ai", ",s"},
    {"o", "vks"},
    {"au", "vkS"},
    {"aM", "va"},
    {"aH", "v%"},
    {"O", "vkW"},
    {"ru", "#"},
    {"roo", ":"},
};

constexpr RawFamilyRow kFamilies[] = {
    {"a", 0, "a", "v"},
    {"a", 1, "A", "vk"},
    {"a", 2, "aa", "vk"},
    {"a", 3, "ai", ",s"},
    {"a", 4, "au", "vkS"},
    {"a", 5, "aM", "a"},
    {"a", 6, "aH", "%"},
    {"b", 0, "b", "c"},
    {"b", 1, "br", "cz"},
    {"b", 2, "bR", "c`"},
    {"b", 3, "bh", "Hk"},
    {"b", 4, "bhr", "Hkz"},
    {"b", 5, "bhR", "Hk`"},
    {"c", 0, "c", "d"},
    {"c", 1, "ck", "d"},
    {"c", 2, "ch", "p"},
    {"c", 3, "chr", "pz"},
    {"c", 4, "chR", "p`"},
    {"c", 5, "cr", "\xD8"},
    {"c", 6, "cR", "d`"},
    {"c", 7, "chh", "N"},
    {"c", 8, "chhr", "N\xAA"},
    {"d", 0, "d", "n"},
    {"d", 1, "dr", "\xE6"},
    {"d", 2, "dR", "n`"},
    {"d", 3, "dh", "/k"},
    {"d", 4, "dhr", "/kz"},
    {"d", 5, "dhR", "/k`"},
    {"d", 6, "D", "M"},
    {"d", 7, "Dr", "M\xAA"},
    {"d", 8, "Dh", "<"},
    {"d", 9, "Dhr", "<\xAA"},
    {"e", 0, "e", ","},
    {"e", 1, "ea", "\xC3"},
    {"e", 2, "ee", "\xC3"},
    {"f", 0, "f", "Q"},
    {"f", 1, "fr", "\xDD"},
    {"f", 2, "fR", "Q`"},
    {"g", 0, "g", "x"},
    {"g", 1, "gr", "xz"},
    {"g", 2, "gR", "x`"},
    {"g", 3, "gh", "?k"},
    {"g", 4, "ghr", "?kz"},
    {"g", 5, "ghR", "?k`"},
    {"g", 6, "gy", "K"},
    {"h", 0, "h", "g"},
    {"h", 1, "hr", "_"},
    {"h", 2, "hR", "g`"},
    {"i", 0, "i", "b"},
    {"i", 1, "I", "\xC3"},
    {"j", 0, "j", "t"},
    {"j", 1, "jr", "tz"},
    {"j", 2, "jR", "t`"},
    {"j", 3, "jh", ">"},
    {"j", 4, "jhr", ">z"},
    {"j", 5, "jhR", ">`"},
    {"k", 0, "k", "d"},
    {"k", 1, "kr", "\xD8"},
    {"k", 2, "kR", "d`"},
    {"k", 3, "kh", "[k"},
    {"k", 4, "khr", "[kz"},
    {"k", 5, "khR", "[k`"},
    {"k", 6, "Ksh", "{k"},
    {"l", 0, "l", "y"},
    {"l", 1, "lr", "yz"},
    {"l", 2, "lR", "y`"},
    {"m", 0, "m", "e"},
    {"m", 1, "mr", "ez"},
    {"m", 2, "mR", "e`"},
    {"n", 0, "n", "u"},
    {"n", 1, "nr", "uz"},
    {"n", 2, "nR", "u`"},
    {"n", 3, "N", ".k"},
    {"o", 0, "o", "vks"},
    {"o", 1, "oo", "\xC5"},
    {"o", 2, "oM", "\xC5\xA1"},
    {"o", 3, "O", "vks"},
    {"p", 0, "p", "i"},
    {"p", 1, "pr", "\xE7"},
    {"p", 2, "pR", "i`"},
    {"p", 3, "ph", "Q"},
    {"p", 4, "phr", "\xDD"},
    {"p", 5, "phR", "Q`"},
    {"q", 0, "q", "d"},
    {"q", 1, "qu", "Do"},
    {"q", 2, "qr", "\xD8"},
    {"r", 0, "r", "j"},
    {"r", 1, "R", "M+"},
    {"s", 0, "s", "l"},
    {"s", 1, "sr", "J"},
    {"s", 2, "sR", "l`"},
    {"s", 3, "sh", "'k"},
    {"s", 4, "Sh", "\"k"},
    {"s", 5, "Shr", "\"kz"},
    {"s", 6, "ShR", "\"k`"},
    {"s", 7, "shr", "J"},
    {"t", 0, "t", "r"},
    {"t", 1, "tr", "="},
    {"t", 2, "tR", "r`"},
    {"t", 3, "T", "V"},
    {"t", 4, "Tr", "V\xAA"},
    {"t", 5, "th", "Fk"},
    {"t", 6, "thr", "Fkz"},
    {"t", 7, "thR", "Fk`"},
    {"t", 8, "Th", "B"},
    {"t", 9, "Thr", "B\xAA"},
    {"u", 0, "u", "m"},
    {"u", 1, "U", "\xC5"},
    {"v", 0, "v", "o"},
    {"v", 1, "vr", "oz"},
    {"v", 2, "vR", "o`"},
    {"w", 0, "w", "o"},
    {"w", 1, "wr", "oz"},
    {"w", 2, "wR", "o`"},
    {"x", 0, "x", "Dl"},
    {"y", 0, "y", ";"},
    {"y", 1, "yr", ";z"},
    {"y", 2, "yR", ";`"},
    {"z", 0, "z", "t"},
};

std::vector<Entry> entries(const RawEntry* begin, const RawEntry* end) {
  std::vector<Entry> out;
  for (const RawEntry* e = begin; e != end; ++e) out.push_back({latin1(e->key), glyphFromCodes(e->codes)});
  return out;
}

}  // namespace

const std::vector<Entry>& swarColumns() {
  static const std::vector<Entry> columns = entries(std::begin(kSwar), std::end(kSwar));
  return columns;
}

const std::vector<Entry>& vyanjanRows() {
  static const std::vector<Entry> rows = entries(std::begin(kVyanjan), std::end(kVyanjan));
  return rows;
}

const GlyphString* overrideFor(const std::u16string& key) {
  static const std::map<std::u16string, GlyphString> overrides = [] {
    std::map<std::u16string, GlyphString> m;
    for (const RawEntry& e : kOverrides) m.emplace(latin1(e.key), glyphFromCodes(e.codes));
    return m;
  }();
  const auto found = overrides.find(key);
  return found == overrides.end() ? nullptr : &found->second;
}

std::vector<Entry> family(const std::u16string& letter) {
  std::vector<Entry> out;
  if (letter.size() != 1) return out;
  const char16_t c = letter[0];
  // A lowercase letter has its own family; an uppercase letter has the rows of
  // its lowercase family whose key begins with it.
  const bool upper = c >= u'A' && c <= u'Z';
  if (!upper && !(c >= u'a' && c <= u'z')) return out;
  const char lower = static_cast<char>(upper ? c + 32 : c);
  for (const RawFamilyRow& row : kFamilies) {
    if (row.letter[0] != lower) continue;
    if (upper && static_cast<char16_t>(row.key[0]) != c) continue;
    out.push_back({latin1(row.key), glyphFromCodes(row.codes)});
  }
  return out;
}

const std::vector<SyllableColumn>& syllableColumns() {
  static const std::vector<SyllableColumn> columns = {
      {u"a", u"", u""},     {u"aa", u"", u"k"},  {u"i", u"f", u""},   {u"ee", u"", u"h"},
      {u"u", u"", u"q"},    {u"oo", u"", u"w"},  {u"e", u"", u"s"},   {u"ai", u"", u"S"},
      {u"o", u"", u"ks"},   {u"au", u"", u"kS"}, {u"aM", u"", u"a"},  {u"aH", u"", u"%"},
      {u"O", u"", u"kW"}};
  return columns;
}

}  // namespace kavelin::chart
