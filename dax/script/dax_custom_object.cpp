#include "script/dax_custom_object.h"

#include "framework/descriptors/descriptor_builder.h"
#include "framework/dispatch/invoke_errors.h"
#include "imports/morph_imports.h"

namespace Ostrel::Zam {

namespace {

constexpr char kSetValueSource[] = "Ostrel.Zam.DaxCustomObject.Property.DoSetValue";
constexpr char kIFMSource[] = "Ostrel.Zam.DaxCustomObject.Property.IFM";

DaxCustomObject::Property &FormatChecked(DispatchObject &instance) {
    auto *property = dynamic_cast<DaxCustomObject::Property *>(&instance);
    if (property == nullptr)
        RaiseError(E_POINTER, kIFMSource, nullptr);
    return *property;
}

ComponentRef BuildPropertyClass() {
    ComponentRef made =
        NewClassDescriptor("Ostrel.Zam.PropertyDescriptor", platform::kGUID_NULL, 0);
    AddPropertyDescriptorMembers(*made.Get());
    PropertyAccessors mask;
    mask.get = [](DispatchObject &instance, VARIANT *result) {
        SetText(result, FormatChecked(instance).Mask());
    };
    mask.set = [](DispatchObject &instance, const VARIANT &value) {
        std::string text;
        ToText(value, &text);
        FormatChecked(instance).SetMask(std::move(text));
    };
    AddProperty(*made.Get(), "IFM", VT_BSTR, std::move(mask), {-1, 0, "Input Format Mask"});
    return made;
}

}  // namespace

DaxCustomObject::DaxCustomObject()
    : CustomObject("DaxCustomObject", kCLSID_DaxCustomObject, FactoryOf<DaxCustomObject>()) {}

platform::ComPtr<DaxCustomObject> DaxCustomObject::Create() {
    return platform::ComPtr<DaxCustomObject>(new DaxCustomObject());
}

platform::ComPtr<CustomObject> DaxCustomObject::NewOfSameClass() {
    return platform::ComPtr<CustomObject>(Create().Get());
}

platform::ComPtr<CustomObject::Property> DaxCustomObject::CreateProperty(std::string name,
                                                                         DISPID id,
                                                                         const VARIANT &value) {
    return platform::ComPtr<CustomObject::Property>(
        MakeObject<Property>(std::move(name), id, value).Get());
}

platform::ComPtr<CustomObject::Property> DaxCustomObject::CreatePropertyFrom(
    const CIMemberDescriptorImpl &member) {
    return CustomObject::CreatePropertyFrom(member);  // made by CreateProperty: format-checked
}

platform::ComPtr<CustomObject::Property> DaxCustomObject::Property::Clone() const {
    auto copy = MakeObject<Property>(Name(), DispId(), Value());
    copy->TakeSettingsOf(*this);
    copy->mask_ = mask_;
    return platform::ComPtr<CustomObject::Property>(copy.Get());
}

CIComponentDescriptorImpl &DaxCustomObject::Property::ClassDescriptor() {
    static const ComponentRef descriptor = BuildPropertyClass();
    return *descriptor.Get();
}

void DaxCustomObject::Property::DoSetValue(const VARIANT &value) {
    if (!mask_.empty()) {
        OwnedVariant converted;
        std::string text;
        if (FAILED(ChangeKind(value, VT_BSTR, converted.Get())) || !ToText(*converted, &text))
            EInvokeError::Raise(DISP_E_TYPEMISMATCH, kSetValueSource, nullptr, 0);
        const int32_t outcome = FormatValidateA(text.c_str(), 0, mask_.c_str(), 0);
        if ((static_cast<uint32_t>(outcome) & 0xC0000000u) == 0xC0000000u)
            RethrowThreadError();
        if (outcome != 0)
            RaiseErrorFormat(static_cast<int32_t>(static_cast<uint32_t>(outcome) | 0xC0000000u),
                             kSetValueSource, "Value \"%.200s\" does not match IFM \"%.25s\"",
                             text.c_str(), mask_.c_str());
    }
    CustomObject::Property::DoSetValue(value);
}

}  // namespace Ostrel::Zam
