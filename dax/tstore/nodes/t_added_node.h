// The node that T_AddNodeA added last by a plain path (names and full stops
// only), kept so that the calls a script makes next on that node (setting its
// attributes one by one, asking whether it exists) find it without walking the
// tree again.
//
// What is kept is the path as the caller wrote it (after alias expansion), the
// path a walk writes for it, the node, and every ancestor of the node with its children generation
// of the node class, which changes with every child added, removed or renamed, whoever does it.
// Every node on the way was the first of its name below its parent (a plain path names first
// twins). The node is given for the same path, byte for byte, only while the tree's root is the
// ancestor at the top and no ancestor's children have changed: checked from the root down, each
// ancestor is then still the first child of its name below the one above it, so the path still
// leads to the kept node, as a walk would find. A node is looked at only once the one above it has
// been found unchanged, so a node deleted since is never read.
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

    // The kept node, when `path` is the kept path and still leads to it from
    // `root`; else null.
    // Inline up to the length, which turns most other paths away: every plain
    // lookup asks.
    VekTreeNode *Find(std::string_view path, const VekTreeNode *root) const {
        return ancestor_count_ != 0 && path.size() == path_.View().size() ? Compare(path, root)
                                                                          : nullptr;
    }
    // The path a walk writes for the kept node (each section after the first
    // with "[1]").
    std::string_view Walked_Path() const { return walked_path_.View(); }
    // Keeps `node`, just added as the first of its name below the parent that
    // the plain path `parent_path` led to, the walk having written
    // `walked_parent_path`.
    void Keep(std::string_view parent_path, std::string_view walked_parent_path, VekTreeNode &node);

  private:
    struct Ancestor {
        const VekTreeNode *node = nullptr;
        uint32_t generation = 0;
    };

    // A path of up to kLongestPath bytes, built from parts.
    class Path_Text {
      public:
        // `parent`, a full stop, `name` and `suffix`; false when it would not fit.
        bool Join(std::string_view parent, std::string_view name, std::string_view suffix);
        std::string_view View() const { return {bytes_.data(), length_}; }

      private:
        std::array<char, kLongestPath> bytes_;
        size_t length_ = 0;
    };

    VekTreeNode *Compare(std::string_view path, const VekTreeNode *root) const;
    bool Unchanged(const VekTreeNode *root) const;

    Path_Text path_;
    Path_Text walked_path_;
    VekTreeNode *node_ = nullptr;
    std::array<Ancestor, kMostAncestors> ancestors_{};  // from the parent up to the root
    size_t ancestor_count_ = 0;                         // 0: nothing kept
};

}  // namespace Ostrel::Zam::tstore
