#include "frame/library.h"

#include <exception>
#include <string>

#include "frame/diagnostics.h"
#include "platform/api.h"
#include "platform/fault_guard.h"
#include "platform/module_hooks.h"

namespace Ostrel::Zam {

namespace {

bool Tracing() {
    return (DebugLevel() & 1u) != 0;
}

int32_t TraceHook(const Library *self, const char *hook) {
    if (Tracing())
        DebugLog("%.192s:- %p->Library::%s", ModulePath().c_str(), static_cast<const void *>(self),
                 hook);
    return 0;
}

// The statics of the module, in the order of their construction; they are destroyed
// in the reverse order. The module path comes first: the Library's destructor and the
// entry point's last run log it, so it must outlive both.
const std::string g_module_path PLATFORM_INIT_PRIORITY(999) =
    platform::ModuleFileName(reinterpret_cast<const void *>(&ModulePath));
Library g_library PLATFORM_INIT_PRIORITY(1000);
EntryPoint g_entry_point PLATFORM_INIT_PRIORITY(1001){g_library};

int32_t RunModuleEntry(void *module_handle, platform::ModuleReason reason) {
    return DllEntryPoint(module_handle, static_cast<int32_t>(reason), nullptr);
}

}  // namespace

Library::Library() {
    if (Tracing())
        DebugLog("%p->Library::Library", static_cast<const void *>(this));
}

Library::~Library() {
    if (Tracing())
        DebugLog("%.192s:- %p->Library::~Library - begin", ModulePath().c_str(),
                 static_cast<const void *>(this));
    if (Tracing())
        DebugLog("%.192s:- %p->Library::~Library - end", ModulePath().c_str(),
                 static_cast<const void *>(this));
}

int32_t Library::OnStartProcess() {
    return TraceHook(this, "OnStartProcess");
}
int32_t Library::OnExitProcess() {
    return TraceHook(this, "OnExitProcess");
}
int32_t Library::OnStartThread() {
    return TraceHook(this, "OnStartThread");
}
int32_t Library::OnExitThread() {
    return TraceHook(this, "OnExitThread");
}

int32_t EntryPoint::RunHooks(int32_t reason, const char **step) {
    int32_t exit_code = 0;
    switch (reason) {
        case kProcessAttach:
            *step = "Library.OnStartProcess";
            exit_code = library_.OnStartProcess();
            if (exit_code != 0)
                break;
            started_ |= 1u;
            *step = "Library.OnStartThread";
            exit_code = library_.OnStartThread();
            if (exit_code == 0) {
                started_ |= 2u;
            } else {
                started_ &= ~1u;
                *step = "Library.OnExitProcess";
                library_.OnExitProcess();
            }
            break;
        case kThreadAttach:
            *step = "Library.OnStartThread";
            exit_code = library_.OnStartThread();
            break;
        case kThreadDetach:
            *step = "Library.OnExitThread";
            exit_code = library_.OnExitThread();
            break;
        case kProcessDetach:
        case kModuleTermination:
            if (started_ & 2u) {
                started_ &= ~2u;
                *step = "Library.OnExitThread";
                exit_code = library_.OnExitThread();
            }
            if (started_ & 1u) {
                started_ &= ~1u;
                *step = "Library.OnExitProcess";
                exit_code = library_.OnExitProcess();
            }
            break;
        default:
            break;
    }
    return exit_code;
}

int32_t EntryPoint::Run(void *module_handle, int32_t reason) {
    module_handle_ = module_handle;
    const char *step = "DllEntryPoint";
    std::string message;
    int32_t exit_code = 0;
    if (Tracing())
        DebugLog("%.192s:- DllEntryPoint(%p,%lu) - begin", ModulePath().c_str(), module_handle,
                 static_cast<unsigned long>(static_cast<uint32_t>(reason)));
    try {
        platform::FaultReport fault;
        auto hooks = [&] { exit_code = RunHooks(reason, &step); };
        if (!platform::RunGuarded(hooks, &fault)) {
            message = FormatOSException(fault.code, fault.address, 255);
            platform::ShowErrorMessage(step, message.c_str());
            exit_code = 1;
        }
    } catch (const std::exception &error) {
        message = error.what();
        platform::ShowErrorMessage(step, message.c_str());
        exit_code = 1;
    } catch (...) {
        message = "Unhandled exception";
        platform::ShowErrorMessage(step, message.c_str());
        exit_code = 1;
    }
    if (exit_code != 0)
        DebugLog("%.192s failed: %.196s (exit code=%d)", step, message.c_str(), exit_code);
    if (Tracing())
        DebugLog("%.192s:- DllEntryPoint(%p,%lu) - end (exit_code=%d)", ModulePath().c_str(),
                 module_handle, static_cast<unsigned long>(static_cast<uint32_t>(reason)),
                 exit_code);
    return exit_code == 0 ? 1 : 0;
}

int32_t DllEntryPoint(void *module_handle, int32_t reason, void * /*reserved*/) {
    return g_entry_point.Run(module_handle, reason);
}

void *ModuleHandle() {
    return g_entry_point.ModuleHandle();
}

const std::string &ModulePath() {
    return g_module_path;
}

}  // namespace Ostrel::Zam

PLATFORM_MODULE_ENTRY(Ostrel::Zam::RunModuleEntry)
