// The character walk over IString texts. An IString character is a '#' together
// with the two bytes after it (whatever they are), or any other single byte. The
// walk never reads past the last byte: a '#' with fewer than two bytes after it is
// an incomplete escape, which the walk reports instead of stepping over it.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace Ostrel::Zam::istring {

inline constexpr size_t kNoIncompleteEscape = std::string_view::npos;

struct Measure {
    size_t characters = 0;
    // 0-based byte offset of a '#' that lacks its two bytes, or kNoIncompleteEscape.
    size_t incomplete_escape = kNoIncompleteEscape;
};

// Counts the characters of `text` up to an incomplete escape (which can only stand
// in the last two bytes).
Measure MeasureIString(std::string_view text);

// The byte offset just after the character that starts at `offset` (< text.size()).
// Callers check for an incomplete escape first; should one slip through, it ends at
// the text's end rather than past it.
inline size_t StepCharacter(std::string_view text, size_t offset) {
    const size_t next = text[offset] == '#' ? offset + 3 : offset + 1;
    return next < text.size() ? next : text.size();
}

// The byte offset of every character start of a text without an incomplete escape,
// followed by text.size(): character k (0-based) is the bytes starts[k]..starts[k+1].
std::vector<size_t> CharacterStarts(std::string_view text);

// 0-based offset of the first occurrence of `pattern` in `text`, comparing ASCII
// letters without regard to case; npos when there is none, 0 for an empty pattern.
// Runs in time linear in both lengths whatever their content.
size_t FindIgnoringCase(std::string_view text, std::string_view pattern);

}  // namespace Ostrel::Zam::istring
