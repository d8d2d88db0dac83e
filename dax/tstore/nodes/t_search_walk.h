// The pre-order walk of a search: the steps of Next_Node from a located node,
// without writing the current path at every step.
//
// A search examines every node below a group but needs the path of only the few
// it reports, so the walk keeps the node, its depth and how much of the path it
// started from the current path would still carry, and builds the text only when
// asked. The text is the one Next_Node would have kept: a step to the first child
// appends a section to the old path, a step to a sibling keeps the old parent
// path, and a step that climbs first writes the whole path afresh from the root.
// So the leading sections of the starting path stay as they were written (their
// letters' case, "[-1]" already replaced by the index found) until a step drops
// them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class T_Object;

class SearchWalk {
  public:
    // Starts at the object's current node, which a lookup has just found.
    explicit SearchWalk(T_Object &object);

    // The step of Next_Node: the first child, else the next sibling (not from the
    // root), else the next sibling of the nearest ancestor below the root that has
    // one. False when there is none; then nothing moves.
    bool Step();

    VekTreeNode &Node() const { return *node_; }
    // The number of sections of the current path: the levels from the root.
    int32_t Section_Count() const { return depth_ + 1; }
    // How many leading sections of the starting path the current path carries.
    int32_t Kept_Sections() const { return kept_; }
    // The current path as Next_Node would have written it. Costs the depth.
    std::string Path() const;
    // Makes the node and its path the object's current node.
    void Settle() const;

  private:
    // Writes the current path into `path` (replacing what it holds).
    void WritePath(std::string &path) const;
    // The leading sections of the starting path that the current path carries.
    std::string_view KeptSections() const;

    T_Object &object_;
    VekTreeNode *root_;
    VekTreeNode *node_;
    int32_t depth_;  // levels below the root
    int32_t kept_;   // leading sections of `start_path_` still in the path
    std::string start_path_;
};

}  // namespace Ostrel::Zam::tstore
