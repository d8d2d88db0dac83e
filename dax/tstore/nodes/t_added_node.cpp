#include "tstore/nodes/t_added_node.h"

#include <cstring>

#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

bool Added_Node::Path_Text::Join(std::string_view parent, std::string_view name,
                                 std::string_view suffix) {
    const size_t length = parent.size() + 1 + name.size() + suffix.size();
    if (length > bytes_.size())
        return false;
    char *next = bytes_.data();
    std::memcpy(next, parent.data(), parent.size());
    next += parent.size();
    *next++ = '.';
    // Names and the suffix are a few bytes: a loop costs less than a call.
    for (const char c : name)
        *next++ = c;
    for (const char c : suffix)
        *next++ = c;
    length_ = length;
    return true;
}

VekTreeNode *Added_Node::Compare(std::string_view path, const VekTreeNode *root) const {
    return path == path_.View() && Unchanged(root) ? node_ : nullptr;
}

bool Added_Node::Unchanged(const VekTreeNode *root) const {
    if (root != ancestors_[ancestor_count_ - 1].node)
        return false;
    for (size_t n = ancestor_count_; n-- > 0;) {
        if (ancestors_[n].node->ChildrenGeneration() != ancestors_[n].generation)
            return false;
    }
    return true;
}

void Added_Node::Keep(std::string_view parent_path, std::string_view walked_parent_path,
                      VekTreeNode &node) {
    ancestor_count_ = 0;
    size_t count = 0;
    for (const VekTreeNode *above = node.Parent(); above != nullptr; above = above->Parent()) {
        if (count == kMostAncestors)
            return;
        ancestors_[count++] = {above, above->ChildrenGeneration()};
    }
    const std::string_view name = node.GetName();
    if (!path_.Join(parent_path, name, {}) || !walked_path_.Join(walked_parent_path, name, "[1]"))
        return;
    node_ = &node;
    ancestor_count_ = count;
}

}  // namespace Ostrel::Zam::tstore
