// Conversions between whole numbers and their digit texts in any radix 2..36.
#include <cstring>
#include <string>
#include <string_view>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "text/text_view.h"
#include "vek64.h"

namespace {

using vek::ViewOf;

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
// The longest counted text: its block of at most 0x7FFFFFF0 bytes ends in a zero.
constexpr int64_t kMostDigits = 0x7FFFFFEF;

int DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 10;
    return 99;
}

struct Parsed {
    bool negative = false;
    uint64_t magnitude = 0;
    int32_t consumed = 0;  // or a failure status
};

// Reads an optional sign and the longest run of digits; `limit` is the largest
// magnitude accepted for a positive number (one more is allowed for a negative one
// when `allow_minus`).
Parsed ParseDigits(std::string_view text, int32_t radix, bool allow_minus, uint64_t limit,
                   const char *function) {
    Parsed out;
    if (radix < 2 || radix > 36) {
        out.consumed = vek::Fail(VEK_E_INVALIDARG, function, "Invalid radix: %d", radix);
        return out;
    }
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || (allow_minus && text[i] == '-'))) {
        out.negative = text[i] == '-';
        ++i;
    }
    const size_t first_digit = i;
    const uint64_t bound = out.negative ? limit + 1 : limit;
    for (; i < text.size() && DigitValue(text[i]) < radix; ++i) {
        const auto digit = static_cast<uint64_t>(DigitValue(text[i]));
        if (out.magnitude > (bound - digit) / static_cast<uint64_t>(radix)) {
            out.consumed = vek::Fail(VEK_E_OVERFLOW, function, "Number \"%.200s\" is out of range",
                                     std::string(text.substr(0, 200)).c_str());
            out.magnitude = 0;
            return out;
        }
        out.magnitude = out.magnitude * static_cast<uint64_t>(radix) + digit;
    }
    if (i == first_digit) {
        out.negative = false;
        return out;  // no digits: nothing consumed
    }
    out.consumed = static_cast<int32_t>(i);
    return out;
}

void Report(int32_t *consumed, int32_t value) {
    if (consumed != nullptr)
        *consumed = value;
}

char *FormatDigits(uint64_t magnitude, bool negative, int32_t radix, int32_t width, int32_t fill,
                   char *buffer, int32_t buffer_size, const char *function) {
    if (radix < 2 || radix > 36) {
        vek::Fail(VEK_E_INVALIDARG, function, "Invalid radix: %d", radix);
        return nullptr;
    }
    char digits[72];
    int count = 0;
    do {
        digits[count++] = kDigits[magnitude % static_cast<uint64_t>(radix)];
        magnitude /= static_cast<uint64_t>(radix);
    } while (magnitude != 0);
    if (negative)
        digits[count++] = '-';
    const int32_t padding = width > count ? width - count : 0;
    const int64_t length = int64_t{count} + padding;
    // Refused before the padding is built: a width near 2^31 would otherwise take
    // gigabytes first (and cannot be had at all with 32-bit pointers).
    if (buffer != nullptr && buffer_size <= length) {
        vek::Fail(VEK_E_INVALIDARG, function, "Buffer of %d bytes cannot hold %lld digits",
                  buffer_size, static_cast<long long>(length));
        return nullptr;
    }
    if (length > kMostDigits) {
        vek::Fail(VEK_E_OVERFLOW, function, "%lld digits are more than a text holds",
                  static_cast<long long>(length));
        return nullptr;
    }
    std::string text(static_cast<size_t>(padding), static_cast<char>(fill));
    for (int i = count; i-- > 0;)
        text.push_back(digits[i]);
    if (buffer == nullptr)
        return VekTextNewA(text.data(), static_cast<int32_t>(text.size()));
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return buffer;
}

}  // namespace

VEK_API int32_t VEK_CALL VekStrnToInt32A(const char *text, int32_t length, int32_t radix,
                                         int32_t *consumed) {
    const Parsed p = ParseDigits(ViewOf(text, length), radix, true, INT32_MAX, "VekStrnToInt32A");
    Report(consumed, p.consumed);
    return p.negative ? static_cast<int32_t>(-static_cast<int64_t>(p.magnitude))
                      : static_cast<int32_t>(p.magnitude);
}

VEK_API uint32_t VEK_CALL VekStrnToUint32A(const char *text, int32_t length, int32_t radix,
                                           int32_t *consumed) {
    const Parsed p =
        ParseDigits(ViewOf(text, length), radix, false, UINT32_MAX, "VekStrnToUint32A");
    Report(consumed, p.consumed);
    return static_cast<uint32_t>(p.magnitude);
}

VEK_API int64_t VEK_CALL VekStrnToInt64A(const char *text, int32_t length, int32_t radix,
                                         int32_t *consumed) {
    const Parsed p = ParseDigits(ViewOf(text, length), radix, true, INT64_MAX, "VekStrnToInt64A");
    Report(consumed, p.consumed);
    if (!p.negative)
        return static_cast<int64_t>(p.magnitude);
    return p.magnitude == static_cast<uint64_t>(INT64_MAX) + 1 ? INT64_MIN
                                                               : -static_cast<int64_t>(p.magnitude);
}

VEK_API char *VEK_CALL VekInt32ToStrnA(int32_t value, int32_t radix, int32_t width, int32_t fill,
                                       uint32_t flags, char *buffer, int32_t buffer_size) {
    const bool as_unsigned = (flags & VEK_NUMBER_UNSIGNED) != 0 || value >= 0;
    const uint64_t magnitude = as_unsigned ? static_cast<uint32_t>(value)
                                           : static_cast<uint64_t>(-static_cast<int64_t>(value));
    return vek::GuardPointer("VekInt32ToStrnA", [&] {
        return FormatDigits(magnitude, !as_unsigned, radix, width, fill, buffer, buffer_size,
                            "VekInt32ToStrnA");
    });
}

VEK_API char *VEK_CALL VekInt64ToStrnA(int64_t value, int32_t radix, int32_t width, int32_t fill,
                                       uint32_t flags, char *buffer, int32_t buffer_size) {
    const bool as_unsigned = (flags & VEK_NUMBER_UNSIGNED) != 0 || value >= 0;
    const uint64_t magnitude =
        as_unsigned ? static_cast<uint64_t>(value) : 0 - static_cast<uint64_t>(value);
    return vek::GuardPointer("VekInt64ToStrnA", [&] {
        return FormatDigits(magnitude, !as_unsigned, radix, width, fill, buffer, buffer_size,
                            "VekInt64ToStrnA");
    });
}
