#include "treesupport/object_array.h"

#include "frame/error_model.h"
#include "framework/dispatch/invoke_by_name.h"
#include "framework/dispatch/variant_values.h"
#include "imports/vek_imports.h"
#include "script/custom_object.h"
#include "vek64_store.h"

namespace Ostrel::Zam {

namespace {

// Assigns `value` to the member called `name` the way a script assigns a property.
void PutByName(IDispatch *object, std::string_view name, VARIANT *value, const char *source) {
    OwnedVariant wide_name;  // the name as a BSTR, which InvokeByName takes
    SetText(wide_name.Get(), name);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS block = {value, &named, 1, 1};
    CheckHResult(InvokeByName(object, (*wide_name).bstrVal, platform::kGUID_NULL, 0,
                              DISPATCH_PROPERTYPUT, &block, nullptr, nullptr, nullptr),
                 source);
}

}  // namespace

IDispatch *ObjectArrayBuilder::AppendObject() {
    platform::ComPtr<CustomObject> made = CustomObject::Create();
    objects_.emplace_back(made->AsDispatch());
    return objects_.back().Get();
}

void ObjectArrayBuilder::PutProperties(IDispatch *object, void *props, const char *source) {
    const int32_t count = VekPropsCount(props);
    for (int32_t index = 0; index < count; ++index) {
        const VEKPROPERTYA *item = VekPropsItemAt(props, index);
        if (item == nullptr)
            continue;
        OwnedVariant value;
        CheckVekResult(VekVarToVARIANT(&item->value, value.Get()));
        const char *name = item->name != nullptr ? item->name : "";
        PutByName(object, name, value.Get(), source);
    }
}

void ObjectArrayBuilder::PutText(IDispatch *object, std::string_view name, std::string_view text,
                                 const char *source) {
    OwnedVariant value;
    SetText(value.Get(), text);
    PutByName(object, name, value.Get(), source);
}

void ObjectArrayBuilder::StoreArray(void **result, const char *source) const {
    SAFEARRAY *array = SafeArrayCreateVector(VT_DISPATCH, 0, static_cast<ULONG>(objects_.size()));
    if (array == nullptr) {
        *result = nullptr;
        RaiseError(E_OUTOFMEMORY, source, "The array of objects cannot be allocated");
    }
    if (!objects_.empty()) {
        void *data = nullptr;
        if (FAILED(SafeArrayAccessData(array, &data))) {
            SafeArrayDestroy(array);
            *result = nullptr;
            RaiseError(E_UNEXPECTED, source, "The array of objects cannot be filled");
        }
        auto *slots = static_cast<IDispatch **>(data);
        for (size_t i = 0; i < objects_.size(); ++i) {
            slots[i] = objects_[i].Get();
            slots[i]->AddRef();
        }
        SafeArrayUnaccessData(array);
    }
    *result = array;
}

}  // namespace Ostrel::Zam
