// Property descriptors. A property holds its accessors: functions of the instance
// that read or write the value, plainly or by one index. A property without a
// reading accessor is not readable, one without a writing accessor not settable.
// A written value is changed to the property's type first (VT_VARIANT: taken as it
// is); one that does not convert is DISP_E_TYPEMISMATCH.
//
// A read with arguments of a property without an index reads the value and, when
// it is an object, passes the arguments to that object's default member: scripts
// write o.Class.Properties("X"), which reaches Properties as one read with one
// argument, and expect the item of the collection.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/descriptors/member_descriptor.h"
#include "framework/descriptors/parameter_descriptor.h"

namespace Ostrel::Zam {

struct PropertyAccessors {
    std::function<void(DispatchObject &, VARIANT *result)> get;
    std::function<void(DispatchObject &, const VARIANT &value)> set;
    std::function<void(DispatchObject &, const VARIANT &index, VARIANT *result)> get_indexed;
    std::function<void(DispatchObject &, const VARIANT &index, const VARIANT &value)> set_indexed;
};

inline constexpr uint32_t kPropertyConstant = 0x1;
inline constexpr uint32_t kPropertySerializable = 0x2;

class CIPropertyDescriptorImpl : public CIMemberDescriptorImpl {
  public:
    CIPropertyDescriptorImpl(std::string name, VARTYPE type, PropertyAccessors accessors,
                             DISPID dispid = -1, uint32_t attributes = 0);
    // Properties of one class often share their accessors.
    CIPropertyDescriptorImpl(std::string name, VARTYPE type,
                             std::shared_ptr<const PropertyAccessors> accessors, DISPID dispid = -1,
                             uint32_t attributes = 0);

    Kind MemberKind() const override { return Kind::kProperty; }
    VARTYPE Type() const { return type_; }
    void SetType(VARTYPE vt) { type_ = vt; }
    void SetIndexParameters(std::vector<ParameterRef> parameters);
    const std::vector<ParameterRef> &IndexParameters() const { return index_parameters_; }
    const VARIANT &DefaultValue() const { return *default_value_; }
    void SetDefaultValue(const VARIANT &value);
    uint32_t PropertyFlags() const { return property_flags_; }
    void SetPropertyFlags(uint32_t flags) { property_flags_ = flags; }
    bool IsReadOnly() const { return (Attributes() & 0x04000000u) != 0; }
    bool IsWriteOnly() const { return (Attributes() & 0x02000000u) != 0; }

    CIComponentDescriptorImpl &ClassDescriptor() override;

  protected:
    void Execute(MemberCall &call) override;

  private:
    void Read(MemberCall &call);
    void Write(MemberCall &call);
    [[noreturn]] void RaiseRefused(const char *verb, const char *reason) const;

    VARTYPE type_;
    std::shared_ptr<const PropertyAccessors> accessors_;
    std::vector<ParameterRef> index_parameters_;
    OwnedVariant default_value_;
    uint32_t property_flags_ = 0;
};

}  // namespace Ostrel::Zam
