// Tree files: every value kind survives a save and a load, malformed sources fail
// with line and column and leave the node as it was, deep trees load without
// recursion, and the host exports pass trees by handle.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "store_test_support.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

using store_test::LastDescription;
using store_test::Take;
using store_test::Variant;
using Node = std::unique_ptr<VekTreeNode>;

Node Make(const char *name, uint32_t attributes = 0) {
    Node node(VekTreeNode::Create(attributes));
    node->SetName(name, -1);
    return node;
}

std::string TextOfTree(const VekTreeNode &node) {
    return Take(node.SaveToText()).value_or("");
}

// A file path in the test's working folder, removed at the end.
struct TempFile {
    std::string path;
    explicit TempFile(const char *name) : path(name) { std::remove(path.c_str()); }
    ~TempFile() { std::remove(path.c_str()); }
};

// A node whose attributes hold every kind a tree file keeps.
Node EveryKind() {
    Node root = Make("Root \"q\" caf\xE9", VekTreeNode::kGroup);
    Variant v;
    auto set = [&](const char *name) { ASSERT_EQ(root->_SetProperty(name, &v.v), 0); };
    VekVarFromInt32(&v.v, INT32_MIN);
    set("int32");
    VekVarFromInt(&v.v, 5);
    set("int64 small");
    VekVarFromInt(&v.v, INT64_MAX);
    set("int64 big");
    for (const double d : {2.0, 0.1, -1e300, double(NAN), -double(INFINITY)}) {
        VekVarFromDouble(&v.v, d);
        set(("double " + std::to_string(d)).c_str());
    }
    VekVarFromBool(&v.v, 1);
    set("bool");
    VekVarClear(&v.v);
    set("empty");
    v.v.type = VEK_VT_NULL;
    set("null");
    VekVarFromDate(&v.v, 46362.34327546296);  // 2026-12-06 08:14:19
    set("date");
    VekVarFromDate(&v.v, 46362.000001);  // not whole seconds: kept as days
    set("date fraction");
    VekVarFromStrA(&v.v, "line\nbreak \"quoted\" back\\slash \x01 \xFF", -1);
    set("text");
    const uint16_t wide[] = {'a', 0x20AC, 0xD83D, 0xDE00, 0xE9};
    VekVarClear(&v.v);
    v.v.type = VEK_VT_WTEXT;
    VekArrayCopy_(reinterpret_cast<void **>(&v.v.value.wtext), wide, 5, 2);
    set("wide");
    VekVarFromBlob(&v.v, "\0\x01\xFFz", 4);
    set("blob");
    VekVarFromBlob(&v.v, nullptr, 0);
    set("empty blob");

    Node item = Make("item");
    VekVarFromStrA(&v.v, "1", -1);
    item->_SetProperty("Value", &v.v);
    Node group = Make("group", VekTreeNode::kGroup);  // a group without children
    Node parent = Make("parent", VekTreeNode::kGroup);
    parent->AddChild(Make("leaf").release(), -1);
    root->AddChild(item.release(), -1);
    root->AddChild(group.release(), -1);
    root->AddChild(parent.release(), -1);
    return root;
}

void ExpectSameProperties(const VekTreeNode &a, const VekTreeNode &b) {
    ASSERT_EQ(VekPropsCount(a.Properties()), VekPropsCount(b.Properties()));
    for (int32_t i = 0; i < VekPropsCount(a.Properties()); ++i) {
        auto *x = VekPropsItemAt(const_cast<void *>(a.Properties()), i);
        auto *y = VekPropsItemAt(const_cast<void *>(b.Properties()), i);
        SCOPED_TRACE(x->name);
        EXPECT_STREQ(x->name, y->name);
        ASSERT_EQ(x->value.type, y->value.type);
        if (x->value.type == VEK_VT_R8 && std::isnan(x->value.value.double_value)) {
            EXPECT_TRUE(std::isnan(y->value.value.double_value));
        } else if (x->value.type == VEK_VT_R8 || x->value.type == VEK_VT_DATE) {
            EXPECT_EQ(x->value.value.double_value, y->value.value.double_value);
        } else if (x->value.type == VEK_VT_WTEXT) {
            ASSERT_EQ(VekArrayCountEx_(x->value.value.wtext),
                      VekArrayCountEx_(y->value.value.wtext));
            for (int32_t k = 0; k < VekArrayCountEx_(x->value.value.wtext); ++k)
                EXPECT_EQ(x->value.value.wtext[k], y->value.value.wtext[k]);
        } else {
            char *xt = nullptr;
            char *yt = nullptr;
            VekVarToStrA(&x->value, &xt);
            VekVarToStrA(&y->value, &yt);
            EXPECT_EQ(Take(xt), Take(yt));
        }
    }
}

void ExpectSameTree(const VekTreeNode &a, const VekTreeNode &b) {
    const VekTreeNode *x = &a;
    const VekTreeNode *y = &b;
    while (x != nullptr && y != nullptr) {
        EXPECT_EQ(x->GetName(), y->GetName());
        EXPECT_EQ(x->IsGroup(), y->IsGroup());
        EXPECT_EQ(x->ChildCount(), y->ChildCount());
        ExpectSameProperties(*x, *y);
        x = x->GetNextNode();
        y = y->GetNextNode();
    }
    EXPECT_EQ(x, nullptr);
    EXPECT_EQ(y, nullptr);
}

TEST(TreeFile, EveryValueKindRoundTripsThroughTextAndFile) {
    const Node original = EveryKind();
    const std::string text = TextOfTree(*original);
    ASSERT_FALSE(text.empty()) << LastDescription();
    Node loaded = Make("old");
    ASSERT_EQ(loaded->Load(text.c_str(), 0), 0) << LastDescription();
    ExpectSameTree(*original, *loaded);
    EXPECT_EQ(TextOfTree(*loaded), text);  // and it writes the same text again

    TempFile file("tree_file_test.json");
    ASSERT_EQ(original->Save(file.path.c_str(), 0), 0) << LastDescription();
    const int32_t handle = VekTreeLoadA(file.path.c_str(), 0);
    ASSERT_GT(handle, 0) << LastDescription();
    EXPECT_EQ(Take(VekTreeToTextA(handle)), text);
    EXPECT_EQ(VekTreeFree(handle), 0);
}

TEST(TreeFile, DocumentedFormReadsAsDocumented) {
    Node node = Make("x");
    ASSERT_EQ(node->Load(R"( {"children": [{"name": "a"}, {"name": "b", "children": []}],
        "attributes": {"n": 7, "big": 4294967296, "huge": 18446744073709551615,
                       "d": 1.0, "e": 1e2, "t": "caf\u00e9", "w": "\u20ac",
                       "day": {"$date": "2026-12-06"}, "bytes": {"$bytes": "00ff"}},
        "name": "Main"})",
                         0),
              0)
        << LastDescription();
    EXPECT_EQ(node->GetName(), "Main");
    EXPECT_TRUE(node->IsGroup());                 // "children" makes it a group
    EXPECT_FALSE(node->FirstChild()->IsGroup());  // no "group", no children: item
    EXPECT_TRUE(node->LastChild()->IsGroup());    // an empty "children" too
    const uint32_t kinds[] = {VEK_VT_INT32, VEK_VT_INT,   VEK_VT_R8,   VEK_VT_R8,  VEK_VT_R8,
                              VEK_VT_TEXT,  VEK_VT_WTEXT, VEK_VT_DATE, VEK_VT_BLOB};
    for (int32_t i = 0; i < 9; ++i)
        EXPECT_EQ(VekPropsItemAt(node->Properties(), i)->value.type, kinds[i]) << i;
    const VEKPROPERTYA *t = VekPropsFindNamedItemA(node->Properties(), "t");
    EXPECT_STREQ(t->value.value.text, "caf\xE9");  // Latin-1 in the library
}

TEST(TreeFile, MalformedTextNamesLineAndColumnAndLeavesTheNodeAsItWas) {
    Node node = EveryKind();
    const std::string before = TextOfTree(*node);
    struct Case {
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        {"{\"name\": \"a\",\n \"group\": tru}", "line 2, column"},
        {"{\"name\": \"a\", \"colour\": 1}", "line 1, column 23: unknown node member \"colour\""},
        {"{\"group\": true}", "a node needs a \"name\""},
        {"{\"name\": 5}", "\"name\" must be a text"},
        {"{\"name\": \"a\",\n\"attributes\": {\"x\": 1, \"X\": 2}}", "line 2, column"},
        {"{\"name\": \"a\", \"children\": [5]}", "\"children\" must be an array of nodes"},
        {"{\"name\": \"a\", \"attributes\": {\"x\": [1]}}", "attribute values are no arrays"},
        {"{\"name\": \"a\", \"attributes\": {\"x\": {\"$date\": \"2026-02-30\"}}}", "$date"},
        {"{\"name\": \"a\", \"attributes\": {\"x\": {\"$bytes\": \"0g\"}}}", "$bytes"},
        {"{\"name\": \"a\", \"attributes\": {\"x\": {\"$kind\": 1}}}", "unknown value tag"},
        {"{\"name\": \"\\u20ac\"}", "not Latin-1"},
        {"{\"name\": \"a\"} {}", "line 1, column"},
        {"{\"name\": \"a\", \"children\": [{\"name\": \"b\"}, {\"name\": \"c\", \"children\": "
         "[7]}]}",
         "children"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(node->Load(c.text, 0), VEK_E_BADDATA);
        EXPECT_NE(LastDescription().find(c.expected), std::string::npos) << LastDescription();
        EXPECT_EQ(TextOfTree(*node), before);
    }
    EXPECT_EQ(node->Load("[]", VEK_TREE_SOURCE_TEXT), VEK_E_BADDATA);
    EXPECT_EQ(node->Load("{}", 7), VEK_E_INVALIDARG);
}

TEST(TreeFile, MissingFileNamesThePath) {
    Node node = Make("kept");
    EXPECT_EQ(node->Load("no/such/tree.json", 0), VEK_E_FILENOTFOUND);
    EXPECT_NE(LastDescription().find("no/such/tree.json"), std::string::npos);
    EXPECT_EQ(node->GetName(), "kept");
    EXPECT_EQ(VekTreeLoadA("{\"name\": 1", VEK_TREE_SOURCE_FILE), VEK_E_FILENOTFOUND);
    EXPECT_EQ(VekTreeLoadA(nullptr, 0), VEK_E_INVALIDARG);
    EXPECT_EQ(node->Save("no/such/folder/tree.json", 0), VEK_E_WRITEFAULT);
    EXPECT_EQ(VekTreeSaveA(-3, "x.json", 0), VEK_E_INVALIDARG);
    EXPECT_EQ(VekTreeToTextA(0), nullptr);
}

// A chain of `depth` nodes as a tree-file text.
std::string Chain(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "{\"name\":\"n\",\"children\":[";
    text += "{\"name\":\"leaf\"}";
    for (int i = 0; i < depth; ++i)
        text += "]}";
    return text;
}

TEST(TreeFile, DeepTreesLoadAndSaveWithoutRecursionAndTooDeepIsRefused) {
    Node node = Make("deep");
    ASSERT_EQ(node->Load(Chain(VEK_TREE_MAX_DEPTH - 1).c_str(), 0), 0) << LastDescription();
    EXPECT_EQ(node->GetNodeCount(), VEK_TREE_MAX_DEPTH - 1);
    const std::string text = TextOfTree(*node);
    Node again = Make("again");
    ASSERT_EQ(again->Load(text.c_str(), 0), 0);
    EXPECT_EQ(again->GetNodeCount(), VEK_TREE_MAX_DEPTH - 1);

    EXPECT_EQ(again->Load(Chain(VEK_TREE_MAX_DEPTH).c_str(), 0), VEK_E_BADDATA);
    EXPECT_NE(LastDescription().find("deeper than"), std::string::npos);
    EXPECT_EQ(again->GetNodeCount(), VEK_TREE_MAX_DEPTH - 1);  // as it was
    // Deep nesting of anything else stops at its first level.
    const std::string arrays = "{\"name\":\"a\",\"children\":[" + std::string(1000000, '[');
    EXPECT_EQ(again->Load(arrays.c_str(), 0), VEK_E_BADDATA);
}

// A node class of its own, to see that loaded children are made by NewNode.
class TaggedNode : public VekTreeNode {
  public:
    using VekTreeNode::VekTreeNode;
    VekTreeNode *NewNode() const override { return new TaggedNode(); }
};

TEST(TreeFile, LoadReplacesTheContentAndMakesChildrenOfTheNodesClass) {
    Node node = std::make_unique<TaggedNode>(VekTreeNode::kGroup);
    node->SetName("old", -1);
    node->AddChild(Make("gone").release(), -1);
    Variant v;
    VekVarFromInt32(&v.v, 1);
    node->_SetProperty("old attribute", &v.v);
    const int32_t handle = node->GetHandle();
    ASSERT_EQ(node->Load(R"({"name": "new", "children": [{"name": "c"}]})", 0), 0);
    EXPECT_EQ(node->GetName(), "new");
    EXPECT_EQ(node->ChildCount(), 1);
    EXPECT_NE(dynamic_cast<TaggedNode *>(node->FirstChild()), nullptr);
    EXPECT_EQ(VekPropsCount(node->Properties()), 0);
    EXPECT_EQ(VekTreeNode::FromHandle(handle), node.get());  // still the same node
}

TEST(TreeFile, NodePropertiesAreCopiedForTheCaller) {
    Node node = EveryKind();
    void *props = nullptr;
    ASSERT_EQ(VekTreeGetNodeProps(node.get(), &props), 0);
    EXPECT_EQ(VekPropsCount(props), VekPropsCount(node->Properties()));
    EXPECT_NE(props, node->Properties());
    VekPropsFree(props);
    EXPECT_EQ(VekTreeGetNodeProps(nullptr, &props), VEK_E_POINTER);
}

TEST(TreeFile, ObjectValuesCannotBeSaved) {
    Node node = Make("n");
    Variant v;
    v.v.type = VEK_VT_DISPATCH;  // a null object reference
    node->_SetProperty("object", &v.v);
    EXPECT_EQ(node->SaveToText(), nullptr);
    EXPECT_EQ(ZamGetLastError(), VEK_E_TYPEMISMATCH);
    EXPECT_NE(LastDescription().find("\"object\""), std::string::npos);
}

}  // namespace
