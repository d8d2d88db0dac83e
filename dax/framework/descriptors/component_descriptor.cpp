#include "framework/descriptors/component_descriptor.h"

#include <cstdio>
#include <vector>

#include "frame/diagnostics.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

constexpr char kAddMemberSource[] = "Ostrel.Zam.IComponentDescriptorImpl._AddMember";
constexpr char kInvokeSource[] = "Ostrel::Zam::AbstractIComponentDescriptorImpl::Invoke";
constexpr char kCreateSource[] = "Ostrel.Zam.AbstractIComponentDescriptorImpl.CreateInstance";

bool Overloadable(const CIMemberDescriptorImpl &member) {
    return member.MemberKind() == CIMemberDescriptorImpl::Kind::kMethod &&
           (member.Attributes() & kMemberOverloadable) != 0;
}

}  // namespace

CIComponentDescriptorImpl::CIComponentDescriptorImpl(std::string class_name, const GUID &class_id,
                                                     uint32_t kind_flags)
    : class_name_(std::move(class_name)), class_id_(class_id), kind_flags_(kind_flags) {}

CIComponentDescriptorImpl::~CIComponentDescriptorImpl() {
    members_.ForEach([](CIMemberDescriptorImpl *member) { member->Detach(); });
    members_.Clear();
}

HRESULT CIComponentDescriptorImpl::QueryInterface(REFIID iid, void **object) {
    return DispatchObject::QueryInterface(iid, object);
}

HRESULT CIComponentDescriptorImpl::QueryFurther(REFIID iid, void **object) {
    if (platform::SameGuid(iid, kIID_IComponentDescriptorA))
        *object = static_cast<IComponentDescriptorA *>(this);
    else if (platform::SameGuid(iid, platform::kIID_ITypeInfo))
        *object = static_cast<ITypeInfo *>(this);
    else if (platform::SameGuid(iid, platform::kIID_IClassFactory))
        *object = static_cast<IClassFactory *>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

DISPID CIComponentDescriptorImpl::NextFreeDispId(const char *assertion) {
    while (members_.IdInUse(next_alloc_dispid_) && next_alloc_dispid_ >= 0)
        next_alloc_dispid_ = static_cast<DISPID>(static_cast<uint32_t>(next_alloc_dispid_) + 1);
    const DISPID id = next_alloc_dispid_;
    if (id < 0)
        InternalError("dax/framework/component_descriptor", 58, "Assertion failed: %.237s",
                      assertion);
    next_alloc_dispid_ = static_cast<DISPID>(static_cast<uint32_t>(id) + 1);
    return id;
}

DISPID CIComponentDescriptorImpl::AddMember(CIMemberDescriptorImpl *member) {
    if (member == nullptr)
        RaiseError(E_POINTER, kAddMemberSource, "Cannot add a null member");
    const MemberRef added(member);
    const std::string &name = member->Name();
    DISPID id = member->DispId();
    MemberTable::Slot *slot = members_.Find(name);
    if (slot == nullptr) {
        if (id == kNoDispId)
            id = NextFreeDispId("(member_id = fNextAllocDispId++) >= 0");
        member->Attach(this, id);
        members_.AddNew(added);
    } else {
        CIMemberDescriptorImpl &existing = *slot->front().Get();
        if (id != kNoDispId && id != existing.DispId()) {
            RaiseErrorFormat(TYPE_E_NAMECONFLICT, kAddMemberSource,
                             "Cannot add member '%.80s.%.72s': %.80s", class_name_.c_str(),
                             name.c_str(),
                             "another member with the same name but a different dispatch ID "
                             "exists already");
        }
        id = existing.DispId();
        if (existing.IsPlaceholder()) {
            const MemberRef replaced(&existing);
            member->Attach(this, id);
            members_.ReplaceFirst(*slot, added);
            replaced->Detach();
        } else if (Overloadable(existing) && Overloadable(*member)) {
            member->Attach(this, id);
            members_.AddBeside(*slot, added);
        } else {
            RaiseErrorFormat(TYPE_E_NAMECONFLICT, kAddMemberSource,
                             "Cannot add member '%.80s.%.72s': %.80s", class_name_.c_str(),
                             name.c_str(), "another property or event exists already");
        }
    }
    DropCache();
    return id;
}

DISPID CIComponentDescriptorImpl::AllocateDispId(std::string_view name) {
    if (name.empty())
        return DISPID_VALUE;
    if (const MemberTable::Slot *slot = members_.Find(name))
        return slot->front()->DispId();
    const DISPID id = NextFreeDispId("(result = fNextAllocDispId++) >= 0");
    const MemberRef placeholder(MakeObject<PlaceholderDescriptor>(std::string(name), id).Get());
    placeholder->Attach(this, id);
    members_.AddNew(placeholder);
    DropCache();
    return id;
}

CIMemberDescriptorImpl *CIComponentDescriptorImpl::FindMember(std::string_view name) {
    const MemberTable::Slot *slot = members_.Find(name);
    if (slot == nullptr)
        return nullptr;
    // A script host looks a name up and then invokes its id: the one-entry cache
    // takes the member now, so that the call finds it without a second lookup.
    CIMemberDescriptorImpl *member = slot->front().Get();
    if ((member->Attributes() & kFilterOrdinary) == 0) {
        cached_id_ = member->DispId();
        cached_member_ = member;
    }
    return member;
}

CIMemberDescriptorImpl *CIComponentDescriptorImpl::FindMember(DISPID id) {
    return members_.FindById(id, 0);
}

bool CIComponentDescriptorImpl::RemoveMember(CIMemberDescriptorImpl *member) {
    if (member == nullptr || member->Owner() != this)
        return false;
    const MemberRef keep(member);
    if (!members_.Remove(member))
        return false;
    member->Detach();
    DropCache();
    return true;
}

platform::ComPtr<IDispatch> CIComponentDescriptorImpl::NewInstance() const {
    return factory_ ? factory_() : platform::ComPtr<IDispatch>();
}

CIMemberDescriptorImpl *CIComponentDescriptorImpl::Lookup(DISPID id, WORD flags) {
    const uint32_t filter = (flags & kInvokeLookupAll) != 0 ? kFilterAll : kFilterOrdinary;
    if (cached_member_ != nullptr && cached_id_ == id &&
        (cached_member_->Attributes() & filter) == 0)
        return cached_member_;
    CIMemberDescriptorImpl *member = members_.FindById(id, filter);
    if (member != nullptr) {
        cached_id_ = id;
        cached_member_ = member;
    }
    return member;
}

void CIComponentDescriptorImpl::Invoke(DispatchObject *instance, DISPID id, WORD flags,
                                       const DISPPARAMS *parameters, VARIANT *result,
                                       bool described) {
    if ((flags & kInvokeConstruct) != 0) {
        flags = static_cast<WORD>((flags & ~kInvokeConstruct) | kInvokeCall);
        id = kDispIdCreateInstance;
    }
    CIMemberDescriptorImpl *member = Lookup(id, flags);
    if (member == nullptr) {
        if (described)
            RaiseErrorFormat(DISP_E_MEMBERNOTFOUND, kInvokeSource, "Unknown member: %.226s.#%ld",
                             class_name_.c_str(), static_cast<long>(id));
        EMemberNotFound::Raise();
    }
    member->Invoke(instance, static_cast<WORD>(flags & ~kInvokeLookupAll), parameters, result);
}

void CIComponentDescriptorImpl::InvokeMember(DispatchObject *instance, DISPID id, WORD flags,
                                             const VARIANT *arguments, size_t count,
                                             VARIANT *result) {
    if (count != 0 && arguments == nullptr)
        RaiseError(E_POINTER, "Ostrel.Zam.IComponentDescriptor.InvokeMember",
                   "Arguments are missing");
    std::vector<VARIANT> reversed(count);
    for (size_t i = 0; i < count; ++i)
        reversed[count - 1 - i] = arguments[i];
    DISPPARAMS block = {reversed.data(), nullptr, static_cast<UINT>(count), 0};
    if (result != nullptr && !IsPlainWrite(flags))
        VariantClear(result);
    Invoke(instance, id, flags, &block, result, true);
}

platform::ComPtr<IUnknown> CIComponentDescriptorImpl::CreateObject() {
    const uint32_t kind = kind_flags_ & (kClassCreatable | kClassInstanceFactory);
    if (kind == kClassCreatable) {
        OwnedVariant made;
        Invoke(nullptr, kDispIdCreateInstance, kInvokeCall, nullptr, made.Get(), true);
        if (IsObject(*made) && (*made).punkVal != nullptr)
            return platform::ComPtr<IUnknown>((*made).punkVal);
    } else if (kind == (kClassCreatable | kClassInstanceFactory)) {
        if (const platform::ComPtr<IDispatch> made = NewInstance())
            return platform::ComPtr<IUnknown>(made.Get());
    }
    RaiseErrorFormat(E_UNEXPECTED, kCreateSource, "Class %.226s cannot be instantiated",
                     class_name_.c_str());
}

HRESULT CIComponentDescriptorImpl::CreateInstance(IUnknown *outer, REFIID iid, PVOID *object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    return GuardedResult([&] { return CreateObject()->QueryInterface(iid, object); });
}

HRESULT CIComponentDescriptorImpl::LockServer(BOOL) {
    return S_OK;
}

std::string GuidText(const GUID &guid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

}  // namespace Ostrel::Zam
