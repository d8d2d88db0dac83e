// Positions and walks in a tree, all without recursion.
#include "vek64_tree.h"

namespace {

// The pre-order successor of `node` that stays inside the subtree of `root` (null
// root: the whole tree), or null after the last.
const VekTreeNode *NextInSubtree(const VekTreeNode *node, const VekTreeNode *root) {
    if (node->FirstChild() != nullptr)
        return node->FirstChild();
    for (; node != nullptr && node != root; node = node->Parent()) {
        if (node->GetNextSib() != nullptr)
            return node->GetNextSib();
    }
    return nullptr;
}

}  // namespace

int32_t VekTreeNode::GetChildIndex() const {
    if (parent_ == nullptr)
        return -1;
    int32_t index = 0;
    for (const VekTreeNode *sibling = prev_; sibling != nullptr; sibling = sibling->prev_)
        ++index;
    return index;
}

int32_t VekTreeNode::GetLevel(const VekTreeNode *ancestor) const {
    int32_t level = 0;
    for (const VekTreeNode *node = this; node != nullptr; node = node->parent_, ++level) {
        if (node == ancestor)
            return level;
    }
    return -1;
}

VekTreeNode *VekTreeNode::GetNextNode() const {
    return const_cast<VekTreeNode *>(NextInSubtree(this, nullptr));
}

int64_t VekTreeNode::GetNodeCount() const {
    int64_t count = 0;
    for (const VekTreeNode *node = NextInSubtree(this, this); node != nullptr;
         node = NextInSubtree(node, this))
        ++count;
    return count;
}
