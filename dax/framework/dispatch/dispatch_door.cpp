#include "framework/dispatch/dispatch_door.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "framework/descriptors/component_descriptor.h"
#include "framework/descriptors/method_descriptor.h"
#include "framework/descriptors/property_descriptor.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

// What the record's texts name: the class, the member and the call.
struct InvokeSite {
    std::string class_name;
    std::string member_name;
    bool member_known = false;
    DISPID id = 0;
    LCID lcid = 0;
    WORD flags = 0;
    int32_t argument = -1;
    const CIMemberDescriptorImpl *member = nullptr;
};

std::string Format(const char *format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char *format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

InvokeSite SiteOf(CIComponentDescriptorImpl &descriptor, DISPID id, LCID lcid, WORD flags) {
    InvokeSite site;
    site.class_name = descriptor.ClassName().empty() ? "IDispatch" : descriptor.ClassName();
    const bool construct = (flags & kInvokeConstruct) != 0;
    site.id = construct ? kDispIdCreateInstance : id;
    site.lcid = lcid;
    site.flags = flags;
    site.member = descriptor.FindMember(site.id);
    site.member_known = site.member != nullptr;
    if (site.member_known)
        site.member_name = site.member->Name().empty() ? "(unnamed)" : site.member->Name();
    else
        site.member_name = Format("#%ld", static_cast<long>(site.id));
    return site;
}

// The name of the parameter at a 0-based position, or "".
std::string ParameterName(const CIMemberDescriptorImpl *member, int32_t position) {
    if (member == nullptr || position < 0)
        return "";
    const std::vector<ParameterRef> *parameters = nullptr;
    if (const auto *method = dynamic_cast<const CIMethodDescriptorImpl *>(member))
        parameters = &method->Parameters();
    else if (const auto *property = dynamic_cast<const CIPropertyDescriptorImpl *>(member))
        parameters = &property->IndexParameters();
    if (parameters == nullptr || static_cast<size_t>(position) >= parameters->size())
        return "";
    return (*parameters)[static_cast<size_t>(position)]->Name();
}

std::string ParameterText(const InvokeSite &site) {
    const int32_t position = site.argument;
    const std::string name = position < 63 ? ParameterName(site.member, position) : "";
    if (name.empty())
        return Format("%d", position + 1);
    return Format("%d (%.241s)", position + 1, name.c_str());
}

std::string MemberNotFoundText(const InvokeSite &site) {
    const char *cls = site.class_name.c_str();
    const char *member = site.member_name.c_str();
    if ((site.flags & kInvokeConstruct) != 0)
        return Format("Cannot create instance of class %.223s", cls);
    switch (site.flags & 0x310F) {
        case DISPATCH_METHOD:
        case kInvokeCall:
            return Format("'%.108s' is not a callable method of class '%.108s'", member, cls);
        case DISPATCH_PROPERTYGET:
        case kInvokeRead:
            return Format("'%.107s' is not a readable property of class '%.107s'", member, cls);
        case DISPATCH_PROPERTYPUT:
        case DISPATCH_PROPERTYPUTREF:
        case DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF:
        case kInvokeWrite:
            return Format("'%.107s' is not a settable property of class '%.107s'", member, cls);
        default:
            return Format("Unknown property or method: '%.226s'", member);
    }
}

std::string DescriptionOf(HRESULT code, const InvokeSite &site) {
    const char *cls = site.class_name.c_str();
    const char *member = site.member_name.c_str();
    switch (code) {
        case DISP_E_MEMBERNOTFOUND:
            return MemberNotFoundText(site);
        case DISP_E_PARAMNOTFOUND:
            if ((site.flags & 0x200C) != 0)
                return Format("Missing value in property '%.107s.%.107s' assignment", cls, member);
            return Format("Missing parameter in call to '%.111s.%.112s'", cls, member);
        case DISP_E_TYPEMISMATCH:
            return Format("Type mismatch in parameter %.73s of '%.74s.%.74s'",
                          ParameterText(site).c_str(), cls, member);
        case DISP_E_PARAMNOTOPTIONAL:
            return Format("Argument %.75s of '%.74s.%.74s' is not optional",
                          ParameterText(site).c_str(), cls, member);
        case DISP_E_UNKNOWNLCID:
            return Format("Unsupported locale id (%lXh) invoking '%.104s.%.105s'",
                          static_cast<unsigned long>(site.lcid), cls, member);
        case DISP_E_BADPARAMCOUNT:
            return Format("Invalid number of parameters in call to '%.106s.%.106s'", cls, member);
        default:
            return Format("Cannot invoke '%.78s.%.78s': %.80s", cls, member,
                          SystemMessage(code).c_str());
    }
}

bool IsEmpty(BSTR text) {
    return text == nullptr || SysStringLen(text) == 0;
}

// Fills the source and description that the error left empty.
void DescribeRecord(EXCEPINFO *record, const InvokeSite &site, bool table_description) {
    if (IsEmpty(record->bstrSource)) {
        SysFreeString(record->bstrSource);
        const std::string source = site.member_known
                                       ? Format("%.120s.Invoke(\"%.120s\",...)",
                                                site.class_name.c_str(), site.member_name.c_str())
                                       : Format("%.231s.Invoke(%ld,...)", site.class_name.c_str(),
                                                static_cast<long>(site.id));
        record->bstrSource = platform::BstrFromText(source);
    }
    if (table_description || IsEmpty(record->bstrDescription)) {
        SysFreeString(record->bstrDescription);
        const std::string description = DescriptionOf(record->scode, site);
        record->bstrDescription = platform::BstrFromText(description);
    }
}

}  // namespace

HRESULT InvokeDoor(CIComponentDescriptorImpl &descriptor, DispatchObject *instance, DISPID id,
                   LCID lcid, WORD flags, DISPPARAMS *parameters, VARIANT *result,
                   EXCEPINFO *record, UINT *argument_error) {
    // The result is cleared first (the caller passes it initialised, as automation
    // requires), except for an assignment, which leaves it alone.
    const bool assignment =
        (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0 || IsPlainWrite(flags);
    if (result != nullptr && !assignment)
        VariantClear(result);
    try {
        GuardedBody(kDispatchFramePosition, [&] {
            descriptor.Invoke(instance, id, flags, parameters, result, record == nullptr);
        });
        return S_OK;
    } catch (const EZamError &error) {
        try {
            if (result != nullptr && !assignment)
                VariantClear(result);
            const auto *invoke_error = dynamic_cast<const EInvokeError *>(&error);
            InvokeSite site = SiteOf(descriptor, id, lcid, flags);
            if (invoke_error != nullptr) {
                site.argument = invoke_error->Argument();
                const UINT count = parameters != nullptr ? parameters->cArgs : 0;
                if (argument_error != nullptr && site.argument >= 0 &&
                    static_cast<UINT>(site.argument) < count)
                    *argument_error = count - 1 - static_cast<UINT>(site.argument);
            }
            const HRESULT outcome = ErrorToExcepInfo(error, record);
            if (record != nullptr)
                DescribeRecord(record, site, invoke_error != nullptr && !invoke_error->Described());
            return outcome;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace Ostrel::Zam
