// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine.h"

#include <array>
#include <unordered_map>
#include <utility>

#include "feedcache.h"

namespace kavelin {

// What the key alone gives (the token has just begun).
enum class Alone : std::uint8_t {
  kFull,       // independent vowels, "r" and the reph clusters: the glyph string itself
  kHalant,     // consonants without a half form: glyph string and halant
  kStemless,   // full form = half form + stem: the glyph string without its last code
  kUpperCase,  // every other key: the upper-case form of the glyph string
};

// What kind of key convrt was handed; it decides which suffixes may follow.
enum class KeyKind : std::uint8_t {
  kConsonant,  // every key of the key table but the independent vowels
  kVowel,      // the independent vowels: only their own suffixes follow
  kSymbol,     // punctuation and pass-through keys: only a space follows
};

struct Engine::Key {
  std::u16string eng;
  GlyphString hin;
  KeyKind kind = KeyKind::kConsonant;
  bool reph = false;     // one of the "r" + consonant clusters
  GlyphString alone;     // txtH when the key stands alone in the buffer
  GlyphString stemless;  // hin without its last code
};

namespace {

constexpr char16_t kLF = u'\n';
constexpr char16_t kCR = u'\r';

// The 39 "r" + consonant clusters whose glyph string carries the reph.
constexpr std::array<std::u16string_view, 39> kRephClusters = {
    u"rc",  u"rb",  u"rd",  u"rf",  u"rg",  u"rh",  u"rj",  u"rk",  u"rl",  u"rm",
    u"rn",  u"rp",  u"rq",  u"rr",  u"rs",  u"rt",  u"rv",  u"rw",  u"ry",  u"rz",
    u"rT",  u"rN",  u"rx",  u"rD",  u"rS",  u"rbh", u"rch", u"rdh", u"rDh", u"rgh",
    u"rjh", u"rkh", u"rph", u"rsh", u"rSh", u"rth", u"rTh", u"rzh", u"rchh"};

constexpr std::array<std::u16string_view, 8> kIndependentVowels = {u"e", u"a", u"i", u"o",
                                                                   u"u", u"A", u"U", u"I"};
constexpr std::array<std::u16string_view, 5> kNoHalfForm = {u"d", u"h", u"D", u"Th", u"T"};
constexpr std::array<std::u16string_view, 11> kStemmed = {u"Sh", u"sh", u"N",  u"kh",  u"gh", u"dh",
                                                          u"bh", u"ch", u"tr", u"Ksh", u"th"};

// Half-form glyphs that the short-i sign moves behind.
constexpr std::u16string_view kHalfForms = u"CDEFHILOPRTUXY['{\"";

template <std::size_t N>
bool oneOf(std::u16string_view s, const std::array<std::u16string_view, N>& list) {
  for (std::u16string_view item : list) {
    if (s == item) return true;
  }
  return false;
}

GlyphString upperCaseForm(const GlyphString& s) {
  GlyphString out = s;
  for (char16_t& c : out) {
    if ((c >= u'a' && c <= u'z') || (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7)) {
      c = static_cast<char16_t>(c - 32);
    }
  }
  return out;
}

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isSymbolKey(std::u16string_view eng) {
  return eng.size() == 1 && (KeyTable::isPassThrough(eng[0]) ||
                             KeyTable::instance().punctuationFor(eng[0]) != nullptr);
}

Engine::Key makeKey(std::u16string eng, GlyphString hin) {
  Engine::Key key;
  key.reph = Engine::chkRFlag(eng) != 0;
  key.stemless = hin.empty() ? hin : hin.substr(0, hin.size() - 1);
  const bool vowel = oneOf(eng, kIndependentVowels);
  key.kind = vowel ? KeyKind::kVowel : isSymbolKey(eng) ? KeyKind::kSymbol : KeyKind::kConsonant;
  // Keys of two or more characters ending in "r" or "R" stand for a whole
  // syllable (a rakar or the vocalic r sign) and keep their full form.
  const bool rakar = eng.size() >= 2 && (eng.back() == u'r' || eng.back() == u'R');
  const GlyphString upper = upperCaseForm(hin);
  Alone alone = Alone::kUpperCase;
  if (vowel) {
    alone = Alone::kFull;
  } else if (oneOf(eng, kNoHalfForm)) {
    alone = Alone::kHalant;
  } else if (oneOf(eng, kStemmed)) {
    alone = Alone::kStemless;
  } else if (eng == u"r" || key.reph || rakar) {
    alone = Alone::kFull;
  } else if (upper == hin && !eng.empty() && isAsciiLetter(eng[0]) && eng != u"oM") {
    alone = Alone::kHalant;  // no half form in the font
  }
  switch (alone) {
    case Alone::kFull:
      key.alone = hin;
      break;
    case Alone::kHalant:
      key.alone = hin + u'~';
      break;
    case Alone::kStemless:
      key.alone = key.stemless;
      break;
    case Alone::kUpperCase:
      key.alone = upper;
      break;
  }
  key.eng = std::move(eng);
  key.hin = std::move(hin);
  return key;
}

// Every key GetHindi can hand over, prepared once: the key table's rows (by
// row index), the punctuation rows and the pass-through characters.
struct Vocabulary {
  std::vector<Engine::Key> rows;
  std::vector<Engine::Key> punctuation;
  std::array<const Engine::Key*, 128> passThrough{};
  std::vector<Engine::Key> passThroughKeys;

  static const Vocabulary& instance() {
    static const Vocabulary vocabulary;
    return vocabulary;
  }

 private:
  Vocabulary() {
    const KeyTable& table = KeyTable::instance();
    for (const KeyRow& row : table.rows()) rows.push_back(makeKey(row.key, row.glyph));
    for (const PunctuationRow& row : table.punctuation()) {
      punctuation.push_back(makeKey(row.key, row.glyph));
    }
    const std::u16string chars = u"0123456789!";
    for (char16_t c : chars) passThroughKeys.push_back(makeKey({c}, {c}));
    for (const Engine::Key& key : passThroughKeys) passThrough[key.eng[0]] = &key;
  }
};

// What follows the key in the token buffer, and what it makes of the token.
enum class Rule : std::uint8_t {
  kSign,      // glyph string and sign
  kCommit,    // the space: commit the full form
  kShortI,    // the short-i sign, before the consonant
  kNasalize,  // the anusvara after the syllable composed one character earlier
};

struct SpecialKey {
  std::u16string_view eng;
  std::u16string_view text;
  bool afterHin;  // appended to the glyph string rather than replacing it
};

struct SuffixRow {
  std::u16string_view suffix;
  Rule rule;
  std::u16string_view sign;      // appended to the glyph string
  std::u16string_view rephSign;  // reph clusters: glyph string less its last code, sign, "Z"
  std::array<SpecialKey, 2> specials;
  bool carriesShortIHalf;
};

constexpr std::u16string_view kNone{};

// Tested in this order; the first suffix equal to what follows the key applies.
constexpr SuffixRow kSuffixRows[] = {
    {u"a^", Rule::kSign, u"a", kNone, {}, false},
    {u"a", Rule::kSign, u"", kNone, {}, false},
    {u" ", Rule::kCommit, kNone, kNone, {}, false},
    {u"aa", Rule::kSign, u"k", u"k", {}, false},
    {u"A^", Rule::kSign, u"ka", kNone, {}, false},
    {u"A", Rule::kSign, u"k", u"k", {}, false},
    {u"i", Rule::kShortI, kNone, kNone, {}, false},
    {u"i^", Rule::kNasalize, kNone, kNone, {}, false},
    {u"ee^", Rule::kSign, u"ha", kNone, {}, false},
    {u"ee", Rule::kSign, u"h", u"h", {}, false},
    {u"I^", Rule::kSign, u"ha", kNone, {}, false},
    {u"I", Rule::kSign, u"h", u"h", {}, false},
    {u"ii^", Rule::kSign, u"ha", kNone, {}, true},
    {u"ii", Rule::kSign, u"h", u"h", {}, true},
    {u"ea^", Rule::kSign, u"ha", kNone, {}, false},
    {u"ea", Rule::kSign, u"h", u"h", {}, false},
    {u"u^", Rule::kSign, u"qa", kNone, {{{u"r", u"#a", false}}}, false},
    {u"u", Rule::kSign, u"q", kNone, {{{u"r", u"#", false}}}, false},
    {u"uu^", Rule::kSign, u"wa", kNone, {}, false},
    {u"uu", Rule::kSign, u"w", kNone, {{{u"r", u":", false}}}, false},
    {u"oo^", Rule::kSign, u"wa", kNone, {}, false},
    {u"oo", Rule::kSign, u"w", kNone, {{{u"r", u":", false}}}, false},
    {u"U^", Rule::kSign, u"wa", kNone, {}, false},
    {u"U", Rule::kSign, u"w", kNone, {{{u"r", u":", false}}}, false},
    {u"e^", Rule::kSign, u"sa", kNone, {}, false},
    {u"e", Rule::kSign, u"s", kNone, {}, false},
    {u"ai^", Rule::kSign, u"Sa", kNone, {}, false},
    {u"ai", Rule::kSign, u"S", kNone, {}, false},
    {u"o^", Rule::kSign, u"ksa", kNone, {}, false},
    {u"o", Rule::kSign, u"ks", u"ks", {}, false},
    {u"au^", Rule::kSign, u"kSa", kNone, {}, false},
    {u"au", Rule::kSign, u"kS", u"kS", {}, false},
    {u"aM", Rule::kSign, u"a", kNone, {}, false},
    {u"^", Rule::kSign, u"a", kNone, {}, false},
    {u"aa^", Rule::kSign, u"ka", kNone, {}, false},
    {u"aH", Rule::kSign, u"%", kNone, {}, false},
    {u"O^", Rule::kSign, u"kWa", kNone, {}, false},
    {u"O", Rule::kSign, u"kW", kNone, {}, false},
};
constexpr std::size_t kSuffixRowCount = sizeof(kSuffixRows) / sizeof(kSuffixRows[0]);
static_assert(kSuffixRowCount == 38);

// What an independent vowel makes of the suffixes it takes besides the space
// and "^"; any other suffix ends the token.
struct VowelRow {
  std::u16string_view eng;
  std::u16string_view suffix;
  std::u16string_view glyphs;
};

constexpr VowelRow kVowelRows[] = {
    {u"a", u"a", u"vk"},       {u"a", u"i", u",s"},       {u"a", u"u", u"vkS"},
    {u"a", u"a^", u"vka"},     {u"a", u"i^", u",sa"},     {u"a", u"u^", u"vkSa"},
    {u"a", u"M", u"va"},       {u"a", u"H", u"v%"},       {u"e", u"e", u"\u00C3"},
    {u"e", u"e^", u"\u00C3a"}, {u"o", u"o", u"\u00C5"},   {u"o", u"o^", u"\u00C5a"},
    {u"i", u"i", u"\u00C3"},   {u"i", u"i^", u"\u00C3a"}, {u"u", u"u", u"\u00C5"},
    {u"u", u"u^", u"\u00C5a"},
};

const VowelRow* findVowelSuffix(std::u16string_view eng, std::u16string_view suffix) {
  for (const VowelRow& row : kVowelRows) {
    if (row.eng == eng && row.suffix == suffix) return &row;
  }
  return nullptr;
}

// The suffix row equal to `suffix`, or null. Rows are indexed by their first
// character; since suffixes are compared whole, at most one row is equal.
const SuffixRow* findSuffix(std::u16string_view suffix) {
  struct Index {
    std::array<std::array<std::uint8_t, 16>, 128> rows{};  // row number + 1, 0 ends the list
    Index() {
      for (std::size_t i = 0; i < kSuffixRowCount; ++i) {
        auto& list = rows[kSuffixRows[i].suffix[0]];
        std::size_t n = 0;
        while (list[n]) ++n;
        list[n] = static_cast<std::uint8_t>(i + 1);
      }
    }
  };
  static const Index index;
  if (suffix.empty() || suffix.size() > 3 || suffix[0] >= 128) return nullptr;
  for (std::uint8_t i : index.rows[suffix[0]]) {
    if (!i) break;
    if (kSuffixRows[i - 1].suffix == suffix) return &kSuffixRows[i - 1];
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Feed cache

// The English characters fall into symbols: ASCII characters stand for
// themselves, and every other character behaves alike (none begins or
// continues a key, and none reaches the output), so one symbol stands for all
// of them. A line feed and the end-of-text flush are symbols of their own.
int Engine::symbolOf(char16_t c) { return c < 128 ? c : kNonAscii; }

bool Engine::isHalfForm(char16_t c) {
  return c != 0 && kHalfForms.find(c) != std::u16string_view::npos;
}

Engine::Engine() { Vocabulary::instance(); }

std::int16_t Engine::chkRFlag(std::u16string_view key) {
  if (key.size() < 2 || key[0] != u'r') return 0;
  return oneOf(key, kRephClusters) ? -1 : 0;
}

// ---------------------------------------------------------------------------
// Buffers and pipeline

void Engine::setTxtE(std::u16string text) {
  txtE_ = std::move(text);
  txtE_Change();
}

void Engine::appendTxtE(char16_t c) {
  txtE_.push_back(c);
  txtE_Change();
}

void Engine::setTxtEM(std::u16string text) {
  txtEM_ = std::move(text);
  txtEM_Change();
}

void Engine::appendTxtEM(char16_t c) {
  txtEM_.push_back(c);
  txtEM_Change();
}

void Engine::ClearTxt() {
  txtH_.clear();
  setTxtE(std::u16string());
  txtHM_.clear();
  setTxtEM(std::u16string());
  shortIHalf_ = 0;
}

GlyphString Engine::e2h(std::u16string_view strn) {
  ClearTxt();
  feedText(strn);
  return txtHM_;
}

void Engine::feedText(std::u16string_view strn) {
  txtEM_.reserve(txtEM_.size() + strn.size());
  txtHM_.reserve(txtHM_.size() + strn.size() + strn.size() / 4);
  if (!hook_ && !cache_) cache_ = std::make_unique<FeedCache>();
  if (cache_) cache_->trim();
  FeedCache* cache = hook_ ? nullptr : cache_.get();
  int state = cache ? cache->intern(*this) : -1;
  int fedState = -1;  // the state after the last character fed

  // One symbol through the cache, or through the buffers when the cache
  // cannot hold its step.
  auto step = [&](int symbol, char16_t c) {
    const char16_t last = txtHM_.empty() ? 0 : txtHM_.back();
    if (const Step* s = cache->step(state, symbol, last)) {
      if (symbol < kLineFeed) txtEM_.push_back(c);
      if (s->pop) txtHM_.pop_back();
      txtHM_.append(cache->glyphs(*s), s->length);
      state = s->next;
      return;
    }
    cache->restore(state, *this);
    runSymbol(symbol, c);
    state = cache->intern(*this);
  };

  const std::size_t n = strn.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = strn[i];
    if (c == kLF) {
      suppressFeed_ = -1;
      if (cache) {
        step(kLineFeed, c);
      } else {
        runSymbol(kLineFeed, c);
      }
      continue;
    }
    suppressFeed_ = 0;
    const char16_t fed = c == kCR ? u' ' : c;
    if (cache) {
      step(symbolOf(fed), fed);
      fedState = state;
    } else {
      feed(fed);
    }
    if (i + 1 == n) {  // end-of-text flush
      if (cache) {
        step(kEnd, u' ');
      } else {
        runSymbol(kEnd, u' ');
      }
    }
  }
  if (cache) {
    cache->restore(state, *this);
    if (fedState >= 0) Text1_ = cache->tokenBuffer(fedState);
  }
}

// One symbol through the buffers.
void Engine::runSymbol(int symbol, char16_t c) {
  switch (symbol) {
    case kLineFeed:
      if (!txtE_.empty() && txtE_.back() == u' ') appendTxtE(u' ');
      setTxtE(std::u16string());
      txtHM_.push_back(kLF);
      return;
    case kEnd:
      appendTxtE(u' ');
      return;
    default:
      feed(c);
  }
}

// Appending to the English mirror feeds the character through the buffers.
void Engine::feed(char16_t c) { appendTxtEM(c); }

void Engine::txtEM_Change() {
  if (suppressFeed_ == -1) return;
  if (txtEM_.empty()) {
    setTxtE(txtE_);
  } else {
    appendTxtE(txtEM_.back());
  }
  Text1_ = txtE_;
}

void Engine::txtE_Change() { GetHindi(); }

// ---------------------------------------------------------------------------
// Key recognition

void Engine::callConvrt(const Key& key) {
  if (hook_ && !hook_(key.eng, key.hin)) return;
  compose(key);
}

void Engine::GetHindi() {
  if (txtE_.empty()) return;
  const KeyTable& table = KeyTable::instance();
  const Vocabulary& vocabulary = Vocabulary::instance();
  const char16_t lead = txtE_[0];
  if (lead < 128 && vocabulary.passThrough[lead]) {
    callConvrt(*vocabulary.passThrough[lead]);
    return;
  }
  bool called = false;
  if (const PunctuationRow* p = table.punctuationFor(lead)) {
    callConvrt(vocabulary.punctuation[p - table.punctuation().data()]);
    called = true;
  }
  // Groups are tested in order against the buffer as it stands; since no
  // character begins keys of two groups, only the group of the buffer's
  // current first character can match, and only if it comes after the group
  // matched last in this pass.
  int nextGroup = 1;
  while (!txtE_.empty()) {
    const int group = table.groupOf(txtE_[0]);
    if (group < nextGroup) break;
    const KeyRow* row = table.match(group, txtE_);
    if (!row) break;
    callConvrt(vocabulary.rows[row - table.rows().data()]);
    called = true;
    nextGroup = group + 1;
  }
  // A start that no key matches and no further character can complete loses
  // its first character; the rest is typed again, one character at a time.
  if (!called && !txtE_.empty() && !table.isKeyPrefix(txtE_)) {
    const std::u16string rest = txtE_.substr(1);
    txtH_.clear();
    setTxtE(std::u16string());
    for (char16_t c : rest) appendTxtE(c);
  }
}

// ---------------------------------------------------------------------------
// Composition

void Engine::convrt(const std::u16string& eng, const GlyphString& hin) {
  compose(makeKey(eng, hin));
}

void Engine::compose(const Key& key) {
  const std::u16string& eng = key.eng;
  const GlyphString& hin = key.hin;
  // Snapshot of the token buffer: every comparison uses it, and none is made
  // after the buffer is written.
  const std::u16string_view E = txtE_;
  const char16_t carriedHalf = shortIHalf_;
  shortIHalf_ = 0;

  if (E == eng) {
    txtH_ = key.alone;
    return;
  }
  // A lone space token takes no suffix but a second space.
  if (eng == u" " && E != u"  ") {
    fallback(key, E);
    return;
  }
  const bool extends = E.size() > eng.size() && E.compare(0, eng.size(), eng) == 0;
  const std::u16string_view suffix = extends ? E.substr(eng.size()) : std::u16string_view();
  if (suffix == u" ") {
    commitOnSpace(hin);
    return;
  }
  if (key.kind == KeyKind::kSymbol) {  // punctuation and digits take no vowel
    fallback(key, E);
    return;
  }
  if (key.kind == KeyKind::kVowel) {
    if (suffix == u"^") {
      txtH_.assign(hin).push_back(u'a');
    } else if (const VowelRow* vowel = findVowelSuffix(eng, suffix)) {
      txtH_.assign(vowel->glyphs);
    } else {
      fallback(key, E);
    }
    return;
  }
  const SuffixRow* row = extends ? findSuffix(suffix) : nullptr;
  if (!row) {
    fallback(key, E);
    return;
  }
  switch (row->rule) {
    case Rule::kCommit:
      commitOnSpace(hin);
      return;
    case Rule::kShortI:
      shortI(key);
      return;
    case Rule::kNasalize:
      txtH_.push_back(u'a');
      return;
    case Rule::kSign:
      break;
  }
  for (const SpecialKey& special : row->specials) {
    if (!special.eng.empty() && eng == special.eng) {
      if (special.afterHin) {
        txtH_.assign(hin).append(special.text);
      } else {
        txtH_.assign(special.text);
      }
      return;
    }
  }
  txtH_.clear();
  if (row->carriesShortIHalf && carriedHalf) {
    txtH_.push_back(carriedHalf);
    shortIHalf_ = carriedHalf;  // kept through "ii" into "ii^"
  }
  if (key.reph && !row->rephSign.empty()) {
    txtH_.append(key.stemless).append(row->rephSign).push_back(u'Z');
  } else {
    txtH_.append(hin).append(row->sign);
  }
}

void Engine::shortI(const Key& key) {
  ++mirrorReads_;
  // While the cache learns a step, the mirror holds only its last character.
  if (txtHM_.empty() && mirrorBase_ > 0) mirrorUnderflow_ = true;
  const char16_t lastHM = txtHM_.empty() ? 0 : txtHM_.back();
  if (lastHM != 0 && kHalfForms.find(lastHM) != std::u16string_view::npos) {
    if (txtHM_.size() == 1 && mirrorBase_ == 1 && !mirrorBasePopped_) mirrorBasePopped_ = true;
    txtHM_.pop_back();
    txtH_.assign(1, u'f').append(1, lastHM).append(key.hin);
    shortIHalf_ = lastHM;
    return;
  }
  // The vocalic r keys ("kR", ...) absorb the typed "i"; "R" itself takes it.
  if (key.eng.size() >= 2 && key.eng.back() == u'R') return;
  txtH_.assign(1, u'f').append(key.hin);
}

void Engine::commitOnSpace(const GlyphString& hin) {
  txtHM_.append(hin).push_back(u' ');
  txtH_.clear();
  setTxtE(std::u16string());
}

void Engine::fallback(const Key& key, std::u16string_view E) {
  const char16_t lastE = txtE_.empty() ? 0 : txtE_.back();
  // A word ended by punctuation, a digit or another mark keeps the full form.
  const bool wordEnd =
      key.kind == KeyKind::kSymbol ||
      (E.size() == key.eng.size() + 1 && !isAsciiLetter(E.back()) && E.back() != u' ');
  if (wordEnd) {
    txtHM_ += key.hin;
  } else {
    txtHM_ += txtH_;
  }
  if (lastE != u' ') {
    // Restart the buffer with that character, which maps it at once as the
    // first key of the next token.
    setTxtE(lastE ? std::u16string(1, lastE) : std::u16string());
  } else {
    txtH_.clear();
    setTxtE(std::u16string());
    txtHM_.push_back(u' ');
  }
}

Engine::~Engine() = default;
Engine::Engine(Engine&&) noexcept = default;
Engine& Engine::operator=(Engine&&) noexcept = default;

}  // namespace kavelin
