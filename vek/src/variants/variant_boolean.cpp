// Variants as Booleans. Texts read "True" / "False" in any case and whole decimal
// numbers of any length (non-zero is true); the empty text is false.
#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/ascii_case.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

constexpr const char kBooleanName[] = "a Boolean";

// An optional sign and at least one digit; `non_zero` tells whether any digit is.
bool ParseWholeNumber(std::string_view text, bool &non_zero) {
    size_t i = 0;
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        ++i;
    if (i == text.size())
        return false;
    non_zero = false;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        non_zero = non_zero || text[i] != '0';
    }
    return true;
}

int32_t ParseBoolean(std::string_view text, const char *function, bool &result) {
    if (text.empty() || SameTextIgnoringCase(text, "False")) {
        result = false;
        return 0;
    }
    if (SameTextIgnoringCase(text, "True")) {
        result = true;
        return 0;
    }
    bool non_zero = false;
    if (!ParseWholeNumber(text, non_zero))
        return CannotConvert(VEK_E_TYPEMISMATCH, Quoted(text), kBooleanName, function);
    result = non_zero;
    return 0;
}

}  // namespace

int32_t BooleanOf(const VEKVARIANT &value, const char *function, bool &result) {
    switch (value.type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
            result = false;
            return 0;
        case VEK_VT_INT32:
            result = value.value.int32_value != 0;
            return 0;
        case VEK_VT_INT:
            result = value.value.int_value != 0;
            return 0;
        case VEK_VT_BOOL:
            result = value.value.bool_value != 0;
            return 0;
        case VEK_VT_R8:
            result = value.value.double_value != 0.0;
            return 0;
        case VEK_VT_DATE:
            result = value.value.date_value != 0.0;
            return 0;
        case VEK_VT_TEXT:
            return ParseBoolean(ViewOfCounted(value.value.text), function, result);
        case VEK_VT_WTEXT:
            return ParseBoolean(NarrowText(value.value.wtext), function, result);
        case VEK_VT_BLOB:
            return ParseBoolean(ViewOfCounted(static_cast<const char *>(value.value.blob)),
                                function, result);
        default:
            return CannotConvert(VEK_E_TYPEMISMATCH, Describe(value), kBooleanName, function);
    }
}

}  // namespace vek::variant

VEK_API int32_t VEK_CALL VekVarFromBool(VEKVARIANT *variant, int32_t value) {
    return vek::GuardStatus("VekVarFromBool", [&]() -> int32_t {
        if (variant == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekVarFromBool", "No variant given");
        vek::variant::Release(*variant);
        variant->type = VEK_VT_BOOL;
        variant->value.bool_value = value != 0 ? 1 : 0;
        return 0;
    });
}

VEK_API int32_t VEK_CALL VekVarToBool(const VEKVARIANT *variant, int32_t *value) {
    return vek::GuardStatus("VekVarToBool", [&]() -> int32_t {
        return vek::variant::ReadInto<bool>("VekVarToBool", variant, value,
                                            vek::variant::BooleanOf);
    });
}
