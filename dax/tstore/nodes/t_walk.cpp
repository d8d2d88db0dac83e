#include "tstore/nodes/t_walk.h"

#include <string>
#include <string_view>

#include "tstore/paths/t_names.h"
#include "tstore/paths/t_node_path.h"
#include "tstore/paths/t_upward_path.h"
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
    Append_Twin_Index(path, index);
}

// The sibling's path replaces the last section of the current path in place.
bool MoveToSibling(T_Object &object, VekTreeNode *sibling) {
    if (sibling == nullptr)
        return false;
    const int32_t index = Walk_Twin_Index(object, *sibling);
    std::string &path = object.Move_Current(sibling);
    path.resize(Parent_Path(path).size());
    AppendSection(path, *sibling, index);
    return true;
}

// The current node when it may step to a sibling: not the root.
VekTreeNode *CurrentBelowRoot(const T_Object &object) {
    const VekTreeNode *root = object.Root();
    VekTreeNode *current = object.Current(root);
    return current != root ? current : nullptr;
}

void MoveToFirstChild(T_Object &object, VekTreeNode &child) {
    std::string &path = object.Move_Current(&child);
    path += '.';
    path += child.GetName();
    path += "[1]";
}

// The sections of a path taken from its end backwards.
class SectionsFromEnd {
  public:
    explicit SectionsFromEnd(std::string_view path) : rest_(path) {}

    std::string_view Take() {
        const size_t stop = rest_.rfind('.');
        const std::string_view section =
            stop == std::string_view::npos ? rest_ : rest_.substr(stop + 1);
        rest_ = stop == std::string_view::npos ? std::string_view() : rest_.substr(0, stop);
        return section;
    }

  private:
    std::string_view rest_;
};

// Makes `next`, `level` levels below the root, current after a climb from the
// current node. Its ancestors are the current node's too, so their indexes stand
// in the current path, in the sections just above the current node's own deeper
// ones; names come from the nodes. The path is written upwards while climbing
// from `next`. Falls back to building the path from the node class when the
// current path does not fit the current node's depth.
void MoveAfterClimb(T_Object &object, const VekTreeNode &root, const VekTreeNode &current,
                    VekTreeNode &next, int32_t level) {
    const int32_t current_level = current.GetLevel(&root);
    if (Section_Count(object.Current_Path()) != current_level + 1) {
        object.Set_Current(&next, Full_Path_Of_Node(next, &root));
        return;
    }
    const int32_t next_index = Walk_Twin_Index(object, next);
    object.Rewrite_Current(&next, [&](std::string_view old_path, std::string &path) {
        SectionsFromEnd old_sections(old_path);
        for (int32_t dropped = current_level; dropped >= level; --dropped)
            old_sections.Take();
        Upward_Path_Writer writer(path);
        writer.Add_Section(next.GetName(), next_index);
        for (const VekTreeNode *at = next.Parent(); at != &root; at = at->Parent()) {
            const int32_t index = Twin_Index_Of_Section(old_sections.Take());
            writer.Add_Section(at->GetName(), index >= 1 ? index : Twin_Index(*at));
        }
        writer.Finish(root.GetName());
    });
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
    MoveToFirstChild(object, *child);
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

// The root's handle is looked up once a step.
bool Next_Node(T_Object &object) {
    const VekTreeNode *root = object.Root();
    const VekTreeNode *current = object.Current(root);
    if (current == nullptr)
        return false;
    if (VekTreeNode *child = current->FirstChild()) {
        MoveToFirstChild(object, *child);
        return true;
    }
    if (current != root && MoveToSibling(object, current->GetNextSib()))
        return true;
    VekTreeNode *next = current->GetNextNode();
    const int32_t level = next != nullptr ? next->GetLevel(root) : -1;
    if (level <= 0)
        return false;
    MoveAfterClimb(object, *root, *current, *next, level);
    return true;
}

}  // namespace Ostrel::Zam::tstore
