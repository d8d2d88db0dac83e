#include "tstore/nodes/t_search_walk.h"

#include <algorithm>
#include <string_view>

#include "tstore/paths/t_names.h"
#include "tstore/paths/t_node_path.h"
#include "tstore/paths/t_upward_path.h"
#include "tstore/table/t_object.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

SearchWalk::SearchWalk(T_Object &object)
    : object_(object),
      root_(object.Root()),
      node_(object.Current()),
      depth_(tstore::Section_Count(object.Current_Path()) - 1),
      kept_(depth_ + 1),
      start_path_(object.Current_Path()) {}

bool SearchWalk::Step() {
    if (VekTreeNode *child = node_->FirstChild()) {
        node_ = child;
        ++depth_;
        return true;
    }
    if (node_ != root_ && node_->GetNextSib() != nullptr) {
        node_ = node_->GetNextSib();
        kept_ = std::min(kept_, depth_);
        return true;
    }
    // Climb to the nearest ancestor below the root that has a next sibling.
    VekTreeNode *at = node_;
    int32_t depth = depth_;
    while (at != root_ && at->GetNextSib() == nullptr) {
        at = at->Parent();
        --depth;
    }
    if (at == root_)
        return false;
    node_ = at->GetNextSib();
    depth_ = depth;
    kept_ = 0;
    return true;
}

std::string SearchWalk::Path() const {
    std::string path;
    WritePath(path);
    return path;
}

void SearchWalk::Settle() const {
    WritePath(object_.Move_Current(node_));
}

void SearchWalk::WritePath(std::string &path) const {
    // The sections written afresh from the nodes, from the deepest up; then the
    // leading sections kept from the starting path (or the root's name).
    Upward_Path_Writer writer(path);
    const VekTreeNode *at = node_;
    for (int32_t depth = depth_; depth >= std::max(kept_, 1); --depth, at = at->Parent())
        writer.Add_Section(at->GetName(), Twin_Index(*at));
    writer.Finish(kept_ == 0 ? root_->GetName() : KeptSections());
}

std::string_view SearchWalk::KeptSections() const {
    // The text before the full stop that ends section `kept_` (or all of it).
    const std::string_view start(start_path_);
    size_t end = 0;
    for (int32_t section = 0; section < kept_ && end != std::string_view::npos; ++section)
        end = start.find('.', section == 0 ? 0 : end + 1);
    return start.substr(0, end);
}

}  // namespace Ostrel::Zam::tstore
