#include "frame/export_frame.h"

#include <atomic>
#include <cstring>
#include <new>

#include "frame/error_model.h"
#include "platform/fault_guard.h"

namespace Ostrel::Zam {

ArgumentText::ArgumentText(const char *text) {
    if (text == nullptr)
        return;
    const size_t size = std::strlen(text);
    // Counted texts hold 31-bit lengths: a longer argument could never be used.
    if (size > 0x7FFFFFF0u)
        RaiseOutOfMemory();
    if (size > kInlineBytes) {
        heap_ = std::make_unique_for_overwrite<char[]>(size);
        data_ = heap_.get();
    }
    std::memcpy(data_, text, size);
    size_ = size;
}

namespace {

std::atomic<uint64_t> g_export_calls{0};
thread_local uint64_t t_export_call = 0;

// Numbers one export call for its length; an export called from inside another
// gives the outer one its number back when it ends.
class ExportCallNumber {
  public:
    ExportCallNumber() : outer_(t_export_call) {
        t_export_call = g_export_calls.fetch_add(1, std::memory_order_relaxed) + 1;
    }
    ExportCallNumber(const ExportCallNumber &) = delete;
    ExportCallNumber &operator=(const ExportCallNumber &) = delete;
    ~ExportCallNumber() { t_export_call = outer_; }

  private:
    uint64_t outer_;
};

}  // namespace

uint64_t Current_Export_Call() {
    return t_export_call;
}

}  // namespace Ostrel::Zam

namespace Ostrel::Zam::detail {

namespace {

// The inner guard: whatever the body throws leaves as an EZamError.
template <class Run>
void InnerGuard(Run &run) {
    try {
        run();
    } catch (const EZamError &) {
        throw;
    } catch (const std::bad_alloc &) {
        RaiseOutOfMemory();
    } catch (const std::exception &error) {
        ConvertStdException(error);
    } catch (...) {
        RaiseUnknownError();
    }
}

// The O.S.-exception guard around the inner guard.
template <class Run>
void GuardedBody(const char *frame_position, Run &run) {
    platform::FaultReport fault;
    auto inner = [&run] { InnerGuard(run); };
    if (!platform::RunGuarded(inner, &fault))
        ThrowOSException(fault, frame_position);
}

}  // namespace

int32_t RunIntegerFrame(const char *frame_position, int32_t (*body)(void *), void *context) {
    const ExportCallNumber call;
    int32_t result = 0;
    try {
        auto run = [&] { result = body(context); };
        GuardedBody(frame_position, run);
    } catch (const EZamError &error) {
        return ErrorCodeOf(error);
    } catch (...) {
        // Only a failure to describe a failure gets here.
        return kUnknownFailure;
    }
    return result;
}

char *RunTextFrame(const char *frame_position, AnsiString (*body)(void *), void *context) {
    const ExportCallNumber call;
    AnsiString result;
    try {
        auto run = [&] { result = body(context); };
        GuardedBody(frame_position, run);
    } catch (...) {
        return nullptr;
    }
    return result.Release();
}

}  // namespace Ostrel::Zam::detail
