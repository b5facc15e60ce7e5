// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyspelling.h"

#include "devanagari.h"
#include "text.h"
#include "unicode.h"
#include "unicodetoglyphs.h"

namespace kavelin::words {
namespace {

using deva::kAnusvara;
using deva::kCandrabindu;
using deva::kNukta;
using deva::kVisarga;
constexpr char16_t kHalant = deva::kVirama;

struct Keys {
  const char* first = nullptr;  // null: no key
  const char* second = nullptr;
  const char* third = nullptr;
};

// Consonants U+0915..U+0939 without a nukta.
constexpr Keys kConsonants[] = {
    {"k"}, {"kh"}, {"g"},       {"gh"}, {},     {"ch"}, {"chh"}, {"j"}, {"jh"}, {},
    {"T"}, {"Th"}, {"D"},       {"Dh"}, {"N"},  {"t"},  {"th"},  {"d"}, {"dh"}, {"n"},
    {},    {"p"},  {"ph", "f"}, {"b"},  {"bh"}, {"m"},  {"y"},   {"r"}, {},     {"l"},
    {},    {},     {"v", "w"},  {"sh"}, {"Sh"}, {"s"},  {"h"},
};
static_assert(sizeof(kConsonants) / sizeof(kConsonants[0]) == 0x0939 - 0x0915 + 1);

// Vowel signs U+093E..U+094C.
constexpr Keys kVowelSigns[] = {
    {"aa", "A"},
    {"i"},
    {"ee", "ii", "I"},
    {"u"},
    {"oo", "uu", "U"},
    {"R"},
    {},
    {},
    {},
    {"e"},
    {"ai"},
    {"O"},
    {},
    {"o"},
    {"au"},
};
static_assert(sizeof(kVowelSigns) / sizeof(kVowelSigns[0]) == 0x094C - 0x093E + 1);

// Independent vowels U+0905..U+0914 (ऋ is the key hr, whose glyph the font shares).
constexpr Keys kVowels[] = {
    {"a"},  {"aa", "A"},
    {"i"},  {"ee", "ii", "I"},
    {"u"},  {"oo", "uu", "U"},
    {"hr"}, {},
    {},     {},
    {"e"},  {"ai"},
    {},     {},
    {"o"},  {"au"},
};
static_assert(sizeof(kVowels) / sizeof(kVowels[0]) == 0x0914 - 0x0905 + 1);

bool isConsonant(char16_t c) { return c >= 0x0915 && c <= 0x0939; }
bool isVowelSign(char16_t c) { return c >= 0x093E && c <= 0x094C; }
bool isVowel(char16_t c) { return c >= 0x0905 && c <= 0x0914; }
bool isModifier(char16_t c) { return c >= kCandrabindu && c <= kVisarga; }

bool allDevanagari(std::u16string_view word) {
  if (word.empty()) return false;
  for (char16_t c : word) {
    if (c < 0x0900 || c > 0x097F) return false;
  }
  return true;
}

}  // namespace

const char* describe(SpellFailure failure) {
  switch (failure) {
    case SpellFailure::kNone:
      return "spelled";
    case SpellFailure::kNotDevanagari:
      return "not a Devanagari word";
    case SpellFailure::kNoGlyph:
      return "the font cannot show it as itself";
    case SpellFailure::kNoKey:
      return "a letter or sign no key types";
    case SpellFailure::kNoMatch:
      return "no spelling tried gives it back";
  }
  return "?";
}

KeySpeller::KeySpeller() {
  slots_.reserve(64);
  chosen_.reserve(64);
}

SpellFailure KeySpeller::build(std::u16string_view word) {
  slots_.clear();
  auto add = [this](const Keys& keys) {
    Slot slot;
    slot.choices = {keys.first, keys.second, keys.third};
    slot.count = keys.third ? 3 : keys.second ? 2 : 1;
    slots_.push_back(slot);
  };
  // Anusvara, candrabindu and visarga after a vowel (the inherent a written).
  auto modifiers = [&](std::size_t& i) {
    for (; i < word.size() && isModifier(word[i]); ++i) {
      const char16_t c = word[i];
      add(c == kAnusvara ? Keys{"^", "M"} : c == kCandrabindu ? Keys{"*"} : Keys{":", "H"});
    }
  };
  const std::size_t n = word.size();
  std::size_t i = 0;
  while (i < n) {
    const char16_t c = word[i];
    if (isVowel(c)) {
      const Keys& keys = kVowels[c - 0x0905];
      if (!keys.first) return SpellFailure::kNoKey;
      add(keys);
      ++i;
      modifiers(i);
      continue;
    }
    if (!isConsonant(c)) return SpellFailure::kNoKey;
    if (c == 0x0915 && i + 2 < n && word[i + 1] == kHalant && word[i + 2] == 0x0937) {
      add({"Ksh"});  // क्ष
      i += 3;
    } else if (c == 0x091C && i + 2 < n && word[i + 1] == kHalant && word[i + 2] == 0x091E) {
      add({"Gy"});  // ज्ञ
      i += 3;
    } else if (i + 1 < n && word[i + 1] == kNukta) {
      if (c == 0x091C) {
        add({"z"});  // ज़
      } else if (c == 0x0921) {
        add({"R"});  // ड़
      } else {
        return SpellFailure::kNoKey;
      }
      i += 2;
    } else {
      const Keys& keys = kConsonants[c - 0x0915];
      if (!keys.first) return SpellFailure::kNoKey;
      add(keys);
      ++i;
    }
    // What follows the consonant: a halant joins the next consonant to it, a
    // vowel sign is typed after it, else the inherent a (none at the end).
    if (i < n && word[i] == kHalant) {
      if (i + 1 >= n || !isConsonant(word[i + 1])) return SpellFailure::kNoKey;
      ++i;
      continue;
    }
    if (i < n && isVowelSign(word[i])) {
      const Keys& keys = kVowelSigns[word[i] - 0x093E];
      if (!keys.first) return SpellFailure::kNoKey;
      add(keys);
      ++i;
    } else if (i == n) {
      add({"", "a"});
    } else {
      add({"a"});
    }
    modifiers(i);
  }
  return SpellFailure::kNone;
}

bool KeySpeller::tryChoice(std::string& spelling) {
  spelling.clear();
  for (std::size_t s = 0; s < slots_.size(); ++s) spelling += slots_[s].choices[chosen_[s]];
  typed_.assign(spelling.begin(), spelling.end());
  ++counts_.engineRuns;
  engine_.ClearTxt();
  engine_.feedText(typed_);
  return engine_.txtHM() == target_;
}

SpellFailure KeySpeller::finish(SpellFailure result, std::string& spelling) {
  if (result != SpellFailure::kNone) spelling.clear();
  ++counts_.words;
  ++counts_.byResult[static_cast<std::size_t>(result)];
  return result;
}

SpellFailure KeySpeller::spell(std::u16string_view word, std::string& spelling) {
  if (!allDevanagari(word)) return finish(SpellFailure::kNotDevanagari, spelling);
  const GlyphConversion glyphs = unicodeToGlyphs(word);
  if (glyphs.unconverted.count != 0 || glyphsToUnicode(glyphs.glyphs) != word) {
    return finish(SpellFailure::kNoGlyph, spelling);
  }
  if (const SpellFailure built = build(word); built != SpellFailure::kNone) {
    return finish(built, spelling);
  }
  target_.assign(glyphs.glyphs).push_back(u' ');  // the end-of-text flush commits with a space

  // First the chart's choice in every slot, then one slot changed, then two.
  chosen_.assign(slots_.size(), 0);
  if (tryChoice(spelling)) return finish(SpellFailure::kNone, spelling);
  int tries = 1;
  for (std::size_t a = 0; a < slots_.size(); ++a) {
    for (std::uint8_t ca = 1; ca < slots_[a].count; ++ca) {
      if (tries++ >= kMaxTries) return finish(SpellFailure::kNoMatch, spelling);
      chosen_[a] = ca;
      if (tryChoice(spelling)) return finish(SpellFailure::kNone, spelling);
      chosen_[a] = 0;
    }
  }
  for (std::size_t a = 0; a < slots_.size(); ++a) {
    if (slots_[a].count < 2) continue;
    chosen_[a] = 1;
    for (std::size_t b = a + 1; b < slots_.size(); ++b) {
      if (slots_[b].count < 2) continue;
      if (tries++ >= kMaxTries) return finish(SpellFailure::kNoMatch, spelling);
      chosen_[b] = 1;
      if (tryChoice(spelling)) return finish(SpellFailure::kNone, spelling);
      chosen_[b] = 0;
    }
    chosen_[a] = 0;
  }
  return finish(SpellFailure::kNoMatch, spelling);
}

SpellFailure KeySpeller::spellUtf8(std::string_view word, std::string& spelling) {
  utf16_.clear();
  if (!decodeUtf8(word, utf16_)) return finish(SpellFailure::kNotDevanagari, spelling);
  return spell(utf16_, spelling);
}

std::optional<std::string> keySpelling(std::u16string_view word) {
  thread_local KeySpeller speller;
  std::string spelling;
  if (speller.spell(word, spelling) != SpellFailure::kNone) return std::nullopt;
  return spelling;
}

}  // namespace kavelin::words
