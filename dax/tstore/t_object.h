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

#include "tstore/t_config.h"

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class Twin_Tally;

class T_Object {
  public:
    // The handle must name a live node (T_Declare checks it).
    T_Object(int32_t root_handle, T_Config config);
    T_Object(const T_Object &) = delete;
    T_Object &operator=(const T_Object &) = delete;

    // The root node, or null when its handle names no live node any more.
    VekTreeNode *Root() const;
    // The root's name; empty without root.
    std::string_view Name() const;

    // The node that the last lookup or walk reached, or null; its canonical path.
    VekTreeNode *Current() const;
    const std::string &Current_Path() const { return current_path_; }
    void Set_Current(VekTreeNode *node, std::string path);
    void Reset_Current_Node();

    // The twin tally of a walk that deletes as it goes, or null (see t_walk.h).
    Twin_Tally *Tally() const { return tally_; }
    void Attach_Tally(Twin_Tally *tally) { tally_ = tally; }

    const T_Config &Config() const { return config_; }
    // The configuration "Remove First Twin Indexes" is set.
    bool Removes_First_Twin_Indexes() const;
    // A canonical path as the store hands it out for this tree.
    std::string Returned_Path(std::string_view canonical) const;

  private:
    int32_t root_handle_;
    VekTreeNode *current_ = nullptr;
    std::string current_path_;
    Twin_Tally *tally_ = nullptr;
    T_Config config_;
};

}  // namespace Ostrel::Zam::tstore
