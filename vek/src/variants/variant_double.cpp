// Variants as doubles. Texts are written as the shortest decimal that reads back as
// the same number, so a double survives a trip through its text unchanged.
#include <charconv>
#include <cmath>
#include <limits>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

constexpr const char kDoubleName[] = "a double";

int32_t ParseDoubleText(std::string_view text, const char *function, double &result) {
    if (text.empty()) {
        result = 0.0;
        return 0;
    }
    if (!ParseDouble(text, result))
        return CannotConvert(VEK_E_TYPEMISMATCH, Quoted(text), kDoubleName, function);
    return 0;
}

}  // namespace

std::string DoubleText(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Infinity" : "Infinity";
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

bool ParseDouble(std::string_view text, double &value) {
    if (text == "NaN") {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (text == "Infinity" || text == "-Infinity") {
        value = text[0] == '-' ? -std::numeric_limits<double>::infinity()
                               : std::numeric_limits<double>::infinity();
        return true;
    }
    // from_chars takes no '+' and no hexadecimal form: only plain decimal numbers.
    const char *first = text.data();
    const char *last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    if (first == last || !(*first == '-' || *first == '.' || (*first >= '0' && *first <= '9')))
        return false;
    double parsed = 0.0;
    const auto result = std::from_chars(first, last, parsed, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != last)
        return false;
    value = parsed;
    return true;
}

int32_t DoubleOf(const VEKVARIANT &value, const char *function, double &result) {
    switch (value.type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
            result = 0.0;
            return 0;
        case VEK_VT_INT32:
            result = value.value.int32_value;
            return 0;
        case VEK_VT_INT:
            result = static_cast<double>(value.value.int_value);
            return 0;
        case VEK_VT_R8:
            result = value.value.double_value;
            return 0;
        case VEK_VT_BOOL:
            result = value.value.bool_value != 0 ? 1.0 : 0.0;
            return 0;
        case VEK_VT_DATE:
            result = value.value.date_value;
            return 0;
        case VEK_VT_TEXT:
            return ParseDoubleText(ViewOfCounted(value.value.text), function, result);
        case VEK_VT_WTEXT:
            return ParseDoubleText(NarrowText(value.value.wtext), function, result);
        case VEK_VT_BLOB:
            return ParseDoubleText(ViewOfCounted(static_cast<const char *>(value.value.blob)),
                                   function, result);
        default:
            return CannotConvert(VEK_E_TYPEMISMATCH, Describe(value), kDoubleName, function);
    }
}

}  // namespace vek::variant

VEK_API int32_t VEK_CALL VekVarFromDouble(VEKVARIANT *variant, double value) {
    return vek::GuardStatus("VekVarFromDouble", [&]() -> int32_t {
        if (variant == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekVarFromDouble", "No variant given");
        vek::variant::Release(*variant);
        variant->type = VEK_VT_R8;
        variant->value.double_value = value;
        return 0;
    });
}

VEK_API int32_t VEK_CALL VekVarToDouble(const VEKVARIANT *variant, double *value) {
    return vek::GuardStatus("VekVarToDouble", [&]() -> int32_t {
        return vek::variant::ReadInto<double>("VekVarToDouble", variant, value,
                                              vek::variant::DoubleOf);
    });
}
