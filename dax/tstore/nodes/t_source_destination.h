// The two nodes of a copy or a move: a source node and the group that receives the
// nodes, each named by a node path that may lie in any declared tree.
//
// Both paths go through the same steps, the source's first at each step: the table
// must exist, an alias at the start of each path is expanded, both are checked as
// node paths, both T objects are found, then the source is located in its tree and
// the destination in its own. So when both lie in one tree its current node ends
// at the destination; otherwise the source's tree keeps the source as current.
// Errors quote the paths as the caller wrote them, except the one about a
// destination that is no group, which quotes it after alias expansion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class T_Object;

struct SourceAndDestination {
    T_Object *source_object = nullptr;
    VekTreeNode *source = nullptr;
    T_Object *destination_object = nullptr;
    VekTreeNode *destination = nullptr;  // a group
};

// Resolves both paths and checks that the destination is a group with room for
// the 1-based position (-1: after its last child). Raises from `error_source`.
SourceAndDestination Resolve_Source_And_Destination(std::string_view source,
                                                    std::string_view destination, int32_t position,
                                                    const char *error_source);

}  // namespace Ostrel::Zam::tstore
