// Adding, deleting and retyping the nodes of a T object.
//
// Decisions:
// - Missing parent groups that a path asks for (T_AddNodeA of Main.A[3].B makes
//   groups named A until a third exists) are made on the path after its alias
//   was expanded; no alias is expanded a second time on the way down. One call
//   makes at most kMostMissingParents of them: a path such as Main.A[2000000000].B
//   is refused with 0xE204000B before anything is made, instead of exhausting
//   memory.
// - Before a subtree is freed, every T object whose current node lies in it has
//   its current node reset (T_Table::Forget_Current_Nodes_In); the deleting
//   object then moves on to the sibling or parent. No T object is ever left
//   holding the address of a freed node.
#pragma once

#include <cstdint>
#include <string_view>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class T_Object;

// The most parent groups one T_AddNodeA makes on the way to its node.
inline constexpr int64_t kMostMissingParents = 1000000;

// Creates a T_Tree of that name and type (0 item, 128 group) with the initial
// attribute values, and inserts it below the current node at a 1-based position
// (already checked). The current node stays; the new node is returned.
VekTreeNode &Add_Node(T_Object &object, std::string_view name, uint32_t node_type,
                      int32_t position);
// Deletes the current node with its subtree (recurse 7) or only when it has no
// children (recurse 9); its next sibling, else its parent, becomes current. The
// root is never deleted. The new current node's twin index is worked out from
// the deleted node's (read off the canonical current path) or taken from the
// walk's Twin_Tally, so that deleting a long run of nodes never waits for the
// node class to recount the siblings' twin indexes after each deletion.
void Delete_Node(T_Object &object, int32_t recurse);
// Deletes every child of a node with its subtree, the first child first.
void Delete_Children(VekTreeNode &node);
// Sets the type bit and keeps an "Item"/"Group" text in the attribute "Type" in step.
void Change_Type(VekTreeNode &node, uint32_t node_type);

// What T_AddNodeA does, raising on failure; returns its result. Also used by
// T_SetCreateA. `most_missing_parents` is the limit on the parent groups made on
// the way (tests give a small one, to reach it without building a million nodes).
int32_t Add_Node_At_Path(std::string_view path, int32_t node_type, int32_t position,
                         int32_t error_handling,
                         int64_t most_missing_parents = kMostMissingParents);

}  // namespace Ostrel::Zam::tstore
