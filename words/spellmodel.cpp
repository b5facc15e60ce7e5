// SPDX-License-Identifier: GPL-3.0-or-later
#include "spellmodel.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kavelin::words {
namespace {

enum class TokenKind : std::uint8_t { kEdge, kConsonant, kVowel, kMark };

struct Token {
  const char* keys;
  TokenKind kind;
};

// Token 0 is the word's start and end.
constexpr Token kTokens[] = {
    {"", TokenKind::kEdge},         {"k", TokenKind::kConsonant},   {"kh", TokenKind::kConsonant},
    {"g", TokenKind::kConsonant},   {"gh", TokenKind::kConsonant},  {"ch", TokenKind::kConsonant},
    {"chh", TokenKind::kConsonant}, {"j", TokenKind::kConsonant},   {"jh", TokenKind::kConsonant},
    {"T", TokenKind::kConsonant},   {"Th", TokenKind::kConsonant},  {"D", TokenKind::kConsonant},
    {"Dh", TokenKind::kConsonant},  {"N", TokenKind::kConsonant},   {"t", TokenKind::kConsonant},
    {"th", TokenKind::kConsonant},  {"d", TokenKind::kConsonant},   {"dh", TokenKind::kConsonant},
    {"n", TokenKind::kConsonant},   {"p", TokenKind::kConsonant},   {"ph", TokenKind::kConsonant},
    {"f", TokenKind::kConsonant},   {"b", TokenKind::kConsonant},   {"bh", TokenKind::kConsonant},
    {"m", TokenKind::kConsonant},   {"y", TokenKind::kConsonant},   {"r", TokenKind::kConsonant},
    {"l", TokenKind::kConsonant},   {"v", TokenKind::kConsonant},   {"w", TokenKind::kConsonant},
    {"sh", TokenKind::kConsonant},  {"Sh", TokenKind::kConsonant},  {"s", TokenKind::kConsonant},
    {"h", TokenKind::kConsonant},   {"Ksh", TokenKind::kConsonant}, {"Gy", TokenKind::kConsonant},
    {"z", TokenKind::kConsonant},   {"R", TokenKind::kConsonant},   {"a", TokenKind::kVowel},
    {"aa", TokenKind::kVowel},      {"A", TokenKind::kVowel},       {"i", TokenKind::kVowel},
    {"ee", TokenKind::kVowel},      {"ii", TokenKind::kVowel},      {"I", TokenKind::kVowel},
    {"u", TokenKind::kVowel},       {"oo", TokenKind::kVowel},      {"uu", TokenKind::kVowel},
    {"U", TokenKind::kVowel},       {"e", TokenKind::kVowel},       {"ai", TokenKind::kVowel},
    {"o", TokenKind::kVowel},       {"au", TokenKind::kVowel},      {"O", TokenKind::kVowel},
    {"hr", TokenKind::kVowel},      {"^", TokenKind::kMark},        {"M", TokenKind::kMark},
    {"*", TokenKind::kMark},        {":", TokenKind::kMark},        {"H", TokenKind::kMark},
};
constexpr std::size_t kTokenCount = sizeof(kTokens) / sizeof(kTokens[0]);
constexpr std::uint8_t kSchwaToken = 38;
constexpr std::uint8_t kAnusvaraToken = 55;
static_assert(kTokens[kSchwaToken].keys[0] == 'a' && kTokens[kSchwaToken].keys[1] == 0);
static_assert(kTokens[kAnusvaraToken].keys[0] == '^');
static_assert(kTokenCount < 64);

// The longest token at the start of `s`, or 0.
std::uint8_t tokenAt(std::string_view s, std::size_t& length) {
  // The tokens by their first letter, longest first.
  static const std::array<std::vector<std::uint8_t>, 128> byFirst = [] {
    std::array<std::vector<std::uint8_t>, 128> table;
    for (std::size_t t = 1; t < kTokenCount; ++t) {
      table[static_cast<unsigned char>(kTokens[t].keys[0])].push_back(static_cast<std::uint8_t>(t));
    }
    for (auto& list : table) {
      std::stable_sort(list.begin(), list.end(), [](std::uint8_t a, std::uint8_t b) {
        return std::string_view(kTokens[a].keys).size() > std::string_view(kTokens[b].keys).size();
      });
    }
    return table;
  }();
  length = 0;
  if (s.empty() || static_cast<unsigned char>(s[0]) >= 128) return 0;
  for (std::uint8_t t : byFirst[static_cast<unsigned char>(s[0])]) {
    const std::string_view keys = kTokens[t].keys;
    if (s.substr(0, keys.size()) == keys) {
      length = keys.size();
      return t;
    }
  }
  return 0;
}

constexpr std::uint64_t kNgram = 1;
constexpr std::uint64_t kDistinct = 3;
constexpr float kDiscount = 0.75F;

// The key of an n-gram (or context) of `size` tokens ending at `last`.
std::uint64_t packKey(std::uint64_t type, const std::uint8_t* last, std::size_t size) {
  std::uint64_t key = (type << 60) | (static_cast<std::uint64_t>(size) << 56);
  for (std::size_t i = 0; i < size; ++i)
    key |= static_cast<std::uint64_t>(last[-static_cast<std::ptrdiff_t>(i)]) << (8 * i);
  return key;
}

}  // namespace

std::string_view tokenKeys(std::uint8_t token) {
  return token < kTokenCount ? kTokens[token].keys : "";
}

bool keyTokens(std::string_view spelling, std::vector<std::uint8_t>& tokens) {
  tokens.clear();
  std::size_t i = 0;
  while (i < spelling.size()) {
    std::size_t length = 0;
    const std::uint8_t t = tokenAt(spelling.substr(i), length);
    if (!t) return false;
    tokens.push_back(t);
    i += length;
  }
  return !tokens.empty();
}

void SpellingModel::Counts::grow() {
  std::vector<std::uint64_t> keys(std::max<std::size_t>(keys_.size() * 2, 1 << 16), 0);
  std::vector<std::uint32_t> values(keys.size(), 0);
  const std::size_t mask = keys.size() - 1;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (!keys_[i]) continue;
    std::size_t at = (keys_[i] * 0x9E3779B97F4A7C15ULL >> 20) & mask;
    while (keys[at]) at = (at + 1) & mask;
    keys[at] = keys_[i];
    values[at] = values_[i];
  }
  keys_.swap(keys);
  values_.swap(values);
}

std::uint32_t SpellingModel::Counts::add(std::uint64_t key, std::uint32_t amount) {
  if ((used_ + 1) * 10 > keys_.size() * 7) grow();
  const std::size_t mask = keys_.size() - 1;
  std::size_t at = (key * 0x9E3779B97F4A7C15ULL >> 20) & mask;
  while (keys_[at] && keys_[at] != key) at = (at + 1) & mask;
  if (!keys_[at]) {
    keys_[at] = key;
    ++used_;
  }
  return values_[at] += amount;
}

std::uint32_t SpellingModel::Counts::get(std::uint64_t key) const {
  if (keys_.empty()) return 0;
  const std::size_t mask = keys_.size() - 1;
  std::size_t at = (key * 0x9E3779B97F4A7C15ULL >> 20) & mask;
  while (keys_[at]) {
    if (keys_[at] == key) return values_[at];
    at = (at + 1) & mask;
  }
  return 0;
}

// Short n-grams and contexts are counted in a flat array, indexed by their
// tokens (6 bits each); longer ones in the hash table.
namespace {
constexpr std::size_t kDenseTokens = 3;
// Where the counts of `size` tokens begin: 1 + 64 + 64^2 ... before them.
constexpr std::size_t denseStart(std::size_t size) {
  return size == 0 ? 0 : denseStart(size - 1) + (std::size_t{1} << (6 * (size - 1)));
}
constexpr std::size_t kDenseSize = denseStart(kDenseTokens + 1);
}  // namespace

SpellingModel::SpellingModel() : dense_(2 * kDenseSize, 0) {}

std::uint32_t* SpellingModel::denseSlot(std::uint64_t type, const std::uint8_t* last,
                                        std::size_t size) {
  if (size > kDenseTokens) return nullptr;
  std::size_t index = 0;
  for (std::size_t i = 0; i < size; ++i) index = index << 6 | last[-static_cast<std::ptrdiff_t>(i)];
  return &dense_[(type == kNgram ? 0 : kDenseSize) + denseStart(size) + index];
}

std::uint32_t SpellingModel::addCount(std::uint64_t type, const std::uint8_t* last,
                                      std::size_t size) {
  if (std::uint32_t* slot = denseSlot(type, last, size)) return ++*slot;
  return counts_.add(packKey(type, last, size), 1);
}

std::uint32_t SpellingModel::getCount(std::uint64_t type, const std::uint8_t* last,
                                      std::size_t size) {
  if (const std::uint32_t* slot = denseSlot(type, last, size)) return *slot;
  return counts_.get(packKey(type, last, size));
}

bool SpellingModel::add(std::string_view spelling) {
  if (!keyTokens(spelling, scratch_)) return false;
  std::vector<std::uint8_t> seq;
  seq.reserve(scratch_.size() + 2);
  seq.push_back(0);
  seq.insert(seq.end(), scratch_.begin(), scratch_.end());
  seq.push_back(0);
  // A context's total is the count of the same tokens as an n-gram, but for
  // the empty context (every token) and the start alone (every word).
  for (std::size_t i = 1; i < seq.size(); ++i) {
    for (std::size_t order = 1; order <= kOrder && order <= i + 1; ++order) {
      const std::uint8_t* last = seq.data() + i;
      if (addCount(kNgram, last, order) == 1) addCount(kDistinct, last - 1, order - 1);
    }
  }
  tokens_ += seq.size() - 1;
  if (!memo_.empty()) memo_.clear();
  ++words_;
  return true;
}

float SpellingModel::cost(const std::uint8_t* history, std::size_t size, std::uint8_t next) {
  const std::size_t context = std::min<std::size_t>(size, kOrder - 1);
  std::array<std::uint8_t, kOrder> gram{};
  std::copy(history + size - context, history + size, gram.begin());
  gram[context] = next;
  const std::uint64_t memoKey = packKey(kNgram, gram.data() + context, context + 1);
  if (const auto it = memo_.find(memoKey); it != memo_.end()) return it->second;
  double p = 1.0 / kTokenCount;
  for (std::size_t order = 1; order <= context + 1; ++order) {
    const std::uint8_t* last = gram.data() + context;
    const std::uint32_t total = order == 1 ? static_cast<std::uint32_t>(tokens_)
                                : order == 2 && last[-1] == 0
                                    ? static_cast<std::uint32_t>(words_)
                                    : getCount(kNgram, last - 1, order - 1);
    if (!total) break;
    const std::uint32_t count = getCount(kNgram, last, order);
    const std::uint32_t distinct = getCount(kDistinct, last - 1, order - 1);
    p = (std::max(0.0, count - static_cast<double>(kDiscount)) + kDiscount * distinct * p) / total;
  }
  const float c = static_cast<float>(-std::log(p));
  if (memo_.size() >= kMaxMemo) memo_.clear();  // bounded over a long session
  memo_.emplace(memoKey, c);
  return c;
}

float SpellingModel::spellingCost(std::string_view spelling) {
  std::vector<std::uint8_t> seq{0};
  std::vector<std::uint8_t> tokens;
  if (!keyTokens(spelling, tokens)) return 100.0F;
  float sum = 0;
  for (std::uint8_t t : tokens) {
    sum += cost(seq.data(), seq.size(), t);
    seq.push_back(t);
  }
  return sum + cost(seq.data(), seq.size(), 0);
}

std::size_t SpellingModel::memoryBytes() const {
  return counts_.memoryBytes() + dense_.size() * 4 + memo_.size() * 32;
}

// --- Guessing -----------------------------------------------------------------

namespace {

// Where a rule applies.
enum Where : std::uint16_t {
  kAnywhere = 0,
  kAtStart = 1,             // the typed word begins with it
  kAtEnd = 2,               // the typed word ends with it
  kNotAtEnd = 4,            //
  kAfterConsonant = 8,      // the spelling so far ends in a consonant
  kNotAfterConsonant = 16,  //
  kBeforeConsonant = 32,    // a consonant letter is typed next
  kFinalAfterVowel = 64,    // ends the word, after a vowel
  kAfterVowel = 128,        // the spelling so far ends in a vowel
  kNotAtStart = 256,        //
};

// Typed letters, a key spelling they may mean, and the cost of reading them
// so (in the model's units, -ln P).
struct Rule {
  const char* typed;
  const char* keys;
  float cost;
  std::uint16_t where = kAnywhere;
};

const Rule kRules[] = {
    // Vowels: length left out or written twice, ai/e, au/o, a final a.
    {"a", "a", 0, kNotAtEnd},
    {"a", "a", 0, kAtEnd | kNotAfterConsonant},
    {"a", "aa", 1.2F, kNotAtEnd},
    {"a", "aa", 0.3F, kAtEnd},
    {"a", "", 0.3F, kAtEnd | kAfterConsonant},
    {"a", "", 2.5F, kAfterConsonant | kBeforeConsonant},
    {"aa", "aa", 0},
    {"aa", "a", 1.5F, kNotAtEnd},
    {"i", "i", 0.3F, kNotAtEnd},
    {"i", "ee", 0.8F, kNotAtEnd},
    {"i", "i", 0.8F, kAtEnd},
    {"i", "ee", 0.3F, kAtEnd},
    {"ee", "ee", 0},
    {"ee", "i", 1.0F},
    {"ii", "ee", 0},
    {"ii", "i", 1.0F},
    {"u", "u", 0.2F},
    {"u", "oo", 0.9F},
    {"oo", "oo", 0},
    {"oo", "u", 1.0F},
    {"uu", "oo", 0},
    {"uu", "u", 1.0F},
    {"e", "e", 0},
    {"e", "ai", 1.5F},
    {"e", "ee", 2.0F},
    {"e", "i", 1.5F, kAtStart},
    {"ai", "ai", 0},
    {"ai", "e", 0.8F},
    {"ai", "aaee", 1.5F, kAtEnd},
    {"ei", "e", 0.7F},
    {"ei", "ai", 1.2F},
    {"ey", "e", 0.5F, kAtEnd},
    {"o", "o", 0},
    {"o", "au", 1.5F},
    {"o", "oo", 2.0F},
    {"au", "au", 0},
    {"au", "o", 1.0F},
    {"ou", "au", 0.5F},
    {"ou", "o", 1.0F},
    {"ia", "iyaa", 1.0F, kAtEnd},
    {"ia", "iya", 1.2F, kNotAtEnd},
    {"ie", "iye", 0.8F},
    {"ae", "aae", 0.5F},
    {"ae", "aaye", 1.0F},
    // English spellings: a schwa written e, o or u; y for ee at the end.
    {"e", "a", 1.5F, kNotAtStart},
    {"o", "a", 2.0F, kNotAtStart},
    {"o", "aa", 2.5F, kNotAtStart},
    {"u", "a", 2.0F},
    {"u", "au", 2.0F},
    {"y", "ee", 1.0F, kAtEnd | kAfterConsonant},
    {"y", "", 1.5F, kAfterVowel},
    {"ey", "e", 0.8F, kNotAtEnd},
    {"ks", "Ksh", 1.0F},
    {"tion", "shan", 1.0F},
    {"sion", "shan", 1.0F},
    {"ce", "se", 0.7F},
    {"ci", "si", 0.7F},
    {"ge", "j", 1.0F, kAtEnd},
    {"dge", "j", 1.0F, kAtEnd},
    {"a", "ai", 2.5F},
    {"ri", "R", 1.5F, kAfterConsonant},
    {"ri", "hr", 1.5F, kAtStart},
    {"ru", "R", 2.0F, kAfterConsonant},
    {"ru", "hr", 2.0F, kAtStart},
    // Consonants: aspiration, retroflex against dental, sibilants.
    {"k", "k", 0},
    {"k", "kh", 2.0F},
    {"kh", "kh", 0},
    {"kh", "k", 2.0F},
    {"q", "k", 0.5F},
    {"c", "k", 0.5F},
    {"c", "ch", 1.0F},
    {"c", "s", 2.0F},
    {"ck", "k", 0.5F},
    {"g", "g", 0},
    {"g", "gh", 2.0F},
    {"gh", "gh", 0},
    {"gh", "g", 2.0F},
    {"ch", "ch", 0},
    {"ch", "chh", 1.2F},
    {"chh", "chh", 0},
    {"chh", "ch", 1.0F},
    {"cch", "chchh", 0.5F},
    {"cch", "chh", 1.0F},
    {"j", "j", 0},
    {"j", "z", 1.5F},
    {"j", "jh", 2.0F},
    {"jh", "jh", 0},
    {"jh", "j", 2.0F},
    {"z", "z", 0.3F},
    {"z", "j", 0.7F},
    {"z", "jh", 2.0F},
    {"t", "t", 0},
    {"t", "T", 0.8F},
    {"t", "th", 2.0F},
    {"t", "Th", 2.5F},
    {"th", "th", 0},
    {"th", "Th", 0.8F},
    {"th", "t", 2.0F},
    {"th", "T", 2.5F},
    {"d", "d", 0},
    {"d", "D", 0.8F},
    {"d", "dh", 2.0F},
    {"d", "Dh", 2.5F},
    {"d", "R", 1.2F},
    {"dh", "dh", 0},
    {"dh", "Dh", 0.8F},
    {"dh", "d", 2.0F},
    {"dh", "D", 2.5F},
    {"r", "r", 0},
    {"r", "R", 1.5F},
    {"n", "n", 0},
    {"n", "N", 1.0F},
    {"n", "^", 0.3F, kBeforeConsonant},
    {"n", "^", 0.3F, kFinalAfterVowel},
    {"n", "*", 2.0F, kBeforeConsonant},
    {"n", "*", 2.0F, kFinalAfterVowel},
    {"m", "m", 0},
    {"m", "^", 0.8F, kBeforeConsonant},
    {"p", "p", 0},
    {"ph", "ph", 0},
    {"f", "ph", 0},
    {"b", "b", 0},
    {"b", "bh", 2.0F},
    {"bh", "bh", 0},
    {"bh", "b", 2.0F},
    {"v", "v", 0},
    {"w", "v", 0},
    {"y", "y", 0},
    {"l", "l", 0},
    {"h", "h", 0},
    {"s", "s", 0},
    {"s", "sh", 1.0F},
    {"s", "Sh", 1.5F},
    {"sh", "sh", 0},
    {"sh", "Sh", 0.7F},
    {"sh", "s", 1.5F},
    {"x", "Ksh", 0.7F},
    {"x", "ks", 1.0F},
    {"ksh", "Ksh", 0},
    {"ksh", "ksh", 0.8F},
    {"gy", "Gy", 1.5F},
    {"gn", "Gy", 2.0F},
};

struct Compiled {
  std::string typed;
  std::string keys;
  std::vector<std::uint8_t> tokens;
  float cost;
  std::uint16_t where;
};

// The rules with their tokens; for a consonant, also the same letter typed
// twice (a cost more) and the consonant doubled in the spelling (kk, tth).
const std::vector<Compiled>& compiledRules() {
  static const std::vector<Compiled> rules = [] {
    std::vector<Compiled> out;
    std::vector<std::uint8_t> tokens;
    for (const Rule& r : kRules) {
      keyTokens(r.keys, tokens);
      if (!*r.keys) tokens.clear();
      out.push_back({r.typed, r.keys, tokens, r.cost, r.where});
      const std::string_view typed = r.typed;
      if (typed.size() == 1 && tokens.size() == 1 &&
          kTokens[tokens[0]].kind == TokenKind::kConsonant && typed != "h" && typed != "y" &&
          typed != "w" && typed != "x") {
        out.push_back({std::string(2, typed[0]), r.keys, tokens, r.cost + 1.0F, r.where});
      }
      if (tokens.size() == 1 && kTokens[tokens[0]].kind == TokenKind::kConsonant && typed != "h" &&
          typed != "y" && typed != "x" && std::string_view(r.keys) != "Ksh" &&
          std::string_view(r.keys) != "Gy") {
        const std::string keys = r.keys;
        const bool aspirate =
            keys.size() > 1 && keys.back() == 'h' && keys != "ch" && keys != "sh" && keys != "Sh";
        const std::string doubled = (aspirate ? keys.substr(0, keys.size() - 1) : keys) + keys;
        std::vector<std::uint8_t> t2;
        if (!keyTokens(doubled, t2)) continue;
        out.push_back({r.typed, doubled, t2, r.cost + 2.5F,
                       static_cast<std::uint16_t>(r.where | kNotAfterConsonant)});
      }
    }
    return out;
  }();
  return rules;
}

bool isConsonantLetter(char c) {
  return c >= 'a' && c <= 'z' && c != 'a' && c != 'e' && c != 'i' && c != 'o' && c != 'u';
}

struct State {
  std::string spelling;
  std::array<std::uint8_t, SpellingModel::kOrder> history{};  // [0] is the start
  std::uint8_t size = 1;
  TokenKind last = TokenKind::kEdge;
  float cost = 0;
};

void push(State& s, std::uint8_t token, SpellingModel& model) {
  s.cost += model.cost(s.history.data(), s.size, token);
  if (s.size == s.history.size()) {
    std::copy(s.history.begin() + 1, s.history.end(), s.history.begin());
    --s.size;
  }
  s.history[s.size++] = token;
  s.spelling += kTokens[token].keys;
  s.last = kTokens[token].kind;
}

void prune(std::vector<State>& states, std::size_t keep) {
  std::sort(states.begin(), states.end(), [](const State& a, const State& b) {
    return a.cost < b.cost || (a.cost == b.cost && a.spelling < b.spelling);
  });
  std::vector<State> kept;
  for (State& s : states) {
    if (kept.size() == keep) break;
    if (std::any_of(kept.begin(), kept.end(),
                    [&](const State& k) { return k.spelling == s.spelling; })) {
      continue;
    }
    kept.push_back(std::move(s));
  }
  states.swap(kept);
}

}  // namespace

std::vector<Guess> guessSpellings(std::string_view typed, SpellingModel& model, std::size_t n,
                                  std::size_t beam) {
  constexpr float kSchwa = 0.5F;       // an a left out between consonants
  constexpr float kFinalNasal = 2.0F;  // a nasal left out at the end
  std::string t;
  for (char c : typed) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    if (c >= 'a' && c <= 'z') t.push_back(c);
  }
  std::vector<Guess> out;
  if (t.empty() || t.size() > 40 || n == 0) return out;
  // The rules by the letter they start with.
  static const std::array<std::vector<const Compiled*>, 26> byLetter = [] {
    std::array<std::vector<const Compiled*>, 26> table;
    for (const Compiled& r : compiledRules()) table[r.typed[0] - 'a'].push_back(&r);
    return table;
  }();
  std::vector<std::vector<State>> at(t.size() + 1);
  at[0].push_back(State{});
  for (std::size_t pos = 0; pos < t.size(); ++pos) {
    prune(at[pos], beam);
    const std::string_view rest = std::string_view(t).substr(pos);
    const std::vector<const Compiled*>& rules = byLetter[t[pos] - 'a'];
    for (const State& s : at[pos]) {
      for (const Compiled* rule : rules) {
        const Compiled& r = *rule;
        if (rest.compare(0, r.typed.size(), r.typed) != 0) continue;
        const std::size_t end = pos + r.typed.size();
        const bool atEnd = end == t.size();
        const std::uint16_t w = r.where;
        if ((w & kAtStart) && pos != 0) continue;
        if ((w & kNotAtStart) && pos == 0) continue;
        if ((w & kAfterVowel) && s.last != TokenKind::kVowel) continue;
        if ((w & kAtEnd) && !atEnd) continue;
        if ((w & kNotAtEnd) && atEnd) continue;
        if ((w & kAfterConsonant) && s.last != TokenKind::kConsonant) continue;
        if ((w & kNotAfterConsonant) && s.last == TokenKind::kConsonant) continue;
        if ((w & kBeforeConsonant) && (atEnd || !isConsonantLetter(t[end]))) continue;
        if ((w & kFinalAfterVowel) && (!atEnd || s.last != TokenKind::kVowel)) continue;
        State next = s;
        next.cost += r.cost;
        const bool consonantFirst =
            !r.tokens.empty() && kTokens[r.tokens[0]].kind == TokenKind::kConsonant;
        if (consonantFirst && s.last == TokenKind::kConsonant) {
          State schwa = next;  // the a between them, left out in typing
          schwa.cost += kSchwa;
          push(schwa, kSchwaToken, model);
          for (std::uint8_t token : r.tokens) push(schwa, token, model);
          at[end].push_back(std::move(schwa));
        }
        for (std::uint8_t token : r.tokens) push(next, token, model);
        at[end].push_back(std::move(next));
      }
    }
  }
  std::vector<State>& last = at[t.size()];
  const std::size_t finals = last.size();
  for (std::size_t i = 0; i < finals; ++i) {
    if (last[i].last != TokenKind::kVowel) continue;
    State nasal = last[i];
    nasal.cost += kFinalNasal;
    push(nasal, kAnusvaraToken, model);
    last.push_back(std::move(nasal));
  }
  for (State& s : last) s.cost += model.cost(s.history.data(), s.size, 0);
  prune(last, n);
  for (State& s : last) out.push_back({std::move(s.spelling), s.cost});
  return out;
}

}  // namespace kavelin::words
