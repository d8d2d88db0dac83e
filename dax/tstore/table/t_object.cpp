#include "tstore/table/t_object.h"

#include <utility>

#include "tstore/paths/t_names.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

T_Object::T_Object(int32_t root_handle, T_Config config)
    : root_handle_(root_handle), config_(std::move(config)) {}

VekTreeNode *T_Object::Root() const {
    const uint64_t generation = VekTreeNode::HandleGeneration();
    if (root_generation_ != generation) {
        root_ = VekTreeNode::FromHandle(root_handle_);
        root_generation_ = generation;
    }
    return root_;
}

std::string_view T_Object::Name() const {
    const VekTreeNode *root = Root();
    return root != nullptr ? root->GetName() : std::string_view();
}

VekTreeNode *T_Object::Current() const {
    return current_ != nullptr && Root() != nullptr ? current_ : nullptr;
}

void T_Object::Set_Current(VekTreeNode *node, std::string path) {
    current_ = node;
    current_path_ = std::move(path);
}

std::string &T_Object::Move_Current(VekTreeNode *node) {
    current_ = node;
    return current_path_;
}

void T_Object::Reset_Current_Node() {
    current_ = nullptr;
    current_path_.clear();
}

bool T_Object::Removes_First_Twin_Indexes() const {
    return config_.ReadInt("Remove First Twin Indexes") != 0;
}

std::string T_Object::Returned_Path(std::string_view canonical) const {
    return Removes_First_Twin_Indexes() ? Remove_First_Twin_Indexes(canonical)
                                        : std::string(canonical);
}

}  // namespace Ostrel::Zam::tstore
