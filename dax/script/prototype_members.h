// The two members every custom object has besides the framework's: `Prototype`
// (read-only, the object borrowed from or an empty object reference) and
// `_CreateInstance([prototype])`, which makes a new object of the class, borrowing
// from the prototype when one is given.
//
// `_CreateInstance` hands the new object out as VT_DISPATCH (an IDispatch is also
// an IUnknown), so that script hosts can call it at once. A prototype that is
// missing, Empty, Null or a null object reference means none; any other value that
// is not an object is a type mismatch.
#pragma once

#include "framework/descriptors/method_descriptor.h"
#include "framework/descriptors/property_descriptor.h"
#include "script/custom_object.h"

namespace Ostrel::Zam {

class CustomObject::PrototypePropertyDescriptor : public CIPropertyDescriptorImpl {
  public:
    PrototypePropertyDescriptor();

  protected:
    // A write is a member the object does not support: the object's fallback then
    // reports that the name is taken.
    void Execute(MemberCall &call) override;
};

class CustomObject::CreateCustomObjectMethodDescriptor : public CIMethodDescriptorImpl {
  public:
    CreateCustomObjectMethodDescriptor();

  protected:
    void Execute(MemberCall &call) override;
};

}  // namespace Ostrel::Zam
