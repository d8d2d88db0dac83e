// Tree nodes: life cycle and the links between parents and children.
#include <memory>
#include <new>

#include "errors/failure.h"
#include "errors/guarded_call.h"
#include "properties/property_list.h"
#include "trees/node_handles.h"
#include "vek64_tree.h"

namespace {

// Whether `ancestor` stands above `node`. Only asked for an ancestor with children:
// a leaf stands above nothing, and the nodes added most often are new leaves.
bool IsAbove(const VekTreeNode *ancestor, const VekTreeNode *node) {
    for (const VekTreeNode *above = node->Parent(); above != nullptr; above = above->Parent()) {
        if (above == ancestor)
            return true;
    }
    return false;
}

}  // namespace

VekTreeNode::VekTreeNode(uint32_t attributes) : attributes_(attributes) {
    static_assert(sizeof(VEKPROPS) <= kPropertyListRoom && alignof(VEKPROPS) <= 8,
                  "the property list must fit the room kept for it in the node");
    std::construct_at(static_cast<VEKPROPS *>(static_cast<void *>(property_list_room_)));
    static_assert(size_t{kShortName} < size_t{kLongName},
                  "a short name's length must differ from the mark");
}

VekTreeNode::~VekTreeNode() {
    if (handle_ != 0)
        vek::ForgetNodeHandle(handle_);
    Unlink();
    DestroyChildren();
    VekTextFree(name_);
    std::destroy_at(VEKPROPS::From(property_list_room_));
}

VekTreeNode *VekTreeNode::Create(uint32_t attributes) {
    return vek::GuardPointer("TreeNode.Create", [&] { return new VekTreeNode(attributes); });
}

VekTreeNode *VekTreeNode::NewNode() const {
    return Create(0);
}

void VekTreeNode::DestroyChildren() {
    // A child that has children of its own hands them up to this node first, so
    // every node is deleted once it is a leaf: the depth of the subtree never
    // reaches the stack, and every node moves up at most once.
    while (VekTreeNode *child = first_child_) {
        if (child->first_child_ == nullptr) {
            delete child;  // unlinks itself from this node
            continue;
        }
        for (VekTreeNode *moved = child->first_child_; moved != nullptr; moved = moved->next_)
            moved->parent_ = this;
        child->last_child_->next_ = child;
        child->prev_ = child->last_child_;
        first_child_ = child->first_child_;
        child_count_ += child->child_count_;
        child->first_child_ = child->last_child_ = nullptr;
        child->child_count_ = 0;
    }
}

void VekTreeNode::ChildrenChanged() {
    // Generation 0 is what a newly attached child holds: it must never look current.
    if (++children_generation_ == 0)
        children_generation_ = 1;
}

void VekTreeNode::Unlink() {
    if (parent_ == nullptr)
        return;
    (prev_ != nullptr ? prev_->next_ : parent_->first_child_) = next_;
    (next_ != nullptr ? next_->prev_ : parent_->last_child_) = prev_;
    --parent_->child_count_;
    parent_->ChildrenChanged();
    parent_ = prev_ = next_ = nullptr;
    twin_generation_ = 0;
}

void VekTreeNode::LinkChild(VekTreeNode *child, VekTreeNode *before) {
    child->parent_ = this;
    child->next_ = before;
    child->prev_ = before != nullptr ? before->prev_ : last_child_;
    (child->prev_ != nullptr ? child->prev_->next_ : first_child_) = child;
    (before != nullptr ? before->prev_ : last_child_) = child;
    child->twin_generation_ = 0;
    ++child_count_;
    ChildrenChanged();
}

VekTreeNode *VekTreeNode::ChildAt(int32_t index) const {
    if (index < child_count_ / 2) {
        VekTreeNode *child = first_child_;
        for (int32_t i = 0; i < index; ++i)
            child = child->next_;
        return child;
    }
    VekTreeNode *child = last_child_;
    for (int32_t i = child_count_ - 1; i > index; --i)
        child = child->prev_;
    return child;
}

int32_t VekTreeNode::AddChild(VekTreeNode *child, int32_t index) {
    constexpr const char *kFunction = "TreeNode.AddChild";
    if (child == nullptr)
        return vek::Fail(VEK_E_POINTER, kFunction, "No node given");
    if (child->parent_ != nullptr)
        return vek::Fail(VEK_E_INVALIDARG, kFunction, "The node already has a parent");
    if (child == this || (child->first_child_ != nullptr && IsAbove(child, this)))
        return vek::Fail(VEK_E_INVALIDARG, kFunction,
                         "A node cannot become a child of itself or of its descendants");
    if (index < -1 || index > child_count_)
        return vek::Fail(VEK_E_INVALIDARG, kFunction, "Child index %d is out of range 0..%d", index,
                         child_count_);
    if (child_count_ == INT32_MAX)
        return vek::Fail(VEK_E_OVERFLOW, kFunction, "Too many children");
    const int32_t position = index == -1 ? child_count_ : index;
    LinkChild(child, position == child_count_ ? nullptr : ChildAt(position));
    return position;
}

void VekTreeNode::Remove() {
    Unlink();
}

void VekTreeNode::MoveChildrenUp() {
    for (VekTreeNode *moved = first_child_; moved != nullptr; moved = moved->next_) {
        moved->parent_ = parent_;
        moved->twin_generation_ = 0;
    }
    first_child_->prev_ = prev_;
    (prev_ != nullptr ? prev_->next_ : parent_->first_child_) = first_child_;
    last_child_->next_ = this;
    prev_ = last_child_;
    parent_->child_count_ += child_count_;
    first_child_ = last_child_ = nullptr;
    child_count_ = 0;
    ChildrenChanged();
    parent_->ChildrenChanged();
}

void VekTreeNode::Delete(bool with_subtree) {
    // A root has no place to hand its children to: they go with it.
    if (!with_subtree && parent_ != nullptr && first_child_ != nullptr)
        MoveChildrenUp();
    delete this;
}
