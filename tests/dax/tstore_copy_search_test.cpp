// Copying and moving nodes between places and trees, inserting runs of children,
// and searching trees by attribute value.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tstore/t_child_run.h"
#include "tstore/t_locate.h"
#include "tstore/t_names.h"
#include "tstore/t_search_walk.h"
#include "tstore/t_walk.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

// ---- Helpers -----------------------------------------------------------------

void SetText(VekTreeNode &node, const char *name, const char *text) {
    VEKVARIANT value;
    VekVarInit(&value);
    VekVarFromStrA(&value, text, -1);
    node._SetProperty(name, &value);
    VekVarClear(&value);
}

std::string TextOf(const VekTreeNode &node, const char *name) {
    VEKVARIANT value;
    VekVarInit(&value);
    node._GetProperty(name, &value);
    char *text = nullptr;
    if (VekVarType(&value) >= 2)
        VekVarToStrA(&value, &text);
    VekVarClear(&value);
    return Take(text).value_or("");
}

// The shape of a subtree: names, '*' after an item, children in parentheses.
std::string Shape(const VekTreeNode &node) {
    std::string shape(node.GetName());
    if (!node.IsGroup())
        shape += '*';
    if (node.FirstChild() == nullptr)
        return shape;
    shape += '(';
    for (const VekTreeNode *child = node.FirstChild(); child != nullptr;
         child = child->GetNextSib()) {
        shape += Shape(*child);
        if (child->GetNextSib() != nullptr)
            shape += ',';
    }
    return shape + ')';
}

std::string CurrentPathOf(std::string_view tree) {
    const T_Object &object = Object(tree);
    return object.Current() != nullptr ? object.Current_Path() : "none";
}

// Main: A (X item with Value=x1, Y with Z item), B (P, Q), C item.
// Other: G.
class TStoreCopyMove : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        a_ = &Add(main_.Root(), "A");
        x_ = &Add(*a_, "X", 0);
        SetText(*x_, "Value", "x1");
        y_ = &Add(*a_, "Y");
        SetText(*y_, "Value", "y1");
        Add(*y_, "Z", 0);
        b_ = &Add(main_.Root(), "B");
        Add(*b_, "P", 0);
        Add(*b_, "Q", 0);
        Add(main_.Root(), "C", 0);
        g_ = &Add(other_.Root(), "G");
        ASSERT_EQ(Declare(main_.Handle()), 0);
        ASSERT_EQ(Declare(other_.Handle()), 0);
    }

    std::string MainShape() const { return Shape(main_.Root()); }

    static constexpr const char *kInitialShape = "Main(A(X*,Y(Z*)),B(P*,Q*),C*)";

    HostTree main_{"Main"};
    HostTree other_{"Other"};
    VekTreeNode *a_ = nullptr, *x_ = nullptr, *y_ = nullptr, *b_ = nullptr, *g_ = nullptr;
};

// ---- Copying -----------------------------------------------------------------

TEST_F(TStoreCopyMove, CopyWithSubtreeIsANewTreeOfTheSameNodes) {
    ASSERT_EQ(T_CopyNodeA("Main.A", "Main.B", -1, 53), 0);
    EXPECT_EQ(MainShape(), "Main(A(X*,Y(Z*)),B(P*,Q*,A(X*,Y(Z*))),C*)");
    EXPECT_EQ(CurrentPathOf("Main"), "Main.B[1]");

    // Every copied node keeps name, type and attributes, and has a handle of its own.
    const VekTreeNode *original = a_;
    const VekTreeNode *copy = b_->LastChild();
    for (; original != nullptr && original != b_;
         original = original->GetNextNode(), copy = copy->GetNextNode()) {
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy, original);
        EXPECT_EQ(copy->GetName(), original->GetName());
        EXPECT_EQ(copy->IsGroup(), original->IsGroup());
        EXPECT_EQ(TextOf(*copy, "Value"), TextOf(*original, "Value"));
        EXPECT_NE(copy->GetHandle(), original->GetHandle());
    }
    EXPECT_EQ(TextOf(*b_->LastChild()->FirstChild(), "Value"), "x1");
}

TEST_F(TStoreCopyMove, CopyAloneAndCopyChildrenKeepPositionAndOrder) {
    ASSERT_EQ(T_CopyNodeA("Main.A", "Main.B", 1, 37), 0);
    EXPECT_EQ(Shape(*b_), "B(A,P*,Q*)");
    ASSERT_EQ(T_CopyNodeA("Main.A", "Main.B", 3, 43), 0);
    EXPECT_EQ(Shape(*b_), "B(A,P*,X*,Y(Z*),Q*)");
    ASSERT_EQ(T_CopyNodeA("Main.A", "Main.B", 6, 43), 0);  // one past the last: appended
    EXPECT_EQ(Shape(*b_), "B(A,P*,X*,Y(Z*),Q*,X*,Y(Z*))");
    ASSERT_EQ(T_CopyNodeA("Main.C", "Main.B", -1, 43), 0);  // an item has no children
    EXPECT_EQ(b_->ChildCount(), 7);
}

TEST_F(TStoreCopyMove, CopiesShowTheSourceAsItWasWhenTheGroupLiesBelowIt) {
    ASSERT_EQ(T_CopyNodeA("Main.A", "Main.A", 1, 43), 0);
    EXPECT_EQ(Shape(*a_), "A(X*,Y(Z*),X*,Y(Z*))");
    ASSERT_EQ(T_CopyNodeA("Main.A.Y[2]", "Main.A.Y[2]", -1, 53), 0);
    EXPECT_EQ(Shape(*a_->LastChild()), "Y(Z*,Y(Z*))");
}

TEST_F(TStoreCopyMove, CopyBetweenTreesMovesBothCurrentNodes) {
    ASSERT_EQ(T_CopyNodeA("Main.A[1].Y", "other.G", -1, 53), 0);
    EXPECT_EQ(Shape(other_.Root()), "Other(G(Y(Z*)))");
    EXPECT_EQ(CurrentPathOf("Main"), "Main.A[1].Y[1]");
    EXPECT_EQ(CurrentPathOf("Other"), "other.G[1]");
    ASSERT_EQ(T_CopyNodeA("Main", "Other", 1, 53), 0);  // a whole tree may be copied
    EXPECT_EQ(Shape(*other_.Root().FirstChild()), kInitialShape);
}

// ---- Argument checks -----------------------------------------------------------

struct Refusal {
    const char *source;
    const char *destination;
    int32_t position;
    int32_t recurse;
    ThreadError error;
};

ThreadError Error(uint32_t code, const char *source, const char *description) {
    return {Code(code), source, description};
}

TEST_F(TStoreCopyMove, CopyChecksItsArgumentsInOrderAndChangesNothing) {
    T_SetAliasA("CC", "Main.C");
    const char *kCopy = "T.T_CopyNode";
    const Refusal refusals[] = {
        {"Main.A", "Main.B", 0, 36, Error(0xE204000E, kCopy, "Invalid argument: Recurse = 24h")},
        {"Main.A", "Main.B", -1, -1,
         Error(0xE204000E, kCopy, "Invalid argument: Recurse = FFFFFFFFh")},
        {"Main.A", "Main.B", 0, 53, Error(0xE204000E, kCopy, "Invalid argument: Position = 0")},
        {"Main.A", "Main.B", -2, 53, Error(0xE204000E, kCopy, "Invalid argument: Position = -2")},
        {"Main..A", "Main.B", 1, 53,
         Error(0xE204000B, "T.Check_Node_Path_Syntax", "Node path is invalid: 'Main..A'")},
        {"Nope.A", "Main.B.", 1, 53,
         Error(0xE204000B, "T.Check_Node_Path_Syntax", "Node path is invalid: 'Main.B.'")},
        {"Nope.A", "Gone.B", 1, 53, Error(0xE2040020, kCopy, "T Object doesn't exist: Nope.A")},
        {"Main.A", "Gone.B", 1, 53, Error(0xE2040020, kCopy, "T Object doesn't exist: Gone.B")},
        {"Main.A[2]", "Gone.B", 1, 53, Error(0xE2040020, kCopy, "T Object doesn't exist: Gone.B")},
        {"Main.A[2]", "Main.D", 1, 53, Error(0xE204000B, kCopy, "Invalid node path: Main.A[2]")},
        {"Main.A", "CC.D", 1, 53, Error(0xE204000B, kCopy, "Invalid node path: CC.D")},
        {"Main.A", "CC", 1, 53, Error(0xE2040021, kCopy, "Destination node is not a group:Main.C")},
        {"Main.A", "Main.B", 4, 53, Error(0xE204000F, kCopy, "Invalid position: 4")},
        {"Main.A", "Main.B", 2147483647, 43,
         Error(0xE204000F, kCopy, "Invalid position: 2147483647")},
    };
    for (const Refusal &r : refusals) {
        EXPECT_EQ(T_CopyNodeA(r.source, r.destination, r.position, r.recurse), r.error.code)
            << r.source << " -> " << r.destination;
        EXPECT_EQ(LastError(), r.error) << r.source << " -> " << r.destination;
    }
    EXPECT_EQ(MainShape(), kInitialShape);
    EXPECT_EQ(T_CopyNodeA(nullptr, nullptr, 1, 53), Code(0xE204000B));

    T_Terminate();
    EXPECT_EQ(T_CopyNodeA("Main.A", "Main.B", 1, 53), Code(0xE2040020));
    EXPECT_EQ(LastError(), Error(0xE2040020, kCopy, "T Object doesn't exist: Main.A"));
}

TEST_F(TStoreCopyMove, MoveChecksPositionBeforeRecurse) {
    const char *kMove = "T.T_MoveNode";
    const Refusal refusals[] = {
        {"Main.A", "Main.B", 0, 37, Error(0xE204000F, kMove, "Invalid position: 0")},
        {"Main.A", "Main.B", 1, 37, Error(0xE204000E, kMove, "Invalid argument: Recurse = 25h")},
        {"Main.A", "Main.Nope", 1, 53, Error(0xE204000B, kMove, "Invalid node path: Main.Nope")},
        {"Main.A", "Main.C", 1, 43,
         Error(0xE2040021, kMove, "Destination node is not a group:Main.C")},
        {"Main.A", "Other.G", 2, 53, Error(0xE204000F, kMove, "Invalid position: 2")},
    };
    for (const Refusal &r : refusals) {
        EXPECT_EQ(T_MoveNodeA(r.source, r.destination, r.position, r.recurse), r.error.code)
            << r.source << " -> " << r.destination;
        EXPECT_EQ(LastError(), r.error) << r.source << " -> " << r.destination;
    }
    EXPECT_EQ(MainShape(), kInitialShape);
}

// ---- Moving ----------------------------------------------------------------------

TEST_F(TStoreCopyMove, MoveTakesTheVeryNodes) {
    const int32_t handle = y_->GetHandle();
    ASSERT_EQ(T_MoveNodeA("Main.A.Y", "Main.B", 2, 53), 0);
    EXPECT_EQ(MainShape(), "Main(A(X*),B(P*,Y(Z*),Q*),C*)");
    EXPECT_EQ(VekTreeNode::FromHandle(handle), y_);
    EXPECT_EQ(y_->Parent(), b_);
    EXPECT_EQ(CurrentPathOf("Main"), "Main.B[1]");

    ASSERT_EQ(T_MoveNodeA("Main.B", "Main.A", 1, 43), 0);
    EXPECT_EQ(MainShape(), "Main(A(P*,Y(Z*),Q*,X*),B,C*)");
    ASSERT_EQ(T_MoveNodeA("Main.A", "Main.B", -1, 43), 0);
    EXPECT_EQ(MainShape(), "Main(A,B(P*,Y(Z*),Q*,X*),C*)");
}

TEST_F(TStoreCopyMove, MovesWithinTheSameParent) {
    // Position 4 of three children: one past the last, counted with the node moved.
    ASSERT_EQ(T_MoveNodeA("Main.A", "Main", 4, 53), 0);
    EXPECT_EQ(MainShape(), "Main(B(P*,Q*),C*,A(X*,Y(Z*)))");
    ASSERT_EQ(T_MoveNodeA("Main.A", "Main", 1, 53), 0);
    EXPECT_EQ(MainShape(), kInitialShape);
    // The children of a group moved into that group stay as they are.
    for (int32_t position : {1, 2, 3, -1}) {
        ASSERT_EQ(T_MoveNodeA("Main.B", "Main.B", position, 43), 0);
        EXPECT_EQ(MainShape(), kInitialShape) << position;
    }
}

TEST_F(TStoreCopyMove, MoveRefusesRootsAndPlacesBelowItselfAndLosesNothing) {
    Add(*y_, "W");  // a group below Y
    const std::string before = MainShape();
    ASSERT_EQ(T_Declare(RootConfig(b_->GetHandle()).get()), 0);  // B is also a tree's root
    const char *kMove = "T.T_MoveNode";
    const Refusal refusals[] = {
        {"Main", "Other.G", 1, 53,
         Error(0xE204000E, kMove, "Invalid argument: cannot move the root node Main")},
        {"B", "Main.A", 1, 53,
         Error(0xE204000E, kMove, "Invalid argument: cannot move the root node B")},
        {"Main.B", "Other.G", 1, 53,
         Error(0xE204000E, kMove, "Invalid argument: cannot move the root node Main.B")},
        {"Main", "Other.G", 1, 43,
         Error(0xE204000E, kMove, "Invalid argument: cannot move the root node Main.B[1]")},
        {"Main.A", "Main.A", 1, 53,
         Error(0xE204000E, kMove, "Invalid argument: cannot move Main.A below itself")},
        {"Main.A", "Main.A.Y.W", -1, 53,
         Error(0xE204000E, kMove, "Invalid argument: cannot move Main.A below its own descendant")},
        {"Main.A", "Main.A.Y", 1, 43,
         Error(0xE204000E, kMove, "Invalid argument: cannot move Main.A[1].Y[1] below itself")},
        {"Main.A", "Main.A.Y.W", 1, 43,
         Error(0xE204000E, kMove,
               "Invalid argument: cannot move Main.A[1].Y[1] below its own descendant")},
    };
    for (const Refusal &r : refusals) {
        EXPECT_EQ(T_MoveNodeA(r.source, r.destination, r.position, r.recurse), r.error.code)
            << r.source << " -> " << r.destination;
        EXPECT_EQ(LastError(), r.error) << r.source << " -> " << r.destination;
        EXPECT_EQ(MainShape(), before) << r.source << " -> " << r.destination;
    }
    EXPECT_EQ(Shape(other_.Root()), "Other(G)");
    // Moving the children of a tree's root is fine: the root stays.
    ASSERT_EQ(T_MoveNodeA("Other", "Main.A.Y.W", 1, 43), 0);
    EXPECT_EQ(Shape(other_.Root()), "Other");
}

TEST_F(TStoreCopyMove, RemoveFirstTwinIndexesShapesTheQuotedChildPath) {
    T_RemoveA("Main");
    Props config = RootConfig(main_.Handle());
    VekPropsSetInt32(config.get(), "Remove First Twin Indexes", 1);
    ASSERT_EQ(T_Declare(config.get()), 0);
    EXPECT_EQ(T_MoveNodeA("Main.A", "Main.A.Y", 1, 43), Code(0xE204000E));
    EXPECT_EQ(LastError().description, "Invalid argument: cannot move Main.A.Y below itself");
}

TEST_F(TStoreCopyMove, AMovedCurrentNodeOfAnotherTreeStaysUsable) {
    ASSERT_TRUE(Locate_Node(Object("Other"), "Other.G[1]"));
    ASSERT_EQ(T_MoveNodeA("Other.G", "Main.A", -1, 53), 0);
    // The source tree keeps the node moved as current, under its old path.
    EXPECT_EQ(Object("Other").Current(), g_);
    EXPECT_EQ(CurrentPathOf("Other"), "Other.G[1]");
    EXPECT_EQ(CurrentPathOf("Main"), "Main.A[1]");
    char *overview = T_Present_T_Table();
    EXPECT_NE(std::string(Take(overview).value_or("")).find("Current node is : Other.G[1]"),
              std::string::npos);
    // Walks from there end at the edge of the tree the node is in now, and a lookup
    // puts things right.
    EXPECT_FALSE(Next_Node(Object("Other")));
    EXPECT_FALSE(Locate_Node(Object("Other"), "Other.G[1]"));
    EXPECT_EQ(CurrentPathOf("Other"), "Other");
    ASSERT_EQ(T_MoveNodeA("Main.A.G", "Other", 1, 53), 0);
    EXPECT_EQ(Shape(other_.Root()), "Other(G)");

    // The host frees the tree that a node was moved into while another tree
    // still holds it as its current node: nothing may reach the freed node.
    ASSERT_EQ(T_MoveNodeA("Other.G", "Main.B", 1, 53), 0);
    EXPECT_EQ(Object("Other").Current(), g_);
    main_.Free();
    Take(T_Present_T_Table());
    EXPECT_EQ(T_CheckCurrentNodeA("Other"), Code(0xE2040006));
    EXPECT_EQ(T_ExistsA("Other.G"), 0);
    EXPECT_EQ(Take(T_SearchA("Other.*!Value", "x1", "", 0x33, 1, 0)), std::nullopt);
}

// ---- Runs of children --------------------------------------------------------

// Every place in a group of five, for runs of one and three nodes, from either end.
TEST(TStoreChildRun, InsertsARunInOrderAtEveryPlace) {
    for (size_t run_length : {size_t{1}, size_t{3}}) {
        for (int32_t index = -1; index <= 5; ++index) {
            HostTree tree("G");
            for (const char *name : {"a", "b", "c", "d", "e"})
                Add(tree.Root(), name, 0);
            std::vector<VekTreeNode *> run;
            std::vector<std::unique_ptr<T_Tree>> owned;
            for (size_t i = 0; i < run_length; ++i) {
                owned.push_back(std::make_unique<T_Tree>(T_Tree::kItem));
                const std::string name = "R" + std::to_string(i);
                owned.back()->SetName(name.c_str(), -1);
                run.push_back(owned.back().get());
            }
            Insert_Children(tree.Root(), index, run);
            for (auto &node : owned)
                static_cast<void>(node.release());
            std::string expected = "G(";
            const std::string names = "abcde";
            const size_t at = index < 0 ? 5 : static_cast<size_t>(index);
            for (size_t i = 0; i <= names.size(); ++i) {
                if (i == at) {
                    for (size_t r = 0; r < run_length; ++r)
                        expected += "R" + std::to_string(r) + "*,";
                }
                if (i < names.size())
                    expected += std::string(1, names[i]) + "*,";
            }
            expected.back() = ')';
            EXPECT_EQ(Shape(tree.Root()), expected) << run_length << " at " << index;
        }
    }
}

TEST(TStoreChildRun, AFailingInsertionPutsTheGroupBack) {
    HostTree tree("T");
    VekTreeNode &group = Add(tree.Root(), "H");
    for (const char *name : {"a", "b", "c", "d"})
        Add(group, name, 0);
    auto fresh = std::make_unique<T_Tree>(T_Tree::kItem);
    fresh->SetName("n", -1);
    // The root is detached, but an ancestor of the group: the node class refuses it.
    const std::vector<VekTreeNode *> run{fresh.get(), &tree.Root()};
    for (int32_t index : {1, 3}) {
        EXPECT_ANY_THROW(Insert_Children(group, index, run)) << index;
        EXPECT_EQ(Shape(group), index == 1 ? "H(a*,b*,c*,d*)" : "H(a*,b*,c*,n*,d*)");
        if (fresh->Parent() != nullptr)
            fresh->Remove();
        EXPECT_EQ(Shape(group), "H(a*,b*,c*,d*)") << index;
    }
}

}  // namespace

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

// ---- Search ------------------------------------------------------------------

// Main: Cfg (Port COM1, Port COM2, Port COM1, Sub (Port COM1)), Other (Port COM1).
class TStoreSearch : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        VekTreeNode &cfg = Add(tree_.Root(), "Cfg");
        for (const char *value : {"COM1", "COM2", "COM1"})
            SetText(Add(cfg, "Port", 0), "Value", value);
        SetText(Add(Add(cfg, "Sub"), "Port", 0), "Value", "COM1");
        SetText(Add(Add(tree_.Root(), "Other"), "Port", 0), "Value", "COM1");
    }

    void DeclareMain(bool remove_first_twin_indexes = false, const char *default_attribute = "") {
        Props config = RootConfig(tree_.Handle());
        VekPropsSetInt32(config.get(), "Remove First Twin Indexes", remove_first_twin_indexes);
        VekPropsSetTextA(config.get(), "Default Attribute", default_attribute);
        ASSERT_EQ(T_Declare(config.get()), 0);
    }

    static std::optional<std::string> Search(const char *identifier, const char *value,
                                             const char *start = "", uint8_t whole = 1,
                                             int32_t option = 0, int32_t mode = 0x33) {
        return Take(T_SearchA(identifier, value, start, mode, whole, option));
    }
    static std::optional<std::string> Next() { return Take(T_SearchNextA()); }

    // Every hit of a search and its T_SearchNextA calls, in order.
    static std::vector<std::string> Hits(const char *identifier, const char *value,
                                         uint8_t whole = 1, int32_t option = 0) {
        std::vector<std::string> hits;
        for (auto hit = Search(identifier, value, "", whole, option); hit; hit = Next())
            hits.push_back(*hit);
        return hits;
    }

    HostTree tree_{"Main"};
};

using Paths = std::vector<std::string>;

TEST_F(TStoreSearch, FindsHitsInTreeOrderAndNextGoesOn) {
    DeclareMain();
    EXPECT_EQ(Search("Main.Cfg.Port[#]!Value", "COM1"), "Main.Cfg[1].Port[1]");
    EXPECT_EQ(CurrentPathOf("Main"), "Main.Cfg[1].Port[1]");
    ZamSetErrorInfo(nullptr);
    EXPECT_EQ(Next(), "Main.Cfg[1].Port[3]");
    EXPECT_EQ(Next(), std::nullopt);
    EXPECT_EQ(ZamGetLastError(), 0) << "finding nothing is no error";
    // The walk stopped at the first node outside the fixed part Main.Cfg.
    EXPECT_EQ(CurrentPathOf("Main"), "Main.Other[1]");

    const LastSearch &last = Existing_T_Table()->Last_Search();
    EXPECT_EQ(last.identifier, "Main.Cfg.Port[#]!Value");
    EXPECT_EQ(last.value, "COM1");
    EXPECT_EQ(last.path_found, "Main.Cfg[1].Port[3]");
    EXPECT_EQ(last.mode, 0x33);
    EXPECT_EQ(last.whole_value, 1);
    EXPECT_EQ(last.compare_option, 0);
}

TEST_F(TStoreSearch, ReturnedPathsFollowTheTreesTwinIndexSetting) {
    DeclareMain(true);
    EXPECT_EQ(Hits("Main.Cfg.Port[#]!Value", "COM1"), (Paths{"Main.Cfg.Port", "Main.Cfg.Port[3]"}));
    EXPECT_EQ(Existing_T_Table()->Last_Search().path_found, "Main.Cfg[1].Port[3]");
}

TEST_F(TStoreSearch, WholeValueOrPartAndTheCompareOption) {
    DeclareMain();
    const Paths three_ports{"Main.Cfg[1].Port[1]", "Main.Cfg[1].Port[2]", "Main.Cfg[1].Port[3]"};
    EXPECT_EQ(Hits("Main.Cfg.Port[#]!Value", "COM", 0), three_ports);
    EXPECT_EQ(Hits("Main.Cfg.Port[#]!Value", "COM", 1), Paths{});
    EXPECT_EQ(Hits("Main.Cfg.Port[#]!Value", "com2", 1, 0), Paths{});
    EXPECT_EQ(Hits("Main.Cfg.Port[#]!Value", "com2", 1, VEK_IGNORE_CASE),
              Paths{"Main.Cfg[1].Port[2]"});
    EXPECT_EQ(Hits("Main.Cfg.Port[#]!Value", "om", 0, VEK_IGNORE_CASE), three_ports);
    // Mode 2 reads every attribute as the empty text.
    EXPECT_EQ(Search("Main.Cfg.Port[#]!Value", "", "", 1, 0, 2), "Main.Cfg[1].Port[1]");
    EXPECT_EQ(Search("Main.Cfg.Port[#]!Value", "COM1", "", 1, 0, 2), std::nullopt);
}

TEST_F(TStoreSearch, TheWalkStaysBelowTheFixedPart) {
    DeclareMain();
    EXPECT_EQ(Hits("Main.Cfg.*!Value", "COM1"),
              (Paths{"Main.Cfg[1].Port[1]", "Main.Cfg[1].Port[3]", "Main.Cfg[1].Sub[1].Port[1]"}));
    EXPECT_EQ(Hits("Main.*.Sub.Port!Value", "COM1"), Paths{"Main.Cfg[1].Sub[1].Port[1]"});
    EXPECT_EQ(Hits("Main.Oth?r.Port[#]!Value", "COM1"), Paths{"Main.Other[1].Port[1]"});
    // The fixed part itself is never examined, and nothing below it matches.
    EXPECT_EQ(Hits("Main.Cfg.Port!Value", "COM1"), Paths{});
    // -1 matches the last of its twins.
    EXPECT_EQ(Hits("Main.C+.Port[-1]!Value", "COM", 0), Paths{"Main.Cfg[1].Port[3]"});
}

TEST_F(TStoreSearch, AStartPathGoesOnAfterThatNode) {
    DeclareMain();
    EXPECT_EQ(Search("Main.*!Value", "COM1", "Main.Cfg.Sub"), "Main.Cfg[1].Sub[1].Port[1]");
    EXPECT_EQ(Search("Main.*!Value", "COM1", "Main.Other.Port"), std::nullopt);
    EXPECT_EQ(Search("Main.*!Value", "COM1", "Main.Nowhere"), std::nullopt);

    // A search that finds nothing keeps the last hit, and the next search goes on
    // from there with the new value.
    ASSERT_EQ(Search("Main.Cfg.Port[#]!Value", "COM1"), "Main.Cfg[1].Port[1]");
    EXPECT_EQ(Search("Main.Cfg.Port[#]!Value", "COM2", "Main.Cfg.Port[2]"), std::nullopt);
    EXPECT_EQ(Next(), "Main.Cfg[1].Port[2]");
    // When the node last found is gone, the next search finds nothing.
    VekTreeNode::FromHandle(tree_.Handle())->FirstChild()->FirstChild()->GetNextSib()->Delete(true);
    EXPECT_EQ(Next(), std::nullopt);
}

TEST_F(TStoreSearch, ValuesOfOtherKindsAreReadAsTheirText) {
    DeclareMain();
    VekTreeNode &port2 = *tree_.Root().FirstChild()->FirstChild()->GetNextSib();
    VEKVARIANT value;
    VekVarInit(&value);
    VekVarFromInt32(&value, 42);
    port2._SetProperty("Value", &value);
    VekVarFromBlob(&value,
                   "\x01"
                   "AB",
                   3);
    tree_.Root().LastChild()->FirstChild()->_SetProperty("Value", &value);
    VekVarClear(&value);
    EXPECT_EQ(Hits("Main.*!Value", "42"), Paths{"Main.Cfg[1].Port[2]"});
    EXPECT_EQ(Hits("Main.*!Value", "#01AB"), Paths{"Main.Other[1].Port[1]"});
    EXPECT_EQ(Hits("Main.*!Value", "4", 0), Paths{"Main.Cfg[1].Port[2]"});
}

TEST_F(TStoreSearch, AliasesAndTheDefaultAttribute) {
    DeclareMain(false, "Value");
    T_SetAliasA("CFG", "Main.Cfg");
    EXPECT_EQ(Search("CFG.Port[#]", "COM2"), "Main.Cfg[1].Port[2]");
    EXPECT_EQ(Existing_T_Table()->Last_Search().identifier, "Main.Cfg.Port[#]");
    EXPECT_EQ(Search("Main.*", "COM1", "CFG.Port[3]"), "Main.Cfg[1].Sub[1].Port[1]");
    EXPECT_EQ(Search("CFG.Port[#]!Missing", "COM2"), std::nullopt);
}

TEST_F(TStoreSearch, RefusalsKeepTheirOrderAndTexts) {
    const char *kSearch = "T.T_Search";
    // No table: the Mode is checked first, then the table.
    EXPECT_EQ(Search("Main.*!Value", "x", "", 1, 0, 3), std::nullopt);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000E), kSearch, "Invalid argument: Mode=3h"}));
    EXPECT_EQ(Search("DUT.*!Value", "x"), std::nullopt);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040020), kSearch, "T Object doesn't exist: DUT.*!Value"}));
    EXPECT_EQ(Next(), std::nullopt);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040020), kSearch, "T Object doesn't exist: "}));

    DeclareMain();
    // A table, but no search yet: the remembered Mode is none of the three.
    EXPECT_EQ(Next(), std::nullopt);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000E), kSearch, "Invalid argument: Mode=0h"}));
    EXPECT_EQ(Search("Main.Cfg.Port[x]!Value", "x"), std::nullopt);
    EXPECT_EQ(LastError().code, Code(0xE2040009));
    EXPECT_EQ(Search("Main.*!Value", "x", "Main..Cfg"), std::nullopt);
    EXPECT_EQ(LastError().code, Code(0xE204000B));
    EXPECT_EQ(Search("Nope.*!Value", "x"), std::nullopt);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040020), kSearch, "T Object doesn't exist: Nope.*!Value"}));
    EXPECT_EQ(Existing_T_Table()->Last_Search().mode, 0) << "nothing kept before the T object";

    // Without an attribute name and without a default attribute; the state is kept.
    T_SetAliasA("CFG", "Main.Cfg");
    EXPECT_EQ(Search("CFG.Port[#]", "COM1", "", 0, 1), std::nullopt);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040015), kSearch, "No default attribute for CFG.Port[#]"}));
    const LastSearch &last = Existing_T_Table()->Last_Search();
    EXPECT_EQ(last.identifier, "Main.Cfg.Port[#]");
    EXPECT_EQ(last.value, "COM1");
    EXPECT_EQ(last.whole_value, 0);
    EXPECT_EQ(last.compare_option, 1);
    EXPECT_EQ(last.path_found, "");

    EXPECT_EQ(Take(T_SearchA(nullptr, nullptr, nullptr, 0x33, 1, 0)), std::nullopt);
    EXPECT_EQ(LastError().code, Code(0xE2040009));
}

// ---- The walk of a search ------------------------------------------------------

// Root: A (X, X, Y (Z)), A, B (C (D), E), F item.
class TStoreSearchWalk : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        VekTreeNode &a = Add(tree_.Root(), "A");
        Add(a, "X");
        Add(a, "X");
        Add(Add(a, "Y"), "Z");
        Add(tree_.Root(), "A");
        VekTreeNode &b = Add(tree_.Root(), "B");
        Add(Add(b, "C"), "D");
        Add(b, "E");
        Add(tree_.Root(), "F", 0);
        ASSERT_EQ(Declare(tree_.Handle()), 0);
    }

    HostTree tree_{"Root"};
};

// Every step of the search's walk reaches the node Next_Node reaches, and writes
// the same path, from starts written in any case and with -1.
TEST_F(TStoreSearchWalk, StepsAndPathsAreThoseOfNextNode) {
    T_Object &object = Object("Root");
    for (const char *start :
         {"Root", "root", "Root.A[1]", "ROOT.a[-1]", "Root.A[1].X[2]", "Root.A[1].Y[1].Z[1]",
          "root.B[1].c[1].D[1]", "Root.B[1]", "Root.F[1]"}) {
        std::vector<std::pair<VekTreeNode *, std::string>> expected;
        ASSERT_TRUE(Locate_Node(object, start)) << start;
        while (Next_Node(object))
            expected.emplace_back(object.Current(), object.Current_Path());

        ASSERT_TRUE(Locate_Node(object, start));
        SearchWalk walk(object);
        std::vector<std::pair<VekTreeNode *, std::string>> walked;
        while (walk.Step()) {
            walked.emplace_back(&walk.Node(), walk.Path());
            EXPECT_EQ(walk.Section_Count(), Section_Count(walked.back().second));
        }
        EXPECT_EQ(walked, expected) << start;
        walk.Settle();
        EXPECT_EQ(object.Current(), expected.empty() ? object.Current() : expected.back().first);
    }
}

}  // namespace
