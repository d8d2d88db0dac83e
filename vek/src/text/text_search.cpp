// Searching and comparing byte texts. A script searches and compares once per node
// of a walk, mostly with short texts: those take a plain loop with nothing to set up.
// Only patterns long enough to pay for it get a skip table (Horspool's).
#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "text/text_view.h"
#include "vek64.h"

namespace {

using vek::ViewOf;

// Upper case of every byte value (only ASCII letters change): one load per byte in
// the loops that ignore case.
constexpr std::array<unsigned char, 256> kUpper = [] {
    std::array<unsigned char, 256> upper{};
    for (unsigned c = 0; c < 256; ++c)
        upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
    return upper;
}();

unsigned char Upper(unsigned char c) {
    return kUpper[c];
}

bool SameByte(char a, char b, bool ignore_case) {
    return ignore_case
               ? Upper(static_cast<unsigned char>(a)) == Upper(static_cast<unsigned char>(b))
               : a == b;
}

// Patterns up to this length are searched for without a skip table.
constexpr size_t kShortPattern = 16;
// Texts whose common part is this long are compared exactly by memcmp.
constexpr size_t kLongComparison = 32;

bool MatchesAt(std::string_view text, size_t at, std::string_view pattern) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (Upper(static_cast<unsigned char>(text[at + i])) !=
            Upper(static_cast<unsigned char>(pattern[i])))
            return false;
    }
    return true;
}

// The first position at or after `from` where `pattern` (not empty, not longer than
// the text) starts ignoring case, or npos: a scan for its first character.
size_t FindIgnoringCase(std::string_view text, std::string_view pattern, size_t from) {
    const unsigned char first = Upper(static_cast<unsigned char>(pattern[0]));
    const size_t last = text.size() - pattern.size();
    for (size_t at = from; at <= last; ++at) {
        if (Upper(static_cast<unsigned char>(text[at])) == first && MatchesAt(text, at, pattern))
            return at;
    }
    return std::string_view::npos;
}

// The same for long patterns: after a mismatch the window moves by how far the
// text's byte under its last position is from the pattern's end.
size_t FindWithSkips(std::string_view text, std::string_view pattern, size_t from,
                     bool ignore_case) {
    auto key = [ignore_case](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return ignore_case ? Upper(byte) : byte;
    };
    const size_t last_index = pattern.size() - 1;
    std::array<size_t, 256> skip;
    skip.fill(pattern.size());
    // Ignoring case, the table is read and written by upper-case bytes only.
    for (size_t i = 0; i < last_index; ++i)
        skip[key(pattern[i])] = last_index - i;
    for (size_t at = from; at + pattern.size() <= text.size();
         at += skip[key(text[at + last_index])]) {
        bool match = true;
        for (size_t i = last_index + 1; i-- > 0 && match;)
            match = SameByte(text[at + i], pattern[i], ignore_case);
        if (match)
            return at;
    }
    return std::string_view::npos;
}

}  // namespace

VEK_API int32_t VEK_CALL VekStrnSearchA(const char *text, int32_t text_length, const char *pattern,
                                        int32_t pattern_length, uint32_t options, int32_t start) {
    const std::string_view haystack = ViewOf(text, text_length);
    const std::string_view needle = ViewOf(pattern, pattern_length);
    if (start < 0 || static_cast<size_t>(start) > haystack.size())
        return -1;
    const auto from = static_cast<size_t>(start);
    if (needle.empty())
        return start;
    if (needle.size() > haystack.size() - from)
        return -1;
    const bool ignore_case = (options & VEK_IGNORE_CASE) != 0;
    size_t found = 0;
    if (needle.size() > kShortPattern)
        found = FindWithSkips(haystack, needle, from, ignore_case);
    else if (ignore_case)
        found = FindIgnoringCase(haystack, needle, from);
    else
        found = haystack.find(needle, from);
    return found == std::string_view::npos ? -1 : static_cast<int32_t>(found);
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

namespace {

// -1, 0 or 1 by the first differing byte (unsigned, letters as upper case), else by
// length.
int32_t CompareIgnoringCase(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = Upper(static_cast<unsigned char>(a[i]));
        const unsigned char y = Upper(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int32_t CompareExactly(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    if (common >= kLongComparison) {
        if (const int difference = std::memcmp(a.data(), b.data(), common))
            return difference < 0 ? -1 : 1;
    } else {
        // Names and short values differ or end within a few bytes: a loop is cheaper
        // than the call.
        for (size_t i = 0; i < common; ++i) {
            const auto x = static_cast<unsigned char>(a[i]);
            const auto y = static_cast<unsigned char>(b[i]);
            if (x != y)
                return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

VEK_API int32_t VEK_CALL VekStrnCompA(const char *a, int32_t a_length, const char *b,
                                      int32_t b_length, uint32_t options) {
    const std::string_view left = ViewOf(a, a_length);
    const std::string_view right = ViewOf(b, b_length);
    return (options & VEK_IGNORE_CASE) != 0 ? CompareIgnoringCase(left, right)
                                            : CompareExactly(left, right);
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
