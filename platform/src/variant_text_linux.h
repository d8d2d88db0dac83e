// Numbers, Booleans and dates to and from wide text, for VariantChangeType where
// the system has no oleaut32. Texts are read and written in the en-US form for
// every locale: "." before decimals, "," between thousands, "$" as currency sign,
// dates M/d/yyyy and times h:mm:ss AM/PM.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com.h"

#if !defined(__SIZEOF_INT128__)
#include <boost/multiprecision/cpp_int.hpp>
#endif

namespace platform::variant_text {

using WideView = std::basic_string_view<OLECHAR>;
#if defined(__SIZEOF_INT128__)
__extension__ typedef __int128 Int128;
#else
// 32-bit targets have no built-in 128-bit integer: a fixed 128-bit one of Boost
// (sign and magnitude; the code only relies on ranges, not on bit patterns of
// negative values).
using Int128 = boost::multiprecision::int128_t;
#endif

// A number read from text. Decimal texts keep every significant digit, so that
// the conversion to each kind rounds exactly once: the value is
// (negative ? -1 : 1) * digits * 10^exponent. "&H" and "&O" texts hold their
// value as an unsigned bit pattern instead.
struct ParsedNumber {
    bool negative = false;
    std::string digits;  // without leading zeros; empty for zero
    int64_t exponent = 0;
    bool has_bit_pattern = false;
    uint64_t bit_pattern = 0;
    bool bit_pattern_too_large = false;
};

// Reads a number: blanks around it, a sign before or after it or parentheses for
// a negative number, thousands separators in the integer part, a decimal point,
// an exponent, a currency sign, or a hexadecimal (&H) or octal (&O) integer.
// False when the text is no number or its exponent is absurd.
bool ParseNumber(WideView text, ParsedNumber &out);

// The number scaled by 10^scale and rounded half to even, or false when it has
// more than 38 digits or is a bit pattern of more than 64 bits. The sign is applied.
bool RoundedScaled(const ParsedNumber &number, int scale, Int128 &out);

// The number as the nearest double; false when it is beyond the double range.
bool ToDouble(const ParsedNumber &number, double &out);

// "True" / "False" in any case, or "#TRUE#" / "#FALSE#" as scripts' data files
// write them, as VARIANT_TRUE / VARIANT_FALSE.
bool ParseBooleanWord(WideView text, VARIANT_BOOL &out);

// Reals with 15 (double) or 7 (float) significant digits, as printf's %G writes
// them, never "-0"; integers in decimal; currency with up to four decimals.
std::string FormatReal(double value, int significant_digits);
std::string FormatSigned(int64_t value);
std::string FormatUnsigned(uint64_t value);
std::string FormatCurrency(int64_t ten_thousandths);

// A date and time: M/d/yyyy h:mm:ss AM/PM (the year without leading zeros), the
// date alone at midnight and the time alone on day 0 (1899-12-30); the time is
// rounded to the second. False for a date outside the years 100..9999.
bool FormatDate(DATE value, std::string &out);

// Reads a date, a time, or a date followed by a time: numeric dates month first
// (M/d/yyyy, M-d-yy) or year first (yyyy-M-d, yyyy/M/d), month names in English
// (December 6, 2026; 6-Dec-2026; December 2026 for its first day), a weekday name
// before them (names in full or as three letters), times h[:mm[:ss]] with an
// optional AM or PM. Years below 50 are 20xx, the others below 100 19xx; a date
// without a year is in the current year. False for anything else or an invalid
// date.
bool ParseDate(WideView text, DATE &out);

}  // namespace platform::variant_text
