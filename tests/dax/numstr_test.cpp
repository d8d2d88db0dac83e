// The NumStr exports, called as a script host calls them.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <string_view>

#include "dax64.h"
#include "imports/vek_imports.h"
#include "str/numstr_limbs.h"
#include "str/random_digit.h"

namespace {

struct Outcome {
    std::string text;
    int32_t code = 0;  // 0: success
    std::string source;
    std::string description;
};

std::string Take(char *text) {
    std::string value = text != nullptr ? std::string(text) : std::string();
    VekTextFree(text);
    return value;
}

// The result of a text export, or the error it left on the thread.
template <class Call>
Outcome Run(Call call) {
    ZamSetErrorInfo(nullptr);
    Outcome outcome;
    outcome.text = Take(call());
    outcome.code = ZamGetLastError();
    if (outcome.code != 0) {
        outcome.source = Take(ZamGetLastErrorSourceA());
        outcome.description = Take(ZamGetLastErrorDescriptionA());
    }
    return outcome;
}

Outcome Arith(std::string_view a, const char *op, std::string_view b, int32_t base = 10) {
    const std::string x(a), y(b);
    return Run([&] { return Str_NumStr_ArithmOpA(x.c_str(), op, y.c_str(), base); });
}

// The text of a successful operation; a failure fails the test.
std::string Calc(std::string_view a, const char *op, std::string_view b, int32_t base = 10) {
    const Outcome outcome = Arith(a, op, b, base);
    EXPECT_EQ(outcome.code, 0) << a.substr(0, 40) << ' ' << op << ' ' << b.substr(0, 40) << ": "
                               << outcome.description;
    return outcome.text;
}

Outcome Conv(const char *text, int32_t from, int32_t to, int32_t length = -1) {
    return Run([&] { return Str_NumStr_ConvA(text, from, to, length); });
}

Outcome Random(int32_t length, const char *min, const char *max, const char *excluded,
               int32_t base = 10) {
    return Run([&] { return Str_NumStr_RandomA(length, min, max, excluded, base); });
}

int32_t Cmp(std::string_view a, const char *op, std::string_view b, int32_t base = 10) {
    const std::string x(a), y(b);
    return Str_NumStr_CmpA(x.c_str(), op, y.c_str(), base);
}

constexpr int32_t Code(uint32_t bits) {
    return static_cast<int32_t>(bits);
}

std::string Upper(std::string text) {
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string InBase(uint64_t value, int base) {
    char buffer[80];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, base);
    return Upper(std::string(buffer, result.ptr));
}

std::string Padded(std::string text, size_t width) {
    return text.size() < width ? std::string(width - text.size(), '0') + text : text;
}

std::string RandomDigits(std::mt19937_64 &engine, size_t count, int base) {
    static constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string text(count, '0');
    for (char &c : text)
        c = kDigits[engine() % static_cast<uint64_t>(base)];
    if (count > 0 && text[0] == '0')
        text[0] = '1';
    return text;
}

std::string Stripped(std::string_view text) {
    const size_t first = text.find_first_not_of('0');
    return first == std::string_view::npos ? "" : std::string(text.substr(first));
}

bool AllDigitsBelow(std::string_view text, int base) {
    for (const char c : text) {
        const int value = c <= '9' ? c - '0' : c - 'A' + 10;
        if (c < '0' || (c > '9' && c < 'A') || c > 'Z' || value >= base)
            return false;
    }
    return true;
}

// ---- validation ---------------------------------------------------------------

TEST(NumStrValidation, DigitsAreCheckedAgainstTheBase) {
    for (int32_t base = 2; base <= 36; ++base)
        EXPECT_EQ(Cmp("a", "=", "0", base), Code(0xE2090003)) << base;
    EXPECT_EQ(Cmp("2", "=", "0", 2), Code(0xE2090003));
    EXPECT_EQ(Cmp("A", "=", "0", 10), Code(0xE2090003));
    EXPECT_EQ(Cmp("G", "=", "0", 16), Code(0xE2090003));
    EXPECT_EQ(Cmp("1", "=", " 1", 10), Code(0xE2090003));
    EXPECT_EQ(Cmp("Z", ">", "Y", 36), 1);
    EXPECT_EQ(Cmp("", "=", "", 2), 1);

    const Outcome bad = Arith("12", "ADD", "1x2");
    EXPECT_EQ(bad.code, Code(0xE2090003));
    EXPECT_EQ(bad.source, "Str.CheckNumStr");
    EXPECT_EQ(bad.description, "\"1x2\" is invalid");
    const Outcome long_text = Arith(std::string(300, '1') + "-", "ADD", "1");
    EXPECT_EQ(long_text.description, "\"" + std::string(242, '1') + "\" is invalid");
}

// Decimal texts are checked eight bytes a step: a byte just outside '0'..'9' (or
// far outside it) is found at every place of a long text, and all digits pass.
TEST(NumStrValidation, EveryPlaceOfALongDecimalTextIsChecked) {
    const std::string digits = "01234567890123456789012345";
    EXPECT_EQ(Cmp(digits, "=", digits, 10), 1);
    for (const char bad : {'/', ':', '@', '\x7F', '\x80', '\xFA', '\xFF', 'A'}) {
        for (size_t at = 0; at < digits.size(); ++at) {
            std::string text = digits;
            text[at] = bad;
            EXPECT_EQ(Cmp(text, "=", "1", 10), Code(0xE2090003))
                << "byte " << static_cast<int>(static_cast<unsigned char>(bad)) << " at " << at;
        }
    }
}

TEST(NumStrValidation, BasesOutside2To36AreRejected) {
    for (const int32_t base : {-10, 0, 1, 37, 100}) {
        const Outcome arith = Arith("1", "ADD", "1", base);
        EXPECT_EQ(arith.code, Code(0xE2090003));
        EXPECT_EQ(arith.source, "Str.Str_NumStr_ArithmOp");
        EXPECT_EQ(arith.description, "Invalid base: " + std::to_string(base));
        EXPECT_EQ(Cmp("1", "=", "1", base), Code(0xE2090003));
        EXPECT_EQ(Random(3, "", "", "", base).source, "Str.Str_NumStr_Random");
        EXPECT_EQ(Conv("1", base, 10).source, "Str.Str_NumStr_Conv");
        EXPECT_EQ(Conv("1", 10, base).description, "Invalid base: " + std::to_string(base));
    }
}

TEST(NumStrValidation, OperatorsMatchWholeTextsIgnoringCase) {
    EXPECT_EQ(Calc("2", "add", "3"), "5");
    EXPECT_EQ(Calc("7", "Mod", "4"), "3");
    const Outcome unknown = Arith("1", "PLUS", "1");
    EXPECT_EQ(unknown.code, Code(0xE209000A));
    EXPECT_EQ(unknown.source, "Str.Str_NumStr_ArithmOp");
    EXPECT_EQ(unknown.description, "Unknown operator: \"PLUS\"");
    EXPECT_EQ(Arith("1", "ADDX", "1").code, Code(0xE209000A));
    EXPECT_EQ(Arith("1", nullptr, "1").description, "Unknown operator: \"\"");
    EXPECT_EQ(Cmp("1", "==", "1"), Code(0xE209000A));
    EXPECT_EQ(Cmp("1", "eq", "1"), 1);
}

// ---- addition and subtraction -------------------------------------------------

TEST(NumStrAddSub, KeepWidthsAndLeadingZeros) {
    EXPECT_EQ(Calc("999", "ADD", "1"), "1000");
    EXPECT_EQ(Calc("0099", "ADD", "1"), "0100");
    EXPECT_EQ(Calc("", "ADD", "12"), "12");
    EXPECT_EQ(Calc("007", "ADD", ""), "007");
    EXPECT_EQ(Calc("9", "ADD", "9"), "18");
    EXPECT_EQ(Calc("FF", "ADD", "1", 16), "100");
    EXPECT_EQ(Calc("0010", "SUB", "3"), "0007");
    EXPECT_EQ(Calc("5", "SUB", "5"), "0");
    EXPECT_EQ(Calc("0010", "SUB", "0"), "10");  // a zero subtrahend returns a unpadded
    EXPECT_EQ(Calc("1000", "SUB", "1"), "0999");
    EXPECT_EQ(Calc("10", "SUB", "0001"), "0009");
}

TEST(NumStrAddSub, NegativeDifferenceFails) {
    const Outcome negative = Arith("3", "SUB", "10");
    EXPECT_EQ(negative.code, Code(0xE2090009));
    EXPECT_EQ(negative.source, "Str.NumStrSub");
    EXPECT_EQ(negative.description, "NumStrSub(3,10,10) failed: result would be negative");
    EXPECT_EQ(Arith("0003", "SUB", "0010", 16).description,
              "NumStrSub(3,10,16) failed: result would be negative");
}

TEST(NumStrAddSub, AgreeWithMachineArithmetic) {
    std::mt19937_64 engine(7);
    for (int i = 0; i < 2000; ++i) {
        const int base = 2 + static_cast<int>(engine() % 35);
        const uint64_t x = engine() >> 2, y = engine() >> 2;
        const std::string a = InBase(x, base), b = InBase(y, base);
        const size_t width = std::max(a.size(), b.size());
        const std::string sum = InBase(x + y, base);
        EXPECT_EQ(Calc(a, "ADD", b, base), sum.size() > width ? sum : Padded(sum, width));
        if (x > y) {
            EXPECT_EQ(Calc(a, "SUB", b, base), Padded(InBase(x - y, base), width));
        }
    }
}

TEST(NumStrAddSub, HundredThousandDigitOperands) {
    const std::string nines(100000, '9');
    const std::string power = "1" + std::string(100000, '0');
    EXPECT_EQ(Calc(nines, "ADD", "1"), power);
    EXPECT_EQ(Calc(power, "SUB", "1"), "0" + nines);
    std::mt19937_64 engine(11);
    const std::string a = RandomDigits(engine, 100000, 10), b = RandomDigits(engine, 99990, 10);
    EXPECT_EQ(Stripped(Calc(Calc(a, "ADD", b), "SUB", b)), a);
    EXPECT_EQ(Stripped(Calc(Calc(a, "SUB", b), "ADD", b)), a);
}

// ---- multiplication, division and remainder -------------------------------------

TEST(NumStrMulDivMod, PadToTheLongerOperand) {
    EXPECT_EQ(Calc("12", "MUL", "0003"), "0036");
    EXPECT_EQ(Calc("7", "DIV", "2"), "3");
    EXPECT_EQ(Calc("7", "MOD", "2"), "1");
    EXPECT_EQ(Calc("100", "DIV", "7"), "014");
    EXPECT_EQ(Calc("", "MUL", "5"), "0");
    EXPECT_EQ(Calc("000", "MUL", "5"), "000");
    EXPECT_EQ(Calc("ZZ", "MUL", "ZZ", 36), "ZY01");
}

TEST(NumStrMulDivMod, DivisionByZeroFailsAsTheHardwareWould) {
    for (const char *op : {"DIV", "MOD"}) {
        for (const char *zero : {"0", "000", ""}) {
            const Outcome outcome = Arith("12", op, zero);
            EXPECT_EQ(outcome.code, Code(0xC0000094));
            EXPECT_EQ(outcome.source, "dax/str_numstr[316]");
            EXPECT_EQ(outcome.description.rfind("O.S. exception C0000094h at address ", 0), 0u);
            EXPECT_TRUE(outcome.description.ends_with(": Integer division by 0"));
        }
    }
}

TEST(NumStrMulDivMod, AgreeWithMachineArithmetic) {
    std::mt19937_64 engine(5);
    for (int i = 0; i < 2000; ++i) {
        const int base = 2 + static_cast<int>(engine() % 35);
        const uint64_t x = engine() >> 32, y = (engine() >> (32 + engine() % 32)) + 1;
        const std::string a = InBase(x, base), b = InBase(y, base);
        const size_t width = std::max(a.size(), b.size());
        EXPECT_EQ(Calc(a, "MUL", b, base), Padded(InBase(x * y, base), width));
        EXPECT_EQ(Calc(a, "DIV", b, base), Padded(InBase(x / y, base), width));
        EXPECT_EQ(Calc(a, "MOD", b, base), Padded(InBase(x % y, base), width));
    }
}

TEST(NumStrMulDivMod, TwoThousandDigitIdentities) {
    std::mt19937_64 engine(3);
    for (const int base : {10, 7, 16, 36}) {
        const std::string a = RandomDigits(engine, 2000, base);
        const std::string b = RandomDigits(engine, 1500 + engine() % 500, base);
        const std::string r = RandomDigits(engine, b.size() - 1, base);
        const std::string product = Calc(a, "MUL", b, base);
        EXPECT_EQ(Stripped(Calc(product, "DIV", b, base)), a) << base;
        EXPECT_EQ(Stripped(Calc(product, "MOD", b, base)), "") << base;
        const std::string dividend = Calc(product, "ADD", r, base);
        EXPECT_EQ(Stripped(Calc(dividend, "DIV", a, base)), b) << base;
        EXPECT_EQ(Stripped(Calc(dividend, "MOD", b, base)), r) << base;
    }
}

// ---- logic ----------------------------------------------------------------------

TEST(NumStrLogic, CombinesDigitByDigit) {
    EXPECT_EQ(Calc("F0", "AND", "3C", 16), "30");
    EXPECT_EQ(Calc("9", "XOR", "6"), "15");
    EXPECT_EQ(Calc("1", "OR", "2", 3), "10");
    EXPECT_EQ(Calc("00F", "AND", "1", 16), "001");
    EXPECT_EQ(Calc("95", "XOR", "66"), "153");
    EXPECT_EQ(Calc("", "XOR", "", 10), "");
}

TEST(NumStrLogic, PowerOfTwoBasesGiveTheBitwiseOperation) {
    std::mt19937_64 engine(9);
    for (int i = 0; i < 1000; ++i) {
        const int base = 1 << (1 + engine() % 5);
        const uint64_t x = engine(), y = engine() >> (engine() % 64);
        const std::string a = InBase(x, base), b = InBase(y, base);
        const size_t width = std::max(a.size(), b.size());
        EXPECT_EQ(Calc(a, "AND", b, base), Padded(InBase(x & y, base), width));
        EXPECT_EQ(Calc(a, "OR", b, base), Padded(InBase(x | y, base), width));
        EXPECT_EQ(Calc(a, "XOR", b, base), Padded(InBase(x ^ y, base), width));
    }
}

TEST(NumStrLogic, HundredThousandDigitOperands) {
    std::mt19937_64 engine(13);
    const std::string a = RandomDigits(engine, 100000, 16);
    EXPECT_EQ(Calc(a, "AND", a, 16), a);
    EXPECT_EQ(Calc(a, "XOR", a, 16), std::string(a.size(), '0'));
    EXPECT_EQ(Calc(a, "OR", "0", 16), a);
}

// ---- comparison -----------------------------------------------------------------

TEST(NumStrCompare, EveryOperatorSpelling) {
    // Expected results for a < b, a = b, a > b.
    const struct {
        const char *op;
        int less, equal, greater;
    } rows[] = {{"<", 1, 0, 0},  {"LT", 1, 0, 0}, {"<=", 1, 1, 0}, {"le", 1, 1, 0},
                {"=", 0, 1, 0},  {"EQ", 0, 1, 0}, {"<>", 1, 0, 1}, {"NE", 1, 0, 1},
                {">=", 0, 1, 1}, {"GE", 0, 1, 1}, {">", 0, 0, 1},  {"gt", 0, 0, 1}};
    for (const auto &row : rows) {
        EXPECT_EQ(Cmp("09", row.op, "10"), row.less) << row.op;
        EXPECT_EQ(Cmp("007", row.op, "7"), row.equal) << row.op;
        EXPECT_EQ(Cmp("A", row.op, "9", 16), row.greater) << row.op;
    }
    EXPECT_EQ(Cmp("", "=", "000"), 1);
    EXPECT_EQ(Cmp("A", "<", "B", 16), 1);
    EXPECT_EQ(Cmp("Z", ">", "10", 36), 0);
}

TEST(NumStrCompare, HundredThousandDigitOperands) {
    std::string a(100000, '7');
    std::string b = "000" + a;
    EXPECT_EQ(Cmp(a, "=", b), 1);
    b.back() = '8';
    EXPECT_EQ(Cmp(a, "<", b), 1);
    a.front() = '8';
    EXPECT_EQ(Cmp(a, ">", b), 1);
}

// ---- conversion -----------------------------------------------------------------

TEST(NumStrConv, LengthPadsOrFails) {
    EXPECT_EQ(Conv("255", 10, 2, 10).text, "0011111111");
    EXPECT_EQ(Conv("255", 10, 2).text, "11111111");
    // A length equal to the converted width is enough; one less is too short.
    EXPECT_EQ(Conv("255", 10, 2, 8).text, "11111111");
    EXPECT_EQ(Conv("255", 10, 2, 7).code, Code(0xE2090008));
    const Outcome too_short = Conv("255", 10, 2, 4);
    EXPECT_EQ(too_short.code, Code(0xE2090008));
    EXPECT_EQ(too_short.source, "Str.Str_NumStr_Conv");
    EXPECT_EQ(too_short.description, "The required length is too short");
    EXPECT_EQ(Conv("1", 10, 2, -2).code, Code(0xE2090008));
    EXPECT_EQ(Conv("", 10, 16).text, "0");
    EXPECT_EQ(Conv("000", 10, 16, 3).text, "000");
    EXPECT_EQ(Conv("0FF", 16, 10).text, "255");
    EXPECT_EQ(Conv("F", 10, 16).source, "Str.CheckNumStr");
}

TEST(NumStrConv, AgreesWithMachineConversionInEveryBasePair) {
    std::mt19937_64 engine(17);
    for (int from = 2; from <= 36; ++from) {
        for (int to = 2; to <= 36; ++to) {
            const uint64_t value = engine() >> (engine() % 64);
            const std::string text = InBase(value, from);
            EXPECT_EQ(Conv(text.c_str(), from, to).text, InBase(value, to)) << from << "->" << to;
        }
    }
}

// Decimal texts that fit a word are read eight digits at a time: every length
// up to the largest word, every digit in every place, leading zeros included.
TEST(NumStrConv, DecimalTextsOfEveryLengthReadExactly) {
    std::mt19937_64 engine(29);
    for (size_t length = 1; length <= 20; ++length) {
        for (int round = 0; round < 20; ++round) {
            std::string text(length, '0');
            for (char &c : text)
                c = static_cast<char>('0' + engine() % 10);
            if (length == 20)
                text[0] = '0';  // twenty digits fit a word only below 10^19
            const uint64_t value = std::stoull(text);
            EXPECT_EQ(Conv(text.c_str(), 10, 16).text, InBase(value, 16)) << text;
            EXPECT_EQ(Calc(text.c_str(), "ADD", "0"), text) << text;
        }
    }
    EXPECT_EQ(Conv("99999999", 10, 10).text, "99999999");
    EXPECT_EQ(Conv("9999999999999999999", 10, 16).text, "8AC7230489E7FFFF");
}

TEST(NumStrConv, LongNumbersRoundTrip) {
    std::mt19937_64 engine(19);
    for (const size_t digits : {2000u, 30000u}) {
        for (const auto &[from, to] : {std::pair{10, 16}, {10, 7}, {36, 3}, {2, 32}, {8, 10}}) {
            const std::string text = RandomDigits(engine, digits, from);
            const Outcome there = Conv(text.c_str(), from, to);
            ASSERT_EQ(there.code, 0);
            EXPECT_TRUE(AllDigitsBelow(there.text, to));
            EXPECT_EQ(Conv(there.text.c_str(), to, from).text, text) << from << "->" << to;
        }
    }
    // Against Boost's own reading and writing of decimal and hexadecimal texts.
    const std::string decimal = RandomDigits(engine, 30000, 10);
    const Ostrel::Zam::BigNumber value(decimal);
    const std::string hex = value.str(0, std::ios_base::hex | std::ios_base::uppercase);
    EXPECT_EQ(Conv(decimal.c_str(), 10, 16).text, hex);
    EXPECT_EQ(Conv(hex.c_str(), 16, 10).text, value.str());
}

// Long division on numbers made of extreme limbs (0, 1, the top bit, all ones),
// where the quotient estimates are most often one too large and must be corrected.
TEST(NumStrLimbs, DivisionAgreesWithBoost) {
    using Ostrel::Zam::Limb;
    using Ostrel::Zam::Limbs;
    const Limb top = Limb{1} << (Ostrel::Zam::kLimbBits - 1);
    const Limb extremes[] = {0, 1, 2, top - 1, top, top + 1, ~Limb{0} - 1, ~Limb{0}};
    std::mt19937_64 engine(23);
    const auto pick = [&](size_t count) {
        Limbs limbs(count);
        for (Limb &limb : limbs)
            limb = extremes[engine() % std::size(extremes)];
        limbs.back() |= 1;
        return limbs;
    };
    for (int i = 0; i < 20000; ++i) {
        const Limbs u = pick(1 + engine() % 8), v = pick(1 + engine() % 5);
        Limbs quotient, remainder;
        Ostrel::Zam::DivideLimbs(u, v, quotient, remainder);
        const auto x = Ostrel::Zam::FromLimbs(u), y = Ostrel::Zam::FromLimbs(v);
        ASSERT_EQ(Ostrel::Zam::FromLimbs(quotient), x / y);
        ASSERT_EQ(Ostrel::Zam::FromLimbs(remainder), x % y);
        ASSERT_TRUE(quotient.empty() || quotient.back() != 0);
        ASSERT_TRUE(remainder.empty() || remainder.back() != 0);
    }
}

// ---- random numbers ---------------------------------------------------------------

TEST(NumStrRandom, ArgumentErrors) {
    const Outcome empty = Random(0, "xyz", "!", "?", 99);
    EXPECT_EQ(empty.code, 0);
    EXPECT_EQ(empty.text, "");
    EXPECT_EQ(Random(-1, "", "", "").code, Code(0xE2090003));
    EXPECT_EQ(Random(3, "5", "5", "").text, "005");
    EXPECT_EQ(Random(3, "5", "5", "5").code, Code(0xE2090007));
    EXPECT_EQ(Random(2, "100", "", "").code, Code(0xE2090006));
    EXPECT_EQ(Random(2, "50", "40", "1").code, Code(0xE2090005));
    EXPECT_EQ(Random(2, "5A", "", "").source, "Str.CheckNumStr");
}

TEST(NumStrRandom, DrawsStayInsideTheirBounds) {
    std::set<std::string> seen;
    for (int i = 0; i < 3000; ++i) {
        const std::string value = Random(4, "17", "0042", "0023").text;
        ASSERT_EQ(value.size(), 4u);
        EXPECT_EQ(Cmp(value, ">=", "17"), 1) << value;
        EXPECT_EQ(Cmp(value, "<=", "42"), 1) << value;
        EXPECT_NE(value, "0023");
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 25u);  // every value of 17..42 but 23
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(Random(1, "3", "4", "3").text, "4");
}

TEST(NumStrRandom, UnboundedDrawsHaveTheLengthAndDigitsOfTheBase) {
    for (int32_t base = 2; base <= 36; ++base) {
        for (const int32_t length : {1, 7, 300}) {
            const std::string value = Random(length, "", "", "", base).text;
            EXPECT_EQ(value.size(), static_cast<size_t>(length));
            EXPECT_TRUE(AllDigitsBelow(value, base)) << value;
            const std::string bounded = Random(length, "", "", "0", base).text;
            EXPECT_EQ(bounded.size(), static_cast<size_t>(length));
            EXPECT_TRUE(AllDigitsBelow(bounded, base));
            EXPECT_NE(Stripped(bounded), "");
        }
    }
    const std::string huge = Random(100000, "", "", "1", 10).text;
    EXPECT_EQ(huge.size(), 100000u);
}

TEST(NumStrRandom, RandomDigitCoversTheBase) {
    for (int32_t base = 2; base <= 36; ++base) {
        std::set<char> seen;
        for (int i = 0; i < 40 * base; ++i)
            seen.insert(Ostrel::Zam::RandomDigit(base));
        EXPECT_EQ(seen.size(), static_cast<size_t>(base));
        EXPECT_TRUE(AllDigitsBelow(std::string(seen.begin(), seen.end()), base));
    }
    EXPECT_EQ(Ostrel::Zam::RandomDigit(0), '0');
    EXPECT_EQ(Ostrel::Zam::RandomDigit(40), '0');
    for (int i = 0; i < 10000; ++i)
        EXPECT_LE(Ostrel::Zam::NextRandom31(), 0x7FFFFFFFu);
}

// Numbers that fit a machine word take a shortcut; at the edge of a word and of a
// double word the results must be those of the general way (checked here against
// the whole-number type).
Ostrel::Zam::BigNumber DecimalValue(std::string text) {
    // The whole-number type reads a leading zero as octal: strip it.
    text.erase(0, std::min(text.find_first_not_of('0'), text.size()));
    return Ostrel::Zam::BigNumber(text.empty() ? "0" : text.c_str());
}

TEST(NumStrWords, ResultsAtTheEdgesOfAWordMatchTheGeneralWay) {
    using Ostrel::Zam::BigNumber;
    const char *const operands[] = {"0",
                                    "1",
                                    "4294967296",
                                    "18446744073709551615",    // the largest word
                                    "18446744073709551616",    // one more
                                    "0018446744073709551615",  // with leading zeros
                                    "340282366920938463463374607431768211455",
                                    "99999999999999999999"};
    for (const char *a : operands) {
        for (const char *b : operands) {
            const BigNumber x = DecimalValue(a), y = DecimalValue(b);
            EXPECT_EQ(DecimalValue(Calc(a, "MUL", b)), x * y) << a << " * " << b;
            if (y != 0) {
                EXPECT_EQ(DecimalValue(Calc(a, "DIV", b)), x / y) << a << " / " << b;
                EXPECT_EQ(DecimalValue(Calc(a, "MOD", b)), x % y) << a << " % " << b;
            }
        }
    }
    // Padding to the longer operand and conversion of a full word in every base.
    EXPECT_EQ(Calc("0002", "MUL", "3"), "0006");
    EXPECT_EQ(Calc("0000000007", "DIV", "2"), "0000000003");
    EXPECT_EQ(Conv("18446744073709551615", 10, 16).text, "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Conv("18446744073709551615", 10, 2).text, std::string(64, '1'));
    EXPECT_EQ(Conv("18446744073709551616", 10, 36).text, "3W5E11264SGSG");
    EXPECT_EQ(Conv("3W5E11264SGSF", 36, 10).text, "18446744073709551615");
    EXPECT_EQ(Conv("000", 10, 7).text, "0");
    EXPECT_EQ(Calc("ZZZZZZZZZZZZ", "MUL", "ZZZZZZZZZZZZ", 36),
              "ZZZZZZZZZZZY000000000001");  // a double word in base 36
}

}  // namespace

// ---- lengths near 2^31 ------------------------------------------------------------

// A length that no text can have is refused before anything is built: with 32-bit
// pointers the gigabytes cannot be had, with 64-bit ones they would be wasted.
TEST(NumStrLimits, LengthsNoTextCanHaveFailAtOnce) {
    constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();
    for (const int32_t length : {kHuge, 0x7FFFFFF0}) {
        SCOPED_TRACE(length);
        EXPECT_EQ(Conv("1", 10, 2, length).code, Code(0xC0000008));
        EXPECT_EQ(Random(length, "", "", "").code, Code(0xC0000008));
        EXPECT_EQ(Random(length, "1", "", "").code, Code(0xC0000008));
    }
}
