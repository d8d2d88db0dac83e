// Memory for tree nodes. Nodes come in few sizes and in large numbers (a tree is
// built or copied node by node and freed as a whole), so blocks of each size class
// are cut from slabs and recycled through a free list per thread: taking or
// returning a block costs a few instructions, where the general allocator spends a
// few hundred on blocks of a node's size. Slabs are kept for reuse, never returned.
//
// Threads trade blocks through one shared list per size class, in batches, so a
// node made on one thread may be freed on another. Builds with AddressSanitizer use
// the general allocator, which keeps its checks on every node.
#pragma once

#include <cstddef>

namespace vek::node_pool {

// A block of at least `size` bytes, aligned for any node. Throws std::bad_alloc.
void *Allocate(size_t size);
// Takes back a block that Allocate gave for the same `size`; null is ignored.
void Release(void *block, size_t size) noexcept;

}  // namespace vek::node_pool
