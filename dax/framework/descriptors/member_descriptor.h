// Member descriptors: what a class's method, property or event is and how it is
// invoked. A member belongs to at most one component descriptor (a weak back
// reference: the component descriptor owns its members); a member removed from it
// is detached and refuses to be invoked.
//
// Attribute word: bit 31 placeholder (an entry reserved for a name, replaced by the
// real member), bit 26 not settable, bit 25 not readable, bit 24 methods that share
// one name, bit 20 internal (found only by lookups of all members), bit 0 hidden,
// bit 1 restricted, bit 2 private. MemberType reads "Method", "Property", "Event"
// or "Placeholder".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/dispatch/dispatch_object.h"
#include "framework/dispatch/member_call.h"

namespace Ostrel::Zam {

class CIMemberDescriptorImpl : public DispatchObject {
  public:
    enum class Kind { kMethod, kProperty, kEvent, kPlaceholder };

    const std::string &Name() const { return name_; }
    DISPID DispId() const { return dispid_; }
    uint32_t Attributes() const { return attributes_; }
    void SetAttributes(uint32_t attributes) { attributes_ = attributes; }
    bool IsPlaceholder() const { return (attributes_ & 0x80000000u) != 0; }
    const std::string &HelpText() const;
    void SetHelpText(std::string text);
    // The keyword under which the member's topic is found in the help file.
    const std::string &HelpKeyword() const;
    void SetHelpKeyword(std::string keyword);
    const std::string &DisplayName() const;
    void SetDisplayName(std::string name);
    int32_t DisplayOrder() const { return display_order_; }
    void SetDisplayOrder(int32_t order) { display_order_ = order; }

    virtual Kind MemberKind() const = 0;
    const char *MemberTypeName() const;
    // The member in messages: its name, or "#<dispatch id>" when it has none.
    std::string Shown() const;

    // The owning component descriptor; null while detached.
    CIComponentDescriptorImpl *Owner() const { return owner_; }
    // The class name of the owner for messages ("" while detached).
    std::string OwnerClassName() const;

    // The member's invoke operation: the call in a plain shape is executed, every
    // other shape goes through the general member handler first. Raises on failure.
    void Invoke(DispatchObject *instance, WORD flags, const DISPPARAMS *parameters,
                VARIANT *result);
    // The descriptor's own automation Invoke stays callable beside the member's.
    using DispatchObject::Invoke;

    CIComponentDescriptorImpl &ClassDescriptor() override;
    std::string ToString() override { return name_; }

  protected:
    CIMemberDescriptorImpl(std::string name, DISPID dispid, uint32_t attributes)
        : name_(std::move(name)), dispid_(dispid), attributes_(attributes) {}

    // Runs a call in a plain shape.
    virtual void Execute(MemberCall &call) = 0;

  private:
    friend class CIComponentDescriptorImpl;
    void Attach(CIComponentDescriptorImpl *owner, DISPID dispid) {
        owner_ = owner;
        dispid_ = dispid;
    }
    void Detach() { owner_ = nullptr; }

    std::string name_;
    DISPID dispid_;
    uint32_t attributes_;
    // Texts most members never have, kept apart to keep members small.
    struct Texts {
        std::string help;
        std::string help_keyword;
        std::string display_name;
    };
    std::unique_ptr<Texts> texts_;
    int32_t display_order_ = 0;
    CIComponentDescriptorImpl *owner_ = nullptr;
};

using MemberRef = platform::ComPtr<CIMemberDescriptorImpl>;

// An entry that reserves a name and its dispatch id until the real member comes.
class PlaceholderDescriptor : public CIMemberDescriptorImpl {
  public:
    PlaceholderDescriptor(std::string name, DISPID dispid)
        : CIMemberDescriptorImpl(std::move(name), dispid, 0x80000000u) {}
    Kind MemberKind() const override { return Kind::kPlaceholder; }

  protected:
    void Execute(MemberCall &call) override;
};

// An event: described, never invoked.
class EventDescriptor : public CIMemberDescriptorImpl {
  public:
    explicit EventDescriptor(std::string name, DISPID dispid = -1)
        : CIMemberDescriptorImpl(std::move(name), dispid, 0) {}
    Kind MemberKind() const override { return Kind::kEvent; }

  protected:
    void Execute(MemberCall &call) override;
};

}  // namespace Ostrel::Zam
