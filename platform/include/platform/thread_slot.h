// One pointer per thread, handed to a release function when its thread ends.
//
// Windows keeps the pointer in fiber-local storage, whose clean-up the system runs
// at the end of every thread (including the threads a host made before the library
// was loaded). C++ `thread_local` objects with destructors are not used for this in
// the libraries: the MinGW run-time runs their destructors through a thread-exit
// table of its own, statically linked into each library, whose lock is left taken
// when the process ends while another thread is ending; the library's unload then
// waits for that lock for ever and the host process never exits.
//
// Linux keeps the pointer under a POSIX thread key. Destroying the slot (at unload or
// process exit) releases the calling thread's value; on Windows it also releases the
// values of every other thread, unless the whole process is ending (the system has
// then already ended those threads, and the memory goes with the process).
#pragma once

#include <cstdint>

#include "platform/api.h"

namespace platform {

class ThreadSlot {
  public:
    // The system calls it directly at a thread's end, hence its calling convention.
    using Release = void(PLATFORM_STDCALL *)(void *value);

    explicit ThreadSlot(Release release) noexcept;
    ~ThreadSlot();
    ThreadSlot(const ThreadSlot &) = delete;
    ThreadSlot &operator=(const ThreadSlot &) = delete;

    // The calling thread's value; null until it sets one.
    void *Get() const noexcept;
    // Replaces the calling thread's value; the caller owns what was there before.
    // False when the value could not be kept (no slot, or the slot is destroyed
    // already, as at the end of the library's unload): the caller still owns it.
    bool Set(void *value) noexcept;

  private:
    Release release_;
    uint32_t index_ = 0;
    bool usable_ = false;  // false only when the system had no slot left to give
};

}  // namespace platform
