// Twin ranks: a node's place among its siblings of the same name.
#include <string_view>
#include <unordered_map>

#include "text/ascii_case.h"
#include "vek64_tree.h"

namespace {

struct Twins {
    int32_t index = 0;
    int32_t count = 0;
};

// Scans the siblings for one node, without the cache (and without allocating).
Twins ScanTwins(const VekTreeNode &node) {
    Twins twins;
    bool passed = false;
    for (const VekTreeNode *sibling = node.Parent()->FirstChild(); sibling != nullptr;
         sibling = sibling->GetNextSib()) {
        if (vek::SameTextIgnoringCase(sibling->GetName(), node.GetName())) {
            ++twins.count;
            if (!passed)
                ++twins.index;
        }
        passed = passed || sibling == &node;
    }
    return twins;
}

}  // namespace

void VekTreeNode::RefreshTwinCache() const {
    std::unordered_map<std::string_view, int32_t, vek::CaseInsensitiveHash,
                       vek::CaseInsensitiveEqual>
        counts;
    counts.reserve(static_cast<size_t>(parent_->child_count_));
    for (VekTreeNode *sibling = parent_->first_child_; sibling != nullptr; sibling = sibling->next_)
        sibling->twin_index_ = ++counts[sibling->GetName()];
    for (VekTreeNode *sibling = parent_->first_child_; sibling != nullptr;
         sibling = sibling->next_) {
        sibling->twin_count_ = counts.find(sibling->GetName())->second;
        sibling->twin_generation_ = parent_->children_generation_;
    }
}

int32_t VekTreeNode::GetTwinIndex() const {
    if (parent_ == nullptr)
        return 1;
    if (twin_generation_ == parent_->children_generation_)
        return twin_index_;
    try {
        RefreshTwinCache();
        return twin_index_;
    } catch (...) {
        return ScanTwins(*this).index;  // no memory for the cache: answer directly
    }
}

int32_t VekTreeNode::GetTwinCount() const {
    if (parent_ == nullptr)
        return 0;
    if (twin_generation_ == parent_->children_generation_)
        return twin_count_;
    try {
        RefreshTwinCache();
        return twin_count_;
    } catch (...) {
        return ScanTwins(*this).count;
    }
}
