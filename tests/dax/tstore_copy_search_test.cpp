// Copying and moving nodes between places and trees, inserting runs of children,
// and searching trees by attribute value.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "tstore/nodes/t_child_run.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_search_walk.h"
#include "tstore/nodes/t_walk.h"
#include "tstore/paths/t_names.h"
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

// ---- Moving ----------------------------------------------------------------------

// The refusals of moves that would lose nodes, whose texts the transcript shows:
// each leaves both trees exactly as they were.
TEST_F(TStoreCopyMove, MovesThatWouldLoseNodesMoveNothing) {
    Add(*y_, "W");  // a group below Y
    const std::string before = MainShape();
    ASSERT_EQ(T_Declare(RootConfig(b_->GetHandle()).get()), 0);  // B is also a tree's root
    struct Move {
        const char *source, *destination;
        int32_t recurse;
    };
    for (const Move &move : {Move{"Main", "Other.G", 53}, Move{"B", "Main.A", 53},
                             Move{"Main.B", "Other.G", 53}, Move{"Main", "Other.G", 43},
                             Move{"Main.A", "Main.A", 53}, Move{"Main.A", "Main.A.Y.W", 53},
                             Move{"Main.A", "Main.A.Y", 43}, Move{"Main.A", "Main.A.Y.W", 43}}) {
        EXPECT_EQ(T_MoveNodeA(move.source, move.destination, 1, move.recurse), Code(0xE204000E))
            << move.source << " -> " << move.destination;
        EXPECT_EQ(MainShape(), before) << move.source << " -> " << move.destination;
    }
    EXPECT_EQ(Shape(other_.Root()), "Other(G)");
    // Moving the children of a tree's root is fine: the root stays.
    ASSERT_EQ(T_MoveNodeA("Other", "Main.A.Y.W", 1, 43), 0);
    EXPECT_EQ(Shape(other_.Root()), "Other");
    EXPECT_EQ(Shape(*y_), "Y(Z*,W(G))");
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

// ---- Search ------------------------------------------------------------------

auto Fields(const LastSearch &last) {
    return std::make_tuple(last.identifier, last.value, last.path_found, last.mode,
                           static_cast<int>(last.whole_value), last.compare_option);
}

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

    void DeclareMain() { ASSERT_EQ(Declare(tree_.Handle()), 0); }

    static std::optional<std::string> Search(const char *identifier, const char *value,
                                             const char *start = "", int32_t mode = 0x33) {
        return Take(T_SearchA(identifier, value, start, mode, 1, 0));
    }
    static std::optional<std::string> Next() { return Take(T_SearchNextA()); }

    HostTree tree_{"Main"};
};

TEST_F(TStoreSearch, TheLastSearchIsKeptForTheNext) {
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
    EXPECT_EQ(Fields(last),
              Fields({"Main.Cfg.Port[#]!Value", "COM1", "Main.Cfg[1].Port[3]", 0x33, 1, 0}));

    // Refused before the T object is found: nothing is kept.
    EXPECT_EQ(Search("Nope.*!Value", "x", "", 2), std::nullopt);
    EXPECT_EQ(Search("Main.*!Value", "x", "Main..Cfg", 2), std::nullopt);
    EXPECT_EQ(last.mode, 0x33);
    // Refused after it (no attribute name, no default attribute): all but the
    // path last found is kept, the identifier after alias expansion.
    T_SetAliasA("CFG", "Main.Cfg");
    EXPECT_EQ(Take(T_SearchA("CFG.Port[#]", "COM2", "", 2, 0, 1)), std::nullopt);
    EXPECT_EQ(LastError().code, Code(0xE2040015));
    EXPECT_EQ(Fields(last), Fields({"Main.Cfg.Port[#]", "COM2", "Main.Cfg[1].Port[3]", 2, 0, 1}));
}

TEST_F(TStoreSearch, TheNextSearchNeedsTheNodeLastFound) {
    DeclareMain();
    ASSERT_EQ(Search("Main.Cfg.Port[#]!Value", "COM1"), "Main.Cfg[1].Port[1]");
    // A search that finds nothing keeps the last hit; the next goes on from it.
    EXPECT_EQ(Search("Main.Cfg.Port[#]!Value", "COM2", "Main.Cfg.Port[2]"), std::nullopt);
    EXPECT_EQ(Next(), "Main.Cfg[1].Port[2]");
    // When the node last found is gone, the next search finds nothing.
    tree_.Root().FirstChild()->FirstChild()->GetNextSib()->Delete(true);
    EXPECT_EQ(Next(), std::nullopt);
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
