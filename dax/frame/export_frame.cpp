#include "frame/export_frame.h"

#include <cstring>
#include <new>

#include "frame/error_model.h"
#include "platform/fault_guard.h"

namespace Ostrel::Zam {

std::string_view ArgumentInPlace(const char *text) {
    if (text == nullptr)
        return {};
    const std::string_view view(text);
    // Counted texts hold 31-bit lengths: a longer argument could never be used.
    if (view.size() > 0x7FFFFFF0u)
        RaiseOutOfMemory();
    return view;
}

ArgumentText::ArgumentText(const char *text) {
    const std::string_view view = ArgumentInPlace(text);
    if (view.size() > kInlineBytes) {
        heap_ = std::make_unique_for_overwrite<char[]>(view.size());
        data_ = heap_.get();
    }
    if (!view.empty())
        std::memcpy(data_, view.data(), view.size());
    size_ = view.size();
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

// Holds an optional lock for the scope.
class OptionalHold {
  public:
    explicit OptionalHold(Serial_Lock *serial) : serial_(serial) {
        if (serial_ != nullptr)
            serial_->lock();
    }
    OptionalHold(const OptionalHold &) = delete;
    OptionalHold &operator=(const OptionalHold &) = delete;
    ~OptionalHold() {
        if (serial_ != nullptr)
            serial_->unlock();
    }

  private:
    Serial_Lock *serial_;
};

}  // namespace

void RunGuardedBody(const char *frame_position, void (*body)(void *), void *context) {
    auto run = [&] { body(context); };
    GuardedBody(frame_position, run);
}

int32_t RunIntegerFrame(const char *frame_position, Serial_Lock *serial, int32_t (*body)(void *),
                        void *context) {
    int32_t result = 0;
    try {
        const OptionalHold hold(serial);
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

char *RunTextFrame(const char *frame_position, Serial_Lock *serial, AnsiString (*body)(void *),
                   void *context) {
    AnsiString result;
    try {
        const OptionalHold hold(serial);
        auto run = [&] { result = body(context); };
        GuardedBody(frame_position, run);
    } catch (...) {
        return nullptr;
    }
    return result.Release();
}

}  // namespace Ostrel::Zam::detail
