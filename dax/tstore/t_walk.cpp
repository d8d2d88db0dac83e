#include "tstore/t_walk.h"

#include <string>

#include "tstore/t_names.h"
#include "tstore/t_node_path.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

bool MoveToSibling(T_Object &object, VekTreeNode *sibling) {
    if (sibling == nullptr)
        return false;
    std::string path(Parent_Path(object.Current_Path()));
    path += '.';
    path += Indexed_Section(*sibling);
    object.Set_Current(sibling, std::move(path));
    return true;
}

// The current node when it may step to a sibling: not the root.
VekTreeNode *CurrentBelowRoot(const T_Object &object) {
    VekTreeNode *current = object.Current();
    return current != nullptr && current != object.Root() ? current : nullptr;
}

}  // namespace

bool First_Child(T_Object &object) {
    VekTreeNode *current = object.Current();
    VekTreeNode *child = current != nullptr ? current->FirstChild() : nullptr;
    if (child == nullptr)
        return false;
    std::string path = object.Current_Path();
    path += '.';
    path += child->GetName();
    path += "[1]";
    object.Set_Current(child, std::move(path));
    return true;
}

bool Next_Sibling(T_Object &object) {
    const VekTreeNode *current = CurrentBelowRoot(object);
    return current != nullptr && MoveToSibling(object, current->GetNextSib());
}

bool Previous_Sibling(T_Object &object) {
    const VekTreeNode *current = CurrentBelowRoot(object);
    return current != nullptr && MoveToSibling(object, current->GetPrevSib());
}

bool Next_Node(T_Object &object) {
    const VekTreeNode *current = object.Current();
    if (current == nullptr)
        return false;
    if (First_Child(object) || Next_Sibling(object))
        return true;
    VekTreeNode *root = object.Root();
    VekTreeNode *next = current->GetNextNode();
    if (next == nullptr || next->GetLevel(root) <= 0)
        return false;
    object.Set_Current(next, Full_Path_Of_Node(*next, root));
    return true;
}

}  // namespace Ostrel::Zam::tstore
