#include "script/custom_object.h"

#include "framework/dispatch/dispatch_door.h"
#include "script/custom_descriptor.h"
#include "script/custom_property.h"

namespace Ostrel::Zam {

CustomObject::CustomObject(std::string class_name, const GUID &class_id, InstanceFactory factory)
    : descriptor_(
          MakeObject<ComponentDescriptor>(std::move(class_name), class_id, std::move(factory))) {}

CustomObject::~CustomObject() = default;

platform::ComPtr<CustomObject> CustomObject::Create() {
    return platform::ComPtr<CustomObject>(new CustomObject());
}

platform::ComPtr<CustomObject> CustomObject::NewOfSameClass() {
    return Create();
}

CIComponentDescriptorImpl &CustomObject::ClassDescriptor() {
    return *descriptor_.Get();
}

HRESULT CustomObject::QueryFurther(REFIID iid, void **object) {
    if (!platform::SameGuid(iid, descriptor_->ClassId()) &&
        !platform::SameGuid(iid, kIID_ICloneable))
        return DispatchObject::QueryFurther(iid, object);
    *object = static_cast<IDispatchEx *>(this);
    AddRef();
    return S_OK;
}

HRESULT CustomObject::GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT name_count, LCID lcid,
                                    DISPID *ids) {
    if (name_count != 1)
        return DispatchObject::GetIDsOfNames(iid, names, name_count, lcid, ids);
    if (names == nullptr || ids == nullptr)
        return E_POINTER;
    *ids = DISPID_UNKNOWN;
    if (names[0] == nullptr)
        return E_INVALIDARG;
    BSTR name = SysAllocString(names[0]);
    if (name == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT outcome = GetDispID(name, fdexNameEnsure, ids);
    SysFreeString(name);
    return outcome;
}

HRESULT CustomObject::GetDispID(BSTR name, DWORD flags, DISPID *id) {
    if ((flags & fdexNameCaseInsensitive) != 0)
        flags |= fdexNameEnsure;
    return DispatchObject::GetDispID(name, flags, id);
}

HRESULT CustomObject::GetNextDispID(DWORD, DISPID id, DISPID *next) {
    if (next == nullptr)
        return E_POINTER;
    *next = DISPID_UNKNOWN;
    return GuardedResult([&] { return descriptor_->NextOwnProperty(id, next); });
}

DISPID CustomObject::EnsureMember(std::string_view name) {
    return descriptor_->AllocateDispId(name);
}

HRESULT CustomObject::DeleteMember(DISPID id) {
    return descriptor_->RemoveOwnMember(id) ? S_OK : S_FALSE;
}

platform::ComPtr<IDispatch> CustomObject::CloneObject() {
    const platform::ComPtr<CustomObject> copy = NewOfSameClass();
    ComponentDescriptor &target = copy->Descriptor();
    for (const Property *property : descriptor_->OwnProperties())
        target.AddOwnProperty(property->Clone().Get());
    for (const auto &prototype : descriptor_->Aggregated())
        target.Aggregate(prototype.Get());
    target.SetCopyOnChange(descriptor_->CopyOnChange());
    return platform::ComPtr<IDispatch>(copy->AsDispatch());
}

platform::ComPtr<CustomObject::Property> CustomObject::CreateProperty(std::string name, DISPID id,
                                                                      const VARIANT &value) {
    return MakeObject<Property>(std::move(name), id, value);
}

platform::ComPtr<CustomObject::Property> CustomObject::CreatePropertyFrom(
    const CIMemberDescriptorImpl &member) {
    VARIANT empty;
    VariantInit(&empty);
    auto made = CreateProperty(member.Name(), member.DispId(), empty);
    made->SetAttributes(member.Attributes());
    made->SetHelpText(member.HelpText());
    return made;
}

}  // namespace Ostrel::Zam
