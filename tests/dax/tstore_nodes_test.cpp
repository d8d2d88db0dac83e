// Adding, deleting and retyping nodes: the shape of the tree afterwards, the
// current node each call leaves, and the errors of each argument.
#include <gtest/gtest.h>

#include <string>

#include "frame/export_frame.h"
#include "imports/vek_variant.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_node_building.h"
#include "tstore/nodes/t_walk.h"
#include "tstore/paths/t_node_path.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

class TStoreNodes : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        ASSERT_EQ(Declare(tree_.Handle()), 0);
    }

    std::string Shape() const { return tstore_test::Shape(tree_.Root()); }
    T_Object &Root() { return Object("Root"); }
    std::string Current() {
        return Root().Current() != nullptr ? Root().Current_Path() : std::string("none");
    }
    // Adds twins and other children directly: Root(A,B,A,A).
    void GrowTwins() {
        for (const char *name : {"A", "B", "A", "A"})
            Add(tree_.Root(), name);
    }

    HostTree tree_{"Root"};
};

// ---- T_AddNodeA ------------------------------------------------------------

TEST_F(TStoreNodes, AddingMakesMissingParentGroups) {
    EXPECT_EQ(T_AddNodeA("Root.A.B", 0, -1, 3), 0);
    EXPECT_EQ(Shape(), "A(B-)");
    EXPECT_EQ(Current(), "Root.A[1]");                    // the parent of the new node
    EXPECT_EQ(T_AddNodeA("Root.A[3].C", 128, -1, 3), 0);  // twins until a third A exists
    EXPECT_EQ(Shape(), "A(B-),A,A(C)");
    EXPECT_EQ(Current(), "Root.A[3]");
    EXPECT_EQ(T_AddNodeA("Root.A[-1].D[2].E", 0, -1, 3), 0);
    EXPECT_EQ(Shape(), "A(B-),A,A(C,D,D(E-))");
    EXPECT_EQ(Current(), "Root.A[3].D[2]");
}

TEST_F(TStoreNodes, AddingPlacesTheNodeAtItsPosition) {
    EXPECT_EQ(T_AddNodeA("Root.B", 128, -1, 3), 0);
    EXPECT_EQ(T_AddNodeA("Root.A", 128, 1, 3), 0);
    EXPECT_EQ(T_AddNodeA("Root.D", 128, 3, 3), 0);
    EXPECT_EQ(T_AddNodeA("Root.C", 128, 3, 3), 0);
    EXPECT_EQ(Shape(), "A,B,C,D");
    for (int32_t position : {0, 6, -2}) {
        EXPECT_EQ(T_AddNodeA("Root.E", 128, position, 3), Code(0xE204000F));
        EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000F), "T.T_AddNode",
                                            "Invalid position: " + std::to_string(position)}));
    }
    EXPECT_EQ(Shape(), "A,B,C,D");
}

TEST_F(TStoreNodes, ErrorHandlingDecidesOnlyWhenTheNameIsTaken) {
    EXPECT_EQ(T_AddNodeA("Root.A", 128, -1, 5), 0);   // no A yet: any value goes
    EXPECT_EQ(T_AddNodeA("Root.a", 128, -1, 3), 0);   // names ignore case: a twin
    EXPECT_EQ(T_AddNodeA("Root.A", 128, -1, 41), 0);  // adds nothing
    EXPECT_EQ(Shape(), "A,a");
    EXPECT_EQ(T_AddNodeA("Root.A", 128, -1, 11), Code(0xE204001B));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204001B), "T.T_AddNode", "Node Root.A has twins"}));
    EXPECT_EQ(T_AddNodeA("Root.A", 128, -1, 5), Code(0xE204000E));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000E), "T.T_AddNode",
                                        "Invalid argument: Error_Handling = 5h"}));
    EXPECT_EQ(Shape(), "A,a");
}

// A group with many children answers "has a child of that name?" from a kept set
// of names; every change to the children, by the store or by the host, must show.
TEST_F(TStoreNodes, ManyChildrenStillRefuseEveryTwinAfterHostChanges) {
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(T_AddNodeA(("Root.C" + std::to_string(i)).c_str(), 0, -1, 11), 0) << i;
    EXPECT_EQ(tree_.Root().ChildCount(), 100);
    EXPECT_EQ(T_AddNodeA("Root.c57", 0, -1, 11), Code(0xE204001B));  // names ignore case
    EXPECT_EQ(T_AddNodeA("Root.C99", 0, -1, 41), 0);                 // skipped
    EXPECT_EQ(tree_.Root().ChildCount(), 100);

    // The host renames a child and adds one behind the store's back.
    VekTreeNode *renamed = tree_.Root().FirstChild()->GetNextSib();  // C1
    ASSERT_EQ(renamed->SetName("Renamed", -1), 0);
    Add(tree_.Root(), "Host", 0);
    EXPECT_EQ(T_AddNodeA("Root.C1", 0, -1, 11), 0);  // free again
    EXPECT_EQ(T_AddNodeA("Root.renamed", 0, -1, 11), Code(0xE204001B));
    EXPECT_EQ(T_AddNodeA("Root.HOST", 0, -1, 11), Code(0xE204001B));

    // A twin added with Error_Handling 3 and a host deletion are seen as well.
    EXPECT_EQ(T_AddNodeA("Root.Twin", 0, -1, 3), 0);
    EXPECT_EQ(T_AddNodeA("Root.Twin", 0, -1, 11), Code(0xE204001B));
    tree_.Root().LastChild()->Delete(true);  // Twin
    EXPECT_EQ(T_AddNodeA("Root.Twin", 0, -1, 11), 0);
    EXPECT_EQ(tree_.Root().ChildCount(), 103);
}

// A refused addition leaves the kept names as they were.
TEST_F(TStoreNodes, ManyChildrenAfterARefusedPosition) {
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(T_AddNodeA(("Root.C" + std::to_string(i)).c_str(), 0, -1, 11), 0);
    EXPECT_EQ(T_AddNodeA("Root.New", 0, 99, 11), Code(0xE204000F));  // no such position
    EXPECT_EQ(T_AddNodeA("Root.New", 0, 1, 11), 0);                  // the name is free
    EXPECT_EQ(T_AddNodeA("Root.new", 0, -1, 11), Code(0xE204001B));
    EXPECT_EQ(tree_.Root().FirstChild()->GetName(), "New");
    EXPECT_EQ(tree_.Root().ChildCount(), 41);
}

// A path of names only finds the parent while checking the syntax; the node
// added and the current node must be those of the same path with indexes, and a
// refusal must leave the current node where it was.
TEST_F(TStoreNodes, PlainAndIndexedPathsAddAlike) {
    ASSERT_EQ(T_AddNodeA("Root.G", 128, -1, 3), 0);
    ASSERT_EQ(T_AddNodeA("Root.G[1].X", 0, -1, 3), 0);
    EXPECT_EQ(Current(), "Root.G[1]");  // the parent, as written
    ASSERT_EQ(T_AddNodeA("Root.g.Y", 0, -1, 3), 0);
    EXPECT_EQ(Current(), "Root.g[1]");
    EXPECT_EQ(T_AddNodeA("Root.G.Z", 1, -1, 3), Code(0xE204000E));
    EXPECT_EQ(T_AddNodeA("Root.G.Z.", 0, -1, 3), Code(0xE204000B));
    EXPECT_EQ(T_AddNodeA("Root.G.Z!", 0, -1, 3), Code(0xE204000B));
    EXPECT_EQ(Current(), "Root.g[1]");
    EXPECT_EQ(Shape(), "G(X-,Y-)");
}

TEST_F(TStoreNodes, AddingRefusesIndexedNamesTheRootAndOtherTypes) {
    EXPECT_EQ(T_AddNodeA("Root.A[2]", 0, -1, 3), Code(0xE204000B));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000B), "T.T_AddNode", "Invalid node path: Root.A[2]"}));
    EXPECT_EQ(T_AddNodeA("Root", 0, -1, 3), Code(0xE204000B));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000B), "T.T_AddNode", "Invalid node path: Root"}));
    EXPECT_EQ(T_AddNodeA("Root.A", 1, -1, 3), Code(0xE204000E));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000E), "T.T_AddNode", "Invalid argument: Node_Type = 1h"}));
    EXPECT_EQ(T_AddNodeA("Root..A", 0, -1, 3), Code(0xE204000B));
    EXPECT_EQ(T_AddNodeA("Nope.A", 0, -1, 3), Code(0xE2040020));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040020), "T.T_AddNode", "T Object doesn't exist: Nope.A"}));
    EXPECT_EQ(T_AddNodeA(nullptr, 0, -1, 3), Code(0xE204000B));
    EXPECT_EQ(Shape(), "");
}

TEST_F(TStoreNodes, ItemsTakeNoChildrenNotEvenMissingGroups) {
    ASSERT_EQ(T_AddNodeA("Root.Item", 0, -1, 3), 0);
    EXPECT_EQ(T_AddNodeA("Root.Item.X", 0, -1, 3), Code(0xE2040021));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040021), "T.T_AddNode",
                                        "Parent is not group node: Root.Item.X"}));
    // The group that would be made first is the one refused, by its own path.
    EXPECT_EQ(T_AddNodeA("Root.Item.X.Y", 0, -1, 3), Code(0xE2040021));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040021), "T.T_AddNode",
                                        "Parent is not group node: Root.Item[1].X"}));
    EXPECT_EQ(Shape(), "Item-");
}

TEST_F(TStoreNodes, AHugeMissingTwinIndexIsRefusedBeforeAnythingIsMade) {
    EXPECT_EQ(T_AddNodeA("Root.A[2000000000].B", 0, -1, 3), Code(0xE204000B));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000B), "T.T_AddNode",
                                        "Too many missing parent nodes: Root.A"}));
    EXPECT_EQ(Shape(), "");
}

// The limit on the groups one call makes, at a small value: groups that exist count
// against what the path asks for, and the limit itself is allowed.
TEST_F(TStoreNodes, MissingParentGroupsUpToTheLimitAreMade) {
    constexpr int64_t kLimit = 5;
    const auto add = [](const char *path) {
        return Ostrel::Zam::IntegerExport("test",
                                          [&] { return Add_Node_At_Path(path, 0, -1, 3, kLimit); });
    };
    EXPECT_EQ(add("Root.A[2].B[4].C"), Code(0xE204000B));  // 6 groups
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000B), "T.T_AddNode",
                                        "Too many missing parent nodes: Root.A"}));
    EXPECT_EQ(Shape(), "");
    EXPECT_EQ(add("Root.A[2].B[3].C"), 0);  // exactly 5
    EXPECT_EQ(Shape(), "A,A(B,B,B(C-))");
    // Below the second A three Bs exist: the fourth and five new Ds are 6.
    EXPECT_EQ(add("Root.A[2].B[4].D[5].E"), Code(0xE204000B));
    EXPECT_EQ(LastError().description, "Too many missing parent nodes: Root.A[2].B");
    EXPECT_EQ(add("Root.A[2].B[4].D[4].E"), 0);
    EXPECT_EQ(Shape(), "A,A(B,B,B(C-),B(D,D,D,D(E-)))");
}

TEST_F(TStoreNodes, AddingExpandsAnAlias) {
    ASSERT_EQ(T_SetAliasA("DUT", "Root.Board[2]"), 0);
    EXPECT_EQ(T_AddNodeA("DUT.Port", 0, -1, 3), 0);
    EXPECT_EQ(Shape(), "Board,Board(Port-)");
    EXPECT_EQ(T_AddNodeA("DUT", 0, -1, 3), Code(0xE204000B));  // quotes what was passed
    EXPECT_EQ(LastError().description, "Invalid node path: DUT");
}

// A script adds a node and goes on naming it by its path. The store finds it
// again without a walk, but only while the path still leads to it, whoever has
// changed the tree since: the host inserting a twin before it, deleting it and
// adding another in its place, renaming it.
TEST_F(TStoreNodes, TheNodeJustAddedIsFoundByItsPathOnlyWhileThePathNamesIt) {
    ASSERT_EQ(T_AddNodeA("Root.G", 128, -1, 3), 0);
    ASSERT_EQ(T_AddNodeA("Root.G.A", 128, -1, 3), 0);
    VekTreeNode &group = *tree_.Root().FirstChild();
    EXPECT_EQ(T_ExistsA("Root.G.A"), 1);
    EXPECT_EQ(Root().Current(), group.FirstChild());
    EXPECT_EQ(Current(), "Root.G[1].A[1]");
    EXPECT_EQ(T_ExistsA("Root.g.a"), 1);  // another spelling: walked, written as given
    EXPECT_EQ(Current(), "Root.g[1].a[1]");

    ASSERT_EQ(T_AddNodeA("Root.G.A", 128, -1, 3), 0);  // a second twin: not what the path names
    EXPECT_EQ(T_ExistsA("Root.G.A"), 1);
    EXPECT_EQ(Root().Current(), group.FirstChild());
    ASSERT_EQ(T_AddNodeA("Root.G.B", 128, -1, 3), 0);
    auto *front = new T_Tree(128);
    front->SetName("B", -1);
    group.AddChild(front, 0);
    EXPECT_EQ(T_ExistsA("Root.G.B"), 1);
    EXPECT_EQ(Root().Current(), front);
    EXPECT_EQ(Shape(), "G(B,A,A,B)");

    ASSERT_EQ(T_AddNodeA("Root.G.C", 128, -1, 3), 0);
    group.LastChild()->Delete(true);
    VekTreeNode &replacement = Add(group, "C");
    EXPECT_EQ(T_ExistsA("Root.G.C"), 1);
    EXPECT_EQ(Root().Current(), &replacement);

    ASSERT_EQ(T_AddNodeA("Root.G.D", 128, -1, 3), 0);
    group.LastChild()->SetName("E", -1);
    EXPECT_EQ(T_ExistsA("Root.G.D"), 0);
    EXPECT_EQ(T_ExistsA("Root.G.E"), 1);
    EXPECT_EQ(Current(), "Root.G[1].E[1]");
}

// The parent of the node added last is kept too, for the next sibling a script
// adds, while the nodes above it are as they were.
TEST_F(TStoreNodes, TheParentOfTheNodeJustAddedIsFoundOnlyWhileThePathNamesIt) {
    ASSERT_EQ(T_AddNodeA("Root.G.A", 128, -1, 3), 0);
    ASSERT_EQ(T_AddNodeA("Root.G.B", 128, -1, 3), 0);
    auto *front = new T_Tree(128);
    front->SetName("G", -1);
    tree_.Root().AddChild(front, 0);
    ASSERT_EQ(T_AddNodeA("Root.G.C", 128, -1, 3), 0);
    EXPECT_EQ(Shape(), "G(C),G(A,B)");
    EXPECT_EQ(Current(), "Root.G[1]");

    ASSERT_EQ(T_AddNodeA("Root.G.D", 128, -1, 3), 0);
    front->SetName("F", -1);
    ASSERT_EQ(T_AddNodeA("Root.G.E", 128, -1, 3), 0);
    EXPECT_EQ(Shape(), "F(C,D),G(A,B,E)");
}

// A node found by a plain path keeps that path until its completed form is
// needed: the walk steps that rewrite the current path start from the completed
// one.
TEST_F(TStoreNodes, WalkStepsStartFromThePathOfAPlainLookup) {
    GrowTwins();  // Root(A,B,A,A)
    Add(*tree_.Root().FirstChild(), "X");
    Add(*tree_.Root().FirstChild(), "Y");
    ASSERT_EQ(T_ExistsA("Root.A.X"), 1);
    ASSERT_TRUE(Next_Sibling(Root()));
    EXPECT_EQ(Current(), "Root.A[1].Y[1]");
    ASSERT_EQ(T_ExistsA("Root.a"), 1);
    ASSERT_TRUE(First_Child(Root()));
    EXPECT_EQ(Current(), "Root.a[1].X[1]");
    ASSERT_EQ(T_ExistsA("Root.A.Y"), 1);
    ASSERT_TRUE(Next_Node(Root()));  // up from the last child of A[1]
    EXPECT_EQ(Current(), "Root.B[1]");
    ASSERT_EQ(T_ExistsA("Root"), 1);
    EXPECT_EQ(Current(), "Root");
}

// ---- T_DeleteNodeA ---------------------------------------------------------

TEST_F(TStoreNodes, DeletingAPathTakesOneNodeAndMovesToTheNextSibling) {
    GrowTwins();
    EXPECT_EQ(T_DeleteNodeA("Root.A", 7, 25), 0);
    EXPECT_EQ(Shape(), "B,A,A");
    EXPECT_EQ(Current(), "Root.B[1]");
    EXPECT_EQ(T_DeleteNodeA("Root.A[1]", 7, 25), 0);
    EXPECT_EQ(Current(), "Root.A[1]");  // the next twin takes the index
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), 0);
    EXPECT_EQ(T_DeleteNodeA("Root.A[-1]", 7, 25), 0);
    EXPECT_EQ(Current(), "Root");  // no next sibling: the parent
    EXPECT_EQ(Shape(), "B");
}

TEST_F(TStoreNodes, DeletingWildcardsTakesEveryMatch) {
    GrowTwins();
    Add(Add(tree_.Root(), "C"), "A");
    EXPECT_EQ(T_DeleteNodeA("Root.A[#]", 7, 25), 0);
    EXPECT_EQ(Shape(), "B,C(A)");
    EXPECT_EQ(T_DeleteNodeA("Root.*", 7, 25), 0);
    EXPECT_EQ(Shape(), "");
    EXPECT_EQ(Current(), "Root");
    EXPECT_EQ(T_DeleteNodeA("Root.*", 7, 25), Code(0xE2040014));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040014), "T.T_DeleteNode", "No children: Root.*"}));
    EXPECT_EQ(T_DeleteNodeA("Root.*", 7, 27), 0);
}

TEST_F(TStoreNodes, APatternNamingOneTwinDeletesItOncePerParent) {
    // Root.? ends in "[1]": after A[1] goes, the A that becomes A[1] stays.
    GrowTwins();
    EXPECT_EQ(T_DeleteNodeA("Root.?", 7, 25), 0);
    EXPECT_EQ(Shape(), "A,A");
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), 0);
}

TEST_F(TStoreNodes, DeletingNeverTakesTheRootOrChildrenUnasked) {
    Add(Add(tree_.Root(), "A"), "X");
    EXPECT_EQ(T_DeleteNodeA("Root", 7, 25), Code(0xE204000B));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000B), "T.T_Object.Delete_Node", "Node path is invalid"}));
    EXPECT_EQ(T_DeleteNodeA("Root.A", 9, 25), Code(0xE204001C));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204001C), "T.T_Object.Delete_Node", "Node has children"}));
    EXPECT_EQ(Shape(), "A(X)");
    EXPECT_EQ(T_DeleteNodeA("Root.A.X", 9, 25), 0);
    EXPECT_EQ(T_DeleteNodeA("Root.A", 9, 25), 0);
    EXPECT_EQ(Shape(), "");
}

TEST_F(TStoreNodes, NothingToDeleteIsAnErrorOnlyWhenReported) {
    Add(tree_.Root(), "A");
    EXPECT_EQ(T_DeleteNodeA("Root.Missing", 7, 27), 0);
    EXPECT_EQ(T_DeleteNodeA("Root.Missing", 7, 25), Code(0xE2040017));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040017), "T.T_DeleteNode", "No match for Root.Missing[1]"}));
    EXPECT_EQ(T_DeleteNodeA("Root.?x", 7, 25), Code(0xE2040017));
    EXPECT_EQ(LastError().description, "No match for Root.{0-9a-zA-Z_()/, :'-}x[1]");
    EXPECT_EQ(T_DeleteNodeA("Nope.A", 7, 27), 0);
    EXPECT_EQ(T_DeleteNodeA("Nope.A", 7, 25), Code(0xE2040020));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040020), "T.T_DeleteNode", "T Object doesn't exist: Nope.A"}));
    EXPECT_EQ(Shape(), "A");
}

TEST_F(TStoreNodes, DeletingResetsEveryCurrentNodeInsideTheSubtree) {
    // A second T object declared on a branch of the same tree.
    VekTreeNode &sub = Add(tree_.Root(), "Sub");
    Add(Add(sub, "X"), "Y");
    ASSERT_EQ(Declare(sub.GetHandle()), 0);
    ASSERT_EQ(T_ExistsA("Sub.X.Y"), 1);
    ASSERT_NE(Object("Sub").Current(), nullptr);
    EXPECT_EQ(T_DeleteNodeA("Root.Sub.X", 7, 25), 0);
    EXPECT_EQ(Object("Sub").Current(), nullptr);
    EXPECT_EQ(Object("Sub").Current_Path(), "");
    EXPECT_EQ(T_CheckCurrentNodeA("Sub"), 0);
    // A current node outside the subtree stays.
    ASSERT_EQ(T_AddNodeA("Sub.Z.W", 0, -1, 3), 0);
    EXPECT_EQ(T_DeleteNodeA("Root.Sub.Z.W", 7, 25), 0);
    EXPECT_EQ(Object("Sub").Current_Path(), "Sub.Z[1]");
}

TEST_F(TStoreNodes, DeletingTwinsAmongOtherNamesKeepsTheCurrentPathCanonical) {
    for (const char *name : {"A", "B", "A", "B", "A", "C"})
        Add(tree_.Root(), name);
    EXPECT_EQ(T_DeleteNodeA("Root.A[2]", 7, 25), 0);
    EXPECT_EQ(Current(), "Root.B[2]");
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), 0);
    EXPECT_EQ(T_DeleteNodeA("Root.B[#]", 7, 25), 0);
    EXPECT_EQ(Shape(), "A,A,C");
    EXPECT_EQ(Current(), "Root.C[1]");
    EXPECT_EQ(T_CheckCurrentNodeA("Root"), 0);
}

TEST_F(TStoreNodes, AWalkThatDeletesKeepsEveryCurrentPathCanonical) {
    // Groups of mixed names, some with children of mixed names, so that the walk
    // deletes, steps to siblings of other names and climbs out of subtrees.
    for (const char *name : {"A", "B", "A", "C", "B", "A", "A", "B", "C"}) {
        VekTreeNode &child = Add(tree_.Root(), name);
        if (std::string(name) != "A")
            for (const char *inner : {"A", "B", "A", "A", "C"})
                Add(child, inner);
    }
    T_Object &root = Root();
    const Twin_Tally_Scope tally(root);
    ASSERT_TRUE(Locate_Node(root, "Root"));
    ASSERT_TRUE(First_Child(root));
    int deleted = 0;
    for (bool more = true; more && root.Current() != &tree_.Root();) {
        ASSERT_EQ(root.Current_Path(), Full_Path_Of_Node(*root.Current(), &tree_.Root()));
        if (root.Current()->GetName() == "A") {
            Delete_Node(root, 7);
            ++deleted;
        } else {
            more = Next_Node(root);
        }
    }
    EXPECT_EQ(deleted, 4 + 5 * 3);
    EXPECT_EQ(Shape(), "B(B,C),C(B,C),B(B,C),B(B,C),C(B,C)");
}

// ---- T_ChangeNodeTypeA -----------------------------------------------------

TEST_F(TStoreNodes, RetypingKeepsTheTypeAttributeInStep) {
    VekTreeNode &a = Add(tree_.Root(), "A", 0);
    Ostrel::Zam::VekVariant text;
    VekVarFromStrA(text.Get(), "item", -1);
    a._SetProperty("Type", text.Get());
    EXPECT_EQ(T_ChangeNodeTypeA("Root.A", 128, 9), 0);
    EXPECT_TRUE(a.IsGroup());
    EXPECT_EQ(Current(), "Root.A[1]");
    Ostrel::Zam::VekVariant type;
    a._GetProperty("Type", type.Get());
    EXPECT_STREQ(type.Get()->value.text, "Group");
    EXPECT_EQ(T_ChangeNodeTypeA("Root.A", 128, 9), 0);  // already a group: unchanged
    EXPECT_EQ(T_ChangeNodeTypeA("Root.A", 0, 9), 0);
    a._GetProperty("Type", type.Out());
    EXPECT_STREQ(type.Get()->value.text, "Item");
    EXPECT_FALSE(a.IsGroup());
}

TEST_F(TStoreNodes, RetypingAGroupWithChildrenDeletesThemOnlyWhenAsked) {
    VekTreeNode &a = Add(tree_.Root(), "A");
    Add(Add(a, "X"), "Y");
    Add(a, "Z");
    ASSERT_EQ(T_ExistsA("Root.A.X.Y"), 1);
    EXPECT_EQ(T_ChangeNodeTypeA("Root.A", 0, 9), Code(0xE204001C));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204001C), "T.T_ChangeNodeType", "Node has children: Root.A"}));
    EXPECT_EQ(Shape(), "A(X(Y),Z)");
    EXPECT_EQ(T_ChangeNodeTypeA("Root.A", 0, 7), 0);
    EXPECT_EQ(Shape(), "A-");
    EXPECT_EQ(Current(), "Root.A[1]");
}

TEST_F(TStoreNodes, RetypingResetsCurrentNodesAmongTheDeletedChildren) {
    VekTreeNode &a = Add(tree_.Root(), "A");
    VekTreeNode &x = Add(a, "X");
    Add(x, "Y");
    ASSERT_EQ(Declare(x.GetHandle()), 0);
    ASSERT_EQ(T_ExistsA("X.Y"), 1);
    EXPECT_EQ(T_ChangeNodeTypeA("Root.A", 0, 7), 0);
    EXPECT_EQ(Existing_T_Table()->Find_T_Object("X"), -1);  // its root is gone too
    EXPECT_EQ(Existing_T_Table()->T_Object_At(1)->Current(), nullptr);
    EXPECT_EQ(Existing_T_Table()->T_Object_At(1)->Current_Path(), "");
}

}  // namespace
