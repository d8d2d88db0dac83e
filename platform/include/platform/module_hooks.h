// Load and unload notifications of a shared library, the same on every platform.
//
// Windows calls DllMain; on Linux the library's load and unload run the same
// handler (process attach after all static objects are constructed, process
// detach before any is destroyed). Linux has no thread notifications.
#pragma once

#include <cstdint>

#include "platform/api.h"

namespace platform {

enum class ModuleReason : int32_t {
    ProcessDetach = 0,
    ProcessAttach = 1,
    ThreadAttach = 2,
    ThreadDetach = 3,
    Terminate = -1,  // the module's own termination, after process detach
};

using ModuleEntryHandler = int32_t (*)(void *module_handle, ModuleReason reason);

// The handle of the module (shared library or executable) that contains `address`.
void *ModuleHandleOf(const void *address);

// Keeps the shared library that contains `address` loaded until the process ends,
// whatever unloads are asked for later. False when it could not be done (for
// instance when the address lies in the program itself, which never unloads).
bool PinModuleOf(const void *address);

}  // namespace platform

#if PLATFORM_WINDOWS
#define PLATFORM_MODULE_ENTRY(handler)                                                    \
    extern "C" int PLATFORM_STDCALL DllMain(void *module, unsigned long reason, void *) { \
        auto why = static_cast<::platform::ModuleReason>(reason);                         \
        int32_t ok = handler(module, why);                                                \
        if (why == ::platform::ModuleReason::ProcessDetach)                               \
            handler(module, ::platform::ModuleReason::Terminate);                         \
        return ok != 0 ? 1 : 0;                                                           \
    }
#else
#define PLATFORM_MODULE_ENTRY(handler)                                                      \
    namespace {                                                                             \
    struct PlatformModuleEntry {                                                            \
        static void *Self() {                                                               \
            return ::platform::ModuleHandleOf(reinterpret_cast<void *>(&Self));             \
        }                                                                                   \
        PlatformModuleEntry() { handler(Self(), ::platform::ModuleReason::ProcessAttach); } \
        ~PlatformModuleEntry() {                                                            \
            handler(Self(), ::platform::ModuleReason::ProcessDetach);                       \
            handler(Self(), ::platform::ModuleReason::Terminate);                           \
        }                                                                                   \
    };                                                                                      \
    PlatformModuleEntry platform_module_entry PLATFORM_INIT_PRIORITY(60000);                \
    }
#endif
