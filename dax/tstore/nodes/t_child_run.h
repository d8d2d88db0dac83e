// Inserting a run of detached nodes among the children of a group, in their order,
// from one place on.
//
// The node class inserts by index, and reaching an index walks the siblings from
// the nearer end; inserting k nodes one after the other at a place in the middle
// would walk there k times. Instead the shorter side of the group (the children
// before the place, or those from it on) is lifted off, the run goes to the end of
// the group that is left, and the lifted children go back: the cost is the run's
// length plus the shorter side, whatever the place.
#pragma once

#include <cstdint>
#include <span>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

// Inserts the detached nodes of `run` as children of `group`, in order, the first
// at the 0-based `index` (-1: after the last child). Each node must be detached
// and no ancestor of the group (nor the group itself); `index` must not exceed the
// number of children. On a failure of the node class the group's own children are
// back in their places, the nodes of the run inserted so far stay (their parent is
// set), the others stay detached, and the support library's error is raised.
void Insert_Children(VekTreeNode &group, int32_t index, std::span<VekTreeNode *const> run);

}  // namespace Ostrel::Zam::tstore
