// FormatValidateA: the mask language, its optional places, literals and escapes,
// and how a malformed mask and bad flags are reported.
#include <gtest/gtest.h>

#include <string>

#include "morph64.h"
#include "vek64.h"

namespace {

int32_t Check(const char *value, const char *mask) {
    return FormatValidateA(value, 0, mask, 0);
}

std::string LastDescription() {
    char *text = ZamGetLastErrorDescriptionA();
    std::string copy = text != nullptr ? std::string(text, VekArrayCountEx_(text)) : "";
    VekTextFree(text);
    return copy;
}

TEST(InputMask, RequiredPlacesTakeExactlyTheirClass) {
    EXPECT_EQ(Check("AB-12", "LL-00"), 0);
    EXPECT_EQ(Check("ab-12", "LL-00"), 0);
    EXPECT_EQ(Check("A1x", "AA&"), 0);
    EXPECT_EQ(Check("A#-", "A&&"), 0);
    EXPECT_EQ(Check("1B-12", "LL-00"), MORPH_S_MASK_MISMATCH);
    EXPECT_EQ(Check("AB-1", "LL-00"), MORPH_S_MASK_MISMATCH);    // value ends first
    EXPECT_EQ(Check("AB-123", "LL-00"), MORPH_S_MASK_MISMATCH);  // mask ends first
    EXPECT_EQ(Check("AB_12", "LL-00"), MORPH_S_MASK_MISMATCH);   // literal differs
    EXPECT_EQ(Check("\xE9", "L"), MORPH_S_MASK_MISMATCH);        // letters are ASCII
    EXPECT_EQ(Check("\xE9", "&"), 0);
    // The ends of the letter ranges.
    EXPECT_EQ(Check("AZaz", "LLLL"), 0);
    EXPECT_EQ(Check("@[`{", "CCCC"), 0);
    EXPECT_EQ(Check("@", "L"), MORPH_S_MASK_MISMATCH);
    EXPECT_EQ(Check("{", "A"), MORPH_S_MASK_MISMATCH);
}

TEST(InputMask, OptionalPlacesTakeAFittingCharacterOrNothing) {
    EXPECT_EQ(Check("7", "09"), 0);
    EXPECT_EQ(Check("75", "09"), 0);
    EXPECT_EQ(Check("", "9?aC"), 0);
    EXPECT_EQ(Check("x", "9?"), 0);     // 9 matches nothing, ? takes x
    EXPECT_EQ(Check("5x", "9?aC"), 0);  // a and C match nothing at the end
    // No look-ahead: the optional digits take both, the required one finds nothing.
    EXPECT_EQ(Check("12", "990"), MORPH_S_MASK_MISMATCH);
    EXPECT_EQ(Check("123", "990"), 0);
    // An optional place leaves a character that does not fit to the next place.
    EXPECT_EQ(Check("a", "9L"), 0);
    EXPECT_EQ(Check("-5", "?-0"), 0);
    EXPECT_EQ(Check("5", "a"), 0);  // letters or digits
    EXPECT_EQ(Check("Z9", "aa"), 0);
    EXPECT_EQ(Check("-", "a"), MORPH_S_MASK_MISMATCH);
}

TEST(InputMask, LiteralsAreCaseSensitiveAndEscapesQuoteMaskCharacters) {
    EXPECT_EQ(Check("x-y", "x-y"), 0);
    EXPECT_EQ(Check("X-y", "x-y"), MORPH_S_MASK_MISMATCH);
    EXPECT_EQ(Check("0L", "\\0\\L"), 0);
    EXPECT_EQ(Check("5L", "\\0\\L"), MORPH_S_MASK_MISMATCH);
    EXPECT_EQ(Check("a\\b", "L\\\\L"), 0);
    EXPECT_EQ(Check("", ""), 0);
    EXPECT_EQ(Check(nullptr, nullptr), 0);
    EXPECT_EQ(Check("x", nullptr), MORPH_S_MASK_MISMATCH);
}

TEST(InputMask, MalformedMaskAndFlagsAreRecorded) {
    EXPECT_EQ(Check("anything", "00\\"), MORPH_E_BAD_MASK);
    EXPECT_EQ(LastDescription(),
              "Invalid input format mask \"00\\\": a trailing '\\' escapes nothing");
    EXPECT_EQ(Check("1", "\\\\"), MORPH_S_MASK_MISMATCH);  // an escaped backslash is well formed
    EXPECT_EQ(FormatValidateA("1", 1, "0", 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatValidateA("1", 0, "0", 2), MORPH_E_BAD_ARGUMENT);
}

}  // namespace
