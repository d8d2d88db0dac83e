// Attributes of T store nodes: declared types and the values of a new node, raw,
// formatted and variant reading and writing, retyping, the node's name, silent
// handling, the default attribute and new attributes.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "imports/morph_imports.h"
#include "platform/com.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/nodes/t_locate.h"
#include "tstore_test_support.h"

namespace {

using namespace Ostrel::Zam::tstore;
using namespace tstore_test;

constexpr int32_t kRaw = 0x33;
constexpr int32_t kFormatted = 0x15;
constexpr int32_t kRaise = 0x19;
constexpr int32_t kSilent = 0x1B;

// Main: Port (group) with the items A and B; Flat, a group below the root.
// Declared: Count Long, Flag Variant/Boolean, Data Binary, When Date/Time, Label
// String, Any Variant, Free without type, Odd of the unknown type Text; "Attribute
// 9" is missing, so Gap (10) is not declared. Label is the default attribute.
class TStoreAttributes : public TStoreTest {
  protected:
    void SetUp() override {
        TStoreTest::SetUp();
        Props config = RootConfig(tree_.Handle());
        int n = 0;
        for (const auto &[name, type] : kDeclared) {
            const std::string key = "Attribute " + std::to_string(++n);
            VekPropsSetTextA(config.get(), key.c_str(), name);
            if (*type != '\0')
                VekPropsSetTextA(config.get(),
                                 ("Attribute " + std::string(name) + " VarType").c_str(), type);
        }
        VekPropsSetTextA(config.get(), "Attribute Flag Default Variant type", "boolean");
        VekPropsSetTextA(config.get(), "Attribute 10", "Gap");
        VekPropsSetTextA(config.get(), "Default Attribute", "Label");
        ASSERT_EQ(T_Declare(config.get()), 0);
        port_ = &NewNode(tree_.Root(), "Port", 128);
        a_ = &NewNode(*port_, "A", 0);
        b_ = &NewNode(*port_, "B", 0);
    }

    // A node added as the store adds one: with the declared starting values.
    VekTreeNode &NewNode(VekTreeNode &parent, const char *name, uint32_t type) {
        VekTreeNode &node = Add(parent, name, type);
        Give_Initial_Attribute_Values(Object("Main"), node);
        return node;
    }

    static uint32_t TypeOf(const VekTreeNode &node, const char *name) {
        VEKVARIANT value{};
        node._GetProperty(name, &value);
        const uint32_t type = value.type;
        VekVarClear(&value);
        return type;
    }

    static std::optional<std::string> Get(const char *path, int32_t mode = kRaw) {
        return Take(T_GetA(path, mode, kRaise));
    }

    static constexpr std::pair<const char *, const char *> kDeclared[] = {
        {"Count", "Long"},   {"Flag", "Variant"}, {"Data", "Binary"}, {"When", "Date/Time"},
        {"Label", "String"}, {"Any", "variant"},  {"Free", ""},       {"Odd", "Text"},
    };

    HostTree tree_{"Main"};
    VekTreeNode *port_ = nullptr, *a_ = nullptr, *b_ = nullptr;
};

TEST_F(TStoreAttributes, ANewNodeHoldsTheDefaultOfEachDeclaredType) {
    EXPECT_EQ(TypeOf(*a_, "Count"), VEK_VT_INT32);
    EXPECT_EQ(TypeOf(*a_, "Flag"), VEK_VT_BOOL);
    EXPECT_EQ(TypeOf(*a_, "Data"), VEK_VT_BLOB);
    EXPECT_EQ(TypeOf(*a_, "When"), VEK_VT_DATE);
    for (const char *text_attribute : {"Label", "Any", "Free", "Odd"})
        EXPECT_EQ(TypeOf(*a_, text_attribute), VEK_VT_TEXT) << text_attribute;
    EXPECT_EQ(TypeOf(*a_, "Gap"), VEK_VT_EMPTY);  // after the gap in the list
    EXPECT_EQ(a_->GetModified() & 0x1400, 0u);

    EXPECT_EQ(Get("Main.Port.A!Count"), "0");
    EXPECT_EQ(Get("Main.Port.A!Flag"), "False");
    EXPECT_EQ(Get("Main.Port.A!Data"), std::nullopt);  // empty blob: the empty text
    EXPECT_EQ(Get("Main.Port.A!When"), "1899-12-30");
}

TEST_F(TStoreAttributes, RawWritesKeepTheKindAndFailedOnesKeepTheValue) {
    ASSERT_EQ(T_SetA("Main.Port.A!Count", "12", kRaw), 0);
    EXPECT_EQ(TypeOf(*a_, "Count"), VEK_VT_INT32);
    EXPECT_EQ(Get("Main.Port.A!Count"), "12");
    EXPECT_EQ(a_->GetModified() & 0x1400, 0x1400u);

    EXPECT_LT(T_SetA("Main.Port.A!Count", "12x", kRaw), 0);
    EXPECT_LT(T_SetA("Main.Port.A!Count", "99999999999", kRaw), 0);
    EXPECT_EQ(Get("Main.Port.A!Count"), "12");

    ASSERT_EQ(T_SetA("Main.Port.A!Flag", "true", kRaw), 0);
    EXPECT_EQ(Get("Main.Port.A!Flag"), "True");
    ASSERT_EQ(T_SetA("Main.Port.A!When", "2024-02-29 13:05:09", kRaw), 0);
    EXPECT_EQ(Get("Main.Port.A!When"), "2024-02-29 13:05:09");
    EXPECT_LT(T_SetA("Main.Port.A!When", "2024-02-30", kRaw), 0);
    EXPECT_EQ(Get("Main.Port.A!When"), "2024-02-29 13:05:09");

    // A text stays a text, whatever it looks like.
    ASSERT_EQ(T_SetA("Main.Port.A!Any", "12", kRaw), 0);
    EXPECT_EQ(TypeOf(*a_, "Any"), VEK_VT_TEXT);
}

TEST_F(TStoreAttributes, AnAttributeWithoutValueTakesItsDeclaredKind) {
    VEKVARIANT empty{};
    ASSERT_EQ(b_->_SetProperty("Count", &empty), 0);
    ASSERT_EQ(b_->_SetProperty("Flag", &empty), 0);
    ASSERT_EQ(T_SetA("Main.Port.B!Count", "-7", kRaw), 0);
    EXPECT_EQ(TypeOf(*b_, "Count"), VEK_VT_INT32);
    ASSERT_EQ(T_SetA("Main.Port.B!Flag", "0", kRaw), 0);
    EXPECT_EQ(TypeOf(*b_, "Flag"), VEK_VT_BOOL);
}

TEST_F(TStoreAttributes, BinaryValuesAreWrittenAndReadAsIStrings) {
    ASSERT_EQ(T_SetA("Main.Port.A!Data", "#41#42#00#ff", kRaw), 0);
    VEKVARIANT value{};
    ASSERT_EQ(a_->_GetProperty("Data", &value), 0);
    EXPECT_EQ(std::string(static_cast<const char *>(value.value.blob), 4),
              std::string("AB\0\xFF", 4));
    VekVarClear(&value);
    EXPECT_EQ(Get("Main.Port.A!Data"), "AB#00#FF");

    EXPECT_EQ(T_SetA("Main.Port.A!Data", "#4", kRaw), MORPH_E_BAD_ISTRING);
    EXPECT_EQ(Get("Main.Port.A!Data"), "AB#00#FF");
}

TEST_F(TStoreAttributes, RetypingFollowsTheDeclaration) {
    EXPECT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Count", "String", 0), Code(0xE2040005));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040005), "T.T_Object.Change_Attribute_Type",
                                        "Invalid attribute : not declared as Variant"}));
    ASSERT_EQ(T_SetA("Main.Port.A!Count", "5", kRaw), 0);
    EXPECT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Count", "long", 0), 0);
    EXPECT_EQ(Get("Main.Port.A!Count"), "5");

    EXPECT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Any", "Text", 0), Code(0xE204000E));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000E), "T.T_Object.Change_Attribute_Type",
                                        "Unknown format: Text"}));
    EXPECT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Name", "Long", 0), Code(0xE2040005));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040005), "T.T_ChangeAttributeType",
                                        "Invalid attribute : name"}));
    EXPECT_EQ(T_ChangeAttributeTypeA("Main.Port.A", "Long", 0), Code(0xE2040025));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040025), "T.T_ChangeAttributeType",
                                        "Unknown attribute in Main.Port.A"}));
}

TEST_F(TStoreAttributes, RetypingConvertsOrWithForceFallsBackToTheDefault) {
    ASSERT_EQ(T_SetA("Main.Port.A!Any", "abc", kRaw), 0);
    EXPECT_LT(T_ChangeAttributeTypeA("Main.Port.A!Any", "Long", 0), 0);
    EXPECT_EQ(Get("Main.Port.A!Any"), "abc");
    EXPECT_LT(T_ChangeAttributeTypeA("Main.Port.A!Any", "Long", 0x100), 0);  // low byte 0
    ZamSetErrorInfo(nullptr);
    EXPECT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Any", "Long", 1), 0);
    EXPECT_EQ(ZamGetLastError(), 0);  // the cast's failure was handled
    EXPECT_EQ(TypeOf(*a_, "Any"), VEK_VT_INT32);
    EXPECT_EQ(Get("Main.Port.A!Any"), "0");

    // Through Binary and back: the raw text is read as IString, a blob's IString is cast.
    ASSERT_EQ(T_SetA("Main.Port.A!Any", "42", kRaw), 0);
    ASSERT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Any", "Binary", 0), 0);
    EXPECT_EQ(TypeOf(*a_, "Any"), VEK_VT_BLOB);
    ASSERT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Any", "Long", 0), 0);
    EXPECT_EQ(Get("Main.Port.A!Any"), "42");
    ASSERT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Any", "String", 0), 0);
    EXPECT_EQ(TypeOf(*a_, "Any"), VEK_VT_WTEXT);
    EXPECT_EQ(Get("Main.Port.A!Any"), "42");

    // Undeclared attributes can be retyped even where new ones may not be written;
    // one without value takes the type's default.
    EXPECT_EQ(T_ChangeAttributeTypeA("Main.Port.A!Extra", "Date/Time", 0), 0);
    EXPECT_EQ(TypeOf(*a_, "Extra"), VEK_VT_DATE);
}

TEST_F(TStoreAttributes, NameReadsAndRenamesTheNode) {
    EXPECT_EQ(Get("Main.Port.B!name"), "B");
    EXPECT_EQ(Get("Main.Port.B!Name", kFormatted), "B");
    // Renaming B to A makes it A's twin; the current path follows.
    ASSERT_EQ(T_SetA("Main.Port.B!Name", "a", kRaw), 0);
    EXPECT_EQ(b_->GetName(), "a");
    EXPECT_EQ(Object("Main").Current(), b_);
    EXPECT_EQ(Object("Main").Current_Path(), "Main.Port[1].a[2]");

    EXPECT_EQ(T_SetA("Main.Port.A!Name", "", kRaw), Code(0xE204000A));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE204000A), "T.T_Set", "Invalid node name"}));
    EXPECT_EQ(T_SetA("Main!Name", "Other", kRaw), Code(0xE2040005));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040005), "T.T_Set", "Cannot change name of root node"}));
    EXPECT_EQ(tree_.Root().GetName(), "Main");
}

TEST_F(TStoreAttributes, SilentReadsReturnTheEmptyResult) {
    ZamSetErrorInfo(nullptr);
    for (const char *path : {"Nope.A!Count", "Main.Port.Z!Count", "Main.Port.A!Gap"}) {
        EXPECT_EQ(Take(T_GetA(path, kRaw, kSilent)), std::nullopt) << path;
        EXPECT_EQ(ZamGetLastError(), 0) << path;
    }
    VARIANT untouched;
    VariantInit(&untouched);
    untouched.vt = VT_I4;
    untouched.lVal = 77;
    EXPECT_EQ(T_GetVariantA("Main.Port.Z!Count", kSilent, &untouched), 0);
    EXPECT_EQ(untouched.vt, VT_I4);
    EXPECT_EQ(untouched.lVal, 77);

    // Not silenced: syntax, the default attribute, and a store that has no table.
    EXPECT_EQ(T_GetA("Main.Port.A!C.x", kRaw, kSilent), nullptr);
    EXPECT_EQ(ZamGetLastError(), Code(0xE2040005));
    T_Terminate();
    EXPECT_EQ(T_GetA("Main.Port.A!Count", kRaw, kSilent), nullptr);
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040020), "T.T_Get",
                                        "T Object does not exist: Main.Port.A!Count"}));
}

// Paths of names only are found by a walk that checks their syntax as it goes;
// they must end as the same paths with twin indexes do, and every fault must
// still be found before the current node moves.
TEST_F(TStoreAttributes, PlainPathsResolveAsIndexedOnes) {
    ASSERT_EQ(T_SetA("Main.Port[1].B[1]!Count", "7", kRaw), 0);
    EXPECT_EQ(Take(T_GetA("main.PORT.b!count", kRaw, kRaise)), "7");
    EXPECT_EQ(Object("Main").Current_Path(), "main.PORT[1].b[1]");
    ASSERT_EQ(T_SetA("Main.Port[1].B[1]", "label", kRaw), 0);  // the default attribute
    EXPECT_EQ(Take(T_GetA("Main.Port.B", kRaw, kRaise)), "label");
    EXPECT_EQ(Object("Main").Current(), b_);

    const std::string before = Object("Main").Current_Path();
    for (const char *path : {"Main.Port.A!", "Main..A!Count", "Main.Port.A.!Count", ".Main!Count"})
        EXPECT_EQ(Take(T_GetA(path, kRaw, kSilent)), std::nullopt) << path;
    EXPECT_EQ(ZamGetLastError(), Code(0xE204000B));
    EXPECT_EQ(T_SetA("Main.Port.A!Co#nt", "1", kRaw), Code(0xE2040005));
    EXPECT_EQ(Object("Main").Current(), b_);
    EXPECT_EQ(Object("Main").Current_Path(), before);

    EXPECT_EQ(T_SetA("Main.Port.C!Count", "1", kRaw), Code(0xE204001A));
    EXPECT_EQ(Object("Main").Current(), port_);
    EXPECT_EQ(Object("Main").Current_Path(), "Main.Port[1]");
}

TEST_F(TStoreAttributes, ArgumentsAreCheckedBeforeTheTable) {
    T_Terminate();
    EXPECT_EQ(T_GetA("x", 0x16, 7), nullptr);
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000E), "T.T_Get", "Invalid argument: Mode=16h"}));
    EXPECT_EQ(T_SetA("x", "", -1), Code(0xE204000E));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204000E), "T.T_Set", "Invalid argument: Mode=FFFFFFFFh"}));
    EXPECT_EQ(T_GetVariantA("x", kRaise, nullptr), Code(0xE204000E));
    EXPECT_EQ(T_SetVariantA("x", nullptr), Code(0xE204000E));
}

TEST_F(TStoreAttributes, MessagesNameTheExpandedPath) {
    ASSERT_EQ(T_SetAliasA("P", "Main.Port"), 0);
    EXPECT_EQ(T_SetA("P.Z!Count", "1", kRaw), Code(0xE204001A));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE204001A), "T.T_Set", "Node doesn't exist: Main.Port.Z!Count"}));
    EXPECT_EQ(Object("Main").Current(), port_);  // the deepest node reached
    EXPECT_EQ(T_SetA("P.A!Gap", "1", kRaw), Code(0xE2040002));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040002), "T.T_Set", "Unknown attribute: Main.Port.A!Gap"}));
    EXPECT_EQ(T_SetA("Nope.A!Count", "1", kRaw), Code(0xE2040020));
    EXPECT_EQ(LastError(),
              (ThreadError{Code(0xE2040020), "T.T_Set", "T Object does not exist: Nope.A!Count"}));
}

TEST_F(TStoreAttributes, NewAttributesNeedTheirSetting) {
    HostTree other("Other");
    Add(other.Root(), "X");
    Props config = RootConfig(other.Handle());
    VekPropsSetInt32(config.get(), "Allow new attributes", 1);
    ASSERT_EQ(T_Declare(config.get()), 0);
    ASSERT_EQ(T_SetA("Other.X!Colour", "red", kRaw), 0);
    EXPECT_EQ(Get("Other.X!colour"), "red");
    EXPECT_EQ(Get("Other.X!Unset"), std::nullopt);
    EXPECT_EQ(T_SetA("Main.Port.A!Colour", "red", kRaw), Code(0xE2040002));
}

TEST_F(TStoreAttributes, VariantsCrossTheBoundary) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = platform::BstrFromText("7");
    ASSERT_EQ(T_SetVariantA("Main.Port.A!Count", &value), 0);  // cast to the declared Long
    EXPECT_EQ(TypeOf(*a_, "Count"), VEK_VT_INT32);
    ASSERT_EQ(T_SetVariantA("Main.Port.A!Free", &value), 0);  // kept as given
    EXPECT_EQ(TypeOf(*a_, "Free"), VEK_VT_WTEXT);
    VariantClear(&value);

    ASSERT_EQ(T_GetVariantA("Main.Port.A!Count", kRaise, &value), 0);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 7);
    ASSERT_EQ(T_GetVariantA("Main.Port.A!Name", kRaise, &value), 0);
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(platform::TextFromBstr(value.bstrVal), "A");
    VariantClear(&value);

    EXPECT_EQ(T_SetVariantA("Main.Port.A!Name", &value), Code(0xE2040005));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040005), "T.T_Set",
                                        "Cannot change node name with SetVariant function"}));
    value.vt = VT_I4;
    value.lVal = 5;
    ASSERT_EQ(T_SetVariantA("Main.Port.A!Label", &value), 0);  // String: 8-bit text
    EXPECT_EQ(TypeOf(*a_, "Label"), VEK_VT_TEXT);
    EXPECT_EQ(Get("Main.Port.A!Label"), "5");
}

TEST_F(TStoreAttributes, ObjectsAndUnconvertibleVariantsStoreNothing) {
    ASSERT_EQ(T_SetA("Main.Port.A!Any", "kept", kRaw), 0);
    VARIANT object;
    VariantInit(&object);
    object.vt = VT_DISPATCH;  // never read: refused by its kind
    EXPECT_EQ(T_SetVariantA("Main.Port.A!Any", &object), Code(0xE2040005));
    EXPECT_EQ(LastError(), (ThreadError{Code(0xE2040005), "T.T_Set",
                                        "Object values are not supported: Main.Port.A!Any"}));
    VARIANT reference;
    VariantInit(&reference);
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &object;
    EXPECT_EQ(T_SetVariantA("Main.Port.A!Any", &reference), Code(0xE2040005));

    VARIANT error;
    VariantInit(&error);
    error.vt = VT_ERROR;
    EXPECT_LT(T_SetVariantA("Main.Port.A!Any", &error), 0);
    EXPECT_EQ(Get("Main.Port.A!Any"), "kept");
}

TEST_F(TStoreAttributes, FormattedValuesRoundTrip) {
    ASSERT_EQ(T_SetA("Main.Port.A!Count", "34", kFormatted), 0);
    EXPECT_EQ(TypeOf(*a_, "Count"), VEK_VT_INT32);
    EXPECT_EQ(Get("Main.Port.A!Count", kFormatted), "34");
    EXPECT_EQ(a_->GetModified() & 0x1400, 0x1400u);
    EXPECT_EQ(T_SetA("Main.Port.A!Count", "x", kFormatted), Code(0xE2040023));
    EXPECT_EQ(Get("Main.Port.A!Count"), "34");
}

TEST_F(TStoreAttributes, FormattedBooleansTakeOneAndZero) {
    ASSERT_EQ(TypeOf(*a_, "Flag"), VEK_VT_BOOL);
    const struct {
        const char *text, *shown;
    } cases[] = {{"1", "True"}, {"0", "False"}, {"1", "True"}, {"false", "False"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(T_SetA("Main.Port.A!Flag", c.text, kFormatted), 0);
        EXPECT_EQ(TypeOf(*a_, "Flag"), VEK_VT_BOOL);
        EXPECT_EQ(Get("Main.Port.A!Flag", kFormatted), c.shown);
    }
    EXPECT_EQ(T_SetA("Main.Port.A!Flag", "01", kFormatted), Code(0xE2040023));
    EXPECT_EQ(Get("Main.Port.A!Flag", kFormatted), "False");
}

TEST_F(TStoreAttributes, SetCreateAddsTheMissingNodeAsAnItem) {
    ASSERT_EQ(T_SetCreateA("Main.New.Leaf!Count", "3"), 0);
    ASSERT_TRUE(Locate_Node(Object("Main"), "Main.New[1].Leaf[1]"));
    VekTreeNode &leaf = *Object("Main").Current();
    EXPECT_FALSE(leaf.IsGroup());
    EXPECT_TRUE(leaf.Parent()->IsGroup());
    EXPECT_EQ(Get("Main.New.Leaf!Count"), "3");
    // An existing node is written, not added again.
    ASSERT_EQ(T_SetCreateA("Main.New.Leaf!Count", "4"), 0);
    EXPECT_EQ(leaf.Parent()->ChildCount(), 1);
    EXPECT_EQ(Get("Main.New.Leaf!Count"), "4");
}

}  // namespace
