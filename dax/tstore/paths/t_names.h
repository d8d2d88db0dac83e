// Names and paths of the T store as texts: the three character sets, the sections
// of a path, twin indexes written in square brackets and the canonical form.
//
// A node path is sections joined by full stops; the first section is the root's
// name, every later one a node name optionally followed by a twin index "[n]"
// (n >= 1, or -1 for the last twin). The canonical form writes the index on every
// section but the first. Sections are found by a plain search for full stops;
// brackets do not protect a full stop.
//
// Names compare ignoring the case of ASCII letters (VEK_IGNORE_CASE of the support
// library), everywhere in the store: twins, root names and aliases.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tstore/paths/t_character_set.h"
#include "tstore/paths/t_name_compare.h"
#include "tstore/paths/t_sections.h"

namespace Ostrel::Zam::tstore {

inline constexpr std::string_view kNameCharacters =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_()-/, :'";
inline constexpr std::string_view kPathCharacters =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_.()[]-/, :'";
inline constexpr std::string_view kIdentifierCharacters =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_.()[]#+?*-/, :'";

inline constexpr Character_Set kNameSet{kNameCharacters};
inline constexpr Character_Set kPathSet{kPathCharacters};
inline constexpr Character_Set kIdentifierSet{kIdentifierCharacters};

// Number of full stops plus 1 (an empty text has one, empty, section).
int32_t Section_Count(std::string_view path);
// Section n (1-based): a view into `path`; empty when n is out of range.
std::string_view Get_Section(std::string_view path, int32_t n);
// Every section in order, as views into `path`, for callers that keep them; a
// walk along the path steps through Sections_Of (t_sections.h) instead.
std::vector<std::string_view> Sections(std::string_view path);
// Replaces section n; raises 0xE204000E when n is not a section number.
void Replace_String_Section(std::string &path, int32_t n, std::string_view text);
// The text before the last full stop; empty when there is none.
std::string_view Parent_Path(std::string_view path);
// The last section without its twin index (cut at its first '[').
std::string_view Node_Name_Of_Path(std::string_view path);
// A section that ends with ']' without its last "[...]"; others unchanged.
std::string_view Strip_Twin_Index(std::string_view section);

// The twin index written on one section: 1 without brackets, -1 for an empty or
// negative index, else the decimal number that the brackets start with (0 for
// none).
int32_t Twin_Index_Of_Section(std::string_view section);
int32_t Section_Twin_Index(std::string_view path, int32_t n);
// Rewrites the index of section n (left alone when the section is shorter than
// four characters or carries no index).
void Set_Section_Twin_Index(std::string &path, int32_t n, int32_t index);
// Appends "[index]" in decimal, without a temporary text.
void Append_Twin_Index(std::string &path, int32_t index);

// Whether a section ends with ']': the canonical form leaves it as it is.
inline bool Carries_Twin_Index(std::string_view section) {
    return !section.empty() && section.back() == ']';
}
// The canonical path: "[1]" appended to every section after the first that does
// not end with ']'.
std::string Complete_Twin_Indexes(std::string_view path);
// The path with every "[1]" deleted ("[10]" stays).
std::string Remove_First_Twin_Indexes(std::string_view path);

// An attribute path split at its first '!'; without one the attribute is empty.
struct AttributePath {
    std::string_view node;
    std::string_view attribute;
};
AttributePath Split_Attribute_Path(std::string_view text);

// A whole decimal number: an optional '-' and digits that fit 32 bits.
std::optional<int32_t> Parse_Decimal(std::string_view text);

// How many characters of `text` are in `set`. With `report`, the last character
// that is not is recorded as the thread's error information (code 0x6204000A,
// never raised) with its 1-based position.
int32_t Number_Char_From_Set(std::string_view text, std::string_view set, bool report);
int32_t Number_Char_From_Set(std::string_view text, const Character_Set &set, bool report);

}  // namespace Ostrel::Zam::tstore
