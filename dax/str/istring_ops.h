// The IString operations that several exports share. Each raises its failure as
// the export of the same name would (same code, source and description), so that a
// composite function may call them directly and still leave the caller the error
// information of the inner call.
//
// An IString whose last '#' lacks its two bytes ("#", "a#", "ab#4") has no reading
// as IString characters: counting it as the bytes minus two per '#' would give
// negative or short lengths, and reading the tail as plain bytes would make it
// change meaning as soon as a text is put after it (padding, swapping). Length and
// Middle therefore reject it with 0xE2090003 ("Incomplete escape ..."), and so do
// the functions built on them.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/ansi_string.h"

namespace Ostrel::Zam::istring {

inline constexpr int32_t kStartOutOfRange = static_cast<int32_t>(0xE2002005u);
inline constexpr int32_t kInfiniteLoop = static_cast<int32_t>(0xE2090002u);
inline constexpr int32_t kDataInvalid = static_cast<int32_t>(0xE2090003u);
inline constexpr int32_t kLengthExceeded = static_cast<int32_t>(0xE2090004u);
inline constexpr int32_t kMinAboveMax = static_cast<int32_t>(0xE2090005u);
inline constexpr int32_t kUnknownOperator = static_cast<int32_t>(0xE209000Au);
inline constexpr int32_t kIndexInvalid = static_cast<int32_t>(0xE209000Cu);

inline constexpr const char kLenSource[] = "Str.Str_IStr_Len";
inline constexpr const char kMidSource[] = "Str.Str_IStr_Mid";

// Conversions of the format library.
inline constexpr const char kToHex[] = "RAW2HEX";
inline constexpr const char kFromHex[] = "HEX2RAW";
inline constexpr const char kCanonical[] = "RAW2HEX.HEX2RAW";

// Raises 0xE2090003 with `source` when `text` ends in an incomplete escape.
void CheckComplete(std::string_view text, const char *source);

// The number of IString characters (the body of Str_IStr_LenA).
int32_t Length(std::string_view istr);

// Characters start .. start+count-1 (1-based) as a view into istr; count -1 is the
// rest of the text, a count below -1 or 0 is the empty text (the body of
// Str_IStr_MidA).
std::string_view Middle(std::string_view istr, int32_t start, int32_t count);

// FormatOutputA (text, conversion); a failing status is raised with its own code,
// `source` and no description.
AnsiString Convert(const char *text, const char *conversion, const char *source);

// Compares the canonical forms of two IStrings byte by byte, ignoring letter case
// unless case_sensitive: negative, 0 or positive.
int32_t Compare(const char *a, const char *b, bool case_sensitive);

}  // namespace Ostrel::Zam::istring
