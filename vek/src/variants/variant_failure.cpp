// How conversions name the value that they could not convert.
#include <cstdio>

#include "errors/failure.h"
#include "text/date_text.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

constexpr size_t kQuotedLimit = 100;  // characters of a text quoted in a message

std::string DateDescription(double date) {
    std::string text;
    if (FormatAutomationDate(date, text))
        return "date " + text;
    char number[48];
    std::snprintf(number, sizeof number, "date %g", date);
    return number;
}

}  // namespace

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(text.substr(0, kQuotedLimit));
    quoted += '"';
    if (text.size() > kQuotedLimit)
        quoted += "...";
    return quoted;
}

std::string Describe(const VEKVARIANT &value) {
    switch (value.type) {
        case VEK_VT_INT32:
            return std::to_string(value.value.int32_value);
        case VEK_VT_INT:
            return std::to_string(value.value.int_value);
        case VEK_VT_R8:
            return DoubleText(value.value.double_value);
        case VEK_VT_BOOL:
            return value.value.bool_value != 0 ? "True" : "False";
        case VEK_VT_DATE:
            return DateDescription(value.value.date_value);
        case VEK_VT_TEXT:
            return Quoted(ViewOfCounted(value.value.text));
        case VEK_VT_WTEXT:
            return Quoted(NarrowText(value.value.wtext));
        case VEK_VT_BLOB:
            return "blob " + Quoted(ViewOfCounted(static_cast<const char *>(value.value.blob)));
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
        case VEK_VT_DISPATCH:
        case VEK_VT_UNKNOWN:
            return TypeName(value.type);
        default:
            return "a value of unknown type " + std::to_string(value.type);
    }
}

int32_t CannotConvert(int32_t code, std::string_view what, const char *target,
                      const char *function) {
    const std::string subject(what);
    return Fail(code, function, "Cannot convert %s to %s%s", subject.c_str(), target,
                code == VEK_E_OVERFLOW ? ": out of range" : "");
}

}  // namespace vek::variant
