#include "framework/dispatch/invoke_by_name.h"

#include <string>

#include "framework/dispatch/invoke_errors.h"

namespace Ostrel::Zam {

namespace {

constexpr char kInvokeByNameSource[] = "Ostrel.Zam.InvokeByName";
constexpr char kClassInfoSource[] = "Ostrel.Zam.GetComponentDescriptor";

// The documentation name of the object's class, or "" when it has none.
std::string ClassNameOf(IDispatch *object) {
    platform::ComPtr<IProvideClassInfo> provider;
    if (FAILED(object->QueryInterface(platform::kIID_IProvideClassInfo, provider.OutVoid())) ||
        !provider)
        return "";
    platform::ComPtr<ITypeInfo> info;
    if (FAILED(provider->GetClassInfo(info.Out())) || !info)
        return "";
    platform::Bstr name;
    if (FAILED(info->GetDocumentation(-1, name.Out(), nullptr, nullptr, nullptr)))
        return "";
    return name.Text();
}

}  // namespace

HRESULT InvokeByName(IDispatch *object, const OLECHAR *name, REFIID iid, LCID lcid, WORD flags,
                     DISPPARAMS *parameters, VARIANT *result, EXCEPINFO *record,
                     UINT *argument_error) {
    if (object == nullptr)
        RaiseError(E_POINTER, kInvokeByNameSource, "Cannot invoke a member of a null object");
    DISPID id = DISPID_VALUE;
    if (name != nullptr && name[0] != 0) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        HRESULT found = object->GetIDsOfNames(platform::kGUID_NULL, names, 1, lcid, &id);
        if (FAILED(found)) {
            if (found == DISP_E_UNKNOWNNAME)
                found = DISP_E_MEMBERNOTFOUND;
            const std::string member =
                platform::TextFromWide(name, std::char_traits<OLECHAR>::length(name));
            if (record == nullptr) {
                const std::string cls = ClassNameOf(object);
                if (found == DISP_E_MEMBERNOTFOUND)
                    RaiseErrorFormat(found, kInvokeByNameSource,
                                     "Unknown property or method: '%.112s.%.112s'", cls.c_str(),
                                     member.c_str());
                RaiseErrorFormat(found, kInvokeByNameSource, "Cannot invoke '%.111s.%.111s': %s",
                                 cls.c_str(), member.c_str(), SystemMessage(found).c_str());
            }
            *record = EXCEPINFO{};
            if ((static_cast<uint32_t>(found) & 0x2FFF0000u) == 0x00020000u)
                return found;
            record->scode = found;
            return DISP_E_EXCEPTION;
        }
    }
    return object->Invoke(id, iid, lcid, flags, parameters, result, record, argument_error);
}

ComponentRef ComponentDescriptorOf(IUnknown *object) {
    if (object == nullptr)
        RaiseError(E_POINTER, kClassInfoSource, "GetClassInfo failed: Invalid pointer");
    platform::ComPtr<IProvideClassInfo> provider;
    HRESULT outcome = object->QueryInterface(platform::kIID_IProvideClassInfo, provider.OutVoid());
    platform::ComPtr<ITypeInfo> info;
    if (SUCCEEDED(outcome))
        outcome = provider->GetClassInfo(info.Out());
    if (FAILED(outcome) || !info)
        RaiseErrorFormat(FAILED(outcome) ? outcome : E_NOINTERFACE, kClassInfoSource,
                         "GetClassInfo failed: %s",
                         SystemMessage(FAILED(outcome) ? outcome : E_NOINTERFACE).c_str());
    platform::ComPtr<IComponentDescriptorA> descriptor;
    CheckHResult(info->QueryInterface(kIID_IComponentDescriptorA, descriptor.OutVoid()),
                 kClassInfoSource);
    return ComponentRef(static_cast<CIComponentDescriptorImpl *>(descriptor.Get()));
}

}  // namespace Ostrel::Zam
