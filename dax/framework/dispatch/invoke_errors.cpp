#include "framework/dispatch/invoke_errors.h"

namespace Ostrel::Zam {

namespace {

int32_t Raised(HRESULT code) {
    return static_cast<int32_t>(static_cast<uint32_t>(code) | kRaiseBits);
}

}  // namespace

void EInvokeError::Raise(HRESULT code, const char *source, const char *description,
                         int32_t argument) {
    ErrorInfoRef info =
        CreateErrorInfo(Raised(code), source, description, nullptr, nullptr, 0, nullptr);
    ZamSetErrorInfo(info.Get());
    throw EInvokeError(std::move(info), argument, description != nullptr);
}

void EMemberNotFound::Raise() {
    ErrorInfoRef info = CreateErrorInfo(Raised(DISP_E_MEMBERNOTFOUND), nullptr, nullptr, nullptr,
                                        nullptr, 0, nullptr);
    ZamSetErrorInfo(info.Get());
    throw EMemberNotFound(std::move(info), -1, false);
}

HRESULT ResultCodeOf(const EZamError &error) {
    return static_cast<HRESULT>(static_cast<uint32_t>(ErrorCodeOf(error)) & 0xBFFFFFFFu);
}

}  // namespace Ostrel::Zam
