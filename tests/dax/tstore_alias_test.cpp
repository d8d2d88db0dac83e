// Aliases: setting, reading, listing, deleting and their expansion in paths.
#include <gtest/gtest.h>

#include <string>

#include "tstore/nodes/t_locate.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

class TStoreAlias : public TStoreTest {
  protected:
    std::string Expanded(const char *path) { return Existing_T_Table()->Aliases().Expand(path); }
};

TEST_F(TStoreAlias, ExpandsOnlyAWholeFirstSection) {
    ASSERT_EQ(T_SetAliasA("DUT", "Main.Board[2].Unit"), 0);
    EXPECT_EQ(Expanded("DUT.Port"), "Main.Board[2].Unit.Port");
    EXPECT_EQ(Expanded("DUT!Speed"), "Main.Board[2].Unit!Speed");
    EXPECT_EQ(Expanded("dut"), "Main.Board[2].Unit");
    EXPECT_EQ(Expanded("DUTX.Port"), "DUTX.Port");
    EXPECT_EQ(Expanded("DU.Port"), "DU.Port");
    EXPECT_EQ(Expanded("Main.DUT"), "Main.DUT");
    EXPECT_EQ(Expanded(""), "");
}

// An alias may itself hold full stops: a path whose first section begins such an
// alias, or merely begins a longer one, must still be tried section by section.
TEST_F(TStoreAlias, AliasesThatSpanSectionsAreFound) {
    ASSERT_EQ(T_SetAliasA("A-", "Main.Dash"), 0);
    ASSERT_EQ(T_SetAliasA("A.B", "Main.Two"), 0);
    ASSERT_EQ(T_SetAliasA("AB", "Main.Joined"), 0);
    EXPECT_EQ(Expanded("A.B.C"), "Main.Two.C");
    EXPECT_EQ(Expanded("a.b!Speed"), "Main.Two!Speed");
    EXPECT_EQ(Expanded("A.C"), "A.C");
    EXPECT_EQ(Expanded("A"), "A");
    EXPECT_EQ(Expanded("A-.X"), "Main.Dash.X");
    EXPECT_EQ(Expanded("Z.B"), "Z.B");
    EXPECT_EQ(Expanded("!A.B"), "!A.B");
}

TEST_F(TStoreAlias, ExpandsOnce) {
    ASSERT_EQ(T_SetAliasA("Q", "R.x"), 0);
    ASSERT_EQ(T_SetAliasA("R", "Main.Y"), 0);
    EXPECT_EQ(Expanded("Q.z"), "R.x.z");
}

TEST_F(TStoreAlias, SettingAgainReplacesAndTheListIsSorted) {
    ASSERT_EQ(T_SetAliasA("b", "Main.B"), 0);
    ASSERT_EQ(T_SetAliasA("C", "Main.C"), 0);
    ASSERT_EQ(T_SetAliasA("a", "Main.A"), 0);
    ASSERT_EQ(T_SetAliasA("B", "Main.B[2]"), 0);
    EXPECT_EQ(Take(T_ListAliasesA()), "a -> Main.A\nb -> Main.B[2]\nC -> Main.C\n");
    EXPECT_EQ(Take(T_GetAliasA("B")), "Main.B[2]");
}

TEST_F(TStoreAlias, RefusesAliasesThatWouldChainOrHideARoot) {
    ASSERT_EQ(T_SetAliasA("DUT", "Main.Board[2].Unit"), 0);
    EXPECT_EQ(T_SetAliasA("A2", "dut.Port"), Code(0xE204000E));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000E), "T.T_SetAlias",
                           "The replacement string starts with an existing alias: dut.Port"}));
    HostTree main("Main");
    ASSERT_EQ(Declare(main.Handle()), 0);
    EXPECT_EQ(T_SetAliasA("MAIN", "Other.X"), Code(0xE204000E));
    EXPECT_EQ(LastError().description,
              "The alias is identical to an existing root node name: MAIN");
    EXPECT_EQ(Take(T_ListAliasesA()), "DUT -> Main.Board[2].Unit\n");
}

TEST_F(TStoreAlias, AnAliasSetBeforeTheRootTakesPrecedence) {
    ASSERT_EQ(T_SetAliasA("Main", "Other"), 0);
    HostTree main("Main");
    HostTree other("Other");
    ASSERT_EQ(Declare(main.Handle()), 0);
    ASSERT_EQ(Declare(other.Handle()), 0);
    EXPECT_EQ(Resolve_Path("Main", PathSyntax::kNodePath, "T.Test").object, &Object("Other"));
}

TEST_F(TStoreAlias, RefusesEmptyTexts) {
    const std::string empty_alias = "Invalid Alias: \"\"";
    EXPECT_EQ(T_SetAliasA("", "Main"), Code(0xE2040005));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040005), "T.T_SetAlias", empty_alias}));
    EXPECT_EQ(T_SetAliasA("M", nullptr), Code(0xE2040005));
    EXPECT_EQ(LastError().description, "Invalid ReplString: \"\"");
    ASSERT_EQ(T_SetAliasA("M", "Main"), 0);  // the table, for the table's own checks
    EXPECT_EQ(Take(T_GetAliasA("")), std::nullopt);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040005), "T.T_Table.GetAlias", empty_alias}));
    EXPECT_EQ(T_DeleteAliasA(""), Code(0xE2040005));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040005), "T.T_Table.DeleteAlias", empty_alias}));
}

TEST_F(TStoreAlias, MissingAliasesAndMissingTable) {
    EXPECT_EQ(Take(T_GetAliasA("X")), std::nullopt);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040001), "T.T_GetAlias", "Alias not found: X"}));
    EXPECT_EQ(T_DeleteAliasA("X"), 0);
    EXPECT_EQ(Take(T_ListAliasesA()), std::nullopt);
    ASSERT_EQ(T_SetAliasA("Y", "Main"), 0);
    EXPECT_EQ(T_DeleteAliasA("X"), 0);
    EXPECT_EQ(Take(T_GetAliasA("X")), std::nullopt);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040001), "T.T_Table.GetAlias", "Alias not found: X"}));
    EXPECT_EQ(T_DeleteAliasA("y"), 0);
    EXPECT_EQ(Take(T_GetAliasA("Y")), std::nullopt);
    EXPECT_EQ(Take(T_ListAliasesA()), std::nullopt);
}

}  // namespace
