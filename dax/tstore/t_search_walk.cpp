#include "tstore/t_search_walk.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "tstore/t_names.h"
#include "tstore/t_node_path.h"
#include "tstore/t_object.h"
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
    // The nodes whose sections are written afresh, deepest first.
    const int32_t first_fresh = std::max(kept_, 1);
    std::vector<const VekTreeNode *> fresh;
    fresh.reserve(static_cast<size_t>(std::max(depth_ - first_fresh + 1, 0)));
    const VekTreeNode *at = node_;
    for (int32_t depth = depth_; depth >= first_fresh; --depth, at = at->Parent())
        fresh.push_back(at);

    std::string path;
    if (kept_ == 0) {
        path = root_->GetName();
    } else {
        const std::string_view start(start_path_);
        // The text before the full stop that ends section `kept_` (or all of it).
        size_t end = 0;
        for (int32_t section = 0; section < kept_ && end != std::string_view::npos; ++section)
            end = start.find('.', section == 0 ? 0 : end + 1);
        path = start.substr(0, end);
    }
    for (auto node = fresh.rbegin(); node != fresh.rend(); ++node) {
        path += '.';
        path += Indexed_Section(**node);
    }
    return path;
}

void SearchWalk::Settle() const {
    object_.Set_Current(node_, Path());
}

}  // namespace Ostrel::Zam::tstore
