// The paths of nodes: twin indexes read from the node class (which caches them per
// group) and the canonical path of a node, built from the node upwards.
#pragma once

#include <cstdint>
#include <string>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

// 1-based rank among the siblings of the same name; 1 for a node without parent.
int32_t Twin_Index(const VekTreeNode &node);
// Number of siblings of the same name, the node included; 0 for a node without
// parent.
int32_t Twin_Count(const VekTreeNode &node);
// The canonical path from the top of the node's tree, or from `stop` when it is an
// ancestor of the node (or the node itself), down to the node. Costs the node's
// depth.
std::string Full_Path_Of_Node(const VekTreeNode &node, const VekTreeNode *stop);
// One section of a canonical path: the name and "[index]".
std::string Indexed_Section(const VekTreeNode &node);

}  // namespace Ostrel::Zam::tstore
