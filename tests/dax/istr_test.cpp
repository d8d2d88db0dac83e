// The IString editing exports: results and errors of the cases that pin them,
// properties over generated IStrings, and megabyte texts.
#include <limits>
#include <random>

#include "istr_test_support.h"

namespace {

using namespace istr_test;

std::string N(uint32_t code) {
    return std::to_string(Code(code));
}
ThreadError Incomplete(const char *source, const char *tail, int byte) {
    return Failure(0xE2090003, source,
                   "Incomplete escape \"" + std::string(tail) + "\" at byte " +
                       std::to_string(byte) + " of the IString");
}
ThreadError BadIString(const char *source) {
    return Failure(0xE2100001, source,
                   "Invalid IString: '#' must be followed by two hexadecimal digits");
}
const ThreadError kMidExceeded =
    Failure(0xE2090004, "Str.Str_IStr_Mid", "Length of the IString is exceeded");
const ThreadError kMidStart =
    Failure(0xE2002005, "Str.Str_IStr_Mid", "IStr_Mid: Start value out of range");
const ThreadError kPaddIndex = Failure(0xE209000C, "Str.Str_IStr_Padd", "Index is invalid");
const ThreadError kPaddData = Failure(0xE2090003, "Str.Str_IStr_Padd", "Data is invalid");
const ThreadError kInstrIndex = Failure(0xE209000C, "Str.Str_IStr_Instr", "Index is invalid");

TEST(IStrEdit, LengthAndMiddle) {
    RunCases({
        ISTR_ROW(Str_IStr_LenA("A#41B"), "3", kNoError),
        ISTR_ROW(Str_IStr_LenA(""), "0", kNoError),
        ISTR_ROW(Str_IStr_LenA("##41"), "2", kNoError),
        ISTR_ROW(Str_IStr_LenA("#"), N(0xE2090003), Incomplete("Str.Str_IStr_Len", "#", 1)),
        ISTR_ROW(Str_IStr_LenA("ab#4"), N(0xE2090003), Incomplete("Str.Str_IStr_Len", "#4", 3)),
        ISTR_ROW(Str_IStr_MidA("abc", 4, 0), kNull, kNoError),
        ISTR_ROW(Str_IStr_MidA("abc", 99, 0), kNull, kNoError),
        ISTR_ROW(Str_IStr_MidA("abc", 4, 1), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_MidA("abc", 4, -1), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_MidA("abc", 1, 4), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_MidA("", 2, -1), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_MidA("abc", 0x7FFFFFFF, 1), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_MidA("a#41c", 2, 1), "#41", kNoError),
        ISTR_ROW(Str_IStr_MidA("abc", 2, -1), "bc", kNoError),
        ISTR_ROW(Str_IStr_MidA("abc", 2, -7), kNull, kNoError),
        ISTR_ROW(Str_IStr_MidA("abc", 0, 1), kNull, kMidStart),
        ISTR_ROW(Str_IStr_MidA("abc#4", 1, 1), kNull, Incomplete("Str.Str_IStr_Mid", "#4", 4)),
    });
}

TEST(IStrEdit, Padd) {
    RunCases({
        ISTR_ROW(Str_IStr_PaddA("AB", "0", 1, 4), "00AB", kNoError),
        ISTR_ROW(Str_IStr_PaddA("AB", "0", -1, 4), "AB00", kNoError),
        ISTR_ROW(Str_IStr_PaddA("A#42C", "#00", 2, 5), "A#00#00#42C", kNoError),
        ISTR_ROW(Str_IStr_PaddA("AB", "0", 1, 2), "AB", kNoError),
        ISTR_ROW(Str_IStr_PaddA("AB", "00", 1, 5), kNull, kPaddData),
        ISTR_ROW(Str_IStr_PaddA("AB", "0", 1, 1), kNull, kPaddData),
        ISTR_ROW(Str_IStr_PaddA("AB", "", 1, 2), kNull, kPaddData),
        ISTR_ROW(Str_IStr_PaddA("AB", "0", 4, 4), kNull, kPaddIndex),
        ISTR_ROW(Str_IStr_PaddA("AB", "0", 0, 4), kNull, kPaddIndex),
        ISTR_ROW(Str_IStr_PaddA("AB", "0", -2, 4), kNull, kPaddIndex),
        ISTR_ROW(Str_IStr_PaddA("AB", "#", 1, 4), kNull, Incomplete("Str.Str_IStr_Len", "#", 1)),
        ISTR_ROW(Str_IStr_PaddA("", "#00", 1, 2000000000), kNull,
                 (ThreadError{Code(0xC0000008), std::nullopt, std::nullopt})),
    });
}

TEST(IStrEdit, TrimInstrCmp) {
    RunCases({
        ISTR_ROW(Str_IStr_TrimA("xxabx", "x", 1), "abx", kNoError),
        ISTR_ROW(Str_IStr_TrimA("xxabx", "x", -1), "xxab", kNoError),
        ISTR_ROW(Str_IStr_TrimA("XxaBx", "x", 1), "aBx", kNoError),
        ISTR_ROW(Str_IStr_TrimA("xxx", "x", 1), kNull, kNoError),
        ISTR_ROW(Str_IStr_TrimA("#41#42x", "x", -1), "AB", kNoError),
        // "A41" ends the bytes of #0A41 but not at a character start.
        ISTR_ROW(Str_IStr_TrimA("#0A41", "A41", -1), "#0A41", kNoError),
        ISTR_ROW(Str_IStr_TrimA("ab", "abc", 0), "ab", kNoError),
        ISTR_ROW(Str_IStr_TrimA("ab", "a", 0), kNull,
                 Failure(0xE2090003, "Str.Str_IStr_Trim", "Data is invalid")),
        ISTR_ROW(Str_IStr_TrimA("a#zz", "a", 1), kNull, BadIString("Str.Str_IStr_Trim")),
        ISTR_ROW(Str_IStr_InstrA("abcabc", "c", 4), "6", kNoError),
        ISTR_ROW(Str_IStr_InstrA("abc", "d", 1), "0", kNoError),
        ISTR_ROW(Str_IStr_InstrA("a#41b", "A", 1), "2", kNoError),
        ISTR_ROW(Str_IStr_InstrA("x#01#41", "#14", 1), "0", kNoError),
        ISTR_ROW(Str_IStr_InstrA("abc", "", 2), "2", kNoError),
        ISTR_ROW(Str_IStr_InstrA("", "a", -5), "0", kNoError),
        ISTR_ROW(Str_IStr_InstrA("abc", "a", 0), N(0xE209000C), kInstrIndex),
        ISTR_ROW(Str_IStr_InstrA("abc", "a", 4), N(0xE209000C), kInstrIndex),
        ISTR_ROW(Str_IStr_InstrA("abc", "#zz", 1), N(0xE2100001), BadIString("Str.Str_IStr_Instr")),
        ISTR_ROW(Str_IStr_CmpA("#41", "EQ", "A", 1), "1", kNoError),
        ISTR_ROW(Str_IStr_CmpA("a", "=", "A", 0), "1", kNoError),
        ISTR_ROW(Str_IStr_CmpA("a", "=", "A", 1), "0", kNoError),
        ISTR_ROW(Str_IStr_CmpA("a", "=", "A", 0x100), "1", kNoError),
        ISTR_ROW(Str_IStr_CmpA("a", "ne", "A", 1), "1", kNoError),
        ISTR_ROW(Str_IStr_CmpA("a", "==", "a", 1), N(0xE209000A),
                 Failure(0xE209000A, "Str.Str_IStr_Cmp", "Unknown operator: \"==\"")),
        ISTR_ROW(Str_IStr_CmpA("#", "=", "a", 1), N(0xE2100001), BadIString("Str.IStrCmp")),
    });
}

TEST(IStrEdit, Swap) {
    RunCases({
        ISTR_ROW(Str_IStr_SwapA("#01#02#03", 1), "#03#02#01", kNoError),
        ISTR_ROW(Str_IStr_SwapA("ABCD", 2), "CDAB", kNoError),
        ISTR_ROW(Str_IStr_SwapA("", 1), kNull, kNoError),
        ISTR_ROW(Str_IStr_SwapA("ABCDE", 2), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_SwapA("AB#", 1), kNull, Incomplete("Str.Str_IStr_Mid", "#", 3)),
        ISTR_ROW(Str_IStr_SwapA("ABCD", 0), kNull,
                 Failure(0xE2090003, "Str.Str_IStr_Swap", "Invalid group: 0")),
        ISTR_ROW(Str_IStr_SwapA("", -3), kNull,
                 Failure(0xE2090003, "Str.Str_IStr_Swap", "Invalid group: -3")),
    });
}

// A well-formed IString of plain letters and escapes (some of whose bytes are '#').
std::string Generated(std::mt19937 &random, int32_t characters) {
    static const char *const kUnits[] = {"a", "B", "#41", "#0a", "##4", "#zz"};
    std::string text;
    for (int32_t i = 0; i < characters; ++i)
        text += kUnits[random() % 6];
    return text;
}
std::string Mid(const std::string &text, int32_t start, int32_t count) {
    return Take(Str_IStr_MidA(text.c_str(), start, count)).value_or("");
}

TEST(IStrProperties, MidPaddAndSwapKeepCharactersWhole) {
    std::mt19937 random(7);
    for (int draw = 0; draw < 500; ++draw) {
        const int32_t length = static_cast<int32_t>(random() % 12);
        const std::string text = Generated(random, length);
        ASSERT_EQ(Str_IStr_LenA(text.c_str()), length) << text;
        const int32_t start = 1 + static_cast<int32_t>(random() % (length + 1));
        const int32_t count = static_cast<int32_t>(random() % (length - start + 2));
        EXPECT_EQ(Mid(text, 1, start - 1) + Mid(text, start, count) + Mid(text, start + count, -1),
                  text);

        const std::string padding = Generated(random, 2);
        const int32_t padded_length = length + 2 * static_cast<int32_t>(random() % 4);
        const std::string padded =
            Take(Str_IStr_PaddA(text.c_str(), padding.c_str(), start, padded_length)).value_or("");
        EXPECT_EQ(Str_IStr_LenA(padded.c_str()), padded_length);
        EXPECT_EQ(Mid(padded, padded_length - length + start, -1), Mid(text, start, -1));

        const int32_t group = 1 + static_cast<int32_t>(random() % 3);
        const std::string whole = text + Generated(random, (group - length % group) % group);
        const std::string swapped = Take(Str_IStr_SwapA(whole.c_str(), group)).value_or("");
        EXPECT_EQ(Take(Str_IStr_SwapA(swapped.c_str(), group)).value_or(""), whole);
    }
}

TEST(IStrProperties, InstrFindsTheFirstOccurrence) {
    std::mt19937 random(17);
    const char *const units[] = {"a", "b", "#41"};  // few units: many near misses
    for (int draw = 0; draw < 1000; ++draw) {
        std::string text, pattern;
        const int32_t length = 1 + static_cast<int32_t>(random() % 20);
        for (int32_t i = 0; i < length; ++i)
            text += units[random() % 3];
        for (uint32_t i = random() % 4; i > 0; --i)
            pattern += units[random() % 3];
        const int32_t plen = Str_IStr_LenA(pattern.c_str());
        int32_t expected = 0;
        for (int32_t at = 1; at + plen <= length + 1 && expected == 0; ++at)
            expected = Mid(text, at, plen) == pattern ? at : 0;
        EXPECT_EQ(Str_IStr_InstrA(text.c_str(), pattern.c_str(), 1), expected) << text;
    }
}

TEST(IStrLongTexts, MegabyteThroughPaddSwapInstrAndTrim) {
    std::string text;
    for (int i = 0; i < 131072; ++i)
        text += "x#00y#FF";  // 1 MB, 4 characters per unit
    const int32_t length = Str_IStr_LenA(text.c_str());
    ASSERT_EQ(length, 4 * 131072);
    const auto padded = Take(Str_IStr_PaddA(text.c_str(), "#01", 1, length + 500000));
    EXPECT_EQ(padded.value_or("").size(), text.size() + 3 * 500000u);
    EXPECT_EQ(Take(Str_IStr_SwapA(text.c_str(), 4)), text);
    EXPECT_EQ(Take(Str_IStr_SwapA(text.c_str(), 1)).value_or("").substr(0, 8), "#FFy#00x");
    // Near misses everywhere: a naive search would take length x pattern steps.
    const std::string haystack = std::string(1000000, 'a') + "b";
    const std::string needle = std::string(100000, 'a') + "b";
    EXPECT_EQ(Str_IStr_InstrA(haystack.c_str(), needle.c_str(), 1), 900001);
    EXPECT_EQ(Take(Str_IStr_TrimA(haystack.c_str(), "a", 1)), "b");
}

}  // namespace

namespace {

// Positions and lengths near 2^31: 64-bit sums, and texts that cannot exist refused
// before they are built.
TEST(IStrLimits, PositionsAndLengthsNear2To31) {
    constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();
    const ThreadError out_of_memory = {Code(0xC0000008), std::nullopt, std::nullopt};
    RunCases({
        ISTR_ROW(Str_IStr_MidA("abc", 2, kHuge), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_MidA("abc", kHuge, 0), kNull, kNoError),
        ISTR_ROW(Str_IStr_MidA("abc", kHuge, kHuge), kNull, kMidExceeded),
        ISTR_ROW(Str_IStr_InstrA("abc", "c", kHuge), N(0xE209000C), kInstrIndex),
        ISTR_ROW(Str_IStr_PaddA("a", "b", kHuge, 5), kNull, kPaddIndex),
        ISTR_ROW(Str_IStr_PaddA("a", "b", -1, kHuge), kNull, out_of_memory),
        ISTR_ROW(Str_IStr_PaddA("a", "#41#42", -1, kHuge), kNull, out_of_memory),
        ISTR_ROW(Str_IStr_RandomA(kHuge, "", "", ""), kNull, out_of_memory),
        ISTR_ROW(Str_IStr_SwapA("abcd", kHuge), kNull, kMidExceeded),
    });
}

}  // namespace
