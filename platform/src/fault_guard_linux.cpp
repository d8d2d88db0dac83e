// Hardware-fault guard on Linux: signal handlers with a per-thread jump buffer.
#include <setjmp.h>
#include <signal.h>
#include <ucontext.h>

#include "platform/fault_guard.h"

namespace platform {

namespace {

struct GuardFrame {
    sigjmp_buf jump;
    FaultReport report;
    GuardFrame *outer = nullptr;
};

thread_local GuardFrame *t_innermost = nullptr;

constexpr int kGuardedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
struct sigaction g_previous[NSIG];

uint32_t WindowsCodeFor(int signal_number, const siginfo_t *info) {
    switch (signal_number) {
        case SIGFPE:
            if (info->si_code == FPE_INTDIV)
                return 0xC0000094;
            if (info->si_code == FPE_INTOVF)
                return 0xC0000095;
            if (info->si_code == FPE_FLTDIV)
                return 0xC000008E;
            if (info->si_code == FPE_FLTOVF)
                return 0xC0000091;
            return 0xC0000090;
        case SIGILL:
            return 0xC000001D;
        case SIGBUS:
            return info->si_code == BUS_ADRALN ? 0x80000002 : 0xC0000005;
        default:
            return 0xC0000005;
    }
}

const void *InstructionAddress(void *context, [[maybe_unused]] const siginfo_t *info) {
#if defined(__x86_64__)
    return reinterpret_cast<const void *>(
        static_cast<ucontext_t *>(context)->uc_mcontext.gregs[REG_RIP]);
#elif defined(__i386__)
    return reinterpret_cast<const void *>(
        static_cast<ucontext_t *>(context)->uc_mcontext.gregs[REG_EIP]);
#else
    (void)context;
    return info->si_addr;
#endif
}

// Hands a fault that is not ours to the handler that was there before us.
void Chain(int signal_number, siginfo_t *info, void *context) {
    const struct sigaction &previous = g_previous[signal_number];
    if (previous.sa_flags & SA_SIGINFO) {
        previous.sa_sigaction(signal_number, info, context);
        return;
    }
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal_number);
        return;
    }
    // Default action: put it back; returning re-runs the instruction, which then
    // ends the process as it would have without us.
    signal(signal_number, SIG_DFL);
}

void OnFault(int signal_number, siginfo_t *info, void *context) {
    GuardFrame *frame = t_innermost;
    if (frame == nullptr) {
        Chain(signal_number, info, context);
        return;
    }
    frame->report.code = WindowsCodeFor(signal_number, info);
    frame->report.address = InstructionAddress(context, info);
    siglongjmp(frame->jump, 1);
}

bool Install() {
    for (int signal_number : kGuardedSignals) {
        struct sigaction action {};
        action.sa_sigaction = OnFault;
        action.sa_flags = SA_SIGINFO | SA_NODEFER | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(signal_number, &action, &g_previous[signal_number]);
    }
    return true;
}

// Installs the handlers once per process. A local static is made once, by the
// first caller, and after that costs every guarded call one test of its guard.
void InstallHandlers() {
    static const bool installed = Install();
    static_cast<void>(installed);
}

}  // namespace

bool RunGuarded(void (*body)(void *), void *context, FaultReport *report) {
    InstallHandlers();
    GuardFrame frame;
    frame.outer = t_innermost;
    // The handlers run with SA_NODEFER and an empty sa_mask, so the signal mask
    // inside a handler is the one outside it: jumping back needs no mask restore,
    // and not saving the mask spares every guarded call a system call.
    if (sigsetjmp(frame.jump, 0) != 0) {
        t_innermost = frame.outer;
        *report = frame.report;
        return false;
    }
    t_innermost = &frame;
    try {
        body(context);
    } catch (...) {
        t_innermost = frame.outer;
        throw;
    }
    t_innermost = frame.outer;
    return true;
}

}  // namespace platform
