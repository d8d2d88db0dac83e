// Walking a T object from its current node. Each step keeps the current path
// canonical from the step itself, without searching from the root, so a walk over
// the k children of a group costs O(k) in all (twin indexes come from the node
// class's cache). A step that cannot be taken returns false and moves nothing.
// Walks stay inside the T object's tree: the root has no siblings here.
#pragma once

#include "tstore/t_object.h"

namespace Ostrel::Zam::tstore {

// The first child of the current node becomes current.
bool First_Child(T_Object &object);
// The next / previous sibling of the current node becomes current.
bool Next_Sibling(T_Object &object);
bool Previous_Sibling(T_Object &object);
// The node that follows the current one in pre-order below the root.
bool Next_Node(T_Object &object);

}  // namespace Ostrel::Zam::tstore
