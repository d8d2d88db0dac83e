// The COM server's operations behind its exports. The export file sees only this
// header and the public one (identifiers and objects as pointers), never the
// system's declarations of the same entry points.
#pragma once

#include <cstdint>

namespace Ostrel::Zam {

int32_t GetClassObject(const void *class_id, const void *iid, void **object) noexcept;
int32_t CanUnloadNow() noexcept;
int32_t LockModuleFromHost(int32_t lock) noexcept;
// The self-registration worker: registers (true) or unregisters the module's classes.
int32_t UpdateServerRegistration(bool register_classes) noexcept;

}  // namespace Ostrel::Zam
