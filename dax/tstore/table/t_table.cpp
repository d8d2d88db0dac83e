#include "tstore/table/t_table.h"

#include <cstddef>
#include <utility>

#include "tstore/paths/t_names.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

// The store's one process-wide pointer. It owns the table, but deliberately not
// as a static smart pointer: unloading the module must not destroy a table that
// T_Terminate has not ended, because the property lists it holds belong to the
// support library, which may be unloaded first.
T_Table *g_t_table = nullptr;

// The node after `node` in pre-order that still lies below `top`; null after the
// subtree's last node.
const VekTreeNode *NextInSubtree(const VekTreeNode &node, const VekTreeNode &top) {
    if (node.FirstChild() != nullptr)
        return node.FirstChild();
    for (const VekTreeNode *at = &node; at != &top; at = at->Parent()) {
        if (at->GetNextSib() != nullptr)
            return at->GetNextSib();
    }
    return nullptr;
}

}  // namespace

int32_t T_Table::Find_T_Object(std::string_view name) const {
    for (size_t i = 0; i < objects_.size(); ++i) {
        if (Same_Name(objects_[i]->Name(), name))
            return static_cast<int32_t>(i);
    }
    return -1;
}

T_Object *T_Table::T_Object_At(int32_t index) const {
    if (index < 0 || index >= Object_Count())
        return nullptr;
    return objects_[static_cast<size_t>(index)].get();
}

T_Object &T_Table::Add(std::unique_ptr<T_Object> object) {
    objects_.push_back(std::move(object));
    return *objects_.back();
}

void T_Table::Remove_At(int32_t index) {
    objects_.erase(objects_.begin() + index);
}

void T_Table::Forget_Current_Nodes_In(const VekTreeNode &top) {
    std::vector<T_Object *> holders;
    std::vector<const VekTreeNode *> currents;
    for (const std::unique_ptr<T_Object> &object : objects_) {
        if (const VekTreeNode *current = object->Current()) {
            holders.push_back(object.get());
            currents.push_back(current);
        }
    }
    for (const VekTreeNode *node = &top; node != nullptr && !holders.empty();
         node = NextInSubtree(*node, top)) {
        for (size_t i = holders.size(); i-- > 0;) {
            if (currents[i] != node)
                continue;
            holders[i]->Reset_Current_Node();
            holders.erase(holders.begin() + static_cast<std::ptrdiff_t>(i));
            currents.erase(currents.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

T_Table *Existing_T_Table() {
    return g_t_table;
}

T_Table &Get_T_Table() {
    if (g_t_table == nullptr)
        g_t_table = std::make_unique<T_Table>().release();
    return *g_t_table;
}

void Destroy_T_Table() {
    const std::unique_ptr<T_Table> ending(std::exchange(g_t_table, nullptr));
}

}  // namespace Ostrel::Zam::tstore
