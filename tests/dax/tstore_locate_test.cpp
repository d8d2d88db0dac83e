// Locating nodes by path, walking from the current node, and resolving the paths
// of exports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_walk.h"
#include "tstore/paths/t_names.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

// Root: A, A, A (with X, X), B (with C), and a child without name.
class TStoreLocate : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        a1_ = &Add(tree_.Root(), "A");
        Add(tree_.Root(), "A");
        a3_ = &Add(tree_.Root(), "A");
        Add(*a3_, "X");
        x2_ = &Add(*a3_, "X");
        b_ = &Add(tree_.Root(), "B");
        c_ = &Add(*b_, "C", 0);
        Add(tree_.Root(), "");
        ASSERT_EQ(Declare(tree_.Handle()), 0);
    }

    T_Object &Root() { return Object("Root"); }
    // Where the last step left the current node: its path, or "none".
    std::string Current() {
        return Root().Current() != nullptr ? Root().Current_Path() : std::string("none");
    }

    HostTree tree_{"Root"};
    VekTreeNode *a1_ = nullptr, *a3_ = nullptr, *x2_ = nullptr, *b_ = nullptr, *c_ = nullptr;
};

TEST_F(TStoreLocate, FindsTwinsByIndex) {
    EXPECT_TRUE(Locate_Node(Root(), "Root.A[3].X[2]"));
    EXPECT_EQ(Root().Current(), x2_);
    EXPECT_EQ(Current(), "Root.A[3].X[2]");
    EXPECT_TRUE(Locate_Node(Root(), "root.a[1]"));  // names ignore case; the path is kept
    EXPECT_EQ(Root().Current(), a1_);
    EXPECT_EQ(Current(), "root.a[1]");
    EXPECT_TRUE(Locate_Node(Root(), "Root"));
    EXPECT_EQ(Root().Current(), &tree_.Root());
}

TEST_F(TStoreLocate, MinusOneTakesTheLastTwinAndWritesItsIndex) {
    EXPECT_TRUE(Locate_Node(Root(), "Root.A[-1]"));
    EXPECT_EQ(Root().Current(), a3_);
    EXPECT_EQ(Current(), "Root.A[3]");
    EXPECT_TRUE(Locate_Node(Root(), "Root.A[-1].X[-1]"));
    EXPECT_EQ(Current(), "Root.A[3].X[2]");
    EXPECT_TRUE(Locate_Node(Root(), "Root.B[-1].C[1]"));
    EXPECT_EQ(Current(), "Root.B[1].C[1]");
}

// A current path may come out longer than the path sought: every -1 becomes the
// index found, every missing index "[1]".
TEST_F(TStoreLocate, CurrentPathsLongerThanThePathSoughtAreWrittenWhole) {
    VekTreeNode *level = b_;
    std::string expected = "Root.B[1]";
    for (int depth = 0; depth < 5; ++depth) {
        VekTreeNode *last = nullptr;
        for (int twin = 0; twin < 1000; ++twin)
            last = &Add(*level, "Q");
        level = last;
        expected += ".Q[1000]";
    }
    EXPECT_TRUE(Locate_Node(Root(), "Root.B[-1].Q[-1].Q[-1].Q[-1].Q[-1].Q[-1]"));
    EXPECT_EQ(Root().Current(), level);
    EXPECT_EQ(Current(), expected);
    EXPECT_TRUE(Locate_Completing(Root(), "Root.B.Q[-1].Q[1000].Q[-1].Q[1000].Q[-1]"));
    EXPECT_EQ(Current(), expected);
    // Only the last twin of each level has children: the first stops a level down.
    EXPECT_FALSE(Locate_Completing(Root(), "Root.B.Q.Q.Q.Q.Q"));
    EXPECT_EQ(Current(), "Root.B[1].Q[1]");
}

// A T object keeps its root only while the handle table is unchanged: a tree
// freed between two calls is gone for the second.
TEST_F(TStoreLocate, ATreeFreedBetweenCallsIsGoneForTheNext) {
    EXPECT_EQ(T_ExistsA("Root.A[3].X[2]"), 1);
    tree_.Free();
    EXPECT_EQ(T_ExistsA("Root.A[3].X[2]"), 0);
    EXPECT_EQ(T_ExistsA("Root"), 0);
}

TEST_F(TStoreLocate, StopsAtTheDeepestAncestorFound) {
    EXPECT_FALSE(Locate_Node(Root(), "Root.A[1].B[1]"));  // A has no children
    EXPECT_EQ(Root().Current(), a1_);
    EXPECT_EQ(Current(), "Root.A[1]");
    EXPECT_FALSE(Locate_Node(Root(), "Root.B[1].D[1]"));
    EXPECT_EQ(Current(), "Root.B[1]");
    for (const char *path : {"Root.A[4]", "Root.A[0]", "Root.[1]", "Other.A[1]", "Root.Z[-1]"}) {
        EXPECT_FALSE(Locate_Node(Root(), path)) << path;
        EXPECT_EQ(Current(), "Root") << path;
    }
    EXPECT_FALSE(Locate_Node(Root(), ""));
    EXPECT_EQ(Current(), "Root");
}

// Locating a path as written with its indexes completed on the way must end
// where locating its canonical form ends, with the same current path.
TEST_F(TStoreLocate, CompletingOnTheWayEqualsLocatingTheCanonicalForm) {
    for (const char *path :
         {"Root", "root", "Root.A", "Root.a[2]", "Root.A[-1].X", "ROOT.A[3].x[-1]", "Root.B.C",
          "Root.B.C.D", "Root.A[4].X", "Root.A.X", "Other.A", "Root.Z[-1]", "Root.B[1].C", ""}) {
        const bool canonical_found = Locate_Node(Root(), Complete_Twin_Indexes(path));
        const VekTreeNode *canonical_node = Root().Current();
        const std::string canonical_path = Current();
        EXPECT_EQ(Locate_Completing(Root(), path), canonical_found) << path;
        EXPECT_EQ(Root().Current(), canonical_node) << path;
        EXPECT_EQ(Current(), canonical_path) << path;
    }
}

TEST_F(TStoreLocate, AFreedTreeIsRootlessNotDangling) {
    ASSERT_TRUE(Locate_Node(Root(), "Root.B[1]"));
    tree_.Free();
    T_Object &gone = *Existing_T_Table()->T_Object_At(0);
    EXPECT_EQ(gone.Current(), nullptr);
    EXPECT_EQ(gone.Name(), "");
    EXPECT_FALSE(Locate_Node(gone, "Root.B[1]"));
    EXPECT_FALSE(Next_Node(gone));
}

TEST_F(TStoreLocate, SiblingStepsKeepThePathCanonical) {
    ASSERT_TRUE(Locate_Node(Root(), "Root"));
    EXPECT_FALSE(Next_Sibling(Root()));  // the root has no siblings here
    std::vector<std::string> seen;
    for (bool more = First_Child(Root()); more; more = Next_Sibling(Root()))
        seen.push_back(Current());
    EXPECT_EQ(seen, (std::vector<std::string>{"Root.A[1]", "Root.A[2]", "Root.A[3]", "Root.B[1]",
                                              "Root.[1]"}));
    EXPECT_TRUE(Previous_Sibling(Root()));
    EXPECT_EQ(Current(), "Root.B[1]");
    ASSERT_TRUE(Locate_Node(Root(), "Root.A[1]"));
    EXPECT_FALSE(Previous_Sibling(Root()));
    EXPECT_FALSE(First_Child(Root()));
    EXPECT_EQ(Current(), "Root.A[1]");
}

TEST_F(TStoreLocate, NextNodeWalksInPreOrderBelowTheRoot) {
    ASSERT_TRUE(Locate_Node(Root(), "Root"));
    std::vector<std::string> seen;
    while (Next_Node(Root()))
        seen.push_back(Current());
    EXPECT_EQ(seen, (std::vector<std::string>{"Root.A[1]", "Root.A[2]", "Root.A[3]",
                                              "Root.A[3].X[1]", "Root.A[3].X[2]", "Root.B[1]",
                                              "Root.B[1].C[1]", "Root.[1]"}));
    EXPECT_EQ(Current(), "Root.[1]");
    Root().Reset_Current_Node();
    EXPECT_FALSE(Next_Node(Root()));
}

// Steps down and across keep the leading sections as the caller wrote them; a
// climb writes every name from its node and reads the ancestors' indexes off the
// path it climbs from.
TEST_F(TStoreLocate, StepsKeepTheSpellingAndClimbsWriteNodeNames) {
    Add(*a3_->FirstChild(), "Y");
    ASSERT_TRUE(Locate_Node(Root(), "root.a[3]"));
    ASSERT_TRUE(First_Child(Root()));
    EXPECT_EQ(Current(), "root.a[3].X[1]");
    ASSERT_TRUE(Next_Node(Root()));
    EXPECT_EQ(Current(), "root.a[3].X[1].Y[1]");
    ASSERT_TRUE(Next_Node(Root()));  // climbs one level to the second X
    EXPECT_EQ(Root().Current(), x2_);
    EXPECT_EQ(Current(), "Root.A[3].X[2]");
    ASSERT_TRUE(Locate_Node(Root(), "ROOT.A[-1].x[1].y"));
    ASSERT_TRUE(Next_Node(Root()));
    EXPECT_EQ(Current(), "Root.A[3].X[2]");
    ASSERT_TRUE(Next_Node(Root()));  // climbs two levels
    EXPECT_EQ(Current(), "Root.B[1]");
}

TEST_F(TStoreLocate, ASubtreeRootConfinesTheWalk) {
    ASSERT_EQ(Declare(b_->GetHandle()), 0);
    T_Object &sub = Object("B");
    ASSERT_TRUE(Locate_Node(sub, "b.C[-1]"));
    EXPECT_EQ(sub.Current(), c_);
    EXPECT_EQ(sub.Current_Path(), "b.C[1]");
    EXPECT_FALSE(Next_Node(sub));  // the next node in pre-order lies outside
    ASSERT_TRUE(Locate_Node(sub, "B"));
    EXPECT_FALSE(Next_Sibling(sub));
}

TEST_F(TStoreLocate, ResolvingExpandsChecksAndLocates) {
    ASSERT_EQ(T_SetAliasA("Xs", "Root.A[-1]"), 0);
    const ResolvedPath node = Resolve_Path("Xs.X[2]", PathSyntax::kNodePath, "T.Test");
    EXPECT_EQ(node.object, &Root());
    EXPECT_TRUE(node.found);
    EXPECT_EQ(Current(), "Root.A[3].X[2]");
    const ResolvedPath attribute = Resolve_Path("xs!Speed", PathSyntax::kAttributePath, "T.Test");
    EXPECT_TRUE(attribute.found);
    EXPECT_EQ(Current(), "Root.A[3]");
    EXPECT_EQ(attribute.attribute, "Speed");
    EXPECT_TRUE(Resolve_Path("Root.B.C", PathSyntax::kNodePath, "T.Test").found);
    EXPECT_EQ(Current(), "Root.B[1].C[1]");  // canonical, though written without indexes
    EXPECT_FALSE(Resolve_Path("Root.Z", PathSyntax::kNodePath, "T.Test").found);
    EXPECT_ANY_THROW(Resolve_Path("Nowhere.A", PathSyntax::kNodePath, "T.Test"));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040020), "T.Test", "T Object doesn't exist: Nowhere"}));
    EXPECT_ANY_THROW(Resolve_Path("Root..A", PathSyntax::kNodePath, "T.Test"));
    EXPECT_EQ(LastError().code, Code(0xE204000B));
    T_Terminate();
    EXPECT_ANY_THROW(Resolve_Path("Root.A", PathSyntax::kNodePath, "T.Test"));
    EXPECT_EQ(LastError().description, "T Object doesn't exist: Root");
}

}  // namespace
