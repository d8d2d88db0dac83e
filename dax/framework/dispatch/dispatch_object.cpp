#include "framework/dispatch/dispatch_object.h"

#include "framework/descriptors/component_descriptor.h"
#include "framework/descriptors/method_descriptor.h"
#include "framework/descriptors/property_descriptor.h"
#include "framework/dispatch/dispatch_door.h"
#include "framework/dispatch/invoke_flags.h"
#include "framework/dispatch/member_call.h"

namespace Ostrel::Zam {

namespace {

// The member a name stands for in a lookup: placeholders included (their ids are
// reserved for the name), internal members not.
CIMemberDescriptorImpl *NamedMember(CIComponentDescriptorImpl &descriptor, std::string_view name) {
    CIMemberDescriptorImpl *member = descriptor.FindMember(name);
    if (member == nullptr || (member->Attributes() & kMemberInternal) != 0)
        return nullptr;
    return member;
}

// The position of a named parameter of a method, or -1.
DISPID ParameterPosition(const CIMemberDescriptorImpl *member, std::string_view name) {
    const auto *method = dynamic_cast<const CIMethodDescriptorImpl *>(member);
    if (method == nullptr)
        return DISPID_UNKNOWN;
    const auto &parameters = method->Parameters();
    for (size_t i = 0; i < parameters.size(); ++i) {
        if (NameEqual()(parameters[i]->Name(), name))
            return static_cast<DISPID>(i);
    }
    return DISPID_UNKNOWN;
}

DWORD PropertiesOf(const CIMemberDescriptorImpl &member) {
    const uint32_t attributes = member.Attributes();
    switch (member.MemberKind()) {
        case CIMemberDescriptorImpl::Kind::kMethod:
            return fdexPropCannotGet | fdexPropCannotPut | fdexPropCannotPutRef | fdexPropCanCall |
                   fdexPropCannotConstruct | fdexPropCannotSourceEvents;
        case CIMemberDescriptorImpl::Kind::kProperty:
            return ((attributes & kMemberNotReadable) ? fdexPropCannotGet : fdexPropCanGet) |
                   ((attributes & kMemberNotSettable) ? fdexPropCannotPut | fdexPropCannotPutRef
                                                      : fdexPropCanPut | fdexPropCanPutRef) |
                   fdexPropCannotCall | fdexPropCannotConstruct | fdexPropCannotSourceEvents;
        default:
            return fdexPropCannotGet | fdexPropCannotPut | fdexPropCannotPutRef |
                   fdexPropCannotCall | fdexPropCannotConstruct | fdexPropCannotSourceEvents;
    }
}

bool Enumerable(const CIMemberDescriptorImpl &member) {
    return (member.Attributes() & (kMemberPlaceholder | kMemberInternal | kMemberHidden)) == 0;
}

}  // namespace

HRESULT DispatchObject::QueryInterface(REFIID iid, void **object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
        platform::SameGuid(iid, platform::kIID_IDispatch) ||
        platform::SameGuid(iid, platform::kIID_IDispatchEx)) {
        *object = static_cast<IDispatchEx *>(this);
    } else if (platform::SameGuid(iid, platform::kIID_IProvideClassInfo)) {
        *object = static_cast<IProvideClassInfo *>(this);
    } else if (platform::SameGuid(iid, kIID_IDispatchObject)) {
        *object = this;
    } else {
        return QueryFurther(iid, object);
    }
    AddRef();
    return S_OK;
}

HRESULT DispatchObject::QueryFurther(REFIID, void **) {
    return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() {
    return ++references_;
}

ULONG DispatchObject::Release() {
    const ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT *count) {
    if (count == nullptr)
        return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo **info) {
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    if (index != 0)
        return DISP_E_BADINDEX;
    return GetClassInfo(info);
}

HRESULT DispatchObject::GetClassInfo(ITypeInfo **info) {
    if (info == nullptr)
        return E_POINTER;
    *info = nullptr;
    return GuardedResult([&] {
        ITypeInfo *type_info = &ClassDescriptor();
        type_info->AddRef();
        *info = type_info;
        return S_OK;
    });
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR *names, UINT name_count, LCID, DISPID *ids) {
    if (name_count == 0)
        return S_OK;
    if (names == nullptr || ids == nullptr)
        return E_POINTER;
    return GuardedResult([&] {
        for (UINT i = 0; i < name_count; ++i)
            ids[i] = DISPID_UNKNOWN;
        if (names[0] == nullptr)
            return E_INVALIDARG;
        const std::string name =
            platform::TextFromWide(names[0], std::char_traits<OLECHAR>::length(names[0]));
        if (name.empty()) {
            ids[0] = DISPID_VALUE;
            return S_OK;
        }
        const CIMemberDescriptorImpl *member = NamedMember(ClassDescriptor(), name);
        if (member == nullptr)
            return DISP_E_UNKNOWNNAME;
        ids[0] = member->DispId();
        HRESULT outcome = S_OK;
        for (UINT i = 1; i < name_count; ++i) {
            if (names[i] != nullptr) {
                const std::string parameter =
                    platform::TextFromWide(names[i], std::char_traits<OLECHAR>::length(names[i]));
                ids[i] = ParameterPosition(member, parameter);
            }
            if (ids[i] == DISPID_UNKNOWN)
                outcome = DISP_E_UNKNOWNNAME;
        }
        return outcome;
    });
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS *parameters,
                               VARIANT *result, EXCEPINFO *exception, UINT *argument_error) {
    if (!platform::SameGuid(iid, platform::kGUID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    return InvokeDoor(ClassDescriptor(), this, id, lcid, flags, parameters, result, exception,
                      argument_error);
}

HRESULT DispatchObject::InvokeEx(DISPID id, LCID lcid, WORD flags, DISPPARAMS *parameters,
                                 VARIANT *result, EXCEPINFO *exception, IServiceProvider *) {
    // JScript's `new` arrives as DISPATCH_CONSTRUCT: the class's construct call.
    if ((flags & DISPATCH_CONSTRUCT) != 0)
        flags = kInvokeConstruct;
    return InvokeDoor(ClassDescriptor(), this, id, lcid, flags, parameters, result, exception,
                      nullptr);
}

HRESULT DispatchObject::GetDispID(BSTR name, DWORD flags, DISPID *id) {
    if (id == nullptr)
        return E_POINTER;
    *id = DISPID_UNKNOWN;
    if (name == nullptr)
        return E_INVALIDARG;
    return GuardedResult([&] {
        const std::string text = platform::TextFromBstr(name);
        if (text.empty()) {
            *id = DISPID_VALUE;
            return S_OK;
        }
        if (const CIMemberDescriptorImpl *member = NamedMember(ClassDescriptor(), text)) {
            *id = member->DispId();
            return S_OK;
        }
        if ((flags & fdexNameEnsure) != 0)
            *id = EnsureMember(text);
        return *id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
    });
}

HRESULT DispatchObject::DeleteMemberByName(BSTR name, DWORD) {
    if (name == nullptr)
        return E_INVALIDARG;
    return GuardedResult([&] {
        const CIMemberDescriptorImpl *member =
            NamedMember(ClassDescriptor(), platform::TextFromBstr(name));
        return member != nullptr ? DeleteMember(member->DispId()) : S_OK;
    });
}

HRESULT DispatchObject::DeleteMemberByDispID(DISPID id) {
    return GuardedResult([&] { return DeleteMember(id); });
}

HRESULT DispatchObject::DeleteMember(DISPID) {
    return S_FALSE;
}

HRESULT DispatchObject::GetMemberProperties(DISPID id, DWORD fetch, DWORD *properties) {
    if (properties == nullptr)
        return E_POINTER;
    *properties = 0;
    return GuardedResult([&] {
        const CIMemberDescriptorImpl *member = ClassDescriptor().FindVisible(id);
        if (member == nullptr)
            return DISP_E_UNKNOWNNAME;
        *properties = PropertiesOf(*member) & fetch;
        return S_OK;
    });
}

HRESULT DispatchObject::GetMemberName(DISPID id, BSTR *name) {
    if (name == nullptr)
        return E_POINTER;
    *name = nullptr;
    return GuardedResult([&] {
        const CIMemberDescriptorImpl *member = ClassDescriptor().FindMember(id);
        if (member == nullptr)
            return DISP_E_UNKNOWNNAME;
        *name = platform::BstrFromText(member->Name());
        return S_OK;
    });
}

HRESULT DispatchObject::GetNextDispID(DWORD, DISPID id, DISPID *next) {
    if (next == nullptr)
        return E_POINTER;
    *next = DISPID_UNKNOWN;
    return GuardedResult([&] {
        const MemberTable &table = ClassDescriptor().Members();
        const auto &sorted = table.Sorted();
        size_t position = 0;
        if (id != DISPID_STARTENUM) {
            const int64_t current = table.SortedPosition(id);
            if (current < 0)
                return DISP_E_UNKNOWNNAME;
            position = static_cast<size_t>(current) + 1;
        }
        for (; position < sorted.size(); ++position) {
            const CIMemberDescriptorImpl *member = sorted[position];
            if (Enumerable(*member) && member->DispId() != id) {
                *next = member->DispId();
                return S_OK;
            }
        }
        return S_FALSE;
    });
}

HRESULT DispatchObject::GetNameSpaceParent(IUnknown **parent) {
    if (parent != nullptr)
        *parent = nullptr;
    return E_NOTIMPL;
}

platform::ComPtr<IDispatch> DispatchObject::CloneObject() {
    RaiseErrorFormat(E_NOTIMPL, "Ostrel::Zam::CloneMethodDescriptor::DoCall",
                     "Objects of class '%.200s' cannot be cloned",
                     ClassDescriptor().ClassName().c_str());
}

std::string DispatchObject::ToString() {
    return ClassDescriptor().ClassName();
}

DISPID DispatchObject::EnsureMember(std::string_view) {
    return DISPID_UNKNOWN;
}

DispatchObject *FrameworkObjectOf(IUnknown *object) {
    if (object == nullptr)
        return nullptr;
    void *found = nullptr;
    if (FAILED(object->QueryInterface(kIID_IDispatchObject, &found)) || found == nullptr)
        return nullptr;
    auto *framework_object = static_cast<DispatchObject *>(found);
    framework_object->Release();  // the caller holds the object already
    return framework_object;
}

}  // namespace Ostrel::Zam
