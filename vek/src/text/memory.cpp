// The allocator behind every block the support library hands out.
#include <cstdlib>

#include "errors/failure.h"
#include "vek64.h"

VEK_API void *VEK_CALL ZamAllocMem(uint32_t size) {
    void *block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        vek::Fail(VEK_E_OUTOFMEMORY, "ZamAllocMem", "Not enough memory for %u bytes", size);
    return block;
}

VEK_API int32_t VEK_CALL ZamFreeMem(void *block) {
    std::free(block);
    return 0;
}
