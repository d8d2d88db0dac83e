// Each block starts with the low 32 bits of the address of the block allocated
// before it (0 for the first), so a block needs at least 4 bytes. The chain itself
// is kept in a vector, so freeing never reads those links back.
#include "tstore/table/t_heap_probe.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/error_model.h"
#include "imports/vek_imports.h"
#include "tstore/table/t_errors.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kSource[] = "T.TestHeap";

// Blocks of ZamAllocMem, freed newest first when the chain ends.
class BlockChain {
  public:
    explicit BlockChain(uint32_t capacity) { blocks_.reserve(capacity); }
    BlockChain(const BlockChain &) = delete;
    BlockChain &operator=(const BlockChain &) = delete;
    ~BlockChain() {
        for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block)
            ZamFreeMem(*block);
    }

    // Allocates one more block and links it; false when the allocation fails.
    bool Grow(int32_t size) {
        void *block = ZamAllocMem(static_cast<uint32_t>(size));
        if (block == nullptr)
            return false;
        const void *previous = blocks_.empty() ? nullptr : blocks_.back();
        const auto link = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(previous));
        std::memcpy(block, &link, sizeof link);
        blocks_.push_back(block);
        return true;
    }

  private:
    std::vector<void *> blocks_;
};

void CheckRequest(uint32_t count, int32_t size) {
    if (size < kMinHeapBlock)
        RaiseErrorFormat(kParameterInvalid, kSource,
                         "Invalid argument: Size = %d (a block holds a 4-byte link)", size);
    if (count > kMaxHeapBlocks)
        RaiseErrorFormat(kParameterInvalid, kSource, "Invalid argument: Count = %u (at most %u)",
                         count, kMaxHeapBlocks);
    const uint64_t total = uint64_t{count} * static_cast<uint64_t>(size);
    if (total > kMaxHeapBytes)
        RaiseErrorFormat(kParameterInvalid, kSource,
                         "Invalid argument: Count * Size = %llu bytes (at most %llu)",
                         static_cast<unsigned long long>(total),
                         static_cast<unsigned long long>(kMaxHeapBytes));
}

}  // namespace

int32_t Probe_Heap(std::string_view label, uint32_t count, int32_t size) {
    CheckRequest(count, size);
    std::printf("Testing heap at %s...\n", std::string(label).c_str());
    std::fflush(stdout);
    {
        BlockChain chain(count);
        uint32_t made = 0;
        while (made < count && chain.Grow(size))
            ++made;
    }
    const int printed = std::printf("...OK\n");
    std::fflush(stdout);
    return printed;
}

}  // namespace Ostrel::Zam::tstore
