// Texts compared ignoring the case of ASCII letters only, byte by byte, as the
// support library's VekStrnCompA does with VEK_IGNORE_CASE. Inline, because the T
// store compares one name per sibling it passes and the string services match an
// operator word on every call: a call across the library boundary would cost more
// than the comparison itself.
#pragma once

#include <cstddef>
#include <string_view>

namespace Ostrel::Zam {

// Whether two texts are equal ignoring ASCII letter case (two empty texts are).
// Two bytes that differ can only be the two cases of one ASCII letter when they
// differ in bit 0x20 alone, so most unequal texts cost one test per byte.
inline bool Same_Ignoring_Ascii_Case(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto difference = static_cast<unsigned char>(a[i] ^ b[i]);
        if (difference == 0)
            continue;
        const auto lower = static_cast<unsigned char>(a[i] | 0x20);
        if (difference != 0x20 || lower < 'a' || lower > 'z')
            return false;
    }
    return true;
}

}  // namespace Ostrel::Zam
