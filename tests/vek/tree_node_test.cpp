// Tree nodes: structure, walks, twin ranks, handles, copies and host functions.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "store_test_support.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

using store_test::IsFailure;
using store_test::LastDescription;
using store_test::Take;

using Node = std::unique_ptr<VekTreeNode>;

Node Make(const std::string &name, uint32_t attributes = 0) {
    Node node(VekTreeNode::Create(attributes));
    EXPECT_EQ(node->SetName(name.c_str(), -1), 0);
    return node;
}

// Adds a new named child at the end and returns it (owned by the parent).
VekTreeNode *Add(VekTreeNode *parent, const std::string &name, int32_t index = -1) {
    Node child = Make(name);
    EXPECT_GE(parent->AddChild(child.get(), index), 0);
    return child.release();
}

std::string Children(const VekTreeNode *parent) {
    std::string names;
    for (const VekTreeNode *c = parent->FirstChild(); c != nullptr; c = c->GetNextSib())
        names += std::string(c->GetName()) + ",";
    // The backward links must agree with the forward ones.
    std::string backwards;
    for (const VekTreeNode *c = parent->LastChild(); c != nullptr; c = c->GetPrevSib())
        backwards.insert(0, std::string(c->GetName()) + ",");
    EXPECT_EQ(names, backwards);
    return names;
}

// R(A(A1, A2(A21)), B, C(C1))
struct SampleTree {
    Node root = Make("R", VekTreeNode::kGroup);
    VekTreeNode *a = Add(root.get(), "A");
    VekTreeNode *a1 = Add(a, "A1");
    VekTreeNode *a2 = Add(a, "A2");
    VekTreeNode *a21 = Add(a2, "A21");
    VekTreeNode *b = Add(root.get(), "B");
    VekTreeNode *c = Add(root.get(), "C");
    VekTreeNode *c1 = Add(c, "C1");
};

TEST(TreeNode, AddChildPlacesAtIndexAndReturnsIt) {
    Node root = Make("R");
    Node a = Make("a"), b = Make("b"), c = Make("c"), d = Make("d"), e = Make("e");
    EXPECT_EQ(root->AddChild(a.release(), -1), 0);
    EXPECT_EQ(root->AddChild(b.release(), -1), 1);
    EXPECT_EQ(root->AddChild(c.release(), 0), 0);
    EXPECT_EQ(root->AddChild(d.release(), 2), 2);
    EXPECT_EQ(root->AddChild(e.release(), 4), 4);
    EXPECT_EQ(Children(root.get()), "c,a,d,b,e,");
    EXPECT_EQ(root->ChildCount(), 5);
    EXPECT_EQ(root->LastChild()->GetChildIndex(), 4);
    EXPECT_EQ(root->FirstChild()->GetNextSib()->GetChildIndex(), 1);
    EXPECT_EQ(root->GetChildIndex(), -1);
}

TEST(TreeNode, AddChildRefusals) {
    SampleTree t;
    Node loose = Make("loose");
    EXPECT_TRUE(IsFailure(t.root->AddChild(loose.get(), 4)));  // past the count of 3
    EXPECT_TRUE(IsFailure(t.root->AddChild(loose.get(), -2)));
    EXPECT_TRUE(IsFailure(t.root->AddChild(nullptr, -1)));
    EXPECT_TRUE(IsFailure(t.a->AddChild(t.b, -1)));  // attached elsewhere
    EXPECT_TRUE(IsFailure(loose->AddChild(loose.get(), -1)));
    // An ancestor cannot go below its own descendant.
    EXPECT_TRUE(IsFailure(t.a21->AddChild(t.root.get(), -1)));
    EXPECT_NE(LastDescription().find("descendant"), std::string::npos);
    EXPECT_EQ(t.root->Parent(), nullptr);
    EXPECT_EQ(Children(t.root.get()), "A,B,C,");
    EXPECT_EQ(t.a21->ChildCount(), 0);
}

TEST(TreeNode, RemoveAndDelete) {
    SampleTree t;
    t.a->Remove();
    Node removed(t.a);  // the caller owns a removed node
    EXPECT_EQ(removed->Parent(), nullptr);
    EXPECT_EQ(removed->GetNextSib(), nullptr);
    EXPECT_EQ(Children(t.root.get()), "B,C,");
    EXPECT_EQ(t.b->GetChildIndex(), 0);
    EXPECT_EQ(removed->GetNodeCount(), 3);

    // Without its subtree: the children take the node's place, in order.
    t.root->AddChild(removed.release(), 1);
    t.a->Delete(false);
    EXPECT_EQ(Children(t.root.get()), "B,A1,A2,C,");
    EXPECT_EQ(t.a2->Parent(), t.root.get());
    EXPECT_EQ(t.a21->GetLevel(t.root.get()), 2);

    t.c->Delete(true);
    EXPECT_EQ(Children(t.root.get()), "B,A1,A2,");
    EXPECT_EQ(t.root->GetNodeCount(), 4);

    // A root has nowhere to put its children: they go with it.
    Node lone = Make("lone");
    Add(Add(lone.get(), "x"), "y");
    lone.release()->Delete(false);
}

TEST(TreeNode, LevelsAndPreOrderWalk) {
    SampleTree t;
    EXPECT_EQ(t.a21->GetLevel(t.a21), 0);
    EXPECT_EQ(t.a21->GetLevel(t.a2), 1);
    EXPECT_EQ(t.a21->GetLevel(t.root.get()), 3);
    EXPECT_EQ(t.a21->GetLevel(t.b), -1);
    EXPECT_EQ(t.a->GetLevel(t.a21), -1);

    std::string order;
    for (const VekTreeNode *n = t.root.get(); n != nullptr; n = n->GetNextNode())
        order += std::string(n->GetName()) + ",";
    EXPECT_EQ(order, "R,A,A1,A2,A21,B,C,C1,");
    EXPECT_EQ(t.a21->GetNextNode(), t.b);  // climbs out of two subtrees
    EXPECT_EQ(t.c1->GetNextNode(), nullptr);

    EXPECT_EQ(t.root->GetNodeCount(), 7);
    EXPECT_EQ(t.a->GetNodeCount(), 3);
    EXPECT_EQ(t.b->GetNodeCount(), 0);
}

std::string TwinRanks(const VekTreeNode *parent) {
    std::string ranks;
    for (const VekTreeNode *c = parent->FirstChild(); c != nullptr; c = c->GetNextSib())
        ranks += std::to_string(c->GetTwinIndex()) + "/" + std::to_string(c->GetTwinCount()) + " ";
    return ranks;
}

TEST(TreeNode, TwinRanksFollowInsertsRemovalsAndRenames) {
    Node root = Make("R");
    EXPECT_EQ(root->GetTwinIndex(), 1);
    EXPECT_EQ(root->GetTwinCount(), 0);
    VekTreeNode *first = Add(root.get(), "x");
    Add(root.get(), "Y");
    Add(root.get(), "X");
    Add(root.get(), "y");
    Add(root.get(), "x");
    VekTreeNode *z = Add(root.get(), "z");
    EXPECT_EQ(TwinRanks(root.get()), "1/3 1/2 2/3 2/2 3/3 1/1 ");

    first->Delete(true);
    EXPECT_EQ(TwinRanks(root.get()), "1/2 1/2 2/2 2/2 1/1 ");
    z->SetName("x", -1);
    EXPECT_EQ(TwinRanks(root.get()), "1/2 1/3 2/2 2/3 3/3 ");
    Add(root.get(), "X", 0);
    EXPECT_EQ(TwinRanks(root.get()), "1/4 1/2 2/4 2/2 3/4 4/4 ");

    // A node moved from another parent must not keep its old ranks.
    Node other = Make("O");
    VekTreeNode *moved = Add(other.get(), "y");
    Add(other.get(), "y");
    EXPECT_EQ(moved->GetTwinIndex(), 1);
    moved->Remove();
    root->AddChild(moved, -1);
    EXPECT_EQ(moved->GetTwinIndex(), 3);
    EXPECT_EQ(moved->GetTwinCount(), 3);
}

TEST(TreeNode, TwinRanksOverManyTwins) {
    constexpr int32_t kTwins = 100000;
    Node root = Make("R");
    for (int32_t i = 0; i < kTwins; ++i)
        Add(root.get(), i % 2 == 0 ? "Port" : "PORT");
    int32_t expected = 1;
    for (const VekTreeNode *c = root->FirstChild(); c != nullptr; c = c->GetNextSib(), ++expected) {
        ASSERT_EQ(c->GetTwinIndex(), expected);
        ASSERT_EQ(c->GetTwinCount(), kTwins);
    }
}

TEST(TreeNode, HandlesNameLiveNodesOnly) {
    SampleTree t;
    const int32_t handle = t.a2->GetHandle();
    ASSERT_GT(handle, 0);
    EXPECT_EQ(t.a2->GetHandle(), handle);
    EXPECT_EQ(VekTreeNode::FromHandle(handle), t.a2);
    const int32_t other = t.a21->GetHandle();
    EXPECT_NE(other, handle);
    EXPECT_EQ(VekTreeNode::FromHandle(0), nullptr);
    EXPECT_EQ(VekTreeNode::FromHandle(-handle), nullptr);
    EXPECT_EQ(VekTreeNode::FromHandle(INT32_MAX), nullptr);

    t.a->Delete(true);
    EXPECT_EQ(VekTreeNode::FromHandle(handle), nullptr);
    EXPECT_EQ(VekTreeNode::FromHandle(other), nullptr);
    // A new node gets a new handle, not the stale one.
    Node fresh = Make("fresh");
    EXPECT_NE(fresh->GetHandle(), handle);
}

// Callers keep what FromHandle gave while the generation stays: it must move with
// every handle given out or forgotten, and only then.
TEST(TreeNode, HandleGenerationMovesWithTheHandleTable) {
    SampleTree t;
    const uint64_t start = VekTreeNode::HandleGeneration();
    const int32_t handle = t.a2->GetHandle();
    const uint64_t given = VekTreeNode::HandleGeneration();
    EXPECT_NE(given, start);
    t.a2->GetHandle();  // already has one
    t.b->Delete(true);  // never had one
    EXPECT_EQ(VekTreeNode::FromHandle(handle), t.a2);
    EXPECT_EQ(VekTreeNode::HandleGeneration(), given);
    t.a->Delete(true);
    EXPECT_NE(VekTreeNode::HandleGeneration(), given);
}

// A property rewritten with a value of its kind stays in its block when it fits;
// either way the node holds exactly the value written.
TEST(TreeNode, PropertiesRewrittenInPlaceHoldWhatWasWritten) {
    Node node = Make("N");
    VEKVARIANT value;
    VekVarInit(&value);
    const auto set = [&](const char *text) {
        VekVarFromStrA(&value, text, -1);
        EXPECT_EQ(node->_SetProperty("P", &value), 0);
        VEKVARIANT read;
        VekVarInit(&read);
        EXPECT_EQ(node->_GetProperty("P", &read), 0);
        EXPECT_EQ(std::string(read.value.text != nullptr ? read.value.text : ""), text);
        VekVarClear(&read);
        return VekPropsFindNamedItemA(node->Properties(), "P")->value.value.text;
    };
    const char *block = set("123456");
    EXPECT_EQ(set("654321"), block);
    EXPECT_EQ(set("12"), block);
    set("a value longer than the block");
    set("");
    set("again");
    // The stored value is never the caller's block.
    EXPECT_NE(VekPropsFindNamedItemA(node->Properties(), "P")->value.value.text, value.value.text);
    VekVarClear(&value);
}

TEST(TreeNode, CopyCarriesNameAttributesPropertiesAndSubtree) {
    SampleTree t;
    VEKVARIANT value;
    VekVarInit(&value);
    VekVarFromStrA(&value, "blue", -1);
    ASSERT_EQ(t.a2->_SetProperty("Colour", &value), 0);
    t.a2->SetAttributes(0xFF, 0x41);
    t.a2->SetModified(6);

    Node copy(t.root->Copy(true));
    ASSERT_NE(copy, nullptr);
    std::string order;
    for (const VekTreeNode *n = copy.get(); n != nullptr; n = n->GetNextNode())
        order += std::string(n->GetName()) + ",";
    EXPECT_EQ(order, "R,A,A1,A2,A21,B,C,C1,");
    EXPECT_TRUE(copy->IsGroup());
    const VekTreeNode *copied_a2 = copy->FirstChild()->LastChild();
    EXPECT_NE(copied_a2, t.a2);
    EXPECT_EQ(copied_a2->GetAttributes(0xFF), 0x41u);
    EXPECT_EQ(copied_a2->GetModified(), 0u);
    VekVarClear(&value);
    ASSERT_EQ(copied_a2->_GetProperty("COLOUR", &value), 0);
    EXPECT_EQ(Take(value.value.text ? VekTextNewA(value.value.text, -1) : nullptr), "blue");

    // Reading a missing property empties the variant.
    ASSERT_EQ(copied_a2->_GetProperty("missing", &value), 0);
    EXPECT_EQ(VekVarType(&value), static_cast<uint32_t>(VEK_VT_EMPTY));

    Node alone(t.a->Copy(false));
    EXPECT_EQ(alone->ChildCount(), 0);
    EXPECT_EQ(alone->GetName(), "A");
    t.a2->ClearModified(2);
    EXPECT_EQ(t.a2->GetModified(), 4u);
}

std::string TextProperty(const VekTreeNode &node, const char *name) {
    VEKVARIANT value;
    VekVarInit(&value);
    EXPECT_EQ(node._GetProperty(name, &value), 0);
    char *text = nullptr;
    EXPECT_EQ(VekVarToStrA(&value, &text), 0);
    VekVarClear(&value);
    return Take(text).value_or("");
}

void SetTextProperty(VekTreeNode &node, const char *name, const char *text) {
    VEKVARIANT value;
    VekVarInit(&value);
    VekVarFromStrA(&value, text, -1);
    EXPECT_EQ(node._SetProperty(name, &value), 0);
    VekVarClear(&value);
}

TEST(TreeNode, CopiesShareNothingWithTheOriginal) {
    const std::string long_name(40, 'n');
    Node original = Make(long_name, VekTreeNode::kGroup);
    SetTextProperty(*original, "Value", "original");
    SetTextProperty(*original, "Second", "two");
    VekTreeNode *child = Add(original.get(), "Child");
    SetTextProperty(*child, "Value", "child");

    Node copy(original->Copy(true));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), long_name);
    EXPECT_NE(copy->GetHandle(), original->GetHandle());
    EXPECT_NE(copy->FirstChild()->GetHandle(), child->GetHandle());
    EXPECT_EQ(VekPropsCount(copy->Properties()), 2);
    EXPECT_EQ(TextProperty(*copy->FirstChild(), "value"), "child");

    // Through the node and through its list: neither reaches the other tree.
    SetTextProperty(*copy, "Value", "copy");
    void *copied_list = const_cast<void *>(copy->FirstChild()->Properties());
    VekVarFromStrA(&VekPropsEditNamedItemA(copied_list, "Value")->value, "copied child", -1);
    VekPropsEditNamedItemA(copied_list, "Added");
    copy->SetName("renamed", -1);
    EXPECT_EQ(TextProperty(*original, "Value"), "original");
    EXPECT_EQ(TextProperty(*child, "Value"), "child");
    EXPECT_EQ(VekPropsFindNamedItemA(child->Properties(), "Added"), nullptr);
    EXPECT_EQ(original->GetName(), long_name);

    SetTextProperty(*original, "Second", "changed");
    EXPECT_EQ(TextProperty(*copy, "Second"), "two");
}

TEST(TreeNode, CopyFailsWholeOnAPropertyItCannotCopy) {
    SampleTree t;
    void *list = const_cast<void *>(t.a21->Properties());
    VekPropsEditNamedItemA(list, "broken")->value.type = 0x7777;
    EXPECT_EQ(t.root->Copy(true), nullptr);
    EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
    VekVarInit(&VekPropsEditNamedItemA(list, "broken")->value);
}

TEST(TreeNode, NamesOfEveryLengthAndFromThemselves) {
    Node node = Make("");
    EXPECT_EQ(node->GetName(), "");
    for (size_t length : {1u, 15u, 16u, 23u, 24u, 100u, 15u, 0u, 5u}) {
        const std::string name(length, static_cast<char>('a' + length % 26));
        ASSERT_EQ(node->SetName(name.data(), static_cast<int32_t>(name.size())), 0);
        EXPECT_EQ(node->GetName(), name);
    }
    // A name taken from the node's own name, short and long, its end or its start.
    for (const std::string &name : {std::string("abcdef"), std::string(60, 'x') + "yz"}) {
        node->SetName(name.c_str(), -1);
        std::string_view own = node->GetName();
        ASSERT_EQ(node->SetName(own.data() + 2, static_cast<int32_t>(own.size() - 2)), 0);
        EXPECT_EQ(node->GetName(), name.substr(2));
        own = node->GetName();
        ASSERT_EQ(node->SetName(own.data(), 3), 0);
        EXPECT_EQ(node->GetName(), name.substr(2, 3));
        EXPECT_EQ(node->NameTag(), VekTreeNode::NameTagOf(name.substr(2, 3)));
    }
}

// The tag of a name (its length and last byte) is what walks compare first: it
// must be the same for a node as for the name alone, whatever way the node got it.
TEST(TreeNode, NameTagsFollowEveryName) {
    Node node = Make("");
    EXPECT_EQ(node->NameTag(), VekTreeNode::NameTagOf(""));
    for (const char *name : {"N7", "Port", "fifteen_bytes__", "sixteen_bytes___", "", "x",
                             "a much longer name than fits", "Q"}) {
        ASSERT_EQ(node->SetName(name, -1), 0);
        EXPECT_EQ(node->NameTag(), VekTreeNode::NameTagOf(name)) << name;
        std::unique_ptr<VekTreeNode> copy(node->Copy(false));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->NameTag(), VekTreeNode::NameTagOf(name)) << name;
        EXPECT_EQ(copy->GetName(), name);
    }
    EXPECT_NE(VekTreeNode::NameTagOf("N1"), VekTreeNode::NameTagOf("N2"));
    EXPECT_NE(VekTreeNode::NameTagOf("N1"), VekTreeNode::NameTagOf("NN1"));
    EXPECT_EQ(VekTreeNode::NameTagOf("nA") ^ VekTreeNode::NameTagOf("Na"), 0x20);
}

// A node class of a host library, derived across the library boundary.
class TaggedNode : public VekTreeNode {
  public:
    explicit TaggedNode(uint32_t attributes = 0) : VekTreeNode(attributes) {}
    VekTreeNode *NewNode() const override { return new TaggedNode(); }
};

TEST(TreeNode, CopyMakesNodesOfTheDerivedClass) {
    Node root = std::make_unique<TaggedNode>(VekTreeNode::kGroup);
    Node child = std::make_unique<TaggedNode>();
    child->SetName("child", -1);
    ASSERT_EQ(root->AddChild(child.release(), -1), 0);
    Node copy(root->Copy(true));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(dynamic_cast<TaggedNode *>(copy.get()), nullptr);
    EXPECT_NE(dynamic_cast<TaggedNode *>(copy->FirstChild()), nullptr);
    EXPECT_EQ(copy->FirstChild()->GetName(), "child");
    EXPECT_TRUE(copy->IsGroup());
}

TEST(TreeNode, UuidIsRandomVersion4StableAndUpperCaseInBraces) {
    Node a = Make("a"), b = Make("b");
    const std::string text = Take(a->GetUuidText()).value_or("");
    ASSERT_EQ(text.size(), 38u);
    EXPECT_EQ(text.front(), '{');
    EXPECT_EQ(text.back(), '}');
    for (size_t i : {9u, 14u, 19u, 24u})
        EXPECT_EQ(text[i], '-');
    EXPECT_EQ(text.find_first_not_of("{}-0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(text[15], '4');
    EXPECT_NE(std::string("89AB").find(text[20]), std::string::npos);
    EXPECT_EQ(Take(a->GetUuidText()), text);
    EXPECT_NE(Take(b->GetUuidText()), text);
    // The text is that of the 16 bytes the node keeps.
    EXPECT_EQ(Take(VekUuidToStrnA(a->GetUuid(), nullptr, 0)), text);
}

TEST(TreeNode, UuidTextOfKnownBytesIntoABuffer) {
    // A GUID's first three fields are in the machine's order (little-endian here).
    const unsigned char bytes[16] = {0x9F, 0x8B, 0x42, 0x06, 0xBF, 0xC0, 0xF4, 0x49,
                                     0xB9, 0xFA, 0x00, 0x50, 0x04, 0x2D, 0xA9, 0xE6};
    char buffer[39];
    EXPECT_EQ(VekUuidToStrnA(bytes, buffer, sizeof buffer), buffer);
    EXPECT_STREQ(buffer, "{06428B9F-C0BF-49F4-B9FA-0050042DA9E6}");
    EXPECT_EQ(VekUuidToStrnA(bytes, buffer, 38), nullptr);  // no room for the zero
    EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
    EXPECT_EQ(VekUuidToStrnA(nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(ZamGetLastError(), VEK_E_POINTER);
}

TEST(TreeNode, UuidsOfManyNodesDiffer) {
    std::set<std::string> seen;
    for (int i = 0; i < 10000; ++i) {
        Node node = Make("n");
        seen.insert(Take(node->GetUuidText()).value_or(""));
    }
    EXPECT_EQ(seen.size(), 10000u);
}

TEST(TreeNode, MillionDeepChainWithoutRecursion) {
    constexpr int64_t kDepth = 1000000;
    Node root = Make("root");
    VekTreeNode *deepest = root.get();
    for (int64_t i = 1; i < kDepth; ++i) {
        Node child(VekTreeNode::Create(0));
        ASSERT_EQ(deepest->AddChild(child.get(), -1), 0);
        deepest = child.release();
    }
    EXPECT_EQ(root->GetNodeCount(), kDepth - 1);
    EXPECT_EQ(deepest->GetLevel(root.get()), kDepth - 1);
    Node copy(root->Copy(true));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetNodeCount(), kDepth - 1);
    // Both chains go with their roots here.
}

TEST(HostTree, NewAndFreeByHandle) {
    const int32_t handle = VekTreeNewA("Root", 128);
    ASSERT_GT(handle, 0);
    VekTreeNode *root = VekTreeNode::FromHandle(handle);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), "Root");
    EXPECT_TRUE(root->IsGroup());

    // Freeing a node below the root detaches it first.
    VekTreeNode *child = Add(root, "child");
    Add(child, "grandchild");
    EXPECT_EQ(VekTreeFree(child->GetHandle()), 0);
    EXPECT_EQ(root->ChildCount(), 0);

    EXPECT_EQ(VekTreeFree(handle), 0);
    EXPECT_TRUE(IsFailure(VekTreeFree(handle)));
    EXPECT_EQ(LastDescription(), "Unknown node handle: " + std::to_string(handle));
    EXPECT_TRUE(IsFailure(VekTreeFree(-3)));
    EXPECT_TRUE(IsFailure(VekTreeFree(0)));
    EXPECT_TRUE(IsFailure(VekTreeNewA("bad", 5)));
}

}  // namespace
