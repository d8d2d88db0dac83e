#include "framework/descriptors/member_descriptor.h"

#include <cstdio>

#include "framework/descriptors/component_descriptor.h"
#include "framework/dispatch/invoke_errors.h"
#include "framework/dispatch/invoke_flags.h"

namespace Ostrel::Zam {

const std::string &CIMemberDescriptorImpl::HelpText() const {
    static const std::string none;
    return texts_ ? texts_->help : none;
}

void CIMemberDescriptorImpl::SetHelpText(std::string text) {
    if (!texts_ && text.empty())
        return;
    if (!texts_)
        texts_ = std::make_unique<Texts>();
    texts_->help = std::move(text);
}

const std::string &CIMemberDescriptorImpl::HelpKeyword() const {
    static const std::string none;
    return texts_ ? texts_->help_keyword : none;
}

void CIMemberDescriptorImpl::SetHelpKeyword(std::string keyword) {
    if (!texts_ && keyword.empty())
        return;
    if (!texts_)
        texts_ = std::make_unique<Texts>();
    texts_->help_keyword = std::move(keyword);
}

const std::string &CIMemberDescriptorImpl::DisplayName() const {
    return texts_ && !texts_->display_name.empty() ? texts_->display_name : name_;
}

void CIMemberDescriptorImpl::SetDisplayName(std::string name) {
    if (!texts_ && name.empty())
        return;
    if (!texts_)
        texts_ = std::make_unique<Texts>();
    texts_->display_name = std::move(name);
}

const char *CIMemberDescriptorImpl::MemberTypeName() const {
    switch (MemberKind()) {
        case Kind::kMethod:
            return "Method";
        case Kind::kProperty:
            return "Property";
        case Kind::kEvent:
            return "Event";
        case Kind::kPlaceholder:
            return "Placeholder";
    }
    return "Placeholder";
}

std::string CIMemberDescriptorImpl::Shown() const {
    if (!name_.empty())
        return name_;
    char text[24];
    std::snprintf(text, sizeof text, "#%ld", static_cast<long>(dispid_));
    return text;
}

std::string CIMemberDescriptorImpl::OwnerClassName() const {
    return owner_ != nullptr ? owner_->ClassName() : std::string();
}

void CIMemberDescriptorImpl::Invoke(DispatchObject *instance, WORD flags,
                                    const DISPPARAMS *parameters, VARIANT *result) {
    if (owner_ == nullptr)
        RaiseError(E_UNEXPECTED, "Ostrel::Zam::MemberDescriptor::Invoke",
                   "Member descriptor is no longer attached to a component descriptor");
    const MemberRef keep(this);  // a call may remove the member from its class
    MemberCall call;
    call.instance = instance;
    call.result = result;
    if (IsPlainMethodCall(flags) || IsPlainRead(flags) || IsPlainWrite(flags))
        BuildPlainCall(flags, parameters, &call);
    else if (!BuildStandardCall(flags, parameters, &call))
        EMemberNotFound::Raise();
    Execute(call);
    ResolveResultReference(result);
}

void PlaceholderDescriptor::Execute(MemberCall &) {
    RaiseErrorFormat(DISP_E_MEMBERNOTFOUND, "Ostrel::Zam::PlaceholderMemberDescriptor::_Invoke",
                     "Member '%.111s.%.111s' is no longer available", OwnerClassName().c_str(),
                     Shown().c_str());
}

void EventDescriptor::Execute(MemberCall &) {
    EMemberNotFound::Raise();
}

}  // namespace Ostrel::Zam
