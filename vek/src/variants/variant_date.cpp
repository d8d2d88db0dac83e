// Variants as dates: days since 1899-12-30 with the time of day as the fraction.
// Texts are ISO 8601 dates; numbers are whole days; the empty text is day 0.
#include <cmath>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/date_text.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

constexpr const char kDateName[] = "a date";

int32_t ParseDate(std::string_view text, const char *function, double &result) {
    if (text.empty()) {
        result = 0.0;
        return 0;
    }
    if (!ParseAutomationDate(text, result))
        return CannotConvert(VEK_E_TYPEMISMATCH, Quoted(text), kDateName, function);
    return 0;
}

int32_t DayNumber(const VEKVARIANT &source, int64_t days, const char *function, double &result) {
    const auto date = static_cast<double>(days);
    if (!IsAutomationDateInRange(date))
        return CannotConvert(VEK_E_OVERFLOW, Describe(source), kDateName, function);
    result = date;
    return 0;
}

}  // namespace

int32_t DateOf(const VEKVARIANT &value, const char *function, double &result) {
    switch (value.type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
            result = 0.0;
            return 0;
        case VEK_VT_INT32:
            return DayNumber(value, value.value.int32_value, function, result);
        case VEK_VT_INT:
            return DayNumber(value, value.value.int_value, function, result);
        case VEK_VT_BOOL:
            result = value.value.bool_value != 0 ? 1.0 : 0.0;
            return 0;
        case VEK_VT_DATE:
            result = value.value.date_value;
            return 0;
        case VEK_VT_R8:
            if (!IsAutomationDateInRange(value.value.double_value))
                return CannotConvert(VEK_E_OVERFLOW, Describe(value), kDateName, function);
            result = value.value.double_value;
            return 0;
        case VEK_VT_TEXT:
            return ParseDate(ViewOfCounted(value.value.text), function, result);
        case VEK_VT_WTEXT:
            return ParseDate(NarrowText(value.value.wtext), function, result);
        case VEK_VT_BLOB:
            return ParseDate(ViewOfCounted(static_cast<const char *>(value.value.blob)), function,
                             result);
        default:
            return CannotConvert(VEK_E_TYPEMISMATCH, Describe(value), kDateName, function);
    }
}

}  // namespace vek::variant

VEK_API int32_t VEK_CALL VekVarFromDate(VEKVARIANT *variant, double date) {
    return vek::GuardStatus("VekVarFromDate", [&]() -> int32_t {
        if (variant == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekVarFromDate", "No variant given");
        // A date that no text can show would fail every later conversion.
        if (!vek::IsAutomationDateInRange(date))
            return vek::Fail(VEK_E_OVERFLOW, "VekVarFromDate",
                             "Date %g is outside the years 100..9999", date);
        vek::variant::Release(*variant);
        variant->type = VEK_VT_DATE;
        variant->value.date_value = date;
        return 0;
    });
}

VEK_API int32_t VEK_CALL VekVarToDate(const VEKVARIANT *variant, double *date) {
    return vek::GuardStatus("VekVarToDate", [&]() -> int32_t {
        return vek::variant::ReadInto<double>("VekVarToDate", variant, date, vek::variant::DateOf);
    });
}
