#include "frame/error_model.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <typeinfo>

#include "frame/diagnostics.h"

namespace Ostrel::Zam {

namespace {

int32_t WithRaiseBits(int32_t code) {
    return static_cast<int32_t>(static_cast<uint32_t>(code) | kRaiseBits);
}

std::string DottedSource(const char *source) {
    const std::string_view text = source != nullptr ? source : "";
    std::string dotted;
    dotted.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // A "::" becomes "."; a '.' never forms a new "::", so one pass does it.
        if (text.compare(i, 2, "::") == 0) {
            dotted.push_back('.');
            ++i;
        } else {
            dotted.push_back(text[i]);
        }
    }
    return dotted;
}

template <class Error>
[[noreturn]] void ThrowAs(ErrorInfoRef info) {
    ZamSetErrorInfo(info.Get());
    throw Error(std::move(info));
}

}  // namespace

EZamError &EZamError::operator=(const EZamError &other) {
    if (this != &other) {
        info_ = other.info_;
        what_cache_ = AnsiString();
    }
    return *this;
}

const char *EZamError::what() const noexcept {
    try {
        what_cache_ = AnsiString();
        if (info_)
            info_->GetDescriptionA(what_cache_.Out());
    } catch (...) {
        what_cache_ = AnsiString();
    }
    return what_cache_.Empty() ? "Unknown error" : what_cache_.CStr();
}

ErrorInfoRef CreateErrorInfo(int32_t code, const char *source, const char *description,
                             const char *help_link, const void *dump, uint32_t dump_size,
                             IErrorInfoExA *inner_error) {
    const std::string dotted = DottedSource(source);
    ErrorInfoRef info;
    const int32_t result = ZamCreateErrorInfoA(code, source != nullptr ? dotted.c_str() : nullptr,
                                               description, help_link, dump, dump_size, inner_error,
                                               &kIID_IErrorInfoExA, info.OutVoid());
    if (result < 0 || !info) {
        InternalError("vek/errors", 505, "Assertion failed: %.237s",
                      "SUCCEEDED(ZamCreateErrorInfo_(err_code,source,description,help_link,dump,"
                      "dump_size,inner_error_info,iidof(IErrorInfoEx),(void**)&err_info))");
    }
    return info;
}

void ThrowErrorInfo(ErrorInfoRef info) {
    ThrowAs<EZamError>(std::move(info));
}

void RaiseError(int32_t code, const char *source, const char *description, uint32_t dump_size,
                const void *dump, const char *help_link) {
    ThrowErrorInfo(CreateErrorInfo(WithRaiseBits(code), source, description, help_link, dump,
                                   dump_size, nullptr));
}

void RaiseErrorFormat(int32_t code, const char *source, const char *format, ...) {
    char description[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(description, sizeof description, format, arguments);
    va_end(arguments);
    RaiseError(code, source, description);
}

void RaiseUnknownError() {
    RaiseError(kUnknownFailure, nullptr, nullptr);
}

void RaiseOutOfMemory() {
    ThrowAs<EOutOfMemory>(
        CreateErrorInfo(kOutOfMemory, nullptr, nullptr, nullptr, nullptr, 0, nullptr));
}

void RaiseInvalidCast(const char *source, const char *description) {
    ThrowAs<EInvalidCast>(
        CreateErrorInfo(kInvalidCast, source, description, nullptr, nullptr, 0, nullptr));
}

void RethrowThreadError() {
    ErrorInfoRef info;
    if (ZamGetErrorInfo(&kIID_IErrorInfoExA, info.OutVoid()) != S_OK || !info)
        RaiseUnknownError();
    throw EZamError(std::move(info));
}

int32_t CheckVekResult(int32_t status) {
    if ((static_cast<uint32_t>(status) & kRaiseBits) == kRaiseBits)
        RethrowThreadError();
    return status;
}

HRESULT CheckHResult(HRESULT result, const char *source) {
    if (result < 0) {
        if (static_cast<uint32_t>(result) & 0x40000000u)
            RethrowThreadError();
        RaiseError(result, source, nullptr);
    }
    return result;
}

void *AllocMem(uint32_t size) {
    return CheckAllocated(ZamAllocMem(size));
}

void FreeMem(void *block) {
    CheckVekResult(ZamFreeMem(block));
}

int32_t ErrorCodeOf(const EZamError &error) {
    int32_t code = kUnknownFailure;
    if (error.Info() == nullptr || error.Info()->GetNumber(&code) < 0)
        return kUnknownFailure;
    return code;
}

void ConvertStdException(const std::exception &error) {
    if (const auto *zam = dynamic_cast<const EZamError *>(&error))
        ThrowErrorInfo(ErrorInfoRef(zam->Info()));
    RaiseError(kUnknownFailure, nullptr, error.what());
}

void ThrowOSException(const platform::FaultReport &fault, const char *frame_position) {
    const std::string description = FormatOSException(fault.code, fault.address, 255);
    ThrowAs<EHardwareException>(CreateErrorInfo(static_cast<int32_t>(fault.code | kRaiseBits),
                                                frame_position, description.c_str(), nullptr,
                                                nullptr, 0, nullptr));
}

void RaiseOSException(uint32_t code, const char *frame_position) {
    platform::FaultReport fault;
    fault.code = code;
    ThrowOSException(fault, frame_position);
}

HRESULT ErrorToExcepInfo(const EZamError &error, EXCEPINFO *record) {
    if (record == nullptr) {
        ZamSetErrorInfo(error.Info());
        return ErrorCodeOf(error);
    }
    std::memset(record, 0, sizeof *record);
    const uint32_t code = static_cast<uint32_t>(ErrorCodeOf(error));
    if (IErrorInfoExA *info = error.Info()) {
        info->GetSource(&record->bstrSource);
        info->GetDescription(&record->bstrDescription);
        info->GetHelpFile(&record->bstrHelpFile);
        info->GetHelpContext(&record->dwHelpContext);
    }
    // Every code goes to scode, framework codes included: script hosts read only
    // scode, and one that finds it zero reports no error at all.
    record->scode = static_cast<SCODE>(code & 0xBFFFFFFFu);
    return DISP_E_EXCEPTION;
}

}  // namespace Ostrel::Zam
