// Digit-wise NumStr arithmetic. Every operation is one loop over the digits, from
// the right for the carrying operations and from the left for the logic operators,
// so texts of any length cost time linear in their length.
#include "str/numstr_digits.h"

#include <algorithm>
#include <bit>

#include "frame/error_model.h"
#include "str/numstr_check.h"

namespace Ostrel::Zam {

namespace {

[[noreturn]] void RaiseNegative(std::string_view a, std::string_view b, int32_t base) {
    const std::string shown_a(a.substr(0, 99));
    const std::string shown_b(b.substr(0, 99));
    RaiseErrorFormat(0xE2090009, "Str.NumStrSub",
                     "NumStrSub(%.99s,%.99s,%d) failed: result would be negative", shown_a.c_str(),
                     shown_b.c_str(), static_cast<int>(base));
}

// Calls visit(x, y) for the digit values of each position from the left, the
// shorter text padded with leading zeros; x is the longer text's digit. (The logic
// operators are symmetric, so the order of the operands does not matter.)
template <class Visit>
void ForEachDigitPair(std::string_view a, std::string_view b, Visit visit) {
    const std::string_view longer = a.size() >= b.size() ? a : b;
    const std::string_view shorter = a.size() >= b.size() ? b : a;
    const size_t padding = longer.size() - shorter.size();
    for (size_t i = 0; i < padding; ++i)
        visit(DigitValue(longer[i]), 0u);
    for (size_t i = 0; i < shorter.size(); ++i)
        visit(DigitValue(longer[padding + i]), DigitValue(shorter[i]));
}

// A combined value stays below 2 * base (both digits are below the base, so the
// value has no more bits than base - 1), so it takes one digit, or two with a
// leading "1" from the base on. The result is measured first and then written.
template <class Combine>
std::string CombineDigits(std::string_view a, std::string_view b, int32_t base, Combine combine) {
    const auto radix = static_cast<uint32_t>(base);
    size_t length = std::max(a.size(), b.size());
    if (!std::has_single_bit(radix))
        ForEachDigitPair(a, b, [&](uint32_t x, uint32_t y) { length += combine(x, y) >= radix; });
    std::string out(length, '1');
    char *next = out.data();
    ForEachDigitPair(a, b, [&](uint32_t x, uint32_t y) {
        uint32_t value = combine(x, y);
        if (value >= radix) {
            ++next;  // the leading "1" stands there already
            value -= radix;
        }
        *next++ = DigitChar(value);
    });
    return out;
}

}  // namespace

std::string_view StripLeadingZeros(std::string_view text) {
    // A plain loop: NumStrs are mostly short, and most have no leading zero at all.
    size_t first = 0;
    while (first < text.size() && text[first] == '0')
        ++first;
    return text.substr(first);
}

std::string PadWithZeros(std::string_view text, size_t width) {
    std::string padded;
    if (text.size() < width)
        padded.assign(width - text.size(), '0');
    padded.append(text);
    return padded;
}

namespace {

// The order of two NumStrs without leading zeros: the longer is larger, texts of
// one length compare digit by digit. Short ones (most) in a plain loop, which
// costs less than the call to the library's comparison that long ones are worth.
int CompareStripped(std::string_view x, std::string_view y) {
    constexpr size_t kShort = 32;
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    if (x.size() > kShort) {
        const int order = x.compare(y);
        return (order > 0) - (order < 0);
    }
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i] != y[i])
            return static_cast<unsigned char>(x[i]) < static_cast<unsigned char>(y[i]) ? -1 : 1;
    }
    return 0;
}

}  // namespace

int NumStrCompare(std::string_view a, std::string_view b) {
    return CompareStripped(StripLeadingZeros(a), StripLeadingZeros(b));
}

std::string NumStrAdd(std::string_view a, std::string_view b, int32_t base) {
    if (a.empty())
        return std::string(b);
    if (b.empty())
        return std::string(a);
    const std::string_view longer = a.size() >= b.size() ? a : b;
    const std::string_view shorter = a.size() >= b.size() ? b : a;
    const size_t width = longer.size();
    const auto radix = static_cast<uint32_t>(base);
    // One position more than the longer operand for a carry out of the top digits.
    // Digits are added from the right: first the positions both texts have, then
    // the longer text's own.
    std::string sum(width + 1, '1');
    char *out = sum.data() + width;
    const char *l = longer.data() + width;
    const char *s = shorter.data() + shorter.size();
    uint32_t carry = 0;
    for (size_t i = 0; i < shorter.size(); ++i) {
        const uint32_t digit = DigitValue(*--l) + DigitValue(*--s) + carry;
        carry = digit >= radix ? 1u : 0u;
        *out-- = DigitChar(digit - carry * radix);
    }
    for (size_t i = shorter.size(); i < width; ++i) {
        const uint32_t digit = DigitValue(*--l) + carry;
        carry = digit >= radix ? 1u : 0u;
        *out-- = DigitChar(digit - carry * radix);
    }
    if (carry == 0)
        sum.erase(0, 1);
    return sum;
}

std::string NumStrSub(std::string_view a, std::string_view b, int32_t base) {
    const size_t width = std::max(a.size(), b.size());
    const std::string_view x = StripLeadingZeros(a);
    const std::string_view y = StripLeadingZeros(b);
    if (y.empty())
        return std::string(x);
    const int order = CompareStripped(x, y);
    if (order == 0)
        return "0";
    if (order < 0)
        RaiseNegative(x, y, base);
    // x > y here, so x has at least as many digits as y: first the positions both
    // have, then x's own, from the right.
    std::string difference(width, '0');
    char *out = difference.data() + width;
    const char *m = x.data() + x.size();
    const char *s = y.data() + y.size();
    const auto radix = static_cast<uint32_t>(base);
    uint32_t borrow = 0;
    for (size_t i = 0; i < y.size(); ++i) {
        const uint32_t subtrahend = DigitValue(*--s) + borrow;
        const uint32_t minuend = DigitValue(*--m);
        borrow = minuend < subtrahend ? 1u : 0u;
        *--out = DigitChar(minuend + borrow * radix - subtrahend);
    }
    for (size_t i = y.size(); i < x.size(); ++i) {
        const uint32_t minuend = DigitValue(*--m);
        const uint32_t subtrahend = borrow;
        borrow = minuend < subtrahend ? 1u : 0u;
        *--out = DigitChar(minuend + borrow * radix - subtrahend);
    }
    return difference;
}

std::string NumStrAnd(std::string_view a, std::string_view b, int32_t base) {
    return CombineDigits(a, b, base, [](uint32_t x, uint32_t y) { return x & y; });
}

std::string NumStrOr(std::string_view a, std::string_view b, int32_t base) {
    return CombineDigits(a, b, base, [](uint32_t x, uint32_t y) { return x | y; });
}

std::string NumStrXor(std::string_view a, std::string_view b, int32_t base) {
    return CombineDigits(a, b, base, [](uint32_t x, uint32_t y) { return x ^ y; });
}

}  // namespace Ostrel::Zam
