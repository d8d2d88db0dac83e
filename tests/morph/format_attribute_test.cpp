// Formatted attributes through FormatTGetA / FormatTSetA: the text of every kind of
// value, round trips, strict parsing that stores nothing on failure, and argument
// checks.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "morph64.h"
#include "platform/com.h"
#include "vek64.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace {

constexpr int32_t kCannotFormat = static_cast<int32_t>(0xE2040003);
constexpr int32_t kCannotParse = static_cast<int32_t>(0xE2040023);

std::optional<std::string> Take(char *text) {
    if (text == nullptr)
        return std::nullopt;
    std::string value(text, static_cast<size_t>(VekTextLength(text)));
    VekTextFree(text);
    return value;
}

std::string LastSource() {
    return Take(ZamGetLastErrorSourceA()).value_or("");
}

std::string LastDescription() {
    return Take(ZamGetLastErrorDescriptionA()).value_or("");
}

struct Variant {
    VEKVARIANT v;
    Variant() { VekVarInit(&v); }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;
    ~Variant() { VekVarClear(&v); }
};

class FormatAttribute : public ::testing::Test {
  protected:
    void Store(const char *name, const Variant &value) {
        ASSERT_EQ(node_->_SetProperty(name, &value.v), 0);
    }
    // The formatted text (nullopt for the empty text); the export must succeed.
    std::optional<std::string> Get(const char *name) {
        char *text = nullptr;
        EXPECT_EQ(FormatTGetA(node_.get(), node_.get(), name, &text, 0), 0) << LastDescription();
        return Take(text);
    }
    int32_t Set(const char *name, const char *text) {
        return FormatTSetA(text, node_.get(), nullptr, name, 0);
    }
    uint32_t TypeOf(const char *name) {
        Variant value;
        node_->_GetProperty(name, &value.v);
        return VekVarType(&value.v);
    }

    std::unique_ptr<VekTreeNode> node_{VekTreeNode::Create(0)};
};

TEST_F(FormatAttribute, EveryKindHasItsTextAndReadsItBack) {
    struct Case {
        const char *name;
        const char *text;  // the formatted text; null for the empty text
    };
    Variant value;
    VekVarFromInt32(&value.v, -5);
    Store("Long", value);
    VekVarFromInt(&value.v, INT64_MIN);
    Store("Big", value);
    VekVarFromBool(&value.v, 1);
    Store("Flag", value);
    VekVarFromDate(&value.v, 46362.34327546296);
    Store("When", value);
    VekVarFromDate(&value.v, 46362.0);
    Store("Day", value);
    VekVarFromStrA(&value.v, "caf\xE9 #1", -1);
    Store("Text", value);
    VekVarCast(&value.v, &value.v, VEK_VT_WTEXT);
    Store("Wide", value);
    VekVarFromBlob(&value.v, "A\0#\xFF", 4);
    Store("Bytes", value);
    VekVarFromBlob(&value.v, nullptr, 0);
    Store("NoBytes", value);
    VekVarClear(&value.v);
    Store("Nothing", value);

    const Case cases[] = {
        {"Long", "-5"},         {"Big", "-9223372036854775808"},
        {"Flag", "True"},       {"When", "2026-12-06 08:14:19"},
        {"Day", "2026-12-06"},  {"Text", "caf\xE9 #1"},
        {"Wide", "caf\xE9 #1"}, {"Bytes", "A#00#23#FF"},
        {"NoBytes", nullptr},   {"Nothing", nullptr},
        {"Missing", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<std::string> text = Get(c.name);
        EXPECT_EQ(text, c.text ? std::optional<std::string>(c.text) : std::nullopt);
        const uint32_t type = TypeOf(c.name);
        if (type < 2)
            continue;  // writing would give the attribute a text value
        ASSERT_EQ(Set(c.name, text ? text->c_str() : ""), 0) << LastDescription();
        EXPECT_EQ(TypeOf(c.name), type);  // the kind stays
        EXPECT_EQ(Get(c.name), text);
    }
}

TEST_F(FormatAttribute, WritingParsesByTheKindHeldNow) {
    Variant value;
    VekVarFromInt32(&value.v, 0);
    Store("Long", value);
    ASSERT_EQ(Set("Long", "+42"), 0);
    EXPECT_EQ(Get("Long"), "42");
    VekVarFromBool(&value.v, 0);
    Store("Flag", value);
    ASSERT_EQ(Set("Flag", "tRUE"), 0);
    EXPECT_EQ(Get("Flag"), "True");
    ASSERT_EQ(Set("Flag", "0"), 0);
    EXPECT_EQ(Get("Flag"), "False");
    VekVarFromDate(&value.v, 0.0);
    Store("When", value);
    ASSERT_EQ(Set("When", "2024-02-29T23:59:59"), 0);
    EXPECT_EQ(Get("When"), "2024-02-29 23:59:59");
    VekVarFromBlob(&value.v, nullptr, 0);
    Store("Bytes", value);
    ASSERT_EQ(Set("Bytes", "a#0a"), 0);  // any valid IString; read back canonical
    EXPECT_EQ(Get("Bytes"), "a#0A");

    // An attribute without value takes the text as 8-bit text, even a number.
    ASSERT_EQ(Set("Fresh", "12"), 0);
    EXPECT_EQ(TypeOf("Fresh"), static_cast<uint32_t>(VEK_VT_TEXT));
    EXPECT_EQ(Get("Fresh"), "12");
}

TEST_F(FormatAttribute, TextsThatDoNotParseStoreNothing) {
    struct Case {
        const char *name;
        const char *text;
        const char *description;
    };
    Variant value;
    VekVarFromInt32(&value.v, 7);
    Store("Long", value);
    VekVarFromInt(&value.v, 7);
    Store("Big", value);
    VekVarFromBool(&value.v, 1);
    Store("Flag", value);
    VekVarFromDate(&value.v, 46362.0);
    Store("When", value);
    VekVarFromBlob(&value.v, "x", 1);
    Store("Bytes", value);
    const Case cases[] = {
        {"Long", "abc", "Cannot parse \"abc\" as a 32-bit integer"},
        {"Long", "", "Cannot parse \"\" as a 32-bit integer"},
        {"Long", "1.5", nullptr},
        {"Long", " 5", nullptr},
        {"Long", "+-5", nullptr},
        {"Long", "True", nullptr},  // a raw cast would take it as 1
        {"Long", "2147483648", "Cannot parse \"2147483648\" as a 32-bit integer: out of range"},
        {"Big", "9223372036854775808", nullptr},
        {"Flag", "yes", "Cannot parse \"yes\" as a Boolean"},
        {"Flag", "", nullptr},
        {"Flag", "2", nullptr},
        {"When", "", "Cannot parse \"\" as a date"},
        {"When", "2026-02-30", "Cannot parse \"2026-02-30\" as a date"},
        {"When", "46362", nullptr},
        {"Bytes", "#4", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " := " + c.text);
        const std::optional<std::string> before = Get(c.name);
        EXPECT_EQ(Set(c.name, c.text), kCannotParse);
        EXPECT_EQ(ZamGetLastError(), kCannotParse);
        EXPECT_EQ(LastSource(), "Morph.FormatTSetA");
        if (c.description != nullptr) {
            EXPECT_EQ(LastDescription(), c.description);
        }
        EXPECT_EQ(Get(c.name), before);
    }
}

// Counts its references.
class FakeObject : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void **object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    ULONG references = 1;
};

TEST_F(FormatAttribute, ObjectsHaveNoTextForm) {
    FakeObject object;
    {
        Variant value;
        object.AddRef();
        value.v.type = VEK_VT_UNKNOWN;
        value.v.value.object = static_cast<IUnknown *>(&object);
        Store("Value", value);
    }
    EXPECT_EQ(object.references, 2u);  // the node's
    char *text = nullptr;
    EXPECT_EQ(FormatTGetA(node_.get(), nullptr, "Value", &text, 0), kCannotFormat);
    EXPECT_EQ(LastSource(), "Morph.FormatTGetA");
    EXPECT_EQ(LastDescription(),
              "Cannot format attribute \"Value\": it holds an object without a text form");
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(Set("Value", "x"), kCannotParse);
    EXPECT_EQ(TypeOf("Value"), static_cast<uint32_t>(VEK_VT_UNKNOWN));
    EXPECT_EQ(object.references, 2u);
    node_.reset();
    EXPECT_EQ(object.references, 1u);
}

TEST_F(FormatAttribute, BadArgumentsAreRefusedAndOutputsReplaced) {
    std::unique_ptr<VekTreeNode> other(VekTreeNode::Create(0));
    char *text = nullptr;
    EXPECT_EQ(FormatTGetA(nullptr, nullptr, "A", &text, 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(LastDescription(), "No node given");
    EXPECT_EQ(FormatTGetA(node_.get(), other.get(), "A", &text, 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatTGetA(node_.get(), nullptr, nullptr, &text, 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatTGetA(node_.get(), nullptr, "", &text, 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatTGetA(node_.get(), nullptr, "A", &text, 1), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatTGetA(node_.get(), nullptr, "A", nullptr, 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatTSetA("1", nullptr, nullptr, "A", 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatTSetA("1", node_.get(), other.get(), "A", 0), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(FormatTSetA("1", node_.get(), nullptr, "A", 2), MORPH_E_BAD_ARGUMENT);
    EXPECT_EQ(TypeOf("A"), static_cast<uint32_t>(VEK_VT_EMPTY));  // nothing stored

    // A null text is the empty text; an output holding a text has it replaced.
    ASSERT_EQ(FormatTSetA(nullptr, node_.get(), nullptr, "A", 0), 0);
    EXPECT_EQ(TypeOf("A"), static_cast<uint32_t>(VEK_VT_TEXT));
    ASSERT_EQ(Set("B", "new"), 0);
    text = VekTextNewA("old", -1);
    ASSERT_EQ(FormatTGetA(node_.get(), nullptr, "B", &text, 0), 0);
    EXPECT_EQ(Take(text), "new");
}

}  // namespace
