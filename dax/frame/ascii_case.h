// Texts compared ignoring the case of ASCII letters only, byte by byte, as the
// support library's VekStrnCompA does with VEK_IGNORE_CASE. Inline, because the T
// store compares one name per sibling it passes and the string services match an
// operator word on every call: a call across the library boundary would cost more
// than the comparison itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace Ostrel::Zam {

// Whether the bytes of two texts of the same length are all equal, read a word at
// a time: equal names (what a successful lookup compares) cost a few loads instead
// of a test per byte. Lengths from 4 on are read as two overlapping words.
inline bool Same_Bytes(const char *a, const char *b, size_t size) {
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

// Whether two texts are equal ignoring ASCII letter case (two empty texts are).
// Two bytes that differ can only be the two cases of one ASCII letter when they
// differ in bit 0x20 alone, so most unequal texts cost one test per byte.
inline bool Same_Ignoring_Ascii_Case(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    if (Same_Bytes(a.data(), b.data(), a.size()))
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

}  // namespace Ostrel::Zam
