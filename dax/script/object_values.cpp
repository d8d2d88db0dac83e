#include "script/object_values.h"

#include "framework/dispatch/invoke_by_name.h"
#include "framework/dispatch/variant_values.h"
#include "imports/vek_imports.h"
#include "script/template_object.h"
#include "vek64_objects.h"

namespace Ostrel::Zam {

namespace {

constexpr DWORD kClassContext = 0x10000017;

constexpr OLECHAR kValueName[] = {'V', 'a', 'l', 'u', 'e', 0};

// The object a variant holds (also by reference, or as IUnknown), or null.
platform::ComPtr<IDispatch> ObjectIn(const VARIANT &value) {
    VARIANT view;
    platform::ComPtr<IDispatch> object;
    if (ReadThrough(value, &view) == ReadResult::kNullReference)
        return object;
    if (view.vt == VT_DISPATCH)
        object = platform::ComPtr<IDispatch>(view.pdispVal);
    else if (view.vt == VT_UNKNOWN && view.punkVal != nullptr)
        view.punkVal->QueryInterface(platform::kIID_IDispatch, object.OutVoid());
    return object;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) {
            return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

platform::ComPtr<IDispatch> NewObjectOf(std::string_view class_name) {
    if (SameName(class_name, "CustomObject"))
        return CustomObjectClass().NewInstance();
    if (SameName(class_name, "DaxCustomObject"))
        return DaxCustomObjectClass().NewInstance();
    const std::string name(class_name);
    platform::ComPtr<IDispatch> made;
    if (ZamCreateCOMObjectA(name.c_str(), nullptr, nullptr, kClassContext,
                            &platform::kIID_IDispatch, made.OutVoid()) < 0 ||
        !made)
        RethrowThreadError();
    return made;
}

}  // namespace

ObjectText TextOfObject(const VARIANT &value, const char *source) {
    const platform::ComPtr<IDispatch> held = ObjectIn(value);
    IDispatch *object = held.Get();
    if (object == nullptr)
        RaiseError(E_POINTER, source, "The object is Nothing");
    ObjectText text;
    text.class_name = ComponentDescriptorOf(object)->ClassName();
    OwnedVariant read;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    CheckHResult(
        InvokeByName(object, kValueName, platform::kGUID_NULL, 0,
                     DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, read.Get(), nullptr, nullptr),
        source);
    OwnedVariant converted;
    if (FAILED(ChangeKind(*read, VT_BSTR, converted.Get())) || !ToText(*converted, &text.value))
        RaiseErrorFormat(DISP_E_TYPEMISMATCH, source,
                         "The Value of the %.100s object has no text form",
                         text.class_name.c_str());
    return text;
}

void ObjectFromText(std::string_view class_name, std::string_view value, const char *source,
                    VARIANT *out) {
    const platform::ComPtr<IDispatch> made = NewObjectOf(class_name);
    OwnedVariant text;
    SetText(text.Get(), value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS block = {text.Get(), &named, 1, 1};
    CheckHResult(InvokeByName(made.Get(), kValueName, platform::kGUID_NULL, 0, DISPATCH_PROPERTYPUT,
                              &block, nullptr, nullptr, nullptr),
                 source);
    VariantClear(out);
    SetObject(out, made.Get());
}

}  // namespace Ostrel::Zam
