#include "script/custom_descriptor.h"

#include "framework/descriptors/descriptor_builder.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"
#include "framework/dispatch/member_call.h"
#include "script/aggregating_member.h"
#include "script/custom_property.h"
#include "script/prototype_members.h"

namespace Ostrel::Zam {

namespace {

// Class, Clone and ToString: fixed ids below those of Prototype and _CreateInstance,
// so that the first property a script makes gets 0x40000000.
constexpr DISPID kDispIdFirstFrameworkMember = -1978;
constexpr char kInvokeSource[] = "Ostrel::Zam::AbstractIComponentDescriptorImpl::Invoke";
constexpr char kAggregateSource[] =
    "Ostrel.Zam.AggregatingComponentDescriptorHelper.AggregateObjectTo";

bool IsStandardWrite(WORD shape) {
    return shape == DISPATCH_PROPERTYPUT || shape == DISPATCH_PROPERTYPUTREF ||
           shape == (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
}

// A property write as CopyOnChange sees it: 0x2000, or 4 / 8 with no other call bit.
bool IsWriteCall(WORD flags) {
    return (flags & kInvokeWrite) != 0 ||
           ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0 &&
            (flags & 0x7FF3) == 0);
}

bool SameObject(IUnknown *a, IUnknown *b) {
    platform::ComPtr<IUnknown> first, second;
    a->QueryInterface(platform::kIID_IUnknown, first.OutVoid());
    b->QueryInterface(platform::kIID_IUnknown, second.OutVoid());
    return first.Get() == second.Get();
}

CustomObject *CustomObjectOf(DispatchObject *instance) {
    return dynamic_cast<CustomObject *>(instance);
}

ComponentRef BuildMetaDescriptor() {
    using D = CustomObject::ComponentDescriptor;
    ComponentRef made =
        NewClassDescriptor("Ostrel.Zam.ComponentDescriptor", platform::kGUID_NULL, 0);
    AddComponentDescriptorMembers(*made.Get());
    PropertyAccessors copy_on_change;
    copy_on_change.get = Getter<D>([](D &d, VARIANT *r) { SetBool(r, d.CopyOnChange()); });
    copy_on_change.set =
        Setter<D>([](D &d, const VARIANT &v) { d.SetCopyOnChange(v.boolVal != VARIANT_FALSE); });
    AddProperty(*made.Get(), "CopyOnChange", VT_BOOL, std::move(copy_on_change),
                {-1, 0, "Whether writing a borrowed property gives the object its own copy"});
    return made;
}

}  // namespace

CustomObject::ComponentDescriptor::ComponentDescriptor(std::string class_name, const GUID &class_id,
                                                       InstanceFactory factory)
    : CIComponentDescriptorImpl(std::move(class_name), class_id,
                                kClassCreatable | kClassInstanceFactory) {
    // The framework's _CreateInstance gives way to the one that takes a prototype.
    AddFrameworkMembers(*this, kDispIdFirstFrameworkMember);
    RemoveMember(FindMember(kDispIdCreateInstance));
    AddMember(MakeObject<CreateCustomObjectMethodDescriptor>().Get());
    AddMember(MakeObject<PrototypePropertyDescriptor>().Get());
    SetInstanceFactory(std::move(factory));
}

CIComponentDescriptorImpl &CustomObject::ComponentDescriptor::ClassDescriptor() {
    static const ComponentRef descriptor = BuildMetaDescriptor();
    return *descriptor.Get();
}

void CustomObject::ComponentDescriptor::SetCopyOnChange(bool on) {
    flags_ = on ? (flags_ | kCopyOnChangeFlag) : (flags_ & ~kCopyOnChangeFlag);
}

void CustomObject::ComponentDescriptor::Aggregate(IDispatch *object) {
    if (object == nullptr)
        return;
    for (const auto &present : aggregated_) {
        if (SameObject(present.Get(), object))
            RaiseError(E_INVALIDARG, kAggregateSource, "Cannot aggregate same component twice");
    }
    aggregated_.emplace_back(object);
    if (DispatchObject *framework_object = FrameworkObjectOf(object))
        Borrow(framework_object->ClassDescriptor(), object);
}

void CustomObject::ComponentDescriptor::Borrow(CIComponentDescriptorImpl &prototype,
                                               IDispatch *object) {
    // A copy of the list: the prototype may be this object's own descriptor's peer.
    const std::vector<CIMemberDescriptorImpl *> members = prototype.Members().Sorted();
    for (CIMemberDescriptorImpl *member : members) {
        if ((member->Attributes() & kFilterOrdinary) != 0 || FindMember(member->Name()) != nullptr)
            continue;
        const DISPID id = member->DispId() <= 0 ? member->DispId() : kNoDispId;
        AddMember(MakeObject<AggregatingMemberDescriptor>(*member, id, object).Get());
    }
}

DISPID CustomObject::ComponentDescriptor::AddOwnProperty(Property *property) {
    const DISPID id = AddMember(property);
    sequence_of_[id] = next_sequence_;
    order_[next_sequence_++] = id;
    return id;
}

bool CustomObject::ComponentDescriptor::RemoveOwnMember(DISPID id) {
    CIMemberDescriptorImpl *member = FindMember(id);
    if (member == nullptr)
        return false;
    const auto sequence = sequence_of_.find(id);
    if (sequence == sequence_of_.end() && !member->IsPlaceholder())
        return false;
    RemoveMember(member);
    if (sequence != sequence_of_.end()) {
        order_.erase(sequence->second);
        sequence_of_.erase(sequence);
    }
    return true;
}

HRESULT CustomObject::ComponentDescriptor::NextOwnProperty(DISPID id, DISPID *next) const {
    auto at = order_.begin();
    if (id != DISPID_STARTENUM) {
        const auto sequence = sequence_of_.find(id);
        if (sequence == sequence_of_.end())
            return DISP_E_UNKNOWNNAME;
        at = order_.upper_bound(sequence->second);
    }
    if (at == order_.end())
        return S_FALSE;
    *next = at->second;
    return S_OK;
}

std::vector<CustomObject::Property *> CustomObject::ComponentDescriptor::OwnProperties() const {
    std::vector<Property *> properties;
    properties.reserve(order_.size());
    auto &self = const_cast<ComponentDescriptor &>(*this);
    for (const auto &[sequence, id] : order_) {
        if (auto *property = dynamic_cast<Property *>(self.FindMember(id)))
            properties.push_back(property);
    }
    return properties;
}

void CustomObject::ComponentDescriptor::Invoke(DispatchObject *instance, DISPID id, WORD flags,
                                               const DISPPARAMS *parameters, VARIANT *result,
                                               bool described) {
    if (CopyOnChange() && IsWriteCall(flags))
        CopyBorrowed(instance, id);
    // A reserved or unknown id goes straight to the fallback: no member would
    // answer it, and a thrown and caught error would cost more than the write.
    if ((flags & kInvokeConstruct) == 0 && FindVisible(id) == nullptr) {
        if (PassOn(id, flags, parameters, result) ||
            FallBack(instance, id, flags, parameters, result))
            return;
        CIComponentDescriptorImpl::Invoke(instance, id, flags, parameters, result, described);
        return;
    }
    try {
        CIComponentDescriptorImpl::Invoke(instance, id, flags, parameters, result, false);
        return;
    } catch (const EMemberNotFound &) {
        if (FallBack(instance, id, flags, parameters, result))
            return;
        if (described && FindVisible(id) == nullptr)
            RaiseErrorFormat(DISP_E_MEMBERNOTFOUND, kInvokeSource, "Unknown member: %.226s.#%ld",
                             ClassName().c_str(), static_cast<long>(id));
        throw;
    }
}

bool CustomObject::ComponentDescriptor::PassOn(DISPID id, WORD flags, const DISPPARAMS *parameters,
                                               VARIANT *result) {
    const WORD shape = flags & static_cast<WORD>(~kInvokeCarried);
    const bool standard = shape >= DISPATCH_METHOD && shape <= 0x000F;
    if (id > 0 || !standard || aggregated_.empty())
        return false;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    DISPPARAMS block = parameters != nullptr ? *parameters : none;
    for (const auto &object : aggregated_) {
        EXCEPINFO record{};
        UINT argument_error = 0;
        const HRESULT outcome = object->Invoke(id, platform::kGUID_NULL, 0, shape, &block, result,
                                               &record, &argument_error);
        const std::string source =
            record.bstrSource != nullptr ? platform::TextFromBstr(record.bstrSource) : "";
        const std::string description =
            record.bstrDescription != nullptr ? platform::TextFromBstr(record.bstrDescription) : "";
        const HRESULT code = record.scode;
        SysFreeString(record.bstrSource);
        SysFreeString(record.bstrDescription);
        SysFreeString(record.bstrHelpFile);
        if (SUCCEEDED(outcome))
            return true;
        if (outcome == DISP_E_MEMBERNOTFOUND || outcome == DISP_E_UNKNOWNNAME)
            continue;
        if (outcome != DISP_E_EXCEPTION)
            EInvokeError::Raise(outcome, kInvokeSource, nullptr, -1);
        RaiseError(code != 0 ? code : outcome, source.empty() ? kInvokeSource : source.c_str(),
                   description.empty() ? nullptr : description.c_str());
    }
    return false;
}

bool CustomObject::ComponentDescriptor::FallBack(DispatchObject *instance, DISPID id, WORD flags,
                                                 const DISPPARAMS *parameters, VARIANT *result) {
    CustomObject *object = CustomObjectOf(instance);
    if (object == nullptr)
        return false;
    const WORD shape = flags & static_cast<WORD>(~kInvokeCarried);
    if (IsPlainWrite(shape) || IsStandardWrite(shape)) {
        MemberCall call;
        if (IsPlainWrite(shape))
            BuildPlainCall(flags, parameters, &call);
        else if (!BuildStandardCall(flags, parameters, &call))
            return false;
        const CIMemberDescriptorImpl *named = FindMember(id);
        if (!call.arguments.empty() || call.named || named == nullptr)
            return false;
        const platform::ComPtr<Property> made =
            object->CreateProperty(named->Name(), id, call.value);
        AddOwnProperty(made.Get());
        return true;
    }
    const bool no_arguments = ArgumentCount(parameters) == 0;
    if ((flags & (kInvokeRead | DISPATCH_PROPERTYGET)) != 0 && no_arguments) {
        if (result != nullptr)
            VariantClear(result);
        return true;
    }
    return false;
}

void CustomObject::ComponentDescriptor::CopyBorrowed(DispatchObject *instance, DISPID id) {
    CustomObject *object = CustomObjectOf(instance);
    const MemberRef member(FindMember(id));
    if (object == nullptr || !member ||
        dynamic_cast<AggregatingMemberDescriptor *>(member.Get()) == nullptr)
        return;
    const platform::ComPtr<Property> copy = object->CreatePropertyFrom(*member.Get());
    RemoveMember(member.Get());
    try {
        AddOwnProperty(copy.Get());
    } catch (...) {
        AddMember(member.Get());  // the borrowed member stays as it was
        throw;
    }
}

}  // namespace Ostrel::Zam
