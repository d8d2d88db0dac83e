// Counted arrays and texts: layout, ownership and growth.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "vek64.h"

namespace {

// The 32-bit word just before the first item, as a host reads it.
int32_t CountWord(const void *items) {
    int32_t count = 0;
    std::memcpy(&count, static_cast<const char *>(items) - sizeof count, sizeof count);
    return count;
}

// Owns an array for the length of a test.
struct Array {
    void *items = nullptr;
    ~Array() { VekArrayClear_(&items); }
    const char *Text() const { return static_cast<const char *>(items); }
};

TEST(CountedText, LayoutAndEmptyResults) {
    const struct {
        const char *text;
        int32_t length;
        std::string_view expected;
    } cases[] = {
        {"hello", -2, "hello"},
        {"hello", 3, "hel"},
        {"a\0b", 3, std::string_view("a\0b", 3)},  // an explicit length keeps inner zeros
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        char *text = VekTextNewA(c.text, c.length);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(CountWord(text), static_cast<int32_t>(c.expected.size()));
        EXPECT_EQ(VekTextLength(text), static_cast<int32_t>(c.expected.size()));
        EXPECT_EQ(std::string_view(text, c.expected.size()), c.expected);
        EXPECT_EQ(text[c.expected.size()], '\0');
        VekTextFree(text);
    }
    EXPECT_EQ(VekTextNewA("", -1), nullptr);
    EXPECT_EQ(VekTextNewA("abc", 0), nullptr);
    EXPECT_EQ(VekTextNewA(nullptr, 5), nullptr);
    EXPECT_EQ(VekTextLength(nullptr), 0);

    Array array;
    ASSERT_EQ(VekArrayCopy_(&array.items, "abc", -5, 1), 3);
    EXPECT_EQ(VekArrayCopy_(&array.items, "", -5, 1), 0);
    EXPECT_EQ(array.items, nullptr);
}

TEST(CountedArray, WideItemsAreCountedAndZeroTerminated) {
    const int32_t source[] = {1, 0x100, 3, 0, 5};  // 0x100 is not an all-zero item
    Array array;
    ASSERT_EQ(VekArrayCopy_(&array.items, source, -5, sizeof(int32_t)), 3);
    ASSERT_EQ(VekArrayAppend_(&array.items, source + 4, 1, sizeof(int32_t)), 4);
    const auto *items = static_cast<const int32_t *>(array.items);
    EXPECT_EQ(CountWord(items), 4);
    const int32_t expected[] = {1, 0x100, 3, 5, 0};
    EXPECT_EQ(std::memcmp(items, expected, sizeof expected), 0);
}

TEST(CountedArray, SourceInsideTheSameArray) {
    Array array;
    ASSERT_EQ(VekArrayCopy_(&array.items, "hello world", -1, 1), 11);
    EXPECT_EQ(VekArrayCopy_(&array.items, array.Text() + 6, -1, 1), 5);
    EXPECT_STREQ(array.Text(), "world");

    // Appending the array to itself, once into spare room and once by reallocation.
    Array self;
    ASSERT_EQ(VekArrayAppend_(&self.items, "ab", -1, 1), 2);
    EXPECT_EQ(VekArrayAppend_(&self.items, self.items, 2, 1), 4);
    EXPECT_STREQ(self.Text(), "abab");
    EXPECT_EQ(VekArrayAppend_(&self.items, self.items, -1, 1), 8);
    EXPECT_STREQ(self.Text(), "abababab");
    EXPECT_EQ(VekArrayAppend_(&self.items, nullptr, 0, 1), 8);
}

TEST(CountedArray, AppendGrowthKeepsContent) {
    Array array;
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        const char c = static_cast<char>('a' + i % 26);
        expected.push_back(c);
        ASSERT_EQ(VekArrayAppend_(&array.items, &c, 1, 1), i + 1);
    }
    EXPECT_EQ(std::string_view(array.Text()), expected);
    EXPECT_EQ(CountWord(array.items), 1000);
}

TEST(CountedArray, BadArgumentsFailWithThreadError) {
    Array array;
    ASSERT_EQ(VekArrayCopy_(&array.items, "abcd", -1, 1), 4);
    void *const before = array.items;
    const int32_t wide[] = {1, 2};
    // Each status is the failure code; the thread's error describes the last one.
    EXPECT_EQ(VekArrayCopy_(nullptr, "x", 1, 1), VEK_E_POINTER);
    EXPECT_EQ(VekArrayAppend_(&array.items, nullptr, 3, 1), VEK_E_POINTER);
    EXPECT_EQ(VekArrayCopy_(&array.items, "x", 1, 0), VEK_E_INVALIDARG);
    EXPECT_EQ(VekArrayCopy_(&array.items, wide, 2, 4), VEK_E_INVALIDARG);  // other item size
    EXPECT_EQ(VekArrayAppend_(&array.items, wide, 2, 4), VEK_E_INVALIDARG);
    EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
    char *source = ZamGetLastErrorSourceA();
    EXPECT_STREQ(source, "Vek.VekArrayAppend_");
    VekTextFree(source);
    EXPECT_EQ(array.items, before);  // left as it was
    EXPECT_STREQ(array.Text(), "abcd");
    ZamSetErrorInfo(nullptr);
}

}  // namespace
