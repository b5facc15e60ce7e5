// SPDX-License-Identifier: GPL-3.0-or-later
#include "loosekey.h"

#include <algorithm>
#include <array>

namespace kavelin::words {
namespace {

enum class Kind : std::uint8_t { kVowel, kConsonant, kNasal, kMark };

// One sound of a Roman word: what the loose key keeps of it, and the letters
// it was written with.
struct Unit {
  std::array<char, 3> loose{};  // up to two letters; empty for a mark
  Kind kind = Kind::kMark;
  std::uint8_t begin = 0;
  std::uint8_t length = 0;
};

constexpr std::size_t kMaxUnits = 48;
constexpr std::size_t kMaxLetters = 96;  // longer text is cut (no Hindi word comes near)

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isVowelLetter(char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u'; }

struct Units {
  std::array<Unit, kMaxUnits> at;
  std::size_t size = 0;
};

// Splits `s` into sounds, longest spelling first.
void split(std::string_view s, const LooseOptions& options, Units& units) {
  if (s.size() > kMaxLetters) s = s.substr(0, kMaxLetters);
  // A word in capitals alone is read as if in small letters.
  const bool shouted =
      std::none_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
  units.size = 0;
  std::size_t i = 0;
  const std::size_t n = s.size();
  auto at = [&](std::size_t k) { return k < n ? lower(s[k]) : '\0'; };
  while (i < n && units.size < kMaxUnits) {
    Unit u;
    u.begin = static_cast<std::uint8_t>(i);
    const char c = s[i];
    const char l = lower(c);
    const char l1 = at(i + 1);
    const char l2 = at(i + 2);
    std::size_t len = 1;
    auto set = [&](const char* loose, Kind kind, std::size_t length = 1) {
      u.loose = {loose[0], loose[0] ? loose[1] : '\0', '\0'};
      u.kind = kind;
      len = length;
    };
    const bool previousConsonant =
        units.size > 0 && units.at[units.size - 1].kind == Kind::kConsonant;
    if (c == '^' || c == '*' || (c == 'M' && i > 0 && !shouted)) {
      set("n", Kind::kNasal);
    } else if (c == 'R' && i > 0 && !shouted) {
      if (previousConsonant) {
        set("ri", Kind::kVowel);  // the vocalic r sign (kR)
      } else {
        set(options.hardRAsD ? "d" : "r", Kind::kConsonant);  // ड़
      }
    } else if (!isLetter(c)) {
      set("", Kind::kMark);
    } else if (l == 'c' && l1 == 'h' && l2 == 'h') {
      set("c", Kind::kConsonant, 3);
    } else if (l == 'k' && l1 == 's' && l2 == 'h') {
      set("ks", Kind::kConsonant, 3);
    } else if (l1 == 'h' && (l == 'k' || l == 'g' || l == 'c' || l == 'j' || l == 't' || l == 'd' ||
                             l == 'p' || l == 'b' || l == 's')) {
      const char base[2] = {l == 'c' ? 'c' : l, '\0'};
      set(base, Kind::kConsonant, 2);
    } else if (l == 'h' && l1 == 'r' &&
               (i + 2 >= n || (isLetter(s[i + 2]) && !isVowelLetter(l2)))) {
      set("ri", Kind::kVowel, 2);  // the key of the vowel ऋ
    } else if (l == 'e' && l1 == 'y' && i + 2 == n) {
      set("e", Kind::kVowel, 2);  // "ey" ending a word, as in "karey"
    } else if (l == 'e' && l1 == 'i' && (l2 == 'n' || l2 == 'm' || i + 2 == n)) {
      set("e", Kind::kVowel, 2);  // "ei" before a nasal, as in "mein" for में
    } else if (l == 'a' && l1 == 'a') {
      set("a", Kind::kVowel, 2);
    } else if ((l == 'e' && l1 == 'e') || (l == 'i' && l1 == 'i')) {
      set("i", Kind::kVowel, 2);
    } else if ((l == 'o' && l1 == 'o') || (l == 'u' && l1 == 'u')) {
      set("u", Kind::kVowel, 2);
    } else if (l == 'a' && l1 == 'i') {
      set(options.mergeAiE ? "e" : "E", Kind::kVowel, 2);
    } else if (l == 'a' && l1 == 'u') {
      set(options.mergeAuO ? "o" : "O", Kind::kVowel, 2);
    } else if (isVowelLetter(l)) {
      const char v[2] = {l, '\0'};
      set(v, Kind::kVowel);
    } else {
      switch (l) {
        case 'f':
          set("p", Kind::kConsonant);
          break;
        case 'q':
          set("k", Kind::kConsonant);
          break;
        case 'z':
          set("j", Kind::kConsonant);
          break;
        case 'w':
          set("v", Kind::kConsonant);
          break;
        case 'x':
          set("ks", Kind::kConsonant);
          break;
        default: {
          const char k[2] = {l, '\0'};
          set(k, Kind::kConsonant);
        }
      }
    }
    if (options.cAsK && l == 'c' && len == 1 && l1 != 'c') set("k", Kind::kConsonant);
    u.length = static_cast<std::uint8_t>(len);
    units.at[units.size++] = u;
    i += len;
  }
}

}  // namespace

void looseKey(std::string_view roman, std::string& key, const LooseOptions& options) {
  Units units;
  split(roman, options, units);
  key.clear();
  // The kind of the sound before unit k and after it, marks skipped.
  auto kindBefore = [&](std::size_t k) {
    while (k > 0 && units.at[k - 1].kind == Kind::kMark) --k;
    return k > 0 ? units.at[k - 1].kind : Kind::kMark;
  };
  auto kindAfter = [&](std::size_t k) {
    ++k;
    while (k < units.size && units.at[k].kind == Kind::kMark) ++k;
    return k < units.size ? units.at[k].kind : Kind::kMark;
  };
  // First the sounds left out: marks, a between consonants, y between vowels,
  // a nasal ending the word.
  std::array<bool, kMaxUnits> gone{};
  for (std::size_t k = 0; k < units.size; ++k) {
    const Unit& u = units.at[k];
    const char* loose = u.loose.data();
    const Kind after = kindAfter(k);
    const Kind before = kindBefore(k);
    gone[k] =
        u.kind == Kind::kMark ||
        (options.dropMedialA && u.kind == Kind::kVowel && loose[0] == 'a' && !loose[1] &&
         (after == Kind::kConsonant || after == Kind::kNasal) && before == Kind::kConsonant) ||
        (options.dropYBetweenVowels && u.kind == Kind::kConsonant && loose[0] == 'y' &&
         before == Kind::kVowel && after == Kind::kVowel) ||
        (options.dropFinalNasal && after == Kind::kMark && before == Kind::kVowel &&
         (u.kind == Kind::kNasal || (loose[0] == 'n' && !loose[1])));
  }
  for (std::size_t k = 0; k < units.size; ++k) {
    if (gone[k]) continue;
    const char* loose = units.at[k].loose.data();
    // n and m before another consonant are the anusvara's sound.
    if (units.at[k].kind == Kind::kConsonant && (loose[0] == 'n' || loose[0] == 'm') && !loose[1]) {
      std::size_t next = k + 1;
      while (next < units.size && gone[next]) ++next;
      if (next < units.size && units.at[next].kind == Kind::kConsonant &&
          units.at[next].loose[0] != loose[0] &&
          (options.nasalAfterSchwa || next == k + 1 || units.at[next - 1].kind == Kind::kMark)) {
        loose = "n";
      }
    }
    for (const char* p = loose; *p; ++p) {
      if (key.empty() || key.back() != *p) key.push_back(*p);  // a letter twice counts once
    }
  }
  if (options.dropFinalA && key.size() > 1 && key.back() == 'a' &&
      !isVowelLetter(key[key.size() - 2])) {
    key.pop_back();
  }
}

std::string looseKey(std::string_view roman, const LooseOptions& options) {
  std::string key;
  looseKey(roman, key, options);
  return key;
}

namespace {

constexpr int kGlideGap = 1;
constexpr int kFinalNasalGap = 1;

// Cost in tenths of leaving out, or adding, one sound.
int gapCost(const Unit& u) {
  switch (u.kind) {
    case Kind::kMark:
      return 1;
    case Kind::kNasal:
      return 4;
    case Kind::kVowel:
      return u.loose[0] == 'a' ? 3 : 6;
    case Kind::kConsonant:
      return u.loose[0] == 'h' ? 5 : 10;
  }
  return 10;
}

// Gap costs in context: y between two vowels is a glide people write or
// leave out at will (liye / लिए), and a nasal that ends the word is seldom
// typed (nahi / नहीं).
void gapCosts(const Units& u, std::array<int, kMaxUnits>& out) {
  for (std::size_t k = 0; k < u.size; ++k) {
    const Unit& unit = u.at[k];
    out[k] = gapCost(unit);
    const bool vowelBefore = k > 0 && u.at[k - 1].kind == Kind::kVowel;
    const bool vowelAfter = k + 1 < u.size && u.at[k + 1].kind == Kind::kVowel;
    if (unit.kind == Kind::kConsonant && unit.loose[0] == 'y' && vowelBefore && vowelAfter) {
      out[k] = kGlideGap;
    } else if (unit.kind == Kind::kNasal && vowelBefore && k + 1 == u.size) {
      out[k] = kFinalNasalGap;
    }
  }
}

int substitutionCost(std::string_view a, const Unit& ua, std::string_view b, const Unit& ub) {
  const std::string_view ta = a.substr(ua.begin, ua.length);
  const std::string_view tb = b.substr(ub.begin, ub.length);
  if (ta == tb) return 0;
  // The anusvara sounds as n, or as m before b and p.
  auto nasalLike = [](const Unit& u) {
    return (u.loose[0] == 'n' || u.loose[0] == 'm') && !u.loose[1];
  };
  const bool sameLoose = ua.loose == ub.loose || (ua.kind == Kind::kNasal && nasalLike(ub)) ||
                         (ub.kind == Kind::kNasal && nasalLike(ua));
  if (sameLoose) {
    if (ta.size() == tb.size() && std::equal(ta.begin(), ta.end(), tb.begin(),
                                             [](char x, char y) { return lower(x) == lower(y); })) {
      return 1;  // case alone
    }
    return ua.kind == Kind::kVowel ? 2 : 3;
  }
  if (ua.kind == Kind::kVowel && ub.kind == Kind::kVowel) return 6;
  return 10;
}

}  // namespace

int looseDistance(std::string_view typed, std::string_view spelling) {
  const LooseOptions options;
  Units a;
  Units b;
  split(typed, options, a);
  split(spelling, options, b);
  std::array<int, kMaxUnits> gapA{};
  std::array<int, kMaxUnits> gapB{};
  gapCosts(a, gapA);
  gapCosts(b, gapB);
  // The vowel ऋ typed as r and i (rishi / ऋषि, krishna / कृष्ण) matches it
  // as one sound.
  const auto isRi = [](const Unit& u) {
    return u.kind == Kind::kVowel && u.loose[0] == 'r' && u.loose[1] == 'i';
  };
  std::array<int, kMaxUnits + 1> before{};  // the row before `row`
  std::array<int, kMaxUnits + 1> row{};
  std::array<int, kMaxUnits + 1> next{};
  row[0] = 0;
  for (std::size_t j = 0; j < b.size; ++j) row[j + 1] = row[j] + gapB[j];
  for (std::size_t i = 0; i < a.size; ++i) {
    const bool typedRi = i > 0 && a.at[i - 1].kind == Kind::kConsonant &&
                         a.at[i - 1].loose[0] == 'r' && !a.at[i - 1].loose[1] &&
                         a.at[i].kind == Kind::kVowel && a.at[i].loose[0] == 'i' &&
                         !a.at[i].loose[1];
    next[0] = row[0] + gapA[i];
    for (std::size_t j = 0; j < b.size; ++j) {
      next[j + 1] = std::min({row[j] + substitutionCost(typed, a.at[i], spelling, b.at[j]),
                              row[j + 1] + gapA[i], next[j] + gapB[j]});
      if (typedRi && isRi(b.at[j])) next[j + 1] = std::min(next[j + 1], before[j]);
    }
    before = row;
    std::swap(row, next);
  }
  return row[b.size];
}

namespace {

bool isConsonantLetter(char c) {
  const char l = lower(c);
  return l >= 'a' && l <= 'z' && !isVowelLetter(l);
}

void addReading(std::vector<Reading>& out, std::string letters, bool asTyped = false,
                bool english = false) {
  if (letters.empty()) return;
  for (const Reading& r : out) {
    if (r.letters == letters) return;
  }
  out.push_back({std::move(letters), asTyped, english});
}

void replaceAll(std::string& s, std::string_view from, std::string_view to) {
  for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) {
    s.replace(at, from.size(), to);
  }
}

bool isLowerWord(const std::string& w) {
  return !w.empty() && std::all_of(w.begin(), w.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

// An English word as it sounds, in the letters Hindi is typed with: the
// spelling rules a loanword keeps when written the English way (nation /
// नेशन, cake / केक, download / डाउनलोड). With `vowels`, also the vowels
// English spelling hides: u in a closed syllable (bus / बस), a before two
// consonants (bank / बैंक), i before one consonant and a vowel (timing /
// टाइमिंग).
bool endsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string englishReading(const std::string& word, bool vowels) {
  const auto consonant = [](char c) { return c >= 'a' && c <= 'z' && !isVowelLetter(c); };
  const auto vowelsIn = [](std::string_view w) {
    return std::count_if(w.begin(), w.end(), [](char c) { return isVowelLetter(c) || c == 'y'; });
  };
  std::string s = word;
  replaceAll(s, "ck", "k");
  replaceAll(s, "tch", "ch");       // match, watch
  replaceAll(s, "ation", "eshAn");  // station, information
  replaceAll(s, "ssion", "shAn");
  replaceAll(s, "tion", "shAn");
  for (std::size_t at = s.find("sion"); at != std::string::npos; at = s.find("sion", at + 1)) {
    s.replace(at, 4, at > 0 && isVowelLetter(s[at - 1]) ? "zAn" : "shAn");  // vision, mansion
  }
  if (s.size() > 3 && endsWith(s, "ews")) s.replace(s.size() - 3, 3, "yUz");   // news
  if (s.size() > 3 && endsWith(s, "all")) s.replace(s.size() - 3, 3, "Ol");    // ball, football
  if (s.size() > 4 && endsWith(s, "el")) s.replace(s.size() - 2, 2, "Al");     // model, hotel
  if (s.size() > 4 && endsWith(s, "ion")) s.replace(s.size() - 3, 3, "iYAn");  // million
  replaceAll(s, "sch", "sk");                                                  // school, scheme
  replaceAll(s, "cial", "shAl");  // capitals: no later rule applies to them
  replaceAll(s, "tial", "shAl");
  replaceAll(s, "ture", "char");
  // Endings said otherwise than spelled (accountant, distance, engineer).
  static constexpr std::pair<std::string_view, std::string_view> kEndings[] = {
      {"ance", "eNs"}, {"ence", "eNs"},  {"ant", "eNt"},  {"eer", "iYar"}, {"ear", "iYar"},
      {"ea", "iYa"},   {"ire", "aaYar"}, {"are", "eYar"}, {"ore", "oR"},   {"ere", "iYar"},
      {"tre", "tar"},  {"ey", "I"},      {"em", "Am"},    {"air", "eYar"}, {"ue", "U"},
      {"son", "sAn"},  {"con", "kAn"}};
  for (const auto& [tail, said] : kEndings) {
    if (s.size() > tail.size() + (tail.size() < 3 ? 1 : 0) && endsWith(s, tail)) {
      s.replace(s.size() - tail.size(), tail.size(), said);
      break;
    }
  }
  // -ice after another vowel is short (office, police).
  if (endsWith(s, "ice") && vowelsIn(std::string_view(s).substr(0, s.size() - 3)) > 0) {
    s.replace(s.size() - 3, 3, "iS");
  }
  if (s.size() > 3 && s[0] == 'g' && s[1] == 'e') s[0] = 'j';  // general, german
  std::size_t n = s.size();
  // c is soft before e, i and y, hard elsewhere but in ch.
  for (std::size_t i = 0; i < n; ++i) {
    const char next = i + 1 < n ? s[i + 1] : '\0';
    if (s[i] == 'c' && next != 'h') s[i] = next == 'e' || next == 'i' || next == 'y' ? 's' : 'k';
  }
  // A silent final e after a vowel and one consonant (cake, time, type).
  const bool silentE = n >= 4 && s[n - 1] == 'e' && consonant(s[n - 2]) &&
                       std::string_view("rwxy").find(s[n - 2]) == std::string_view::npos &&
                       (isVowelLetter(s[n - 3]) || s[n - 3] == 'y') && consonant(s[n - 4]);
  if (vowels) {
    std::string v;
    for (std::size_t i = 0; i < n; ++i) {
      const char c = s[i];
      const char next = i + 1 < n ? s[i + 1] : '\0';
      const char after = i + 2 < n ? s[i + 2] : '\0';
      const bool single =
          i > 0 && consonant(s[i - 1]) && consonant(next) && !(silentE && i == n - 3);
      if (i == 0 && c == 'a' && consonant(next) && next != 'r' && n > 3) {
        v += 'e';  // act, agent, album
      } else if (i == 0 && c == 'u' && consonant(next) && consonant(after)) {
        v += 'a';  // uncle, update
      } else if (i == 0 && c == 'i' && consonant(next) && isVowelLetter(after)) {
        v += "aai";  // icon, idea
      } else if (single && c == 'u' && (after == '\0' || consonant(after))) {
        v += 'a';
      } else if (i == 1 && s[0] == 'k' && c == 'o' && (next == 'm' || next == 'n') &&
                 consonant(after)) {
        v += 'a';  // company, control
      } else if ((single || i == 0) && c == 'u' && consonant(next) && isVowelLetter(after)) {
        v += "yu";  // computer, music, union
      } else if (single && c == 'a' && next != 'r' && (after == '\0' || consonant(after))) {
        v += "ai";
      } else if (single && c == 'i' && isVowelLetter(after) &&
                 std::none_of(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(i),
                              isVowelLetter)) {
        v += "aai";
      } else if (single && c == 'a' && isVowelLetter(after) && next != 'r') {
        v += 'e';  // radio, table
      } else if (c == 'g' && i > 0 && s[i - 1] != 'g' && s[i - 1] != 'd' &&
                 (next == 'e' || next == 'i')) {
        v += 'j';  // agent, digital
      } else if (c == 'y' && i > 0 && consonant(s[i - 1]) && consonant(next)) {
        v += 'i';  // system
      } else if (c == 's' && i > 0 && isVowelLetter(s[i - 1]) && isVowelLetter(next) &&
                 !(silentE && i == n - 2)) {
        v += 'z';  // music, season
      } else {
        v += c;
      }
    }
    s = v;
    n = s.size();
  }
  if (silentE) {
    const char v = s[n - 3];
    const char c = s[n - 2] == 'g' ? 'j' : s[n - 2];
    std::string sound = v == 'a'               ? "e"
                        : v == 'i' || v == 'y' ? "aai"
                        : v == 'e'             ? (c == 'j' ? "e" : "i")  // college
                                               : std::string(1, v);
    if (v == 'u' && std::string_view("bcfkmpt").find(s[n - 4]) != std::string_view::npos) {
      sound = "yu";
    }
    s = s.substr(0, n - 3) + sound + c;
  } else if (n >= 4 && s[n - 1] == 'e' && consonant(s[n - 2]) && consonant(s[n - 3]) &&
             s[n - 2] != 'r' && s[n - 2] != 'g') {
    s.pop_back();  // silent after two consonants (prince, bundle)
  }
  replaceAll(s, "dge", "j");
  replaceAll(s, "igh", "aai");
  replaceAll(s, "ew", "yu");  // new, review
  replaceAll(s, "oa", "o");
  replaceAll(s, "ea", "i");
  replaceAll(s, "ou", "au");
  n = s.size();
  if (n > 2 && s.compare(n - 2, 2, "ge") == 0) s.replace(n - 2, 2, "j");
  if (n > 3 && s.compare(n - 3, 3, "ger") == 0) s.replace(n - 3, 3, "jar");
  n = s.size();
  if (n > 2 && s.compare(n - 2, 2, "ie") == 0) s.replace(n - 2, 2, "i");
  n = s.size();
  if (n > 3 && s.compare(n - 2, 2, "um") == 0) {
    s.replace(n - 2, 2, "am");  // medium, album
    if (s[n - 3] == 'i' || s[n - 3] == 'e') s.replace(n - 3, 1, "iy");
  }
  std::string out;
  n = s.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = s[i];
    const char next = i + 1 < n ? s[i + 1] : '\0';
    const char after = i + 2 < n ? s[i + 2] : '\0';
    if (c == 'o' && next == 'w' && (after == '\0' || consonant(after))) {
      out += after == '\0' ? "o" : "au";
      ++i;
    } else if ((c == 'e' || c == 'o') && next == 'r' && i > 0 &&
               (after == '\0' || consonant(after))) {
      out += "ar";
      ++i;
    } else if ((c == 'i' && next == 'a' && i > 0) ||
               ((c == 'i' || c == 'e') && next == 'o' && after == '\0' && i > 1)) {
      out += "iy";  // media, radio, video
    } else if (c == 'y' && next == '\0' && i > 0 && consonant(s[i - 1])) {
      const bool alone = std::none_of(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(i),
                                      [](char l) { return isVowelLetter(l); });
      out += alone ? "aai" : "i";
    } else {
      out += lower(c);
    }
  }
  return out;
}

}  // namespace

std::vector<Reading> typedReadings(std::string_view typed) {
  std::vector<Reading> out;
  if (typed.empty()) return out;
  const std::string word(typed);
  const std::size_t n = word.size();
  addReading(out, word, true);
  // A nasal ending the word, left out or typed as n or m.
  const char last = lower(word.back());
  if (last == 'n' || last == 'm' || word.back() == '^') {
    addReading(out, word.substr(0, n - 1), true);
    // A final m for the anusvara (evam / एवं, swayam / स्वयं).
    if (last == 'm' && n > 2 && isVowelLetter(lower(word[n - 2]))) {
      addReading(out, word.substr(0, n - 1) + '^', true);
    }
  } else if (isVowelLetter(last)) {
    addReading(out, word + '^', true);
  }
  // "ai" after a consonant as a then i; y between vowels left out.
  std::string split;
  std::string glide;
  for (std::size_t i = 0; i < n; ++i) {
    const char c = word[i];
    const bool pairAi =
        i > 0 && i + 1 < n && c == 'a' && word[i + 1] == 'i' && isConsonantLetter(word[i - 1]);
    split += c;
    if (pairAi) split += '\'';
    const bool yGlide = i > 0 && i + 1 < n && lower(c) == 'y' &&
                        isVowelLetter(lower(word[i - 1])) && isVowelLetter(lower(word[i + 1]));
    glide += yGlide ? '\'' : c;
  }
  if (split != word) addReading(out, split);
  if (glide != word) addReading(out, glide);
  // A final "ye" or "e" for य (adamye / अदम्य, rashtriye / राष्ट्रीय).
  if (n > 3 && word.compare(n - 2, 2, "ye") == 0) addReading(out, word.substr(0, n - 1));
  // "yun" for यों, and "yu" with its nasal left out (kyu / क्यों, kyuki).
  if (const std::size_t at = word.find("yu"); at != std::string::npos && at > 0) {
    const char next = at + 2 < n ? word[at + 2] : '\0';
    if (next == 'n' || next == 'k' || next == '\0') {
      addReading(out, word.substr(0, at) + "yon" + word.substr(at + (next == 'n' ? 3 : 2)));
    }
  }
  // An h after a consonant that is a ह of its own, its a left out (bhut /
  // बहुत, phle / पहले): each such pair read apart.
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const char l = lower(word[i - 1]);
    if (word[i] == 'h' && std::string_view("bdgjkpt").find(l) != std::string_view::npos &&
        (i < 2 || lower(word[i - 2]) != 'c')) {
      addReading(out, word.substr(0, i) + '\'' + word.substr(i));
    }
  }
  // "ru" after a consonant for the vowel ऋ (krupa / कृपा, jagrut / जागृत).
  for (std::size_t i = 1; i + 1 < n; ++i) {
    if (word[i] == 'r' && word[i + 1] == 'u' && isConsonantLetter(word[i - 1]) &&
        lower(word[i - 1]) != 'r') {
      addReading(out, word.substr(0, i) + "ri" + word.substr(i + 2));
      break;
    }
  }
  // A nasal before h left out (muh / मुंह), and ngh for ंह (singh / सिंह).
  if (n > 2 && word[n - 1] == 'h' && isVowelLetter(lower(word[n - 2]))) {
    addReading(out, word.substr(0, n - 1) + "nh");
  }
  if (const std::size_t at = word.find("ngh"); at != std::string::npos && at > 0) {
    addReading(out, word.substr(0, at) + "nh" + word.substr(at + 3));
  }
  // A final "ion" for ियों (tippanion / टिप्पणियों).
  if (n > 4 && word.compare(n - 3, 3, "ion") == 0 && isConsonantLetter(word[n - 4])) {
    addReading(out, word.substr(0, n - 3) + "iyon");
  }
  // sh for क्ष: initial (shetra / क्षेत्र, shan / क्षण), or between vowels
  // (parisha / परीक्षा).
  if (n > 3 && word.compare(0, 2, "sh") == 0 && isVowelLetter(lower(word[2]))) {
    addReading(out, "k" + word);
  } else if (const std::size_t at = word.find("sh", 1); at != std::string::npos && at + 2 < n &&
                                                        isVowelLetter(lower(word[at - 1])) &&
                                                        isVowelLetter(lower(word[at + 2]))) {
    addReading(out, word.substr(0, at) + 'k' + word.substr(at));
  }
  // A final "ao" or "aon" for आव, आंव (chunao / चुनाव, gaon / गांव).
  if (n > 2 && word.compare(n - 2, 2, "ao") == 0) addReading(out, word.substr(0, n - 1) + "av");
  if (n > 3 && word.compare(n - 3, 3, "aon") == 0) addReading(out, word.substr(0, n - 2) + "a^v");
  // "ai" before a consonant for अय (jaishankar / जयशंकर).
  if (const std::size_t at = word.find("ai");
      at != std::string::npos && at > 0 && at + 3 < n && isConsonantLetter(word[at + 2])) {
    addReading(out, word.substr(0, at) + "ay" + word.substr(at + 2));
  }
  // English words: an initial u for अ, an initial i for आइ.
  if (n > 2 && isConsonantLetter(word[1])) {
    if (word[0] == 'u') addReading(out, 'a' + word.substr(1));
    if (word[0] == 'i') addReading(out, "aai" + word.substr(1));
  }
  // English spelling, for loanwords written the English way. A word with
  // capitals is typed in the chart's keys and has none.
  if (n > 2 && isLowerWord(word)) {
    addReading(out, englishReading(word, false), false, true);
    addReading(out, englishReading(word, true), false, true);
  }
  return out;
}

}  // namespace kavelin::words
