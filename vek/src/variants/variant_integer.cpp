// Variants as integers.
#include <cmath>
#include <string_view>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/ascii_case.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

int32_t Unconvertible(int32_t code, std::string_view text, const IntegerTarget &target,
                      const char *function) {
    return CannotConvert(code, Quoted(text), target.name, function);
}

int32_t OutOfRange(const VEKVARIANT &value, const IntegerTarget &target, const char *function) {
    return CannotConvert(VEK_E_OVERFLOW, Describe(value), target.name, function);
}

// A whole text as an optional sign and decimal digits; "True" and "False" stand for
// 1 and 0, the empty text for 0.
int32_t ParseInteger(std::string_view text, const IntegerTarget &target, const char *function,
                     int64_t &result) {
    if (text.empty() || SameTextIgnoringCase(text, "False")) {
        result = 0;
        return 0;
    }
    if (SameTextIgnoringCase(text, "True")) {
        result = 1;
        return 0;
    }
    size_t i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+')
        ++i;
    if (i == text.size())
        return Unconvertible(VEK_E_TYPEMISMATCH, text, target, function);
    // The magnitude may reach 2^63 for the most negative 64-bit number.
    const uint64_t limit = negative ? static_cast<uint64_t>(-(target.minimum + 1)) + 1
                                    : static_cast<uint64_t>(target.maximum);
    uint64_t magnitude = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return Unconvertible(VEK_E_TYPEMISMATCH, text, target, function);
        const auto digit = static_cast<uint64_t>(text[i] - '0');
        overflow = overflow || magnitude > (limit - digit) / 10;
        if (!overflow)
            magnitude = magnitude * 10 + digit;
    }
    if (overflow)
        return Unconvertible(VEK_E_OVERFLOW, text, target, function);
    result = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return 0;
}

int32_t Bounded(const VEKVARIANT &source, int64_t value, const IntegerTarget &target,
                const char *function, int64_t &result) {
    if (value < target.minimum || value > target.maximum)
        return OutOfRange(source, target, function);
    result = value;
    return 0;
}

// A date's whole days, the time of day dropped (-1.25 is day -1).
int32_t WholeDays(const VEKVARIANT &source, const IntegerTarget &target, const char *function,
                  int64_t &result) {
    const double days = std::trunc(source.value.date_value);
    // The bounds as doubles: -2^63 is exact, and 2^63 is the first value past the top.
    if (!(days >= -9223372036854775808.0 && days < 9223372036854775808.0))
        return OutOfRange(source, target, function);
    return Bounded(source, static_cast<int64_t>(days), target, function, result);
}

// A double that is a whole number inside the target's range; a fraction is never cut.
int32_t WholeNumber(const VEKVARIANT &source, const IntegerTarget &target, const char *function,
                    int64_t &result) {
    const double number = source.value.double_value;
    if (std::trunc(number) != number)  // also not-a-number and the infinities
        return CannotConvert(std::isinf(number) ? VEK_E_OVERFLOW : VEK_E_TYPEMISMATCH,
                             Describe(source), target.name, function);
    if (!(number >= -9223372036854775808.0 && number < 9223372036854775808.0))
        return OutOfRange(source, target, function);
    return Bounded(source, static_cast<int64_t>(number), target, function, result);
}

}  // namespace

int32_t IntegerOf(const VEKVARIANT &value, const IntegerTarget &target, const char *function,
                  int64_t &result) {
    switch (value.type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
            result = 0;
            return 0;
        case VEK_VT_INT32:
            return Bounded(value, value.value.int32_value, target, function, result);
        case VEK_VT_INT:
            return Bounded(value, value.value.int_value, target, function, result);
        case VEK_VT_BOOL:
            result = value.value.bool_value != 0 ? 1 : 0;
            return 0;
        case VEK_VT_DATE:
            return WholeDays(value, target, function, result);
        case VEK_VT_R8:
            return WholeNumber(value, target, function, result);
        case VEK_VT_TEXT:
            return ParseInteger(ViewOfCounted(value.value.text), target, function, result);
        case VEK_VT_WTEXT:
            return ParseInteger(NarrowText(value.value.wtext), target, function, result);
        case VEK_VT_BLOB:
            return ParseInteger(ViewOfCounted(static_cast<const char *>(value.value.blob)), target,
                                function, result);
        default:
            return CannotConvert(VEK_E_TYPEMISMATCH, Describe(value), target.name, function);
    }
}

}  // namespace vek::variant

namespace {

template <typename Integer>
int32_t ConvertTo(const VEKVARIANT *variant, Integer *value,
                  const vek::variant::IntegerTarget &target, const char *function) {
    return vek::GuardStatus(function, [&]() -> int32_t {
        return vek::variant::ReadInto<int64_t>(
            function, variant, value,
            [&](const VEKVARIANT &from, const char *name, int64_t &result) {
                return vek::variant::IntegerOf(from, target, name, result);
            });
    });
}

}  // namespace

VEK_API int32_t VEK_CALL VekVarToInt32(const VEKVARIANT *variant, int32_t *value) {
    return ConvertTo(variant, value, vek::variant::kInt32Target, "VekVarToInt32");
}

VEK_API int32_t VEK_CALL VekVarToInt(const VEKVARIANT *variant, int64_t *value) {
    return ConvertTo(variant, value, vek::variant::kInt64Target, "VekVarToInt");
}
