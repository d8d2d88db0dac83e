#include "str/numstr_big.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

#include "str/numstr_check.h"
#include "str/numstr_digits.h"
#include "str/numstr_limbs.h"
#include "str/numstr_radix.h"

namespace Ostrel::Zam {

namespace {

// Numbers that fit one 64-bit word (most NumStrs scripts pass) take a shortcut that
// gives the same texts without the whole-number machinery: reading, operating and
// writing in machine arithmetic. Anything that does not fit, operands or result,
// takes the general way.

// How many digits of each base always fit a word: the largest n with base^n no
// larger than the largest word (so every text of n digits is below it).
constexpr std::array<uint8_t, kMaxNumStrBase + 1> MakeSafeDigits() {
    std::array<uint8_t, kMaxNumStrBase + 1> safe{};
    for (uint64_t radix = kMinNumStrBase; radix <= kMaxNumStrBase; ++radix) {
        uint64_t power = 1;
        uint8_t digits = 0;
        while (power <= UINT64_MAX / radix) {
            power *= radix;
            ++digits;
        }
        safe[radix] = digits;
    }
    return safe;
}
constexpr std::array<uint8_t, kMaxNumStrBase + 1> kSafeDigits = MakeSafeDigits();

// The value of eight decimal digits (checked ones) read as one word: the digits
// are combined in pairs, the pairs in fours and the fours into one number by three
// multiplications, where a loop would wait for eight in turn.
uint64_t EightDecimalDigits(const char *digits) {
    uint64_t word = 0;
    std::memcpy(&word, digits, sizeof word);
    word -= 0x3030303030303030u;
    word = (word * 10 + (word >> 8)) & 0x00FF00FF00FF00FFu;
    word = (word * 100 + (word >> 16)) & 0x0000FFFF0000FFFFu;
    return (word * 10000 + (word >> 32)) & 0xFFFFFFFFu;
}

// The value of a text that fits a word, digits taken in pairs: each step waits for
// the one before it (a multiplication and an addition), so pairs halve the wait;
// a pair itself is worked out beside it.
uint64_t SafeWordValue(std::string_view text, uint64_t radix, uint64_t value) {
    const uint64_t square = radix * radix;
    size_t at = text.size() % 2;
    if (at != 0)
        value = value * radix + DigitValue(text[0]);
    for (; at < text.size(); at += 2)
        value = value * square + (DigitValue(text[at]) * radix + DigitValue(text[at + 1]));
    return value;
}

// The value of a text whose value fits 64 bits; none for a larger one. The digits
// have been checked: decimal ones are '0'..'9', read eight at a time where the
// machine keeps the first byte of a word lowest.
std::optional<uint64_t> WordValue(std::string_view text, int32_t base) {
    const auto radix = static_cast<uint64_t>(base);
    uint64_t value = 0;
    if (text.size() <= kSafeDigits[static_cast<size_t>(base)]) {
        if (base != 10 || text.size() < 8 || std::endian::native != std::endian::little)
            return SafeWordValue(text, radix, 0);
        const size_t lead = text.size() % 8;
        value = SafeWordValue(text.substr(0, lead), radix, 0);
        for (size_t at = lead; at < text.size(); at += 8)
            value = value * 100000000u + EightDecimalDigits(text.data() + at);
        return value;
    }
    for (const char c : text) {
        if (__builtin_mul_overflow(value, radix, &value) ||
            __builtin_add_overflow(value, uint64_t{DigitValue(c)}, &value))
            return std::nullopt;
    }
    return value;
}

// Writes the digits of a word backwards, ending at `end`; returns the first.
template <uint64_t kRadix>
char *WriteDigits(uint64_t value, char *end) {
    do {
        *--end = DigitChar(static_cast<uint32_t>(value % kRadix));
        value /= kRadix;
    } while (value != 0);
    return end;
}

char *WriteDigits(uint64_t value, uint64_t radix, char *end) {
    // The usual bases with the division by a constant, which costs a
    // multiplication instead of a division per digit.
    switch (radix) {
        case 10:
            return WriteDigits<10>(value, end);
        case 16:
            return WriteDigits<16>(value, end);
        case 2:
            return WriteDigits<2>(value, end);
        case 8:
            return WriteDigits<8>(value, end);
        default:
            do {
                *--end = DigitChar(static_cast<uint32_t>(value % radix));
                value /= radix;
            } while (value != 0);
            return end;
    }
}

// The digits of a word in the base, without leading zeros; 0 gives "0".
std::string FormatWord(uint64_t value, int32_t base) {
    char digits[64];  // 64 binary digits at most
    char *const end = digits + sizeof digits;
    const char *start = WriteDigits(value, static_cast<uint64_t>(base), end);
    return std::string(start, static_cast<size_t>(end - start));
}

#if defined(__SIZEOF_INT128__)
// A product of two words, where the compiler has a type for it.
__extension__ typedef unsigned __int128 DoubleWord;

// The digits of a double word: split into words of the largest power of the base
// that fits one (at most three of them), each written with all its digits but the
// top one.
std::string FormatDoubleWord(DoubleWord value, int32_t base) {
    const auto radix = static_cast<uint64_t>(base);
    uint64_t power = radix;
    int power_digits = 1;
    while (power <= UINT64_MAX / radix) {
        power *= radix;
        ++power_digits;
    }
    uint64_t lower[3];
    int count = 0;
    while (value > UINT64_MAX) {
        lower[count++] = static_cast<uint64_t>(value % power);
        value /= power;
    }
    std::string digits = FormatWord(static_cast<uint64_t>(value), base);
    while (count > 0) {
        char part[64];
        char *const end = part + sizeof part;
        char *start = WriteDigits(lower[--count], radix, end);
        while (end - start < power_digits)
            *--start = '0';
        digits.append(start, static_cast<size_t>(end - start));
    }
    return digits;
}
#endif

// The digits padded with leading zeros to the longer operand's length.
std::string FormatWordPadded(std::string digits, std::string_view a, std::string_view b) {
    const size_t width = std::max(a.size(), b.size());
    return digits.size() < width ? PadWithZeros(digits, width) : digits;
}

struct WordOperands {
    uint64_t a = 0;
    uint64_t b = 0;
};

std::optional<WordOperands> WordsOf(std::string_view a, std::string_view b, int32_t base) {
    const std::optional<uint64_t> x = WordValue(a, base);
    if (!x.has_value())
        return std::nullopt;
    const std::optional<uint64_t> y = WordValue(b, base);
    if (!y.has_value())
        return std::nullopt;
    return WordOperands{*x, *y};
}

std::string FormatPadded(const BigNumber &value, std::string_view a, std::string_view b,
                         int32_t base) {
    return PadWithZeros(FormatNumStr(value, base), std::max(a.size(), b.size()));
}

struct Division {
    Limbs quotient;
    Limbs remainder;
};

Division Divide(std::string_view a, std::string_view b, int32_t base) {
    Division result;
    DivideLimbs(ToLimbs(ParseNumStr(a, base)), ToLimbs(ParseNumStr(b, base)), result.quotient,
                result.remainder);
    return result;
}

}  // namespace

bool NumStrIsZero(std::string_view text) {
    return StripLeadingZeros(text).empty();
}

std::string NumStrMul(std::string_view a, std::string_view b, int32_t base) {
    if (const std::optional<WordOperands> words = WordsOf(a, b, base)) {
        uint64_t product = 0;
        if (!__builtin_mul_overflow(words->a, words->b, &product))
            return FormatWordPadded(FormatWord(product, base), a, b);
#if defined(__SIZEOF_INT128__)
        const DoubleWord wide = static_cast<DoubleWord>(words->a) * words->b;
        return FormatWordPadded(FormatDoubleWord(wide, base), a, b);
#endif
    }
    return FormatPadded(ParseNumStr(a, base) * ParseNumStr(b, base), a, b, base);
}

std::string NumStrDiv(std::string_view a, std::string_view b, int32_t base) {
    if (const std::optional<WordOperands> words = WordsOf(a, b, base); words && words->b != 0)
        return FormatWordPadded(FormatWord(words->a / words->b, base), a, b);
    return FormatPadded(FromLimbs(Divide(a, b, base).quotient), a, b, base);
}

std::string NumStrMod(std::string_view a, std::string_view b, int32_t base) {
    if (const std::optional<WordOperands> words = WordsOf(a, b, base); words && words->b != 0)
        return FormatWordPadded(FormatWord(words->a % words->b, base), a, b);
    return FormatPadded(FromLimbs(Divide(a, b, base).remainder), a, b, base);
}

std::string_view NumStrConvertWord(std::string_view text, int32_t from, int32_t to,
                                   char (&room)[kWordDigitsRoom]) {
    const std::optional<uint64_t> value = WordValue(text, from);
    if (!value.has_value())
        return {};
    char *const end = room + kWordDigitsRoom;
    const char *start = WriteDigits(*value, static_cast<uint64_t>(to), end);
    return std::string_view(start, static_cast<size_t>(end - start));
}

std::string NumStrConvert(std::string_view text, int32_t from, int32_t to) {
    if (const std::optional<uint64_t> value = WordValue(text, from))
        return FormatWord(*value, to);
    return FormatNumStr(ParseNumStr(text, from), to);
}

}  // namespace Ostrel::Zam
