#include "script/custom_property.h"

#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

constexpr VARTYPE kAnsiText = 0x100;  // the framework's 8-bit text type

PropertyAccessors ValueAccessors(const CustomObject::Property *property) {
    PropertyAccessors accessors;
    accessors.get = [property](DispatchObject &, VARIANT *result) {
        VariantCopy(result, const_cast<VARIANT *>(&property->Value()));
    };
    // Writes are executed by the property itself (Execute); the accessor marks the
    // property settable.
    accessors.set = [](DispatchObject &, const VARIANT &) {};
    return accessors;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

bool SplitPossibleValue(std::string_view line, std::string_view *value, std::string_view *text) {
    const size_t end = line.find_first_of(" \t:-");
    if (end == std::string_view::npos)
        return false;
    size_t at = end;
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    if (at == line.size() || (line[at] != ':' && line[at] != '-'))
        return false;
    ++at;
    while (at < line.size() && IsBlank(line[at]))
        ++at;
    *value = line.substr(0, end);
    *text = line.substr(at);
    return true;
}

CustomObject::Property::Property(std::string name, DISPID id, const VARIANT &value)
    : CIPropertyDescriptorImpl(std::move(name), VT_VARIANT, ValueAccessors(this), id) {
    VariantCopyInd(value_.Get(), const_cast<VARIANT *>(&value));
}

HRESULT CustomObject::Property::QueryFurther(REFIID iid, void **object) {
    if (!platform::SameGuid(iid, kIID_CustomObjectProperty))
        return CIPropertyDescriptorImpl::QueryFurther(iid, object);
    *object = static_cast<IDispatchEx *>(this);
    AddRef();
    return S_OK;
}

void CustomObject::Property::TakeSettingsOf(const Property &other) {
    SetAttributes(other.Attributes());
    SetHelpText(other.HelpText());
    SetType(other.Type());
    possible_values_ = other.possible_values_;
}

platform::ComPtr<CustomObject::Property> CustomObject::Property::Clone() const {
    auto copy = MakeObject<Property>(Name(), DispId(), Value());
    copy->TakeSettingsOf(*this);
    return copy;
}

void CustomObject::Property::Execute(MemberCall &call) {
    const bool write = call.IsWrite();
    if (write && call.arguments.empty() && !call.named) {
        if ((Attributes() & (kMemberPlaceholder | kMemberNotSettable)) != 0)
            EMemberNotFound::Raise();
        DoSetValue(call.value);
        return;
    }
    if (call.IsRead() && (Attributes() & (kMemberPlaceholder | kMemberNotReadable)) != 0)
        EMemberNotFound::Raise();
    CIPropertyDescriptorImpl::Execute(call);
}

void CustomObject::Property::DoSetValue(const VARIANT &value) {
    if ((Attributes() & (kMemberPlaceholder | kMemberNotSettable)) != 0)
        EMemberNotFound::Raise();
    Store(value);
}

void CustomObject::Property::Store(const VARIANT &value) {
    OwnedVariant stored;
    const VARTYPE type = Type() == kAnsiText ? static_cast<VARTYPE>(VT_BSTR) : Type();
    if (type == VT_VARIANT) {
        if (FAILED(VariantCopyInd(stored.Get(), const_cast<VARIANT *>(&value))))
            EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
    } else {
        OwnedVariant chosen;
        const VARIANT *source = &value;
        std::string given;
        if (!possible_values_.empty() && type != VT_BSTR && value.vt == VT_BSTR &&
            ToText(value, &given)) {
            for (const std::string &line : possible_values_) {
                std::string_view line_value, line_text;
                if (SplitPossibleValue(line, &line_value, &line_text) && line_text == given) {
                    SetText(chosen.Get(), line_value);
                    source = chosen.Get();
                    break;
                }
            }
        }
        if (FAILED(ChangeKind(*source, type, stored.Get())))
            EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, 0);
    }
    stored.MoveTo(value_.Get());
}

std::string CustomObject::Property::PossibleText(const VARIANT &value) const {
    OwnedVariant text;
    std::string given;
    if (FAILED(ChangeKind(value, VT_BSTR, text.Get())) || !ToText(*text, &given))
        return "";
    for (const std::string &line : possible_values_) {
        std::string_view line_value, line_text;
        if (SplitPossibleValue(line, &line_value, &line_text) && line_value == given)
            return std::string(line_text);
    }
    return "";
}

}  // namespace Ostrel::Zam
