#include "tstore/t_walk.h"

#include <string>
#include <string_view>
#include <vector>

#include "tstore/t_names.h"
#include "tstore/t_node_path.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

std::string TallyKey(std::string_view name) {
    std::string key(name);
    for (char &c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

void AppendSection(std::string &path, const VekTreeNode &node, int32_t index) {
    path += '.';
    path += node.GetName();
    path += '[';
    path += std::to_string(index);
    path += ']';
}

bool MoveToSibling(T_Object &object, VekTreeNode *sibling) {
    if (sibling == nullptr)
        return false;
    std::string path(Parent_Path(object.Current_Path()));
    AppendSection(path, *sibling, Walk_Twin_Index(object, *sibling));
    object.Set_Current(sibling, std::move(path));
    return true;
}

// The current node when it may step to a sibling: not the root.
VekTreeNode *CurrentBelowRoot(const T_Object &object) {
    VekTreeNode *current = object.Current();
    return current != nullptr && current != object.Root() ? current : nullptr;
}

// The canonical path of `next`, `level` levels below the root, reached by
// climbing from the current node. Its ancestors are the current node's too, so
// their indexes stand in the current path; names come from the nodes. Falls back
// to building the path from the node class when the current path does not fit
// the current node's depth.
std::string ClimbedPath(const T_Object &object, const VekTreeNode &next, int32_t level) {
    const VekTreeNode &root = *object.Root();
    const std::vector<std::string_view> sections = Sections(object.Current_Path());
    if (static_cast<int32_t>(sections.size()) != object.Current()->GetLevel(&root) + 1)
        return Full_Path_Of_Node(next, &root);
    std::vector<const VekTreeNode *> ancestors(static_cast<size_t>(level - 1));
    const VekTreeNode *at = next.Parent();
    for (size_t i = ancestors.size(); i-- > 0; at = at->Parent())
        ancestors[i] = at;
    std::string path(root.GetName());
    for (size_t i = 0; i < ancestors.size(); ++i) {
        const int32_t index = Twin_Index_Of_Section(sections[i + 1]);
        AppendSection(path, *ancestors[i], index >= 1 ? index : Twin_Index(*ancestors[i]));
    }
    AppendSection(path, next, Walk_Twin_Index(object, next));
    return path;
}

}  // namespace

int32_t Twin_Tally::Step_To(const VekTreeNode &node) {
    const auto found = groups_.find(node.Parent());
    if (found == groups_.end() || found->second.last != node.GetPrevSib())
        return 0;
    Group &group = found->second;
    group.last = &node;
    return ++group.counts[TallyKey(node.GetName())];
}

void Twin_Tally::Before_Delete(const VekTreeNode &node) {
    groups_.erase(&node);  // its own children go with it
    Group &group = groups_[node.Parent()];
    if (group.last == &node) {
        group.last = node.GetPrevSib();
        --group.counts[TallyKey(node.GetName())];
        return;
    }
    if (group.last == node.GetPrevSib())
        return;  // counted up to just before the node (or a new group at its start)
    group.counts.clear();
    group.last = node.GetPrevSib();
    for (const VekTreeNode *child = node.Parent()->FirstChild(); child != &node;
         child = child->GetNextSib())
        ++group.counts[TallyKey(child->GetName())];
}

int32_t Walk_Twin_Index(const T_Object &object, const VekTreeNode &node) {
    if (Twin_Tally *tally = object.Tally()) {
        if (const int32_t index = tally->Step_To(node))
            return index;
    }
    return Twin_Index(node);
}

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
    VekTreeNode *next = current->GetNextNode();
    const int32_t level = next != nullptr ? next->GetLevel(object.Root()) : -1;
    if (level <= 0)
        return false;
    object.Set_Current(next, ClimbedPath(object, *next, level));
    return true;
}

}  // namespace Ostrel::Zam::tstore
