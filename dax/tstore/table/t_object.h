// A T object: one declared tree, known by its root's name, with its current node
// and its configuration.
//
// The root is kept as its node handle and looked up on every use, so a tree that
// the host has freed makes the object rootless (empty name, nothing found) rather
// than leaving a dangling address. The store never deletes the tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "imports/vek_variant.h"
#include "tstore/attributes/t_declared_names.h"
#include "tstore/attributes/t_initial_values.h"
#include "tstore/nodes/t_added_node.h"
#include "tstore/nodes/t_child_names.h"
#include "tstore/table/t_config.h"

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class Twin_Tally;

class T_Object {
  public:
    // The handle must name a live node (T_Declare checks it).
    T_Object(int32_t root_handle, T_Config config);
    T_Object(const T_Object &) = delete;
    T_Object &operator=(const T_Object &) = delete;

    // The root node, or null when its handle names no live node any more. Looked
    // up in the handle table again only after the table has changed (a handle given
    // out or forgotten, as when a tree with handles is freed): until then the table
    // would give the same answer, and the lookup takes the table's lock.
    VekTreeNode *Root() const;
    // The root's name; empty without root.
    std::string_view Name() const;

    // The node that the last lookup or walk reached, or null; its canonical path.
    VekTreeNode *Current() const;
    // The same with the root already looked up by the caller (null: none), for
    // walks that would otherwise look the handle up several times a step.
    VekTreeNode *Current(const VekTreeNode *root) const {
        return root != nullptr ? current_ : nullptr;
    }
    const std::string &Current_Path() const {
        if (plain_pending_)
            Complete_Plain_Path();
        return current_path_;
    }
    void Set_Current(VekTreeNode *node, std::string path);
    // Moves the current node and hands out the current path for the caller to
    // rewrite in place. The text keeps its storage from path to path, so lookups
    // and walk steps that write their paths here allocate nothing once it has
    // grown to the tree's longest path.
    std::string &Move_Current(VekTreeNode *node);
    // Moves the current node and writes its path from the old one: `write` gets
    // the old path and an empty second text to write the new path into, which
    // then takes the old one's place. Both texts keep their storage.
    template <class Write>
    void Rewrite_Current(VekTreeNode *node, Write &&write) {
        const std::string_view old_path = Current_Path();
        spare_path_.clear();
        write(old_path, spare_path_);
        current_path_.swap(spare_path_);
        current_ = node;
    }
    void Reset_Current_Node();
    // A lookup found `node` by the plain path `path` (names and full stops): the
    // node becomes the current node and the path the current path, completed with
    // "[1]" after each section but the first only when it is read. Most lookups
    // are followed by another before anyone asks for the current path.
    void Commit_Plain_Path(VekTreeNode *node, std::string_view path) {
        current_path_.assign(path);
        plain_pending_ = true;
        current_ = node;
    }

    // The twin tally of a walk that deletes as it goes, or null (see t_walk.h).
    Twin_Tally *Tally() const { return tally_; }
    void Attach_Tally(Twin_Tally *tally) { tally_ = tally; }

    const T_Config &Config() const { return config_; }
    // The declared attribute names, kept as far as they have been read.
    const Declared_Names &Declared_Attribute_Names() const { return declared_names_; }
    // The starting values of a new node's attributes, kept once worked out.
    const Initial_Values &Initial_Attribute_Values() const { return initial_values_; }
    // The names of the children of the group that nodes were last added to.
    Child_Name_Index &Child_Names() { return child_names_; }
    // The node last added by a plain path, for the calls that name it next.
    Added_Node &Last_Added() { return last_added_; }
    // A variant that attribute writes build their values in before storing them,
    // kept from write to write so that its block is reused.
    VekVariant &Write_Scratch() { return write_scratch_; }
    // The configuration "Remove First Twin Indexes" is set.
    bool Removes_First_Twin_Indexes() const;
    // A canonical path as the store hands it out for this tree.
    std::string Returned_Path(std::string_view canonical) const;

  private:
    // Writes the completed form of a plain current path.
    void Complete_Plain_Path() const;

    int32_t root_handle_;
    mutable VekTreeNode *root_ = nullptr;
    mutable uint64_t root_generation_ = 0;  // the handle table's when root_ was read; 0: never
    VekTreeNode *current_ = nullptr;
    mutable std::string current_path_;
    mutable std::string spare_path_;      // the other text of Rewrite_Current
    mutable bool plain_pending_ = false;  // current_path_ is a plain path, not completed
    Twin_Tally *tally_ = nullptr;
    T_Config config_;
    Declared_Names declared_names_;
    Initial_Values initial_values_;
    Child_Name_Index child_names_;
    Added_Node last_added_;
    VekVariant write_scratch_;
};

}  // namespace Ostrel::Zam::tstore
