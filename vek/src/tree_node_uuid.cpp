// Node identifiers: random (version 4) UUIDs, made when first asked for.
#include <cstdio>
#include <random>

#include "guarded_call.h"
#include "vek64_tree.h"

namespace {

std::mt19937_64 &Engine() {
    thread_local std::mt19937_64 engine = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    return engine;
}

}  // namespace

char *VekTreeNode::GetUuidText() const {
    return vek::GuardPointer("TreeNode.GetUuidText", [this] {
        if (uuid_[0] == 0 && uuid_[1] == 0) {
            // Version 4 in the 13th hex digit, variant 10 in the top bits of the 17th.
            uuid_[0] = (Engine()() & ~0xF000ull) | 0x4000ull;
            uuid_[1] = (Engine()() & ~(3ull << 62)) | (2ull << 62);
        }
        char text[40];
        std::snprintf(
            text, sizeof text, "%08x-%04x-%04x-%04x-%012llx", static_cast<unsigned>(uuid_[0] >> 32),
            static_cast<unsigned>(uuid_[0] >> 16 & 0xFFFF),
            static_cast<unsigned>(uuid_[0] & 0xFFFF), static_cast<unsigned>(uuid_[1] >> 48),
            static_cast<unsigned long long>(uuid_[1] & 0xFFFFFFFFFFFFull));
        return VekTextNewA(text, 36);
    });
}
