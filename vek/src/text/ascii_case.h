// Letter-case folding of ASCII texts: names in property lists and twin ranks
// compare this way, as do searches with VEK_IGNORE_CASE.
#pragma once

#include <cstddef>
#include <string_view>

namespace vek {

inline unsigned char AsciiUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

inline unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Two bytes that differ can only be the two cases of one letter when they differ
// in bit 0x20 alone, so equal bytes (the usual case) cost one test each.
inline bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
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

// Hash and equality for unordered containers keyed by texts that ignore case.
struct CaseInsensitiveHash {
    size_t operator()(std::string_view text) const {
        size_t hash = 14695981039346656037ull & static_cast<size_t>(-1);
        for (char c : text)
            hash = (hash ^ AsciiUpper(static_cast<unsigned char>(c))) * 1099511628211ull;
        return hash;
    }
};

struct CaseInsensitiveEqual {
    bool operator()(std::string_view a, std::string_view b) const {
        return SameTextIgnoringCase(a, b);
    }
};

}  // namespace vek
