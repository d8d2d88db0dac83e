// The format library through its exports: canonical IStrings, hexadecimal text,
// malformed input, output handling and the family's message table.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "morph64.h"
#include "vek64.h"

namespace {

// Owns a counted text or byte array of the support library.
struct Counted {
    char *items = nullptr;
    Counted() = default;
    explicit Counted(const std::string &bytes) {
        VekArrayCopy_(Void(), bytes.data(), static_cast<int32_t>(bytes.size()), 1);
    }
    Counted(const Counted &) = delete;
    Counted &operator=(const Counted &) = delete;
    ~Counted() { VekTextFree(items); }
    void **Void() { return reinterpret_cast<void **>(&items); }
    std::string Bytes() const { return items ? std::string(items, VekArrayCountEx_(items)) : ""; }
};

std::string LastDescription() {
    Counted text;
    text.items = ZamGetLastErrorDescriptionA();
    return text.Bytes();
}

std::string ToIString(const std::string &bytes) {
    Counted raw(bytes), istring;
    EXPECT_EQ(CFormatRawToIStr(raw.items, &istring.items), 0);
    return istring.Bytes();
}

std::string ToBytes(const std::string &istring) {
    Counted raw;
    EXPECT_EQ(FormatIStrToRawA(istring.c_str(), raw.Void()), 0) << LastDescription();
    return raw.Bytes();
}

std::string Convert(const char *input, const char *conversion) {
    Counted out;
    EXPECT_EQ(FormatOutputA(input, conversion, &out.items, 0), 0) << LastDescription();
    return out.Bytes();
}

// The status of a conversion that must fail and leave the output as it was.
int32_t Failure(const char *input, const char *conversion, int32_t flags = 0) {
    Counted out("kept");
    const int32_t status = FormatOutputA(input, conversion, &out.items, flags);
    EXPECT_EQ(out.Bytes(), "kept");
    return status;
}

std::string AllBytes(int repeat) {
    std::string bytes;
    for (int i = 0; i < 256 * repeat; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

TEST(IString, CanonicalFormRoundTripsEveryByte) {
    const std::string istring = ToIString(AllBytes(1));
    EXPECT_EQ(istring.size(), 94u + 162u * 3u);  // 94 plain printable bytes, 162 escapes
    EXPECT_EQ(ToBytes(istring), AllBytes(1));
    EXPECT_EQ(ToBytes(ToIString(AllBytes(8192))), AllBytes(8192));  // 2 MB
    const std::pair<std::string, std::string> cases[] = {
        {" Az~", " Az~"}, {"#", "#23"},    {"\n", "#0A"},   {std::string(1, '\0'), "#00"},
        {"\x7F", "#7F"},  {"\x80", "#80"}, {"\xAB", "#AB"}, {"a#b\xFF", "a#23b#FF"}};
    for (const auto &[bytes, expected] : cases)
        EXPECT_EQ(ToIString(bytes), expected);
}

TEST(IString, DecodingAcceptsLowerCaseEscapesAndPlainControlBytes) {
    EXPECT_EQ(ToBytes("#0a#fF#Ab#41\t"),
              "\x0A\xFF\xAB"
              "A\t");
    EXPECT_EQ(Convert("#41#7e#2a a\tb#23", "raw2hex.HEX2RAW"), "A~* a#09b#23");
}

TEST(IString, MalformedEscapeIsReportedWithoutOverRead) {
    const std::pair<std::string, int> cases[] = {{"a#4", 2},  {"#", 1},    {"ab#G1", 3},
                                                 {"#41#", 4}, {"##41", 1}, {"x#4g", 2}};
    for (const auto &[text, position] : cases) {
        auto copy = std::make_unique<char[]>(text.size() + 1);  // exact size for the asan build
        std::memcpy(copy.get(), text.c_str(), text.size() + 1);
        Counted raw("kept");
        EXPECT_EQ(FormatIStrToRawA(copy.get(), raw.Void()), MORPH_E_BAD_ISTRING) << text;
        EXPECT_EQ(raw.Bytes(), "kept");
        const std::string description = LastDescription();
        EXPECT_NE(description.find("'" + text + "'"), std::string::npos) << description;
        EXPECT_NE(description.find("byte " + std::to_string(position) + " "), std::string::npos)
            << description;
        EXPECT_EQ(Failure(copy.get(), "RAW2HEX"), MORPH_E_BAD_ISTRING);
    }
    EXPECT_EQ(Failure((std::string(100000, 'x') + "#4").c_str(), "RAW2HEX"), MORPH_E_BAD_ISTRING);
    EXPECT_LT(LastDescription().size(), 256u);
}

TEST(Hex, ConvertsBothWaysWithEitherCase) {
    const std::string hex = Convert(ToIString(AllBytes(1)).c_str(), "RAW2HEX");
    EXPECT_EQ(hex.substr(0, 6) + hex.substr(506), "000102FDFEFF");
    EXPECT_EQ(Convert(hex.c_str(), "Hex2Raw"), ToIString(AllBytes(1)));
    EXPECT_EQ(Convert("4a4B7e00ff23", "HEX2RAW"), "JK~#00#FF#23");
}

TEST(Hex, MalformedHexIsReported) {
    EXPECT_EQ(Failure("ABC", "HEX2RAW"), MORPH_E_ODD_HEX);
    EXPECT_NE(LastDescription().find("'ABC'"), std::string::npos);
    EXPECT_EQ(Failure("0G", "HEX2RAW"), MORPH_E_BAD_HEX);
    EXPECT_NE(LastDescription().find("byte 2 "), std::string::npos);
    EXPECT_EQ(Failure("#41", "HEX2RAW"), MORPH_E_BAD_HEX);
}

TEST(Exports, RejectUnknownConversionsAndBadArguments) {
    for (const char *name : {"RAW2HEX.", "HEX", "", static_cast<const char *>(nullptr)})
        EXPECT_EQ(Failure("41", name), MORPH_E_UNKNOWN_FORMAT);
    EXPECT_EQ(Failure("41", "HEX2RAW", 1), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatOutputA("41", "HEX2RAW", nullptr, 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatIStrToRawA("41", nullptr), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(CFormatRawToIStr(nullptr, nullptr), MORPH_E_BAD_ARGUMENT);
}

TEST(Exports, ReplaceTheOutputAndGiveNullForEmpty) {
    Counted out("ab#0A");
    ASSERT_EQ(FormatOutputA(out.items, "RAW2HEX", &out.items, 0), 0);  // input is the output
    EXPECT_EQ(out.Bytes(), "61620A");
    EXPECT_EQ(FormatOutputA(nullptr, "HEX2RAW", &out.items, 0), 0);
    EXPECT_EQ(out.items, nullptr);
    Counted raw("old");
    EXPECT_EQ(FormatIStrToRawA("", raw.Void()), 0);
    EXPECT_EQ(raw.items, nullptr);
    Counted istring("old");
    EXPECT_EQ(CFormatRawToIStr(nullptr, &istring.items), 0);
    EXPECT_EQ(istring.items, nullptr);
}

TEST(Exports, MessageTableAnswersForErrorsWithoutDescription) {
    ZamSetErrorInfoA(MORPH_E_ODD_HEX, "x", nullptr, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(LastDescription(), "Odd number of hexadecimal digits");
    ZamSetErrorInfoA(MORPH_E_BAD_ARGUMENT, "x", nullptr, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(LastDescription(), "Invalid argument");
}

}  // namespace
