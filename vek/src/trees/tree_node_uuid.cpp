// Node identifiers: random (version 4) UUIDs, made when first asked for, and the
// usual text form of a UUID.
#include <cstdio>
#include <cstring>
#include <random>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "vek64_tree.h"

namespace {

std::mt19937_64 &Engine() {
    thread_local std::mt19937_64 engine = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    return engine;
}

bool IsNil(const unsigned char *uuid) {
    for (int i = 0; i < 16; ++i) {
        if (uuid[i] != 0)
            return false;
    }
    return true;
}

// 16 random bytes with the version (4) in the high nibble of the third field and
// the variant (binary 10) in the top bits of byte 8.
void MakeRandomUuid(unsigned char *uuid) {
    const uint64_t words[2] = {Engine()(), Engine()()};
    std::memcpy(uuid, words, 16);
    uint16_t third = 0;
    std::memcpy(&third, uuid + 6, 2);
    third = static_cast<uint16_t>((third & 0x0FFF) | 0x4000);
    std::memcpy(uuid + 6, &third, 2);
    uuid[8] = static_cast<unsigned char>((uuid[8] & 0x3F) | 0x80);
}

}  // namespace

const unsigned char *VekTreeNode::GetUuid() const {
    return vek::GuardPointer("TreeNode.GetUuid", [this]() -> const unsigned char * {
        if (IsNil(uuid_))
            MakeRandomUuid(uuid_);
        return uuid_;
    });
}

char *VekTreeNode::GetUuidText() const {
    const unsigned char *uuid = GetUuid();
    return uuid == nullptr ? nullptr : VekUuidToStrnA(uuid, nullptr, 0);
}

VEK_API char *VEK_CALL VekUuidToStrnA(const void *uuid, char *buffer, int32_t buffer_size) {
    constexpr const char *kFunction = "VekUuidToStrnA";
    return vek::GuardPointer(kFunction, [&]() -> char * {
        if (uuid == nullptr) {
            vek::Fail(VEK_E_POINTER, kFunction, "No UUID given");
            return nullptr;
        }
        const auto *bytes = static_cast<const unsigned char *>(uuid);
        uint32_t first = 0;
        uint16_t second = 0;
        uint16_t third = 0;
        std::memcpy(&first, bytes, 4);
        std::memcpy(&second, bytes + 4, 2);
        std::memcpy(&third, bytes + 6, 2);
        char text[VEK_UUID_TEXT_LENGTH + 1];
        std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                      static_cast<unsigned>(first), static_cast<unsigned>(second),
                      static_cast<unsigned>(third), bytes[8], bytes[9], bytes[10], bytes[11],
                      bytes[12], bytes[13], bytes[14], bytes[15]);
        if (buffer == nullptr)
            return VekTextNewA(text, VEK_UUID_TEXT_LENGTH);
        if (buffer_size <= VEK_UUID_TEXT_LENGTH) {
            vek::Fail(VEK_E_INVALIDARG, kFunction,
                      "A buffer of %d bytes cannot hold a UUID text of %d characters", buffer_size,
                      VEK_UUID_TEXT_LENGTH);
            return nullptr;
        }
        std::memcpy(buffer, text, sizeof text);
        return buffer;
    });
}
