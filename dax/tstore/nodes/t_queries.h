// Questions about the nodes of the declared trees that need a lookup or a walk:
// existence, counting and the paths of related nodes.
//
// Every lookup moves the tree's current node, as locating always does. Decisions:
// - Descriptions quote the path or identifier as the caller passed it (before
//   alias expansion), except where a wildcard pattern is quoted.
// - Counts larger than a 32-bit result can hold come back as 2147483647.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Ostrel::Zam::tstore {

// What T_ExistsA answers: 1 when the node (for an attribute path: the attribute,
// holding a value) exists, else 0; raises only syntax errors. Also used by
// T_SetCreateA.
int32_t Node_Or_Attribute_Exists(std::string_view path);

// What T_CountNodesA answers: how many nodes the identifier selects whose type
// fits (0 items, 128 groups, 1 both). Costs one walk over the fixed part's
// subtree; with type 1, "Root.*" (every descendant) and "Root.+[#]" (every child)
// are counted without matching each node's path.
int32_t Count_Nodes(std::string_view identifier, int32_t node_type);

// T_GetFullPathA's "What" values.
namespace what {
inline constexpr int32_t kNode = 0x27;
inline constexpr int32_t kNextNode = 0x21;
inline constexpr int32_t kNextSameName = 0x1F;
inline constexpr int32_t kFirstChild = 0x13;
inline constexpr int32_t kLastChild = 0x17;
inline constexpr int32_t kNextSibling = 0x1D;
inline constexpr int32_t kPreviousSibling = 0x30;
inline constexpr int32_t kParent = 0x2F;
inline constexpr int32_t kRoot = 0x31;
}  // namespace what

// What T_GetFullPathA answers: the path of the node that `what` names relative
// to the first node the identifier selects; empty (Error_Handling 27) or raised
// (25) when there is none.
std::string Related_Full_Path(std::string_view identifier, int32_t what, int32_t error_handling);

}  // namespace Ostrel::Zam::tstore
