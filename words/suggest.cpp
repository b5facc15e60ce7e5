// SPDX-License-Identifier: GPL-3.0-or-later
#include "suggest.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "loosekey.h"
#include "unicode.h"
#include "unicodetoglyphs.h"
#include "wordlists.h"

namespace kavelin::words {

Suggester::Suggester() = default;

namespace {

// A loose key without its vowels: what a word typed as consonants alone
// ("h", "tm", "kr") keeps of a common word.
std::string skeleton(std::string_view key) {
  std::string out;
  for (char c : key) {
    if (c != 'a' && c != 'e' && c != 'i' && c != 'o' && c != 'u') out += c;
  }
  return out;
}

bool consonantsOnly(std::string_view typed) {
  return !typed.empty() && std::all_of(typed.begin(), typed.end(), [](char c) {
    const char l = static_cast<char>(c | 0x20);
    return l >= 'b' && l <= 'z' && l != 'e' && l != 'i' && l != 'o' && l != 'u';
  });
}

}  // namespace

std::int64_t Suggester::find(std::u16string_view word) const {
  const auto it = byWord_.find(std::u16string(word));
  return it == byWord_.end() ? -1 : static_cast<std::int64_t>(it->second);
}

bool Suggester::add(std::u16string_view word, std::uint8_t sources, std::uint32_t commonRank) {
  if (const std::int64_t at = find(word); at >= 0) {
    Entry& e = entries_[static_cast<std::size_t>(at)];
    e.sources |= sources;
    if (commonRank && !e.commonRank) {
      looseKey(e.spelling, key_);
      bySkeleton_[skeleton(key_)].push_back(static_cast<std::uint32_t>(at));
    }
    if (commonRank && (!e.commonRank || commonRank < e.commonRank)) e.commonRank = commonRank;
    return true;
  }
  if (speller_.spell(word, spelling_) != SpellFailure::kNone) return false;
  const auto index = static_cast<std::uint32_t>(entries_.size());
  entries_.push_back({std::u16string(word), spelling_, commonRank, 0, sources});
  byWord_.emplace(word, index);
  model_.add(spelling_);
  looseKey(spelling_, key_);
  byKey_[key_].push_back(index);
  if (commonRank) bySkeleton_[skeleton(key_)].push_back(index);
  return true;
}

std::optional<int> Suggester::prior(std::u16string_view word) const {
  const std::int64_t at = find(word);
  if (at < 0) return std::nullopt;
  return priorBonus(entries_[static_cast<std::size_t>(at)]);
}

void Suggester::setUserCount(std::u16string_view word, std::uint32_t count) {
  if (!add(word, kFromUser)) return;
  entries_[static_cast<std::size_t>(find(word))].userCount = count;
}

// What is known of a word before anything is typed, in the tenths of
// looseDistance: common words and words of the smaller, curated lists first.
int Suggester::priorBonus(const Entry& e) const {
  const RankWeights& w = weights;
  int bonus = 0;
  if (e.commonRank) {
    bonus += w.commonBase - static_cast<int>(w.commonSlope * std::log2(e.commonRank));
  }
  if (e.sources & kFromHunspell) bonus += w.hunspell;
  if (e.sources & kFromAspell) bonus += w.aspell;
  if (e.sources & kFromApertium) bonus += w.apertium;
  // A word only the OCR list knows: a listed word like the others.
  if ((e.sources & (kFromTesseract | kFromHunspell | kFromAspell | kFromApertium)) ==
      kFromTesseract) {
    bonus += w.tesseract;
  }
  if (e.userCount) bonus += w.userBase + static_cast<int>(w.userSlope * std::log2(1 + e.userCount));
  return bonus;
}

// What the spelling has that the typed letters do not ask for: a half n or m
// before a consonant where the anusvara is the usual writing (अम्बर / अंबर),
// a candrabindu, a visarga; a nukta, which most writing leaves out.
int Suggester::shapeCost(std::string_view typed, std::string_view spelling) const {
  int cost = 0;
  auto vowelEnd = [](std::string_view w) {
    return !w.empty() && std::string_view("aeiouAIUO^*").find(w.back()) != std::string_view::npos;
  };
  if (vowelEnd(typed) != vowelEnd(spelling)) cost += weights.finalVowel;
  for (std::size_t i = 0; i < spelling.size(); ++i) {
    const char c = spelling[i];
    if ((c == 'n' || c == 'm' || c == 'N') && i > 0 && i + 1 < spelling.size() &&
        std::string_view("kgcjTDtdpbsS").find(spelling[i + 1]) != std::string_view::npos) {
      cost += weights.nasalConjunct;
    } else if (c == '*' && typed.find('*') == std::string_view::npos) {
      cost += weights.candrabindu;
    } else if (c == ':' && typed.find(':') == std::string_view::npos) {
      cost += weights.visarga;
    } else if (c == 'z') {
      cost += weights.nukta;
    }
  }
  return cost;
}

int Suggester::knownCost(std::string_view typed, const Entry& e) const {
  int cost = weights.distance * looseDistance(typed, e.spelling) - priorBonus(e) +
             shapeCost(typed, e.spelling);
  if (e.spelling == typed) cost -= weights.exact;  // typed exactly as the chart spells it
  return cost;
}

std::vector<Candidate> Suggester::suggest(std::string_view typed, std::size_t n) {
  std::vector<Candidate> out;
  if (typed.empty() || n == 0) return out;
  // The literal conversion, as the English box would type it.
  std::u16string keys(typed.begin(), typed.end());
  const GlyphString literalGlyphs = literal_.e2h(keys);
  GlyphString literalWord = literalGlyphs;
  while (!literalWord.empty() && literalWord.back() == u' ') literalWord.pop_back();
  const std::u16string literalUnicode = glyphsToUnicode(literalWord);
  const std::int64_t literalEntry = find(literalUnicode);

  // Each reading of the typed letters is looked up by its loose key, its
  // words measured from its own letters (typedReadings).
  std::vector<std::pair<int, std::uint32_t>> ranked;
  std::vector<std::string> seen;
  for (const Reading& reading : typedReadings(typed)) {
    looseKey(reading.letters, key_);
    if (std::find(seen.begin(), seen.end(), key_) != seen.end()) continue;
    seen.push_back(key_);
    const auto it = byKey_.find(key_);
    if (it == byKey_.end()) continue;
    const std::string_view measured = reading.asTyped ? typed : std::string_view(reading.letters);
    const int extra = reading.asTyped ? 0 : reading.english ? weights.english : weights.reading;
    for (std::uint32_t index : it->second) {
      ranked.emplace_back(knownCost(measured, entries_[index]) + extra, index);
    }
  }
  // Consonants alone, as in chat (h / है, tm / तुम): the common words they
  // are the consonants of.
  if (weights.skeleton > 0 && typed.size() <= 3 && consonantsOnly(typed)) {
    looseKey(typed, key_);
    if (const auto it = bySkeleton_.find(skeleton(key_)); it != bySkeleton_.end()) {
      for (std::uint32_t index : it->second) {
        ranked.emplace_back(knownCost(typed, entries_[index]) + weights.skeleton, index);
      }
    }
  }
  // Spellings guessed from the letters: a listed word they type joins the
  // ranking as if found by its key; any other word is offered as unknown.
  std::vector<Candidate> unknowns;
  float bestGuess = 0;
  if (weights.guesses > 0) {
    const std::vector<Guess> guesses =
        guessSpellings(typed, model_, static_cast<std::size_t>(weights.guesses),
                       static_cast<std::size_t>(std::max(1, weights.guessBeam)));
    if (!guesses.empty()) bestGuess = guesses[0].cost;
    for (const Guess& g : guesses) {
      GlyphString glyphs = literal_.e2h(std::u16string(g.spelling.begin(), g.spelling.end()));
      while (!glyphs.empty() && glyphs.back() == u' ') glyphs.pop_back();
      std::u16string unicode = glyphsToUnicode(glyphs);
      if (const std::int64_t at = find(unicode); at >= 0) {
        const auto index = static_cast<std::uint32_t>(at);
        ranked.emplace_back(knownCost(typed, entries_[index]), index);
        continue;
      }
      // A word of its own: in NFC, and shown by the font as typed.
      if (unicode.empty() || devanagariNfc(unicode) != unicode || !isDevanagariWord(unicode) ||
          unicodeToGlyphs(unicode).glyphs != glyphs) {
        continue;
      }
      if (std::any_of(unknowns.begin(), unknowns.end(),
                      [&](const Candidate& c) { return c.unicode == unicode; })) {
        continue;
      }
      const int cost = weights.distance * looseDistance(typed, g.spelling) +
                       shapeCost(typed, g.spelling) + weights.unknown +
                       static_cast<int>(weights.guessScale * (g.cost - bestGuess));
      unknowns.push_back({std::move(unicode), std::move(glyphs), g.spelling, cost, false});
    }
  }
  // Each word once, at its lowest cost.
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return std::tie(a.second, a.first) < std::tie(b.second, b.first);
  });
  ranked.erase(std::unique(ranked.begin(), ranked.end(),
                           [](const auto& a, const auto& b) { return a.second == b.second; }),
               ranked.end());
  std::sort(ranked.begin(), ranked.end());
  for (const auto& [cost, index] : ranked) {
    if (out.size() == n) break;
    const Entry& e = entries_[index];
    out.push_back({e.word, {}, e.spelling, cost, true});
  }
  for (Candidate& c : unknowns) out.push_back(std::move(c));
  // The literal word is ranked as the others: as a known word, or as a guess.
  if (literalUnicode.empty() || std::any_of(out.begin(), out.end(), [&](const Candidate& c) {
        return c.unicode == literalUnicode;
      })) {
    // among them already
  } else if (literalEntry >= 0) {
    const Entry& e = entries_[static_cast<std::size_t>(literalEntry)];
    out.push_back({e.word, {}, e.spelling, knownCost(typed, e), true});
  } else {
    const int cost = shapeCost(typed, typed) + weights.unknown +
                     static_cast<int>(weights.guessScale *
                                      std::max(0.0F, model_.spellingCost(typed) - bestGuess));
    out.push_back({literalUnicode, literalWord, std::string(typed), cost, false});
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
  // The literal word stays among them when a list knows it; a single place
  // goes to the best. Unknown, it is ranked as any guess.
  const auto literal = std::find_if(
      out.begin(), out.end(), [&](const Candidate& c) { return c.unicode == literalUnicode; });
  if (literal != out.end() && static_cast<std::size_t>(literal - out.begin()) >= n && n > 1 &&
      literal->known) {
    std::rotate(out.begin() + static_cast<std::ptrdiff_t>(n) - 1, literal, literal + 1);
  }
  // So does the best word in no list, within the first keepGuess places: the
  // lists miss many inflected forms and names.
  const auto keep = static_cast<std::size_t>(std::max(0, weights.keepGuess));
  if (keep > 1 && n >= keep) {
    const auto guess =
        std::find_if(out.begin(), out.end(), [&](const Candidate& c) { return !c.known; });
    const auto at = out.begin() + static_cast<std::ptrdiff_t>(keep) - 1;
    if (guess != out.end() && guess > at) std::rotate(at, guess, guess + 1);
  }
  if (out.size() > n) out.resize(n);
  for (Candidate& c : out) {
    if (c.glyphs.empty()) {
      c.glyphs = literal_.e2h(std::u16string(c.spelling.begin(), c.spelling.end()));
      while (!c.glyphs.empty() && c.glyphs.back() == u' ') c.glyphs.pop_back();
    }
  }
  return out;
}

}  // namespace kavelin::words
