// The data model at the boundary: the layouts hosts share with the libraries at the
// pointer size being built, and sizes near 2^31 that must fail cleanly instead of
// wrapping (a 32-bit size_t wraps at 2^32, so a byte count of 2^31 items of two
// bytes or more does; the native32 build runs these with a 32-bit size_t).
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>

#include "platform/com.h"
#include "vek64.h"
#include "vek64_store.h"

namespace {

constexpr int32_t kMaxInt32 = std::numeric_limits<int32_t>::max();
constexpr bool kPointers32 = sizeof(void *) == 4;

// The sizes differ with the pointer size (a VARIANT holds two pointers of a record,
// a SAFEARRAY its data pointer), so each expectation names both.
TEST(DataModel, AutomationLayoutsFollowThePointerSize) {
    EXPECT_EQ(sizeof(size_t), sizeof(void *));
    EXPECT_EQ(sizeof(VARIANT), kPointers32 ? 16u : 24u);
    EXPECT_EQ(offsetof(VARIANT, vt), 0u);
    EXPECT_EQ(offsetof(VARIANT, lVal), 8u);
    EXPECT_EQ(offsetof(VARIANT, dblVal), 8u);
    EXPECT_EQ(offsetof(VARIANT, bstrVal), 8u);
    EXPECT_EQ(offsetof(VARIANT, decVal), 0u);
    EXPECT_EQ(sizeof(DECIMAL), 16u);
    EXPECT_EQ(sizeof(SAFEARRAYBOUND), 8u);
    EXPECT_EQ(offsetof(SAFEARRAY, cbElements), 4u);
    EXPECT_EQ(offsetof(SAFEARRAY, pvData), kPointers32 ? 12u : 16u);
    EXPECT_EQ(offsetof(SAFEARRAY, rgsabound), kPointers32 ? 16u : 24u);
    EXPECT_EQ(sizeof(SAFEARRAY), kPointers32 ? 24u : 32u);
    // The library's own variant is 16 bytes at either pointer size.
    EXPECT_EQ(sizeof(VEKVARIANT), 16u);
    EXPECT_EQ(offsetof(VEKVARIANT, value), 8u);
}

TEST(DataModel, WideTextsOf2To31CharactersAreRefused) {
    for (const UINT length : {0x80000000u, 0x80000001u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(length);
        BSTR text = SysAllocStringLen(nullptr, length);
        EXPECT_EQ(text, nullptr);
        SysFreeString(text);
    }
}

TEST(DataModel, ArraysPastTheLargestBlockAreRefusedBeforeAnyRead) {
    // The sources are far shorter than the counts: a copy attempted would be read
    // past their ends.
    const uint64_t small[2] = {1, 2};
    void *array = nullptr;
    ASSERT_EQ(VekArrayCopy_(&array, small, 1, 8), 1);
    const struct {
        int32_t count, item_size;
    } cases[] = {
        {kMaxInt32, 1},   // one item more than an int32 count holds
        {0x10000000, 8},  // 2^31 bytes: wraps a 32-bit size computed naively
        {0x20000000, 8},  // 2^32 bytes: wraps to 0
        {kMaxInt32, 8},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        void *fresh = nullptr;
        EXPECT_LT(VekArrayCopy_(&fresh, small, c.count, c.item_size), 0);
        EXPECT_EQ(fresh, nullptr);
        if (c.item_size == 8) {
            EXPECT_EQ(VekArrayAppend_(&array, small, c.count, c.item_size), VEK_E_OVERFLOW);
            EXPECT_EQ(ZamGetLastError(), VEK_E_OVERFLOW);
            EXPECT_EQ(VekArrayCountEx_(array), 1);  // the array is as it was
        }
    }
    VekArrayClear_(&array);
    ZamSetErrorInfo(nullptr);
}

// Refused before the padding is built: with 32-bit pointers the gigabytes cannot be had,
// and the failure to get them must not escape the export.
TEST(DataModel, NumbersWiderThanATextFailCleanly) {
    for (const int32_t width : {kMaxInt32, 0x7FFFFFF0}) {
        SCOPED_TRACE(width);
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(VekInt32ToStrnA(5, 10, width, '0', 0, nullptr, 0), nullptr);
        EXPECT_EQ(ZamGetLastError(), VEK_E_OVERFLOW);
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(VekInt64ToStrnA(-5, 16, width, ' ', 0, nullptr, 0), nullptr);
        EXPECT_EQ(ZamGetLastError(), VEK_E_OVERFLOW);
        char buffer[8];
        ZamSetErrorInfo(nullptr);
        EXPECT_EQ(VekInt32ToStrnA(5, 10, width, '0', 0, buffer, sizeof buffer), nullptr);
        EXPECT_EQ(ZamGetLastError(), VEK_E_INVALIDARG);
    }
    ZamSetErrorInfo(nullptr);
}

TEST(DataModel, SearchesFromPositionsNear2To31) {
    for (const int32_t start : {kMaxInt32, kMaxInt32 - 1, std::numeric_limits<int32_t>::min()}) {
        SCOPED_TRACE(start);
        EXPECT_EQ(VekStrnSearchA("abc", 3, "c", 1, 0, start), -1);
        EXPECT_EQ(VekStrnSearchA("abc", 3, "", 0, 0, start), -1);
    }
    EXPECT_EQ(VekStrnSearchRevA("abc", 3, "c", 1, 0, kMaxInt32), 2);
    EXPECT_EQ(VekStrnSearchRevA("abc", 3, "b", 1, 0, kMaxInt32 - 1), 1);
    // A negative start searches backward from anywhere.
    EXPECT_EQ(VekStrnSearchRevA("abc", 3, "c", 1, 0, std::numeric_limits<int32_t>::min()), 2);
}

}  // namespace
