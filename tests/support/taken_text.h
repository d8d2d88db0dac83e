// Taking over the counted texts that exports hand out, in every test program.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "vek64.h"

namespace test_support {

// The text's bytes (by its count word), freeing it; nullopt for a null text.
inline std::optional<std::string> Take(char *text) {
    if (text == nullptr)
        return std::nullopt;
    std::string value(text, static_cast<size_t>(VekTextLength(text)));
    VekTextFree(text);
    return value;
}

}  // namespace test_support
