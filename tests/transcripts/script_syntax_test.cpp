// The script language of daxhost: call lines, arguments and the C escapes of texts.
#include <gtest/gtest.h>

#include <string>

#include "script_line.h"
#include "text_escape.h"

namespace daxhost {
namespace {

CallLine Call(std::string_view line) {
    const ParsedLine parsed = ParseScriptLine(line);
    EXPECT_EQ(parsed.kind, LineKind::kCall) << line << ": " << parsed.error;
    return parsed.call;
}

std::string ErrorOf(std::string_view line) {
    const ParsedLine parsed = ParseScriptLine(line);
    EXPECT_EQ(parsed.kind, LineKind::kMalformed) << line;
    return parsed.error;
}

Argument OnlyArgument(std::string_view text) {
    const CallLine call = Call("F(" + std::string(text) + ")");
    EXPECT_EQ(call.arguments.size(), 1u);
    return call.arguments.empty() ? Argument{} : call.arguments.front();
}

TEST(ScriptLine, CommentsAndBlankLinesPassThrough) {
    for (const char *line : {"", "   ", "\t", "# note", "  # indented note", "#F(1)"})
        EXPECT_EQ(ParseScriptLine(line).kind, LineKind::kPassThrough) << line;
}

TEST(ScriptLine, CallWithTargetAndPrefix) {
    CallLine call = Call("  $v = F ( 1 , \"a\" ,null,out, $w )  ");
    EXPECT_FALSE(call.keep_error);
    EXPECT_EQ(call.target, "v");
    EXPECT_EQ(call.export_name, "F");
    ASSERT_EQ(call.arguments.size(), 5u);
    EXPECT_EQ(call.arguments[0].form, ArgumentForm::kInteger);
    EXPECT_EQ(call.arguments[1].form, ArgumentForm::kText);
    EXPECT_EQ(call.arguments[2].form, ArgumentForm::kNull);
    EXPECT_EQ(call.arguments[3].form, ArgumentForm::kOut);
    EXPECT_EQ(call.arguments[4].form, ArgumentForm::kVariable);
    EXPECT_EQ(call.arguments[4].text, "w");

    call = Call("keep-error v = G()");
    EXPECT_TRUE(call.keep_error);
    EXPECT_EQ(call.target, "v");
    EXPECT_EQ(call.export_name, "G");
    EXPECT_TRUE(call.arguments.empty());
    // Only the prefix followed by a blank is the prefix.
    EXPECT_EQ(ErrorOf("keep-errorF()"), "column 5: expected '('");
}

TEST(ScriptLine, IntegersCoverBothSignedAndUnsignedRanges) {
    EXPECT_EQ(OnlyArgument("-2147483648").integer, INT32_MIN);
    EXPECT_EQ(OnlyArgument("4294967295").integer, -1);
    EXPECT_EQ(OnlyArgument("0xE2090004").integer, static_cast<int32_t>(0xE2090004u));
    EXPECT_EQ(OnlyArgument("0X7f").integer, 127);
    for (const char *bad : {"4294967296", "-2147483649", "0x100000000", "0x", "12ab", "-", "0x-1"})
        EXPECT_NE(ErrorOf("F(" + std::string(bad) + ")").find("not an integer"), std::string::npos)
            << bad;
}

TEST(ScriptLine, TextEscapes) {
    EXPECT_EQ(OnlyArgument(R"("a\tb\n\r\\\"\'")").text, "a\tb\n\r\\\"'");
    EXPECT_EQ(OnlyArgument(R"("\x41\xff\x7F1")").text,
              "A\xff\x7f"
              "1");
    EXPECT_EQ(OnlyArgument(R"("")").text, "");
    EXPECT_EQ(ErrorOf(R"(F("a\x4"))"), "column 5: \\x needs two hexadecimal digits");
    EXPECT_EQ(ErrorOf(R"(F("\x00"))"), "column 4: a text cannot hold a zero byte");
    EXPECT_EQ(ErrorOf(R"(F("\q"))"), "column 4: unknown escape '\\q'");
    EXPECT_EQ(ErrorOf(R"(F("open)"), "column 8: the text has no closing quote");
    EXPECT_EQ(ErrorOf(R"(F("ends in \)"), "column 13: the text has no closing quote");
}

TEST(ScriptLine, MalformedLinesNameTheirFirstFault) {
    EXPECT_EQ(ErrorOf("F(1"), "column 4: expected ',' or ')'");
    EXPECT_EQ(ErrorOf("F(1,)"), "column 5: expected an argument");
    EXPECT_EQ(ErrorOf("F(1) x"), "column 6: unexpected text after ')'");
    EXPECT_EQ(ErrorOf("$v F()"), "column 4: expected '=' after the variable name");
    EXPECT_EQ(ErrorOf("1F()"), "column 1: expected an export name");
    EXPECT_EQ(ErrorOf("F(nil)").rfind("column 3: unknown word 'nil'", 0), 0u);
    EXPECT_EQ(ErrorOf("F($)"), "column 4: expected a variable name");
}

TEST(TextEscape, QuotedTextsReadBackAsTheSameBytes) {
    std::string every_byte;
    for (int byte = 1; byte < 256; ++byte)
        every_byte += static_cast<char>(byte);
    const std::string quoted = QuoteText(every_byte);
    EXPECT_EQ(OnlyArgument(quoted).text, every_byte);
    // A hex escape has two digits: a digit after it stays a character of its own.
    EXPECT_EQ(QuoteText("\x01"
                        "1\"\\"),
              R"("\x011\"\\")");
}

TEST(TextEscape, DescriptionsKeepQuotesAndEscapeControls) {
    EXPECT_EQ(EscapeControls("IString 'a\"b\\' at\nbyte\t2\x7f\x80"),
              "IString 'a\"b\\' at\\nbyte\\t2\\x7F\\x80");
}

}  // namespace
}  // namespace daxhost
