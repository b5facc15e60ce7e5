#include "engine.h"

#include <array>
#include <utility>

namespace kavelin {
namespace {

constexpr char16_t kLF = u'\n';
constexpr char16_t kCR = u'\r';

}  // namespace

// What the key alone gives (the token has just begun).
enum class Engine::Alone : std::uint8_t {
  kFull,        // independent vowels, "r" and the reph clusters: the glyph string itself
  kHalant,      // consonants without a half form: glyph string and halant
  kStemless,    // full form = half form + stem: the glyph string without its last code
  kUpperCase,   // every other key: the upper-case form of the glyph string
};

struct Engine::KeyClass {
  Alone alone;
  bool reph;
};

namespace {
using Alone = Engine::Alone;
using KeyClass = Engine::KeyClass;

// The 39 "r" + consonant clusters whose glyph string carries the reph.
constexpr std::array<std::u16string_view, 39> kRephClusters = {
    u"rc",  u"rb",  u"rd",  u"rf",  u"rg",  u"rh",  u"rj",  u"rk",  u"rl",  u"rm",
    u"rn",  u"rp",  u"rq",  u"rr",  u"rs",  u"rt",  u"rv",  u"rw",  u"ry",  u"rz",
    u"rT",  u"rN",  u"rx",  u"rD",  u"rS",  u"rbh", u"rch", u"rdh", u"rDh", u"rgh",
    u"rjh", u"rkh", u"rph", u"rsh", u"rSh", u"rth", u"rTh", u"rzh", u"rchh"};

constexpr std::array<std::u16string_view, 8> kIndependentVowels = {u"e", u"a", u"i", u"o",
                                                                     u"u", u"A", u"U", u"I"};
constexpr std::array<std::u16string_view, 5> kNoHalfForm = {u"d", u"h", u"D", u"Th", u"T"};
constexpr std::array<std::u16string_view, 11> kStemmed = {
    u"Sh", u"sh", u"N", u"kh", u"gh", u"dh", u"bh", u"ch", u"tr", u"Ksh", u"th"};

// Half-form glyphs that the short-i sign moves behind.
constexpr std::u16string_view kHalfForms = u"CDEFHILOPRTUXY['{\"";

template <std::size_t N>
bool oneOf(std::u16string_view s, const std::array<std::u16string_view, N>& list) {
  for (std::u16string_view item : list) {
    if (s == item) return true;
  }
  return false;
}

KeyClass classify(std::u16string_view eng) {
  const bool reph = Engine::chkRFlag(eng) != 0;
  if (oneOf(eng, kIndependentVowels)) return {Alone::kFull, reph};
  if (oneOf(eng, kNoHalfForm)) return {Alone::kHalant, reph};
  if (oneOf(eng, kStemmed)) return {Alone::kStemless, reph};
  if (eng == u"r" || reph) return {Alone::kFull, reph};
  return {Alone::kUpperCase, reph};
}

GlyphString upperCaseForm(const GlyphString& s) {
  GlyphString out = s;
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - 32);
    } else if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) {
      c = static_cast<char16_t>(c - 32);
    }
  }
  return out;
}

GlyphString withoutLast(const GlyphString& s) {
  return s.empty() ? s : s.substr(0, s.size() - 1);
}

// What follows the key in the token buffer, and what it makes of the token.
enum class Rule : std::uint8_t { kSign, kCommit, kShortI };

struct SpecialKey {
  std::u16string_view eng;
  std::u16string_view text;
  bool afterHin;  // appended to the glyph string rather than replacing it
};

struct SuffixRow {
  std::u16string_view suffix;
  Rule rule;
  std::u16string_view sign;       // appended to the glyph string
  std::u16string_view rephSign;   // reph clusters: glyph string less its last code, sign, "Z"
  std::array<SpecialKey, 2> specials;
  bool carriesShortIHalf;
};

constexpr std::u16string_view kNone{};

// Tested in this order; the first suffix equal to what follows the key applies.
constexpr SuffixRow kSuffixRows[] = {
    {u"a^", Rule::kSign, u"a", kNone, {}, false},
    {u"a", Rule::kSign, u"", kNone, {{{u"a", u"k", true}}}, false},
    {u" ", Rule::kCommit, kNone, kNone, {}, false},
    {u"aa", Rule::kSign, u"k", u"k", {}, false},
    {u"A^", Rule::kSign, u"ka", kNone, {}, false},
    {u"A", Rule::kSign, u"k", u"k", {}, false},
    {u"i", Rule::kShortI, kNone, kNone, {}, false},
    {u"ee^", Rule::kSign, u"ha", kNone, {}, false},
    {u"ee", Rule::kSign, u"h", u"h", {}, false},
    {u"I^", Rule::kSign, u"ha", kNone, {}, false},
    {u"I", Rule::kSign, u"h", u"h", {}, false},
    {u"ii", Rule::kSign, u"h", u"h", {}, true},
    {u"ea^", Rule::kSign, u"ha", kNone, {}, false},
    {u"ea", Rule::kSign, u"h", u"h", {}, false},
    {u"u^", Rule::kSign, u"vksa", kNone, {}, false},
    {u"u", Rule::kSign, u"q", kNone, {{{u"a", u"vkS", false}, {u"r", u"#", false}}}, false},
    {u"oo^", Rule::kSign, u"wa", kNone, {}, false},
    {u"oo", Rule::kSign, u"w", kNone, {{{u"r", u":", false}}}, false},
    {u"U^", Rule::kSign, u"wa", kNone, {}, false},
    {u"U", Rule::kSign, u"w", kNone, {{{u"r", u":", false}}}, false},
    {u"e^", Rule::kSign, u"sa", kNone, {}, false},
    {u"e", Rule::kSign, u"s", kNone, {{{u"e", u"\u00C3", false}}}, false},
    {u"ai^", Rule::kSign, u"Sa", kNone, {}, false},
    {u"ai", Rule::kSign, u"S", kNone, {}, false},
    {u"o", Rule::kSign, u"ks", u"ks", {{{u"o", u"\u00C5", false}}}, false},
    {u"au^", Rule::kSign, u"kSa", kNone, {}, false},
    {u"au", Rule::kSign, u"kS", u"kS", {}, false},
    {u"aM", Rule::kSign, u"a", kNone, {}, false},
    {u"^", Rule::kSign, u"a", kNone, {}, false},
    {u"aa^", Rule::kSign, u"ka", kNone, {}, false},
    {u"aH", Rule::kSign, u"%", kNone, {}, false},
    {u"O^", Rule::kSign, u"kWa", kNone, {}, false},
    {u"O", Rule::kSign, u"kW", kNone, {}, false},
};
static_assert(sizeof(kSuffixRows) / sizeof(kSuffixRows[0]) == 33);

const SuffixRow* findSuffix(std::u16string_view suffix) {
  for (const SuffixRow& row : kSuffixRows) {
    if (row.suffix == suffix) return &row;
  }
  return nullptr;
}

// Composition classes of the key table's rows, by row index.
const std::vector<KeyClass>& rowClasses() {
  static const std::vector<KeyClass> classes = [] {
    std::vector<KeyClass> v;
    for (const KeyRow& row : KeyTable::instance().rows()) v.push_back(classify(row.key));
    return v;
  }();
  return classes;
}

}  // namespace

Engine::Engine() : table_(KeyTable::instance()) { rowClasses(); }

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
  shortIHalf_.clear();
}

GlyphString Engine::e2h(std::u16string_view strn) {
  ClearTxt();
  txtEM_.reserve(strn.size());
  txtHM_.reserve(strn.size() + strn.size() / 4);
  const std::size_t n = strn.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = strn[i];
    if (c == kLF) {
      suppressFeed_ = -1;
      if (!txtE_.empty() && txtE_.back() == u' ') appendTxtE(u' ');
      setTxtE(std::u16string());
      txtHM_.push_back(kLF);
      continue;
    }
    suppressFeed_ = 0;
    appendTxtEM(c == kCR ? u' ' : c);
    if (i + 1 == n) appendTxtE(u' ');  // end-of-text flush
  }
  return txtHM_;
}

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

void Engine::callConvrt(const std::u16string& eng, const GlyphString& hin, const KeyClass& cls) {
  if (hook_ && !hook_(eng, hin)) return;
  compose(eng, hin, cls);
}

void Engine::GetHindi() {
  if (txtE_.empty()) return;
  const char16_t lead = txtE_[0];
  if (KeyTable::isPassThrough(lead)) {
    const std::u16string key(1, lead);
    callConvrt(key, key, classify(key));
    return;
  }
  bool called = false;
  if (const PunctuationRow* p = table_.punctuationFor(lead)) {
    callConvrt(p->key, p->glyph, classify(p->key));
    called = true;
  }
  // Groups are tested in order against the buffer as it stands; since no
  // character begins keys of two groups, only the group of the buffer's
  // current first character can match, and only if it comes after the group
  // matched last in this pass.
  int nextGroup = 1;
  while (!txtE_.empty()) {
    const int group = table_.groupOf(txtE_[0]);
    if (group < nextGroup) break;
    const KeyRow* row = table_.match(group, txtE_);
    if (!row) break;
    callConvrt(row->key, row->glyph, rowClasses()[row - table_.rows().data()]);
    called = true;
    nextGroup = group + 1;
  }
  // A start that no key matches and no further character can complete is
  // dropped, so that the rest of the line still converts.
  if (!called && !txtE_.empty() && !table_.isKeyPrefix(txtE_)) setTxtE(txtE_.substr(1));
}

// ---------------------------------------------------------------------------
// Composition

void Engine::convrt(const std::u16string& eng, const GlyphString& hin) {
  compose(eng, hin, classify(eng));
}

void Engine::compose(const std::u16string& eng, const GlyphString& hin, const KeyClass& cls) {
  const std::u16string E = txtE_;  // snapshot; every comparison below uses it
  GlyphString carriedHalf;
  carriedHalf.swap(shortIHalf_);

  if (E == eng) {
    stepKeyAlone(cls.alone, hin);
    return;
  }
  // A lone space token takes no suffix but a second space.
  if (eng == u" " && E != u"  ") {
    fallback();
    return;
  }
  const SuffixRow* row = nullptr;
  if (E.size() > eng.size() && E.compare(0, eng.size(), eng) == 0) {
    row = findSuffix(std::u16string_view(E).substr(eng.size()));
  }
  if (!row) {
    fallback();
    return;
  }
  switch (row->rule) {
    case Rule::kCommit:
      commitOnSpace(hin);
      return;
    case Rule::kShortI:
      shortI(eng, hin);
      return;
    case Rule::kSign:
      break;
  }
  for (const SpecialKey& special : row->specials) {
    if (!special.eng.empty() && eng == special.eng) {
      txtH_ = special.afterHin ? hin + std::u16string(special.text) : std::u16string(special.text);
      return;
    }
  }
  GlyphString h = row->carriesShortIHalf ? carriedHalf : GlyphString();
  if (cls.reph && !row->rephSign.empty()) {
    h += withoutLast(hin);
    h += row->rephSign;
    h += u'Z';
  } else {
    h += hin;
    h += row->sign;
  }
  txtH_ = std::move(h);
}

void Engine::stepKeyAlone(Alone alone, const GlyphString& hin) {
  switch (alone) {
    case Alone::kFull:
      txtH_ = hin;
      break;
    case Alone::kHalant:
      txtH_ = hin + u'~';
      break;
    case Alone::kStemless:
      txtH_ = withoutLast(hin);
      break;
    case Alone::kUpperCase:
      txtH_ = upperCaseForm(hin);
      break;
  }
}

void Engine::shortI(const std::u16string& eng, const GlyphString& hin) {
  const char16_t lastHM = txtHM_.empty() ? 0 : txtHM_.back();
  if (eng == u"a") {
    txtH_ = u",s";
    return;
  }
  if (lastHM != 0 && kHalfForms.find(lastHM) != std::u16string_view::npos) {
    txtHM_.pop_back();
    txtH_ = u"f";
    txtH_ += lastHM;
    txtH_ += hin;
    shortIHalf_.assign(1, lastHM);
    return;
  }
  if (!eng.empty() && eng.back() == u'R') return;  // the typed "i" is absorbed
  txtH_ = u"f" + hin;
}

void Engine::commitOnSpace(const GlyphString& hin) {
  txtH_ = hin + u' ';
  txtHM_ += txtH_;
  txtH_.clear();
  setTxtE(std::u16string());
}

void Engine::fallback() {
  const std::u16string lastE = txtE_.empty() ? std::u16string() : txtE_.substr(txtE_.size() - 1);
  txtHM_ += txtH_;
  if (lastE != u" ") {
    setTxtE(lastE);  // maps it at once as the first key of the next token
  } else {
    txtH_.clear();
    setTxtE(std::u16string());
    txtHM_.push_back(u' ');
  }
}

}  // namespace kavelin
