// The invocation flags, member attribute bits and reserved dispatch ids of the
// component framework.
//
// A call carries one 16-bit flag word: the standard automation flags (1 method,
// 2 property read, 4 / 8 property write by value / by reference) or the
// framework's own plain shapes (0x100 call a method, 0x1000 read a property,
// 0x2000 write a property), which member descriptors execute directly.
#pragma once

#include <cstdint>

#include "platform/com.h"

namespace Ostrel::Zam {

inline constexpr WORD kInvokeLookupAll = 0x0020;  // look the member up among all members
inline constexpr WORD kInvokeCall = 0x0100;
inline constexpr WORD kInvokeConstruct = 0x0200;
inline constexpr WORD kInvokeRead = 0x1000;
inline constexpr WORD kInvokeWrite = 0x2000;
inline constexpr WORD kInvokeCarried = 0x8000;  // kept through the general member handler

// Attribute word of a member descriptor.
inline constexpr uint32_t kMemberPlaceholder = 0x80000000u;  // replaced by a real member
inline constexpr uint32_t kMemberNotSettable = 0x04000000u;
inline constexpr uint32_t kMemberNotReadable = 0x02000000u;
inline constexpr uint32_t kMemberOverloadable = 0x01000000u;  // methods sharing one name
inline constexpr uint32_t kMemberInternal = 0x00100000u;      // found only by lookups of all
inline constexpr uint32_t kMemberHidden = 0x00000001u;        // not shown to browsers
inline constexpr uint32_t kMemberRestricted = 0x00000002u;
inline constexpr uint32_t kMemberPrivate = 0x00000004u;

// Lookup filters: a member with any of the filter's bits set is not found.
inline constexpr uint32_t kFilterOrdinary = kMemberPlaceholder | kMemberInternal;
inline constexpr uint32_t kFilterAll = kMemberPlaceholder;

inline constexpr DISPID kDispIdCreateInstance = -1977;
inline constexpr DISPID kDispIdPrototype = -1976;
inline constexpr DISPID kNoDispId = -1;

// Kind flags of a component descriptor.
inline constexpr uint32_t kClassCreatable = 0x02;
inline constexpr uint32_t kClassInstanceFactory = 0x08;

// The three plain shapes that a member descriptor executes itself.
inline bool IsPlainMethodCall(WORD flags) {
    return (flags & ~(kInvokeRead | 0x0400)) == kInvokeCall;
}
inline bool IsPlainRead(WORD flags) {
    return (flags & ~(kInvokeCall | 0x0400)) == kInvokeRead;
}
inline bool IsPlainWrite(WORD flags) {
    return (flags & ~0x0800) == kInvokeWrite;
}

}  // namespace Ostrel::Zam
