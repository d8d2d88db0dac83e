// The base of every automation object of the framework: reference counting and
// the doors through which scripts reach it (IDispatch, IDispatchEx and
// IProvideClassInfo). Every call goes to the component descriptor of the object's
// class (ClassDescriptor), which finds the member descriptor and runs it.
//
// Names compare ignoring the case of ASCII letters whatever the lookup flags say,
// so VBScript's and JScript's spellings of a name reach the same member. A name a
// class does not have is unknown unless the caller asks to ensure it
// (fdexNameEnsure) and the object creates it (EnsureMember; script objects do).
//
// Every failure reaches the caller as an exception record (DISP_E_EXCEPTION) that
// carries the full result code in `scode` and a source and description naming the
// class and the member; without a record, the thread's error information describes
// it and the raised code is returned.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "com/module_lock.h"
#include "platform/com.h"

namespace Ostrel::Zam {

class CIComponentDescriptorImpl;

// The interface under which the framework finds its own objects behind an
// interface pointer.
inline constexpr GUID kIID_IDispatchObject = {
    0x0640D15A, 0x3E21, 0x4C0B, {0x9A, 0x4E, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

class DispatchObject : public IDispatchEx, public IProvideClassInfo {
  public:
    DispatchObject() = default;
    DispatchObject(const DispatchObject &) = delete;
    DispatchObject &operator=(const DispatchObject &) = delete;

    // Framework objects come from the module's object allocator: each holds a module
    // lock while it lives (com/module_lock.h).
    static void *operator new(std::size_t size) { return AllocateObject(size); }
    static void operator delete(void *block) noexcept { FreeObject(block); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT name_count, LCID lcid,
                                            DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argument_error) override;

    // IDispatchEx
    HRESULT STDMETHODCALLTYPE GetDispID(BSTR name, DWORD flags, DISPID *id) override;
    HRESULT STDMETHODCALLTYPE InvokeEx(DISPID id, LCID lcid, WORD flags, DISPPARAMS *parameters,
                                       VARIANT *result, EXCEPINFO *exception,
                                       IServiceProvider *caller) override;
    HRESULT STDMETHODCALLTYPE DeleteMemberByName(BSTR name, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE DeleteMemberByDispID(DISPID id) override;
    HRESULT STDMETHODCALLTYPE GetMemberProperties(DISPID id, DWORD fetch,
                                                  DWORD *properties) override;
    HRESULT STDMETHODCALLTYPE GetMemberName(DISPID id, BSTR *name) override;
    HRESULT STDMETHODCALLTYPE GetNextDispID(DWORD flags, DISPID id, DISPID *next) override;
    HRESULT STDMETHODCALLTYPE GetNameSpaceParent(IUnknown **parent) override;

    // IProvideClassInfo: the component descriptor of the class as type information.
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **info) override;

    // The component descriptor of the object's class.
    virtual CIComponentDescriptorImpl &ClassDescriptor() = 0;
    // A new object equal to this one (the script method Clone); by default a class
    // cannot be cloned.
    virtual platform::ComPtr<IDispatch> CloneObject();
    // The text of the script method ToString: by default the class name.
    virtual std::string ToString();
    // A name the class does not have, asked for with fdexNameEnsure: the dispatch id
    // of a member made for it, or DISPID_UNKNOWN (the default: none is made).
    virtual DISPID EnsureMember(std::string_view name);
    // Deleting a member by name or id: S_OK when deleted, S_FALSE when the member
    // cannot be deleted (the default: members of a class stay).
    virtual HRESULT DeleteMember(DISPID id);

    IDispatch *AsDispatch() { return static_cast<IDispatchEx *>(this); }

  protected:
    virtual ~DispatchObject() = default;
    // Further interfaces of a derived class; E_NOINTERFACE by default.
    virtual HRESULT QueryFurther(REFIID iid, void **object);

  private:
    std::atomic<ULONG> references_{0};
};

// The framework object behind an interface pointer, or null for a foreign object.
DispatchObject *FrameworkObjectOf(IUnknown *object);

// Makes a new framework object held by one reference.
template <class T, class... Args>
platform::ComPtr<T> MakeObject(Args &&...arguments) {
    return platform::ComPtr<T>(new T(std::forward<Args>(arguments)...));
}

}  // namespace Ostrel::Zam
