// Adding, deleting and retyping the nodes of a T object.
#pragma once

#include <cstdint>
#include <string_view>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class T_Object;

// Creates a T_Tree of that name and type (0 item, 128 group) with the initial
// attribute values, and inserts it below the current node at a 1-based position
// (already checked). The current node stays.
void Add_Node(T_Object &object, std::string_view name, uint32_t node_type, int32_t position);
// Deletes the current node with its subtree (recurse 7) or only when it has no
// children (recurse 9); its next sibling, else its parent, becomes current. The
// root is never deleted.
void Delete_Node(T_Object &object, int32_t recurse);
// Sets the type bit and keeps an "Item"/"Group" text in the attribute "Type" in step.
void Change_Type(VekTreeNode &node, uint32_t node_type);

// What T_AddNodeA does, raising on failure; returns its result. Also used by
// T_SetCreateA.
int32_t Add_Node_At_Path(std::string_view path, int32_t node_type, int32_t position,
                         int32_t error_handling);

}  // namespace Ostrel::Zam::tstore
