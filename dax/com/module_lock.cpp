#include "com/module_lock.h"

#include <atomic>
#include <limits>

#include "frame/error_model.h"

namespace Ostrel::Zam {
namespace {

std::atomic<int32_t> g_module_locks{0};

}  // namespace

void LockModule() noexcept {
    g_module_locks.fetch_add(1);
}

void UnlockModule() noexcept {
    g_module_locks.fetch_sub(1);
}

int32_t ModuleLockCount() noexcept {
    return g_module_locks.load();
}

void *AllocateObject(std::size_t size) {
    if (size > std::numeric_limits<uint32_t>::max())
        RaiseOutOfMemory();
    void *block = AllocMem(static_cast<uint32_t>(size));
    LockModule();
    return block;
}

void FreeObject(void *block) noexcept {
    if (block == nullptr)
        return;
    ZamFreeMem(block);
    UnlockModule();
}

}  // namespace Ostrel::Zam
