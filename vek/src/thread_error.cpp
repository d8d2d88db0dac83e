// The calling thread's current error information.
#include "failure.h"
#include "vek64.h"
#include "vek64_com.h"

using Ostrel::Zam::IErrorInfoExA;
using Ostrel::Zam::kIID_IErrorInfoExA;
using platform::ComPtr;

namespace {

thread_local ComPtr<IErrorInfo> t_current_error;

ComPtr<IErrorInfoExA> CurrentExtended() {
    ComPtr<IErrorInfoExA> extended;
    if (t_current_error)
        t_current_error->QueryInterface(kIID_IErrorInfoExA, extended.OutVoid());
    return extended;
}

char *TakeText(HRESULT (STDMETHODCALLTYPE IErrorInfoExA::*getter)(char **)) {
    ComPtr<IErrorInfoExA> extended = CurrentExtended();
    if (extended) {
        char *text = nullptr;
        ((*extended.Get()).*getter)(&text);
        return text;
    }
    return nullptr;
}

}  // namespace

VEK_API int32_t VEK_CALL ZamSetErrorInfo(void *info) {
    ComPtr<IErrorInfo> error;
    if (info != nullptr)
        static_cast<IUnknown *>(info)->QueryInterface(platform::kIID_IErrorInfo, error.OutVoid());
    t_current_error = error;
    return 0;
}

VEK_API int32_t VEK_CALL ZamGetErrorInfo(const void *iid, void **object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!t_current_error)
        return S_FALSE;
    const GUID &wanted = iid != nullptr ? *static_cast<const GUID *>(iid) : kIID_IErrorInfoExA;
    return t_current_error->QueryInterface(wanted, object);
}

VEK_API int32_t VEK_CALL ZamSetErrorInfoA(int32_t code, const char *source, const char *description,
                                          const char *help_link, const void *dump,
                                          uint32_t dump_size, void *inner_error) {
    const int32_t raised = static_cast<int32_t>(static_cast<uint32_t>(code) | 0xC0000000u);
    ComPtr<IErrorInfoExA> info;
    if (ZamCreateErrorInfoA(raised, source, description, help_link, dump, dump_size, inner_error,
                            &kIID_IErrorInfoExA, info.OutVoid()) >= 0)
        ZamSetErrorInfo(info.Get());
    return raised;
}

VEK_API int32_t VEK_CALL ZamGetLastError(void) {
    if (!t_current_error)
        return 0;
    ComPtr<IErrorInfoExA> extended = CurrentExtended();
    int32_t code = static_cast<int32_t>(0xC0004005);  // a foreign IErrorInfo carries no code
    if (extended)
        extended->GetNumber(&code);
    return code;
}

VEK_API char *VEK_CALL ZamGetLastErrorSourceA(void) {
    return TakeText(&IErrorInfoExA::GetSourceA);
}

VEK_API char *VEK_CALL ZamGetLastErrorDescriptionA(void) {
    return TakeText(&IErrorInfoExA::GetDescriptionA);
}
