// Wildcard matching of texts against patterns.
#include <gtest/gtest.h>

#include <string>

#include "store_test_support.h"
#include "vek64_store.h"

namespace {

using store_test::IsFailure;

int32_t Match(const std::string &text, const std::string &pattern, uint32_t options = 0,
              const void *descriptor = nullptr) {
    return VekStrnWCompA(text.data(), static_cast<int32_t>(text.size()), pattern.data(),
                         static_cast<int32_t>(pattern.size()), options, descriptor);
}

void ExpectMatches(const std::string &pattern, std::initializer_list<const char *> matching,
                   std::initializer_list<const char *> failing, uint32_t options = 0) {
    for (const char *text : matching)
        EXPECT_EQ(Match(text, pattern, options), 0) << text << " ~ " << pattern;
    for (const char *text : failing)
        EXPECT_EQ(Match(text, pattern, options), 1) << text << " !~ " << pattern;
}

TEST(Wildcard, LiteralsMustMatchTheWholeText) {
    ExpectMatches(
        "Main.Board[2].Port[-1]", {"Main.Board[2].Port[-1]"},
        {"Main.Board[2].Port[-1]x", "Main.Board[2].Port[-1", "main.board[2].port[-1]", ""});
    ExpectMatches("", {""}, {"a"});
    ExpectMatches("Abc", {"aBC", "abc"}, {"abd"}, VEK_IGNORE_CASE);
}

TEST(Wildcard, SingleCharacterAndRuns) {
    ExpectMatches("a?c", {"abc", "a.c", "a?c"}, {"ac", "abbc"});
    ExpectMatches("Root.*", {"Root.", "Root.a", "Root.a.b[3].c"}, {"Root", "Rootx.a"});
    ExpectMatches("*", {"", "anything at all"}, {});
    ExpectMatches("*.Port", {"Board.Port", "A.B.C.Port", ".Port"}, {"Board.Portal"});
}

TEST(Wildcard, SetsOfSingleCharacters) {
    const std::string pattern = "Root.{0-9a-zA-Z_()/, :'-}[1]";
    ExpectMatches(pattern, {"Root.x[1]", "Root.7[1]", "Root.-[1]", "Root. [1]", "Root.'[1]"},
                  {"Root.xy[1]", "Root.[1]", "Root.![1]", "Root.x[2]"});
    ExpectMatches("{-a}", {"-", "a"}, {"b", ""});  // '-' first stands for itself
    ExpectMatches("{a-c}", {"a", "b", "c"}, {"B", "d"});
    ExpectMatches("{a-c}", {"B"}, {"d"}, VEK_IGNORE_CASE);
    ExpectMatches("{X-Z}", {"y"}, {"w"}, VEK_IGNORE_CASE);
}

TEST(Wildcard, OneOrMoreOfASetAndNumbers) {
    const std::string pattern = "Root.<0-9a-zA-Z_()/, :'->[#]";
    ExpectMatches(pattern, {"Root.Port (2)[10]", "Root.a[0]", "Root.-[123456]"},
                  {"Root.[1]", "Root.a[]", "Root.a[1x]", "Root.a!b[1]"});
    ExpectMatches("x#", {"x0", "x123"}, {"x", "x1a", "xa"});
    ExpectMatches("Main.Board[#].Port[-1]", {"Main.Board[12].Port[-1]"},
                  {"Main.Board[].Port[-1]", "Main.Board[1].Port[-2]"});
}

TEST(Wildcard, MalformedPatternsFail) {
    for (const char *pattern : {"{abc", "<a", "{c-a}", "{}", "<>"}) {
        EXPECT_TRUE(IsFailure(Match("a", pattern))) << pattern;
        EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG) << pattern;
    }
}

TEST(Wildcard, DescriptorChoosesThePatternCharacters) {
    unsigned char none[VEK_WILDCARD_DESCRIPTOR_SIZE] = {};
    EXPECT_EQ(Match("a*c", "a*c", 0, none), 0);
    EXPECT_EQ(Match("abc", "a*c", 0, none), 1);
    EXPECT_EQ(Match("{", "{", 0, none), 0);  // no sets: not malformed either

    unsigned char percent[VEK_WILDCARD_DESCRIPTOR_SIZE] = {};
    percent[6] = '%';
    percent[8] = '[';
    percent[10] = ':';
    percent[11] = ']';
    EXPECT_EQ(Match("abc.d", "a%d", 0, percent), 0);
    EXPECT_EQ(Match("a*", "a*", 0, percent), 0);
    EXPECT_EQ(Match("k", "[a:z]", 0, percent), 0);
    EXPECT_EQ(Match("-", "[a:z]", 0, percent), 1);
}

TEST(Wildcard, ExplicitLengthsAndZeroBytes) {
    EXPECT_EQ(VekStrnWCompA("abcdef", 3, "abc", -1, 0, nullptr), 0);
    EXPECT_EQ(VekStrnWCompA("abc", -1, "a?cdef", 3, 0, nullptr), 0);
    EXPECT_EQ(Match(std::string("a\0c", 3), "a?c"), 0);
    EXPECT_EQ(VekStrnWCompA(nullptr, -1, "*", -1, 0, nullptr), 0);
}

TEST(Wildcard, ManyRunsAgainstLongTextStayPolynomial) {
    const std::string as(10000, 'a');
    EXPECT_EQ(Match(as, "*a*a*a*a*a*b"), 1);
    EXPECT_EQ(Match(as + "b", "*a*a*a*a*a*b"), 0);
    EXPECT_EQ(Match(as, "<a><a><a><a>#"), 1);
}

}  // namespace
