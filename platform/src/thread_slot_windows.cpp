// Per-thread pointers on Windows, in fiber-local storage.
#include <windows.h>

#include "platform/thread_slot.h"

namespace platform {
namespace {

// True while the process is ending: other threads are gone and the loader is
// detaching every library. ntdll has exported this since Windows XP.
bool ProcessIsEnding() {
    using Query = BOOLEAN(WINAPI *)();
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlDllShutdownInProgress")));
    return query != nullptr && query() != 0;
}

}  // namespace

ThreadSlot::ThreadSlot(Release release) noexcept : release_(release) {
    const DWORD index = FlsAlloc(release);
    usable_ = index != FLS_OUT_OF_INDEXES;
    index_ = usable_ ? index : 0;
}

ThreadSlot::~ThreadSlot() {
    // FlsFree hands every thread's value to the release function: at an unload
    // while the process goes on, nothing is left behind pointing into unloaded code.
    if (usable_ && !ProcessIsEnding())
        FlsFree(index_);
    usable_ = false;
}

void *ThreadSlot::Get() const noexcept {
    return usable_ ? FlsGetValue(index_) : nullptr;
}

bool ThreadSlot::Set(void *value) noexcept {
    return usable_ && FlsSetValue(index_, value) != FALSE;
}

}  // namespace platform
