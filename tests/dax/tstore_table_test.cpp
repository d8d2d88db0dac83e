// Declaring, removing and ending T objects; the overview; root handles; the
// message table; TestHeap.
#include <gtest/gtest.h>

#include <string>

#include "tstore/nodes/t_locate.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

const std::string kTitle =
    "============================== T table overview ===============================\n\n";
const std::string kClosing = "\n" + std::string(79, '=') + "\n";

class TStoreTable : public TStoreTest {
  protected:
    HostTree main_{"Main"};
};

TEST_F(TStoreTable, OverviewListsObjectsAndCurrentNodes) {
    EXPECT_EQ(Take(T_Present_T_Table()), std::nullopt);
    Add(main_.Root(), "Board");
    HostTree other("Other");
    ASSERT_EQ(Declare(main_.Handle()), 0);
    EXPECT_EQ(Take(T_Present_T_Table()), kTitle +
                                             "1 T is defined: \n\n   1: Main\n"
                                             "       Current node is undefined\n" +
                                             kClosing);
    ASSERT_EQ(Declare(other.Handle()), 0);
    ASSERT_TRUE(Locate_Node(Object("Main"), "Main.Board"));
    EXPECT_EQ(Take(T_Present_T_Table()),
              kTitle + "2 T's are defined: \n\n   1: Main\n       Current node is : Main.Board\n" +
                  "   2: Other\n       Current node is undefined\n" + kClosing);
}

TEST_F(TStoreTable, OverviewOfATableWithoutObjectsUsesThePlural) {
    ASSERT_EQ(T_SetAliasA("X", "Main.A"), 0);
    EXPECT_EQ(Take(T_Present_T_Table()), kTitle + "0 T's are defined: \n\n" + kClosing);
}

TEST_F(TStoreTable, RootNamesAreUniqueIgnoringCase) {
    HostTree upper("MAIN");
    ASSERT_EQ(Declare(main_.Handle()), 0);
    EXPECT_EQ(Declare(upper.Handle()), Code(0xE2040004));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040004), "T.T_Declare", "Duplicate root name: MAIN"}));
    EXPECT_EQ(Existing_T_Table()->Object_Count(), 1);
}

TEST_F(TStoreTable, RemovingFindsTheNameIgnoringCase) {
    ASSERT_EQ(Declare(main_.Handle()), 0);
    EXPECT_EQ(T_RemoveA("main"), 0);
    EXPECT_EQ(Existing_T_Table()->Object_Count(), 0);
    EXPECT_EQ(main_.Root().GetName(), "Main");  // the tree stays
    EXPECT_EQ(T_RemoveA("main"), Code(0xE2040020));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040020), "T.T_Remove", "T Object doesn't exist: main"}));
}

TEST_F(TStoreTable, TerminateEndsTheTable) {
    EXPECT_EQ(T_Terminate(), 0);  // no table
    ASSERT_EQ(Declare(main_.Handle()), 0);
    ASSERT_EQ(T_SetAliasA("M", "Main.X"), 0);
    EXPECT_EQ(T_Terminate(), 0);
    EXPECT_EQ(Existing_T_Table(), nullptr);
    EXPECT_EQ(T_RemoveA("Main"), Code(0xE2040020));
    EXPECT_EQ(Take(T_Present_T_Table()), std::nullopt);
    EXPECT_EQ(Take(T_ListAliasesA()), std::nullopt);
}

TEST_F(TStoreTable, RootHandlesThatNameNoLiveNodeAreRefused) {
    HostTree freed("Gone");
    const int32_t stale = freed.Handle();
    freed.Free();
    Props no_root(VekPropsNew());
    const ThreadError refused{Code(0xE2040010), "T.T_Declare", "Invalid root node"};
    for (int32_t handle : {0, -1, -2147483647 - 1, 0x7FFFFFF0, stale}) {
        EXPECT_EQ(Declare(handle), Code(0xE2040010)) << handle;
        EXPECT_EQ(LastError(), refused) << handle;
    }
    EXPECT_EQ(T_Declare(no_root.get()), Code(0xE2040010));
    EXPECT_EQ(T_Declare(nullptr), Code(0xE2040010));
    EXPECT_EQ(Take(T_Present_T_Table()), std::nullopt);  // refused before the table
}

TEST_F(TStoreTable, TheConfigurationIsCopied) {
    Props config = RootConfig(main_.Handle());
    VekPropsSetInt32(config.get(), "Remove First Twin Indexes", 1);
    ASSERT_EQ(T_Declare(config.get()), 0);
    VekPropsSetInt32(config.get(), "Remove First Twin Indexes", 0);
    config.reset();
    EXPECT_EQ(Object("Main").Returned_Path("Main.A[1].B[2]"), "Main.A.B[2]");
    EXPECT_EQ(Object("Main").Returned_Path("Main.A[10]"), "Main.A[10]");
}

TEST(TStoreMessages, GiveTheTextsOfTheStoresCodes) {
    const auto text_of = [](uint32_t code) {
        ZamSetErrorInfoA(Code(code), "T.Test", nullptr, nullptr, nullptr, 0, nullptr);
        return LastError().description.value_or("");
    };
    EXPECT_EQ(text_of(0xE2040001), "The alias was not found in the table");
    EXPECT_EQ(text_of(0xE2040017), "No node was found to match identifier");
    EXPECT_EQ(text_of(0xE2040020), "T object does not exist");
    EXPECT_EQ(text_of(0xE2040029), "Value is too long");
    for (uint32_t gap : {0xE2040000u, 0xE2040007u, 0xE204001Fu, 0xE2040028u, 0xE204002Au})
        EXPECT_EQ(text_of(gap), "") << std::hex << gap;
}

TEST(TStoreTestHeap, PrintsAroundAChainOfBlocks) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(TestHeap("start", 1000, 4), 6);
    EXPECT_EQ(TestHeap("none", 0, 64), 6);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Testing heap at start...\n...OK\nTesting heap at none...\n...OK\n");
}

TEST(TStoreTestHeap, RefusesBlocksTooSmallAndRequestsTooLarge) {
    testing::internal::CaptureStdout();
    for (int32_t size : {3, 0, -8}) {
        EXPECT_EQ(TestHeap("x", 1, size), Code(0xE204000E)) << size;
        EXPECT_EQ(LastError().source, "T.TestHeap");
    }
    EXPECT_EQ(TestHeap("x", 1u << 21, 4), Code(0xE204000E));
    EXPECT_EQ(TestHeap("x", 4000000000u, 4), Code(0xE204000E));
    EXPECT_EQ(TestHeap("x", 1024, 0x7FFFFFFF), Code(0xE204000E));
    EXPECT_EQ(LastError().description,
              "Invalid argument: Count * Size = 2199023254528 bytes (at most 67108864)");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
