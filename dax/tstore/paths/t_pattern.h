// Node identifiers as wildcard patterns over canonical paths, matched by the
// support library's wildcard matching with the store's descriptor and option
// VEK_IGNORE_CASE.
//
// In a pattern '?' and '+' have become character classes of the name characters
// (one, or one or more), which hold neither a full stop nor a bracket, so they
// stay inside one name; '*' matches any run, full stops included; '#' matches a
// decimal number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tstore/paths/t_compiled_pattern.h"

class VekTreeNode;

namespace Ostrel::Zam::tstore {

// The 36-byte descriptor handed to the support library's matching: '?' at byte 5,
// '*' at 6, the set "{~-}" at 8..11, '#' at 12 and "<>" at 14..15; every other
// byte zero.
const void *Wildcard_Descriptor();

// The identifier with '?' and '+' written as classes and its twin indexes
// completed (a section ending with '*' gets none).
std::string Identifier_To_Pattern(std::string_view identifier);
// The leading sections that hold none of '?', '+', '*', '#', joined by full stops.
std::string Identifier_Fixed_Prefix(std::string_view identifier);

// An identifier's pattern made ready once for the many nodes of a walk: compiled
// on its first match, and what the "-1" rule needs known from its text.
class Identifier_Pattern {
  public:
    explicit Identifier_Pattern(std::string_view pattern);

    const std::string &Text() const { return whole_.Text(); }
    // The pattern matches `text` as a whole.
    bool Matches(std::string_view text) const { return whole_.Matches(text); }
    bool Holds_Minus_One() const { return minus_one_; }
    bool Holds_Star() const { return star_; }
    // How many pattern elements other than '*' can match the '-' or the '1' of
    // "-1": how many sections at most a "-1" written on them can help.
    size_t Elements_Matching_Last_Index() const { return elements_matching_last_index_; }
    // The pattern's sections, each compiled on its own (made on first use).
    const std::vector<Compiled_Pattern> &Section_Patterns() const;

  private:
    Compiled_Pattern whole_;
    bool minus_one_;
    bool star_;
    size_t elements_matching_last_index_;
    mutable std::vector<Compiled_Pattern> sections_;
};

// Whether the node whose canonical path is `path` matches the pattern. When the
// pattern holds "-1", a section whose node is the last of its twins also matches
// written with the index -1.
bool Match_Identifier(std::string_view path, const Identifier_Pattern &pattern,
                      const VekTreeNode &node);
// The same for a single match: the pattern is compiled for this one call.
bool Match_Identifier(std::string_view path, std::string_view pattern, const VekTreeNode &node);

}  // namespace Ostrel::Zam::tstore
