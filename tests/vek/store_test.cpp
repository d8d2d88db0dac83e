// Variants, property lists and sorted string lists.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "store_test_support.h"
#include "vek64_store.h"

namespace {

using store_test::IsFailure;
using store_test::LastDescription;
using store_test::Take;

using store_test::Variant;

std::optional<std::string> TextOf(const VEKVARIANT *v) {
    char *text = nullptr;
    EXPECT_EQ(VekVarToStrA(v, &text), 0);
    return Take(text);
}

void SetWide(Variant &variant, const std::vector<uint16_t> &units) {
    variant.v.type = VEK_VT_WTEXT;
    void *array = nullptr;
    VekArrayCopy_(&array, units.data(), static_cast<int32_t>(units.size()), 2);
    variant.v.value.wtext = static_cast<uint16_t *>(array);
}

TEST(Variant, TextForms) {
    Variant v;
    EXPECT_EQ(TextOf(&v.v), std::nullopt);  // empty gives the empty (null) text
    VekVarFromInt32(&v.v, -42);
    EXPECT_EQ(TextOf(&v.v), "-42");
    VekVarFromInt(&v.v, INT64_MIN);
    EXPECT_EQ(TextOf(&v.v), "-9223372036854775808");
    VekVarFromStrA(&v.v, "a\0b", 3);
    EXPECT_EQ(TextOf(&v.v), std::string("a\0b", 3));

    Variant flag;
    flag.v.type = VEK_VT_BOOL;
    flag.v.value.bool_value = -1;
    EXPECT_EQ(TextOf(&flag.v), "True");
    flag.v.value.bool_value = 0;
    EXPECT_EQ(TextOf(&flag.v), "False");

    Variant wide;
    SetWide(wide, {'A', 0xE9, 0x263A, 'z'});
    EXPECT_EQ(TextOf(&wide.v), "A\xE9?z");

    Variant blob;
    blob.v.type = VEK_VT_BLOB;
    VekArrayCopy_(&blob.v.value.blob, "\x01\0\xFF", 3, 1);
    EXPECT_EQ(TextOf(&blob.v), std::string("\x01\0\xFF", 3));
}

TEST(Variant, DatesAsIsoText) {
    struct Case {
        double date;
        const char *text;
    };
    const Case cases[] = {
        {0.0, "1899-12-30"},
        {46362.0, "2026-12-06"},
        {46362.34327546296, "2026-12-06 08:14:19"},
        {-1.25, "1899-12-29 06:00:00"},     // negative days, time still forwards
        {2.0 - 0.1 / 86400, "1900-01-01"},  // rounds to the next midnight
        {60.0, "1900-02-28"},               // 1900 was no leap year
        {2958465.0, "9999-12-31"},
    };
    for (const Case &c : cases) {
        Variant v;
        v.v.type = VEK_VT_DATE;
        v.v.value.date_value = c.date;
        EXPECT_EQ(TextOf(&v.v), c.text) << c.date;
    }
}

TEST(Variant, DateOutOfRangeFailsAndLeavesTextAlone) {
    Variant v;
    v.v.type = VEK_VT_DATE;
    v.v.value.date_value = 1e9;
    char sentinel = 0;
    char *text = &sentinel;
    EXPECT_EQ(VekVarToStrA(&v.v, &text), VEK_E_OVERFLOW);
    EXPECT_EQ(text, &sentinel);
}

TEST(Variant, IntegersFromEveryType) {
    Variant v;
    int32_t small = 99;
    int64_t big = 99;
    EXPECT_EQ(VekVarToInt32(&v.v, &small), 0);
    EXPECT_EQ(small, 0);
    VekVarFromInt(&v.v, 5000000000LL);
    EXPECT_EQ(VekVarToInt(&v.v, &big), 0);
    EXPECT_EQ(big, 5000000000LL);
    v.v.type = VEK_VT_BOOL;
    v.v.value.bool_value = -1;
    EXPECT_EQ(VekVarToInt32(&v.v, &small), 0);
    EXPECT_EQ(small, 1);

    struct Case {
        const char *text;
        int64_t value;
    };
    const Case texts[] = {{"", 0},    {"+7", 7},   {"-2147483648", INT32_MIN},
                          {"007", 7}, {"true", 1}, {"FALSE", 0}};
    for (const Case &c : texts) {
        VekVarFromStrA(&v.v, c.text, -1);
        EXPECT_EQ(VekVarToInt32(&v.v, &small), 0) << c.text;
        EXPECT_EQ(small, c.value) << c.text;
    }
    VekVarFromStrA(&v.v, "-9223372036854775808", -1);
    EXPECT_EQ(VekVarToInt(&v.v, &big), 0);
    EXPECT_EQ(big, INT64_MIN);

    Variant wide;
    SetWide(wide, {'-', '1', '5'});
    EXPECT_EQ(VekVarToInt32(&wide.v, &small), 0);
    EXPECT_EQ(small, -15);
}

TEST(Variant, FailedIntegerConversionsNameTextAndTypeAndLeaveValue) {
    struct Case {
        const char *text;
        int32_t status;
    };
    const Case cases[] = {
        {"12abc", VEK_E_TYPEMISMATCH},  {" 12", VEK_E_TYPEMISMATCH},
        {"-", VEK_E_TYPEMISMATCH},      {"1.5", VEK_E_TYPEMISMATCH},
        {"2147483648", VEK_E_OVERFLOW}, {"-2147483649", VEK_E_OVERFLOW},
    };
    for (const Case &c : cases) {
        Variant v;
        VekVarFromStrA(&v.v, c.text, -1);
        int32_t value = 1234;
        EXPECT_EQ(VekVarToInt32(&v.v, &value), c.status) << c.text;
        EXPECT_EQ(value, 1234) << c.text;
        const std::string description = LastDescription();
        EXPECT_NE(description.find(std::string("\"") + c.text + "\""), std::string::npos)
            << description;
        EXPECT_NE(description.find("32-bit integer"), std::string::npos) << description;
    }

    Variant v;
    VekVarFromStrA(&v.v, "9223372036854775808", -1);
    int64_t big = 5;
    EXPECT_EQ(VekVarToInt(&v.v, &big), VEK_E_OVERFLOW);
    EXPECT_EQ(big, 5);

    VekVarFromInt(&v.v, 1LL << 40);
    int32_t small = 5;
    EXPECT_EQ(VekVarToInt32(&v.v, &small), VEK_E_OVERFLOW);
    EXPECT_EQ(small, 5);

    VekVarFromInt(&v.v, -(1LL << 40));
    EXPECT_EQ(VekVarToInt32(&v.v, &small), VEK_E_OVERFLOW);
    EXPECT_EQ(LastDescription(), "Cannot convert -1099511627776 to a 32-bit integer: out of range");
    EXPECT_EQ(small, 5);
}

TEST(Variant, CopyIsDeepAndReleasesTheOldValue) {
    Variant source;
    Variant copy;
    VekVarFromStrA(&source.v, "hello", -1);
    VekVarFromStrA(&copy.v, "to be replaced", -1);
    ASSERT_EQ(VekVarCopy(&copy.v, &source.v), 0);
    ASSERT_EQ(VekVarType(&copy.v), static_cast<uint32_t>(VEK_VT_TEXT));
    EXPECT_NE(copy.v.value.text, source.v.value.text);
    copy.v.value.text[0] = 'J';
    EXPECT_EQ(TextOf(&source.v), "hello");
    EXPECT_EQ(VekVarCopy(&copy.v, &copy.v), 0);  // onto itself: unchanged
    EXPECT_EQ(TextOf(&copy.v), "Jello");
    EXPECT_EQ(VekVarCopy(&copy.v, nullptr), 0);  // nothing: empty
    EXPECT_EQ(VekVarType(&copy.v), static_cast<uint32_t>(VEK_VT_EMPTY));
    EXPECT_TRUE(IsFailure(VekVarCopy(nullptr, &source.v)));
}

// A text assigned to a variant that holds a text keeps its block while the text
// fits, and the value is always the one assigned, also from inside that block.
TEST(Variant, TextsReuseTheirBlockWhileTheyFit) {
    Variant v;
    ASSERT_EQ(VekVarFromStrA(&v.v, "a longer first text", -1), 0);
    const char *block = v.v.value.text;
    ASSERT_EQ(VekVarFromStrA(&v.v, "short", -1), 0);
    EXPECT_EQ(v.v.value.text, block);
    EXPECT_EQ(VekTextLength(v.v.value.text), 5);
    EXPECT_EQ(v.v.value.text[5], '\0');
    ASSERT_EQ(VekVarFromStrA(&v.v, v.v.value.text + 1, 3), 0);  // its own characters
    EXPECT_EQ(TextOf(&v.v), "hor");
    ASSERT_EQ(VekVarFromStrA(&v.v, "", 0), 0);  // empty: no block at all
    EXPECT_EQ(v.v.value.text, nullptr);
    ASSERT_EQ(VekVarFromStrA(&v.v, "a text longer than the first one was", -1), 0);
    EXPECT_EQ(TextOf(&v.v), "a text longer than the first one was");
    // Another kind never takes over the block.
    ASSERT_EQ(VekVarFromBlob(&v.v, "xy", 2), 0);
    EXPECT_EQ(VekVarType(&v.v), static_cast<uint32_t>(VEK_VT_BLOB));
    EXPECT_EQ(VekTextLength(static_cast<const char *>(v.v.value.blob)), 2);
}

// A property list freed at the end of a test.
struct Props {
    void *p = VekPropsNew();
    ~Props() { VekPropsFree(p); }
};

std::string NamesOf(void *props) {
    std::string names;
    for (int32_t i = 0; i < VekPropsCount(props); ++i)
        names += std::string(VekPropsItemAt(props, i)->name) + ";";
    return names;
}

int32_t IntOf(const void *props, const char *name) {
    const VEKPROPERTYA *item = VekPropsFindNamedItemA(props, name);
    int32_t value = -1;
    EXPECT_NE(item, nullptr) << name;
    if (item != nullptr) {
        EXPECT_EQ(VekVarToInt32(&item->value, &value), 0);
    }
    return value;
}

TEST(PropertyList, NamesIgnoreCaseAndEditAdds) {
    Props list;
    VEKPROPERTYA *first = VekPropsEditNamedItemA(list.p, "Colour");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(VekVarType(&first->value), static_cast<uint32_t>(VEK_VT_EMPTY));
    EXPECT_EQ(VekPropsEditNamedItemA(list.p, "COLOUR"), first);
    EXPECT_EQ(VekPropsFindNamedItemA(list.p, "colour"), first);
    EXPECT_EQ(VekPropsFindNamedItemA(list.p, "Colours"), nullptr);
    EXPECT_EQ(VekPropsCount(list.p), 1);  // Find never adds
    EXPECT_EQ(VekPropsSetInt32(list.p, "size", 3), 0);
    EXPECT_EQ(VekPropsSetTextA(list.p, "SIZE", "large"), 0);
    EXPECT_EQ(NamesOf(list.p), "Colour;size;");
    EXPECT_EQ(TextOf(&VekPropsFindNamedItemA(list.p, "Size")->value), "large");
    EXPECT_EQ(VekPropsItemAt(list.p, 2), nullptr);
    EXPECT_EQ(VekPropsItemAt(list.p, -1), nullptr);
    EXPECT_EQ(VekPropsClear(list.p), 0);
    EXPECT_EQ(VekPropsCount(list.p), 0);
}

TEST(PropertyList, EditedItemsStayPutWhileOthersAreAdded) {
    Props list;
    VEKPROPERTYA *first = VekPropsEditNamedItemA(list.p, "first");
    VekVarFromStrA(&first->value, "kept", -1);
    // Enough names to pass any internal growth or indexing threshold.
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(VekPropsSetInt32(list.p, ("Name" + std::to_string(i)).c_str(), i), 0);
    EXPECT_EQ(VekPropsEditNamedItemA(list.p, "FIRST"), first);
    EXPECT_EQ(TextOf(&first->value), "kept");
    for (int i = 0; i < 200; i += 37)
        EXPECT_EQ(IntOf(list.p, ("NAME" + std::to_string(i)).c_str()), i);
    EXPECT_EQ(VekPropsCount(list.p), 201);
}

TEST(PropertyList, MergeAddsOrReplacesOrCopies) {
    Props destination;
    Props source;
    VekPropsSetInt32(destination.p, "a", 1);
    VekPropsSetInt32(destination.p, "b", 2);
    VekPropsSetInt32(source.p, "B", 20);
    VekPropsSetTextA(source.p, "c", "thirty");

    ASSERT_EQ(VekPropsMerge(destination.p, source.p, 0), 0);
    EXPECT_EQ(NamesOf(destination.p), "a;b;c;");
    EXPECT_EQ(IntOf(destination.p, "b"), 20);
    EXPECT_EQ(TextOf(&VekPropsFindNamedItemA(destination.p, "C")->value), "thirty");
    EXPECT_EQ(VekPropsCount(source.p), 2);

    ASSERT_EQ(VekPropsMerge(destination.p, source.p, -3), 0);
    EXPECT_EQ(NamesOf(destination.p), "B;c;");
    EXPECT_EQ(VekPropsMerge(destination.p, destination.p, -3), 0);
    EXPECT_EQ(NamesOf(destination.p), "B;c;");

    EXPECT_TRUE(IsFailure(VekPropsMerge(destination.p, source.p, 7)));
    EXPECT_EQ(NamesOf(destination.p), "B;c;");

    // No source list is an empty one.
    EXPECT_EQ(VekPropsMerge(destination.p, nullptr, 0), 0);
    EXPECT_EQ(NamesOf(destination.p), "B;c;");
    EXPECT_EQ(VekPropsMerge(destination.p, nullptr, -3), 0);
    EXPECT_EQ(VekPropsCount(destination.p), 0);
}

// Names around the length that fits inside an item, and one that does not.
std::string NameOfLength(size_t length, char fill) {
    return std::string(length, fill);
}

TEST(PropertyList, ItemsKeepTheirPlacesAndNamesAtEveryLength) {
    Props list;
    std::vector<VEKPROPERTYA *> items;
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) {
        // Lengths 1 to 40 cross the short-name room; letters make every name distinct.
        names.push_back(std::string(1, static_cast<char>('a' + i % 26)) +
                        NameOfLength(static_cast<size_t>(i), static_cast<char>('A' + i / 26)));
        items.push_back(VekPropsEditNamedItemA(list.p, names.back().c_str()));
        ASSERT_NE(items.back(), nullptr);
        VekVarFromInt32(&items.back()->value, i);
    }
    ASSERT_EQ(VekPropsCount(list.p), 40);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(VekPropsItemAt(list.p, i), items[static_cast<size_t>(i)]) << i;
        const VEKPROPERTYA *item = items[static_cast<size_t>(i)];
        EXPECT_EQ(std::string(item->name), names[static_cast<size_t>(i)]);
        EXPECT_EQ(VekTextLength(item->name),
                  static_cast<int32_t>(names[static_cast<size_t>(i)].size()));
        EXPECT_EQ(IntOf(list.p, names[static_cast<size_t>(i)].c_str()), i);
    }
    // An empty name is a null counted text, as every empty text of the library.
    EXPECT_EQ(VekPropsEditNamedItemA(list.p, "")->name, nullptr);
}

// A property whose value has a type no copy understands, to make copies fail.
void AddBrokenProperty(void *props) {
    VekPropsEditNamedItemA(props, "broken")->value.type = 0x7777;
}

void RepairBrokenProperty(void *props) {
    VekVarInit(&VekPropsEditNamedItemA(props, "broken")->value);
}

TEST(PropertyList, CopiesAreIndependentOfTheirSource) {
    Props source;
    const std::string long_name = NameOfLength(30, 'L');
    VekPropsSetTextA(source.p, "Short", "one");
    VekPropsSetTextA(source.p, long_name.c_str(), "two");
    for (int i = 0; i < 20; ++i)  // past the length at which names are indexed
        VekPropsSetInt32(source.p, ("n" + std::to_string(i)).c_str(), i);

    Props empty_copy;
    Props full_copy;
    VekPropsSetInt32(full_copy.p, "old", 1);
    ASSERT_EQ(VekPropsMerge(empty_copy.p, source.p, -3), 0);
    ASSERT_EQ(VekPropsMerge(full_copy.p, source.p, -3), 0);
    for (void *copy : {empty_copy.p, full_copy.p}) {
        EXPECT_EQ(NamesOf(copy), NamesOf(source.p));
        EXPECT_EQ(VekPropsFindNamedItemA(copy, "old"), nullptr);
        EXPECT_EQ(IntOf(copy, "N19"), 19);
        EXPECT_EQ(TextOf(&VekPropsFindNamedItemA(copy, "short")->value), "one");
        VekPropsSetTextA(copy, "Short", "changed");
        VekPropsSetTextA(copy, long_name.c_str(), "changed");
        VekPropsSetInt32(copy, "added", 5);
    }
    EXPECT_EQ(TextOf(&VekPropsFindNamedItemA(source.p, "Short")->value), "one");
    EXPECT_EQ(TextOf(&VekPropsFindNamedItemA(source.p, long_name.c_str())->value), "two");
    EXPECT_EQ(VekPropsFindNamedItemA(source.p, "added"), nullptr);
}

TEST(PropertyList, FailedCopyLeavesTheDestinationAsItWas) {
    Props source;
    VekPropsSetTextA(source.p, "first", "1");
    AddBrokenProperty(source.p);
    Props empty;
    Props full;
    VekPropsSetInt32(full.p, "kept", 7);
    EXPECT_EQ(VekPropsMerge(empty.p, source.p, -3), VEK_E_INVALIDARG);
    EXPECT_EQ(VekPropsCount(empty.p), 0);
    EXPECT_EQ(VekPropsMerge(full.p, source.p, -3), VEK_E_INVALIDARG);
    EXPECT_EQ(NamesOf(full.p), "kept;");
    EXPECT_EQ(IntOf(full.p, "kept"), 7);
    RepairBrokenProperty(source.p);
}

TEST(PropertyList, BadArguments) {
    Props list;
    EXPECT_EQ(VekPropsEditNamedItemA(nullptr, "x"), nullptr);
    EXPECT_EQ(ZamGetLastError(), VEK_E_POINTER);
    EXPECT_EQ(VekPropsEditNamedItemA(list.p, nullptr), nullptr);
    EXPECT_EQ(VekPropsFindNamedItemA(nullptr, "x"), nullptr);
    EXPECT_EQ(VekPropsCount(nullptr), 0);
    EXPECT_TRUE(IsFailure(VekPropsSetInt32(nullptr, "x", 1)));
    EXPECT_TRUE(IsFailure(VekPropsClear(nullptr)));
    VekPropsFree(nullptr);
}

TEST(StringList, BinarySearchFindsOrGivesInsertionPoint) {
    const char *const items[] = {"apple", "banana", "banana", "cherry"};
    auto find = [&](const char *key, int32_t length = -1, uint32_t options = 0) {
        return VekStrsBSearchA(items, 4, key, length, options);
    };
    EXPECT_EQ(find("apple"), 0);
    EXPECT_EQ(find("banana"), 1);  // the first of equal items
    EXPECT_EQ(find("cherry"), 3);
    EXPECT_EQ(find("aardvark"), ~0);
    EXPECT_EQ(find("blueberry"), ~3);
    EXPECT_EQ(find("zucchini"), ~4);
    EXPECT_EQ(find("bananas", 6), 1);
    EXPECT_EQ(find("BANANA"), ~0);  // upper case sorts before lower case
    EXPECT_EQ(find("BANANA", -1, VEK_IGNORE_CASE), 1);
    EXPECT_EQ(VekStrsBSearchA(items, 0, "apple", -1, 0), ~0);
    EXPECT_EQ(VekStrsBSearchA(nullptr, 3, "apple", -1, 0), ~0);
}

}  // namespace
