// The script language of daxhost: call lines, arguments and the C escapes of texts.
#include <gtest/gtest.h>

#include <string>

#include "calls/variant_argument.h"
#include "script/script_line.h"
#include "text/text_escape.h"

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

// The VARIANT a description builds, as the transcript shows it; the error when it
// builds none.
std::string Shown(std::string_view description) {
    HostVariant variant;
    std::string error;
    if (!ParseVariantDescription(description, variant, &error))
        return "error: " + error;
    return ShowVariant(variant.Value());
}

TEST(VariantDescription, EveryKindShowsAsItWasWritten) {
    for (const char *description : {"empty",
                                    "null",
                                    "i1:-128",
                                    "i2:-32768",
                                    "i4:12",
                                    "int:-1",
                                    "i8:-9223372036854775808",
                                    "ui1:255",
                                    "ui2:65535",
                                    "ui4:4294967295",
                                    "uint:7",
                                    "ui8:18446744073709551615",
                                    "r8:1.5",
                                    "r4:0.1",
                                    "r8:-1e+300",
                                    "bool:true",
                                    "bool:false",
                                    "date:2026-12-06",
                                    "date:2026-12-06 08:14:19",
                                    "ref:i4:3",
                                    "ref:ref:empty"}) {
        EXPECT_EQ(Shown(description), description);
    }
    // Texts and bytes come back quoted, bytes as their canonical IString.
    EXPECT_EQ(Shown("bstr:a \"b\" \xE9"), R"(bstr:"a \"b\" \xE9")");
    EXPECT_EQ(Shown("bstr:"), R"(bstr:"")");
    EXPECT_EQ(Shown("bytes:#41b#0a#23"), R"(bytes:"Ab#0A#23")");
    EXPECT_EQ(Shown("bytes:"), R"(bytes:"")");
    EXPECT_EQ(Shown("BOOL:TRUE").rfind("error: ", 0), 0u);  // kind names are lower case
    EXPECT_EQ(Shown("bool:TRUE"), "bool:true");
    EXPECT_EQ(Shown("date:2026-12-06T08:14:19"), "date:2026-12-06 08:14:19");
}

TEST(VariantDescription, MalformedDescriptionsAreRefused) {
    for (const char *description :
         {"", "i4", "i4:", "i4:12x", "i4:2147483648", "i1:128", "ui1:-1", "ui8:-1", "r8:abc",
          "bool:yes", "date:2026-02-30", "date:", "bytes:#4", "text:abc", "empty:1",
          "ref:ref:ref:ref:ref:i4:1", "ref:"}) {
        EXPECT_EQ(Shown(description).rfind("error: bad VARIANT description ", 0), 0u)
            << description;
    }
    EXPECT_EQ(Shown("i4:x"),
              "error: bad VARIANT description \"i4:x\": expected a whole number in the range "
              "of i4");
}

TEST(VariantDescription, KindsWithoutADescriptionShowTheirCode) {
    VARIANT odd;
    VariantInit(&odd);
    odd.vt = VT_ERROR;
    EXPECT_EQ(ShowVariant(odd), "vt:0x000A");
    odd.vt = VT_BSTR;
    EXPECT_EQ(ShowVariant(odd), "bstr:null");
    odd.vt = VT_ARRAY | VT_UI1;
    EXPECT_EQ(ShowVariant(odd), "bytes:null");
    odd.vt = VT_DISPATCH;
    EXPECT_EQ(ShowVariant(odd), "dispatch:null");
    odd.vt = VT_DATE;
    odd.date = 1e9;  // no calendar day: the number itself
    EXPECT_EQ(ShowVariant(odd), "date:1e+09");
}

}  // namespace
}  // namespace daxhost
