// Helpers shared by the tests of variants, property lists, matching and trees.
#pragma once

#include <optional>
#include <string>

#include "vek64.h"

namespace store_test {

inline bool IsFailure(int32_t status) {
    return (static_cast<uint32_t>(status) & 0xC0000000u) == 0xC0000000u;
}

// A counted text handed out by the library, freed here; nullopt for null.
inline std::optional<std::string> Take(char *text) {
    if (text == nullptr)
        return std::nullopt;
    std::string value(text, static_cast<size_t>(VekTextLength(text)));
    VekTextFree(text);
    return value;
}

inline std::string LastDescription() {
    return Take(ZamGetLastErrorDescriptionA()).value_or("");
}

}  // namespace store_test
