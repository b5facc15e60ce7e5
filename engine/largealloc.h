// SPDX-License-Identifier: GPL-3.0-or-later
// Memory for large tables, in huge pages where the system offers them: one
// fault then maps 2 MB instead of 4 KB, and faults are dear on virtual
// machines. Smaller blocks come from malloc as usual.
#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace kavelin {

inline constexpr std::size_t kHugePage = std::size_t{2} << 20;

// n bytes aligned to `align` (a power of two), or to a huge page and advised
// to use them when n is at least one huge page; std::free releases them.
inline void* allocateLarge(std::size_t n, std::size_t align) {
  if (n >= kHugePage) align = kHugePage;
  const std::size_t size = (std::max<std::size_t>(n, 1) + align - 1) / align * align;
  void* p = std::aligned_alloc(align, size);
  if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
  // Advice: refused, the pages are ordinary ones.
  if (align == kHugePage) madvise(p, size, MADV_HUGEPAGE);
#endif
  return p;
}

template <typename T>
struct LargeAllocator {
  using value_type = T;
  LargeAllocator() = default;
  template <typename U>
  explicit LargeAllocator(const LargeAllocator<U>&) {}
  T* allocate(std::size_t n) {
    return static_cast<T*>(
        allocateLarge(n * sizeof(T), std::max(alignof(T), alignof(std::max_align_t))));
  }
  void deallocate(T* p, std::size_t) { std::free(p); }
  friend bool operator==(LargeAllocator, LargeAllocator) { return true; }
  friend bool operator!=(LargeAllocator, LargeAllocator) { return false; }
};

}  // namespace kavelin
