// TestHeap: a probe of the allocator that scripts call to see whether the heap is
// still sound. It prints "Testing heap at <label>...", allocates a chain of blocks,
// frees it newest first and prints "...OK".
#pragma once

#include <cstdint>
#include <string_view>

namespace Ostrel::Zam::tstore {

// Blocks smaller than the 4-byte link, and requests beyond the bounds below, are
// refused with 0xE204000E before anything is printed or allocated.
inline constexpr int32_t kMinHeapBlock = 4;
inline constexpr uint32_t kMaxHeapBlocks = 1u << 20;
inline constexpr uint64_t kMaxHeapBytes = uint64_t{64} << 20;

// Returns what printing the closing line returns.
int32_t Probe_Heap(std::string_view label, uint32_t count, int32_t size);

}  // namespace Ostrel::Zam::tstore
