// SPDX-License-Identifier: GPL-3.0-or-later
#include "unicode.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "devanagari.h"
#include "wordtable.h"

// The composer's step, inlined into the loop that reads the glyphs.
#if defined(__GNUC__)
#define KAVELIN_INLINE [[gnu::always_inline]] inline
#else
#define KAVELIN_INLINE inline
#endif

namespace kavelin {
namespace {

using deva::kAnusvara;
using deva::kNukta;
using deva::kRa;
using deva::kSignI;
using deva::kVirama;
constexpr char16_t kReplacement = 0xFFFD;

// What a code contributes to the text. A code gives one or two pieces; "half"
// is a consonant with its virama.
enum class Piece : std::uint8_t {
  kNone,       // no second piece
  kOther,      // independent vowel, digit, punctuation, space, line break
  kConsonant,  // full consonant
  kHalf,       // consonant + virama
  kSign,       // dependent vowel sign
  kMark,       // anusvara, candrabindu, visarga
  kNuktaCode,
  kRakar,           // virama + RA below the preceding consonant
  kViramaCode,      // the halant code
  kShortI,          // vowel sign i written before its cluster
  kShortIAnusvara,  // the same with an anusvara after the sign
  kReph,            // reph written after its syllable
  kRephShortI,      // reph and vowel sign i, both of the following cluster
};

struct Code {
  Piece first = Piece::kNone;
  char16_t firstChar = 0;
  Piece second = Piece::kNone;
  char16_t secondChar = 0;
};

using CodeTable = std::array<Code, 256>;

constexpr CodeTable makeCodeTable() {
  CodeTable t{};
  auto one = [&t](unsigned code, Piece p, char16_t c) { t[code] = {p, c, Piece::kNone, 0}; };
  auto two = [&t](unsigned code, Piece p, char16_t c, Piece q, char16_t d) {
    t[code] = {p, c, q, d};
  };
  using P = Piece;
  one(0x0A, P::kOther, u'\n');
  one(0x20, P::kOther, u' ');
  one(0x21, P::kOther, u'!');
  one(0x22, P::kHalf, u'ष');
  two(0x23, P::kConsonant, u'र', P::kSign, u'ु');
  one(0x24, P::kOther, u'+');
  one(0x25, P::kMark, u'ः');
  one(0x26, P::kOther, u'-');
  one(0x27, P::kHalf, u'श');
  one(0x28, P::kOther, u';');
  one(0x2A, P::kOther, u'’');
  one(0x2B, P::kNuktaCode, kNukta);
  one(0x2C, P::kOther, u'ए');
  one(0x2D, P::kOther, u'.');
  one(0x2E, P::kHalf, u'ण');
  one(0x2F, P::kHalf, u'ध');
  for (unsigned d = 0x30; d <= 0x39; ++d) one(d, P::kOther, static_cast<char16_t>(d));
  two(0x3A, P::kConsonant, u'र', P::kSign, u'ू');
  one(0x3B, P::kConsonant, u'य');
  one(0x3C, P::kConsonant, u'ढ');
  two(0x3D, P::kHalf, u'त', P::kConsonant, u'र');
  one(0x3E, P::kConsonant, u'झ');
  one(0x3F, P::kHalf, u'घ');
  one(0x40, P::kOther, u'/');
  one(0x41, P::kOther, u'।');
  one(0x42, P::kConsonant, u'ठ');
  one(0x43, P::kHalf, u'ब');
  one(0x44, P::kHalf, u'क');
  one(0x45, P::kHalf, u'म');
  one(0x46, P::kHalf, u'थ');
  one(0x47, P::kConsonant, u'ळ');
  one(0x48, P::kHalf, u'भ');
  one(0x49, P::kHalf, u'प');
  two(0x4A, P::kHalf, u'श', P::kConsonant, u'र');
  two(0x4B, P::kHalf, u'ज', P::kConsonant, u'ञ');
  one(0x4C, P::kHalf, u'स');
  one(0x4D, P::kConsonant, u'ड');
  one(0x4E, P::kConsonant, u'छ');
  one(0x4F, P::kHalf, u'व');
  one(0x50, P::kHalf, u'च');
  one(0x51, P::kConsonant, u'फ');
  one(0x52, P::kHalf, u'त');
  one(0x53, P::kSign, u'ै');
  one(0x54, P::kHalf, u'ज');
  one(0x55, P::kHalf, u'न');
  one(0x56, P::kConsonant, u'ट');
  one(0x57, P::kSign, u'ॅ');
  one(0x58, P::kHalf, u'ग');
  one(0x59, P::kHalf, u'ल');
  one(0x5A, P::kReph, kRa);
  one(0x5B, P::kHalf, u'ख');
  one(0x5C, P::kOther, u'?');
  one(0x5D, P::kOther, u',');
  one(0x5E, P::kOther, u'‘');
  one(0x5F, P::kOther, u'ऋ');
  one(0x60, P::kSign, u'ृ');
  one(0x61, P::kMark, kAnusvara);
  one(0x62, P::kOther, u'इ');
  one(0x63, P::kConsonant, u'ब');
  one(0x64, P::kConsonant, u'क');
  one(0x65, P::kConsonant, u'म');
  one(0x66, P::kShortI, kSignI);
  one(0x67, P::kConsonant, u'ह');
  one(0x68, P::kSign, u'ी');
  one(0x69, P::kConsonant, u'प');
  one(0x6A, P::kConsonant, u'र');
  one(0x6B, P::kSign, u'ा');
  one(0x6C, P::kConsonant, u'स');
  one(0x6D, P::kOther, u'उ');
  one(0x6E, P::kConsonant, u'द');
  one(0x6F, P::kConsonant, u'व');
  one(0x70, P::kConsonant, u'च');
  one(0x71, P::kSign, u'ु');
  one(0x72, P::kConsonant, u'त');
  one(0x73, P::kSign, u'े');
  one(0x74, P::kConsonant, u'ज');
  one(0x75, P::kConsonant, u'न');
  one(0x76, P::kOther, u'अ');
  one(0x77, P::kSign, u'ू');
  one(0x78, P::kConsonant, u'ग');
  one(0x79, P::kConsonant, u'ल');
  one(0x7A, P::kRakar, kRa);
  two(0x7B, P::kHalf, u'क', P::kHalf, u'ष');
  one(0x7E, P::kViramaCode, kVirama);
  one(0x93, P::kConsonant, u'भ');
  one(0xA1, P::kMark, u'ँ');
  one(0xAA, P::kRakar, kRa);
  two(0xAB, P::kHalf, u'त', P::kHalf, u'र');
  one(0xBC, P::kOther, u'(');
  one(0xBD, P::kOther, u')');
  one(0xBE, P::kOther, u'=');
  one(0xBF, P::kOther, u'{');
  one(0xC0, P::kOther, u'}');
  one(0xC3, P::kOther, u'ई');
  one(0xC5, P::kOther, u'ऊ');
  one(0xC6, P::kRephShortI, kSignI);
  one(0xC7, P::kShortIAnusvara, kSignI);
  two(0xD1, P::kConsonant, u'क', P::kSign, u'ृ');
  two(0xD8, P::kHalf, u'क', P::kConsonant, u'र');
  two(0xDD, P::kHalf, u'फ', P::kConsonant, u'र');
  two(0xE6, P::kHalf, u'द', P::kConsonant, u'र');
  two(0xE7, P::kHalf, u'प', P::kConsonant, u'र');
  two(0xE9, P::kHalf, u'न', P::kConsonant, u'न');
  return t;
}

constexpr CodeTable kCodes = makeCodeTable();

// The font code of a glyph character, or -1 for a character that is not one.
// Code 0x93 is held as U+201C; the C1 character U+0093 is not a code.
int codeOf(char16_t c) {
  if (c == 0x201C) return 0x93;
  if (c >= 0x100 || (c >= 0x80 && c <= 0x9F)) return -1;
  return kCodes[c].first == Piece::kNone ? -1 : c;
}

// Canonical composition for what the text can hold: nukta (ccc 7) goes before
// virama (ccc 9); न, र, ळ compose with the nukta; U+0958..U+095F are
// composition exclusions and are decomposed. Other characters are taken to be
// in NFC already (a glyph string holds Windows-1252 characters, which have no
// combining marks). The last character is held back, for a nukta to compose
// with it. Writes to a sink (Utf16Sink, Utf8Sink).
class NfcWriter {
 public:
  // The most units that the marks and character held back can add to a
  // release beyond its own.
  std::size_t held() const { return nuktas_ + viramas_ + 1; }

  template <typename Sink>
  KAVELIN_INLINE void push(char16_t c, Sink& out) {
    if (held_ && (nuktas_ | viramas_) == 0 && !isMarkOrExclusion(c)) {
      out.put(last_);
      last_ = c;
      return;
    }
    if (c == kNukta) {
      ++nuktas_;
      return;
    }
    if (c == kVirama) {
      ++viramas_;
      return;
    }
    if (nuktas_ != 0 || viramas_ != 0) {
      flushMarks(out);
    } else if (held_) {
      out.put(last_);
    }
    held_ = true;
    if (c >= 0x0958 && c <= 0x095F) {  // composition exclusions
      last_ = deva::nuktaBase(c);
      nuktas_ = 1;
      return;
    }
    last_ = c;
  }

  template <typename Sink>
  void finish(Sink& out) {
    flushMarks(out);
    nuktas_ = viramas_ = 0;
  }

  // The character held back when no mark follows it, else 0.
  char16_t heldAlone() const { return held_ && (nuktas_ | viramas_) == 0 ? last_ : 0; }
  // Holds `c` instead, when heldAlone() is not 0.
  void replaceHeld(char16_t c) { last_ = c; }

 private:
  // Writes the held character and the marks after it.
  template <typename Sink>
  void flushMarks(Sink& out) {
    if (held_) {
      const char16_t composed = nuktas_ > 0 ? deva::composeWithNukta(last_) : 0;
      if (composed != 0) {
        last_ = composed;
        --nuktas_;
      }
      out.put(last_);
      held_ = false;
    }
    for (; nuktas_ > 0; --nuktas_) out.put(kNukta);
    for (; viramas_ > 0; --viramas_) out.put(kVirama);
  }

  static bool isMarkOrExclusion(char16_t c) {
    return c == kNukta || c == kVirama || (c >= 0x0958 && c <= 0x095F);
  }

  char16_t last_ = 0;
  bool held_ = false;
  std::size_t nuktas_ = 0;
  std::size_t viramas_ = 0;
};

// Appends UTF-16 through a pointer, into room made beforehand (see
// Composer::release).
class Utf16Sink {
 public:
  using String = std::u16string;
  static constexpr std::size_t kPerUnit = 2;  // U+0958..U+095F: base and nukta

  Utf16Sink(char16_t* at, char16_t /*high*/) : at_(at) {}
  KAVELIN_INLINE void put(char16_t c) { *at_++ = c; }
  char16_t high() const { return 0; }
  void finish() {}
  char16_t* end() { return at_; }

 private:
  char16_t* at_;
};

// The UTF-8 of the characters below U+0980 (ASCII and Devanagari), padded to
// three bytes, and its length.
constexpr char16_t kTabled = 0x0980;
using Utf8Table = std::array<std::array<unsigned char, 4>, kTabled>;
constexpr Utf8Table makeUtf8Table() {
  Utf8Table t{};
  for (unsigned c = 0; c < kTabled; ++c) {
    if (c < 0x80) {
      t[c] = {static_cast<unsigned char>(c), 0, 0, 1};
    } else if (c < 0x800) {
      t[c] = {static_cast<unsigned char>(0xC0 | (c >> 6)),
              static_cast<unsigned char>(0x80 | (c & 0x3F)), 0, 2};
    } else {
      t[c] = {static_cast<unsigned char>(0xE0 | (c >> 12)),
              static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<unsigned char>(0x80 | (c & 0x3F)), 3};
    }
  }
  return t;
}
constexpr Utf8Table kUtf8 = makeUtf8Table();

// Appends the UTF-8 of the units, as appendUtf8 encodes them (a surrogate
// left unpaired becomes U+FFFD), through a pointer into room made beforehand.
class Utf8Sink {
 public:
  using String = std::string;
  static constexpr std::size_t kPerUnit = 6;  // U+0958..U+095F: base and nukta

  // `high`: a high surrogate the last release left waiting for its low one.
  Utf8Sink(char* at, char16_t high) : at_(reinterpret_cast<unsigned char*>(at)), high_(high) {}
  KAVELIN_INLINE void put(char16_t c) {
    if (c < kTabled && high_ == 0) {
      // Four bytes written, the encoding's length kept: the room has a byte
      // to spare.
      const std::array<unsigned char, 4>& bytes = kUtf8[c];
      std::memcpy(at_, bytes.data(), 4);
      at_ += bytes[3];
      return;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      surrogate(c);
      return;
    }
    if (high_ != 0) lone();
    encode(c);
  }
  // A high surrogate still waiting, for the next release.
  char16_t high() const { return high_; }
  // Ends the text: a high surrogate still waiting is unpaired.
  void finish() {
    if (high_ != 0) lone();
  }
  char* end() { return reinterpret_cast<char*>(at_); }

 private:
  void surrogate(char16_t c) {
    if (c <= 0xDBFF) {
      if (high_ != 0) lone();
      high_ = c;
      return;
    }
    if (high_ == 0) {
      encode(0xFFFD);
      return;
    }
    const char32_t cp = 0x10000 + ((char32_t(high_) - 0xD800) << 10) + (c - 0xDC00);
    high_ = 0;
    *at_++ = static_cast<unsigned char>(0xF0 | (cp >> 18));
    *at_++ = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
    *at_++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    *at_++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  }
  void lone() {
    high_ = 0;
    encode(0xFFFD);
  }
  KAVELIN_INLINE void encode(char16_t c) {
    if (c < 0x80) {
      *at_++ = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
      *at_++ = static_cast<unsigned char>(0xC0 | (c >> 6));
      *at_++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
      *at_++ = static_cast<unsigned char>(0xE0 | (c >> 12));
      *at_++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
      *at_++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
  }

  unsigned char* at_;
  char16_t high_;  // a high surrogate waiting for its low one
};

// UTF-16 units whose appends skip the capacity check: room is made for a
// whole piece of glyphs beforehand (reserveMore).
class Units {
 public:
  void reserveMore(std::size_t n) {
    if (data_.size() < size_ + n) data_.resize(std::max(data_.size() * 2, size_ + n));
  }
  Units& operator+=(char16_t c) {
    data_[size_++] = c;
    return *this;
  }
  std::size_t size() const { return size_; }
  char16_t& operator[](std::size_t i) { return data_[i]; }
  char16_t operator[](std::size_t i) const { return data_[i]; }
  void pop_back() { --size_; }
  void clear() { size_ = 0; }
  // Appends the first `count` of c, d: both are written.
  void append(char16_t c, char16_t d, std::size_t count) {
    data_[size_] = c;
    data_[size_ + 1] = d;
    size_ += count;
  }
  void eraseFront(std::size_t n) {
    std::copy(data_.begin() + static_cast<std::ptrdiff_t>(n),
              data_.begin() + static_cast<std::ptrdiff_t>(size_), data_.begin());
    size_ -= n;
  }

 private:
  std::vector<char16_t> data_;
  std::size_t size_ = 0;
};

// The most units that reading one glyph appends: two pieces, each with the
// waiting short i placed before it.
constexpr std::size_t kMostUnitsAGlyph = 8;

// Where the text stands with respect to the latest consonant cluster.
enum class Phase : std::uint8_t {
  kNone,   // no cluster: start of text, after a space, vowel, digit...
  kHalf,   // in a run of half forms, no full consonant yet
  kFull,   // after the full consonant (nukta and rakar may still follow)
  kSigns,  // after the cluster's vowel signs and marks
};
constexpr std::size_t kPhases = 4;
constexpr std::size_t kPieces = static_cast<std::size_t>(Piece::kRephShortI) + 1;

// The step of a piece in a phase when no short i waits, for the pieces that
// only append their character (and a virama) and move the phase: full and
// half consonants, signs (not after a half form), marks and others. The
// composer takes these without branching on the piece; the rest go through
// its switch.
struct Step {
  bool plain = false;
  bool virama = false;         // a virama follows the character
  bool startsCluster = false;  // the cluster starts at the character
  Phase next = Phase::kNone;
};
using StepTable = std::array<std::array<Step, kPieces>, kPhases>;

constexpr StepTable makeSteps() {
  StepTable t{};
  for (std::size_t ph = 0; ph < kPhases; ++ph) {
    const auto phase = static_cast<Phase>(ph);
    auto at = [&](Piece piece) -> Step& { return t[ph][static_cast<std::size_t>(piece)]; };
    const Phase signs = phase == Phase::kNone ? Phase::kNone : Phase::kSigns;
    at(Piece::kConsonant) = {true, false, phase != Phase::kHalf, Phase::kFull};
    at(Piece::kHalf) = {true, true, phase != Phase::kHalf, Phase::kHalf};
    if (phase != Phase::kHalf) at(Piece::kSign) = {true, false, false, signs};
    at(Piece::kMark) = {true, false, false, signs};
    at(Piece::kOther) = {true, false, false, Phase::kNone};
  }
  return t;
}
constexpr StepTable kSteps = makeSteps();

// Composes the text piece by piece. The vowel sign i waits until its cluster
// is complete, so a reph after it finds the sign in place ("fdZ" is र्कि). A
// reph is recorded as the position of its cluster and inserted when that part
// of the text is released, so that no character is moved twice. Positions
// count from the first character not yet released.
class Composer {
 public:
  // Makes room for reading `glyphs` glyphs.
  void reserveFor(std::size_t glyphs) { out_.reserveMore(kMostUnitsAGlyph * (glyphs + 4)); }
  KAVELIN_INLINE void put(Piece piece, char16_t c);
  // put for the pieces the table does not take.
  void putOther(Piece piece, char16_t c);
  // Appends the text that no later piece can change, in UTF-16 or UTF-8;
  // with `final`, all of it, and starts a new text.
  template <typename String>
  void release(String& out, bool final);

  // After a word break whose text is all released: the break, held back by
  // the NfcWriter with nothing after it, and no cluster, short i, reph or
  // unpaired surrogate waiting. The text read next is then converted as if
  // it started the text, after the break. 0 otherwise.
  char16_t releasedBreak() const {
    if (out_.size() != 0 || !rephs_.empty() || phase_ != Phase::kNone || pendingI_ || afterRakar_ ||
        high_ != 0) {
      return 0;
    }
    const char16_t c = nfc_.heldAlone();
    return c == u' ' || c == u'\n' ? c : 0;
  }
  // Takes the place of reading a word and its break `next` in the state
  // releasedBreak() tells, the caller writing the break held and the word.
  void skipWord(char16_t next) { nfc_.replaceHeld(next); }

 private:
  bool continuesPendingCluster(Piece piece) const;
  void placeShortI();
  void dropVirama();
  // The length of the part no later piece changes: before the open cluster
  // (a reph or a short i still goes there) or before the waiting short i.
  std::size_t settled() const;
  template <typename Sink>
  void write(Sink& sink, std::size_t end, bool final);

  Units out_;
  std::vector<std::size_t> rephs_;  // insertion points of र्, never decreasing
  std::size_t clusterStart_ = 0;
  std::size_t iStart_ = 0;  // where the waiting short i was written
  Phase phase_ = Phase::kNone;
  bool pendingI_ = false;
  bool pendingAnusvara_ = false;
  bool afterRakar_ = false;
  NfcWriter nfc_;
  // UTF-8 only: a high surrogate written whose low one the NfcWriter holds,
  // and the room a release writes in.
  char16_t high_ = 0;
  std::string utf8_;
};

// While a vowel sign i waits, the cluster after it grows by half forms up to
// one full consonant, then by nukta, rakar and halant (which makes the full
// consonant a half form again). A reph amid the half forms ("rx" is DZl)
// belongs to the same cluster.
bool Composer::continuesPendingCluster(Piece piece) const {
  switch (piece) {
    case Piece::kConsonant:
    case Piece::kHalf:
      return phase_ != Phase::kFull;
    case Piece::kNuktaCode:
    case Piece::kRakar:
    case Piece::kViramaCode:
      return phase_ != Phase::kNone;
    case Piece::kReph:
      return phase_ == Phase::kHalf;
    default:
      return false;
  }
}

// Puts the waiting vowel sign i after its cluster. With half forms and no full
// consonant ("fD") the last half form takes the sign as a full consonant. With
// no consonant at all ("f", "f ") the sign stays where it was written.
void Composer::placeShortI() {
  pendingI_ = false;
  afterRakar_ = false;
  if (phase_ == Phase::kHalf) dropVirama();
  out_ += kSignI;
  if (pendingAnusvara_) out_ += kAnusvara;
  if (phase_ != Phase::kNone) phase_ = Phase::kSigns;
}

// Turns the half form that ends the text so far into its full consonant.
void Composer::dropVirama() {
  const std::size_t n = out_.size();
  if (n >= 1 && out_[n - 1] == kVirama) {
    out_.pop_back();
  } else if (n >= 2 && out_[n - 1] == kNukta && out_[n - 2] == kVirama) {
    out_[n - 2] = kNukta;
    out_.pop_back();
  }
}

KAVELIN_INLINE void Composer::put(Piece piece, char16_t c) {
  const Step& step = kSteps[static_cast<std::size_t>(phase_)][static_cast<std::size_t>(piece)];
  if (step.plain && !pendingI_) {
    const std::size_t at = out_.size();
    out_.append(c, kVirama, step.virama ? 2 : 1);
    clusterStart_ = step.startsCluster ? at : clusterStart_;
    phase_ = step.next;
    afterRakar_ = false;
    return;
  }
  putOther(piece, c);
}

void Composer::putOther(Piece piece, char16_t c) {
  if (pendingI_ && !continuesPendingCluster(piece)) placeShortI();
  const bool afterRakar = afterRakar_;
  afterRakar_ = false;
  switch (piece) {
    case Piece::kNone:
      break;
    case Piece::kConsonant:
      if (phase_ != Phase::kHalf) clusterStart_ = out_.size();
      out_ += c;
      phase_ = Phase::kFull;
      break;
    case Piece::kHalf:
      if (phase_ != Phase::kHalf) clusterStart_ = out_.size();
      out_ += c;
      out_ += kVirama;
      phase_ = Phase::kHalf;
      break;
    case Piece::kNuktaCode:
      out_ += kNukta;  // after a half form NFC puts it before the virama
      break;
    case Piece::kRakar:
      // A second rakar code draws over the first: one rakar.
      afterRakar_ = true;
      if (afterRakar) break;
      if (phase_ == Phase::kHalf) {
        out_ += kRa;  // the half form's virama serves the rakar
        phase_ = Phase::kFull;
      } else {
        out_ += kVirama;
        out_ += kRa;
      }
      break;
    case Piece::kViramaCode:
      // A halant after a full consonant makes it a half form; after a half
      // form it adds nothing. Elsewhere it is kept as written.
      if (phase_ == Phase::kHalf) break;
      out_ += kVirama;
      phase_ = phase_ == Phase::kFull ? Phase::kHalf : Phase::kNone;
      break;
    case Piece::kSign:
      // A vowel sign after a half form (a token committed before its vowel,
      // as "D`" for "cR") belongs to the full consonant.
      if (phase_ == Phase::kHalf) dropVirama();
      out_ += c;
      if (phase_ != Phase::kNone) phase_ = Phase::kSigns;
      break;
    case Piece::kMark:
      out_ += c;  // after a half form it stays there: क्ं
      if (phase_ != Phase::kNone) phase_ = Phase::kSigns;
      break;
    case Piece::kOther:
      out_ += c;
      phase_ = Phase::kNone;
      break;
    case Piece::kShortI:
    case Piece::kShortIAnusvara:
      pendingI_ = true;
      pendingAnusvara_ = piece == Piece::kShortIAnusvara;
      iStart_ = out_.size();
      phase_ = Phase::kNone;
      break;
    case Piece::kReph:
      if (phase_ == Phase::kNone) {
        // No syllable before it: र् where it stands, taking nothing after it.
        out_ += kRa;
        out_ += kVirama;
      } else {
        rephs_.push_back(clusterStart_);
      }
      break;
    case Piece::kRephShortI:
      rephs_.push_back(out_.size());
      pendingI_ = true;
      pendingAnusvara_ = false;
      iStart_ = out_.size();
      phase_ = Phase::kNone;
      break;
  }
}

std::size_t Composer::settled() const {
  if (pendingI_) return iStart_;
  return phase_ == Phase::kNone ? out_.size() : clusterStart_;
}

template <typename String>
void Composer::release(String& out, bool final) {
  using Sink = std::conditional_t<std::is_same_v<String, std::string>, Utf8Sink, Utf16Sink>;
  if (final && pendingI_) {
    out_.reserveMore(kMostUnitsAGlyph);
    placeShortI();
  }
  const std::size_t end = final ? out_.size() : settled();
  // Room for every unit the release may write. UTF-16 is written in place
  // and cut to what it wrote; UTF-8, which takes three times the room, in a
  // buffer kept from one release to the next, and copied.
  const std::size_t room = Sink::kPerUnit * (end + 2 * rephs_.size() + nfc_.held()) + 1;
  if constexpr (std::is_same_v<Sink, Utf8Sink>) {
    if (utf8_.size() < room) utf8_.resize(std::max(room, 2 * utf8_.size()));
    Sink sink(utf8_.data(), high_);
    write(sink, end, final);
    if (final) sink.finish();
    high_ = sink.high();
    out.append(utf8_.data(), static_cast<std::size_t>(sink.end() - utf8_.data()));
  } else {
    const std::size_t start = out.size();
    out.resize(start + room);
    Sink sink(out.data() + start, high_);
    write(sink, end, final);
    out.resize(static_cast<std::size_t>(sink.end() - out.data()));
  }
  if (final) {
    // A new text, written in the room of this one.
    Units units = std::move(out_);
    std::vector<std::size_t> rephs = std::move(rephs_);
    std::string utf8 = std::move(utf8_);
    *this = Composer();
    out_ = std::move(units);
    out_.clear();
    rephs_ = std::move(rephs);
    rephs_.clear();
    utf8_ = std::move(utf8);
    return;
  }
  clusterStart_ = clusterStart_ > end ? clusterStart_ - end : 0;
  iStart_ = iStart_ > end ? iStart_ - end : 0;
  out_.eraseFront(end);
}

// Writes out_[0, end) with the rephs that go there through the NfcWriter;
// with `final`, the rephs after it too, and the characters held back.
template <typename Sink>
void Composer::write(Sink& sink, std::size_t end, bool final) {
  std::size_t next = 0;
  for (std::size_t i = 0; i < end;) {
    const std::size_t stop = next < rephs_.size() ? std::min(end, rephs_[next]) : end;
    for (; i < stop; ++i) nfc_.push(out_[i], sink);
    if (i == end) break;
    for (; next < rephs_.size() && rephs_[next] <= i; ++next) {
      nfc_.push(kRa, sink);
      nfc_.push(kVirama, sink);
    }
    nfc_.push(out_[i++], sink);
  }
  if (final) {
    for (; next < rephs_.size(); ++next) {
      nfc_.push(kRa, sink);
      nfc_.push(kVirama, sink);
    }
    nfc_.finish(sink);
    return;
  }
  rephs_.erase(rephs_.begin(), rephs_.begin() + static_cast<std::ptrdiff_t>(next));
  for (std::size_t& r : rephs_) r -= end;
}

// Codes that read as one piece together, longest first, so that the first
// match is the longest. "Å¡" (ऊँ) needs no entry: ऊ, then ँ.
struct Sequence {
  std::u16string_view codes;
  Piece piece;
  char16_t ch;
};

constexpr Sequence kSequences[] = {
    {u"vkS", Piece::kOther, u'औ'}, {u"vks", Piece::kOther, u'ओ'}, {u"vkW", Piece::kOther, u'ऑ'},
    {u"vk", Piece::kOther, u'आ'},  {u",s", Piece::kOther, u'ऐ'},  {u"bZ", Piece::kOther, u'ई'},
    {u"ks", Piece::kSign, u'ो'},   {u"kS", Piece::kSign, u'ौ'},   {u"kW", Piece::kSign, u'ॉ'},
};

constexpr bool longestFirst() {
  for (std::size_t i = 1; i < std::size(kSequences); ++i) {
    if (kSequences[i - 1].codes.size() < kSequences[i].codes.size()) return false;
  }
  return true;
}
static_assert(longestFirst(), "kSequences must be ordered longest first");

// Sequences with the same first code are next to each other.
constexpr bool groupedByFirstCode() {
  for (std::size_t i = 0; i < std::size(kSequences); ++i) {
    for (std::size_t j = i + 2; j < std::size(kSequences); ++j) {
      if (kSequences[j].codes[0] == kSequences[i].codes[0] &&
          kSequences[j - 1].codes[0] != kSequences[i].codes[0]) {
        return false;
      }
    }
  }
  return true;
}
static_assert(groupedByFirstCode(), "kSequences must be grouped by their first code");

// Per code, the first sequence that begins with it plus one; 0 for none.
constexpr std::array<std::uint8_t, 256> makeFirstSequence() {
  std::array<std::uint8_t, 256> first{};
  for (std::size_t i = std::size(kSequences); i-- > 0;) {
    first[kSequences[i].codes[0]] = static_cast<std::uint8_t>(i + 1);
  }
  return first;
}
constexpr std::array<std::uint8_t, 256> kFirstSequence = makeFirstSequence();

// The longest sequence that `glyphs` begins with, if any, searched from
// kSequences[from] among those with the same first code. Sequences are of
// ASCII codes, which stand for themselves in a glyph string.
const Sequence* sequenceAt(std::u16string_view glyphs, std::size_t from) {
  if (glyphs.size() < 2) return nullptr;
  for (std::size_t i = from; i < std::size(kSequences) && kSequences[i].codes[0] == glyphs[0];
       ++i) {
    const Sequence& seq = kSequences[i];
    if (seq.codes[1] == glyphs[1] && glyphs.substr(0, seq.codes.size()) == seq.codes) return &seq;
  }
  return nullptr;
}

// The codes of one piece that neither begin a sequence nor are a half form
// (which "k" after it makes full): read alone, without lookahead.
constexpr std::array<bool, 256> makeAlone() {
  std::array<bool, 256> alone{};
  for (unsigned c = 0; c < 256; ++c) {
    const Code& entry = kCodes[c];
    alone[c] = (c < 0x80 || c > 0x9F) && entry.first != Piece::kNone &&
               entry.second == Piece::kNone && entry.first != Piece::kHalf &&
               kFirstSequence[c] == 0;
  }
  return alone;
}
constexpr std::array<bool, 256> kAlone = makeAlone();

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

// The codes a step may read after its first: a sequence is three codes long.
constexpr std::size_t kLookahead = 2;

namespace {

bool isWordBreak(char16_t c) { return c == u' ' || c == u'\n'; }

// The text of short words, each with the break after it, as the composer
// writes it after a break (see Composer::releasedBreak): a word's text
// depends on nothing before that break nor after its own, since no sequence,
// stem, short i or reph reaches over a space or a line break. One entry per
// hash, the last word read.
template <typename Char>
class WordCache {
 public:
  // The most glyphs of a word with its break, and of units of its text.
  static constexpr std::size_t kGlyphs = 12;
  static constexpr std::size_t kUnits = (64 - 2 * kGlyphs - 2) / sizeof(Char);

  // A word with its break, zero after: its glyphs as three 64-bit numbers.
  struct Key {
    std::uint64_t part[3];
    bool operator==(const Key& other) const {
      return ((part[0] ^ other.part[0]) | (part[1] ^ other.part[1]) | (part[2] ^ other.part[2])) ==
             0;
    }
    std::uint32_t hash() const {
      // Three products side by side, their high halves mixed from all bits.
      const std::uint64_t h = (part[0] * 0x9E3779B97F4A7C15ull) ^
                              (part[1] * 0xC2B2AE3D27D4EB4Full) ^ (part[2] * 0x165667B19E3779F9ull);
      return static_cast<std::uint32_t>(h >> 32);
    }
  };
  static_assert(sizeof(Key) == kGlyphs * sizeof(char16_t), "a key holds the longest word");

  struct alignas(64) Entry {
    Key word = {};
    std::uint8_t glyphs = 0;  // 0: empty
    std::uint8_t units = 0;
    Char text[kUnits] = {};
  };
  static_assert(sizeof(Entry) == 64, "an entry fills one cache line");

  // What the composer released last.
  std::basic_string<Char> released;

  // 8 MB at most: room for the common words of a text of many words, with
  // few of them taking the place of another (in huge pages, its size costs
  // little).
  WordTable<Entry, std::size_t{1} << 17> table;

  // The key of the `glyphs` glyphs at `word`; kGlyphs of them are readable
  // when `wide`.
  static Key key(const char16_t* word, std::size_t glyphs, bool wide) {
    Key k{};
    if (!wide) {
      std::memcpy(k.part, word, glyphs * sizeof(char16_t));
      return k;
    }
    alignas(16) static constexpr std::uint64_t kMask[6] = {~0ull, ~0ull, ~0ull, 0, 0, 0};
    std::memcpy(k.part, word, sizeof k.part);
    std::uint64_t mask[3];
    std::memcpy(mask,
                reinterpret_cast<const char*>(kMask) + sizeof(Key) - glyphs * sizeof(char16_t),
                sizeof mask);
    for (std::size_t n = 0; n < 3; ++n) k.part[n] &= mask[n];
    return k;
  }
  // Keeps `text` for the word of `key` unless it is too long. (A word holds
  // no surrogate unpaired: it is read as U+FFFD.)
  static void keep(Entry& e, const Key& key, std::size_t glyphs, const Char* text,
                   std::size_t units) {
    if (units > kUnits) return;
    e.word = key;
    e.glyphs = static_cast<std::uint8_t>(glyphs);
    std::memcpy(e.text, text, units * sizeof(Char));
    e.units = static_cast<std::uint8_t>(units);
  }
};

// The word breaks among the kBreakWindow glyphs at `g`, a bit each.
constexpr std::size_t kBreakWindow = 64;
KAVELIN_INLINE std::uint64_t breaksAt(const char16_t* g) {
#if defined(__SSE2__)
  const __m128i space = _mm_set1_epi16(u' ');
  const __m128i lf = _mm_set1_epi16(u'\n');
  std::uint64_t bits = 0;
  for (std::size_t k = 0; k < kBreakWindow; k += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + k));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + k + 8));
    const __m128i ba = _mm_or_si128(_mm_cmpeq_epi16(a, space), _mm_cmpeq_epi16(a, lf));
    const __m128i bb = _mm_or_si128(_mm_cmpeq_epi16(b, space), _mm_cmpeq_epi16(b, lf));
    const auto mask = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_packs_epi16(ba, bb)));
    bits |= std::uint64_t{mask} << k;
  }
  return bits;
#else
  std::uint64_t bits = 0;
  for (std::size_t k = 0; k < kBreakWindow; ++k) {
    bits |= std::uint64_t{isWordBreak(g[k])} << k;
  }
  return bits;
#endif
}

}  // namespace

struct GlyphsToUnicodeStream::State {
  Composer composer;
  // Glyphs read so far: short texts (a paragraph of a document) go without
  // the word caches, which pay off only over many words.
  std::size_t read = 0;
  std::unique_ptr<WordCache<char16_t>> utf16Words;
  std::unique_ptr<WordCache<char>> utf8Words;

  // Reads glyphs[begin, limit), and may read kLookahead glyphs beyond; returns
  // where it stopped (limit, or a little beyond when the last step read more).
  std::size_t scan(std::u16string_view glyphs, std::size_t begin, std::size_t limit);
  // The same, releasing the text to `out` as it goes, a short word after a
  // break from the word cache.
  template <typename String>
  std::size_t scanWords(std::u16string_view glyphs, std::size_t begin, std::size_t limit,
                        String& out);
};

template <typename String>
std::size_t GlyphsToUnicodeStream::State::scanWords(std::u16string_view glyphs, std::size_t begin,
                                                    std::size_t limit, String& out) {
  using Char = typename String::value_type;
  using Cache = WordCache<Char>;
  read += limit > begin ? limit - begin : 0;
  if (read < kWordCacheAfter) return scan(glyphs, begin, limit);
  std::unique_ptr<Cache>* owner = nullptr;
  if constexpr (std::is_same_v<Char, char>) {
    owner = &utf8Words;
  } else {
    owner = &utf16Words;
  }
  if (!*owner) *owner = std::make_unique<Cache>();
  Cache& cache = **owner;
  const char16_t* g = glyphs.data();
  // The text is written through a pointer into room made in `out`
  // beforehand, the composer releasing into a string of its own. The break
  // the composer holds is kept here while words come from the cache.
  std::size_t used = out.size();
  auto room = [&](std::size_t n) {
    if (out.size() < used + n) {
      out.resize(std::max(used + n + 4096, std::min(2 * out.size(), out.capacity())));
    }
  };
  // Room for the piece's text at once (about 2.5 bytes of UTF-8, or 1.2
  // units of UTF-16, a glyph), so that a buffer is allocated once rather than
  // grown and copied, page after fresh page, as the text comes.
  const std::size_t expected = used + (limit - begin) * (sizeof(Char) == 1 ? 3 : 2) + 4096;
  if (out.capacity() < expected) out.reserve(expected);
  String& released = cache.released;
  auto release = [&] {
    released.clear();
    composer.release(released, false);
    room(released.size());
    std::memcpy(out.data() + used, released.data(), released.size() * sizeof(Char));
    used += released.size();
  };
  char16_t held = composer.releasedBreak();
  std::size_t window = glyphs.size();  // where `breaks` starts: none yet
  std::uint64_t breaks = 0;
  std::size_t i = begin;
  while (i < limit) {
    // The word and its break, when short enough.
    const std::size_t stop = std::min(limit, i + Cache::kGlyphs);
    // The breaks of a window of glyphs, found at once, tell where each word
    // ends; the window moves on when too little of it is left for a word.
    const bool wide = i + kBreakWindow <= glyphs.size();
    std::size_t end = i;
    if (wide) {
      if (i < window || i + Cache::kGlyphs > window + kBreakWindow) {
        window = i;
        breaks = breaksAt(g + i);
      }
      const std::uint64_t ahead = breaks >> (i - window);
      end =
          ahead == 0 ? stop : std::min(stop, i + static_cast<std::size_t>(__builtin_ctzll(ahead)));
    } else {
      while (end < stop && !isWordBreak(g[end])) ++end;
    }
    if (held != 0) composer.skipWord(held);
    if (held == 0 || end == stop) {
      // Read up to the next break and release the text, to come to one.
      while (end < limit && !isWordBreak(g[end])) ++end;
      if (end == limit) {
        i = scan(glyphs, i, limit);
        held = 0;
        break;
      }
      i = scan(glyphs, i, end + 1);
      release();
      held = composer.releasedBreak();
      continue;
    }
    const std::size_t count = end + 1 - i;
    const typename Cache::Key key = Cache::key(g + i, count, wide);
    typename Cache::Entry& entry = cache.table.at(key.hash());
    if (entry.glyphs == count && entry.word == key) {
      room(1 + Cache::kUnits);
      Char* to = out.data() + used;
      *to = static_cast<Char>(held);
      std::memcpy(to + 1, entry.text, sizeof entry.text);
      used += 1 + entry.units;
      held = g[end];
      i = end + 1;
      cache.table.lookedUp(true);
      continue;
    }
    i = scan(glyphs, i, end + 1);
    release();
    // The release starts with the break held before the word.
    Cache::keep(entry, key, count, released.data() + 1, released.size() - 1);
    cache.table.lookedUp(false);
    held = composer.releasedBreak();
  }
  out.resize(used);
  if (held != 0) composer.skipWord(held);
  return i;
}

std::size_t GlyphsToUnicodeStream::State::scan(std::u16string_view glyphs, std::size_t begin,
                                               std::size_t limit) {
  const std::size_t n = glyphs.size();
  auto codeAt = [&](std::size_t i) { return i < n ? codeOf(glyphs[i]) : -1; };
  if (limit > begin) composer.reserveFor(limit - begin);
  std::size_t i = begin;
  while (i < limit) {
    const char16_t c = glyphs[i];
    if (c < 0x100 && kAlone[c]) {
      composer.put(kCodes[c].first, kCodes[c].firstChar);
      ++i;
      continue;
    }
    const int code = codeOf(c);
    if (code < 0) {
      if (isHighSurrogate(c) && i + 1 < n && isLowSurrogate(glyphs[i + 1])) {
        composer.put(Piece::kOther, c);
        composer.put(Piece::kOther, glyphs[i + 1]);
        i += 2;
        continue;
      }
      const bool lone = isHighSurrogate(c) || isLowSurrogate(c);
      composer.put(Piece::kOther, lone ? kReplacement : c);
      ++i;
      continue;
    }
    if (const std::size_t first = kFirstSequence[code]; first != 0) {
      if (const Sequence* seq = sequenceAt(glyphs.substr(i), first - 1)) {
        composer.put(seq->piece, seq->ch);
        i += seq->codes.size();
        continue;
      }
    }

    const Code& entry = kCodes[code];
    // A half form and the vertical bar "k" make the full consonant.
    const bool stem = (entry.second == Piece::kNone ? entry.first : entry.second) == Piece::kHalf &&
                      codeAt(i + 1) == 'k';
    if (entry.second == Piece::kNone) {
      composer.put(stem ? Piece::kConsonant : entry.first, entry.firstChar);
    } else {
      composer.put(entry.first, entry.firstChar);
      composer.put(stem ? Piece::kConsonant : entry.second, entry.secondChar);
    }
    i += stem ? 2 : 1;
  }
  return i;
}

GlyphsToUnicodeStream::GlyphsToUnicodeStream() : state_(std::make_unique<State>()) {}
GlyphsToUnicodeStream::~GlyphsToUnicodeStream() = default;
GlyphsToUnicodeStream::GlyphsToUnicodeStream(GlyphsToUnicodeStream&&) noexcept = default;
GlyphsToUnicodeStream& GlyphsToUnicodeStream::operator=(GlyphsToUnicodeStream&&) noexcept = default;

void GlyphsToUnicodeStream::feed(std::u16string_view glyphs, std::u16string& out) {
  feedTo(glyphs, out);
}
void GlyphsToUnicodeStream::feed(std::u16string_view glyphs, std::string& utf8) {
  feedTo(glyphs, utf8);
}
void GlyphsToUnicodeStream::finish(std::u16string& out) { finishTo(out); }
void GlyphsToUnicodeStream::finish(std::string& utf8) { finishTo(utf8); }

template <typename String>
void GlyphsToUnicodeStream::feedTo(std::u16string_view glyphs, String& out) {
  // A glyph is read once the kLookahead glyphs after it are known. Those
  // still held from the last piece are read with the start of this one.
  std::size_t from = 0;
  if (!pending_.empty()) {
    const std::size_t held = pending_.size();
    pending_.append(glyphs.substr(0, kLookahead));
    const std::size_t readable = pending_.size() > kLookahead ? pending_.size() - kLookahead : 0;
    const std::size_t at = state_->scan(pending_, 0, std::min(held, readable));
    if (at < held) {  // a piece shorter than the lookahead
      pending_.erase(0, at);
      pending_.append(glyphs.substr(std::min(glyphs.size(), kLookahead)));
      state_->composer.release(out, false);
      return;
    }
    from = at - held;
    pending_.clear();
  }
  const std::size_t limit = glyphs.size() > kLookahead ? glyphs.size() - kLookahead : 0;
  const std::size_t at = state_->scanWords(glyphs, from, limit, out);
  pending_.assign(glyphs.substr(std::min(at, glyphs.size())));
  state_->composer.release(out, false);
}

template <typename String>
void GlyphsToUnicodeStream::finishTo(String& out) {
  state_->scan(pending_, 0, pending_.size());
  pending_.clear();
  state_->composer.release(out, true);
}

std::u16string glyphsToUnicode(std::u16string_view glyphs) {
  std::u16string out;
  out.reserve(glyphs.size() + glyphs.size() / 2 + 8);
  GlyphsToUnicodeStream stream;
  stream.feed(glyphs, out);
  stream.finish(out);
  return out;
}

}  // namespace kavelin
