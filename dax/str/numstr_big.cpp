#include "str/numstr_big.h"

#include <algorithm>

#include "str/numstr_digits.h"
#include "str/numstr_limbs.h"
#include "str/numstr_radix.h"

namespace Ostrel::Zam {

namespace {

std::string FormatPadded(const BigNumber &value, std::string_view a, std::string_view b,
                         int32_t base) {
    return PadWithZeros(FormatNumStr(value, base), std::max(a.size(), b.size()));
}

struct Division {
    Limbs quotient;
    Limbs remainder;
};

Division Divide(std::string_view a, std::string_view b, int32_t base) {
    Division result;
    DivideLimbs(ToLimbs(ParseNumStr(a, base)), ToLimbs(ParseNumStr(b, base)), result.quotient,
                result.remainder);
    return result;
}

}  // namespace

bool NumStrIsZero(std::string_view text) {
    return StripLeadingZeros(text).empty();
}

std::string NumStrMul(std::string_view a, std::string_view b, int32_t base) {
    return FormatPadded(ParseNumStr(a, base) * ParseNumStr(b, base), a, b, base);
}

std::string NumStrDiv(std::string_view a, std::string_view b, int32_t base) {
    return FormatPadded(FromLimbs(Divide(a, b, base).quotient), a, b, base);
}

std::string NumStrMod(std::string_view a, std::string_view b, int32_t base) {
    return FormatPadded(FromLimbs(Divide(a, b, base).remainder), a, b, base);
}

std::string NumStrConvert(std::string_view text, int32_t from, int32_t to) {
    return FormatNumStr(ParseNumStr(text, from), to);
}

}  // namespace Ostrel::Zam
