#include "engine/large_array.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kestrel::large_memory {
namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

std::size_t RoundUp(std::size_t bytes) { return (bytes + HugePage - 1) / HugePage * HugePage; }

}  // namespace

#if defined(__linux__)

void* Allocate(std::size_t bytes) {
  const std::size_t size = RoundUp(bytes);
  // Map one huge page more than needed and trim, so the start is 2 MB aligned
  // and the kernel can back the range with huge pages.
  const std::size_t mapped = size + HugePage;
  void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + HugePage - 1) / HugePage * HugePage;
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t end = start + mapped;
  if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
  void* p = reinterpret_cast<void*>(aligned);
#if defined(MADV_HUGEPAGE)
  madvise(p, size, MADV_HUGEPAGE);  // advice only: ordinary pages serve as well
#endif
  return p;  // anonymous mappings are zero-filled
}

void Free(void* p, std::size_t bytes) {
  if (p != nullptr) munmap(p, RoundUp(bytes));
}

#else

void* Allocate(std::size_t bytes) {
  const std::size_t size = RoundUp(bytes);
  void* p = std::aligned_alloc(HugePage, size);
  if (p != nullptr) std::memset(p, 0, size);
  return p;
}

void Free(void* p, std::size_t) { std::free(p); }

#endif

}  // namespace kestrel::large_memory
