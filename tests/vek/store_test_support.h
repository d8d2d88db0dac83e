// Helpers shared by the tests of variants, property lists, matching and trees.
#pragma once

#include "support/taken_text.h"

#include <optional>
#include <string>

#include "vek64.h"
#include "vek64_store.h"

namespace store_test {

inline bool IsFailure(int32_t status) {
    return (static_cast<uint32_t>(status) & 0xC0000000u) == 0xC0000000u;
}

using test_support::Take;

inline std::string LastDescription() {
    return Take(ZamGetLastErrorDescriptionA()).value_or("");
}

// A variant released at the end of a test.
struct Variant {
    VEKVARIANT v;
    Variant() { VekVarInit(&v); }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;
    ~Variant() { VekVarClear(&v); }
};

}  // namespace store_test
