// Node identifiers as wildcard patterns over canonical paths, matched by the
// support library's VekStrnWCompA with the store's descriptor and option
// VEK_IGNORE_CASE.
//
// In a pattern '?' and '+' have become character classes of the name characters
// (one, or one or more), which hold neither a full stop nor a bracket, so they
// stay inside one name; '*' matches any run, full stops included; '#' matches a
// decimal number.
#pragma once

#include <string>
#include <string_view>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

// The 36-byte descriptor handed to VekStrnWCompA: '?' at byte 5, '*' at 6, the
// set "{~-}" at 8..11, '#' at 12 and "<>" at 14..15; every other byte zero.
const void *Wildcard_Descriptor();

// The identifier with '?' and '+' written as classes and its twin indexes
// completed (a section ending with '*' gets none).
std::string Identifier_To_Pattern(std::string_view identifier);
// The leading sections that hold none of '?', '+', '*', '#', joined by full stops.
std::string Identifier_Fixed_Prefix(std::string_view identifier);

// Whether the node whose canonical path is `path` matches the pattern. When the
// pattern holds "-1", a section whose node is the last of its twins also matches
// written with the index -1.
bool Match_Identifier(std::string_view path, std::string_view pattern, const VekTreeNode &node);

}  // namespace Ostrel::Zam::tstore
