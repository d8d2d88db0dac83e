// Text searching and comparison, and number/text conversions.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>
#include <string>

#include "vek64.h"

namespace {

constexpr int32_t kAll = -1;  // length: up to the zero terminator
constexpr uint32_t kCase = VEK_IGNORE_CASE;

TEST(TextSearch, ForwardAndBackward) {
    const struct {
        bool backward;
        const char *text;
        const char *pattern;
        uint32_t options;
        int32_t start;
        int32_t expected;
    } cases[] = {
        {false, "hello world", "o", 0, 0, 4},
        {false, "hello world", "o", 0, 5, 7},
        {false, "hello world", "WORLD", 0, 0, -1},
        {false, "hello world", "WORLD", kCase, 0, 6},
        {false, "abc", "", 0, 2, 2},  // an empty pattern is found at the start
        {false, "abc", "", 0, 4, -1},
        {false, "abc", "a", 0, -1, -1},
        {false, "x\xE9y", "\xC9", kCase, 0, -1},  // only ASCII letters fold
        {false, "x[y", "{", kCase, 0, -1},
        {true, "abcabc", "bc", 0, -1, 4},
        {true, "abcabc", "bc", 0, 4, 4},
        {true, "abcabc", "bc", 0, 3, 1},
        {true, "abcabc", "bc", 0, 100, 4},
        {true, "abcabc", "ABC", kCase, -1, 3},
        {true, "abcabc", "", 0, -1, 6},
        {true, "ab", "abc", 0, -1, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.backward ? "back " : "") + c.text + " / " + c.pattern +
                     " from " + std::to_string(c.start));
        EXPECT_EQ(c.backward ? VekStrnSearchRevA(c.text, kAll, c.pattern, kAll, c.options, c.start)
                             : VekStrnSearchA(c.text, kAll, c.pattern, kAll, c.options, c.start),
                  c.expected);
    }
    EXPECT_EQ(VekStrnSearchA("hello world", 5, "world", kAll, 0, 0), -1);  // beyond the length
    EXPECT_EQ(VekStrnSearchRevA("abcabc", 5, "abc", 3, 0, -1), 0);
}

// The obvious answers, position by position, to check the library's faster ones.
int32_t PlainSearch(const std::string &text, const std::string &pattern, bool ignore_case,
                    size_t start) {
    auto fold = [ignore_case](char c) {
        return ignore_case && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    for (size_t at = start; at + pattern.size() <= text.size(); ++at) {
        size_t i = 0;
        while (i < pattern.size() && fold(text[at + i]) == fold(pattern[i]))
            ++i;
        if (i == pattern.size())
            return static_cast<int32_t>(at);
    }
    return -1;
}

int PlainCompare(const std::string &a, const std::string &b, bool ignore_case) {
    auto fold = [ignore_case](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return ignore_case && byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte;
    };
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (fold(a[i]) != fold(b[i]))
            return fold(a[i]) < fold(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

TEST(TextSearch, ShortAndLongPatternsAgreeWithAPlainSearch) {
    std::mt19937 random(7);
    const std::string alphabet("aAbB[{\0", 7);
    auto draw = [&](size_t length) {
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 4000; ++round) {
        // Patterns on both sides of the length that gets a skip table.
        const std::string text = draw(random() % 120);
        std::string pattern = draw(1 + random() % 30);
        if (round % 2 == 0 && pattern.size() < text.size()) {
            const size_t at = random() % (text.size() - pattern.size() + 1);
            pattern = text.substr(at, pattern.size());  // one that occurs
        }
        const uint32_t options = round % 3 == 0 ? 0 : kCase;
        const size_t start = text.empty() ? 0 : random() % text.size();
        ASSERT_EQ(VekStrnSearchA(text.data(), static_cast<int32_t>(text.size()), pattern.data(),
                                 static_cast<int32_t>(pattern.size()), options,
                                 static_cast<int32_t>(start)),
                  PlainSearch(text, pattern, options == kCase, start))
            << text << " / " << pattern << " from " << start;
    }
}

TEST(TextCompare, AgreesWithAPlainComparisonAtAnyLength) {
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        // Mostly short texts; some long enough to be compared by whole blocks.
        std::string a(round % 4 == 0 ? 30 + random() % 10 : random() % 6, 'a');
        for (char &c : a)
            c = "aAb\xE9"[random() % 4];
        std::string b = round % 2 == 0 ? a : std::string();
        for (size_t i = 0, extra = random() % 3; i < extra; ++i)
            b += "aAb\xE9"[random() % 4];
        const bool ignore_case = round % 3 != 0;
        const int expected = PlainCompare(a, b, ignore_case);
        const uint32_t options = ignore_case ? kCase : 0;
        // Explicit lengths and zero-terminated texts, in every pairing.
        const int32_t a_length = static_cast<int32_t>(a.size());
        const int32_t b_length = static_cast<int32_t>(b.size());
        ASSERT_EQ(VekStrnCompA(a.c_str(), a_length, b.c_str(), b_length, options), expected);
        ASSERT_EQ(VekStrnCompA(a.c_str(), kAll, b.c_str(), b_length, options), expected);
        ASSERT_EQ(VekStrnCompA(a.c_str(), a_length, b.c_str(), kAll, options), expected);
        ASSERT_EQ(VekStrnCompA(a.c_str(), kAll, b.c_str(), kAll, options), expected);
    }
}

TEST(TextCompare, Ordering) {
    const struct {
        const char *a;
        int32_t a_length;
        const char *b;
        uint32_t options;
        int expected_sign;
    } cases[] = {
        {"abc", kAll, "abd", 0, -1},      {"ab", kAll, "abc", 0, -1},
        {"abc", kAll, "abc", 0, 0},       {"abcdef", 3, "abc", 0, 0},
        {"abc", kAll, "ABC", 0, 1},       {"abc", kAll, "ABC", kCase, 0},
        {"[", kAll, "a", 0, -1},          {"[", kAll, "a", kCase, 1},      // letters as upper case
        {"\x80", kAll, "a", 0, 1},        {"a\xFF", kAll, "a\x01", 0, 1},  // bytes are unsigned
        {"\xE9", kAll, "\xC9", kCase, 1}, {nullptr, 0, "", 0, 0},
        {nullptr, 0, "a", 0, -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.a != nullptr ? c.a : "(null)") + " vs " + c.b);
        const int32_t forward = VekStrnCompA(c.a, c.a_length, c.b, kAll, c.options);
        const int32_t reverse = VekStrnCompA(c.b, kAll, c.a, c.a_length, c.options);
        EXPECT_EQ((forward > 0) - (forward < 0), c.expected_sign);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.expected_sign);
    }
}

TEST(TextCompare, StrimatchPositions) {
    const char *const alternatives[] = {"Alpha", "beta", "GAMMA", "", nullptr};
    const char *const texts[] = {"alpha", "BETA", "gamma", "", "alp", "alphas"};
    const int32_t positions[] = {1, 2, 3, 4, 0, 0};
    for (size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(_strimatch(texts[i], alternatives), positions[i]) << texts[i];
    EXPECT_EQ(_strimatch("alpha", nullptr), 0);
}

enum Form { kInt32, kUint32, kInt64 };

int64_t Parse(Form form, const char *text, int32_t length, int32_t radix, int32_t *consumed) {
    switch (form) {
        case kInt32:
            return VekStrnToInt32A(text, length, radix, consumed);
        case kUint32:
            return VekStrnToUint32A(text, length, radix, consumed);
        default:
            return VekStrnToInt64A(text, length, radix, consumed);
    }
}

TEST(NumberParse, ValuesCountsAndFailures) {
    const struct {
        Form form;
        const char *text;
        int32_t length, radix;
        int64_t value;
        int32_t consumed;  // or the failure status
    } cases[] = {
        {kInt32, "123", kAll, 10, 123, 3},
        {kInt32, "-123", kAll, 10, -123, 4},
        {kInt32, "+7", kAll, 10, 7, 2},
        {kInt32, "FFg", kAll, 16, 255, 2},
        {kInt32, "zZ", kAll, 36, 1295, 2},
        {kInt32, "12345", 3, 10, 123, 3},
        {kInt32, "abc", kAll, 10, 0, 0},
        {kInt32, " 1", kAll, 10, 0, 0},
        {kInt32, "2147483647", kAll, 10, INT32_MAX, 10},
        {kInt32, "-2147483648", kAll, 10, INT32_MIN, 11},
        {kInt32, "2147483648", kAll, 10, 0, VEK_E_OVERFLOW},
        {kInt32, "-2147483649", kAll, 10, 0, VEK_E_OVERFLOW},
        {kInt32, "10", kAll, 1, 0, VEK_E_INVALIDARG},
        {kUint32, "4294967295", kAll, 10, UINT32_MAX, 10},
        {kUint32, "-1", kAll, 10, 0, 0},  // no minus sign for the unsigned form
        {kUint32, "100000000", kAll, 16, 0, VEK_E_OVERFLOW},
        {kInt64, "-9223372036854775808", kAll, 10, INT64_MIN, 20},
        {kInt64, "-8000000000000000", kAll, 16, INT64_MIN, 17},
        {kInt64, "9223372036854775808", kAll, 10, 0, VEK_E_OVERFLOW},
        {kInt64, "-9223372036854775809", kAll, 10, 0, VEK_E_OVERFLOW},
        {kInt64, "5", kAll, 0, 0, VEK_E_INVALIDARG},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " radix " + std::to_string(c.radix));
        ZamSetErrorInfo(nullptr);
        int32_t consumed = 12345;
        EXPECT_EQ(Parse(c.form, c.text, c.length, c.radix, &consumed), c.value);
        EXPECT_EQ(consumed, c.consumed);
        // A failure status is the thread's error; a plain count leaves no error.
        EXPECT_EQ(ZamGetLastError(), c.consumed < 0 ? c.consumed : 0);
    }
    EXPECT_EQ(VekStrnToInt32A("42", kAll, 10, nullptr), 42);
    ZamSetErrorInfo(nullptr);
}

TEST(NumberFormat, DigitsSignWidthAndFill) {
    const struct {
        int64_t value;
        bool wide;  // through the 64-bit form
        int32_t radix, width;
        char fill;
        uint32_t flags;
        const char *expected;
    } cases[] = {
        {255, false, 16, 0, ' ', 0, "FF"},
        {-255, false, 16, 0, ' ', 0, "-FF"},
        {-1, false, 16, 0, ' ', VEK_NUMBER_UNSIGNED, "FFFFFFFF"},
        {5, false, 2, 8, '0', 0, "00000101"},
        {-5, false, 10, 4, ' ', 0, "  -5"},
        {INT32_MIN, false, 10, 0, ' ', 0, "-2147483648"},
        {INT64_MIN, true, 10, 0, ' ', 0, "-9223372036854775808"},
        {-1, true, 16, 0, ' ', VEK_NUMBER_UNSIGNED, "FFFFFFFFFFFFFFFF"},
        {INT64_MAX, true, 36, 15, '0', 0, "001Y2P0IJ32E8E7"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.expected);
        char *text = c.wide
                         ? VekInt64ToStrnA(c.value, c.radix, c.width, c.fill, c.flags, nullptr, 0)
                         : VekInt32ToStrnA(static_cast<int32_t>(c.value), c.radix, c.width, c.fill,
                                           c.flags, nullptr, 0);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, c.expected);
        EXPECT_EQ(VekTextLength(text), static_cast<int32_t>(std::string(c.expected).size()));
        VekTextFree(text);
    }
}

TEST(NumberFormat, CallerBufferAndFailures) {
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(VekInt32ToStrnA(255, 10, 0, ' ', 0, buffer, 4), buffer);
    EXPECT_STREQ(buffer, "255");

    char *(*const failing[])(char *) = {
        [](char *b) { return VekInt32ToStrnA(2550, 10, 0, ' ', 0, b, 4); },  // no room for the zero
        [](char *b) { return VekInt64ToStrnA(-1, 10, 0, ' ', 0, b, 2); },
        [](char *) { return VekInt32ToStrnA(1, 1, 0, ' ', 0, nullptr, 0); },  // bad radix
        [](char *b) { return VekInt64ToStrnA(1, 37, 0, ' ', 0, b, 8); },
    };
    for (auto call : failing) {
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(call(buffer), nullptr);
        EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
    }
    ZamSetErrorInfo(nullptr);
}

TEST(NumberFormat, RoundTripsInEveryRadix) {
    const int64_t values[] = {0, 1, -1, 35, -36, 123456789, INT64_MAX, INT64_MIN};
    for (int32_t radix = 2; radix <= 36; ++radix) {
        for (int64_t value : values) {
            SCOPED_TRACE(std::to_string(value) + " radix " + std::to_string(radix));
            char *text = VekInt64ToStrnA(value, radix, 0, ' ', 0, nullptr, 0);
            ASSERT_NE(text, nullptr);
            int32_t consumed = 0;
            EXPECT_EQ(VekStrnToInt64A(text, kAll, radix, &consumed), value);
            EXPECT_EQ(consumed, VekTextLength(text));
            VekTextFree(text);
        }
    }
}

}  // namespace
