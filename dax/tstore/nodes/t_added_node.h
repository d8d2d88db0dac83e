// The node that T_AddNodeA added last by a plain path (names and full stops
// only) and its parent, kept so that the calls a script makes next find them
// without walking the tree again: setting the new node's attributes one by one,
// asking whether it exists, adding its next sibling below the same parent.
//
// What is kept is the path as the caller wrote it (after alias expansion), the
// node, and every ancestor of the node with its children generation of the node
// class, which changes with every child added, removed or renamed, whoever does
// it. Every node on the way was the first of its name below its parent (a plain
// path names first twins). A kept node is given for its path, byte for byte, only
// while the tree's root is the ancestor at the top and no node above it has
// changed its children: checked from the root down, each of them is then still
// the first child of its name below the one above it, so the path still leads to
// the kept node, as a walk would find. A node is looked at only once the one
// above it has been found unchanged, so a node deleted since is never read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class Added_Node {
  public:
    // Deeper or longer paths are not kept: scripts rarely go there, and what is
    // kept lives in place, so keeping a node allocates nothing.
    static constexpr size_t kMostAncestors = 24;
    static constexpr size_t kLongestPath = 200;

    // The kept node or its parent, when `path` is its path and still leads to it
    // from `root`; else null. Inline up to the length, which turns most other
    // paths away: every plain lookup asks.
    VekTreeNode *Find(std::string_view path, const VekTreeNode *root) const {
        if (ancestor_count_ == 0)
            return nullptr;
        if (path.size() == path_.Length())
            return Node_By(path, root);
        if (path.size() == parent_length_)
            return Parent_By(path, root);
        return nullptr;
    }

    // Keeps `node`, just added as the first of its name below the parent that
    // the plain path `parent_path` led to.
    void Keep(std::string_view parent_path, VekTreeNode &node);

  private:
    struct Ancestor {
        VekTreeNode *node = nullptr;
        uint32_t generation = 0;
    };

    // A path of up to kLongestPath bytes, built from parts.
    class Path_Text {
      public:
        // `parent`, a full stop and `name`; false when it would not fit.
        bool Join(std::string_view parent, std::string_view name);
        std::string_view View(size_t length) const { return {bytes_.data(), length}; }
        std::string_view View() const { return View(length_); }
        size_t Length() const { return length_; }

      private:
        std::array<char, kLongestPath> bytes_;
        size_t length_ = 0;
    };

    VekTreeNode *Node_By(std::string_view path, const VekTreeNode *root) const;
    VekTreeNode *Parent_By(std::string_view path, const VekTreeNode *root) const;
    // Whether the root is the top ancestor and the ancestors from `first` up
    // have the children they had.
    bool Unchanged_From(size_t first, const VekTreeNode *root) const;

    Path_Text path_;
    size_t parent_length_ = 0;  // of the parent's path, at the start of path_
    VekTreeNode *node_ = nullptr;
    std::array<Ancestor, kMostAncestors> ancestors_{};  // from the parent up to the root
    size_t ancestor_count_ = 0;                         // 0: nothing kept
};

}  // namespace Ostrel::Zam::tstore
