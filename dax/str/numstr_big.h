// The NumStr operations that need the whole number: multiplication, division,
// remainder and base conversion. They are exact for numbers of any size. The texts
// must hold digits of the base only (CheckNumStr) and the bases must lie in 2..36;
// the empty text counts as 0.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Ostrel::Zam {

// True for a text whose value is 0 (the empty text included).
bool NumStrIsZero(std::string_view text);

// a * b, a / b (truncating) and a % b, padded with leading "0" to the length of the
// longer operand when shorter ("12" * "0003" = "0036"). The divisor of NumStrDiv
// and NumStrMod must not be zero: the caller raises the division error before.
std::string NumStrMul(std::string_view a, std::string_view b, int32_t base);
std::string NumStrDiv(std::string_view a, std::string_view b, int32_t base);
std::string NumStrMod(std::string_view a, std::string_view b, int32_t base);

// The value of the text in base `from` written in base `to`, without leading zeros
// ("0" for the value 0).
std::string NumStrConvert(std::string_view text, int32_t from, int32_t to);
// The same for a text whose value fits 64 bits, written at the end of `room`
// without building a string: the digits there, or an empty view when the value
// does not fit (NumStrConvert then takes the general way).
inline constexpr size_t kWordDigitsRoom = 64;  // 64 binary digits at most
std::string_view NumStrConvertWord(std::string_view text, int32_t from, int32_t to,
                                   char (&room)[kWordDigitsRoom]);

}  // namespace Ostrel::Zam
