// The calling thread's current error information.
#include <utility>

#include "errors/failure.h"
#include "platform/thread_slot.h"
#include "vek64.h"
#include "vek64_com.h"

using Ostrel::Zam::IErrorInfoExA;
using Ostrel::Zam::kIID_IErrorInfoExA;
using platform::ComPtr;

namespace {

void PLATFORM_STDCALL ReleaseError(void *info) {
    static_cast<IErrorInfo *>(info)->Release();
}

// Each thread's error information, one reference held per thread and given up when
// the thread ends. Made when the library loads, before any library that uses it, so
// that it is destroyed after them: their unloading may still fail and set errors.
platform::ThreadSlot g_error_slot PLATFORM_INIT_PRIORITY(101){&ReleaseError};

IErrorInfo *CurrentError() {
    return static_cast<IErrorInfo *>(g_error_slot.Get());
}

// Takes over `error`'s reference; the previous information is released after the
// new one is in place, so that anything its release does sees the new state.
void ReplaceCurrentError(ComPtr<IErrorInfo> error) {
    IErrorInfo *previous = CurrentError();
    IErrorInfo *current = error.Detach();
    if (!g_error_slot.Set(current) && current != nullptr)
        current->Release();  // no slot any more: the information cannot be kept
    if (previous != nullptr)
        previous->Release();
}

ComPtr<IErrorInfoExA> CurrentExtended() {
    ComPtr<IErrorInfoExA> extended;
    if (IErrorInfo *current = CurrentError())
        current->QueryInterface(kIID_IErrorInfoExA, extended.OutVoid());
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
    ReplaceCurrentError(std::move(error));
    return 0;
}

VEK_API int32_t VEK_CALL ZamGetErrorInfo(const void *iid, void **object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    IErrorInfo *current = CurrentError();
    if (current == nullptr)
        return S_FALSE;
    const GUID &wanted = iid != nullptr ? *static_cast<const GUID *>(iid) : kIID_IErrorInfoExA;
    return current->QueryInterface(wanted, object);
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
    if (CurrentError() == nullptr)
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
