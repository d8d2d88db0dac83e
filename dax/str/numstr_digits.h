// The digit-wise NumStr operations: comparison, addition, subtraction and the
// digit-wise logic operators. Each works on texts of any length in one pass over
// the digits (time linear in the length). The texts must hold digits of the base
// only (CheckNumStr) and the base must lie in 2..36.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Ostrel::Zam {

// The text without its leading zeros ("0" and "" give "").
std::string_view StripLeadingZeros(std::string_view text);
// The text with leading "0" added up to `width` characters (unchanged when longer).
std::string PadWithZeros(std::string_view text, size_t width);

// -1, 0 or 1 as a is less than, equal to or greater than b; "007" equals "7" and
// the empty text equals "0".
int NumStrCompare(std::string_view a, std::string_view b);

// a + b. An empty operand gives the other one unchanged; otherwise the result has
// the length of the longer operand, one digit more when the top digits carry, and
// leading zeros of the operands stay ("0099" + "1" = "0100").
std::string NumStrAdd(std::string_view a, std::string_view b, int32_t base);

// a - b. When b is zero the result is a without its leading zeros; when a and b
// are equal it is "0"; otherwise the difference padded with leading "0" to the
// length of the longer operand ("0010" - "3" = "0007"). A negative difference fails
// with 0xE2090009, source "Str.NumStrSub".
std::string NumStrSub(std::string_view a, std::string_view b, int32_t base);

// The digit-wise logic operators: the shorter operand is padded with leading "0",
// then each pair of digits is combined bit by bit and the combined value written in
// the base. In bases 2, 4, 8, 16 and 32 that is the operation on the whole number;
// in other bases a combined value can reach the base and takes two digits ("9" XOR
// "6" = "15" in base 10).
std::string NumStrAnd(std::string_view a, std::string_view b, int32_t base);
std::string NumStrOr(std::string_view a, std::string_view b, int32_t base);
std::string NumStrXor(std::string_view a, std::string_view b, int32_t base);

}  // namespace Ostrel::Zam
