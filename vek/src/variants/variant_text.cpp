// Variants as 8-bit texts.
#include <charconv>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/date_text.h"
#include "text/text_view.h"
#include "variants/variant_ops.h"

namespace vek::variant {

namespace {

std::string DecimalOf(int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, result.ptr);
}

}  // namespace

std::string NarrowText(const uint16_t *wide) {
    const int32_t count = VekArrayCountEx_(wide);
    std::string text(static_cast<size_t>(count), '\0');
    for (int32_t i = 0; i < count; ++i)
        text[static_cast<size_t>(i)] = wide[i] > 0xFF ? '?' : static_cast<char>(wide[i]);
    return text;
}

int32_t TextOf(const VEKVARIANT &value, std::string &text, const char *function) {
    switch (value.type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
            text.clear();
            return 0;
        case VEK_VT_INT32:
            text = DecimalOf(value.value.int32_value);
            return 0;
        case VEK_VT_INT:
            text = DecimalOf(value.value.int_value);
            return 0;
        case VEK_VT_R8:
            text = DoubleText(value.value.double_value);
            return 0;
        case VEK_VT_BOOL:
            text = value.value.bool_value != 0 ? "True" : "False";
            return 0;
        case VEK_VT_DATE:
            if (!FormatAutomationDate(value.value.date_value, text))
                return CannotConvert(VEK_E_OVERFLOW, Describe(value), "a text", function);
            return 0;
        case VEK_VT_WTEXT:
            text = NarrowText(value.value.wtext);
            return 0;
        case VEK_VT_TEXT:
            text = ViewOfCounted(value.value.text);
            return 0;
        case VEK_VT_BLOB:
            text = ViewOfCounted(static_cast<const char *>(value.value.blob));
            return 0;
        default:
            return CannotConvert(VEK_E_TYPEMISMATCH, Describe(value), "a text", function);
    }
}

}  // namespace vek::variant

VEK_API int32_t VEK_CALL VekVarToStrA(const VEKVARIANT *variant, char **text) {
    return vek::GuardStatus("VekVarToStrA", [&]() -> int32_t {
        if (text == nullptr)
            return vek::Fail(VEK_E_POINTER, "VekVarToStrA", "No text address given");
        std::string value;
        if (variant != nullptr) {
            if (const int32_t status = vek::variant::TextOf(*variant, value, "VekVarToStrA"))
                return status;
        }
        char *counted = nullptr;
        if (!value.empty()) {
            counted = VekTextNewA(value.data(), static_cast<int32_t>(value.size()));
            if (counted == nullptr)
                return ZamGetLastError();
        }
        *text = counted;
        return 0;
    });
}
