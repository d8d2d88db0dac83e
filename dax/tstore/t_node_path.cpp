#include "tstore/t_node_path.h"

#include <string_view>
#include <vector>

#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

int32_t Twin_Index(const VekTreeNode &node) {
    return node.Parent() == nullptr ? 1 : node.GetTwinIndex();
}

int32_t Twin_Count(const VekTreeNode &node) {
    return node.Parent() == nullptr ? 0 : node.GetTwinCount();
}

std::string Indexed_Section(const VekTreeNode &node) {
    std::string section(node.GetName());
    section += '[';
    section += std::to_string(Twin_Index(node));
    section += ']';
    return section;
}

std::string Full_Path_Of_Node(const VekTreeNode &node, const VekTreeNode *stop) {
    std::vector<const VekTreeNode *> chain;
    const VekTreeNode *at = &node;
    while (at->Parent() != nullptr && at != stop) {
        chain.push_back(at);
        at = at->Parent();
    }
    std::string path(at->GetName());
    for (auto step = chain.rbegin(); step != chain.rend(); ++step) {
        path += '.';
        path += Indexed_Section(**step);
    }
    return path;
}

}  // namespace Ostrel::Zam::tstore
