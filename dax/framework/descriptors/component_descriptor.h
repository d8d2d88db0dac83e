// Component descriptors: the run-time description of an automation class (its
// name, class identifier, kind and members) through which every call of its
// instances is resolved. A component descriptor is itself an automation object
// (class "Ostrel.Zam.ComponentDescriptor"), the type information that
// IProvideClassInfo hands out, and the class object of its class (IClassFactory).
//
// Dispatch ids given to members without one start at 0x40000000 and only grow,
// stepping past ids in use. The member table orders and finds names ignoring ASCII
// letter case (member_table.h). The text form of ClsId is upper-case hexadecimal
// in braces, {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
//
// Register and Unregister (script methods) raise E_NOTIMPL with a text saying that
// registration is not available: the system registry is not reached yet.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "framework/descriptors/member_table.h"
#include "framework/dispatch/dispatch_door.h"

namespace Ostrel::Zam {

inline constexpr GUID kIID_IComponentDescriptorA = {
    0x06405581, 0x8C58, 0x11D3, {0x80, 0x57, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};
inline constexpr GUID kIID_IMethodDescriptorA = {
    0x06405595, 0x8C58, 0x11D3, {0x80, 0x57, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

// The reading and building operations of a component descriptor, the interface
// that answers for IComponentDescriptorA.
struct IComponentDescriptorA : IUnknown {
    virtual const std::string &ClassName() const = 0;
    virtual const GUID &ClassId() const = 0;
    // Adds a member; returns the dispatch id it holds afterwards. Raises on a clash.
    virtual DISPID AddMember(CIMemberDescriptorImpl *member) = 0;
    // The id of the member called `name`, reserving one for a new name.
    virtual DISPID AllocateDispId(std::string_view name) = 0;
    // The member (placeholders included) or null.
    virtual CIMemberDescriptorImpl *FindMember(std::string_view name) = 0;
    virtual CIMemberDescriptorImpl *FindMember(DISPID id) = 0;

  protected:
    ~IComponentDescriptorA() = default;
};

using InstanceFactory = std::function<platform::ComPtr<IDispatch>()>;

class CIComponentDescriptorImpl : public DispatchObject,
                                  public IComponentDescriptorA,
                                  public ITypeInfo,
                                  public IClassFactory {
  public:
    CIComponentDescriptorImpl(std::string class_name, const GUID &class_id, uint32_t kind_flags);

    // IUnknown (one object behind every interface)
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return DispatchObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DispatchObject::Release(); }

    // IComponentDescriptorA
    const std::string &ClassName() const override { return class_name_; }
    const GUID &ClassId() const override { return class_id_; }
    DISPID AddMember(CIMemberDescriptorImpl *member) override;
    DISPID AllocateDispId(std::string_view name) override;
    CIMemberDescriptorImpl *FindMember(std::string_view name) override;
    CIMemberDescriptorImpl *FindMember(DISPID id) override;

    uint32_t KindFlags() const { return kind_flags_; }
    // The instance factory of the class (used by CreateInstance and _CreateInstance).
    void SetInstanceFactory(InstanceFactory factory) { factory_ = std::move(factory); }
    bool HasInstanceFactory() const { return static_cast<bool>(factory_); }
    platform::ComPtr<IDispatch> NewInstance() const;
    // Takes a member out of the table and detaches it; false when it was not there.
    bool RemoveMember(CIMemberDescriptorImpl *member);
    const MemberTable &Members() const { return members_; }
    // A member found by id for an ordinary lookup (placeholders and internal members
    // hidden), or null.
    CIMemberDescriptorImpl *FindVisible(DISPID id) const {
        return members_.FindById(id, 0x80100000u);
    }

    // Invokes a member of `instance` by dispatch id. A construct call (0x200) calls
    // _CreateInstance. An unknown id raises "Unknown member: ..." when
    // `described` (the caller has no exception record), else EMemberNotFound.
    // Descriptors of classes whose members change while they run (script objects)
    // override it to make members on first use.
    virtual void Invoke(DispatchObject *instance, DISPID id, WORD flags,
                        const DISPPARAMS *parameters, VARIANT *result, bool described);
    // Invokes by id with the arguments in positional order (InvokeMember).
    void InvokeMember(DispatchObject *instance, DISPID id, WORD flags, const VARIANT *arguments,
                      size_t count, VARIANT *result);

    // DispatchObject
    CIComponentDescriptorImpl &ClassDescriptor() override;
    std::string ToString() override { return class_name_; }

    // ITypeInfo: what the libraries call; the rest answers E_NOTIMPL.
    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR **attributes) override;
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp **compiler) override;
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC **description) override;
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT index, VARDESC **description) override;
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID id, BSTR *names, UINT max_names,
                                       UINT *name_count) override;
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE *type) override;
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT *flags) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR *names, UINT name_count,
                                            MEMBERID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(PVOID instance, MEMBERID id, WORD flags,
                                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argument_error) override;
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID id, BSTR *name, BSTR *doc_string,
                                               DWORD *help_context, BSTR *help_file) override;
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID id, INVOKEKIND kind, BSTR *dll, BSTR *name,
                                          WORD *ordinal) override;
    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE type, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID id, INVOKEKIND kind,
                                              PVOID *address) override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, PVOID *object) override;
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID id, BSTR *mops) override;
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib **library, UINT *index) override;
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR *attributes) override;
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC *description) override;
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC *description) override;

    // IClassFactory
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

    // IDispatch names of the descriptor object itself (not of the class it describes).
    using DispatchObject::GetIDsOfNames;
    using DispatchObject::Invoke;

    // The class-factory operation; raises when the class cannot be instantiated.
    platform::ComPtr<IUnknown> CreateObject();

  protected:
    ~CIComponentDescriptorImpl() override;

  private:
    DISPID NextFreeDispId(const char *assertion);
    CIMemberDescriptorImpl *Lookup(DISPID id, WORD flags);
    void DropCache() { cached_member_ = nullptr; }
    HRESULT QueryFurther(REFIID iid, void **object) override;

    std::string class_name_;
    GUID class_id_;
    uint32_t kind_flags_;
    MemberTable members_;
    DISPID next_alloc_dispid_ = 0x40000000;
    DISPID cached_id_ = 0;
    CIMemberDescriptorImpl *cached_member_ = nullptr;
    InstanceFactory factory_;
};

using ComponentRef = platform::ComPtr<CIComponentDescriptorImpl>;

// The text form of a class identifier: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
std::string GuidText(const GUID &guid);

}  // namespace Ostrel::Zam
