#include "core/large_block.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace orv {

void Advise_Huge_Pages(const void* block, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (bytes < 2 * kHugePage || page_size <= 0) return;
  // Only whole pages inside the block: the pages at its ends may hold other allocations.
  const auto page = static_cast<uintptr_t>(page_size);
  const auto begin = reinterpret_cast<uintptr_t>(block);
  const uintptr_t first = (begin + page - 1) & ~(page - 1);
  const uintptr_t last = (begin + bytes) & ~(page - 1);
  // A refusal only costs the faults this saves.
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)block;
  (void)bytes;
#endif
}

}  // namespace orv
