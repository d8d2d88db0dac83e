// Property texts: separators, escapes, trimming, failures, and lists written and read
// back unchanged.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "store_test_support.h"
#include "vek64_store.h"

namespace {

using store_test::LastDescription;
using store_test::Take;
using Items = std::vector<std::pair<std::string, std::string>>;

Items ItemsOf(void *props) {
    Items items;
    for (int32_t i = 0; i < VekPropsCount(props); ++i) {
        VEKPROPERTYA *item = VekPropsItemAt(props, i);
        EXPECT_EQ(item->value.type, static_cast<uint32_t>(VEK_VT_TEXT));
        char *value = nullptr;
        VekVarToStrA(&item->value, &value);
        items.emplace_back(item->name, Take(value).value_or(""));
    }
    return items;
}

Items Parse(const char *text, const char *separator = ";", uint32_t options = 0) {
    void *props = VekTextToPropsA(text, separator, -1, options);
    EXPECT_NE(props, nullptr) << text << ": " << LastDescription();
    Items items = ItemsOf(props);
    VekPropsFree(props);
    return items;
}

TEST(PropsText, ItemsSeparatorsAndEscapes) {
    EXPECT_EQ(Parse("a=1;b=two;c="), (Items{{"a", "1"}, {"b", "two"}, {"c", ""}}));
    EXPECT_EQ(Parse(""), Items{});
    EXPECT_EQ(Parse(";;a=1;;"), (Items{{"a", "1"}}));  // empty items are skipped
    EXPECT_EQ(Parse("a=x\\;y;b=p=q"), (Items{{"a", "x;y"}, {"b", "p=q"}}));
    EXPECT_EQ(Parse("k\\=ey=v\\\\;z\\=1=\\a"), (Items{{"k=ey", "v\\"}, {"z=1", "a"}}));
    EXPECT_EQ(Parse("a=1||b=2|3", "||"), (Items{{"a", "1"}, {"b", "2|3"}}));
    EXPECT_EQ(Parse("a=1\nb=2", "\n"), (Items{{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(Parse("a=1,b=2", nullptr), (Items{{"a", "1,b=2"}}));  // ";" by default
    EXPECT_EQ(Parse("A=1;a=2"), (Items{{"A", "2"}}));  // the later value, first spelling
    EXPECT_EQ(Parse(" a = 1 ; b=\\ 2\\ ", ";", VEK_PROPS_TRIM), (Items{{"a", "1"}, {"b", " 2 "}}));
    EXPECT_EQ(Parse(" a = 1 "), (Items{{" a ", " 1 "}}));
}

TEST(PropsText, MalformedItemsAreRefusedWithTheirPosition) {
    for (const char *bad : {"a=1;b", "a=1;=2", "a=1;b=1\\"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(VekTextToPropsA(bad, ";", 1, 0), nullptr);
        EXPECT_EQ(ZamGetLastError(), VEK_E_BADDATA);
        EXPECT_NE(LastDescription().find("item 2"), std::string::npos) << LastDescription();
    }
    EXPECT_EQ(VekTextToPropsA("a=1", ";", 1, 0x100), nullptr);
    EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
}

TEST(PropsText, WrittenListsReadBackUnchanged) {
    const Items items = {{"plain", "value"},     {"se;mi", "a;b;"}, {"eq=ual", "x=y"},
                         {"back\\slash", "\\"},  {"empty", ""},     {"pipe", "|a||b|"},
                         {"caf\xE9", "\xFF\x01"}};
    void *props = VekPropsNew();
    for (const auto &[name, value] : items)
        VekPropsSetTextA(props, name.c_str(), value.c_str());
    VekPropsSetInt32(props, "number", -5);
    for (const char *separator : {";", "||", "|"}) {
        SCOPED_TRACE(separator);
        const std::string text = Take(VekPropsToTextA(props, separator, -1, 0)).value_or("");
        void *back = VekTextToPropsA(text.c_str(), separator, -1, 0);
        ASSERT_NE(back, nullptr) << text << ": " << LastDescription();
        Items expected = items;
        expected.emplace_back("number", "-5");
        EXPECT_EQ(ItemsOf(back), expected) << text;
        VekPropsFree(back);
    }
    EXPECT_EQ(Take(VekPropsToTextA(props, ";", 1, 0)).value_or("").substr(0, 25),
              "plain=value;se\\;mi=a\\;b\\;");
    VekPropsFree(props);
    EXPECT_EQ(VekPropsToTextA(nullptr, ";", 1, 0), nullptr);
}

}  // namespace
