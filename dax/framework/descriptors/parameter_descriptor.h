// Parameter and type descriptors: the parameters of a method, the index parameters
// of a property, and the variant type of a value.
//
// Parameter flags: 0x01 in, 0x02 out, 0x08 return value, 0x10 optional, 0x40
// parameter array (the rest of the arguments).
#pragma once

#include <string>

#include "framework/dispatch/dispatch_object.h"
#include "framework/dispatch/variant_values.h"

namespace Ostrel::Zam {

inline constexpr uint32_t kParamIn = 0x01;
inline constexpr uint32_t kParamOut = 0x02;
inline constexpr uint32_t kParamRetval = 0x08;
inline constexpr uint32_t kParamOptional = 0x10;
inline constexpr uint32_t kParamArray = 0x40;

class CIParameterDescriptorImpl : public DispatchObject {
  public:
    CIParameterDescriptorImpl(std::string name, VARTYPE type, uint32_t flags = kParamIn)
        : name_(std::move(name)), type_(type), flags_(flags) {}

    const std::string &Name() const { return name_; }
    VARTYPE Type() const { return type_; }
    uint32_t Flags() const { return flags_; }
    bool IsOptional() const { return (flags_ & kParamOptional) != 0; }
    const VARIANT &DefaultValue() const { return *default_value_; }
    // Makes the parameter optional with this default value.
    void SetDefaultValue(const VARIANT &value);

    CIComponentDescriptorImpl &ClassDescriptor() override;
    std::string ToString() override { return name_; }

  private:
    std::string name_;
    VARTYPE type_;
    uint32_t flags_;
    OwnedVariant default_value_;
};

using ParameterRef = platform::ComPtr<CIParameterDescriptorImpl>;

class CITypeDescriptorImpl : public DispatchObject {
  public:
    explicit CITypeDescriptorImpl(VARTYPE vt) : vt_(vt) {}
    VARTYPE VarType() const { return vt_; }

    CIComponentDescriptorImpl &ClassDescriptor() override;
    std::string ToString() override;

  private:
    VARTYPE vt_;
};

}  // namespace Ostrel::Zam
