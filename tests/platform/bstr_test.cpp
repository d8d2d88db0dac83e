// BSTR allocation by characters and by bytes, lengths and reallocation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/com.h"

namespace {

using platform::Bstr;

TEST(Bstr, ByteLengthsAndTerminator) {
    Bstr odd(SysAllocStringByteLen("abc", 3));
    ASSERT_NE(odd.Get(), nullptr);
    EXPECT_EQ(SysStringByteLen(odd.Get()), 3u);
    EXPECT_EQ(SysStringLen(odd.Get()), 1u);
    const auto *bytes = reinterpret_cast<const unsigned char *>(odd.Get());
    EXPECT_EQ(std::memcmp(bytes, "abc", 3), 0);
    EXPECT_EQ(bytes[3], 0);  // a zero OLECHAR follows the bytes
    EXPECT_EQ(bytes[4], 0);

    Bstr zeroed(SysAllocStringByteLen(nullptr, 4));
    ASSERT_NE(zeroed.Get(), nullptr);
    EXPECT_EQ(SysStringByteLen(zeroed.Get()), 4u);
    EXPECT_EQ(zeroed.Get()[0], 0);
    EXPECT_EQ(zeroed.Get()[1], 0);
    EXPECT_EQ(zeroed.Get()[2], 0);

    Bstr text(platform::BstrFromText("hello"));
    EXPECT_EQ(SysStringByteLen(text.Get()), 10u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
}

TEST(Bstr, ReallocationReplacesAndKeeps) {
    Bstr text(platform::BstrFromText("hello world"));
    BSTR value = text.Release();

    // From a part of itself: the new text is made before the old one goes.
    ASSERT_NE(SysReAllocStringLen(&value, value + 6, 5), 0);
    EXPECT_EQ(platform::TextFromBstr(value), "world");

    Bstr other(platform::BstrFromText("abc"));
    ASSERT_NE(SysReAllocString(&value, other.Get()), 0);
    EXPECT_EQ(platform::TextFromBstr(value), "abc");
    EXPECT_NE(value, other.Get());

    ASSERT_NE(SysReAllocStringLen(&value, nullptr, 2), 0);
    EXPECT_EQ(SysStringLen(value), 2u);
    EXPECT_EQ(platform::TextFromBstr(value), "ab");
    EXPECT_EQ(value[2], 0);

    ASSERT_NE(SysReAllocString(&value, nullptr), 0);
    EXPECT_EQ(value, nullptr);
    SysFreeString(value);
}

}  // namespace
