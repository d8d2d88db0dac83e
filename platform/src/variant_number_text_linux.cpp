// Numbers and Booleans to and from wide text, in the en-US form.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "variant_text_linux.h"

namespace platform::variant_text {
namespace {

// Beyond this an exponent only says "too large" or "zero".
constexpr int64_t kExponentLimit = 1'000'000;

bool IsBlank(OLECHAR c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' ||
           c == 0xA0;
}

bool IsDigit(OLECHAR c) {
    return c >= u'0' && c <= u'9';
}

// The value of a digit in base 8 or 16, or -1.
int DigitValue(OLECHAR c, int base) {
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < base ? value : -1;
}

class Reader {
  public:
    explicit Reader(WideView text) : text_(text) {}
    bool AtEnd() const { return pos_ >= text_.size(); }
    OLECHAR Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : OLECHAR{0};
    }
    void Skip(std::size_t count = 1) { pos_ += count; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek()))
            ++pos_;
    }

  private:
    WideView text_;
    std::size_t pos_ = 0;
};

// Signs, parentheses and the currency sign that may stand around a number.
struct Decorations {
    bool sign_seen = false;
    bool negative = false;
    bool open_parenthesis = false;
    bool currency_seen = false;

    // Takes one decoration before the number; false when there is none.
    bool TakeLeading(Reader &in) {
        const OLECHAR c = in.Peek();
        if ((c == u'+' || c == u'-') && !sign_seen && !open_parenthesis) {
            sign_seen = true;
            negative = c == u'-';
        } else if (c == u'(' && !sign_seen && !open_parenthesis) {
            open_parenthesis = true;
        } else if (c == u'$' && !currency_seen) {
            currency_seen = true;
        } else {
            return false;
        }
        in.Skip();
        in.SkipBlanks();
        return true;
    }

    // Takes one decoration after the number; false when there is none.
    bool TakeTrailing(Reader &in) {
        const OLECHAR c = in.Peek();
        if ((c == u'+' || c == u'-') && !sign_seen && !open_parenthesis) {
            sign_seen = true;
            negative = c == u'-';
        } else if (c == u')' && open_parenthesis) {
            open_parenthesis = false;
            negative = true;
            sign_seen = true;
        } else if (c == u'$' && !currency_seen) {
            currency_seen = true;
        } else {
            return false;
        }
        in.Skip();
        in.SkipBlanks();
        return true;
    }
};

// "&H..." or "&O...": an unsigned integer of at most 64 bits.
bool ReadBitPattern(Reader &in, ParsedNumber &out) {
    const OLECHAR kind = in.Peek(1);
    const int base = (kind == u'h' || kind == u'H') ? 16 : (kind == u'o' || kind == u'O') ? 8 : 0;
    if (base == 0)
        return false;
    in.Skip(2);
    const int shift = base == 16 ? 4 : 3;
    uint64_t value = 0;
    int count = 0;
    for (int digit; (digit = DigitValue(in.Peek(), base)) >= 0; in.Skip(), ++count) {
        if ((value >> (64 - shift)) != 0)
            return false;
        value = (value << shift) | static_cast<uint64_t>(digit);
    }
    if (count == 0)
        return false;
    out.has_bit_pattern = true;
    out.bit_pattern = value;
    return true;
}

// Digits with thousands separators, a decimal point and more digits.
bool ReadMantissa(Reader &in, ParsedNumber &out) {
    bool any_digit = false;
    for (;;) {
        const OLECHAR c = in.Peek();
        if (IsDigit(c)) {
            out.digits.push_back(static_cast<char>(c));
            any_digit = true;
        } else if (c != u',' || !any_digit) {
            break;
        }
        in.Skip();
    }
    if (in.Peek() == u'.') {
        in.Skip();
        while (IsDigit(in.Peek())) {
            out.digits.push_back(static_cast<char>(in.Peek()));
            --out.exponent;
            any_digit = true;
            in.Skip();
        }
    }
    return any_digit;
}

// "E", an optional sign and at least one digit; nothing at all is fine too.
bool ReadExponent(Reader &in, ParsedNumber &out) {
    if (in.Peek() != u'e' && in.Peek() != u'E')
        return true;
    in.Skip();
    bool negative = false;
    if (in.Peek() == u'+' || in.Peek() == u'-') {
        negative = in.Peek() == u'-';
        in.Skip();
    }
    if (!IsDigit(in.Peek()))
        return false;
    int64_t value = 0;
    for (; IsDigit(in.Peek()); in.Skip())
        value = std::min(kExponentLimit, value * 10 + (in.Peek() - u'0'));
    out.exponent += negative ? -value : value;
    return true;
}

// Strips leading and trailing zeros, so that zero has no digits and no sign.
void Normalise(ParsedNumber &out) {
    const std::size_t first = out.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        out.digits.clear();
        out.exponent = 0;
        out.negative = false;
        return;
    }
    const std::size_t last = out.digits.find_last_not_of('0');
    out.exponent += static_cast<int64_t>(out.digits.size() - 1 - last);
    out.digits = out.digits.substr(first, last + 1 - first);
}

}  // namespace

bool ParseNumber(WideView text, ParsedNumber &out) {
    out = ParsedNumber{};
    Reader in(text);
    in.SkipBlanks();
    if (in.Peek() == u'&') {
        if (!ReadBitPattern(in, out))
            return false;
        in.SkipBlanks();
        return in.AtEnd();
    }
    Decorations decorations;
    while (decorations.TakeLeading(in)) {
    }
    if (!ReadMantissa(in, out) || !ReadExponent(in, out))
        return false;
    in.SkipBlanks();
    while (decorations.TakeTrailing(in)) {
    }
    if (!in.AtEnd() || decorations.open_parenthesis)
        return false;
    out.negative = decorations.negative;
    Normalise(out);
    return true;
}

bool RoundedScaled(const ParsedNumber &number, int scale, Int128 &out) {
    if (number.has_bit_pattern) {
        out = static_cast<Int128>(number.bit_pattern);
        for (int i = 0; i < scale; ++i)
            out *= 10;
        return true;
    }
    constexpr int64_t kMaxDigits = 38;
    const auto count = static_cast<int64_t>(number.digits.size());
    const int64_t exponent = number.exponent + scale;
    // Digits before the decimal point, and the rounding digit after them.
    const int64_t whole = count + exponent;
    if (whole > kMaxDigits)
        return false;
    Int128 value = 0;
    for (int64_t i = 0; i < whole; ++i)
        value = value * 10 + (i < count ? number.digits[static_cast<std::size_t>(i)] - '0' : 0);
    if (whole >= 0 && whole < count) {
        const char first_dropped = number.digits[static_cast<std::size_t>(whole)];
        // Digits end in a non-zero digit, so anything after the first dropped one
        // makes the remainder more than a half.
        const bool more_than_half =
            first_dropped > '5' || (first_dropped == '5' && whole + 1 < count);
        const bool half = first_dropped == '5' && whole + 1 == count;
        if (more_than_half || (half && (value & 1) != 0))
            ++value;
    }
    out = number.negative ? -value : value;
    return true;
}

bool ToDouble(const ParsedNumber &number, double &out) {
    if (number.has_bit_pattern) {
        out = static_cast<double>(number.bit_pattern);
        return true;
    }
    if (number.digits.empty()) {
        out = 0.0;
        return true;
    }
    const std::string text = number.digits + "e" + std::to_string(number.exponent);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small is zero; too large does not fit.
        if (static_cast<int64_t>(number.digits.size()) + number.exponent > 0)
            return false;
        value = 0.0;
    } else if (error != std::errc() || !std::isfinite(value)) {
        return false;
    }
    out = number.negative ? -value : value;
    return true;
}

bool ParseBooleanWord(WideView text, VARIANT_BOOL &out) {
    auto equals = [&text](std::string_view word) {
        if (text.size() != word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            OLECHAR c = text[i];
            if (c >= u'A' && c <= u'Z')
                c = static_cast<OLECHAR>(c - u'A' + u'a');
            if (c != static_cast<OLECHAR>(word[i]))
                return false;
        }
        return true;
    };
    if (equals("true"))
        out = VARIANT_TRUE;
    else if (equals("false"))
        out = VARIANT_FALSE;
    else
        return false;
    return true;
}

std::string FormatReal(double value, int significant_digits) {
    if (value == 0.0)
        return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significant_digits);
    std::string text(buffer, result.ptr);
    for (char &c : text) {
        if (c == 'e')
            c = 'E';
    }
    return text;
}

std::string FormatSigned(int64_t value) {
    return std::to_string(value);
}

std::string FormatUnsigned(uint64_t value) {
    return std::to_string(value);
}

std::string FormatCurrency(int64_t ten_thousandths) {
    const bool negative = ten_thousandths < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(ten_thousandths)
                                        : static_cast<uint64_t>(ten_thousandths);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
        std::string decimals(digits);
        decimals.erase(decimals.find_last_not_of('0') + 1);
        text += "." + decimals;
    }
    return text;
}

}  // namespace platform::variant_text
