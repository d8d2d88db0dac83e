// Reading the calling thread's error information in the frame's tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "imports/vek_imports.h"

namespace dax_test {

// A counted text of the support library, freed here; nullopt for null.
inline std::optional<std::string> Take(char *text) {
    if (text == nullptr)
        return std::nullopt;
    std::string value(text, static_cast<size_t>(VekTextLength(text)));
    VekTextFree(text);
    return value;
}

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
