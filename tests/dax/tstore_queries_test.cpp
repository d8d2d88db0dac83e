// Node queries: existence, type, position, counting, related paths, handles and
// the check of the current node, with the current node each leaves.
#include <gtest/gtest.h>

#include <string>

#include "imports/vek_variant.h"
#include "tstore/nodes/t_locate.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

// Root: A(X, Y-), B-, A(Z-), C
class TStoreQueries : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        a1_ = &Add(tree_.Root(), "A");
        Add(*a1_, "X");
        Add(*a1_, "Y", 0);
        Add(tree_.Root(), "B", 0);
        a2_ = &Add(tree_.Root(), "A");
        z_ = &Add(*a2_, "Z", 0);
        Add(tree_.Root(), "C");
        ASSERT_EQ(Declare(tree_.Handle()), 0);
    }

    std::string Current() {
        T_Object &root = Object("Root");
        return root.Current() != nullptr ? root.Current_Path() : std::string("none");
    }
    static std::optional<std::string> FullPath(const char *identifier, int32_t what,
                                               int32_t handling = 25) {
        return Take(T_GetFullPathA(identifier, what, handling));
    }

    HostTree tree_{"Root"};
    VekTreeNode *a1_ = nullptr, *a2_ = nullptr, *z_ = nullptr;
};

TEST_F(TStoreQueries, ExistsAnswersZeroForAnythingMissing) {
    EXPECT_EQ(T_ExistsA("Root.A[2].Z"), 1);
    EXPECT_EQ(Current(), "Root.A[2].Z[1]");
    EXPECT_EQ(T_ExistsA("root.a[-1]"), 1);
    EXPECT_EQ(T_ExistsA("Root.A[3]"), 0);
    EXPECT_EQ(T_ExistsA("Nope.A"), 0);
    EXPECT_EQ(T_ExistsA("Root.A[0]"), Code(0xE204000B));  // syntax errors are raised
    EXPECT_EQ(T_ExistsA("Root.A!Col.our"), Code(0xE2040005));
    T_Terminate();
    EXPECT_EQ(T_ExistsA("Root.A"), 0);
}

TEST_F(TStoreQueries, AnAttributeExistsWhenItHoldsAValue) {
    HostTree other("Other");
    Props props = RootConfig(other.Handle());
    VekPropsSetTextA(props.get(), "Attribute 1", "Colour");
    ASSERT_EQ(T_Declare(props.get()), 0);
    ASSERT_EQ(T_AddNodeA("Other.Added", 0, -1, 3), 0);
    EXPECT_EQ(T_ExistsA("Other.Added!Colour"), 1);  // added nodes start with their values
    EXPECT_EQ(T_ExistsA("Other.Added!colour"), 1);
    EXPECT_EQ(T_ExistsA("Other.Added!Size"), 0);
    EXPECT_EQ(T_ExistsA("Other.Missing!Colour"), 0);
    VekTreeNode &bare = Add(other.Root(), "Bare", 0);  // made by the host: no values
    EXPECT_EQ(T_ExistsA("Other.Bare!Colour"), 0);
    Ostrel::Zam::VekVariant value;
    VekVarFromStrA(value.Get(), "red", -1);
    bare._SetProperty("Colour", value.Get());
    EXPECT_EQ(T_ExistsA("Other.Bare!Colour"), 1);
    value.Out()->type = VEK_VT_NULL;
    bare._SetProperty("Colour", value.Get());
    EXPECT_EQ(T_ExistsA("Other.Bare!Colour"), 0);
}

TEST_F(TStoreQueries, TypeAndPosition) {
    EXPECT_EQ(T_IsGroupA("Root.A"), 1);
    EXPECT_EQ(T_IsGroupA("Root.B"), 0);
    EXPECT_EQ(T_IsGroupA("Root.A[2].Z!Colour"), 0);  // an attribute path names its node
    EXPECT_EQ(T_GetNodePositionA("Root.A[2]"), 3);
    EXPECT_EQ(T_GetNodePositionA("Root.C"), 4);
    EXPECT_EQ(T_GetNodePositionA("Root"), 1);
    EXPECT_EQ(T_IsGroupA("Root.D"), Code(0xE204001A));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204001A), "T.T_IsGroup", "Node not found: Root.D"}));
    EXPECT_EQ(T_GetNodePositionA("Root.A!X"), Code(0xE204000B));  // a node path only
    EXPECT_EQ(T_GetNodePositionA("Nope.A"), Code(0xE2040020));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040020), "T.T_GetNodePosition",
                                        "T Object doesn't exist: Nope.A"}));
}

TEST_F(TStoreQueries, ARootHungBelowAHostNodeStillStandsFirst) {
    HostTree host("Host");
    Add(host.Root(), "Before");
    VekTreeNode &inner = Add(host.Root(), "Inner");
    ASSERT_EQ(Declare(inner.GetHandle()), 0);
    EXPECT_EQ(T_GetNodePositionA("Inner"), 1);
}

TEST_F(TStoreQueries, CountingByTypeAndPattern) {
    EXPECT_EQ(T_CountNodesA("Root.*", 1), 7);
    EXPECT_EQ(T_CountNodesA("Root.*", 0), 3);  // B, Y, Z
    EXPECT_EQ(T_CountNodesA("Root.*", 128), 4);
    EXPECT_EQ(T_CountNodesA("Root.+[#]", 1), 4);
    EXPECT_EQ(T_CountNodesA("Root.+[#]", 128), 3);
    EXPECT_EQ(T_CountNodesA("Root.A[#]", 1), 2);
    EXPECT_EQ(T_CountNodesA("Root.A[#].?", 1), 3);  // X, Y, Z: first twins of one letter
    EXPECT_EQ(T_CountNodesA("Root.A[2].*", 1), 1);
    EXPECT_EQ(T_CountNodesA("Root.A", 1), 1);  // the start itself
    EXPECT_EQ(T_CountNodesA("Root.A", 0), 0);
    EXPECT_EQ(T_CountNodesA("Root.Missing.*", 1), 0);
    EXPECT_EQ(T_CountNodesA("Root.*", 2), Code(0xE204000E));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000E), "T.T_CountNodes",
                                        "Invalid argument: Node_Type = 2h"}));
    EXPECT_EQ(T_CountNodesA("Root.A+B+", 1), Code(0xE2040009));
    EXPECT_EQ(T_CountNodesA("Nope.*", 1), Code(0xE2040020));
    EXPECT_EQ(LastError().description, "T Object doesn't exist: Nope.*");
}

TEST_F(TStoreQueries, FullPathsOfRelatedNodes) {
    EXPECT_EQ(FullPath("Root.A[2]", 0x27), "Root.A[2]");
    EXPECT_EQ(FullPath("Root.A", 0x21), "Root.A[1].X[1]");
    EXPECT_EQ(Current(), "Root.A[1].X[1]");
    EXPECT_EQ(FullPath("Root.A.Y", 0x21), "Root.B[1]");  // climbs to the next branch
    EXPECT_EQ(FullPath("Root.A", 0x1F), "Root.A[2]");
    EXPECT_EQ(FullPath("Root.A", 0x13), "Root.A[1].X[1]");
    EXPECT_EQ(FullPath("Root.A", 0x17), "Root.A[1].Y[1]");
    EXPECT_EQ(Current(), "Root.A[1]");  // the last child leaves it on the node found
    EXPECT_EQ(FullPath("Root.A", 0x1D), "Root.B[1]");
    EXPECT_EQ(FullPath("Root.A[2]", 0x30), "Root.B[1]");
    EXPECT_EQ(FullPath("Root.A[2].Z", 0x2F), "Root.A[2]");
    EXPECT_EQ(FullPath("Root.A[2].Z", 0x31), "Root");
    EXPECT_EQ(FullPath("Root", 0x2F, 27), std::nullopt);  // the root has no parent
}

TEST_F(TStoreQueries, WildcardsFindTheFirstMatchInTreeOrder) {
    EXPECT_EQ(FullPath("Root.*Z", 0x27), "Root.A[2].Z[1]");
    EXPECT_EQ(Current(), "Root.A[2].Z[1]");
    EXPECT_EQ(FullPath("Root.+[#].Y", 0x2F), "Root.A[1]");
    EXPECT_EQ(FullPath("Root.A[#]", 0x1F), "Root.A[2]");
    EXPECT_EQ(FullPath("Root.*Q", 0x27, 27), std::nullopt);
    EXPECT_EQ(FullPath("Root.*Q", 0x27), std::nullopt);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040017), "T.T_GetFullPath", "No match for Root.*Q"}));
}

TEST_F(TStoreQueries, SilentFullPathsOfMissingNodes) {
    EXPECT_EQ(FullPath("Root.B", 0x13, 27), std::nullopt);
    EXPECT_EQ(FullPath("Root.B", 0x13), std::nullopt);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040017), "T.T_GetFullPath", "No match for Root.B"}));
    EXPECT_EQ(FullPath("Root.C", 0x1D, 27), std::nullopt);
    // Parent and root of a missing node are read off the identifier.
    EXPECT_EQ(FullPath("Root.Missing", 0x2F, 27), "Root");
    EXPECT_EQ(FullPath("Root.A.Missing", 0x2F, 27), "Root.A[1]");
    EXPECT_EQ(FullPath("Root.*Missing", 0x2F, 27), std::nullopt);
    EXPECT_EQ(FullPath("Root.Missing", 0x31, 27), "Root");
    EXPECT_EQ(FullPath("Nope.A", 0x27, 27), std::nullopt);
    EXPECT_EQ(FullPath("Nope.A", 0x27), std::nullopt);
    EXPECT_EQ(LastError().code, Code(0xE2040020));
}

TEST_F(TStoreQueries, ReturnedPathsLeaveOutFirstIndexesWhenConfigured) {
    HostTree other("Other");
    Add(other.Root(), "A");
    Add(Add(other.Root(), "A"), "B");
    ASSERT_EQ(DeclareWithoutFirstIndexes(other.Handle()), 0);
    EXPECT_EQ(Take(T_GetFullPathA("Other.A[2]", 0x30, 25)), "Other.A");
    EXPECT_EQ(Take(T_GetFullPathA("Other.A[2]", 0x13, 25)), "Other.A[2].B");
    EXPECT_EQ(Take(T_GetChildFullPathA("Other.A[2]", 1)), "Other.A[2].B");
    const int32_t handle = T_GetNodeHandleA("Other.A[2].B");
    EXPECT_EQ(Take(T_GetFullPathFromHA(handle)), "Other.A[2].B");
}

TEST_F(TStoreQueries, ChildPathsKeepTheCallersSpelling) {
    EXPECT_EQ(Take(T_GetChildFullPathA("Root.A[2]", 1)), "Root.A[2].Z[1]");
    EXPECT_EQ(Take(T_GetChildFullPathA("Root", 3)), "Root.A[2]");
    EXPECT_EQ(Take(T_GetChildFullPathA("Root.A", 2)), "Root.A.Y[1]");
    EXPECT_EQ(Current(), "Root.A");  // stored as written: not canonical
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), Code(0xE2040006));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040006), "T.T_CheckCurrentNode",
                                        "Invalid current node: Root.A"}));
    EXPECT_EQ(Take(T_GetChildFullPathA("Root.A", 0)), std::nullopt);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000E), "T.T_GetChildFullPath", "Invalid argument: Pos = 0"}));
    EXPECT_EQ(Take(T_GetChildFullPathA("Root.A", 3)), std::nullopt);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040018), "T.T_GetChildFullPath",
                                        "No node found at position 3"}));
    EXPECT_EQ(Take(T_GetChildFullPathA("Root.D", 1)), std::nullopt);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204001A), "T.T_GetChildFullPath",
                                        "Node does not exist: Root.D"}));
}

TEST_F(TStoreQueries, HandlesAreNodeHandlesAndLeadBackToThePath) {
    const int32_t handle = T_GetNodeHandleA("Root.A[2].Z");
    EXPECT_EQ(handle, z_->GetHandle());
    EXPECT_EQ(VekTreeNode::FromHandle(handle), z_);
    EXPECT_EQ(Take(T_GetFullPathFromHA(handle)), "Root.A[2].Z[1]");
    EXPECT_EQ(Take(T_GetFullPathFromHA(T_GetNodeHandleA("Root"))), "Root");
    EXPECT_EQ(T_GetNodeHandleA("Root.D"), Code(0xE204001A));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204001A), "T.T_GetNodeHandle", "Node not found: Root.D"}));
}

TEST_F(TStoreQueries, APathFromAHandleStopsAtTheNearestDeclaredRoot) {
    ASSERT_EQ(Declare(a2_->GetHandle()), 0);  // a T object named A on Root.A[2]
    EXPECT_EQ(Take(T_GetFullPathFromHA(z_->GetHandle())), "A.Z[1]");
    // A node outside every declared tree: up to its top, "[1]" left out.
    HostTree loose("Loose");
    VekTreeNode &deep = Add(Add(loose.Root(), "P"), "Q");
    EXPECT_EQ(Take(T_GetFullPathFromHA(deep.GetHandle())), "Loose.P.Q");
    T_Terminate();
    EXPECT_EQ(Take(T_GetFullPathFromHA(z_->GetHandle())), "Root.A[2].Z");
}

TEST_F(TStoreQueries, UnknownAndStaleHandlesAreErrorsNotAddresses) {
    const int32_t stale = T_GetNodeHandleA("Root.A[2].Z");
    ASSERT_EQ(T_DeleteNodeA("Root.A[2].Z", 7, 25), 0);
    for (int32_t handle : {stale, 0, -7, 2000000000}) {
        EXPECT_EQ(Take(T_GetFullPathFromHA(handle)), std::nullopt) << handle;
        EXPECT_EQ(LastError(),
                  (ThreadError{Code(0xE204001A), "T.T_GetFullPathFromH",
                               "Node does not exist: handle " + std::to_string(handle)}));
    }
}

TEST_F(TStoreQueries, CurrentNodeChecks) {
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), 0);  // none yet
    ASSERT_EQ(T_ExistsA("Root.A[2].Z"), 1);
    EXPECT_EQ(T_CheckCurrentNodeA("root"), 0);
    EXPECT_EQ(T_CheckCurrentNodeA("Nope"), Code(0xE2040020));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040020), "T.T_CheckCurrentNode",
                                        "T Object doesn't exist: Nope"}));
    // A node inserted before the current node's twin shifts its index.
    Ostrel::Zam::tstore::Locate_Node(Object("Root"), "Root.A[2]");
    a1_->SetName("A2", -1);
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), Code(0xE2040006));
    EXPECT_EQ(LastError().description, "Invalid current node: Root.A[2]");
}

TEST_F(TStoreQueries, ACurrentNodeFreedByTheHostIsReportedNotTouched) {
    const int32_t handle = T_GetNodeHandleA("Root.A[2].Z");
    ASSERT_EQ(Current(), "Root.A[2].Z[1]");
    ASSERT_EQ(VekTreeFree(handle), 0);  // behind the store's back
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), Code(0xE2040006));
    EXPECT_EQ(LastError().description, "Invalid current node: Root.A[2].Z[1]");
    // Freeing another subtree compares addresses only.
    EXPECT_EQ(T_DeleteNodeA("Root.A[1]", 7, 25), 0);
    EXPECT_EQ(Current(), "Root.B[1]");
}

}  // namespace
