#include "calls/object_array.h"

#include "calls/variant_argument.h"
#include "text/text_escape.h"

namespace daxhost {

namespace {

// One own property of an object: its name and value as shown.
std::string ShowProperty(IDispatchEx *object, DISPID id) {
    BSTR raw_name = nullptr;
    object->GetMemberName(id, &raw_name);
    const platform::Bstr name(raw_name);
    VARIANT value;
    VariantInit(&value);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    const HRESULT read =
        object->InvokeEx(id, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
    std::string shown = EscapeControls(name.Text()) + "=";
    shown += SUCCEEDED(read) ? ShowVariant(value) : "(unreadable)";
    VariantClear(&value);
    return shown;
}

std::string ShowObject(IDispatch *object) {
    if (object == nullptr)
        return "nothing";
    platform::ComPtr<IDispatchEx> members;
    if (FAILED(object->QueryInterface(platform::kIID_IDispatchEx, members.OutVoid())))
        return "dispatch";
    std::string shown = "{";
    DISPID id = DISPID_STARTENUM;
    while (members->GetNextDispID(fdexEnumAll, id, &id) == S_OK) {
        if (shown.size() > 1)
            shown += ", ";
        shown += ShowProperty(members.Get(), id);
    }
    return shown + "}";
}

}  // namespace

std::string ShowObjectArray(SAFEARRAY *array) {
    if (array == nullptr)
        return "null";
    if (SafeArrayGetDim(array) != 1)
        return "(not one dimension)";
    const ULONG count = array->rgsabound[0].cElements;
    void *data = nullptr;
    if (count > 0 && FAILED(SafeArrayAccessData(array, &data)))
        return "(unreadable)";
    std::string shown = "[";
    for (ULONG i = 0; i < count; ++i) {
        if (i > 0)
            shown += ", ";
        shown += ShowObject(static_cast<IDispatch **>(data)[i]);
    }
    if (count > 0)
        SafeArrayUnaccessData(array);
    return shown + "]";
}

}  // namespace daxhost
