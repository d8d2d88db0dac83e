// Letter-case folding of ASCII texts: names in property lists and twin ranks
// compare this way, as do searches with VEK_IGNORE_CASE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vek {

inline unsigned char AsciiUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

inline unsigned char AsciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Whether the bytes of two texts of the same length are all equal, read a word at
// a time: equal names (what a successful lookup compares) cost a few loads instead
// of a test per byte. Lengths from 4 on are read as two overlapping words.
inline bool SameBytes(const char *a, const char *b, size_t size) {
    const auto words_equal = [](const char *x, const char *y, auto word) {
        decltype(word) u, v;
        std::memcpy(&u, x, sizeof u);
        std::memcpy(&v, y, sizeof v);
        return u == v;
    };
    if (size >= 8) {
        for (size_t at = 0; at + 8 < size; at += 8) {
            if (!words_equal(a + at, b + at, uint64_t{}))
                return false;
        }
        return words_equal(a + size - 8, b + size - 8, uint64_t{});
    }
    if (size >= 4)
        return words_equal(a, b, uint32_t{}) && words_equal(a + size - 4, b + size - 4, uint32_t{});
    for (size_t i = 0; i < size; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Two bytes that differ can only be the two cases of one letter when they differ
// in bit 0x20 alone, so equal bytes (the usual case) cost one test each.
inline bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (SameBytes(a.data(), b.data(), a.size()))
        return true;
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
