// Copying and moving nodes: a node with its subtree (Recurse 53), a node alone
// (37, copies only) or every child of a node (43) goes below a group, in the same
// tree or in another declared one, at a 1-based position among the group's
// children (-1: after the last).
//
// Decisions:
// - Copies are made by the nodes themselves (VekTreeNode::Copy): name, type bits
//   and every attribute value, with new node handles. A copy is held by its owner
//   until the group has taken it, so a failure frees every copy not yet inserted.
// - Recurse 43 copies all the children first and then inserts them, so the copies
//   show the children as they were when the call began, also when the group lies
//   below the source (a child-by-index loop would meet its own copies there).
// - A move detaches nothing before every check has passed. Refused with
//   0xE204000E: moving the root of a tree or of any declared T object (also as one
//   of the children moved by Recurse 43), and moving a node below itself or below
//   one of its descendants. The node class would refuse the insertion itself, and
//   a detached node has nowhere else to go.
// - Moving the children of a group into that same group changes nothing: they
//   are already its children, in their order.
// - Moving a node into its own parent at the position one past the last child
//   appends it: the position is checked against the children before the move,
//   which still count the node.
// - A move frees nothing. A T object whose current node was moved keeps it, and
//   its current path still names the old place until its next lookup.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "dax64.h"
#include "frame/error_model.h"
#include "tstore/nodes/t_child_run.h"
#include "tstore/nodes/t_source_destination.h"
#include "tstore/paths/t_node_path.h"
#include "tstore/table/t_arguments.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"
#include "tstore/table/t_object.h"
#include "tstore/table/t_table.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kCopySource[] = "T.T_CopyNode";
constexpr char kMoveSource[] = "T.T_MoveNode";

constexpr int32_t kWithSubtree = 53;  // 0x35
constexpr int32_t kNodeAlone = 37;    // 0x25
constexpr int32_t kChildren = 43;     // 0x2B

// The 0-based index of a 1-based position; -1 (append) stays.
int32_t ChildIndex(int32_t position) {
    return position == -1 ? -1 : position - 1;
}

void CheckPosition(int32_t position, int32_t code, const char *source, const char *format) {
    if (position < 1 && position != -1)
        RaiseErrorFormat(code, source, format, position);
}

// ---- Copying ---------------------------------------------------------------

struct DeleteSubtree {
    void operator()(VekTreeNode *node) const { node->Delete(true); }
};
using DetachedCopy = std::unique_ptr<VekTreeNode, DeleteSubtree>;

DetachedCopy CopyOf(const VekTreeNode &node, bool with_subtree) {
    DetachedCopy copy(node.Copy(with_subtree));
    if (copy == nullptr)
        RaiseOutOfMemory();
    return copy;
}

// Inserts the copies; the group owns those it took, even when a later one fails.
void InsertCopies(VekTreeNode &group, int32_t position, std::vector<DetachedCopy> &copies) {
    std::vector<VekTreeNode *> run;
    run.reserve(copies.size());
    for (const DetachedCopy &copy : copies)
        run.push_back(copy.get());
    struct HandOver {
        std::vector<DetachedCopy> &copies;
        ~HandOver() {
            for (DetachedCopy &copy : copies) {
                if (copy->Parent() != nullptr)
                    static_cast<void>(copy.release());
            }
        }
    } hand_over{copies};
    Insert_Children(group, ChildIndex(position), run);
}

void CopyNode(std::string_view source, std::string_view destination, int32_t position,
              int32_t recurse) {
    if (recurse != kWithSubtree && recurse != kNodeAlone && recurse != kChildren)
        Raise_Invalid_Argument(kCopySource, "Recurse = ", recurse);
    CheckPosition(position, kParameterInvalid, kCopySource, "Invalid argument: Position = %d");
    const SourceAndDestination nodes =
        Resolve_Source_And_Destination(source, destination, position, kCopySource);
    std::vector<DetachedCopy> copies;
    if (recurse == kChildren) {
        copies.reserve(static_cast<size_t>(nodes.source->ChildCount()));
        for (const VekTreeNode *child = nodes.source->FirstChild(); child != nullptr;
             child = child->GetNextSib())
            copies.push_back(CopyOf(*child, true));
    } else {
        copies.push_back(CopyOf(*nodes.source, recurse == kWithSubtree));
    }
    InsertCopies(*nodes.destination, position, copies);
}

// ---- Moving ----------------------------------------------------------------

std::unordered_set<const VekTreeNode *> DeclaredRoots() {
    std::unordered_set<const VekTreeNode *> roots;
    const T_Table *table = Existing_T_Table();
    for (int32_t i = 0; table != nullptr && i < table->Object_Count(); ++i)
        roots.insert(table->T_Object_At(i)->Root());
    return roots;
}

// The path of a node of the source's tree as that tree writes paths.
std::string PathInSourceTree(const T_Object &object, const VekTreeNode &node) {
    return object.Returned_Path(Full_Path_Of_Node(node, object.Root()));
}

[[noreturn]] void RefuseBelowItself(const std::string &moved, bool itself) {
    RaiseErrorFormat(kParameterInvalid, kMoveSource,
                     itself ? "Invalid argument: cannot move %.200s below itself"
                            : "Invalid argument: cannot move %.200s below its own descendant",
                     moved.c_str());
}

[[noreturn]] void RefuseRoot(const std::string &moved) {
    RaiseErrorFormat(kParameterInvalid, kMoveSource,
                     "Invalid argument: cannot move the root node %.200s", moved.c_str());
}

void CheckNodeMovable(const SourceAndDestination &nodes, std::string_view written_source) {
    const std::string moved(written_source);
    if (DeclaredRoots().contains(nodes.source) || nodes.source->Parent() == nullptr)
        RefuseRoot(moved);
    const int32_t level = nodes.destination->GetLevel(nodes.source);
    if (level >= 0)
        RefuseBelowItself(moved, level == 0);
}

// The children of the source: none may be a declared root, and the group must not
// lie below one of them.
void CheckChildrenMovable(const SourceAndDestination &nodes) {
    const std::unordered_set<const VekTreeNode *> roots = DeclaredRoots();
    for (const VekTreeNode *child = nodes.source->FirstChild(); child != nullptr;
         child = child->GetNextSib()) {
        if (roots.contains(child))
            RefuseRoot(PathInSourceTree(*nodes.source_object, *child));
    }
    // Walk up from the group to the source; the last node passed is the child of
    // the source that holds the group.
    const VekTreeNode *below_source = nullptr;
    for (const VekTreeNode *at = nodes.destination; at != nullptr; at = at->Parent()) {
        if (at == nodes.source) {
            if (below_source != nullptr)
                RefuseBelowItself(PathInSourceTree(*nodes.source_object, *below_source),
                                  below_source == nodes.destination);
            return;
        }
        below_source = at;
    }
}

void MoveWithSubtree(const SourceAndDestination &nodes, int32_t position) {
    VekTreeNode &node = *nodes.source;
    VekTreeNode &group = *nodes.destination;
    VekTreeNode *old_parent = node.Parent();
    VekTreeNode *old_next = node.GetNextSib();
    node.Remove();
    int32_t index = ChildIndex(position);
    if (index > group.ChildCount())
        index = -1;  // the node was one of the group's children
    if (group.AddChild(&node, index) < 0) {
        // Back to its old place, which had room for it.
        old_parent->AddChild(&node, old_next != nullptr ? old_next->GetChildIndex() : -1);
        RethrowThreadError();
    }
}

void MoveChildren(const SourceAndDestination &nodes, int32_t position) {
    VekTreeNode &source = *nodes.source;
    if (&source == nodes.destination)
        return;
    std::vector<VekTreeNode *> run;
    run.reserve(static_cast<size_t>(source.ChildCount()));
    while (VekTreeNode *child = source.FirstChild()) {
        child->Remove();
        run.push_back(child);
    }
    // Children the group did not take go back to the source, in their order.
    struct GiveBack {
        VekTreeNode &source;
        const std::vector<VekTreeNode *> &run;
        ~GiveBack() {
            for (VekTreeNode *child : run) {
                if (child->Parent() == nullptr)
                    source.AddChild(child, -1);
            }
        }
    } give_back{source, run};
    Insert_Children(*nodes.destination, ChildIndex(position), run);
}

void MoveNode(std::string_view source, std::string_view destination, int32_t position,
              int32_t recurse) {
    CheckPosition(position, kPositionInvalid, kMoveSource, "Invalid position: %d");
    if (recurse != kWithSubtree && recurse != kChildren)
        Raise_Invalid_Argument(kMoveSource, "Recurse = ", recurse);
    const SourceAndDestination nodes =
        Resolve_Source_And_Destination(source, destination, position, kMoveSource);
    if (recurse == kWithSubtree) {
        CheckNodeMovable(nodes, source);
        MoveWithSubtree(nodes, position);
    } else {
        CheckChildrenMovable(nodes);
        MoveChildren(nodes, position);
    }
}

}  // namespace

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

DAX64_API int32_t DAX64_CALL T_CopyNodeA(const char *source, const char *destination,
                                         int32_t position, int32_t recurse) {
    return tstore::StoreIntegerExport("dax/t_copy_move[238]", [&] {
        tstore::CopyNode(TextArgument(source).View(), TextArgument(destination).View(), position,
                         recurse);
        return 0;
    });
}

DAX64_API int32_t DAX64_CALL T_MoveNodeA(const char *source, const char *destination,
                                         int32_t position, int32_t recurse) {
    return tstore::StoreIntegerExport("dax/t_copy_move[247]", [&] {
        tstore::MoveNode(TextArgument(source).View(), TextArgument(destination).View(), position,
                         recurse);
        return 0;
    });
}
