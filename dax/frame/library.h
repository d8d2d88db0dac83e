// The module's life: one process-wide Library object whose four hooks the entry
// point runs when the host loads and unloads the library and when threads start and
// end. On Linux the library's load and unload run the process hooks; there are no
// thread notifications, so the thread hooks run for the loading thread only.
#pragma once

#include <cstdint>
#include <string>

namespace Ostrel::Zam {

class Library {
  public:
    Library();
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;
    virtual ~Library();

    // Each returns an exit code, 0 for success.
    virtual int32_t OnStartProcess();
    virtual int32_t OnExitProcess();
    virtual int32_t OnStartThread();
    virtual int32_t OnExitThread();
};

// Reasons of the entry point.
enum EntryReason : int32_t {
    kProcessDetach = 0,
    kProcessAttach = 1,
    kThreadAttach = 2,
    kThreadDetach = 3,
    kModuleTermination = -1,
};

// The state of one module's entry point and the driving of its Library's hooks.
class EntryPoint {
  public:
    explicit EntryPoint(Library &library) : library_(library) {}

    // 1 on success, 0 when a hook failed (a failed process start fails the load).
    int32_t Run(void *module_handle, int32_t reason);

    void *ModuleHandle() const { return module_handle_; }
    uint32_t StartedFlags() const { return started_; }

  private:
    int32_t RunHooks(int32_t reason, const char **step);

    Library &library_;
    void *module_handle_ = nullptr;
    uint32_t started_ = 0;  // bit 0: process start done; bit 1: loading thread's start done
};

// The module entry point over the process-wide Library.
int32_t DllEntryPoint(void *module_handle, int32_t reason, void *reserved);
// The handle of this module, as the entry point last saw it.
void *ModuleHandle();
// The full file name of this module, fetched when the module is loaded.
const std::string &ModulePath();

}  // namespace Ostrel::Zam
