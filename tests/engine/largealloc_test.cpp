// SPDX-License-Identifier: GPL-3.0-or-later
// Memory for large tables: aligned as its type needs, and to a huge page from
// one huge page on, whatever the size asked.
#include "largealloc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace kavelin {
namespace {

struct alignas(64) Line {
  char bytes[64];
};

std::uintptr_t address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(LargeAlloc, AlignedAsTheTypeOrToAHugePage) {
  struct Case {
    std::size_t lines;
    std::size_t align;
  };
  const std::size_t perPage = kHugePage / sizeof(Line);
  for (const Case& c : {Case{1, 64}, Case{63, 64}, Case{perPage - 1, 64}, Case{perPage, kHugePage},
                        Case{perPage + 1, kHugePage}, Case{5 * perPage / 2, kHugePage}}) {
    LargeAllocator<Line> allocator;
    Line* p = allocator.allocate(c.lines);
    EXPECT_EQ(address(p) % c.align, 0u) << c.lines << " lines";
    // Every byte asked for is there to write and read back.
    std::memset(p, 0x5A, c.lines * sizeof(Line));
    EXPECT_EQ(p[c.lines - 1].bytes[63], 0x5A) << c.lines << " lines";
    allocator.deallocate(p, c.lines);
  }
}

TEST(LargeAlloc, VectorsGrowAndKeepTheirElements) {
  std::vector<std::uint32_t, LargeAllocator<std::uint32_t>> v;
  for (std::uint32_t i = 0; i < (1u << 20); ++i) v.push_back(i * 7);  // past a huge page
  EXPECT_EQ(address(v.data()) % kHugePage, 0u);
  for (std::uint32_t i = 0; i < v.size(); i += 4099) ASSERT_EQ(v[i], i * 7);
  v.assign(3, 1);
  EXPECT_EQ(v, (std::vector<std::uint32_t, LargeAllocator<std::uint32_t>>{1, 1, 1}));
}

}  // namespace
}  // namespace kavelin
