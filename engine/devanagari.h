// SPDX-License-Identifier: GPL-3.0-or-later
// Devanagari code points by name, and the letters written with a nukta: which
// consonant each puts the nukta on, and which three NFC keeps composed.
#pragma once

namespace kavelin::deva {

constexpr char16_t kCandrabindu = 0x0901;
constexpr char16_t kAnusvara = 0x0902;
constexpr char16_t kVisarga = 0x0903;
constexpr char16_t kRa = 0x0930;
constexpr char16_t kNukta = 0x093C;
constexpr char16_t kSignI = 0x093F;
constexpr char16_t kVirama = 0x094D;
constexpr char16_t kZwnj = 0x200C;
constexpr char16_t kZwj = 0x200D;

// The consonant that a letter with a nukta (U+0929, U+0931, U+0934 and
// U+0958..U+095F) puts it on, or 0 for any other character.
constexpr char16_t nuktaBase(char16_t c) {
  constexpr char16_t kExcluded[8] = {u'क', u'ख', u'ग', u'ज', u'ड', u'ढ', u'फ', u'य'};
  if (c >= 0x0958 && c <= 0x095F) return kExcluded[c - 0x0958];
  if (c == 0x0929 || c == 0x0931 || c == 0x0934) return static_cast<char16_t>(c - 1);
  return 0;
}

// The letter NFC composes from `base` and a nukta (न, र, ळ), or 0.
constexpr char16_t composeWithNukta(char16_t base) {
  if (base == u'न' || base == u'र' || base == u'ळ') return static_cast<char16_t>(base + 1);
  return 0;
}

}  // namespace kavelin::deva
