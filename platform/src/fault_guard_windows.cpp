// Hardware-fault guard on Windows: a vectored exception handler with a per-thread
// jump buffer. Only the exception codes of hardware faults are taken over; C++
// exceptions and every other code go on to the usual handlers.
#include <windows.h>

#include <mutex>

#include "platform/fault_guard.h"

namespace platform {

namespace {

struct GuardFrame {
    void *jump[5];  // __builtin_setjmp buffer
    FaultReport report;
    GuardFrame *outer = nullptr;
};

thread_local GuardFrame *t_innermost = nullptr;

bool IsHardwareFault(DWORD code) {
    switch (code) {
        case 0x80000002:
        case 0xC0000005:
        case 0xC0000006:
        case 0xC000001D:
        case 0xC000008C:
        case 0xC000008D:
        case 0xC000008E:
        case 0xC000008F:
        case 0xC0000090:
        case 0xC0000091:
        case 0xC0000092:
        case 0xC0000093:
        case 0xC0000094:
        case 0xC0000095:
        case 0xC0000096:
        case 0xC00000FD:
            return true;
        default:
            return false;
    }
}

[[noreturn]] __attribute__((noinline)) void JumpBack(GuardFrame *frame) {
    __builtin_longjmp(frame->jump, 1);
}

LONG CALLBACK OnException(EXCEPTION_POINTERS *pointers) {
    GuardFrame *frame = t_innermost;
    const EXCEPTION_RECORD *record = pointers->ExceptionRecord;
    if (frame == nullptr || !IsHardwareFault(record->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    frame->report.code = record->ExceptionCode;
    frame->report.address = record->ExceptionAddress;
    JumpBack(frame);
}

void InstallHandler() {
    static std::once_flag once;
    std::call_once(once, [] { AddVectoredExceptionHandler(1, OnException); });
}

// Kept out of line so that the jump buffer's frame is this function's own.
__attribute__((noinline)) bool GuardedCall(GuardFrame *frame, void (*body)(void *), void *context) {
    if (__builtin_setjmp(frame->jump) != 0)
        return false;
    body(context);
    return true;
}

}  // namespace

bool RunGuarded(void (*body)(void *), void *context, FaultReport *report) {
    InstallHandler();
    GuardFrame frame;
    frame.outer = t_innermost;
    t_innermost = &frame;
    bool completed = false;
    try {
        completed = GuardedCall(&frame, body, context);
    } catch (...) {
        t_innermost = frame.outer;
        throw;
    }
    t_innermost = frame.outer;
    if (!completed)
        *report = frame.report;
    return completed;
}

}  // namespace platform
