// SPDX-License-Identifier: GPL-3.0-or-later
// The table of the streams' word caches: direct mapped, an entry or a pair of
// entries side by side per hash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "largealloc.h"

namespace kavelin {

// Starts at 2 MB of 64-byte entries (one huge page, quick to make, and with
// few of a small vocabulary's words taking the place of another), and grows
// once to kLargeEntries when one word in eight of a window of lookups misses,
// on a text of many words. Its memory is bounded by kLargeEntries entries
// whatever the text.
template <typename Entry, std::size_t kLargeEntries = std::size_t{1} << 16>
class WordTable {
 public:
  static constexpr std::size_t kEntries = std::size_t{1} << 15;
  static_assert(kLargeEntries >= kEntries && (kLargeEntries & (kLargeEntries - 1)) == 0);

  WordTable() : entries_(kEntries) {}

  Entry& at(std::uint32_t hash) { return entries_[index(hash)]; }
  // The two entries, side by side, where a word of the hash may be kept.
  Entry* pair(std::uint32_t hash) { return &entries_[index(hash) & ~std::size_t{1}]; }
  std::size_t size() const { return entries_.size(); }

  // Counts a word looked up, and whether it was found. Growing empties the
  // table (references to entries are left dangling).
  void lookedUp(bool found) {
    misses_ += found ? 0 : 1;
    if (++lookups_ < kWindow) return;
    if (8 * misses_ > kWindow && entries_.size() < kLargeEntries) {
      entries_.assign(kLargeEntries, Entry{});
    }
    lookups_ = misses_ = 0;
  }

 private:
  static constexpr std::size_t kWindow = std::size_t{1} << 16;
  std::size_t index(std::uint32_t hash) const {
    return (hash ^ (hash >> 16)) & (entries_.size() - 1);
  }
  std::vector<Entry, LargeAllocator<Entry>> entries_;
  std::size_t lookups_ = 0;
  std::size_t misses_ = 0;
};

// Whether the first `units` units of `a` and `b` are the same, reading
// kUnits units of each whatever `units`, four at a time.
template <std::size_t kUnits>
bool sameUnits(const char16_t* a, const char16_t* b, std::size_t units) {
  static_assert(kUnits % 4 == 0, "four units at a time");
  const std::size_t bytes = units * sizeof(char16_t);
  std::uint64_t differ = 0;
  for (std::size_t k = 0; k < kUnits / 4; ++k) {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::memcpy(&x, a + 4 * k, 8);
    std::memcpy(&y, b + 4 * k, 8);
    const std::size_t left = bytes > 8 * k ? bytes - 8 * k : 0;
    const std::uint64_t mask = left >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * left)) - 1;
    differ |= (x ^ y) & mask;
  }
  return differ == 0;
}

}  // namespace kavelin
