// The conversions between IStrings, hexadecimal texts and bit texts, and random
// IStrings (checked by properties over many draws).
#include <random>

#include "istr_test_support.h"

namespace {

using namespace istr_test;

ThreadError Invalid(const std::string &text) {
    return Failure(0xE2090003, "Str.CheckNumStr", "\"" + text + "\" is invalid");
}
const char kRandom[] = "Str.Str_IStr_Random";

TEST(IStrConvert, HexBitAndIStrTexts) {
    RunCases({
        ISTR_ROW(Str_HexStrToIStrA("4142"), "AB", kNoError),
        ISTR_ROW(Str_HexStrToIStrA("230AFF"), "#23#0A#FF", kNoError),
        ISTR_ROW(Str_HexStrToIStrA(""), kNull, kNoError),
        ISTR_ROW(Str_HexStrToIStrA("4a"), kNull, Invalid("4a")),
        ISTR_ROW(Str_HexStrToIStrA("414"), kNull,
                 Failure(0xE2100003, "Str.HexStrToIStr", "Odd number of hexadecimal digits")),
        ISTR_ROW(Str_IStrToHexStrA("A#0ab"), "410A62", kNoError),
        ISTR_ROW(Str_IStrToHexStrA("#zz"), kNull,
                 Failure(0xE2100001, "Str.IStrToHexStr",
                         "Invalid IString: '#' must be followed by two hexadecimal digits")),
        ISTR_ROW(Str_BitStrToHexStrA("101"), "5", kNoError),
        ISTR_ROW(Str_BitStrToHexStrA("00001111"), "0F", kNoError),
        ISTR_ROW(Str_BitStrToHexStrA("11111"), "1F", kNoError),
        ISTR_ROW(Str_BitStrToHexStrA(""), kNull, kNoError),
        ISTR_ROW(Str_BitStrToHexStrA("12"), kNull, Invalid("12")),
        ISTR_ROW(Str_HexStrToBitStrA("0F"), "00001111", kNoError),
        ISTR_ROW(Str_HexStrToBitStrA("A"), "1010", kNoError),
        ISTR_ROW(Str_HexStrToBitStrA("0f"), kNull, Invalid("0f")),
    });
}

TEST(IStrConvert, HexRoundTripsOverRandomTexts) {
    std::mt19937 random(3);
    for (int draw = 0; draw < 300; ++draw) {
        std::string hex;
        for (uint32_t i = 2 * (random() % 12); i > 0; --i)
            hex.push_back("0123456789ABCDEF"[random() % 16]);
        const std::string bits = Take(Str_HexStrToBitStrA(hex.c_str())).value_or("");
        EXPECT_EQ(bits.size(), 4 * hex.size());
        EXPECT_EQ(Take(Str_BitStrToHexStrA(bits.c_str())).value_or(""), hex);
        const std::string istr = Take(Str_HexStrToIStrA(hex.c_str())).value_or("");
        EXPECT_EQ(Take(Str_IStrToHexStrA(istr.c_str())).value_or(""), hex);
    }
}

TEST(IStrRandom, Failures) {
    const ThreadError invalid = Failure(0xE2090003, kRandom, "Data is invalid");
    RunCases({
        ISTR_ROW(Str_IStr_RandomA(0, "", "", ""), kNull, kNoError),
        ISTR_ROW(Str_IStr_RandomA(3, "#41", "A", nullptr), "AAA", kNoError),
        ISTR_ROW(Str_IStr_RandomA(-1, "", "", ""), kNull,
                 Failure(0xE2090003, kRandom, "Invalid length: -1")),
        ISTR_ROW(
            Str_IStr_RandomA(2, "#42", "#41", ""), kNull,
            Failure(0xE2090005, kRandom, "Specified minimum is greater than specified maximum")),
        ISTR_ROW(Str_IStr_RandomA(2, "AB", "", ""), kNull, invalid),
        ISTR_ROW(Str_IStr_RandomA(2, "", "#4", ""), kNull, invalid),
        ISTR_ROW(Str_IStr_RandomA(1, "#41", "#41", "#41"), kNull,
                 Failure(0xE2090002, kRandom, "Infinite loop")),
    });
}

// The bytes of a drawn IString as hexadecimal digits.
std::string Bytes(char *istr) {
    const std::string text = Take(istr).value_or("");
    return Take(Str_IStrToHexStrA(text.c_str())).value_or("");
}

TEST(IStrRandom, LengthBoundsAndExclusionHoldOverManyDraws) {
    std::string seen;
    for (int draw = 0; draw < 300; ++draw) {
        const int32_t length = draw % 20;
        EXPECT_EQ(Bytes(Str_IStr_RandomA(length, nullptr, nullptr, nullptr)).size(),
                  2u * static_cast<size_t>(length));
        const std::string digits = Bytes(Str_IStr_RandomA(4, "0", "9", nullptr));
        ASSERT_EQ(digits.size(), 8u);
        for (size_t i = 0; i < 8; i += 2) {
            EXPECT_GE(digits.substr(i, 2), "30");
            EXPECT_LE(digits.substr(i, 2), "39");
        }
        seen += digits;
        const std::string high = Bytes(Str_IStr_RandomA(2, "#FE", "", "#FE#FE"));
        EXPECT_TRUE(high == "FEFF" || high == "FFFE" || high == "FFFF") << high;
    }
    EXPECT_NE(seen.find("30"), std::string::npos);  // both ends of the range are drawn
    EXPECT_NE(seen.find("39"), std::string::npos);
}

}  // namespace
