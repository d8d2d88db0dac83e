// Method descriptors. A method holds its body: a function of the instance (null
// for class-level methods such as _CreateInstance), the arguments in positional
// order and the result. Declared parameters are checked before the body runs:
// too many arguments is DISP_E_BADPARAMCOUNT, a missing one that is not optional
// DISP_E_PARAMNOTOPTIONAL, one that does not convert to the parameter's type
// DISP_E_TYPEMISMATCH (each naming the argument). A method without declared
// parameters takes whatever it is given.
#pragma once

#include <functional>
#include <vector>

#include "framework/descriptors/member_descriptor.h"
#include "framework/descriptors/parameter_descriptor.h"

namespace Ostrel::Zam {

// Arguments prepared for a method body: owned copies, cleared with the array.
class ArgumentValues {
  public:
    ArgumentValues() = default;
    ArgumentValues(const ArgumentValues &) = delete;
    ArgumentValues &operator=(const ArgumentValues &) = delete;
    ~ArgumentValues();
    size_t Count() const { return values_.size(); }
    const VARIANT &operator[](size_t i) const { return values_[i]; }
    VARIANT *Add();

  private:
    std::vector<VARIANT> values_;
};

using MethodBody =
    std::function<void(DispatchObject *instance, const ArgumentValues &arguments, VARIANT *result)>;

class CIMethodDescriptorImpl : public CIMemberDescriptorImpl {
  public:
    CIMethodDescriptorImpl(std::string name, MethodBody body, DISPID dispid = -1,
                           uint32_t attributes = 0)
        : CIMemberDescriptorImpl(std::move(name), dispid, attributes), body_(std::move(body)) {}

    Kind MemberKind() const override { return Kind::kMethod; }
    // Declares the parameters; from then on calls are checked against them.
    void SetParameters(std::vector<ParameterRef> parameters);
    const std::vector<ParameterRef> &Parameters() const { return parameters_; }
    bool DeclaresParameters() const { return declared_; }
    VARTYPE ReturnType() const { return return_type_; }
    void SetReturnType(VARTYPE vt) { return_type_ = vt; }
    // Whether the method is called without an instance (a class-level method).
    void SetClassLevel(bool class_level) { class_level_ = class_level; }

    CIComponentDescriptorImpl &ClassDescriptor() override;

  protected:
    void Execute(MemberCall &call) override;

  private:
    void Prepare(const MemberCall &call, ArgumentValues *values) const;

    MethodBody body_;
    std::vector<ParameterRef> parameters_;
    bool declared_ = false;
    bool class_level_ = false;
    VARTYPE return_type_ = VT_VARIANT;
};

}  // namespace Ostrel::Zam
