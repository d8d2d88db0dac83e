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
    plain_pending_ = false;
}

std::string &T_Object::Move_Current(VekTreeNode *node) {
    if (plain_pending_)
        Complete_Plain_Path();
    current_ = node;
    return current_path_;
}

void T_Object::Reset_Current_Node() {
    current_ = nullptr;
    current_path_.clear();
    plain_pending_ = false;
}

// "A.B.C" becomes "A.B[1].C[1]": the root section as it is, every other one as the
// first twin of its name, which is what a plain path names.
void T_Object::Complete_Plain_Path() const {
    const std::string_view plain = current_path_;
    size_t stop = plain.find('.');
    spare_path_.assign(plain.substr(0, stop));
    while (stop != std::string_view::npos) {
        const size_t start = stop + 1;
        stop = plain.find('.', start);
        spare_path_ += '.';
        spare_path_.append(plain.substr(start, stop - start));
        spare_path_ += "[1]";
    }
    current_path_.swap(spare_path_);
    plain_pending_ = false;
}

bool T_Object::Removes_First_Twin_Indexes() const {
    return config_.ReadInt("Remove First Twin Indexes") != 0;
}

std::string T_Object::Returned_Path(std::string_view canonical) const {
    return Removes_First_Twin_Indexes() ? Remove_First_Twin_Indexes(canonical)
                                        : std::string(canonical);
}

}  // namespace Ostrel::Zam::tstore
