#include "attribute_format.h"

#include <charconv>
#include <cstdio>

#include "export_status.h"
#include "istring_codec.h"
#include "vek64.h"

namespace morph {

namespace {

constexpr int32_t kCannotFormat = static_cast<int32_t>(0xE2040003);
constexpr int32_t kCannotParse = static_cast<int32_t>(0xE2040023);
constexpr char kGetSource[] = "Morph.FormatTGetA";
constexpr char kSetSource[] = "Morph.FormatTSetA";
constexpr size_t kQuotedLimit = 100;  // characters of a text named in a description

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(Excerpt(text, kQuotedLimit));
    quoted += '"';
    if (text.size() > kQuotedLimit)
        quoted += "...";
    return quoted;
}

// The kind of value as a description names it.
const char *KindName(uint32_t type) {
    switch (type) {
        case VEK_VT_INT32:
            return "a 32-bit integer";
        case VEK_VT_INT:
            return "a 64-bit integer";
        case VEK_VT_R8:
            return "a double";
        case VEK_VT_BOOL:
            return "a Boolean";
        case VEK_VT_DATE:
            return "a date";
        case VEK_VT_TEXT:
            return "a text";
        case VEK_VT_WTEXT:
            return "a wide text";
        case VEK_VT_BLOB:
            return "an IString";
        case VEK_VT_DISPATCH:
        case VEK_VT_UNKNOWN:
            return "an object";
        default:
            return "a value of an unknown kind";
    }
}

int32_t CannotParse(std::string_view text, uint32_t type, const char *reason = "") {
    return Fail(kCannotParse, kSetSource,
                "Cannot parse " + Quoted(text) + " as " + KindName(type) + reason);
}

// The vek conversions leave their own error behind; a failure here is always
// reported as the format library's, naming the text.
int32_t CastText(std::string_view text, uint32_t type, VEKVARIANT &parsed) {
    const int32_t length = static_cast<int32_t>(text.size());
    if (IsFailure(VekVarFromStrA(&parsed, text.data(), length)) ||
        IsFailure(VekVarCast(&parsed, &parsed, type)))
        return CannotParse(text, type);
    return 0;
}

template <typename Integer>
int32_t ParseInteger(std::string_view text, uint32_t type, VEKVARIANT &parsed) {
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '+')
        digits.remove_prefix(1);  // from_chars takes '-' only
    if (digits.empty() || (digits[0] == '-' && text[0] == '+'))
        return CannotParse(text, type);
    Integer value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range)
        return CannotParse(text, type, ": out of range");
    if (error != std::errc() || end != digits.data() + digits.size())
        return CannotParse(text, type);
    return type == VEK_VT_INT32 ? VekVarFromInt32(&parsed, static_cast<int32_t>(value))
                                : VekVarFromInt(&parsed, static_cast<int64_t>(value));
}

bool SameIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 32) : text[i];
        const char w = word[i] >= 'a' && word[i] <= 'z' ? static_cast<char>(word[i] - 32) : word[i];
        if (c != w)
            return false;
    }
    return true;
}

int32_t ParseBoolean(std::string_view text, VEKVARIANT &parsed) {
    if (SameIgnoringCase(text, "True") || text == "1")
        return VekVarFromBool(&parsed, 1);
    if (SameIgnoringCase(text, "False") || text == "0")
        return VekVarFromBool(&parsed, 0);
    return CannotParse(text, VEK_VT_BOOL);
}

int32_t ParseBlob(std::string_view text, VEKVARIANT &parsed) {
    const CodecResult bytes = DecodeIString(text);
    if (!bytes.ok())
        return CannotParse(text, VEK_VT_BLOB, ": '#' needs two hexadecimal digits");
    return VekVarFromBlob(&parsed, bytes.bytes.data(), static_cast<int32_t>(bytes.bytes.size()));
}

}  // namespace

int32_t FormatAttributeValue(const VEKVARIANT &value, std::string_view attribute,
                             std::string &text) {
    if (value.type == VEK_VT_BLOB) {
        const auto *bytes = static_cast<const char *>(value.value.blob);
        text = EncodeIString(std::string_view(bytes, static_cast<size_t>(VekArrayCountEx_(bytes))));
        return 0;
    }
    char *counted = nullptr;
    if (VekVarType(&value) == VEK_VT_DISPATCH || VekVarType(&value) == VEK_VT_UNKNOWN ||
        IsFailure(VekVarToStrA(&value, &counted)))
        return Fail(kCannotFormat, kGetSource,
                    "Cannot format attribute " + Quoted(attribute) + ": it holds " +
                        KindName(value.type) + " without a text form");
    text.assign(counted != nullptr ? counted : "", static_cast<size_t>(VekTextLength(counted)));
    VekTextFree(counted);
    return 0;
}

int32_t ParseAttributeValue(std::string_view text, const VEKVARIANT &current, VEKVARIANT &parsed) {
    switch (current.type) {
        case VEK_VT_EMPTY:
        case VEK_VT_NULL:
        case VEK_VT_TEXT:
            return CastText(text, VEK_VT_TEXT, parsed);
        case VEK_VT_WTEXT:
            return CastText(text, VEK_VT_WTEXT, parsed);
        case VEK_VT_INT32:
            return ParseInteger<int32_t>(text, VEK_VT_INT32, parsed);
        case VEK_VT_INT:
            return ParseInteger<int64_t>(text, VEK_VT_INT, parsed);
        case VEK_VT_BOOL:
            return ParseBoolean(text, parsed);
        case VEK_VT_R8:
            // The casts read the empty text as 0; as a formatted number it is none.
            return text.empty() ? CannotParse(text, VEK_VT_R8) : CastText(text, VEK_VT_R8, parsed);
        case VEK_VT_DATE:
            // The casts read the empty text as day 0; as a formatted date it is no date.
            return text.empty() ? CannotParse(text, VEK_VT_DATE)
                                : CastText(text, VEK_VT_DATE, parsed);
        case VEK_VT_BLOB:
            return ParseBlob(text, parsed);
        default:
            return CannotParse(text, current.type);
    }
}

}  // namespace morph
