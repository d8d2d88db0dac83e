// Deep copies of nodes and subtrees.
#include <cstring>
#include <memory>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "properties/property_list.h"
#include "text/text_view.h"
#include "vek64_tree.h"

namespace {

constexpr const char *kFunction = "TreeNode.Copy";

// The thread's error, or a fresh one when a failing step left none.
int32_t CurrentFailure() {
    const int32_t status = ZamGetLastError();
    if ((static_cast<uint32_t>(status) & 0xC0000000u) == 0xC0000000u)
        return status;
    return vek::Fail(VEK_E_OUTOFMEMORY, kFunction, "The node could not be copied");
}

}  // namespace

VekTreeNode *VekTreeNode::CopyNode() const {
    std::unique_ptr<VekTreeNode> node(NewNode());
    if (node == nullptr) {
        CurrentFailure();
        return nullptr;
    }
    if (short_name_length_ != kLongName && node->short_name_length_ != kLongName) {
        // A short name is copied with its room, at a fixed size.
        std::memcpy(node->short_name_, short_name_, kShortName);
        node->short_name_length_ = short_name_length_;
    } else {
        const std::string_view name = GetName();
        if (node->SetName(name.data(), static_cast<int32_t>(name.size())) != 0)
            return nullptr;
    }
    node->attributes_ = attributes_;
    // The new node's list is replaced as a whole: one reservation, no name lookups.
    if (VEKPROPS::From(node->property_list_room_)
            ->CopyOf(*VEKPROPS::From(property_list_room_), kFunction) != 0)
        return nullptr;
    return node.release();
}

int32_t VekTreeNode::CopyChildrenOf(const VekTreeNode &source) {
    // `into` is always the copy of the parent of `from`.
    const VekTreeNode *from = source.first_child_;
    VekTreeNode *into = this;
    while (from != nullptr) {
        VekTreeNode *copy = from->CopyNode();
        if (copy == nullptr)
            return CurrentFailure();
        into->LinkChild(copy, nullptr);
        if (from->first_child_ != nullptr) {
            from = from->first_child_;
            into = copy;
            continue;
        }
        while (from != &source && from->next_ == nullptr) {
            from = from->parent_;
            into = into->parent_;
        }
        from = from == &source ? nullptr : from->next_;
    }
    return 0;
}

VekTreeNode *VekTreeNode::Copy(bool with_children) const {
    return vek::GuardPointer(kFunction, [&]() -> VekTreeNode * {
        std::unique_ptr<VekTreeNode> root(CopyNode());
        if (root == nullptr)
            return nullptr;
        // A partial copy is destroyed with its root.
        if (with_children && root->CopyChildrenOf(*this) != 0)
            return nullptr;
        return root.release();
    });
}
