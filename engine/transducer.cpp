// SPDX-License-Identifier: GPL-3.0-or-later
#include "transducer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "feedcache.h"
#include "wordcache.h"

namespace kavelin {
namespace {

constexpr std::size_t kHeldBack = 16;  // bytes kept for a later take-back

// The length of the UTF-8 sequence that `lead` starts, or 0 for a byte that
// starts none.
std::size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

Transducer::Transducer(Output output, const WordCacheSettings& words)
    : output_(output), words_(std::make_unique<WordCache>(words)) {
  engine_.ClearTxt();
  engine_.cache_ = std::make_unique<Engine::FeedCache>();
  cache_ = engine_.cache_.get();
  cache_->keepBytes(output == Output::kUtf8);
  start_ = state_ = cache_->intern(engine_);
}

Transducer::~Transducer() = default;

WordCacheStats Transducer::wordCacheStats() const { return words_->stats(); }

void Transducer::Buffer::reserve(std::size_t n) {
  if (bytes.size() < size + n) bytes.resize(std::max(bytes.size() * 2, size + n));
}

void Transducer::Buffer::append(const char* from, std::size_t n) {
  reserve(n);
  std::memcpy(bytes.data() + size, from, n);
  size += n;
}

void Transducer::stepInFull(int symbol, char16_t c) {
  // Give the engine the glyphs still held, the only part of the mirror a step
  // can take back, and see what the step leaves of them.
  const std::string_view held = held_.view();
  std::u16string tail;
  std::string cut;  // the end of a character whose start was handed out
  if (output_ == Output::kCodes) {
    for (char b : held) tail.push_back(cp1252ToChar(static_cast<std::uint8_t>(b)));
  } else {
    std::size_t from = 0;
    while (from < held.size() && (static_cast<unsigned char>(held[from]) & 0xC0) == 0x80) ++from;
    cut = held.substr(0, from);
    decodeUtf8(held.substr(from), tail);
  }
  cache_->restore(state_, engine_);
  engine_.txtHM_ = tail;
  engine_.txtEM_.clear();
  engine_.suppressFeed_ = symbol == Engine::kLineFeed ? -1 : 0;
  engine_.runSymbol(symbol, c);
  if (engine_.txtHM_.compare(0, tail.size() - (tail.empty() ? 0 : 1), tail, 0,
                             tail.empty() ? 0 : tail.size() - 1) != 0) {
    throw std::logic_error("Transducer: a step took back more than one glyph");
  }
  const std::string now =
      cut + (output_ == Output::kCodes ? glyphToCodes(engine_.txtHM_) : encodeUtf8(engine_.txtHM_));
  held_.size = 0;
  held_.append(now.data(), now.size());
  engine_.txtHM_.clear();
  state_ = cache_->intern(engine_);
}

void Transducer::step(int symbol, char16_t c) {
  const Engine::Step* s = &cache_->known(state_, symbol);
  if (s->next < 0) {
    const char16_t last =
        held_.size == 0
            ? 0
            : static_cast<char16_t>(static_cast<unsigned char>(held_.bytes[held_.size - 1]));
    // A half form is ASCII, so the last byte tells whether the mirror ends in one.
    s = cache_->step(state_, symbol, last < 0x80 ? last : u'\u00FF');
    if (!s) {
      stepInFull(symbol, c);
      return;
    }
  }
  if (s->pop) {
    if (held_.size == 0) throw std::logic_error("Transducer: nothing held to take back");
    --held_.size;
  }
  if (output_ == Output::kCodes) {
    held_.append(cache_->codes(*s), s->length);
  } else {
    held_.append(cache_->utf8(*s), s->length8);
  }
  state_ = s->next;
}

void Transducer::character(char32_t c) {
  if (c == U'\r' || (c == U'\n' && !pendingCr_)) {
    step(' ', u' ');
    step(Engine::kLineFeed, u'\n');
    pendingCr_ = c == U'\r';
    needFlush_ = false;
    return;
  }
  if (c == U'\n') {  // the LF of a CR LF
    pendingCr_ = false;
    return;
  }
  pendingCr_ = false;
  if (c < 0x80) {
    step(static_cast<int>(c), static_cast<char16_t>(c));
  } else {
    // As UTF-16 code units: a character beyond the BMP is two of them.
    step(Engine::kNonAscii, u'\u0915');
    if (c >= 0x10000) step(Engine::kNonAscii, u'\u0915');
  }
  needFlush_ = true;
}

void Transducer::release(std::string& out) {
  if (held_.size <= kHeldBack) return;
  const std::size_t n = held_.size - kHeldBack;
  out.append(held_.bytes.data(), n);
  std::memmove(held_.bytes.data(), held_.bytes.data() + n, kHeldBack);
  held_.size = kHeldBack;
}

// Runs fast steps from data[i] on, while there are any, up to `stop`, and
// returns where they ended. `write` has room for kPadding bytes a byte and an
// entry's worth more.
std::size_t Transducer::fastSteps(const unsigned char* data, std::size_t i, std::size_t stop,
                                  std::size_t& rowOut, char*& writeOut) {
  // Locals, not the references, so that they stay in registers.
  std::size_t row = rowOut;
  char* write = writeOut;
  using Cache = Engine::FeedCache;
  constexpr std::size_t kPad = Cache::kPadding;
  const Cache::FastStep* fast = cache_->fast();
  const char* pool = output_ == Output::kCodes ? cache_->codes() : cache_->utf8();
  // One step; false when data[i] has no fast step from `row`.
  auto step = [&](std::size_t at) {
    const std::size_t symbol = static_cast<std::size_t>(data[at]) - Cache::kFastFirst;
    if (symbol >= Cache::kFastSymbols) return false;  // not printable ASCII
    const Cache::FastStep f = fast[row + symbol];
    if (f.row < 0) return false;
    std::memcpy(write, pool + (f.offsetLength >> 4), kPad);
    write += f.offsetLength & 0xF;
    row = static_cast<std::size_t>(f.row);
    return true;
  };
  if (!words_->on()) {
    while (i < stop && step(i)) ++i;
    rowOut = row;
    writeOut = write;
    return i;
  }
  const char* const held = held_.bytes.data();
  std::uint64_t lookups = 0, hits = 0, stored = 0;
  // The units ahead, found from the bytes alone, their entries already on the
  // way into the cache while the steps before them run.
  struct Unit {
    std::size_t at, length;
    std::uint64_t lo, hi;
    WordCache::Entry* entry;
  };
  constexpr std::size_t kAhead = 4;  // a power of two
  Unit ahead[kAhead];
  std::size_t head = 0, tail = 0;  // ahead[head % kAhead] is the next
  std::size_t scan = i;            // where the unit after the tail starts
  while (i < stop) {
    if (head == tail || ahead[head % kAhead].at != i) head = tail = 0, scan = i;
    while (tail - head < kAhead && stop - scan >= WordCache::kKey) {
      Unit& u = ahead[tail % kAhead];
      u.length = WordCache::unitLength(data + scan);
      if (u.length == 0) break;
      u.at = scan;
      WordCache::key(data + scan, u.length, u.lo, u.hi);
      u.entry = &words_->slot(u.lo, u.hi);
      __builtin_prefetch(u.entry);
      scan += u.length;
      ++tail;
    }
    if (head == tail) {
      // No unit starts here: steps up to the next space.
      bool more = true;
      while (i < stop && (more = step(i)) && data[i++] != ' ') {
      }
      if (!more) break;
      continue;
    }
    const Unit& u = ahead[head++ % kAhead];
    const std::size_t length = u.length;
    const std::uint64_t lo = u.lo, hi = u.hi;
    WordCache::Entry& e = *u.entry;
    ++lookups;
    if (e.row == static_cast<std::int32_t>(row) && e.lo == lo && e.hi == hi &&
        (e.before == 0 || e.before == words_->lastGlyph(write, held))) {
      write -= e.pop;
      std::memcpy(write, e.out, WordCache::kOut);
      write += e.length;
      row = static_cast<std::size_t>(e.next);
      i += length;
      ++hits;
      continue;
    }
    char* begin = write;  // where the unit's output starts
    std::uint8_t before = 0;
    bool pop = false;
    const std::size_t start = row;
    const std::size_t end = i + length;
    while (i < end) {
      if (step(i)) {
        ++i;
        continue;
      }
      // A step that reads or takes back the last glyph: a function of the
      // unit's bytes when that glyph is the unit's own, and of the kind of the
      // glyph before the unit (a half form, or not) the first time it is not.
      const bool own = write != begin;
      if (!own && before != 0) break;
      const unsigned char last = write == held ? 0 : static_cast<unsigned char>(write[-1]);
      const Engine::Step* s = cache_->step(static_cast<int>(row / Cache::kFastSymbols), data[i],
                                           last < 0x80 ? last : u'\u00FF');
      fast = cache_->fast();  // learning a step may move the tables
      pool = output_ == Output::kCodes ? cache_->codes() : cache_->utf8();
      if (!s || s->next < 0) break;
      const std::size_t n = output_ == Output::kCodes ? s->length : s->length8;
      if (n > kPad || (s->pop && write == held)) break;
      if (!own) before = words_->lastGlyph(write, held);
      if (s->pop) {
        --write;
        if (!own) {
          begin = write;
          pop = true;
        }
      }
      std::memcpy(write, pool + (output_ == Output::kCodes ? s->offset : s->offset8), kPad);
      write += n;
      row = static_cast<std::size_t>(s->next) * Cache::kFastSymbols;
      ++i;
    }
    if (i < end) break;  // a slow step
    const std::size_t appended = static_cast<std::size_t>(write - begin);
    if (appended <= WordCache::kOut) {
      e.lo = lo;
      e.hi = hi;
      e.row = static_cast<std::int32_t>(start);
      e.next = static_cast<std::int32_t>(row);
      e.before = before;
      e.pop = pop;
      e.length = static_cast<std::uint8_t>(appended);
      std::memcpy(e.out, begin, WordCache::kOut);
      ++stored;
    }
  }
  words_->count(lookups, hits, stored);
  rowOut = row;
  writeOut = write;
  return i;
}

bool Transducer::feed(std::string_view utf8, std::string& out, Utf8Error* error) {
  words_->input(utf8.size());
  std::size_t i = 0;
  // Finish a sequence that the previous piece cut.
  while (!partial_.empty() && i < utf8.size()) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
      if (error) error->offset = partialStart_;
      return false;
    }
    partial_.push_back(utf8[i++]);
    const std::size_t need = sequenceLength(static_cast<unsigned char>(partial_[0]));
    if (partial_.size() < need) continue;
    std::u16string decoded;
    if (!decodeUtf8(partial_, decoded)) {
      if (error) error->offset = partialStart_;
      return false;
    }
    character(decoded.size() == 1 ? decoded[0] : 0x10000);
    partial_.clear();
  }
  const std::size_t n = utf8.size();
  const auto* data = reinterpret_cast<const unsigned char*>(utf8.data());
  constexpr std::size_t kPad = Engine::FeedCache::kPadding;
  while (i < n) {
    // The common case, printable ASCII through a known step, copies the step's
    // bytes straight into the held output. A fast step appends at most kPad
    // bytes, so a stretch of at most kStretch characters needs no bound check
    // (and its room, made beforehand, stays small).
    constexpr std::size_t kStretch = 1 << 12;
    const std::size_t stop = std::min(n, i + kStretch);
    held_.reserve((stop - i) * kPad + sizeof(WordCache::Entry));
    char* write = held_.bytes.data() + held_.size;
    std::size_t row = static_cast<std::size_t>(state_) * Engine::FeedCache::kFastSymbols;
    const std::size_t from = i;
    i = fastSteps(data, i, stop, row, write);
    held_.size = static_cast<std::size_t>(write - held_.bytes.data());
    state_ = static_cast<int>(row / Engine::FeedCache::kFastSymbols);
    if (i == stop && stop < n) {
      pendingCr_ = false;
      needFlush_ = true;
      continue;
    }
    if (i > from) {
      pendingCr_ = false;
      needFlush_ = true;
    }
    if (i == n) break;
    const unsigned char b = data[i];
    if (b < 0x80) {
      character(b);
      ++i;
      continue;
    }
    const std::size_t need = sequenceLength(b);
    if (need == 0) {
      if (error) error->offset = consumed_ + i;
      return false;
    }
    if (i + need > n) {  // cut by the end of the piece
      partial_.assign(utf8.substr(i));
      partialStart_ = consumed_ + i;
      // Bytes that cannot continue a sequence fail at once.
      for (std::size_t k = 1; k < partial_.size(); ++k) {
        if ((static_cast<unsigned char>(partial_[k]) & 0xC0) != 0x80) {
          if (error) error->offset = consumed_ + i;
          return false;
        }
      }
      break;
    }
    std::u16string decoded;
    Utf8Error e;
    if (!decodeUtf8(utf8.substr(i, need), decoded, &e)) {
      if (error) error->offset = consumed_ + i;
      return false;
    }
    character(decoded.size() == 1 ? decoded[0] : 0x10000);
    i += need;
  }
  consumed_ += n;
  release(out);
  return true;
}

bool Transducer::finish(std::string& out, Utf8Error* error) {
  const bool ok = partial_.empty();
  if (!ok && error) error->offset = partialStart_;
  if (ok && needFlush_) step(Engine::kEnd, u' ');
  out.append(held_.bytes.data(), held_.size);
  held_.size = 0;
  partial_.clear();
  consumed_ = 0;
  pendingCr_ = needFlush_ = false;
  if (cache_->trim()) words_->clear();
  engine_.ClearTxt();
  start_ = state_ = cache_->intern(engine_);
  return ok;
}

}  // namespace kavelin
