// The component descriptor that each custom object owns: the framework's members
// (Class, Clone, ToString), `_CreateInstance` (with an optional prototype) and
// `Prototype`, the object's own properties, and the members it borrows from its
// prototype.
//
// Invocation: a call that the members do not answer (an unknown or reserved id,
// or an access the member does not support) falls back to the custom behaviour:
// a property write with exactly one value makes an own property of the id's name
// holding that value; a property read without arguments gives Empty. Anything else
// fails as the member lookup did.
//
// Prototype: when an object is made with a prototype, every member of the
// prototype whose name the object does not have then becomes visible on the object
// as a borrowed member that forwards each call to the prototype. A borrowed member
// keeps the prototype member's dispatch id when it is 0 or negative, and gets a
// fresh one otherwise. Members the prototype gains later are not borrowed.
//
// A standard call with a dispatch id of 0 or below (the default member, say) that
// the object's own members do not answer goes to the prototype under the same id.
//
// CopyOnChange (flag 0x10000000 of the descriptor, `Class.CopyOnChange` to
// scripts): with it set, writing a borrowed property first gives the object an own
// copy (an empty value, then the write), so the prototype keeps its value; with it
// clear, the write goes through to the prototype.
#pragma once

#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

#include "script/custom_object.h"

namespace Ostrel::Zam {

inline constexpr uint32_t kCopyOnChangeFlag = 0x10000000u;

class CustomObject::ComponentDescriptor : public CIComponentDescriptorImpl {
  public:
    ComponentDescriptor(std::string class_name, const GUID &class_id, InstanceFactory factory);

    bool CopyOnChange() const { return (flags_ & kCopyOnChangeFlag) != 0; }
    void SetCopyOnChange(bool on);

    // Borrows the members of `object`; raises E_INVALIDARG when it is borrowed from
    // already.
    void Aggregate(IDispatch *object);
    // The first object borrowed from, or null.
    IDispatch *Prototype() const { return aggregated_.empty() ? nullptr : aggregated_[0].Get(); }
    const std::vector<platform::ComPtr<IDispatch>> &Aggregated() const { return aggregated_; }

    // Adds an own property (replacing a reservation of its name); raises on a clash.
    DISPID AddOwnProperty(Property *property);
    // Removes the member with this id when it is an own property or a reservation.
    bool RemoveOwnMember(DISPID id);
    // The own property made after the one with `id` (DISPID_STARTENUM: the first);
    // DISPID_UNKNOWN at the end, DISP_E_UNKNOWNNAME for an id that is no own property.
    HRESULT NextOwnProperty(DISPID id, DISPID *next) const;
    // The own properties in the order they were made.
    std::vector<Property *> OwnProperties() const;

    void Invoke(DispatchObject *instance, DISPID id, WORD flags, const DISPPARAMS *parameters,
                VARIANT *result, bool described) override;

    // The descriptor as a script sees it: a component descriptor with CopyOnChange.
    CIComponentDescriptorImpl &ClassDescriptor() override;

  private:
    // A standard call with an id of 0 or below that no member of the object answers
    // goes to the objects borrowed from, in turn; false when none answers it.
    bool PassOn(DISPID id, WORD flags, const DISPPARAMS *parameters, VARIANT *result);
    bool FallBack(DispatchObject *instance, DISPID id, WORD flags, const DISPPARAMS *parameters,
                  VARIANT *result);
    void CopyBorrowed(DispatchObject *instance, DISPID id);
    void Borrow(CIComponentDescriptorImpl &prototype, IDispatch *object);

    uint32_t flags_ = 0;
    std::vector<platform::ComPtr<IDispatch>> aggregated_;
    // Creation order of the own properties: sequence -> id and back.
    std::map<uint64_t, DISPID> order_;
    std::unordered_map<DISPID, uint64_t> sequence_of_;
    uint64_t next_sequence_ = 0;
};

}  // namespace Ostrel::Zam
