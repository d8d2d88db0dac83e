#include "script/aggregating_member.h"

#include <string>
#include <vector>

#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"
#include "framework/dispatch/member_call.h"

namespace Ostrel::Zam {

namespace {

constexpr char kForwardSource[] = "Ostrel.Zam.AggregatingMemberDescriptor.Invoke";

// The exception record of a forwarded call, freed with it.
struct Record {
    EXCEPINFO info{};
    Record(const Record &) = delete;
    Record &operator=(const Record &) = delete;
    Record() = default;
    ~Record() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
};

std::string Text(BSTR text) {
    return text != nullptr ? platform::TextFromBstr(text) : std::string();
}

}  // namespace

void ForwardCall(IDispatch *object, DISPID id, WORD flags, std::vector<VARIANT> &reversed, bool put,
                 VARIANT *result) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS block = {reversed.data(), put ? &named : nullptr, static_cast<UINT>(reversed.size()),
                        put ? 1u : 0u};
    Record record;
    UINT argument_error = 0;
    const HRESULT outcome = object->Invoke(id, platform::kGUID_NULL, 0, flags, &block,
                                           put ? nullptr : result, &record.info, &argument_error);
    if (SUCCEEDED(outcome))
        return;
    if (outcome != DISP_E_EXCEPTION)
        RaiseError(outcome, kForwardSource, nullptr);
    const HRESULT code = record.info.scode != 0
                             ? record.info.scode
                             : static_cast<HRESULT>(0x800F0000u | record.info.wCode);
    const std::string source = Text(record.info.bstrSource);
    const std::string description = Text(record.info.bstrDescription);
    RaiseError(code, source.empty() ? kForwardSource : source.c_str(),
               description.empty() ? nullptr : description.c_str());
}

AggregatingMemberDescriptor::AggregatingMemberDescriptor(const CIMemberDescriptorImpl &borrowed,
                                                         DISPID id, IDispatch *target)
    : CIMemberDescriptorImpl(borrowed.Name(), id, borrowed.Attributes()),
      kind_(borrowed.MemberKind()),
      target_(target),
      target_id_(borrowed.DispId()) {
    SetHelpText(borrowed.HelpText());
}

HRESULT AggregatingMemberDescriptor::QueryFurther(REFIID iid, void **object) {
    if (!platform::SameGuid(iid, kIID_IAggregatingMemberDescriptor))
        return CIMemberDescriptorImpl::QueryFurther(iid, object);
    *object = static_cast<IDispatchEx *>(this);
    AddRef();
    return S_OK;
}

void AggregatingMemberDescriptor::Execute(MemberCall &call) {
    if (call.named)
        RaiseError(DISP_E_NONAMEDARGS, nullptr, nullptr);
    std::vector<VARIANT> reversed;
    const bool put = call.IsWrite();
    if (put)
        reversed.push_back(call.value);
    for (size_t i = call.arguments.size(); i > 0; --i)
        reversed.push_back(call.arguments[i - 1]);
    WORD flags = 0;
    if (put)
        flags = IsObject(call.value) ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    if (call.IsCall())
        flags |= DISPATCH_METHOD;
    if (call.IsRead())
        flags |= DISPATCH_PROPERTYGET;
    ForwardCall(target_.Get(), target_id_, flags, reversed, put, call.result);
}

}  // namespace Ostrel::Zam
