// Input format masks: the pattern that a value written to a format-checked script
// property must follow.
//
// A mask is read left to right, one place at a time:
//   0  a digit (0-9)                      9  a digit, or nothing
//   L  a letter (A-Z, a-z)                ?  a letter, or nothing
//   A  a letter or a digit                a  a letter or a digit, or nothing
//   &  any character                      C  any character, or nothing
//   \x the character x itself (so "\0" is a literal zero, "\\" a backslash)
//   any other character: that character, as written (letter case counts).
// An optional place takes the next character of the value when it fits its class
// and otherwise matches nothing; it never looks further ahead, so "99" followed by
// "0" does not match "12" (the two optional places take both digits). The value
// matches when the mask and the value end together. Letters and digits are ASCII;
// other bytes are characters for "&" and "C" and literals elsewhere.
// A mask ending in a lone "\" is malformed.
#pragma once

#include <string_view>

namespace morph {

enum class MaskOutcome { kMatch, kMismatch, kMalformed };

MaskOutcome MatchInputMask(std::string_view value, std::string_view mask);

}  // namespace morph
