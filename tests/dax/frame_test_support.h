// Reading the calling thread's error information in the frame's tests.
#pragma once

#include "support/taken_text.h"

#include <cstdint>
#include <optional>
#include <string>

#include "imports/vek_imports.h"

namespace dax_test {

using test_support::Take;

inline std::optional<std::string> LastSource() {
    return Take(ZamGetLastErrorSourceA());
}
inline std::optional<std::string> LastDescription() {
    return Take(ZamGetLastErrorDescriptionA());
}

constexpr int32_t Code(uint32_t bits) {
    return static_cast<int32_t>(bits);
}

}  // namespace dax_test
