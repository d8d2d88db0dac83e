// How the store compares names, root names and aliases: ignoring the case of
// ASCII letters only, byte by byte, as the support library's VekStrnCompA does
// with VEK_IGNORE_CASE. The comparisons are inline because lookups make one per
// sibling passed; a call across the library boundary cost more than the
// comparison itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frame/ascii_case.h"

namespace Ostrel::Zam::tstore {

// The byte with a lower-case ASCII letter made upper case; any other byte as it is.
inline unsigned char Ascii_Upper(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

// Whether two names are equal ignoring ASCII letter case (two empty names are).
inline bool Same_Name(std::string_view a, std::string_view b) {
    return Same_Ignoring_Ascii_Case(a, b);
}

// The order of two names ignoring ASCII letter case: negative, zero or positive.
// Bytes compare unsigned after folding; of two texts where one begins the other,
// the shorter comes first.
inline int32_t Compare_Names(std::string_view a, std::string_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = Ascii_Upper(a[i]);
        const unsigned char y = Ascii_Upper(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Whether `text` begins with `prefix`, ignoring ASCII letter case.
inline bool Starts_With_Name(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && Same_Name(text.substr(0, prefix.size()), prefix);
}

}  // namespace Ostrel::Zam::tstore
