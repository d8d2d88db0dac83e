#include "tstore/nodes/t_child_names.h"

#include "tstore/paths/t_name_compare.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

// The name as the set keeps it: ASCII letters upper case, as Same_Name compares.
std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char &c : folded)
        c = static_cast<char>(Ascii_Upper(c));
    return folded;
}

bool ScanForChildNamed(const VekTreeNode &parent, std::string_view name) {
    for (const VekTreeNode *child = parent.FirstChild(); child != nullptr;
         child = child->GetNextSib()) {
        if (Same_Name(child->GetName(), name))
            return true;
    }
    return false;
}

}  // namespace

bool Child_Name_Index::Has_Child_Named(const VekTreeNode &parent, std::string_view name) {
    answered_ = false;
    if (name.empty())
        return false;
    if (parent.ChildCount() < kIndexedFrom)
        return ScanForChildNamed(parent, name);
    if (!Describes(parent))
        Build(parent);
    answered_ = true;
    return names_.count(Folded(name)) != 0;
}

void Child_Name_Index::Child_Added(const VekTreeNode &parent, std::string_view name) {
    // Kept only when the set answered the question about this addition and the
    // addition is all that changed since.
    const bool follows = answered_ && parent_ == &parent;
    answered_ = false;
    if (!follows)
        return;
    if (parent.ChildCount() != count_ + 1) {
        parent_ = nullptr;
        return;
    }
    if (!name.empty())
        names_.insert(Folded(name));
    Take_State_Of(parent);
}

bool Child_Name_Index::Describes(const VekTreeNode &parent) const {
    return parent_ == &parent && generation_ == parent.ChildrenGeneration() &&
           count_ == parent.ChildCount() && first_ == parent.FirstChild() &&
           last_ == parent.LastChild();
}

void Child_Name_Index::Take_State_Of(const VekTreeNode &parent) {
    parent_ = &parent;
    first_ = parent.FirstChild();
    last_ = parent.LastChild();
    count_ = parent.ChildCount();
    generation_ = parent.ChildrenGeneration();
}

void Child_Name_Index::Build(const VekTreeNode &parent) {
    parent_ = nullptr;  // stays unset if building fails half way
    names_.clear();
    names_.reserve(static_cast<size_t>(parent.ChildCount()));
    for (const VekTreeNode *child = parent.FirstChild(); child != nullptr;
         child = child->GetNextSib()) {
        if (!child->GetName().empty())
            names_.insert(Folded(child->GetName()));
    }
    Take_State_Of(parent);
}

}  // namespace Ostrel::Zam::tstore
