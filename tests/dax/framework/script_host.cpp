#include "dax/framework/script_host.h"

#include <cstring>

namespace dax_test {

Value Value::I4(int32_t n) {
    Value v;
    v.v_.vt = VT_I4;
    v.v_.lVal = n;
    return v;
}

Value Value::Text(const std::string &text) {
    Value v;
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = platform::BstrFromText(text);
    return v;
}

Value Value::Bool(bool b) {
    Value v;
    v.v_.vt = VT_BOOL;
    v.v_.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Value Value::Object(IDispatch *object) {
    Value v;
    v.v_.vt = VT_DISPATCH;
    v.v_.pdispVal = object;
    if (object != nullptr)
        object->AddRef();
    return v;
}

Value Value::Missing() {
    Value v;
    v.v_.vt = VT_ERROR;
    v.v_.scode = static_cast<SCODE>(0x80020004);
    return v;
}

int32_t Value::AsI4() const {
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantChangeType(&copy, const_cast<VARIANT *>(&v_), 0, VT_I4)))
        return -999999;
    return copy.lVal;
}

std::string Value::AsText() const {
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantChangeType(&copy, const_cast<VARIANT *>(&v_), 0, VT_BSTR)))
        return "<no text>";
    std::string text = platform::TextFromBstr(copy.bstrVal);
    VariantClear(&copy);
    return text;
}

IDispatch *Value::AsObject() const {
    return v_.vt == VT_DISPATCH ? v_.pdispVal : nullptr;
}

std::string BstrText(BSTR text) {
    return text != nullptr ? platform::TextFromBstr(text) : std::string();
}

ParameterBlock::ParameterBlock(const std::vector<Value> &arguments,
                               const std::vector<DISPID> &named, bool by_reference)
    : variables_(arguments.rbegin(), arguments.rend()), named_(named) {
    // The named arguments are the last ones given; they come first in the block.
    slots_.resize(variables_.size());
    for (size_t i = 0; i < variables_.size(); ++i) {
        VariantInit(&slots_[i]);
        if (by_reference) {
            slots_[i].vt = VT_BYREF | VT_VARIANT;
            slots_[i].pvarVal = variables_[i].Get();
        } else {
            std::memcpy(static_cast<void *>(&slots_[i]), variables_[i].Get(), sizeof(VARIANT));
        }
    }
    block_.rgvarg = slots_.empty() ? nullptr : slots_.data();
    block_.cArgs = static_cast<UINT>(slots_.size());
    block_.rgdispidNamedArgs = named_.empty() ? nullptr : named_.data();
    block_.cNamedArgs = static_cast<UINT>(named_.size());
}

HRESULT ScriptHost::Lookup(IDispatch *object, const std::string &name, bool for_assignment,
                           DISPID *id) const {
    platform::ComPtr<IDispatchEx> ex;
    if (FAILED(object->QueryInterface(platform::kIID_IDispatchEx, ex.OutVoid())))
        return E_NOINTERFACE;
    platform::Bstr text(platform::BstrFromText(name));
    const DWORD flags = language_ == Language::kVBScript
                            ? fdexNameCaseInsensitive
                            : fdexNameCaseSensitive | (for_assignment ? fdexNameEnsure : 0);
    return ex->GetDispID(text.Get(), flags, id);
}

Outcome ScriptHost::InvokeRaw(IDispatch *object, DISPID id, WORD flags,
                              const std::vector<Value> &arguments, const std::vector<DISPID> &named,
                              bool want_result, bool with_record) const {
    Outcome outcome;
    platform::ComPtr<IDispatchEx> ex;
    if (FAILED(object->QueryInterface(platform::kIID_IDispatchEx, ex.OutVoid()))) {
        outcome.result = E_NOINTERFACE;
        return outcome;
    }
    ParameterBlock block(arguments, named, language_ == Language::kVBScript);
    EXCEPINFO record;
    std::memset(&record, 0, sizeof record);
    outcome.result =
        ex->InvokeEx(id, 0x409, flags, block.Get(), want_result ? outcome.value.Get() : nullptr,
                     with_record ? &record : nullptr, nullptr);
    outcome.scode = record.scode;
    outcome.wcode = record.wCode;
    outcome.source = BstrText(record.bstrSource);
    outcome.description = BstrText(record.bstrDescription);
    SysFreeString(record.bstrSource);
    SysFreeString(record.bstrDescription);
    SysFreeString(record.bstrHelpFile);
    return outcome;
}

Outcome ScriptHost::Read(IDispatch *object, const std::string &name,
                         const std::vector<Value> &arguments) const {
    DISPID id = DISPID_UNKNOWN;
    Outcome failed;
    if (FAILED(failed.result = Lookup(object, name, false, &id)))
        return failed;
    WORD flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    if (language_ == Language::kJScript && arguments.empty())
        flags = DISPATCH_PROPERTYGET;
    return InvokeRaw(object, id, flags, arguments, {});
}

Outcome ScriptHost::Call(IDispatch *object, const std::string &name,
                         const std::vector<Value> &arguments) const {
    DISPID id = DISPID_UNKNOWN;
    Outcome failed;
    if (FAILED(failed.result = Lookup(object, name, false, &id)))
        return failed;
    return InvokeRaw(object, id, DISPATCH_METHOD, arguments, {}, false);
}

Outcome ScriptHost::Assign(IDispatch *object, const std::string &name, const Value &value,
                           const std::vector<Value> &index, bool set_object) const {
    DISPID id = DISPID_UNKNOWN;
    Outcome failed;
    if (FAILED(failed.result = Lookup(object, name, true, &id)))
        return failed;
    WORD flags = DISPATCH_PROPERTYPUT;
    if (language_ == Language::kVBScript && set_object)
        flags = DISPATCH_PROPERTYPUTREF;
    if (language_ == Language::kJScript && value.Type() == VT_DISPATCH)
        flags = DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF;
    std::vector<Value> arguments = index;
    arguments.push_back(value);
    return InvokeRaw(object, id, flags, arguments, {DISPID_PROPERTYPUT}, false);
}

Outcome ScriptHost::CallObject(IDispatch *object, const std::vector<Value> &arguments) const {
    if (language_ == Language::kVBScript)
        return InvokeRaw(object, DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, arguments,
                         {});
    // The caller's `this` goes last, so that the block holds it first, named.
    std::vector<Value> with_this = arguments;
    with_this.push_back(Value::Object(object));
    const WORD flags = arguments.empty() ? DISPATCH_METHOD : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    return InvokeRaw(object, DISPID_VALUE, flags, with_this, {DISPID_THIS});
}

std::vector<Value> ScriptHost::Walk(IDispatch *collection) const {
    std::vector<Value> items;
    Value made;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    const WORD flags =
        language_ == Language::kVBScript ? DISPATCH_METHOD | DISPATCH_PROPERTYGET : DISPATCH_METHOD;
    if (FAILED(collection->Invoke(DISPID_NEWENUM, platform::kGUID_NULL, 0x409, flags, &none,
                                  made.Get(), nullptr, nullptr)) ||
        made.Type() != VT_UNKNOWN)
        return items;
    platform::ComPtr<IEnumVARIANT> walker;
    if (FAILED((*made).punkVal->QueryInterface(platform::kIID_IEnumVARIANT, walker.OutVoid())))
        return items;
    for (;;) {
        Value item;
        ULONG fetched = 0;
        if (walker->Next(1, item.Get(), &fetched) != S_OK || fetched != 1)
            break;
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> ScriptHost::ForIn(IDispatch *object) const {
    std::vector<std::string> names;
    platform::ComPtr<IDispatchEx> ex;
    if (FAILED(object->QueryInterface(platform::kIID_IDispatchEx, ex.OutVoid())))
        return names;
    DISPID id = DISPID_STARTENUM;
    while (ex->GetNextDispID(fdexEnumDefault, id, &id) == S_OK) {
        platform::Bstr name;
        if (FAILED(ex->GetMemberName(id, name.Out())))
            break;
        names.push_back(name.Text());
    }
    return names;
}

HRESULT ScriptHost::Delete(IDispatch *object, const std::string &name) const {
    platform::ComPtr<IDispatchEx> ex;
    if (FAILED(object->QueryInterface(platform::kIID_IDispatchEx, ex.OutVoid())))
        return E_NOINTERFACE;
    platform::Bstr text(platform::BstrFromText(name));
    return ex->DeleteMemberByName(text.Get(), fdexNameCaseSensitive);
}

}  // namespace dax_test
