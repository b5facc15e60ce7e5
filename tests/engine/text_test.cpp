// SPDX-License-Identifier: GPL-3.0-or-later
// Raw glyph codes and UTF-8 read eight bytes at a time, and UTF-16 written
// as UTF-8 four units at a time: a byte, sequence or unit that ends such a
// block at each place of it.
#include "text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace kavelin {
namespace {

TEST(AssignFromCodes, EachByteKindAtEachPlaceOfABlock) {
  const struct {
    char byte;
    char16_t character;
  } bytes[] = {{'\x7F', u'\x7F'},   {'\x80', u'\u20AC'}, {'\x81', u'\x81'},   {'\x93', u'\u201C'},
               {'\x9F', u'\u0178'}, {'\xA0', u'\u00A0'}, {'\xC6', u'\u00C6'}, {'\xFF', u'\u00FF'}};
  GlyphString out = u"a longer text than the codes, replaced";
  for (const auto& b : bytes) {
    for (std::size_t at = 0; at < 18; ++at) {
      const std::string codes = std::string(at, 'd') + b.byte + std::string(17 - at, 'k');
      assignFromCodes(codes, out);
      EXPECT_EQ(out, std::u16string(at, u'd') + b.character + std::u16string(17 - at, u'k'))
          << int(static_cast<unsigned char>(b.byte)) << " at " << at;
      EXPECT_EQ(glyphFromCodes(codes), out);
    }
  }
}

// decodeUtf8 of `bytes` gives `whole`, or when `whole` is absent fails at
// `offset` having decoded `before`.
void expectDecoding(const std::string& bytes, const std::optional<std::u16string>& whole,
                    std::size_t offset, const std::u16string& before, const std::string& what) {
  std::u16string out = u"replaced";
  Utf8Error error;
  const bool ok = decodeUtf8(bytes, out, &error);
  EXPECT_EQ(ok, whole.has_value()) << what;
  if (ok && whole) {
    EXPECT_EQ(out, *whole) << what;
  } else if (!ok) {
    EXPECT_EQ(error.offset, offset) << what;
    EXPECT_EQ(out, before) << what;
  }
}

TEST(DecodeUtf8, ASequenceAtEachPlaceOfAnAsciiBlock) {
  const struct {
    std::string bytes;
    std::u16string text;  // empty: invalid
  } sequences[] = {
      {"\xC3\xA9", u"\u00E9"}, {"\xE0\xA4\x95", u"\u0915"}, {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\x80", u""},           {"\xE0\xA4", u""},           {"\xC0\xAF", u""}};
  for (const auto& s : sequences) {
    for (std::size_t at = 0; at < 18; ++at) {
      const std::string bytes = std::string(at, 'a') + s.bytes + std::string(17 - at, 'b');
      std::optional<std::u16string> whole;
      if (!s.text.empty())
        whole = std::u16string(at, u'a') + s.text + std::u16string(17 - at, u'b');
      expectDecoding(bytes, whole, at, std::u16string(at, u'a'),
                     bytes + " at " + std::to_string(at));
    }
  }
}

TEST(AppendUtf8, AUnitAtEachPlaceOfAnAsciiBlock) {
  const struct {
    std::u16string units;
    std::string bytes;
  } cases[] = {{u"\x7F", "\x7F"},
               {u"\x80", "\xC2\x80"},
               {u"\u0100", "\xC4\x80"},
               {u"\u0915", "\xE0\xA4\x95"},
               {u"\U0001F600", "\xF0\x9F\x98\x80"},
               {std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
               {std::u16string(1, char16_t(0xDC00)), "\xEF\xBF\xBD"}};
  for (const auto& c : cases) {
    for (std::size_t at = 0; at < 10; ++at) {
      std::string out = "kept ";
      appendUtf8(std::u16string(at, u'a') + c.units + std::u16string(9 - at, u'b'), out);
      EXPECT_EQ(out, "kept " + std::string(at, 'a') + c.bytes + std::string(9 - at, 'b'))
          << c.bytes << " at " << at;
    }
  }
}

// Devanagari letters among lone ASCII bytes go without a branch on which: a
// sequence of another kind, valid or not, at each place of such a text.
TEST(DecodeUtf8, ASequenceAtEachPlaceOfHindiText) {
  const std::string hindi = u8"कि हम, ॿ\nऀ. ॉ";  // U+097F, U+0900 and two ASCII bytes
  const std::u16string text = u"कि हम, ॿ\nऀ. ॉ";
  const struct {
    std::string bytes;
    std::u16string text;  // empty: invalid
  } sequences[] = {
      {"\xC3\xA9", u"\u00E9"},     {"\xE0\xA6\x95", u"\u0995"}, {"\xE0\xA3\xBF", u"\u08FF"},
      {"\xE0\xA4\x95", u"\u0915"}, {"\xE0\xA4", u""},           {"\xE0\xA4\x41", u""},
      {"\xE0\x80\x80", u""},       {"\xED\xA0\x80", u""},       {"\x80", u""}};
  std::size_t unit = 0;
  for (std::size_t at = 0; at <= hindi.size(); ++at) {
    if (at < hindi.size() && (hindi[at] & 0xC0) == 0x80) continue;  // inside a letter
    for (const auto& s : sequences) {
      const std::string bytes = hindi.substr(0, at) + s.bytes + hindi.substr(at);
      std::optional<std::u16string> whole;
      if (!s.text.empty()) whole = text.substr(0, unit) + s.text + text.substr(unit);
      expectDecoding(bytes, whole, at, text.substr(0, unit), bytes + " at " + std::to_string(at));
    }
    ++unit;
  }
  EXPECT_EQ(unit, text.size() + 1);
}

}  // namespace
}  // namespace kavelin
