#include "framework/descriptors/method_descriptor.h"

#include "framework/dispatch/invoke_errors.h"

namespace Ostrel::Zam {

namespace {

constexpr char kMethodSource[] = "Ostrel::Zam::Zam::MethodDescriptor::_Invoke";

}  // namespace

ArgumentValues::~ArgumentValues() {
    for (VARIANT &value : values_)
        VariantClear(&value);
}

VARIANT *ArgumentValues::Add() {
    VARIANT value;
    VariantInit(&value);
    values_.push_back(value);
    return &values_.back();
}

void CIMethodDescriptorImpl::SetParameters(std::vector<ParameterRef> parameters) {
    parameters_ = std::move(parameters);
    declared_ = true;
}

void CIMethodDescriptorImpl::Prepare(const MemberCall &call, ArgumentValues *values) const {
    const auto &arguments = call.arguments;
    if (!declared_) {
        for (const VARIANT &argument : arguments)
            CopyValue(values->Add(), argument);
        return;
    }
    const bool rest = !parameters_.empty() && (parameters_.back()->Flags() & kParamArray) != 0;
    if (arguments.size() > parameters_.size() && !rest)
        EInvokeError::Raise(DISP_E_BADPARAMCOUNT);
    for (size_t i = 0; i < arguments.size() || i < parameters_.size(); ++i) {
        const CIParameterDescriptorImpl &parameter =
            *parameters_[i < parameters_.size() ? i : parameters_.size() - 1].Get();
        const auto position = static_cast<int32_t>(i);
        if (i >= arguments.size() || IsMissing(arguments[i])) {
            if (!parameter.IsOptional() && (parameter.Flags() & kParamArray) == 0)
                EInvokeError::Raise(DISP_E_PARAMNOTOPTIONAL, nullptr, nullptr, position);
            if (i < parameters_.size())
                CopyValue(values->Add(), parameter.DefaultValue());
            continue;
        }
        if (FAILED(ChangeKind(arguments[i], parameter.Type(), values->Add())))
            EInvokeError::Raise(DISP_E_TYPEMISMATCH, nullptr, nullptr, position);
    }
}

void CIMethodDescriptorImpl::Execute(MemberCall &call) {
    if (!call.IsCall())
        EMemberNotFound::Raise();
    if (call.instance == nullptr && !class_level_)
        RaiseErrorFormat(E_POINTER, kMethodSource, "Cannot invoke method '%.70s.%.79s': %.80s",
                         OwnerClassName().c_str(), Shown().c_str(), "Instance is Null");
    ArgumentValues values;
    Prepare(call, &values);
    OwnedVariant result;
    body_(call.instance, values, result.Get());
    if (call.result != nullptr)
        result.MoveTo(call.result);
}

}  // namespace Ostrel::Zam
