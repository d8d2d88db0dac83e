// The node class of the nodes that the store creates. It adds no data to
// VekTreeNode; its copies are T_Trees too.
#pragma once

#include <cstdint>

#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

class T_Tree : public VekTreeNode {
  public:
    static constexpr uint32_t kItem = 0;
    static constexpr uint32_t kGroup = VekTreeNode::kGroup;

    // A detached node of the given type (0 item, 128 group) in the low byte of its
    // attributes.
    explicit T_Tree(uint32_t node_type = kItem);

    // A new, empty T_Tree; null when memory runs out (the copy then fails).
    VekTreeNode *NewNode() const override;
};

}  // namespace Ostrel::Zam::tstore
