// A member that a custom object borrows from its prototype: it has the name and
// kind of the prototype's member and forwards every call to the prototype object,
// through the prototype's IDispatch under the prototype member's dispatch id. A
// failure of the prototype reaches the caller with the prototype's code, source
// and description.
#pragma once

#include "framework/descriptors/member_descriptor.h"

namespace Ostrel::Zam {

inline constexpr GUID kIID_IAggregatingMemberDescriptor = {
    0x0632286F, 0xD484, 0x4DB7, {0xB0, 0x36, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6}};

class AggregatingMemberDescriptor : public CIMemberDescriptorImpl {
  public:
    AggregatingMemberDescriptor(const CIMemberDescriptorImpl &borrowed, DISPID id,
                                IDispatch *target);

    Kind MemberKind() const override { return kind_; }
    IDispatch *Target() const { return target_.Get(); }

  protected:
    void Execute(MemberCall &call) override;
    HRESULT QueryFurther(REFIID iid, void **object) override;

  private:
    Kind kind_;
    platform::ComPtr<IDispatch> target_;
    DISPID target_id_;
};

// Calls `object` through IDispatch::Invoke with the standard flags; a failure is
// raised with the code, source and description of its exception record.
void ForwardCall(IDispatch *object, DISPID id, WORD flags, std::vector<VARIANT> &reversed, bool put,
                 VARIANT *result);

}  // namespace Ostrel::Zam
