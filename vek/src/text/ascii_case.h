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

inline bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(static_cast<unsigned char>(a[i])) !=
            AsciiUpper(static_cast<unsigned char>(b[i])))
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
