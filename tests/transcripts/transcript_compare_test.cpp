// Comparing a transcript with an expected file, `{*}` matching any run of characters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/expected_match.h"

namespace daxhost {
namespace {

TEST(LineMatches, WithoutWildcardLinesMustBeEqual) {
    EXPECT_TRUE(LineMatches("= 3", "= 3"));
    EXPECT_FALSE(LineMatches("= 3", "= 3 "));
    EXPECT_FALSE(LineMatches("= 3", "= 30"));
    EXPECT_TRUE(LineMatches("", ""));
}

TEST(LineMatches, WildcardMatchesAnyRunIncludingNone) {
    const char *pattern = "! 0xC0000005 [src] at address {*}: Access violation";
    EXPECT_TRUE(LineMatches(pattern, "! 0xC0000005 [src] at address 0x7f00aa: Access violation"));
    EXPECT_TRUE(LineMatches(pattern, "! 0xC0000005 [src] at address : Access violation"));
    EXPECT_FALSE(LineMatches(pattern, "! 0xC0000005 [src] at address 0x7f00aa: Access"));
    EXPECT_TRUE(LineMatches("{*}", ""));
    EXPECT_TRUE(LineMatches("a{*}b{*}c", "a-b-b-c"));
    EXPECT_FALSE(LineMatches("a{*}b{*}c", "a-c-b"));
}

TEST(LineMatches, PrefixAndSuffixDoNotShareCharacters) {
    EXPECT_FALSE(LineMatches("ab{*}ba", "aba"));
    EXPECT_TRUE(LineMatches("ab{*}ba", "abba"));
    EXPECT_FALSE(LineMatches("x{*}y{*}z", "xz"));
}

std::vector<TranscriptLine> Lines(std::initializer_list<const char *> texts) {
    std::vector<TranscriptLine> lines;
    int script_line = 10;
    for (const char *text : texts)
        lines.push_back({text, script_line++});
    return lines;
}

TEST(FirstDifference, NamesTheLineInBothFiles) {
    const std::vector<std::string> expected = {"> F(1)", "= 1", "> F(2)", "= {*}"};
    EXPECT_FALSE(FirstDifference(Lines({"> F(1)", "= 1", "> F(2)", "= 2"}), expected));

    const auto difference = FirstDifference(Lines({"> F(1)", "= 7"}), expected);
    ASSERT_TRUE(difference);
    EXPECT_EQ(difference->line_number, 2u);
    EXPECT_EQ(difference->expected, "= 1");
    EXPECT_EQ(difference->actual, "= 7");
    EXPECT_EQ(difference->script_line, 11);
    EXPECT_EQ(DescribeDifference(*difference, "f.expected", "f.dax"),
              "transcript differs from f.expected at line 2 (f.dax line 11):\n"
              "  expected: = 1\n  actual:   = 7\n");
}

TEST(FirstDifference, AShorterFileIsADifference) {
    const std::vector<std::string> expected = {"> F(1)", "= 1"};
    auto difference = FirstDifference(Lines({"> F(1)"}), expected);
    ASSERT_TRUE(difference);
    EXPECT_EQ(difference->line_number, 2u);
    EXPECT_FALSE(difference->actual);

    difference = FirstDifference(Lines({"> F(1)", "= 1", "extra"}), expected);
    ASSERT_TRUE(difference);
    EXPECT_EQ(difference->line_number, 3u);
    EXPECT_FALSE(difference->expected);
    EXPECT_NE(DescribeDifference(*difference, "e", "s").find("expected: (no more lines)"),
              std::string::npos);
}

}  // namespace
}  // namespace daxhost
