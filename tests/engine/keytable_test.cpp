// SPDX-License-Identifier: GPL-3.0-or-later
// The vocabulary tables: shape, order and a sample of rows checked by code.
#include "keytable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "test_util.h"

namespace kavelin {
namespace {

using test::codes;
using test::u;

TEST(KeyTable, HasTwentySevenGroupsWithTheirRowCounts) {
  const std::map<int, int> expected = {
      {1, 2},  {2, 1},  {3, 2},   {4, 2},  {5, 2},   {6, 6},  {7, 1},  {8, 7},  {9, 9},
      {10, 4}, {11, 6}, {12, 1},  {13, 7}, {14, 10}, {15, 4}, {16, 6}, {17, 3}, {18, 6},
      {19, 3}, {20, 3}, {21, 41}, {22, 3}, {23, 3},  {24, 3}, {25, 8}, {26, 3}, {27, 1}};
  std::map<int, int> counts;
  for (const KeyRow& row : KeyTable::instance().rows()) ++counts[row.group];
  EXPECT_EQ(counts, expected);
  EXPECT_EQ(KeyTable::instance().rows().size(), 147u);
}

TEST(KeyTable, EveryRowCanMatchAndNoKeyRepeats) {
  const KeyTable& table = KeyTable::instance();
  std::set<std::u16string> seen;
  for (int g = 1; g <= kGroupCount; ++g) {
    for (const KeyRow* row = table.groupBegin(g); row != table.groupEnd(g); ++row) {
      EXPECT_TRUE(seen.insert(row->key).second) << encodeUtf8(row->key);
      // No earlier key of the group is a prefix of this one.
      for (const KeyRow* earlier = table.groupBegin(g); earlier != row; ++earlier) {
        EXPECT_NE(row->key.rfind(earlier->key, 0), 0u)
            << encodeUtf8(earlier->key) << " hides " << encodeUtf8(row->key);
      }
      // The buffer holding exactly the key matches this very row.
      EXPECT_EQ(table.match(g, row->key), row) << encodeUtf8(row->key);
      EXPECT_EQ(table.groupOf(row->key[0]), g);
    }
  }
}

TEST(KeyTable, SampleRowsHaveTheirGlyphCodes) {
  struct Row {
    const char* key;
    const char* codes;
  } rows[] = {
      {"A", "\x76\x6B"},    {"I", "\xC3"},          {"oM", "\xC5\xA1"},
      {"U", "\xC5"},        {"Ksh", "\x7B\x6B"},    {"khr", "\x5B\x6B\x7A"},
      {"kr", "\xD8"},       {"kR", "\xD1"},         {"ghR", "\x3F\x6B\x60"},
      {"Gy", "\x4B"},       {"chhr", "\x4E\xAA"},   {"quit", "\x66\x44\x6F\x56"},
      {"z", "\x74\x2B"},    {"tr", "\xAB\x6B"},     {"Tr", "\x56\xAA"},
      {"Dhr", "\x3C\xAA"},  {"dr", "\xE6"},         {"N", "\x2E\x6B"},
      {"phr", "\xDD"},      {"pr", "\xE7"},         {"fr", "\xDD"},
      {"rchh", "\x4E\x5A"}, {"rbh", "\x93\x5A"},    {"rSh", "\x22\x6B\x5A"},
      {"rzh", "\x3E\x5A"},  {"rS", "\x22\x6B\x5A"}, {"rx", "\x44\x5A\x6C"},
      {"R", "\x4D\x2B"},    {"r", "\x6A"},          {"shr", "\x4A"},
      {"Sh", "\x22\x6B"},   {"hr", "\x5F"},         {" ", "\x20"},
  };
  std::map<std::u16string, const KeyRow*> byKey;
  for (const KeyRow& row : KeyTable::instance().rows()) byKey[row.key] = &row;
  for (const Row& r : rows) {
    ASSERT_TRUE(byKey.count(u(r.key))) << r.key;
    EXPECT_EQ(codes(byKey[u(r.key)]->glyph), r.codes) << r.key;
  }
  // 0x93 is held as the Windows-1252 left double quotation mark.
  EXPECT_EQ(byKey[u"rbh"]->glyph, std::u16string(u"\u201CZ"));
}

TEST(KeyTable, PunctuationRowsInTestOrder) {
  const char* expected[][2] = {
      {"+", "$"},    {"*", "\xA1"}, {"\\", "k~"},  {":", "%"},    {"-", "&"}, {";", "("},
      {"?", "\\"},   {"/", "@"},    {".", "-"},    {"|", "A"},    {",", "]"}, {"(", "\xBC"},
      {")", "\xBD"}, {"{", "\xBF"}, {"}", "\xC0"}, {"=", "\xBE"}, {"'", "*"}, {"`", "^"}};
  const auto& rows = KeyTable::instance().punctuation();
  ASSERT_EQ(rows.size(), 18u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].key, u(expected[i][0])) << i;
    EXPECT_EQ(codes(rows[i].glyph), expected[i][1]) << i;
  }
}

TEST(KeyTable, KeyPrefixes) {
  const KeyTable& table = KeyTable::instance();
  for (const char* live : {"K", "Ks", "S", "G", "q", "qu", "qui", "quit", "rch", "5", "+", " "}) {
    EXPECT_TRUE(table.isKeyPrefix(u(live))) << live;
  }
  for (const char* dead : {"E", "M", "@", "#", "^", "Sa", "Ka", "Ksa", "Gx", "quitx", "ka"}) {
    EXPECT_FALSE(table.isKeyPrefix(u(dead))) << dead;
  }
}

}  // namespace
}  // namespace kavelin
