// Packing and unpacking: round trips, and packed input that is truncated, too long
// for its stream, not a stream at all, or unpacks past the bound is refused without
// taking memory for it.
#include <gtest/gtest.h>

#include <string>

#include "store_test_support.h"
#include "vek64.h"

namespace {

using store_test::LastDescription;

// A counted byte array of the library, freed at the end.
struct Bytes {
    void *data = nullptr;
    ~Bytes() { VekArrayClear_(&data); }
    std::string Text(int32_t size) const {
        return size <= 0 ? std::string() : std::string(static_cast<const char *>(data), size);
    }
};

constexpr uint32_t kUnpackFlags = VEK_PACK_ZLIB | VEK_PACK_AS_TEXT;

std::string Pack(const std::string &text, int32_t level = -1) {
    Bytes packed;
    const int32_t size = VekCompressData(text.data(), static_cast<int32_t>(text.size()),
                                         &packed.data, VEK_PACK_ZLIB, level);
    EXPECT_GT(size, 0) << LastDescription();
    return packed.Text(size);
}

int32_t Unpack(const std::string &packed, std::string &text, int32_t limit = -1) {
    Bytes out;
    const int32_t size = VekDecompressData(packed.data(), static_cast<int32_t>(packed.size()),
                                           &out.data, kUnpackFlags, limit);
    text = out.Text(size);
    return size;
}

TEST(Packing, RoundTripsOfEverySizeAndLevel) {
    std::string big;
    for (int i = 0; i < 200000; ++i)
        big += "000012name=" + std::to_string(i * 7919 % 1000003) + ";";
    for (const std::string &text :
         {std::string(), std::string("a"), std::string("\0\xFF", 2), big}) {
        for (const int32_t level : {-1, 0, 9}) {
            std::string back = "untouched";
            ASSERT_EQ(Unpack(Pack(text, level), back), static_cast<int32_t>(text.size()));
            EXPECT_EQ(back, text);
        }
    }
}

TEST(Packing, TruncatedTrailingAndForeignDataAreRefused) {
    const std::string packed = Pack(std::string(100000, 'x') + "end");
    std::string text;
    for (size_t cut = 1; cut < packed.size(); cut += cut < 16 ? 1 : 7) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(Unpack(packed.substr(0, cut), text), VEK_E_BADDATA);
    }
    EXPECT_EQ(Unpack(packed + "more", text), VEK_E_BADDATA);
    EXPECT_NE(LastDescription().find("4 bytes after the end"), std::string::npos);
    EXPECT_EQ(Unpack("plain text, not packed", text), VEK_E_BADDATA);
    EXPECT_EQ(Unpack(std::string(), text), VEK_E_BADDATA);
    std::string damaged = packed;
    damaged[damaged.size() / 2] ^= 0x55;
    EXPECT_EQ(Unpack(damaged, text), VEK_E_BADDATA);
}

TEST(Packing, OutputPastTheBoundIsRefused) {
    const std::string packed = Pack(std::string(1 << 20, '\0'), 9);
    std::string text;
    EXPECT_EQ(Unpack(packed, text, 1 << 20), 1 << 20);  // exactly the bound is fine
    EXPECT_EQ(Unpack(packed, text, (1 << 20) - 1), VEK_E_BADDATA);
    EXPECT_NE(LastDescription().find("more than 1048575 bytes"), std::string::npos);
}

TEST(Packing, DefaultBoundStopsAFewBytesThatUnpackToGigabytes) {
    // 257 MiB of zeros packs to about a quarter of a megabyte: unpacking stops at
    // 256 MiB, whatever limit is asked for.
    const std::string zeros(1 << 20, '\0');
    std::string stream = Pack(zeros, 1);
    Bytes packed;
    std::string all;
    all.reserve(257u << 20);
    for (int i = 0; i < 257; ++i)
        all += zeros;
    const int32_t size = VekCompressData(all.data(), static_cast<int32_t>(all.size()), &packed.data,
                                         VEK_PACK_ZLIB, 1);
    ASSERT_GT(size, 0);
    all.clear();
    all.shrink_to_fit();
    Bytes out;
    EXPECT_EQ(VekDecompressData(packed.data, size, &out.data, kUnpackFlags, -1), VEK_E_BADDATA);
    EXPECT_EQ(VekDecompressData(packed.data, size, &out.data, kUnpackFlags, INT32_MAX),
              VEK_E_BADDATA);
    EXPECT_EQ(out.data, nullptr);
}

TEST(Packing, BadArgumentsAreRefused) {
    Bytes out;
    EXPECT_EQ(VekDecompressData("x", -1, &out.data, kUnpackFlags, -1), VEK_E_INVALIDARG);
    EXPECT_EQ(VekDecompressData(nullptr, 4, &out.data, kUnpackFlags, -1), VEK_E_POINTER);
    EXPECT_EQ(VekDecompressData("x", 1, nullptr, kUnpackFlags, -1), VEK_E_POINTER);
    EXPECT_EQ(VekDecompressData("x", 1, &out.data, 0, -1), VEK_E_INVALIDARG);
    EXPECT_EQ(VekCompressData("x", 1, &out.data, VEK_PACK_ZLIB, 10), VEK_E_INVALIDARG);
    EXPECT_EQ(VekCompressData("x", 1, &out.data, 0x1234, 1), VEK_E_INVALIDARG);
}

}  // namespace
