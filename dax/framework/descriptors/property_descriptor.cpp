#include "framework/descriptors/property_descriptor.h"

#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

namespace {

constexpr char kPropertySource[] = "Ostrel::Zam::Zam::PropertyDescriptor::_Invoke";

uint32_t AccessAttributes(const PropertyAccessors &accessors) {
    uint32_t attributes = 0;
    if (!accessors.get && !accessors.get_indexed)
        attributes |= kMemberNotReadable;
    if (!accessors.set && !accessors.set_indexed)
        attributes |= kMemberNotSettable;
    return attributes;
}

}  // namespace

CIPropertyDescriptorImpl::CIPropertyDescriptorImpl(std::string name, VARTYPE type,
                                                   PropertyAccessors accessors, DISPID dispid,
                                                   uint32_t attributes)
    : CIPropertyDescriptorImpl(std::move(name), type,
                               std::make_shared<const PropertyAccessors>(std::move(accessors)),
                               dispid, attributes) {}

CIPropertyDescriptorImpl::CIPropertyDescriptorImpl(
    std::string name, VARTYPE type, std::shared_ptr<const PropertyAccessors> accessors,
    DISPID dispid, uint32_t attributes)
    : CIMemberDescriptorImpl(std::move(name), dispid, attributes | AccessAttributes(*accessors)),
      type_(type),
      accessors_(std::move(accessors)) {}

void CIPropertyDescriptorImpl::SetIndexParameters(std::vector<ParameterRef> parameters) {
    index_parameters_ = std::move(parameters);
}

void CIPropertyDescriptorImpl::SetDefaultValue(const VARIANT &value) {
    VariantClear(default_value_.Get());
    CopyValue(default_value_.Get(), value);
}

void CIPropertyDescriptorImpl::RaiseRefused(const char *verb, const char *reason) const {
    RaiseErrorFormat(DISP_E_MEMBERNOTFOUND, kPropertySource,
                     "Cannot %s property '%.70s.%.80s': %.80s", verb, OwnerClassName().c_str(),
                     Shown().c_str(), reason);
}

void CIPropertyDescriptorImpl::Execute(MemberCall &call) {
    if (!call.IsRead() && !call.IsWrite())
        EMemberNotFound::Raise();
    if (call.named)
        RaiseError(DISP_E_NONAMEDARGS, nullptr, nullptr);
    const bool write = call.IsWrite();
    const char *verb = write ? "set" : "get";
    if (!write && (Attributes() & kMemberNotReadable) != 0)
        RaiseRefused(verb, "Property cannot be read");
    if (write && (Attributes() & kMemberNotSettable) != 0)
        RaiseRefused(verb, "Property cannot be set");
    if (call.instance == nullptr)
        RaiseErrorFormat(E_POINTER, kPropertySource, "Cannot %s property '%.70s.%.80s': %.80s",
                         verb, OwnerClassName().c_str(), Shown().c_str(), "Instance is Null");
    if (write)
        Write(call);
    else
        Read(call);
}

void CIPropertyDescriptorImpl::Read(MemberCall &call) {
    OwnedVariant value;
    DispatchObject &instance = *call.instance;
    const auto &arguments = call.arguments;
    if (arguments.empty()) {
        if (!accessors_->get)
            EInvokeError::Raise(DISP_E_PARAMNOTFOUND);
        accessors_->get(instance, value.Get());
    } else if (accessors_->get_indexed) {
        if (arguments.size() > 1)
            EInvokeError::Raise(DISP_E_BADPARAMCOUNT);
        if (IsMissing(arguments[0]))
            EInvokeError::Raise(DISP_E_PARAMNOTOPTIONAL, nullptr, nullptr, 0);
        accessors_->get_indexed(instance, arguments[0], value.Get());
    } else {
        // The arguments belong to the default member of the object read.
        OwnedVariant object;
        accessors_->get(instance, object.Get());
        if ((*object).vt != VT_DISPATCH || (*object).pdispVal == nullptr)
            EInvokeError::Raise(DISP_E_BADPARAMCOUNT);
        CallDefaultMember((*object).pdispVal, arguments, value.Get());
    }
    if (call.result != nullptr)
        value.MoveTo(call.result);
}

void CIPropertyDescriptorImpl::Write(MemberCall &call) {
    DispatchObject &instance = *call.instance;
    const auto &index = call.arguments;
    OwnedVariant value;
    const auto value_position = static_cast<int32_t>(index.size());
    if (FAILED(ChangeKind(call.value, type_, value.Get())))
        EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, value_position);
    if (index.empty()) {
        if (!accessors_->set)
            EInvokeError::Raise(DISP_E_PARAMNOTFOUND);
        accessors_->set(instance, *value);
        return;
    }
    if (!accessors_->set_indexed || index.size() > 1)
        EInvokeError::Raise(DISP_E_BADPARAMCOUNT);
    if (IsMissing(index[0]))
        EInvokeError::Raise(DISP_E_PARAMNOTOPTIONAL, nullptr, nullptr, 0);
    accessors_->set_indexed(instance, index[0], *value);
}

}  // namespace Ostrel::Zam
