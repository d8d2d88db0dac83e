// Searching and comparing byte texts.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

#include "text_view.h"
#include "vek64.h"

namespace {

using vek::ViewOf;

unsigned char Upper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

bool SameByte(char a, char b, bool ignore_case) {
    return ignore_case
               ? Upper(static_cast<unsigned char>(a)) == Upper(static_cast<unsigned char>(b))
               : a == b;
}

}  // namespace

VEK_API int32_t VEK_CALL VekStrnSearchA(const char *text, int32_t text_length, const char *pattern,
                                        int32_t pattern_length, uint32_t options, int32_t start) {
    const std::string_view haystack = ViewOf(text, text_length);
    const std::string_view needle = ViewOf(pattern, pattern_length);
    if (start < 0 || static_cast<size_t>(start) > haystack.size())
        return -1;
    const bool ignore_case = (options & VEK_IGNORE_CASE) != 0;
    const auto from = haystack.begin() + start;
    const auto found = std::search(
        from, haystack.end(),
        std::boyer_moore_horspool_searcher(
            needle.begin(), needle.end(),
            [ignore_case](char c) {
                return std::hash<unsigned char>()(ignore_case ? Upper(static_cast<unsigned char>(c))
                                                              : static_cast<unsigned char>(c));
            },
            [ignore_case](char a, char b) { return SameByte(a, b, ignore_case); }));
    if (found == haystack.end() && !needle.empty())
        return -1;
    return static_cast<int32_t>(found - haystack.begin());
}

VEK_API int32_t VEK_CALL VekStrnSearchRevA(const char *text, int32_t text_length,
                                           const char *pattern, int32_t pattern_length,
                                           uint32_t options, int32_t start) {
    const std::string_view haystack = ViewOf(text, text_length);
    const std::string_view needle = ViewOf(pattern, pattern_length);
    if (needle.size() > haystack.size())
        return -1;
    size_t last = haystack.size() - needle.size();
    if (start >= 0)
        last = std::min(last, static_cast<size_t>(start));
    const bool ignore_case = (options & VEK_IGNORE_CASE) != 0;
    for (size_t at = last + 1; at-- > 0;) {
        bool match = true;
        for (size_t i = 0; i < needle.size() && match; ++i)
            match = SameByte(haystack[at + i], needle[i], ignore_case);
        if (match)
            return static_cast<int32_t>(at);
    }
    return -1;
}

VEK_API int32_t VEK_CALL VekStrnCompA(const char *a, int32_t a_length, const char *b,
                                      int32_t b_length, uint32_t options) {
    const std::string_view left = ViewOf(a, a_length);
    const std::string_view right = ViewOf(b, b_length);
    const bool ignore_case = (options & VEK_IGNORE_CASE) != 0;
    const size_t common = std::min(left.size(), right.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = static_cast<unsigned char>(left[i]);
        unsigned char y = static_cast<unsigned char>(right[i]);
        if (ignore_case) {
            x = Upper(x);
            y = Upper(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

VEK_API int32_t VEK_CALL _strimatch(const char *text, const char *const *alternatives) {
    if (alternatives == nullptr)
        return 0;
    for (int32_t i = 0; alternatives[i] != nullptr; ++i) {
        if (VekStrnCompA(text, -1, alternatives[i], -1, VEK_IGNORE_CASE) == 0)
            return i + 1;
    }
    return 0;
}
