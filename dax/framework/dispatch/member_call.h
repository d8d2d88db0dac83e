// One call of a member in the shape that member descriptors execute: the plain
// flags (0x100 call, 0x1000 read, both for a call-or-read, 0x2000 write, plus 0x8000
// when the caller gave it), the arguments in positional order, each read through
// its references, and for a write the value.
//
// The standard automation shapes are turned into this one by the general member
// handler: method and read calls get their named arguments put at their positions
// (missing ones in between are marked missing); a write takes its value from the
// argument named DISPID_PROPERTYPUT, which every automation client sends, or else
// from the last argument, and the other arguments are the index. A plain write (4)
// of an object assigns the object's default value; a write by reference (8, or
// 0xC as JScript sends for every object) assigns the object itself.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/dispatch/variant_values.h"
#include "platform/com.h"

namespace Ostrel::Zam {

class DispatchObject;

struct MemberCall {
    WORD flags = 0;
    DispatchObject *instance = nullptr;
    std::vector<VARIANT> arguments;  // views; never cleared
    std::vector<int32_t> slots;      // rgvarg index of each argument, -1 when missing
    bool named = false;              // named arguments were given (the assigned value aside)
    VARIANT value{};                 // the value of a write (a view, or owned_value)
    OwnedVariant owned_value;
    VARIANT *result = nullptr;

    bool IsCall() const { return (flags & 0x0100) != 0; }
    bool IsRead() const { return (flags & 0x1000) != 0; }
    bool IsWrite() const { return (flags & 0x2000) != 0; }
    // The rgvarg index of the argument at `position` (for the argument-error index).
    int32_t SlotOf(int32_t position) const;
};

// The arguments of a block other than the caller's `this` that JScript names
// (DISPID_THIS); 0 for a missing block. Safe on any block, checked or not.
UINT ArgumentCount(const DISPPARAMS *parameters);

// A call already in a plain shape (flags 0x100, 0x1000 or 0x2000): the block is
// taken in reverse order; named arguments are refused.
void BuildPlainCall(WORD flags, const DISPPARAMS *parameters, MemberCall *call);

// A call with the standard flags; false when the flags are none of the standard
// shapes (the caller reports the member as not found).
bool BuildStandardCall(WORD flags, const DISPPARAMS *parameters, MemberCall *call);

// Reads the default value of an object (a plain write of an object assigns it).
void ReadDefaultValue(IDispatch *object, VARIANT *value);
// Calls the default member of an object with the arguments (positional order), as a
// method or read; its failure is raised with the object's code, source and text.
void CallDefaultMember(IDispatch *object, const std::vector<VARIANT> &arguments, VARIANT *result);

// After a successful call: a result that refers to a variant becomes its value.
void ResolveResultReference(VARIANT *result);

}  // namespace Ostrel::Zam
