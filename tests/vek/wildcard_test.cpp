// Wildcard matching of texts against patterns, compiled for each call and compiled
// once for many texts.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store_test_support.h"
#include "vek64_store.h"

namespace {

using store_test::IsFailure;

struct FreePattern {
    void operator()(void *compiled) const { VekWildcardFree(compiled); }
};
using Compiled = std::unique_ptr<void, FreePattern>;

Compiled CompileOnce(const std::string &pattern, uint32_t options = 0,
                     const void *descriptor = nullptr) {
    return Compiled(VekWildcardCompileA(pattern.data(), static_cast<int32_t>(pattern.size()),
                                        options, descriptor));
}

int32_t MatchCompiled(const Compiled &compiled, const std::string &text) {
    return VekWildcardMatchA(compiled.get(), text.data(), static_cast<int32_t>(text.size()));
}

// The answer of VekStrnWCompA, checked against the same pattern compiled once.
int32_t Match(const std::string &text, const std::string &pattern, uint32_t options = 0,
              const void *descriptor = nullptr) {
    const int32_t result =
        VekStrnWCompA(text.data(), static_cast<int32_t>(text.size()), pattern.data(),
                      static_cast<int32_t>(pattern.size()), options, descriptor);
    if (!IsFailure(result)) {
        const Compiled compiled = CompileOnce(pattern, options, descriptor);
        EXPECT_NE(compiled, nullptr) << pattern;
        if (compiled != nullptr) {
            EXPECT_EQ(MatchCompiled(compiled, text), result) << text << " ~ " << pattern;
        }
    }
    return result;
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
    // A range whose ends are equal is that one character.
    ExpectMatches("{a-a}", {"a"}, {"b", "`", "A", ""});
    ExpectMatches("<a-a>", {"a", "aaa"}, {"", "ab"});
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
    const std::string runs(5000, '*');
    EXPECT_EQ(Match(as, runs + "b" + runs), 1);
    EXPECT_EQ(Match(as + "b" + as, runs + "b" + runs), 0);
}

TEST(Wildcard, RunsNextToRepetitions) {
    // A run absorbs the repetition beside it; what is taken once must still be there.
    ExpectMatches("<ab>*", {"a", "ab", "b-", "a.b.c"}, {"", "-a"});
    ExpectMatches("x#*", {"x1", "x12y", "x1.2"}, {"x", "xy", "x.1"});
    ExpectMatches("**#**", {"1", "a1b", "12"}, {"", "ab"});
    ExpectMatches("*<0-9>", {"7", "a7", "a77"}, {"", "7a"});
}

TEST(Wildcard, PatternsLongerThanOneStateWord) {
    // 70 literal tokens, and runs placed across the 64th position.
    std::string literal;
    for (int i = 0; i < 70; ++i)
        literal += static_cast<char>('a' + i % 26);
    ExpectMatches(literal, {literal.c_str()}, {(literal + "a").c_str(), literal.substr(1).c_str()});
    std::string around = literal.substr(0, 62) + "*" + "#" + literal.substr(0, 10) + "*";
    const std::string hit = literal.substr(0, 62) + "xyz123" + literal.substr(0, 10) + "!";
    const std::string miss = literal.substr(0, 62) + "xyz" + literal.substr(0, 10);
    ExpectMatches(around, {hit.c_str()}, {miss.c_str()});
    // A run at each position around the word boundary, skipped with nothing to eat.
    for (size_t at = 60; at < 68; ++at) {
        const std::string head = literal.substr(0, at);
        const std::string pattern = head + "*xyz";
        ExpectMatches(pattern, {(head + "xyz").c_str(), (head + "-xyz").c_str()},
                      {(head + "xy").c_str()});
    }
}

// ---- The compiled form -------------------------------------------------------------

TEST(WildcardCompiled, OnePatternManyTexts) {
    const Compiled compiled = CompileOnce("Root.*.N[#]", VEK_IGNORE_CASE);
    ASSERT_NE(compiled, nullptr);
    EXPECT_EQ(MatchCompiled(compiled, "Root.N[3].N[7].N[1].N[10].N[2].N[5]"), 0);
    EXPECT_EQ(MatchCompiled(compiled, "root.a.n[12]"), 0);
    EXPECT_EQ(MatchCompiled(compiled, "Root.N[3]"), 1);
    EXPECT_EQ(MatchCompiled(compiled, "Root.a.N[x]"), 1);
    EXPECT_EQ(VekWildcardMatchA(compiled.get(), "Root.a.N[1]xyz", 11), 0);
    EXPECT_EQ(VekWildcardMatchA(compiled.get(), "Root.a.N[1]", -1), 0);
}

TEST(WildcardCompiled, EmptyPatternAndNullTexts) {
    const Compiled empty(VekWildcardCompileA(nullptr, -1, 0, nullptr));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(VekWildcardMatchA(empty.get(), nullptr, -1), 0);
    EXPECT_EQ(MatchCompiled(empty, "a"), 1);
}

TEST(WildcardCompiled, ErrorsSetTheThreadError) {
    EXPECT_EQ(CompileOnce("Root.{a-"), nullptr);
    EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
    EXPECT_NE(store_test::LastDescription().find("unclosed set"), std::string::npos);

    EXPECT_EQ(VekWildcardMatchA(nullptr, "a", -1), VEK_E_POINTER);
    EXPECT_EQ(ZamGetLastError(), VEK_E_POINTER);

    const uint64_t foreign[4] = {};
    EXPECT_EQ(VekWildcardMatchA(foreign, "a", -1), VEK_E_INVALIDARG);
    ZamSetErrorInfo(nullptr);
    VekWildcardFree(nullptr);
    EXPECT_EQ(ZamGetLastError(), 0);
    VekWildcardFree(const_cast<uint64_t *>(foreign));  // refused, not released
    EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
}

TEST(WildcardCompiled, SuccessLeavesTheThreadErrorAlone) {
    EXPECT_EQ(VekWildcardMatchA(nullptr, "a", -1), VEK_E_POINTER);
    const Compiled compiled = CompileOnce("a*");
    EXPECT_EQ(MatchCompiled(compiled, "abc"), 0);
    EXPECT_EQ(MatchCompiled(compiled, "b"), 1);
    EXPECT_EQ(ZamGetLastError(), VEK_E_POINTER);
}

// ---- Random patterns against a plain reference matcher ----------------------------

// A pattern element as the test spells it, with what it accepts and whether it
// repeats; "one or more" elements are two entries, as the matcher treats them.
struct Element {
    std::string spelling;
    std::string accepts;  // empty: any character
    bool repeats;
};

const std::vector<std::vector<Element>> kElementChoices = {
    {{"a", "aA", false}},
    {{"b", "bB", false}},
    {{"?", "", false}},
    {{"*", "", true}},
    {{"{ab}", "abAB", false}},
    {{"#", "0123456789", false}, {"", "0123456789", true}},
    {{"<a1>", "aA1", false}, {"", "aA1", true}},
};

// Whether `text` matches the elements, by the table of every (element, character)
// pair: the obvious dynamic programme, kept apart from the library's bit states.
bool Reference(const std::vector<Element> &elements, const std::string &text) {
    const size_t n = elements.size();
    // reach[i]: element i comes next after the characters read so far.
    std::vector<char> reach(n + 1, 0);
    auto close = [&] {
        for (size_t i = 0; i < n; ++i) {
            if (reach[i] && elements[i].repeats)
                reach[i + 1] = 1;
        }
    };
    reach[0] = 1;
    close();
    for (char c : text) {
        std::vector<char> next(n + 1, 0);
        for (size_t i = 0; i < n; ++i) {
            const Element &e = elements[i];
            if (reach[i] && (e.accepts.empty() || e.accepts.find(c) != std::string::npos))
                next[e.repeats ? i : i + 1] = 1;
        }
        reach.swap(next);
        close();
    }
    return reach[n] != 0;
}

TEST(Wildcard, RandomPatternsAgreeWithTheReference) {
    std::mt19937 random(20261206);
    const std::string alphabet = "abAB1x9";
    for (int round = 0; round < 3000; ++round) {
        // Mostly short patterns, some past one state word of 64 positions.
        const size_t picks = round % 10 == 0 ? 40 + random() % 60 : random() % 8;
        std::vector<Element> elements;
        std::string pattern;
        for (size_t i = 0; i < picks; ++i) {
            for (const Element &e : kElementChoices[random() % kElementChoices.size()]) {
                elements.push_back(e);
                pattern += e.spelling;
            }
        }
        const Compiled compiled = CompileOnce(pattern, VEK_IGNORE_CASE);
        ASSERT_NE(compiled, nullptr) << pattern;
        for (int t = 0; t < 10; ++t) {
            std::string text;
            const size_t length = random() % (elements.size() + 3);
            for (size_t i = 0; i < length; ++i)
                text += alphabet[random() % alphabet.size()];
            const int32_t expected = Reference(elements, text) ? 0 : 1;
            ASSERT_EQ(MatchCompiled(compiled, text), expected) << text << " ~ " << pattern;
            ASSERT_EQ(Match(text, pattern, VEK_IGNORE_CASE), expected) << text << " ~ " << pattern;
        }
    }
}

}  // namespace
