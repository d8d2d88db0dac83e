// Views of the texts that exports receive: a null pointer is the empty text and a
// negative length means "up to the zero terminator".
#pragma once

#include <cstdint>
#include <string_view>

#include "text/counted_array.h"

namespace vek {

inline std::string_view ViewOf(const char *text, int32_t length) {
    if (text == nullptr)
        return {};
    return length < 0 ? std::string_view(text)
                      : std::string_view(text, static_cast<size_t>(length));
}

// The characters of a counted text of the library (null: empty).
inline std::string_view ViewOfCounted(const char *counted) {
    return counted == nullptr ? std::string_view() : std::string_view(counted, CountOf(counted));
}

}  // namespace vek
