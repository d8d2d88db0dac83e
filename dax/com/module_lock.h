// The module lock count: while it is above 0 the module must stay loaded. Every
// framework object holds one lock from its allocation to its release, and every
// DllLockModule(true) one until the matching DllLockModule(false).
#pragma once

#include <cstddef>
#include <cstdint>

namespace Ostrel::Zam {

void LockModule() noexcept;
void UnlockModule() noexcept;
int32_t ModuleLockCount() noexcept;

// The allocator of framework objects: a block from the support library (raising its
// pending error when there is no memory) that holds one module lock.
void *AllocateObject(std::size_t size);
// Returns such a block and its lock; null is ignored.
void FreeObject(void *block) noexcept;

}  // namespace Ostrel::Zam
