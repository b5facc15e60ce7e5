// SPDX-License-Identifier: GPL-3.0-or-later
#include "spellcheck.h"

#include <algorithm>
#include <array>

#include "devanagari.h"
#include "unicode.h"

namespace kavelin::words {

namespace {

using namespace deva;

bool isConsonant(char16_t c) {
  return (c >= 0x0915 && c <= 0x0939) || (c >= 0x0958 && c <= 0x095F);
}
bool isVowelSign(char16_t c) { return c >= 0x093E && c <= 0x094C; }

// Letters and signs that make up a word in Unicode: not the dandas, the
// digits or the abbreviation sign.
bool isWordChar(char16_t c) { return (c >= 0x0900 && c <= 0x0963) || (c >= 0x0971 && c <= 0x097F); }

// Whether a glyph code shows Devanagari (a letter, a sign or a half form), as
// opposed to a space, punctuation or a digit.
bool showsDevanagari(char16_t code) {
  static const std::array<bool, 256> table = [] {
    std::array<bool, 256> t{};
    for (char16_t c = 0; c < 256; ++c) {
      const std::u16string u = glyphsToUnicode(std::u16string_view(&c, 1));
      t[c] = std::any_of(u.begin(), u.end(), isWordChar);
    }
    return t;
  }();
  if (code < 256) return table[code];
  if (isWordChar(code)) return true;
  // The Windows-1252 characters that stand for codes 0x80..0x9F.
  if (code == 0x0152 || code == 0x0153 || code == 0x0160 || code == 0x0161 || code == 0x0178 ||
      code == 0x017D || code == 0x017E || code == 0x0192 || code == 0x02C6 || code == 0x02DC ||
      (code >= 0x2013 && code <= 0x2122)) {
    const std::u16string u = glyphsToUnicode(std::u16string_view(&code, 1));
    return std::any_of(u.begin(), u.end(), isWordChar);
  }
  return false;
}

std::u16string wordForm(std::u16string_view raw) {
  if (std::optional<std::u16string> w = normaliseWord(raw)) return std::move(*w);
  return devanagariNfc(raw);
}

constexpr char16_t kVowelSigns[] = {u'ा', u'ि', u'ी', u'ु', u'ू', u'ृ', u'े', u'ै', u'ो', u'ौ', u'ॉ'};

// The nasal consonant of the class of `c`, written with a halant for the
// anusvara before it.
char16_t nasalOf(char16_t c) {
  if (c >= u'क' && c <= u'घ') return u'ङ';
  if (c >= u'च' && c <= u'झ') return u'ञ';
  if (c >= u'ट' && c <= u'ढ') return u'ण';
  if (c >= u'त' && c <= u'ध') return u'न';
  if (c >= u'प' && c <= u'भ') return u'म';
  return u'न';
}

// How far a slip is, in the ranking's units: the common ones cost least.
constexpr int kSlipCost[kSlipCount] = {6, 10, 6, 4, 10, 8, 8, 8, 12};

}  // namespace

std::vector<TextWord> devanagariWords(std::u16string_view text, bool glyphs) {
  std::vector<TextWord> out;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const auto inWord = [&](std::size_t k) {
      const char16_t c = text[k];
      if (glyphs) return showsDevanagari(c);
      if (isWordChar(c)) return true;
      // A joiner inside a word.
      return (c == kZwj || c == kZwnj) && k > 0 && k + 1 < n && isWordChar(text[k - 1]) &&
             isWordChar(text[k + 1]);
    };
    if (!inWord(i)) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < n && inWord(end)) ++end;
    const std::u16string_view piece = text.substr(i, end - i);
    TextWord w{i, end - i, glyphs ? wordForm(glyphsToUnicode(piece)) : wordForm(piece)};
    if (!w.unicode.empty()) out.push_back(std::move(w));
    i = end;
  }
  return out;
}

std::vector<std::pair<std::u16string, Slip>> slipsAway(std::u16string_view word) {
  std::vector<std::pair<std::u16string, Slip>> out;
  const std::u16string w(word);
  const std::size_t n = w.size();
  auto emit = [&](std::u16string candidate, Slip slip) {
    candidate = devanagariNfc(candidate);
    if (candidate.empty() || candidate == w) return;
    out.emplace_back(std::move(candidate), slip);
  };
  auto replaced = [&](std::size_t at, std::size_t count, std::u16string_view with) {
    std::u16string c;
    c.reserve(n + with.size());
    c.append(w, 0, at).append(with).append(w, at + count, std::u16string::npos);
    return c;
  };
  auto swapOf = [](char16_t c,
                   std::initializer_list<std::u16string_view> groups) -> std::u16string {
    for (std::u16string_view g : groups) {
      if (g.find(c) != std::u16string_view::npos) {
        std::u16string others;
        for (char16_t o : g) {
          if (o != c) others += o;
        }
        return others;
      }
    }
    return {};
  };
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = w[i];
    const char16_t next = i + 1 < n ? w[i + 1] : 0;
    for (char16_t o : swapOf(c, {u"िी", u"ुू", u"इई", u"उऊ"})) {
      emit(replaced(i, 1, std::u16string(1, o)), Slip::kVowelLength);
    }
    if (isVowelSign(c)) {
      emit(replaced(i, 1, u""), Slip::kVowelSign);
      for (char16_t o : kVowelSigns) {
        if (o != c) emit(replaced(i, 1, std::u16string(1, o)), Slip::kVowelSign);
      }
    }
    if (isConsonant(c)) {
      const bool bare = !(isVowelSign(next) || next == kVirama || next == kNukta);
      if (bare) {
        for (char16_t o : kVowelSigns)
          emit(replaced(i + 1, 0, std::u16string(1, o)), Slip::kVowelSign);
        if (next != 0 && isConsonant(next)) emit(replaced(i + 1, 0, u"्"), Slip::kHalant);
      }
      if (next != kNukta &&
          std::u16string_view(u"कखगजडढफयनरळ").find(c) != std::u16string_view::npos) {
        emit(replaced(i + 1, 0, u"़"), Slip::kNukta);
      }
      for (char16_t o : swapOf(c, {u"षशस"}))
        emit(replaced(i, 1, std::u16string(1, o)), Slip::kSibilant);
      for (char16_t o : swapOf(c, {u"णन"}))
        emit(replaced(i, 1, std::u16string(1, o)), Slip::kRetroflexN);
      for (char16_t o : swapOf(c, {u"बव"})) emit(replaced(i, 1, std::u16string(1, o)), Slip::kBaVa);
      // A nasal consonant with halant before a consonant, for the anusvara.
      if ((c == u'न' || c == u'म' || c == u'ण' || c == u'ङ' || c == u'ञ') && next == kVirama &&
          i + 2 < n && isConsonant(w[i + 2])) {
        emit(replaced(i, 2, u"ं"), Slip::kNasal);
      }
    }
    if (c == kNukta) {
      emit(replaced(i, 1, u""), Slip::kNukta);
      if (!(isVowelSign(next) || next == kVirama)) {
        for (char16_t o : kVowelSigns)
          emit(replaced(i + 1, 0, std::u16string(1, o)), Slip::kVowelSign);
      }
    }
    if (c == kVirama) emit(replaced(i, 1, u""), Slip::kHalant);
    if (c == kAnusvara || c == kCandrabindu) {
      emit(replaced(i, 1, c == kAnusvara ? u"ँ" : u"ं"), Slip::kNasal);
      emit(replaced(i, 1, u""), Slip::kNasal);
      if (next != 0 && isConsonant(next)) {
        emit(replaced(i, 1, std::u16string{nasalOf(next), kVirama}), Slip::kNasal);
      }
    }
    // An anusvara left out after a vowel or a consonant.
    if ((isVowelSign(c) || isConsonant(c) || (c >= 0x0905 && c <= 0x0914)) && next != kAnusvara &&
        next != kCandrabindu && next != kVirama && next != kNukta && !isVowelSign(next)) {
      emit(replaced(i + 1, 0, u"ं"), Slip::kNasal);
    }
    // Two letters swapped: side by side, or two consonants with a sign or
    // halant between them (वाकर / कावर).
    if (i + 1 < n && c != next) {
      std::u16string s = w;
      std::swap(s[i], s[i + 1]);
      emit(std::move(s), Slip::kSwap);
    }
    if (i + 2 < n && isConsonant(c) && isConsonant(w[i + 2]) && c != w[i + 2]) {
      std::u16string s = w;
      std::swap(s[i], s[i + 2]);
      emit(std::move(s), Slip::kSwap);
    }
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end(),
                        [](const auto& a, const auto& b) { return a.first == b.first; }),
            out.end());
  return out;
}

SpellChecker::SpellChecker(const WordSet* lists, Suggester* suggester)
    : lists_(lists), suggester_(suggester) {}

bool SpellChecker::known(std::u16string_view word) {
  const std::u16string key(word);
  if (const auto it = knownCache_.find(key); it != knownCache_.end()) return it->second;
  const bool is = extra_.count(key) || (lists_ && lists_->contains(word)) ||
                  (suggester_ && suggester_->prior(word).has_value());
  knownCache_.emplace(key, is);
  return is;
}

int SpellChecker::prior(std::u16string_view word) const {
  if (suggester_) {
    if (const std::optional<int> p = suggester_->prior(word)) return *p;
  }
  return 0;
}

const std::vector<std::u16string>& SpellChecker::corrections(std::u16string_view word) {
  const std::u16string key(word);
  if (const auto it = corrections_.find(key); it != corrections_.end()) return it->second;
  std::unordered_map<std::u16string, int> score;
  auto offer = [&](const std::u16string& candidate, int cost) {
    const auto [it, added] = score.emplace(candidate, cost);
    if (!added) it->second = std::min(it->second, cost);
  };
  for (const auto& [candidate, slip] : slipsAway(word)) {
    if (known(candidate)) offer(candidate, kSlipCost[static_cast<int>(slip)] - prior(candidate));
  }
  // The word's own sounds, typed loosely: what the suggestions make of them.
  std::string spelling;
  if (suggester_ && speller_.spell(word, spelling) == SpellFailure::kNone) {
    int place = 0;
    for (const Candidate& c : suggester_->suggest(spelling, 9)) {
      if (c.known && c.unicode != key) offer(c.unicode, 12 + 3 * place - prior(c.unicode));
      ++place;
    }
  }
  std::vector<std::pair<int, std::u16string>> ranked;
  ranked.reserve(score.size());
  for (auto& [candidate, cost] : score) ranked.emplace_back(cost, candidate);
  std::sort(ranked.begin(), ranked.end());
  std::vector<std::u16string> best;
  for (auto& [cost, candidate] : ranked) {
    if (best.size() == 5) break;
    best.push_back(std::move(candidate));
  }
  return corrections_.emplace(key, std::move(best)).first->second;
}

void SpellChecker::addWord(std::u16string_view word) {
  extra_.emplace(word);
  clearCache();
}

void SpellChecker::ignoreWord(std::u16string_view word) { addWord(word); }

void SpellChecker::clearCache() {
  knownCache_.clear();
  corrections_.clear();
}

std::vector<SpellChecker::Unknown> SpellChecker::check(std::u16string_view text, bool glyphs,
                                                       bool withCorrections) {
  std::vector<Unknown> out;
  for (TextWord& w : devanagariWords(text, glyphs)) {
    if (known(w.unicode)) continue;
    Unknown u{std::move(w), {}};
    if (withCorrections) u.corrections = corrections(u.word.unicode);
    out.push_back(std::move(u));
  }
  return out;
}

}  // namespace kavelin::words
