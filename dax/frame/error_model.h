// The error model: every failure inside the library is an EZamError that carries an
// error-information object, set as the calling thread's error information at the
// moment of the raise. Error codes have both top bits set when raised; bits 16..29
// hold the family (0x2209 string services, 0x2204 T store, 0x220F framework) or a
// COM facility.
#pragma once

#include <cstdint>
#include <exception>

#include "frame/ansi_string.h"
#include "imports/vek_imports.h"
#include "platform/com.h"
#include "platform/fault_guard.h"

namespace Ostrel::Zam {

using ErrorInfoRef = platform::ComPtr<IErrorInfoExA>;

inline constexpr uint32_t kRaiseBits = 0xC0000000u;
inline constexpr int32_t kUnknownFailure = static_cast<int32_t>(0xC0000000u);
inline constexpr int32_t kOutOfMemory = static_cast<int32_t>(0xC0000008u);
inline constexpr int32_t kInvalidCast = static_cast<int32_t>(0xC0004002u);

class EZamError : public std::exception {
  public:
    explicit EZamError(ErrorInfoRef info) : info_(std::move(info)) {}
    // A copy shares the error information and starts with an empty cache.
    EZamError(const EZamError &other) : std::exception(other), info_(other.info_) {}
    EZamError &operator=(const EZamError &other);
    ~EZamError() override = default;

    // The description of the error information, or "Unknown error".
    const char *what() const noexcept override;
    IErrorInfoExA *Info() const { return info_.Get(); }

  private:
    ErrorInfoRef info_;
    mutable AnsiString what_cache_;
};

class EHardwareException : public EZamError {
  public:
    using EZamError::EZamError;
};
class EInvalidCast : public EZamError {
  public:
    using EZamError::EZamError;
};
class EOutOfMemory : public EZamError {
  public:
    using EZamError::EZamError;
};

// Raises code | 0xC0000000 with the source and description (null: the text of the
// code's family table).
[[noreturn]] void RaiseError(int32_t code, const char *source, const char *description,
                             uint32_t dump_size = 0, const void *dump = nullptr,
                             const char *help_link = nullptr);
// The same with a printf-style description; inserted texts carry their precision.
[[noreturn]] void RaiseErrorFormat(int32_t code, const char *source, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
[[noreturn]] void RaiseUnknownError();
[[noreturn]] void RaiseOutOfMemory();
[[noreturn]] void RaiseInvalidCast(const char *source, const char *description);

// A new error-information object; each "::" of the source is stored as ".".
ErrorInfoRef CreateErrorInfo(int32_t code, const char *source, const char *description,
                             const char *help_link, const void *dump, uint32_t dump_size,
                             IErrorInfoExA *inner_error);
// Makes the information the thread's current one and throws it.
[[noreturn]] void ThrowErrorInfo(ErrorInfoRef info);
// Throws the thread's current error information again (without setting it).
[[noreturn]] void RethrowThreadError();

// Status checks of calls into the support library and COM.
int32_t CheckVekResult(int32_t status);
HRESULT CheckHResult(HRESULT result, const char *source);
template <class T>
T *CheckAllocated(T *pointer) {
    if (pointer == nullptr)
        RethrowThreadError();
    return pointer;
}
void *AllocMem(uint32_t size);
void FreeMem(void *block);

int32_t ErrorCodeOf(const EZamError &error);
[[noreturn]] void ConvertStdException(const std::exception &error);
// Turns a hardware fault reported by the guard into an EHardwareException whose
// source is the export's frame position.
[[noreturn]] void ThrowOSException(const platform::FaultReport &fault, const char *frame_position);
// Raises the error of an O.S. exception that the body detected before it could happen
// (a division by zero is checked, not provoked): the same code, source and
// description as the fault would give, with no faulting address.
[[noreturn]] void RaiseOSException(uint32_t code, const char *frame_position);

// For automation callers: fills the exception record from the error (the code with
// bit 30 cleared in scode, whatever its family; wCode stays 0) and returns
// DISP_E_EXCEPTION; without a record sets the thread's error information and returns
// the error's code.
HRESULT ErrorToExcepInfo(const EZamError &error, EXCEPINFO *record);

}  // namespace Ostrel::Zam
