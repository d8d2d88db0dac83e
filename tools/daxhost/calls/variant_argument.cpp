#include "calls/variant_argument.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "text/date_text.h"
#include "text/text_escape.h"

namespace daxhost {

namespace {

constexpr int kMaxReferences = 4;  // "ref:" may repeat, up to this many

// The integer kinds, their names in descriptions and their ranges. The unsigned
// 64-bit kind reads past the signed range by a separate path.
struct IntegerKind {
    std::string_view name;
    VARTYPE vt;
    int64_t minimum;
    int64_t maximum;
};

constexpr IntegerKind kIntegerKinds[] = {
    {"i1", VT_I1, INT8_MIN, INT8_MAX},   {"i2", VT_I2, INT16_MIN, INT16_MAX},
    {"i4", VT_I4, INT32_MIN, INT32_MAX}, {"int", VT_INT, INT32_MIN, INT32_MAX},
    {"i8", VT_I8, INT64_MIN, INT64_MAX}, {"ui1", VT_UI1, 0, UINT8_MAX},
    {"ui2", VT_UI2, 0, UINT16_MAX},      {"ui4", VT_UI4, 0, UINT32_MAX},
    {"uint", VT_UINT, 0, UINT32_MAX},    {"ui8", VT_UI8, 0, INT64_MAX},
};

const IntegerKind *FindIntegerKind(std::string_view name) {
    for (const IntegerKind &kind : kIntegerKinds) {
        if (kind.name == name)
            return &kind;
    }
    return nullptr;
}

const IntegerKind *FindIntegerKind(VARTYPE vt) {
    for (const IntegerKind &kind : kIntegerKinds) {
        if (kind.vt == vt)
            return &kind;
    }
    return nullptr;
}

bool Whole(std::string_view text, const char *end) {
    return end == text.data() + text.size();
}

// The value stored in the member that Windows gives each integer kind; the members
// of one width share their bytes, so the signed ones serve every kind.
void StoreInteger(VARIANT &variant, VARTYPE vt, int64_t value) {
    variant.vt = vt;
    switch (vt) {
        case VT_I1:
        case VT_UI1:
            variant.bVal = static_cast<BYTE>(value);
            break;
        case VT_I2:
        case VT_UI2:
            variant.iVal = static_cast<SHORT>(value);
            break;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
            variant.lVal = static_cast<LONG>(value);
            break;
        default:
            variant.llVal = value;
            break;
    }
}

bool ParseInteger(const IntegerKind &kind, std::string_view text, VARIANT &variant,
                  std::string *error) {
    if (kind.vt == VT_UI8) {
        uint64_t value = 0;
        const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (failure != std::errc() || !Whole(text, end)) {
            *error = "expected a whole number in the range of " + std::string(kind.name);
            return false;
        }
        StoreInteger(variant, VT_UI8, static_cast<int64_t>(value));
        return true;
    }
    int64_t value = 0;
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (failure != std::errc() || !Whole(text, end) || value < kind.minimum ||
        value > kind.maximum) {
        *error = "expected a whole number in the range of " + std::string(kind.name);
        return false;
    }
    StoreInteger(variant, kind.vt, value);
    return true;
}

int64_t IntegerOf(const VARIANT &variant) {
    switch (variant.vt) {
        case VT_I1:
            return static_cast<int8_t>(variant.bVal);
        case VT_UI1:
            return variant.bVal;
        case VT_I2:
            return variant.iVal;
        case VT_UI2:
            return static_cast<uint16_t>(variant.iVal);
        case VT_I4:
        case VT_INT:
            return variant.lVal;
        case VT_UI4:
        case VT_UINT:
            return static_cast<uint32_t>(variant.lVal);
        default:
            return variant.llVal;
    }
}

template <typename Float>
bool ParseReal(std::string_view text, Float &value) {
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    return failure == std::errc() && Whole(text, end);
}

template <typename Float>
std::string ShowReal(Float value) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The bytes of an IString: "#HH" is one byte, any other character itself.
bool DecodeIString(std::string_view text, std::string &bytes) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '#') {
            bytes += text[i];
            continue;
        }
        if (text.size() - i < 3 || HexValue(text[i + 1]) < 0 || HexValue(text[i + 2]) < 0)
            return false;
        bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
        i += 2;
    }
    return true;
}

// The canonical IString: printable ASCII but '#' plain, everything else "#HH".
std::string EncodeIString(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte <= 0x7E && byte != '#') {
            text += c;
        } else {
            text += '#';
            text += kDigits[byte >> 4];
            text += kDigits[byte & 0xF];
        }
    }
    return text;
}

bool StoreBytes(std::string_view bytes, VARIANT &variant) {
    SAFEARRAY *array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (array == nullptr)
        return false;
    void *data = nullptr;
    if (!bytes.empty() && SUCCEEDED(SafeArrayAccessData(array, &data))) {
        std::memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    variant.vt = VT_ARRAY | VT_UI1;
    variant.parray = array;
    return true;
}

std::string ShowBytes(SAFEARRAY *array) {
    if (array == nullptr)
        return "bytes:null";
    if (SafeArrayGetDim(array) != 1)
        return "bytes:(" + std::to_string(SafeArrayGetDim(array)) + " dimensions)";
    const ULONG count = array->rgsabound[0].cElements;
    void *data = nullptr;
    if (count == 0 || FAILED(SafeArrayAccessData(array, &data)))
        return "bytes:\"\"";
    const std::string bytes(static_cast<const char *>(data), count);
    SafeArrayUnaccessData(array);
    return "bytes:" + QuoteText(EncodeIString(bytes));
}

std::string ShowDate(double date) {
    std::string text;
    if (vek::FormatAutomationDate(date, text))
        return "date:" + text;
    return "date:" + ShowReal(date);
}

// One description without a leading "ref:".
bool ParsePlain(std::string_view kind, std::string_view value, bool has_value, VARIANT &variant,
                std::string *error) {
    if (!has_value && (kind == "empty" || kind == "null")) {
        variant.vt = kind == "empty" ? VT_EMPTY : VT_NULL;
        return true;
    }
    if (const IntegerKind *integer = FindIntegerKind(kind); integer && has_value)
        return ParseInteger(*integer, value, variant, error);
    if (kind == "r8" && has_value && ParseReal(value, variant.dblVal)) {
        variant.vt = VT_R8;
        return true;
    }
    if (kind == "r4" && has_value && ParseReal(value, variant.fltVal)) {
        variant.vt = VT_R4;
        return true;
    }
    if (kind == "bool" && (SameIgnoringCase(value, "true") || SameIgnoringCase(value, "false"))) {
        variant.vt = VT_BOOL;
        variant.boolVal = SameIgnoringCase(value, "true") ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    }
    if (kind == "date" && vek::ParseAutomationDate(value, variant.date)) {
        variant.vt = VT_DATE;
        return true;
    }
    if (kind == "bstr" && has_value) {
        variant.vt = VT_BSTR;
        variant.bstrVal = platform::BstrFromText(value);
        return true;
    }
    std::string bytes;
    if (kind == "bytes" && has_value && DecodeIString(value, bytes))
        return StoreBytes(bytes, variant);
    *error =
        "expected empty, null, i1..ui8:N, r4:X, r8:X, bool:true|false, "
        "date:YYYY-MM-DD[ hh:mm:ss], bstr:TEXT, bytes:ISTRING or ref:...";
    return false;
}

}  // namespace

HostVariant &HostVariant::ReferToNew() {
    referenced_ = std::make_unique<HostVariant>();
    VariantClear(&value_);
    value_.vt = VT_BYREF | VT_VARIANT;
    value_.pvarVal = referenced_->Get();
    return *referenced_;
}

bool ParseVariantDescription(std::string_view description, HostVariant &variant,
                             std::string *error) {
    const std::string whole = QuoteText(description);
    HostVariant *target = &variant;
    for (int depth = 0; description.substr(0, 4) == "ref:"; ++depth) {
        if (depth == kMaxReferences) {
            *error = "bad VARIANT description " + whole + ": too many references";
            return false;
        }
        target = &target->ReferToNew();
        description.remove_prefix(4);
    }
    const size_t colon = description.find(':');
    const bool has_value = colon != std::string_view::npos;
    const std::string_view kind = description.substr(0, colon);
    const std::string_view value = has_value ? description.substr(colon + 1) : std::string_view();
    std::string reason;
    if (ParsePlain(kind, value, has_value, *target->Get(), &reason))
        return true;
    *error = "bad VARIANT description " + whole + ": " + reason;
    return false;
}

std::string ShowVariant(const VARIANT &variant) {
    return ShowVariant(variant, 0);
}

std::string ShowVariant(const VARIANT &variant, int depth) {
    if (const IntegerKind *integer = FindIntegerKind(variant.vt)) {
        const int64_t value = IntegerOf(variant);
        return std::string(integer->name) + ":" +
               (variant.vt == VT_UI8 ? std::to_string(static_cast<uint64_t>(value))
                                     : std::to_string(value));
    }
    switch (variant.vt) {
        case VT_EMPTY:
            return "empty";
        case VT_NULL:
            return "null";
        case VT_R4:
            return "r4:" + ShowReal(variant.fltVal);
        case VT_R8:
            return "r8:" + ShowReal(variant.dblVal);
        case VT_BOOL:
            return variant.boolVal == VARIANT_FALSE ? "bool:false" : "bool:true";
        case VT_DATE:
            return ShowDate(variant.date);
        case VT_BSTR:
            return variant.bstrVal == nullptr
                       ? "bstr:null"
                       : "bstr:" + QuoteText(platform::TextFromBstr(variant.bstrVal));
        case VT_ARRAY | VT_UI1:
            return ShowBytes(variant.parray);
        case VT_DISPATCH:
            return variant.pdispVal == nullptr ? "dispatch:null" : "dispatch";
        case VT_UNKNOWN:
            return variant.punkVal == nullptr ? "unknown:null" : "unknown";
        case VT_BYREF | VT_VARIANT:
            if (variant.pvarVal == nullptr || depth == kMaxReferences)
                return variant.pvarVal == nullptr ? "ref:null" : "ref:...";
            return "ref:" + ShowVariant(*variant.pvarVal, depth + 1);
        default: {
            char text[16];
            std::snprintf(text, sizeof text, "vt:0x%04X", static_cast<unsigned>(variant.vt));
            return text;
        }
    }
}

}  // namespace daxhost
