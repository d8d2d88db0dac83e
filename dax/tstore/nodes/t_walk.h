// Walking a T object from its current node. Each step keeps the current path
// canonical from the step itself, without searching from the root, so a walk over
// the k children of a group costs O(k) in all (twin indexes come from the node
// class's cache). A step that cannot be taken returns false and moves nothing.
// Walks stay inside the T object's tree: the root has no siblings here.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "tstore/table/t_object.h"

class VekTreeNode;

namespace Ostrel::Zam::tstore {

// The first child of the current node becomes current.
bool First_Child(T_Object &object);
// The next / previous sibling of the current node becomes current.
bool Next_Sibling(T_Object &object);
bool Previous_Sibling(T_Object &object);
// The node that follows the current one in pre-order below the root. After a
// climb, the ancestors' twin indexes are read off the current path (they are
// the current node's ancestors too) rather than asked of the node class.
bool Next_Node(T_Object &object);

// Twin indexes for a walk that deletes as it goes. The node class recounts a
// group's twin indexes after every change to its children, so asking it after
// each deletion costs the group's size every time: deleting every other child of
// a large group would be quadratic. A tally carries the counts forward instead:
// for each group the walk has deleted in, how many children of each name there
// are up to the child it counted last. Delete_Node and the sibling steps use it
// while it is attached to the T object (Twin_Tally_Scope); nothing else changes
// the tree meanwhile.
class Twin_Tally {
  public:
    // The twin index of `node` when its previous sibling is the child counted
    // last in its group (the node is then counted); 0 when the tally cannot tell.
    int32_t Step_To(const VekTreeNode &node);
    // Keeps the counts of `node`'s group right across its deletion; the first
    // deletion in a group counts the children before the node once.
    void Before_Delete(const VekTreeNode &node);

  private:
    struct Group {
        const VekTreeNode *last = nullptr;                // null: no child counted yet
        std::unordered_map<std::string, int32_t> counts;  // by lower-case name
    };
    std::unordered_map<const VekTreeNode *, Group> groups_;
};

// Attaches a tally to a T object for the life of the scope.
class Twin_Tally_Scope {
  public:
    explicit Twin_Tally_Scope(T_Object &object) : object_(object) { object.Attach_Tally(&tally_); }
    Twin_Tally_Scope(const Twin_Tally_Scope &) = delete;
    Twin_Tally_Scope &operator=(const Twin_Tally_Scope &) = delete;
    ~Twin_Tally_Scope() { object_.Attach_Tally(nullptr); }

  private:
    T_Object &object_;
    Twin_Tally tally_;
};

// The twin index of a node the walk steps to: from the object's tally when it
// can tell, else from the node class.
int32_t Walk_Twin_Index(const T_Object &object, const VekTreeNode &node);

}  // namespace Ostrel::Zam::tstore
