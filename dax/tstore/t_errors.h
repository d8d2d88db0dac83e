// The error codes of the T store (family 0x2204), as raised. TErrorMsgs gives
// the texts of the codes raised without a description.
#pragma once

#include <cstdint>

namespace Ostrel::Zam::tstore {

constexpr int32_t TCode(uint32_t bits) {
    return static_cast<int32_t>(bits);
}

inline constexpr int32_t kAliasNotFound = TCode(0xE2040001);
inline constexpr int32_t kRootNameExists = TCode(0xE2040004);
inline constexpr int32_t kAttributeInvalid = TCode(0xE2040005);
inline constexpr int32_t kIdentifierInvalid = TCode(0xE2040009);
inline constexpr int32_t kNodePathInvalid = TCode(0xE204000B);
inline constexpr int32_t kParameterInvalid = TCode(0xE204000E);
inline constexpr int32_t kRootNodeInvalid = TCode(0xE2040010);
inline constexpr int32_t kTObjectMissing = TCode(0xE2040020);
// Recorded as the thread's error information by a reporting character count;
// never raised.
inline constexpr int32_t kInvalidCharacterNote = TCode(0x6204000A);

}  // namespace Ostrel::Zam::tstore
