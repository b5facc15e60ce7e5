// SPDX-License-Identifier: GPL-3.0-or-later
// The transducer's word cache (internal to the engine library).
//
// A unit is a word of printable ASCII with the space after it, at most
// kKey bytes in all. From a given token state, a unit whose every step is a
// fast step (no take-back, a function of the state and the byte alone) always
// appends the same bytes and ends in the same state, so one lookup can stand
// for all of its steps. The table is direct-mapped, and the only memory it
// holds is its entries: a small table at first, a large one once, if the
// small one misses too often.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine.h"
#include "feedcache.h"
#include "largealloc.h"
#include "transducer.h"

namespace kavelin {

class WordCache {
 public:
  static constexpr std::size_t kKey = 16;  // the longest unit, its space included
  static constexpr std::size_t kOut = 37;  // the most bytes a unit may append

  struct alignas(64) Entry {
    std::uint64_t lo = 0, hi = 0;  // the unit's bytes, zero after its end
    std::int32_t row = -1;         // of the state it starts from; -1: empty
    std::int32_t next = 0;         // of the state it ends in
    std::uint8_t before = 0;       // the lastGlyph it needs before it; 0: any
    std::uint8_t pop = 0;          // 1: it takes that glyph back first
    std::uint8_t length = 0;
    char out[kOut];
  };
  static_assert(sizeof(Entry) == 64, "an entry fills one cache line");

  explicit WordCache(const WordCacheSettings& settings) : settings_(settings) {
    for (std::size_t b = 0; b < kind_.size(); ++b) {
      kind_[b] = b < 0x80 && Engine::FeedCache::halfForm(static_cast<char16_t>(b))
                     ? static_cast<std::uint8_t>(b)
                     : kOther;
    }
  }

  // Counts input; the cache starts once there has been enough.
  void input(std::size_t bytes) {
    if (on()) return;
    fed_ += bytes;
    if (fed_ >= settings_.after) resize(settings_.smallBits);
  }

  bool on() const { return !table_.empty(); }

  // Forgets every entry (the state ids they name are gone).
  void clear() {
    if (on()) resize(bits_);
  }

  // How many bytes of `p` (kKey of them readable) start a unit: the word's
  // bytes and its space, or 0 when no space ends a word within kKey bytes.
  static std::size_t unitLength(const unsigned char* p) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Signed: bytes from 0x80 on are negative, so only 0x21..0x7F count.
    const unsigned word =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(v, _mm_set1_epi8(0x20))));
    const std::size_t length = static_cast<std::size_t>(__builtin_ctz(~word));
#else
    std::size_t length = 0;
    while (length < kKey && p[length] > 0x20 && p[length] < 0x80) ++length;
#endif
    return length < kKey && p[length] == ' ' ? length + 1 : 0;
  }

  // The kind of the last byte before `write` as a step that reads it sees:
  // the half form itself, kOther for every other byte, kNone at `held`, the
  // start of the held output (then there is nothing to take back).
  static constexpr std::uint8_t kOther = 0xFF;
  static constexpr std::uint8_t kNone = 0xFE;
  std::uint8_t lastGlyph(const char* write, const char* held) const {
    return write == held ? kNone : kind_[static_cast<unsigned char>(write[-1])];
  }

  // The key of the unit of `length` bytes at `p`: its bytes, zero after.
  static void key(const unsigned char* p, std::size_t length, std::uint64_t& lo,
                  std::uint64_t& hi) {
    alignas(16) static constexpr unsigned char kMask[2 * kKey] = {
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0,    0,
        0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
    std::uint64_t bytes[2], mask[2];
    std::memcpy(bytes, p, kKey);
    std::memcpy(mask, kMask + kKey - length, kKey);
    lo = bytes[0] & mask[0];
    hi = bytes[1] & mask[1];
  }

  // The slot of a key. It hashes the bytes alone, not the state, so that the
  // slot of the next unit is known before this one's end state.
  Entry& slot(std::uint64_t lo, std::uint64_t hi) {
    std::uint64_t h = (lo ^ (hi * 0xC2B2AE3D27D4EB4Full)) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    return table_[h >> shift_];
  }

  // Counts the lookups and hits of a stretch; grows the table once when one
  // lookup in eight of the last window missed.
  void count(std::uint64_t lookups, std::uint64_t hits, std::uint64_t stored) {
    stats_.lookups += lookups;
    stats_.hits += hits;
    stats_.stored += stored;
    windowLookups_ += lookups;
    windowHits_ += hits;
    const std::uint64_t window = std::uint64_t{16} << bits_;
    if (windowLookups_ < window) return;
    if (bits_ < settings_.largeBits && (windowLookups_ - windowHits_) * 8 > windowLookups_) {
      resize(settings_.largeBits);
    }
    windowLookups_ = windowHits_ = 0;
  }

  WordCacheStats stats() const {
    WordCacheStats s = stats_;
    s.entries = table_.size();
    return s;
  }

 private:
  void resize(unsigned bits) {
    bits_ = bits;
    shift_ = 64 - bits;
    table_.assign(std::size_t{1} << bits, Entry{});
  }

  WordCacheSettings settings_;
  std::array<std::uint8_t, 0x100> kind_;  // lastGlyph of each byte
  std::size_t fed_ = 0;
  unsigned bits_ = 0;
  unsigned shift_ = 64;
  std::vector<Entry, LargeAllocator<Entry>> table_;
  std::uint64_t windowLookups_ = 0, windowHits_ = 0;
  WordCacheStats stats_;
};

}  // namespace kavelin
