// Paths as texts: sections, twin indexes, canonical forms and character counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tstore/paths/t_names.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using tstore_test::Code;
using tstore_test::LastError;
using tstore_test::ThreadError;

TEST(TStoreSections, AreFoundByFullStopsOnly) {
    EXPECT_EQ(Section_Count(""), 1);
    EXPECT_EQ(Section_Count("Root.A[1].B"), 3);
    EXPECT_EQ(Get_Section("Root.A[1].B", 2), "A[1]");
    EXPECT_EQ(Get_Section("Root.A[1].B", 3), "B");
    EXPECT_EQ(Get_Section("Root.A[1].B", 4), "");
    EXPECT_EQ(Get_Section("Root.A", 0), "");
    EXPECT_EQ(Get_Section("Root.A[.]", 3), "]");
    EXPECT_EQ(Parent_Path("Root.A[2].B[1]"), "Root.A[2]");
    EXPECT_EQ(Parent_Path("Root"), "");
    EXPECT_EQ(Node_Name_Of_Path("Root.Board[2]"), "Board");
    EXPECT_EQ(Node_Name_Of_Path(""), "");
    EXPECT_EQ(Strip_Twin_Index("Board[2]"), "Board");
    EXPECT_EQ(Strip_Twin_Index("Board"), "Board");
}

TEST(TStoreSections, ReplacingChecksTheSectionNumber) {
    std::string path = "Root.A.B";
    Replace_String_Section(path, 2, "X[3]");
    EXPECT_EQ(path, "Root.X[3].B");
    for (int32_t n : {0, 4}) {
        ZamSetErrorInfo(nullptr);
        EXPECT_ANY_THROW(Replace_String_Section(path, n, "Y"));
        EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000E), "T.Replace_String_Section",
                                            "Invalid Replace_String_Section arguments: "
                                            "Section_Nbr and/or Section_Index"}));
    }
    EXPECT_EQ(path, "Root.X[3].B");
}

TEST(TStoreTwinIndexes, AreReadFromTheLastBrackets) {
    EXPECT_EQ(Section_Twin_Index("Root.A", 2), 1);
    EXPECT_EQ(Section_Twin_Index("Root.A[]", 2), -1);
    EXPECT_EQ(Section_Twin_Index("Root.A[-7]", 2), -1);
    EXPECT_EQ(Section_Twin_Index("Root.A[12]", 2), 12);
    EXPECT_EQ(Section_Twin_Index("Root.A[x]", 2), 0);
    EXPECT_EQ(Section_Twin_Index("Root.A[#]", 2), 0);
}

TEST(TStoreTwinIndexes, AreRewrittenOnSectionsThatCarryOne) {
    std::string path = "Main.Board[2].Port[1]";
    Set_Section_Twin_Index(path, 2, 17);
    EXPECT_EQ(path, "Main.Board[17].Port[1]");
    Set_Section_Twin_Index(path, 3, -1);
    EXPECT_EQ(path, "Main.Board[17].Port[-1]");
    std::string short_section = "Main.B[]";  // three characters: left alone
    Set_Section_Twin_Index(short_section, 2, 5);
    EXPECT_EQ(short_section, "Main.B[]");
    std::string no_index = "Main.Board";
    Set_Section_Twin_Index(no_index, 2, 5);
    EXPECT_EQ(no_index, "Main.Board");
}

TEST(TStoreCanonicalForm, IndexesEverySectionButTheRoot) {
    EXPECT_EQ(Complete_Twin_Indexes("Root.A.B[2]"), "Root.A[1].B[2]");
    EXPECT_EQ(Complete_Twin_Indexes("Root"), "Root");
    EXPECT_EQ(Complete_Twin_Indexes("Root[2].A[-1]"), "Root[2].A[-1]");
    EXPECT_EQ(Remove_First_Twin_Indexes("Root.A[1].B[2]"), "Root.A.B[2]");
    EXPECT_EQ(Remove_First_Twin_Indexes("Root.A[10].B[11].C[1]"), "Root.A[10].B[11].C");
    EXPECT_EQ(Remove_First_Twin_Indexes("A[[1]1]"), "A[1]");
}

TEST(TStoreAttributePaths, AreSplitAtTheFirstMark) {
    const AttributePath plain = Split_Attribute_Path("Main.Port");
    EXPECT_EQ(plain.node, "Main.Port");
    EXPECT_EQ(plain.attribute, "");
    const AttributePath twice = Split_Attribute_Path("Main.Port!Speed!x");
    EXPECT_EQ(twice.node, "Main.Port");
    EXPECT_EQ(twice.attribute, "Speed!x");
}

TEST(TStoreNames, CompareIgnoringAsciiCaseOnly) {
    EXPECT_TRUE(Same_Name("Main", "mAIN"));
    EXPECT_TRUE(Same_Name("", ""));
    EXPECT_FALSE(Same_Name("Main", ""));
    EXPECT_FALSE(Same_Name("Main", "Mains"));
    EXPECT_FALSE(Same_Name("\xE9", "\xC9"));  // no case outside ASCII
}

// The store compares names itself; its answers must be the support library's
// (VekStrnCompA with VEK_IGNORE_CASE), which sorts the aliases the same way.
TEST(TStoreNames, CompareAsTheSupportLibraryDoes) {
    const auto sign = [](int32_t value) { return (value > 0) - (value < 0); };
    std::vector<std::string> texts = {"",   "a",    "A",    "ab",   "aB",  "b", "_",
                                      "[",  "`",    "{",    "@",    "Z",   "z", "a.b",
                                      "a-", "\x7F", "\x80", "\xE9", "\xC9"};
    for (int byte = 0; byte < 256; ++byte)
        texts.push_back(std::string(1, static_cast<char>(byte)));
    for (const std::string &a : texts) {
        for (const std::string &b : texts) {
            const int32_t library = VekStrnCompA(a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                 static_cast<int32_t>(b.size()), VEK_IGNORE_CASE);
            EXPECT_EQ(sign(Compare_Names(a, b)), sign(library)) << a << " " << b;
            EXPECT_EQ(Same_Name(a, b), library == 0) << a << " " << b;
        }
    }
}

TEST(TStoreNames, ForeignCharactersAreCountedAndTheLastReported) {
    ZamSetErrorInfo(nullptr);
    EXPECT_EQ(Number_Char_From_Set("a.b!c", kNameCharacters, false), 3);
    EXPECT_EQ(ZamGetLastError(), 0);
    EXPECT_EQ(Number_Char_From_Set("a.b!c", kNameCharacters, true), 3);
    EXPECT_EQ(LastError(), (ThreadError{Code(0x6204000A), "T.Number_Char_From_Set",
                                        "Invalid character: '!' at position 4"}));
}

TEST(TStoreNames, DecimalIndexesMustBeWhole) {
    EXPECT_EQ(Parse_Decimal("12"), 12);
    EXPECT_EQ(Parse_Decimal("-1"), -1);
    EXPECT_EQ(Parse_Decimal("007"), 7);
    for (const char *bad : {"", "-", "+1", "1x", " 1", "99999999999"})
        EXPECT_EQ(Parse_Decimal(bad), std::nullopt) << bad;
}

}  // namespace
