#include "tstore/paths/t_node_path.h"

#include "tstore/paths/t_names.h"
#include "tstore/paths/t_upward_path.h"
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
    Append_Twin_Index(section, Twin_Index(node));
    return section;
}

std::string Full_Path_Of_Node(const VekTreeNode &node, const VekTreeNode *stop) {
    std::string path;
    Upward_Path_Writer writer(path);
    const VekTreeNode *at = &node;
    for (; at->Parent() != nullptr && at != stop; at = at->Parent())
        writer.Add_Section(at->GetName(), Twin_Index(*at));
    writer.Finish(at->GetName());
    return path;
}

}  // namespace Ostrel::Zam::tstore
