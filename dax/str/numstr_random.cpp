#include "str/numstr_random.h"

#include "frame/ansi_string.h"
#include "frame/error_model.h"
#include "str/numstr_check.h"
#include "str/numstr_digits.h"
#include "str/random_digit.h"

namespace Ostrel::Zam {

namespace {

constexpr const char *kSource = "Str.Str_NumStr_Random";
constexpr int kMaxDraws = 100000;

[[noreturn]] void RaiseEndlessDrawing() {
    RaiseError(0xE2090002, kSource, "Infinite loop");
}

std::string RandomDigits(size_t count, int32_t base) {
    std::string digits;
    AppendRandomDigits(digits, count, base);
    return digits;
}

// A value between the bounds, as wide as `length` at least.
std::string DrawBetween(size_t length, std::string_view minimum, std::string_view maximum,
                        int32_t base) {
    const int order = NumStrCompare(minimum, maximum);
    if (order > 0)
        RaiseError(0xE2090005, kSource, nullptr);
    if (order == 0)
        return PadWithZeros(minimum, length);
    const size_t span = StripLeadingZeros(NumStrSub(maximum, minimum, base)).size();
    for (int draw = 1;; ++draw) {
        std::string candidate =
            PadWithZeros(NumStrAdd(minimum, RandomDigits(span, base), base), length);
        if (NumStrCompare(candidate, maximum) <= 0 && NumStrCompare(candidate, minimum) >= 0)
            return candidate;
        if (draw >= kMaxDraws)
            RaiseEndlessDrawing();
    }
}

std::string DrawExcluding(size_t length, std::string_view minimum, std::string_view maximum,
                          std::string_view excluded, int32_t base) {
    if (NumStrCompare(minimum, maximum) == 0 && NumStrCompare(minimum, excluded) == 0)
        RaiseError(0xE2090007, kSource, nullptr);
    for (int draw = 1;; ++draw) {
        std::string value = DrawBetween(length, minimum, maximum, base);
        if (NumStrCompare(value, excluded) != 0)
            return value;
        if (draw >= kMaxDraws)
            RaiseEndlessDrawing();
    }
}

}  // namespace

std::string NumStrRandom(int32_t length, std::string_view minimum, std::string_view maximum,
                         std::string_view excluded, int32_t base) {
    if (length < 0)
        RaiseError(0xE2090003, kSource, nullptr);
    if (length == 0)
        return {};
    if (static_cast<size_t>(length) > kLongestText)
        RaiseOutOfMemory();
    CheckNumStrBase(base, kSource);
    CheckNumStr(minimum, base);
    CheckNumStr(maximum, base);
    CheckNumStr(excluded, base);
    const auto count = static_cast<size_t>(length);
    if (minimum.empty() && maximum.empty() && excluded.empty())
        return RandomDigits(count, base);
    if (minimum.size() > count)
        RaiseError(0xE2090006, kSource, nullptr);
    const std::string low = minimum.empty() ? std::string(count, '0') : std::string(minimum);
    const std::string high = maximum.empty()
                                 ? std::string(count, DigitChar(static_cast<uint32_t>(base - 1)))
                                 : std::string(maximum);
    if (!excluded.empty())
        return DrawExcluding(count, low, high, excluded, base);
    return DrawBetween(count, low, high, base);
}

}  // namespace Ostrel::Zam
