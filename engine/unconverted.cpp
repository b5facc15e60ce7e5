// SPDX-License-Identifier: GPL-3.0-or-later
#include "unconverted.h"

#include <array>
#include <cstdio>

#include "keytable.h"
#include "text.h"

namespace kavelin {
namespace {

// Characters that begin or continue the vowel suffixes the engine reads after
// a key ("aa", "ai", "aM", "aH", "O", "u^" ...).
constexpr std::u16string_view kSuffixCharacters = u"aAeiIouUOMH^";

struct Alphabet {
  std::array<bool, 128> used{};  // every character the engine can read is ASCII

  Alphabet() {
    const KeyTable& table = KeyTable::instance();
    for (const KeyRow& row : table.rows()) mark(row.key);
    for (const PunctuationRow& row : table.punctuation()) mark(row.key);
    mark(kSuffixCharacters);
    for (char16_t c = 0; c < 128; ++c) {
      if (KeyTable::isPassThrough(c)) used[c] = true;
    }
    used[' '] = used['\r'] = used['\n'] = true;
  }
  void mark(std::u16string_view s) {
    for (char16_t c : s) {
      if (c < 128) used[c] = true;
    }
  }
};

std::string hex(char32_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
  return buffer;
}

bool printable(char32_t c) {
  return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F) && c != 0x2028 && c != 0x2029 &&
         !(c >= 0xD800 && c <= 0xDFFF) && c <= 0x10FFFF;
}

std::u16string utf16(char32_t c) {
  if (c <= 0xFFFF) return std::u16string(1, static_cast<char16_t>(c));
  c -= 0x10000;
  return {static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))};
}

}  // namespace

bool producesNoOutput(char32_t c) {
  static const Alphabet alphabet;
  return c >= 128 || !alphabet.used[c];
}

UnconvertedTally::UnconvertedTally(Predicate drops, std::size_t keep) : drops_(drops), keep_(keep) {
  for (char32_t c = 0; c < plain_.size(); ++c) plain_[c] = !drops(c) && c != U'\n' && c != U'\r';
}

void UnconvertedTally::finishSource() {
  if (highSurrogate_) character(highSurrogate_);
  highSurrogate_ = 0;
}

void UnconvertedTally::startSource(std::string name) {
  finishSource();
  source_ = std::move(name);
  line_ = 1;
  column_ = 1;
  afterCr_ = false;
}

void UnconvertedTally::scan(std::u16string_view text) {
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    // A run of characters below U+0100 that are neither picked nor line breaks.
    const std::size_t from = i;
    if (!highSurrogate_) {
      for (; i + 8 <= n; i += 8) {  // eight at a time, without a branch each
        bool all = true;
        for (std::size_t k = 0; k < 8; ++k) {
          const char16_t c = text[i + k];
          all &= (c < 0x100) & plain_[c & 0xFF];
        }
        if (!all) break;
      }
      while (i < n && text[i] < 0x100 && plain_[text[i]]) ++i;
    }
    if (i > from) {
      column_ += i - from;
      afterCr_ = false;
      if (i == n) break;
    }
    const char16_t u = text[i++];
    if (highSurrogate_) {
      const char16_t high = highSurrogate_;
      highSurrogate_ = 0;
      if (u >= 0xDC00 && u <= 0xDFFF) {
        character(0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (u - 0xDC00));
        continue;
      }
      character(high);  // unpaired
    }
    if (u >= 0xD800 && u <= 0xDBFF) {
      highSurrogate_ = u;
      continue;
    }
    character(u);
  }
}

void UnconvertedTally::scanUtf8(std::string_view utf8) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  std::size_t i = 0;
  while (i < n) {
    const std::size_t from = i;
    for (; i + 8 <= n; i += 8) {
      bool all = true;
      for (std::size_t k = 0; k < 8; ++k) all &= (p[i + k] < 0x80) & plain_[p[i + k]];
      if (!all) break;
    }
    while (i < n && p[i] < 0x80 && plain_[p[i]]) ++i;
    if (i > from) {
      column_ += i - from;
      afterCr_ = false;
      if (i == n) break;
    }
    const unsigned char b = p[i];
    const int length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int k = 1; k < length && i + k < n; ++k) c = (c << 6) | (p[i + k] & 0x3F);
    character(c);
    i += static_cast<std::size_t>(length);
  }
}

void UnconvertedTally::character(char32_t c) {
  if (c == U'\n') {
    if (!afterCr_) ++line_;
    afterCr_ = false;
    column_ = 1;
    return;
  }
  afterCr_ = c == U'\r';
  if (afterCr_) {
    ++line_;
    column_ = 1;
    return;
  }
  if (drops_(c)) {
    ++count_;
    if (first_.size() < keep_) first_.push_back({c, source_, line_, column_});
  }
  ++column_;
}

std::string describeCharacter(char32_t c) {
  std::string text = hex(c);
  if (printable(c)) text += " '" + encodeUtf8(utf16(c)) + "'";
  return text;
}

std::string unconvertedReport(const UnconvertedTally& tally, std::string_view program, bool error) {
  if (tally.count() == 0) return {};
  const std::string prefix = std::string(program) + ": ";
  std::string out = prefix + (error ? "error: " : "warning: ") + std::to_string(tally.count()) +
                    (tally.count() == 1 ? " input character" : " input characters") +
                    " produced no output\n";
  for (const UnconvertedTally::Place& p : tally.first()) {
    out += prefix + "  " + p.source + ":" + std::to_string(p.line) + ":" +
           std::to_string(p.column) + ": " + describeCharacter(p.character) + "\n";
  }
  if (tally.count() > tally.first().size()) {
    out += prefix + "  (" + std::to_string(tally.count() - tally.first().size()) + " more)\n";
  }
  return out;
}

}  // namespace kavelin
