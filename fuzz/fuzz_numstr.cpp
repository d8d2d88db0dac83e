// NumStrs against GMP: every operator, comparison and base conversion of the
// exports, with operands of any length. Any difference from the value GMP computes,
// or from the width rules of the texts, is a failure.
//
// Random NumStrs are checked against their bounds and excluded value.
//
// Input: byte 0 picks the operation, byte 1 the base (values outside 2..36 occur
// and must be refused), byte 2 the comparison operator, the target base and
// length of a conversion or the length of a random NumStr; the rest holds the
// operands (two, or the three bounds of a random NumStr) split at zero bytes.
// Operand bytes below 0x80 are mapped to digits of the base, others pass unchanged
// (mostly invalid digits).
#include <gmp.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char *kArithmOps[] = {"ADD", "SUB", "MUL", "DIV", "MOD", "AND", "OR", "XOR"};
constexpr const char *kCmpOps[] = {"<",  "LT", "<=", "LE", "=", "EQ",
                                   "<>", "NE", ">=", "GE", ">", "gt"};

constexpr int32_t kInvalidData = static_cast<int32_t>(0xE2090003);
constexpr int32_t kNegative = static_cast<int32_t>(0xE2090009);
constexpr int32_t kTooShort = static_cast<int32_t>(0xE2090008);
constexpr int32_t kDivisionByZero = static_cast<int32_t>(0xC0000094);

class Mpz {
  public:
    Mpz() { mpz_init(value_); }
    Mpz(const Mpz &) = delete;
    Mpz &operator=(const Mpz &) = delete;
    ~Mpz() { mpz_clear(value_); }
    mpz_ptr get() { return value_; }
    mpz_srcptr get() const { return value_; }

  private:
    mpz_t value_;
};

bool ValidIn(std::string_view text, int base) {
    return std::all_of(text.begin(), text.end(), [base](char c) {
        const size_t digit = kDigits.find(c);
        return digit != std::string_view::npos && digit < static_cast<size_t>(base);
    });
}

void Read(Mpz &out, std::string_view text, int base) {
    mpz_set_ui(out.get(), 0);
    if (!text.empty())
        mpz_set_str(out.get(), std::string(text).c_str(), base);
}

std::string Write(const Mpz &value, int base) {
    std::string text(mpz_sizeinbase(value.get(), base) + 2, '\0');
    mpz_get_str(text.data(), -base, value.get());
    text.resize(text.find('\0'));
    return text;
}

std::string Pad(std::string text, size_t width) {
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

std::string_view Strip(std::string_view text) {
    const size_t first = text.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The digit-wise logic: both padded to the longer length, each pair of digits
// combined and written in the base (one or two digits).
std::string DigitWise(std::string_view a, std::string_view b, int base, int op) {
    const size_t width = std::max(a.size(), b.size());
    const std::string pa = Pad(std::string(a), width), pb = Pad(std::string(b), width);
    std::string out;
    for (size_t i = 0; i < width; ++i) {
        const unsigned x = static_cast<unsigned>(kDigits.find(pa[i]));
        const unsigned y = static_cast<unsigned>(kDigits.find(pb[i]));
        const unsigned v = op == 5 ? (x & y) : op == 6 ? (x | y) : (x ^ y);
        if (v >= static_cast<unsigned>(base))
            out += kDigits[v / static_cast<unsigned>(base)];
        out += kDigits[v % static_cast<unsigned>(base)];
    }
    return out;
}

std::string Operand(std::string_view raw, int base) {
    std::string text;
    for (unsigned char c : raw)
        text += c < 0x80 && base >= 2 && base <= 36 ? kDigits[c % base] : static_cast<char>(c);
    return text;
}

void CheckArithm(int op, const std::string &a, const std::string &b, int base) {
    const std::string what =
        std::string(kArithmOps[op]) + "(" + a + "," + b + "," + std::to_string(base) + ")";
    const fuzz::TextOutcome got = fuzz::CheckedText(
        what, [&] { return Str_NumStr_ArithmOpA(a.c_str(), kArithmOps[op], b.c_str(), base); });
    if (base < 2 || base > 36) {
        fuzz::Check(!got.Ok(), what + " accepted a base outside 2..36");
        return;
    }
    if (!ValidIn(a, base) || !ValidIn(b, base)) {
        fuzz::Check(got.code == kInvalidData, what + " did not refuse an invalid digit");
        return;
    }
    Mpz x, y, r;
    Read(x, a, base);
    Read(y, b, base);
    const size_t width = std::max(a.size(), b.size());
    std::string expected;
    switch (op) {
        case 0:
            mpz_add(r.get(), x.get(), y.get());
            expected = a.empty() ? b : b.empty() ? a : Pad(Write(r, base), width);
            break;
        case 1:
            if (Strip(b).empty()) {
                expected = std::string(Strip(a));
            } else if (mpz_cmp(x.get(), y.get()) == 0) {
                expected = "0";
            } else if (mpz_cmp(x.get(), y.get()) < 0) {
                fuzz::Check(got.code == kNegative, what + " did not refuse a negative result");
                return;
            } else {
                mpz_sub(r.get(), x.get(), y.get());
                expected = Pad(Write(r, base), width);
            }
            break;
        case 2:
            mpz_mul(r.get(), x.get(), y.get());
            expected = Pad(Write(r, base), width);
            break;
        case 3:
        case 4:
            if (mpz_sgn(y.get()) == 0) {
                fuzz::Check(got.code == kDivisionByZero, what + " did not fail as a division by 0");
                return;
            }
            if (op == 3)
                mpz_tdiv_q(r.get(), x.get(), y.get());
            else
                mpz_tdiv_r(r.get(), x.get(), y.get());
            expected = Pad(Write(r, base), width);
            break;
        default:
            expected = DigitWise(a, b, base, op);
            // In the power-of-two bases the digit-wise logic is the bitwise one.
            if (base == 2 || base == 4 || base == 8 || base == 16 || base == 32) {
                Mpz bits;
                if (op == 5)
                    mpz_and(bits.get(), x.get(), y.get());
                else if (op == 6)
                    mpz_ior(bits.get(), x.get(), y.get());
                else
                    mpz_xor(bits.get(), x.get(), y.get());
                Read(r, expected, base);
                fuzz::Check(mpz_cmp(r.get(), bits.get()) == 0, what + " is not the bitwise value");
            }
            break;
    }
    fuzz::Check(got.Ok(), what + " failed with " + std::to_string(got.code));
    fuzz::Check(got.Value() == expected, what + " gave " + got.Value() + " instead of " + expected);
}

void CheckCompare(int op, const std::string &a, const std::string &b, int base) {
    const std::string what =
        std::string("Cmp ") + kCmpOps[op] + "(" + a + "," + b + "," + std::to_string(base) + ")";
    const int32_t got = fuzz::CheckedInteger(
        what, [&] { return Str_NumStr_CmpA(a.c_str(), kCmpOps[op], b.c_str(), base); });
    if (base < 2 || base > 36) {
        fuzz::Check(got < 0, what + " accepted a base outside 2..36");
        return;
    }
    if (!ValidIn(a, base) || !ValidIn(b, base)) {
        fuzz::Check(got == kInvalidData, what + " did not refuse an invalid digit");
        return;
    }
    Mpz x, y;
    Read(x, a, base);
    Read(y, b, base);
    const int order = mpz_cmp(x.get(), y.get());
    const bool holds[] = {order<0, order <= 0, order == 0, order != 0, order >= 0, order> 0};
    fuzz::Check(got == (holds[op / 2] ? 1 : 0), what + " gave " + std::to_string(got));
}

void CheckConvert(const std::string &a, int from, int to, int32_t length) {
    const std::string what = "Conv(" + a + "," + std::to_string(from) + "," + std::to_string(to) +
                             "," + std::to_string(length) + ")";
    const fuzz::TextOutcome got =
        fuzz::CheckedText(what, [&] { return Str_NumStr_ConvA(a.c_str(), from, to, length); });
    if (from < 2 || from > 36 || to < 2 || to > 36) {
        fuzz::Check(!got.Ok(), what + " accepted a base outside 2..36");
        return;
    }
    if (!ValidIn(a, from)) {
        fuzz::Check(got.code == kInvalidData, what + " did not refuse an invalid digit");
        return;
    }
    Mpz x;
    Read(x, a, from);
    const std::string written = Write(x, to);
    if (length != -1 && (length < 0 || written.size() > static_cast<size_t>(length))) {
        fuzz::Check(got.code == kTooShort, what + " did not refuse a short length");
        return;
    }
    const std::string expected = length == -1 ? written : Pad(written, static_cast<size_t>(length));
    fuzz::Check(got.Ok(), what + " failed with " + std::to_string(got.code));
    fuzz::Check(got.Value() == expected, what + " gave " + got.Value() + " instead of " + expected);
}

// A random NumStr lies between the bounds given, differs from the excluded value
// and, without bounds, has the length asked for.
void CheckRandom(int32_t length, const std::string &minimum, const std::string &maximum,
                 const std::string &excluded, int base) {
    const std::string what = "Random(" + std::to_string(length) + "," + minimum + "," + maximum +
                             "," + excluded + "," + std::to_string(base) + ")";
    const fuzz::TextOutcome got = fuzz::CheckedText(what, [&] {
        return Str_NumStr_RandomA(length, minimum.c_str(), maximum.c_str(), excluded.c_str(), base);
    });
    if (!got.Ok() || length == 0)
        return;
    fuzz::Check(base >= 2 && base <= 36 && ValidIn(got.Value(), base),
                what + " gave an invalid NumStr " + got.Value());
    Mpz value, bound;
    Read(value, got.Value(), base);
    if (!minimum.empty()) {
        Read(bound, minimum, base);
        fuzz::Check(mpz_cmp(value.get(), bound.get()) >= 0, what + " gave " + got.Value());
    }
    if (!maximum.empty()) {
        Read(bound, maximum, base);
        fuzz::Check(mpz_cmp(value.get(), bound.get()) <= 0, what + " gave " + got.Value());
    }
    if (!excluded.empty()) {
        Read(bound, excluded, base);
        fuzz::Check(mpz_cmp(value.get(), bound.get()) != 0, what + " gave " + got.Value());
    }
    if (minimum.empty() && maximum.empty() && excluded.empty())
        fuzz::Check(got.Value().size() == static_cast<size_t>(length),
                    what + " has another length");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 3)
        return 0;
    const int operation = data[0] % 11;
    // Mostly valid bases; now and then one outside 2..36.
    const int base = data[1] < 0xF0 ? 2 + data[1] % 35 : static_cast<int8_t>(data[1]) + 40;
    const uint8_t extra = data[2];
    const std::string_view rest(reinterpret_cast<const char *>(data + 3), size - 3);
    const std::string a = Operand(fuzz::Part(rest, 0), base);
    const std::string b = Operand(fuzz::Part(rest, 1), base);
    if (operation < 8)
        CheckArithm(operation, a, b, base);
    else if (operation == 8)
        CheckCompare(extra % 12, a, b, base);
    else if (operation == 9)
        CheckConvert(a, base, 2 + extra % 35, extra >= 0xC0 ? -1 : (extra % 64) - 2);
    else
        CheckRandom(extra % 40 - 1, a, b, Operand(fuzz::Part(rest, 2), base), base);
    return 0;
}
