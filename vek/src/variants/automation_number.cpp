#include "variants/automation_number.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "errors/failure.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

constexpr uint32_t kCurrencyScale = 4;  // currency counts ten-thousandths
constexpr uint32_t kMaxDecimalScale = 28;

// The decimal digits of a 96-bit magnitude held as three 32-bit limbs, most
// significant first ("0" for zero).
std::string DigitsOf96(uint32_t high, uint32_t middle, uint32_t low) {
    uint32_t limbs[3] = {high, middle, low};
    char digits[32];  // 2^96 has 29 digits
    char *first = digits + sizeof digits;
    do {
        uint64_t remainder = 0;
        for (uint32_t &limb : limbs) {
            const uint64_t current = (remainder << 32) | limb;
            limb = static_cast<uint32_t>(current / 10);
            remainder = current % 10;
        }
        *--first = static_cast<char>('0' + remainder);
    } while (limbs[0] != 0 || limbs[1] != 0 || limbs[2] != 0);
    return std::string(first, digits + sizeof digits);
}

// The whole number of `digits` if it fits a signed 64-bit integer.
bool FitsInteger(std::string_view digits, bool negative, int64_t &value) {
    const uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    uint64_t magnitude = 0;
    for (char c : digits) {
        const auto digit = static_cast<uint64_t>(c - '0');
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

// `digits` with the decimal point `scale` places from the right: an integer when the
// fraction is zero and the number fits, else the text with the fraction's trailing
// zeros dropped.
int32_t AssignScaled(VEKVARIANT &result, bool negative, std::string digits, uint32_t scale,
                     const char *function) {
    if (digits.size() <= scale)
        digits.insert(0, scale + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - scale);
    std::string fraction = digits.substr(digits.size() - scale);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    const size_t first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "0" : whole.substr(first);
    negative = negative && (whole != "0" || !fraction.empty());
    int64_t value = 0;
    if (fraction.empty() && FitsInteger(whole, negative, value)) {
        AssignInteger(result, value);
        return 0;
    }
    std::string text;
    if (negative)
        text.push_back('-');
    text.append(whole);
    if (!fraction.empty()) {
        text.push_back('.');
        text.append(fraction);
    }
    return AssignText(result, text, function);
}

template <typename Float>
int32_t AssignFloat(VEKVARIANT &result, Float number, const char *function) {
    char text[64];
    if (!std::isfinite(number)) {
        const auto end = std::to_chars(text, text + sizeof text, number).ptr;
        return CannotConvert(VEK_E_TYPEMISMATCH, std::string_view(text, end - text), "a variant",
                             function);
    }
    const double whole = std::trunc(static_cast<double>(number));
    if (whole == static_cast<double>(number) && whole >= -9223372036854775808.0 &&
        whole < 9223372036854775808.0) {
        AssignInteger(result, static_cast<int64_t>(whole));
        return 0;
    }
    // The shortest text that reads back as the same number.
    const auto end = std::to_chars(text, text + sizeof text, number).ptr;
    return AssignText(result, std::string_view(text, static_cast<size_t>(end - text)), function);
}

int32_t AssignCurrency(VEKVARIANT &result, int64_t scaled, const char *function) {
    const bool negative = scaled < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
    return AssignScaled(result, negative, std::to_string(magnitude), kCurrencyScale, function);
}

int32_t AssignDecimal(VEKVARIANT &result, const DECIMAL &number, const char *function) {
    if (number.scale > kMaxDecimalScale)
        return Fail(VEK_E_TYPEMISMATCH, function, "Cannot convert a decimal of scale %u",
                    number.scale);
    const std::string digits = DigitsOf96(number.Hi32, static_cast<uint32_t>(number.Lo64 >> 32),
                                          static_cast<uint32_t>(number.Lo64));
    return AssignScaled(result, (number.sign & 0x80) != 0, digits, number.scale, function);
}

}  // namespace

void AssignInteger(VEKVARIANT &result, int64_t value) {
    Release(result);
    if (value >= INT32_MIN && value <= INT32_MAX) {
        result.type = VEK_VT_INT32;
        result.value.int32_value = static_cast<int32_t>(value);
    } else {
        result.type = VEK_VT_INT;
        result.value.int_value = value;
    }
}

int32_t AssignAutomationNumber(VEKVARIANT &result, const VARIANT &number, const char *function) {
    switch (number.vt) {
        case VT_R4:
            return AssignFloat(result, number.fltVal, function);
        case VT_R8:
            return AssignFloat(result, number.dblVal, function);
        case VT_CY:
            // A currency's 64-bit count lies where a VT_I8 keeps its value.
            return AssignCurrency(result, number.llVal, function);
        case VT_DECIMAL:
            return AssignDecimal(result, number.decVal, function);
        default:
            return Fail(VEK_E_TYPEMISMATCH, function, "VARIANT type %u is no number", number.vt);
    }
}

}  // namespace vek::variant
