// SPDX-License-Identifier: GPL-3.0-or-later
// Every heap allocation of the program counted: malloc and its kin are
// replaced by ones that call glibc's own and keep the bytes held (by usable
// size) and their high-water mark. operator new allocates through malloc, so
// C++, libzip, zlib, Expat and Qt allocations all count. Include this in one
// source file of a benchmark executable only.
#pragma once

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);
}

namespace kavelin::bench {

// Signed: memory the loader allocated before these functions took over may
// be freed through them.
inline std::atomic<std::int64_t> heapNow{0};
inline std::atomic<std::int64_t> heapPeak{0};

inline void* noteAllocated(void* p) {
  if (!p) return p;
  const std::int64_t now = heapNow += static_cast<std::int64_t>(malloc_usable_size(p));
  std::int64_t peak = heapPeak.load();
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

inline void noteFreed(void* p) {
  if (p) heapNow -= static_cast<std::int64_t>(malloc_usable_size(p));
}

// The most the program held at once since start(), above what it held then.
class HeapPeak {
 public:
  void start() {
    base_ = heapNow.load();
    heapPeak = base_;
  }
  std::size_t bytes() const { return static_cast<std::size_t>(heapPeak.load() - base_); }
  // What is held now above what was held at start().
  std::int64_t held() const { return heapNow.load() - base_; }

 private:
  std::int64_t base_ = 0;
};

}  // namespace kavelin::bench

extern "C" {

void* malloc(std::size_t size) { return kavelin::bench::noteAllocated(__libc_malloc(size)); }

void free(void* p) {
  kavelin::bench::noteFreed(p);
  __libc_free(p);
}

void* calloc(std::size_t count, std::size_t size) {
  return kavelin::bench::noteAllocated(__libc_calloc(count, size));
}

void* realloc(void* p, std::size_t size) {
  const std::size_t old = p ? malloc_usable_size(p) : 0;
  void* q = __libc_realloc(p, size);
  if (q || size == 0) kavelin::bench::heapNow -= static_cast<std::int64_t>(old);
  return kavelin::bench::noteAllocated(q);
}

void* memalign(std::size_t alignment, std::size_t size) {
  return kavelin::bench::noteAllocated(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }

int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
  void* p = memalign(alignment, size);
  if (!p) return ENOMEM;
  *out = p;
  return 0;
}

void* valloc(std::size_t size) { return memalign(4096, size); }

void* pvalloc(std::size_t size) { return memalign(4096, (size + 4095) & ~std::size_t{4095}); }

}  // extern "C"
