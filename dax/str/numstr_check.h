// The NumStr alphabet and the checks every NumStr argument passes. A NumStr is a
// non-negative whole number written in a base of 2..36: the digits '0'-'9' stand
// for 0-9 and the upper-case letters 'A'-'Z' for 10-35; lower-case letters are no
// digits. No sign, blank or prefix; leading zeros are allowed; the empty text is a
// valid NumStr (its value is 0).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace Ostrel::Zam {

inline constexpr int32_t kMinNumStrBase = 2;
inline constexpr int32_t kMaxNumStrBase = 36;
// Marks a character that is no digit of any base.
inline constexpr uint8_t kNoDigit = 0xFF;

inline constexpr char kDigitChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

namespace detail {
constexpr std::array<uint8_t, 256> MakeDigitValues() {
    std::array<uint8_t, 256> values{};
    for (auto &value : values)
        value = kNoDigit;
    for (uint8_t i = 0; i < 36; ++i)
        values[static_cast<uint8_t>(kDigitChars[i])] = i;
    return values;
}
inline constexpr std::array<uint8_t, 256> kDigitValues = MakeDigitValues();
}  // namespace detail

// The value of a digit character, or kNoDigit.
inline uint8_t DigitValue(char c) {
    return detail::kDigitValues[static_cast<uint8_t>(c)];
}
// The character of a digit value 0..35.
inline char DigitChar(uint32_t value) {
    return kDigitChars[value];
}

// Fails with 0xE2090003, source "Str.CheckNumStr" and the description
// "\"<text>\" is invalid" (the text cut at 242 characters) unless every character
// of the text is a digit of the base.
void CheckNumStr(std::string_view text, int32_t base);

// Fails with 0xE2090003, the given source and "Invalid base: <base>" unless the
// base lies in 2..36.
void CheckNumStrBase(int32_t base, const char *source);

}  // namespace Ostrel::Zam
