// The error codes of the T store (family 0x2204), as raised. TErrorMsgs gives
// the texts of the codes raised without a description.
#pragma once

#include <cstdint>

namespace Ostrel::Zam::tstore {

constexpr int32_t TCode(uint32_t bits) {
    return static_cast<int32_t>(bits);
}

inline constexpr int32_t kAliasNotFound = TCode(0xE2040001);
inline constexpr int32_t kAttributeMissing = TCode(0xE2040002);
inline constexpr int32_t kRootNameExists = TCode(0xE2040004);
inline constexpr int32_t kAttributeInvalid = TCode(0xE2040005);
inline constexpr int32_t kCurrentNodeInvalid = TCode(0xE2040006);
inline constexpr int32_t kIdentifierInvalid = TCode(0xE2040009);
inline constexpr int32_t kNodeNameInvalid = TCode(0xE204000A);
inline constexpr int32_t kNodePathInvalid = TCode(0xE204000B);
inline constexpr int32_t kParameterInvalid = TCode(0xE204000E);
inline constexpr int32_t kPositionInvalid = TCode(0xE204000F);
inline constexpr int32_t kRootNodeInvalid = TCode(0xE2040010);
inline constexpr int32_t kNoChildren = TCode(0xE2040014);
inline constexpr int32_t kNoDefaultAttribute = TCode(0xE2040015);
inline constexpr int32_t kNoMatch = TCode(0xE2040017);
inline constexpr int32_t kNoNodeAtPosition = TCode(0xE2040018);
inline constexpr int32_t kNodeMissing = TCode(0xE204001A);
inline constexpr int32_t kNodeHasTwins = TCode(0xE204001B);
inline constexpr int32_t kNodeHasChildren = TCode(0xE204001C);
inline constexpr int32_t kTObjectMissing = TCode(0xE2040020);
inline constexpr int32_t kParentNotGroup = TCode(0xE2040021);
inline constexpr int32_t kFormattedSetFailed = TCode(0xE2040023);  // raised by the format library
inline constexpr int32_t kAttributeUnknown = TCode(0xE2040025);
// Recorded as the thread's error information by a reporting character count;
// never raised.
inline constexpr int32_t kInvalidCharacterNote = TCode(0x6204000A);

}  // namespace Ostrel::Zam::tstore
