// The process-wide table of node handles: positive integers that name live nodes,
// looked up under a lock so that a stale or made-up handle is simply unknown.
#pragma once

#include <cstdint>

class VekTreeNode;

namespace vek {

// Gives `node` a handle unless `slot` (the node's own record of it) holds one
// already; the handle, or a failure status when every handle is in use. Handles
// count up from 1 and skip those still in use after wrapping around. May throw
// std::bad_alloc.
int32_t RegisterNodeHandle(VekTreeNode *node, int32_t &slot);
// Forgets a handle; the node is being destroyed.
void ForgetNodeHandle(int32_t handle);
// The node of a handle, or null.
VekTreeNode *NodeOfHandle(int32_t handle);
// A number that changes with every handle given out or forgotten.
uint64_t HandleTableGeneration();

}  // namespace vek
