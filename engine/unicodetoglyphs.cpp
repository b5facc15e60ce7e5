// SPDX-License-Identifier: GPL-3.0-or-later
#include "unicodetoglyphs.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "devanagari.h"
#include "unicode.h"
#include "wordtable.h"

namespace kavelin {
namespace {

using deva::kNukta;
using deva::kRa;
using deva::kSignI;
using deva::kVirama;
constexpr char16_t kLF = u'\n';
constexpr char16_t kCR = u'\r';
constexpr char16_t kLineSeparator = 0x2028;  // a line break inside a paragraph

// A consonant's codes as the engine types them: the full form, the form
// before another consonant of its cluster, and the form with a rakar below.
// Codes are Windows-1252 bytes ("\x93" is the full form of bha after a reph).
struct ConsonantRow {
  char16_t letter;
  const char* full;
  const char* half;
  const char* rakar;
};

enum : std::uint8_t { kKa = 0, kRaRow = 24, kSa = 30, kBha = 21, kKssa = 32, kJnya = 33 };

constexpr ConsonantRow kConsonants[] = {
    {u'क', "d", "D", "\xD8"},  {u'ख', "[k", "[", "[kz"},   {u'ग', "x", "X", "xz"},
    {u'घ', "?k", "?", "?kz"},  {u'च', "Pk", "P", "Pkz"},   {u'छ', "N", "N~", "N\xAA"},
    {u'ज', "t", "T", "tz"},    {u'झ', ">", ">~", ">z"},    {u'ट', "V", "V~", "V\xAA"},
    {u'ठ', "B", "B~", "B~j"},  {u'ड', "M", "M~", "M\xAA"}, {u'ढ', "<", "<~", "<\xAA"},
    {u'ण', ".k", ".", ".j"},   {u'त', "r", "R", "\xABk"},  {u'थ', "Fk", "F", "Fj"},
    {u'द', "n", "n~", "\xE6"}, {u'ध', "/k", "/", "/kz"},   {u'न', "u", "U", "uz"},
    {u'प', "i", "I", "\xE7"},  {u'फ', "Q", "Q~", "\xDD"},  {u'ब', "c", "C", "cz"},
    {u'भ', "Hk", "H", "Hkz"},  {u'म', "e", "E", "ez"},     {u'य', ";", ";~", ";z"},
    {u'र', "j", "j~", "jz"},   {u'ल', "y", "Y", "yz"},     {u'ळ', "G", "G~", "Gz"},
    {u'व', "o", "O", "oz"},    {u'श', "'k", "'", "J"},     {u'ष', "\"k", "\"", "\"kz"},
    {u'स', "l", "L", "lz"},    {u'ह', "g", "g~", "gz"},    {0, "{k", "{", "{kz"},
    {0, "K", "K~", "Kz"},
};
static_assert(sizeof(kConsonants) / sizeof(kConsonants[0]) == kJnya + 1);

// Half forms that a short i moves behind when it is typed after them: the
// one-code half forms (a halant, a nukta or a two-code form stays in front).
constexpr std::u16string_view kShortIHalves = u"CDEFHILOPRTUXY['{\"";

struct Tables {
  std::array<std::int8_t, 0x80> consonant{};  // row by U+0900 + index, or -1
  std::array<GlyphString, kJnya + 1> full, half, rakar;
  std::array<GlyphString, 0x80> sign;         // dependent vowel signs
  std::array<GlyphString, 0x80> mark;         // anusvara, candrabindu, visarga
  std::array<GlyphString, 0x80> independent;  // independent vowels, danda
  std::array<char16_t, 0x80> ascii{};         // the code that shows an ASCII character, or 0

  Tables() {
    consonant.fill(-1);
    for (std::size_t r = 0; r < std::size(kConsonants); ++r) {
      const ConsonantRow& row = kConsonants[r];
      if (row.letter) consonant[row.letter - 0x0900] = static_cast<std::int8_t>(r);
      full[r] = glyphFromCodes(row.full);
      half[r] = glyphFromCodes(row.half);
      rakar[r] = glyphFromCodes(row.rakar);
    }
    auto set = [](std::array<GlyphString, 0x80>& t, char16_t c, const char* codes) {
      t[c - 0x0900] = glyphFromCodes(codes);
    };
    set(sign, u'ा', "k");
    set(sign, u'ि', "f");
    set(sign, u'ी', "h");
    set(sign, u'ु', "q");
    set(sign, u'ू', "w");
    set(sign, u'ृ', "`");
    set(sign, u'ॅ', "W");
    set(sign, u'े', "s");
    set(sign, u'ै', "S");
    set(sign, u'ॉ', "kW");
    set(sign, u'ो', "ks");
    set(sign, u'ौ', "kS");
    set(mark, u'ँ', "\xA1");
    set(mark, u'ं', "a");
    set(mark, u'ः', "%");
    set(independent, u'अ', "v");
    set(independent, u'आ', "vk");
    set(independent, u'इ', "b");
    set(independent, u'ई', "\xC3");
    set(independent, u'उ', "m");
    set(independent, u'ऊ', "\xC5");
    set(independent, u'ऋ', "_");
    set(independent, u'ए', ",");
    set(independent, u'ऐ', ",s");
    set(independent, u'ऑ', "vkW");
    set(independent, u'ओ', "vks");
    set(independent, u'औ', "vkS");
    set(independent, u'।', "A");
    for (char16_t c = u'0'; c <= u'9'; ++c) ascii[c] = c;
    const char* pairs = "  !!+$-&;(.-/@?\\,](\xBC)\xBD=\xBE{\xBF}\xC0";
    for (const char* p = pairs; *p; p += 2) {
      ascii[static_cast<unsigned char>(p[0])] = static_cast<unsigned char>(p[1]);
    }
  }

  static const Tables& instance() {
    static const Tables tables;
    return tables;
  }
};

// Asks for the memory of `p` to be read into the cache.
inline void prefetch(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

bool inBlock(char16_t c) { return c >= 0x0900 && c < 0x0980; }

using deva::nuktaBase;

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Counts kept characters and places the first few.
class Tally {
 public:
  Tally(const ConversionOptions& options, Unconverted& out) : options_(options), out_(out) {}

  // Line bookkeeping: call for every character at index i of `text`.
  void lineBreak(std::u16string_view text, std::size_t i) {
    if (!(text[i] == kLF && i > 0 && text[i - 1] == kCR)) ++line_;
    lineStart_ = i + 1;
  }

  // `inserted`: sorted indices of characters that are not in the caller's text.
  void add(std::u16string_view text, std::size_t i, char32_t c,
           const std::vector<std::size_t>& inserted) {
    ++out_.count;
    if (out_.first.size() >= options_.maxReported) return;
    std::size_t column = 0;
    for (std::size_t k = lineStart_; k < i; ++k) {
      if (!(isLow(text[k]) && k > lineStart_ && isHigh(text[k - 1]))) ++column;
    }
    column -=
        static_cast<std::size_t>(std::lower_bound(inserted.begin(), inserted.end(), i) -
                                 std::lower_bound(inserted.begin(), inserted.end(), lineStart_));
    TextPosition at;
    at.line = options_.start.line + (line_ - 1);
    at.column = (line_ == 1 ? options_.start.column : 1) + column;
    out_.first.push_back({at, c});
  }

 private:
  const ConversionOptions& options_;
  Unconverted& out_;
  std::size_t line_ = 1;
  std::size_t lineStart_ = 0;
};

struct Unit {
  int row;
  int nuktas;
  bool rakar;
};

class Converter {
 public:
  Converter(std::u16string_view text, const ConversionOptions& options, GlyphString& out,
            Unconverted& unconverted)
      : t_(text), out_(out), tally_(options, unconverted) {}

  void run(const std::vector<std::size_t>& inserted);

 private:
  char16_t at(std::size_t i) const { return i < t_.size() ? t_[i] : 0; }
  int consonantAt(std::size_t i) const {
    const char16_t c = at(i);
    return inBlock(c) ? tb_.consonant[c - 0x0900] : -1;
  }
  void cluster();
  // A unit's codes: from the tables, or built in `room`.
  std::u16string_view unitFull(const Unit& u, GlyphString& room) const;
  std::u16string_view unitHalf(const Unit& u, GlyphString& room) const;

  const Tables& tb_ = Tables::instance();
  std::u16string_view t_;
  std::size_t i_ = 0;
  GlyphString& out_;
  Tally tally_;
  std::vector<Unit> units_;
  GlyphString fullRoom_;
  GlyphString halfRoom_;
};

std::u16string_view Converter::unitFull(const Unit& u, GlyphString& room) const {
  if (u.nuktas == 0) return u.rakar ? tb_.rakar[u.row] : tb_.full[u.row];
  GlyphString& s = room;
  s = tb_.full[u.row];
  s.append(static_cast<std::size_t>(u.nuktas), u'+');
  if (u.rakar) {
    const char16_t c = kConsonants[u.row].letter;
    s += (c == u'ट' || c == u'ड' || c == u'ढ' || c == u'छ') ? u'\xAA' : u'z';
  }
  return s;
}

// `full` with a halant, in `room` (which `full` may be).
std::u16string_view withHalant(std::u16string_view full, GlyphString& room) {
  if (full.data() != room.data()) room.assign(full);
  return room += u'~';
}

std::u16string_view Converter::unitHalf(const Unit& u, GlyphString& room) const {
  if (u.rakar) {
    if (u.row == 13 && u.nuktas == 0) return u"\u00AB";  // त्र has a half form
    return withHalant(unitFull(u, room), room);
  }
  if (u.nuktas == 0) return tb_.half[u.row];
  const GlyphString& half = tb_.half[u.row];
  if (half.back() == u'~') {
    return withHalant(unitFull(u, room), room);
  }
  room = half;
  return room.append(static_cast<std::size_t>(u.nuktas), u'+');
}

// A consonant cluster with its reph, vowel sign and marks, from i_.
void Converter::cluster() {
  bool reph = false;
  if (at(i_) == kRa && at(i_ + 1) == kVirama && consonantAt(i_ + 2) >= 0) {
    reph = true;
    i_ += 2;
  }
  units_.clear();
  for (;;) {
    Unit u{consonantAt(i_), 0, false};
    ++i_;
    if (at(i_) == kVirama) {
      if (u.row == kKa && at(i_ + 1) == u'ष') {
        u.row = kKssa;
        i_ += 2;
      } else if (u.row == 6 && at(i_ + 1) == u'ञ') {
        u.row = kJnya;
        i_ += 2;
      }
    }
    for (; at(i_) == kNukta; ++i_) ++u.nuktas;
    if (at(i_) == kVirama && at(i_ + 1) == kRa && at(i_ + 2) != kNukta) {
      u.rakar = true;
      i_ += 2;
    }
    units_.push_back(u);
    if (at(i_) == kVirama && consonantAt(i_ + 1) >= 0) {
      ++i_;
      continue;
    }
    break;
  }
  bool halant = false;
  if (at(i_) == kVirama) {
    halant = true;
    ++i_;
  }
  char16_t sign = 0;
  if (!halant && inBlock(at(i_)) && !tb_.sign[at(i_) - 0x0900].empty()) sign = t_[i_++];
  const std::size_t marksBegin = i_;
  while (inBlock(at(i_)) && !tb_.mark[at(i_) - 0x0900].empty()) ++i_;
  const bool marks = i_ != marksBegin;

  const Unit& last = units_.back();
  const bool plainLast = last.nuktas == 0 && !last.rakar;
  std::u16string_view full;
  bool signDone = false;
  if (reph && plainLast && last.row == kBha) {
    full = u"\u201C";
  } else if (!reph && plainLast && last.row == kRaRow && sign == u'ु') {
    full = u"#";
    signDone = true;
  } else if (!reph && plainLast && last.row == kRaRow && sign == u'ू' && !marks) {
    full = u":";
    signDone = true;
  } else if (!reph && plainLast && last.row == kKa && sign == u'ृ') {
    full = u"\u00D1";
    signDone = true;
  } else {
    full = unitFull(last, fullRoom_);
  }

  // The engine types ra + ka + sa with the reph between ka and sa.
  const bool rephAfterSign =
      (sign == u'ा' || sign == u'ी' || sign == u'ो' || sign == u'ौ') && !marks;
  const bool rephAfterFirst = reph && !rephAfterSign && units_.size() == 2 &&
                              units_[0].row == kKa && units_[1].row == kSa &&
                              units_[0].nuktas == 0 && !units_[0].rakar && plainLast;

  // The engine types the short i in front of the last half form when that is
  // a one-code form, else in front of the full consonant. Under a reph the
  // sign goes in front of the whole cluster, so that the reph finds it whole.
  const std::size_t halves = units_.size() - 1;
  bool iPlaced = false;
  if (sign == kSignI && reph && halves > 0) {
    out_ += u'f';
    iPlaced = true;
  }
  for (std::size_t k = 0; k < halves; ++k) {
    const std::u16string_view half = unitHalf(units_[k], halfRoom_);
    if (sign == kSignI && !iPlaced && k + 1 == halves && half.size() == 1 &&
        kShortIHalves.find(half[0]) != std::u16string_view::npos) {
      out_ += u'f';
      iPlaced = true;
    }
    out_ += half;
    if (rephAfterFirst && k == 0) out_ += u'Z';
  }
  if (sign == kSignI && !iPlaced) out_ += u'f';
  out_ += full;
  if (halant) out_ += u'~';
  if (reph && !rephAfterSign && !rephAfterFirst) out_ += u'Z';
  if (sign != 0 && sign != kSignI && !signDone) out_ += tb_.sign[sign - 0x0900];
  if (reph && rephAfterSign) out_ += u'Z';
  for (std::size_t k = marksBegin; k < i_; ++k) out_ += tb_.mark[t_[k] - 0x0900];
}

void Converter::run(const std::vector<std::size_t>& inserted) {
  const std::size_t n = t_.size();
  while (i_ < n) {
    const char16_t c = t_[i_];
    if (inBlock(c)) {
      const std::size_t k = c - 0x0900;
      if (tb_.consonant[k] >= 0) {
        cluster();
        continue;
      }
      if (!tb_.independent[k].empty() || !tb_.sign[k].empty() || !tb_.mark[k].empty()) {
        out_ += !tb_.independent[k].empty() ? tb_.independent[k]
                : !tb_.sign[k].empty()      ? tb_.sign[k]
                                            : tb_.mark[k];
        ++i_;
        continue;
      }
      if (c == kVirama || c == kNukta) {
        out_ += c == kVirama ? u'~' : u'+';
        ++i_;
        continue;
      }
    } else if (c < 0x80 && tb_.ascii[c]) {
      out_ += tb_.ascii[c];
      ++i_;
      continue;
    } else if (c == u'\u2018' || c == u'\u2019') {
      out_ += c == u'\u2018' ? u'^' : u'*';
      ++i_;
      continue;
    } else if (c == kLF || c == kCR || c == u'\t' || c == kLineSeparator) {
      if (c == kLF || c == kCR) tally_.lineBreak(t_, i_);
      out_ += c;
      ++i_;
      continue;
    }
    // Kept as it is.
    if (isHigh(c) && i_ + 1 < n && isLow(t_[i_ + 1])) {
      const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (t_[i_ + 1] - 0xDC00);
      tally_.add(t_, i_, cp, inserted);
      out_.append(t_.substr(i_, 2));
      i_ += 2;
      continue;
    }
    tally_.add(t_, i_, c, inserted);
    out_ += c;
    ++i_;
  }
}

// Converts `text` onto `out`; `decomposed` and `inserted` are room to work in.
void convertInto(std::u16string_view text, const ConversionOptions& options, GlyphString& out,
                 Unconverted& unconverted, std::u16string& decomposed,
                 std::vector<std::size_t>& inserted) {
  inserted.clear();  // the nuktas split off composed letters
  if (std::any_of(text.begin(), text.end(), [](char16_t c) { return nuktaBase(c) != 0; })) {
    decomposed.clear();
    decomposed.reserve(text.size() + 16);
    for (char16_t c : text) {
      if (const char16_t base = nuktaBase(c)) {
        decomposed += base;
        inserted.push_back(decomposed.size());
        decomposed += kNukta;
      } else {
        decomposed += c;
      }
    }
    text = decomposed;
  }
  Converter(text, options, out, unconverted).run(inserted);
}

// Whether a conversion of text[0, j) and one of text[j, end) give what one of
// the whole gives: no cluster goes on across j, and no look ahead from before
// j tells a character at j from none. A cluster goes on through a virama, a
// nukta, a vowel sign or a mark; after a virama any letter may continue it
// (a reph, a conjunct, a halant at the end of a cluster). CR LF is one line
// break, and a surrogate pair one character.
bool mayCutBefore(std::u16string_view text, std::size_t j) {
  const char16_t c = text[j];
  const char16_t before = text[j - 1];
  if (isLow(c) || (c == kLF && before == kCR)) return false;
  if (!inBlock(c)) return true;
  if (before == kVirama || c == kVirama || c == kNukta) return false;
  const Tables& tb = Tables::instance();
  return tb.sign[c - 0x0900].empty() && tb.mark[c - 0x0900].empty();
}

}  // namespace

GlyphConversion unicodeToGlyphs(std::u16string_view text, const ConversionOptions& options) {
  GlyphConversion result;
  result.glyphs.reserve(text.size() + text.size() / 4 + 8);
  std::u16string decomposed;
  std::vector<std::size_t> inserted;
  convertInto(text, options, result.glyphs, result.unconverted, decomposed, inserted);
  return result;
}

// Short words that a space or LF ends, and their glyphs. A word's glyphs
// depend on nothing before it nor after its break: the converter looks at no
// character before the one it converts, and no look ahead from inside a word
// reads past its break. Only words with no character
// kept are cached, so a word found advances the place by its units: it holds
// no surrogate, and no CR. Two entries per hash: the word last found or
// converted, and the one before it.
struct UnicodeToGlyphsStream::Words {
  static constexpr std::size_t kUnits = 16;  // of a word, its break left out
  static constexpr std::size_t kCodes = 29;  // its glyphs, as Windows-1252 codes

  struct alignas(64) Entry {
    char16_t word[kUnits] = {};
    std::uint8_t units = 0;  // 0: empty
    std::uint8_t glyphs = 0;
    std::uint8_t codes[kCodes] = {};
    bool latin1 = true;  // each code is its glyph (none in 0x80..0x9F)
  };
  static_assert(sizeof(Entry) == 64, "an entry a cache line");

  // 4 MB at most.
  WordTable<Entry> table;
  std::array<char16_t, 256> glyphOf{};  // of a code

  Words() {
    for (unsigned b = 0; b < 256; ++b) glyphOf[b] = cp1252ToChar(static_cast<std::uint8_t>(b));
  }

  // Writes the glyphs of an entry, and maybe more: kCodes in all.
  void put(const Entry& e, char16_t* to) const {
    if (e.latin1) {
      for (std::size_t k = 0; k < kCodes; ++k) to[k] = e.codes[k];
    } else {
      for (std::size_t k = 0; k < kCodes; ++k) to[k] = glyphOf[e.codes[k]];
    }
  }

  // Keeps the glyphs of a word, when they fit and all have codes.
  static void keep(Entry& e, const char16_t* word, std::size_t units, const char16_t* glyphs,
                   std::size_t count) {
    std::uint8_t codes[kCodes];
    if (count > kCodes) return;
    for (std::size_t k = 0; k < count; ++k) {
      const std::optional<std::uint8_t> code = charToCp1252(glyphs[k]);
      if (!code) return;
      codes[k] = *code;
    }
    std::memcpy(e.codes, codes, count);
    e.latin1 =
        std::all_of(codes, codes + count, [](std::uint8_t b) { return b < 0x80 || b > 0x9F; });
    std::memcpy(e.word, word, units * sizeof(char16_t));
    e.units = static_cast<std::uint8_t>(units);
    e.glyphs = static_cast<std::uint8_t>(count);
  }
};

UnicodeToGlyphsStream::UnicodeToGlyphsStream(std::size_t maxReported) : maxReported_(maxReported) {}
UnicodeToGlyphsStream::~UnicodeToGlyphsStream() = default;
UnicodeToGlyphsStream::UnicodeToGlyphsStream(UnicodeToGlyphsStream&&) noexcept = default;
UnicodeToGlyphsStream& UnicodeToGlyphsStream::operator=(UnicodeToGlyphsStream&&) noexcept = default;

void UnicodeToGlyphsStream::convertWords(std::u16string_view text, GlyphString& out) {
  read_ += text.size();
  if (read_ < kWordCacheAfter) {
    convert(text, out);
    return;
  }
  if (!words_) words_ = std::make_unique<Words>();
  Words& words = *words_;
  const char16_t* t = text.data();
  const std::size_t n = text.size();
  // Glyphs are written through a pointer into room made in `out`
  // beforehand; the text between the words found is converted into `slow_`,
  // up to each word.
  std::size_t used = out.size();
  auto room = [&](std::size_t count) {
    if (out.size() < used + count) out.resize(std::max(used + count + 4096, 2 * out.size()));
    return out.data() + used;
  };
  std::size_t from = 0;  // the text not converted yet
  auto convertTo = [&](std::size_t end) {
    if (end == from) return;
    slow_.clear();
    convert(text.substr(from, end - from), slow_);
    std::memcpy(room(slow_.size()), slow_.data(), slow_.size() * sizeof(char16_t));
    used += slow_.size();
    from = end;
  };
  // Words are found a batch at a time, and their entries fetched, so that
  // the table's memory is read ahead of its use.
  struct Word {
    std::size_t begin;
    std::size_t end;  // of its units: its break, or the end of a word not cached
    std::uint32_t hash;
    bool cached;
  };
  std::array<Word, 16> batch;
  std::size_t next = 0;
  while (next < n) {
    std::size_t count = 0;
    for (; count < batch.size() && next < n; ++count) {
      Word& w = batch[count];
      w.begin = next;
      w.hash = 0;
      std::size_t end = next;
      const std::size_t stop = std::min(n, next + Words::kUnits + 1);
      for (; end < stop; ++end) {
        const char16_t c = t[end];
        if (c <= u' ' && (c == u' ' || c == kLF || c == kCR)) break;
        w.hash = (w.hash ^ c) * 0x01000193u;
      }
      // A word starts where the text does, which no cut puts between CR and
      // LF, or after a space or LF.
      w.cached = end < stop && t[end] != kCR;
      if (!w.cached) {
        // Converted with the text around it, up to its break.
        while (end < n && t[end] != u' ' && t[end] != kLF) ++end;
      } else if (end > next) {
        const Words::Entry* pair = words.table.pair(w.hash);
        prefetch(pair);
        prefetch(pair + 1);
      }
      w.end = end;
      next = end + 1;
    }
    for (std::size_t k = 0; k < count; ++k) {
      const Word& w = batch[k];
      if (!w.cached) continue;
      const std::size_t i = w.begin;
      const std::size_t end = w.end;
      const std::size_t units = end - i;
      const char16_t brk = t[end];
      const Words::Entry* found = nullptr;  // none for a break alone
      if (units > 0) {
        // The word last found or kept first in its pair.
        Words::Entry* pair = words.table.pair(w.hash);
        const bool whole = i + Words::kUnits <= n;
        auto same = [&](const Words::Entry& e) {
          return e.units == units && (whole ? sameUnits<Words::kUnits>(e.word, t + i, units)
                                            : std::memcmp(e.word, t + i, units * 2) == 0);
        };
        if (!same(pair[0]) && same(pair[1])) std::swap(pair[0], pair[1]);
        Words::Entry& e = pair[0];
        if (!same(e)) {
          convertTo(i);
          const std::size_t kept = unconverted_.count;
          const std::size_t start = used;
          convertTo(end + 1);  // the glyphs, then the break
          if (unconverted_.count == kept) {
            pair[1] = e;
            Words::keep(e, t + i, units, out.data() + start, used - start - 1);
          }
          words.table.lookedUp(false);  // after keep: the table may grow
          continue;
        }
        found = &e;
      }
      convertTo(i);
      char16_t* to = room(Words::kCodes + 1);
      std::size_t glyphs = 0;
      if (found) {
        words.put(*found, to);
        glyphs = found->glyphs;
        words.table.lookedUp(true);
      }
      to[glyphs] = brk;
      used += glyphs + 1;
      if (unconverted_.first.size() < maxReported_) {
        if (brk == kLF) {
          ++at_.line;
          at_.column = 1;
        } else {
          at_.column += units + 1;
        }
      }
      from = end + 1;
    }
  }
  convertTo(n);
  out.resize(used);
}

void UnicodeToGlyphsStream::convert(std::u16string_view text, GlyphString& out) {
  ConversionOptions options;
  options.maxReported = maxReported_ - unconverted_.first.size();
  options.start = at_;
  Unconverted found;
  convertInto(text, options, out, found, decomposed_, inserted_);
  unconverted_.count += found.count;
  unconverted_.first.insert(unconverted_.first.end(), found.first.begin(), found.first.end());
  if (unconverted_.first.size() >= maxReported_) return;  // places are no longer needed
  // The place after `text`; a cut is never inside CR LF or a surrogate pair.
  std::size_t lineStart = text.size();
  while (lineStart > 0 && text[lineStart - 1] != kLF && text[lineStart - 1] != kCR) --lineStart;
  if (lineStart > 0) {
    for (std::size_t i = 0; i < lineStart; ++i) {
      const char16_t c = text[i];
      at_.line += c == kCR || (c == kLF && !(i > 0 && text[i - 1] == kCR));
    }
    at_.column = 1;
  }
  for (std::size_t i = lineStart; i < text.size(); ++i) {
    at_.column += !(isLow(text[i]) && i > lineStart && isHigh(text[i - 1]));
  }
}

void UnicodeToGlyphsStream::feed(std::u16string_view text, GlyphString& out) {
  std::size_t cut = text.size() > 0 ? text.size() - 1 : 0;
  while (cut > 0 && !mayCutBefore(text, cut)) --cut;
  if (cut == 0) {
    pending_.append(text);
    return;
  }
  if (pending_.empty()) {
    convertWords(text.substr(0, cut), out);
  } else {
    pending_.append(text.substr(0, cut));
    convertWords(pending_, out);
  }
  pending_.assign(text.substr(cut));
}

void UnicodeToGlyphsStream::finish(GlyphString& out) {
  convertWords(pending_, out);
  pending_.clear();
  at_ = TextPosition();
}

bool keptAsGlyph(char32_t c) {
  // A character is a font code when glyphsToUnicode changes it, or is one of
  // the codes that show themselves.
  struct Codes {
    std::array<bool, 256> code{};
    Codes() {
      for (char16_t c = 0; c < 256; ++c) {
        code[c] = glyphsToUnicode(std::u16string_view(&c, 1)) != std::u16string_view(&c, 1);
      }
      for (char16_t c : std::u16string_view(u" !0123456789\n\r\t")) code[c] = true;
    }
  };
  static const Codes codes;
  if (c < 256) return !codes.code[c];
  return c != kLineSeparator && c != 0x201C;
}

Unconverted unconvertedGlyphs(std::u16string_view glyphs, const ConversionOptions& options) {
  Unconverted result;
  Tally tally(options, result);
  static const std::vector<std::size_t> none;
  const std::size_t n = glyphs.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = glyphs[i];
    if (c == kLF || c == kCR) {
      tally.lineBreak(glyphs, i);
      continue;
    }
    if (!keptAsGlyph(c)) continue;
    if (isHigh(c) && i + 1 < n && isLow(glyphs[i + 1])) {
      tally.add(glyphs, i, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (glyphs[i + 1] - 0xDC00),
                none);
      ++i;
      continue;
    }
    tally.add(glyphs, i, c, none);
  }
  return result;
}

}  // namespace kavelin
