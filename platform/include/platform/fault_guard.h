// Turns a hardware fault inside a guarded call into a report instead of a crash.
//
// Windows: a vectored exception handler; Linux: handlers for SIGSEGV, SIGBUS,
// SIGFPE and SIGILL that chain to whatever handler was installed before. Only a
// fault on a thread that is inside RunGuarded is taken over; every other fault
// goes on to the handler that would have had it anyway. After a fault the guarded
// function is abandoned where it stood (its locals are not destroyed), so guarded
// code keeps its resources in objects that outlive the call or accepts the loss.
#pragma once

#include <cstdint>

namespace platform {

struct FaultReport {
    uint32_t code = 0;              // the Windows exception code, e.g. 0xC0000005
    const void *address = nullptr;  // the instruction that faulted
};

// Calls body(context). Returns true when it returned normally, false after a fault
// (then `report` describes it). Exceptions pass through unchanged.
bool RunGuarded(void (*body)(void *), void *context, FaultReport *report);

template <class Fn>
bool RunGuarded(Fn &fn, FaultReport *report) {
    return RunGuarded([](void *c) { (*static_cast<Fn *>(c))(); }, &fn, report);
}

}  // namespace platform
