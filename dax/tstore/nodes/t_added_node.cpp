#include "tstore/nodes/t_added_node.h"

#include <cstring>

#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

bool Added_Node::Path_Text::Join(std::string_view parent, std::string_view name) {
    const size_t length = parent.size() + 1 + name.size();
    if (length > bytes_.size())
        return false;
    char *next = bytes_.data();
    std::memcpy(next, parent.data(), parent.size());
    next += parent.size();
    *next++ = '.';
    // A name is a few bytes: a loop costs less than a call.
    for (const char c : name)
        *next++ = c;
    length_ = length;
    return true;
}

VekTreeNode *Added_Node::Node_By(std::string_view path, const VekTreeNode *root) const {
    return path == path_.View() && Unchanged_From(0, root) ? node_ : nullptr;
}

// The parent has children added since (its own generation is not asked), but
// the nodes above it must be as they were.
VekTreeNode *Added_Node::Parent_By(std::string_view path, const VekTreeNode *root) const {
    return path == path_.View(parent_length_) && Unchanged_From(1, root) ? ancestors_[0].node
                                                                         : nullptr;
}

bool Added_Node::Unchanged_From(size_t first, const VekTreeNode *root) const {
    if (root != ancestors_[ancestor_count_ - 1].node)
        return false;
    for (size_t n = ancestor_count_; n-- > first;) {
        if (ancestors_[n].node->ChildrenGeneration() != ancestors_[n].generation)
            return false;
    }
    return true;
}

void Added_Node::Keep(std::string_view parent_path, VekTreeNode &node) {
    ancestor_count_ = 0;
    size_t count = 0;
    for (VekTreeNode *above = node.Parent(); above != nullptr; above = above->Parent()) {
        if (count == kMostAncestors)
            return;
        ancestors_[count++] = {above, above->ChildrenGeneration()};
    }
    if (!path_.Join(parent_path, node.GetName()))
        return;
    parent_length_ = parent_path.size();
    node_ = &node;
    ancestor_count_ = count;
}

}  // namespace Ostrel::Zam::tstore
