#include "tstore/table/t_tree.h"

#include <new>

namespace Ostrel::Zam::tstore {

T_Tree::T_Tree(uint32_t node_type) {
    SetAttributes(255, node_type);
}

VekTreeNode *T_Tree::NewNode() const {
    // The node goes to the tree that the copy builds, which owns it from then on.
    return new (std::nothrow) T_Tree();
}

}  // namespace Ostrel::Zam::tstore
