// The exports that answer questions about nodes: T_ExistsA, T_IsGroupA,
// T_GetNodePositionA, T_CountNodesA, T_GetFullPathA, T_GetChildFullPathA,
// T_GetNodeHandleA, T_GetFullPathFromHA and T_CheckCurrentNodeA.
//
// Decisions:
// - T_GetNodePositionA of a tree's root is 1: the root stands alone at the top
//   of its T object's tree (walks give it no siblings), even when the host has
//   hung it below a node of its own.
// - Node handles are those of the node class (VekTreeNode::GetHandle, the same
//   that VekTreeNewA gives). T_GetFullPathFromHA looks a handle up in the handle
//   table: a zero, negative, unknown or stale handle fails with 0xE204001A
//   "Node does not exist: handle %d" instead of being used as an address.
// - T_CheckCurrentNodeA never touches the remembered current node before it has
//   found that very node again by the current path (twin indexes completed):
//   the host may have freed it. Only then is the node's canonical path compared
//   with the current path, ignoring case, so a current path stored without its
//   indexes still fails with 0xE2040006.
#include <cstdint>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/error_model.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_queries.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_node_path.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"
#include "tstore/table/t_table.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

// The located node of a resolved path; raises 0xE204001A "Node not found".
VekTreeNode &FoundNode(const ResolvedPath &resolved, const char *source, std::string_view path) {
    if (!resolved.found)
        RaiseErrorFormat(kNodeMissing, source, "Node not found: %.239s", std::string(path).c_str());
    return *resolved.object->Current();
}

VekTreeNode &LocatedNode(std::string_view path, PathSyntax syntax, const char *source) {
    return FoundNode(Resolve_Path(path, syntax, source, path), source, path);
}

int32_t IsGroup(std::string_view path) {
    return LocatedNode(path, PathSyntax::kAttributePath, "T.T_IsGroup").IsGroup() ? 1 : 0;
}

int32_t NodePosition(std::string_view path) {
    constexpr char kSource[] = "T.T_GetNodePosition";
    const ResolvedPath resolved = Resolve_Path(path, PathSyntax::kNodePath, kSource, path);
    const VekTreeNode &node = FoundNode(resolved, kSource, path);
    return &node == resolved.object->Root() ? 1 : node.GetChildIndex() + 1;
}

int32_t NodeHandle(std::string_view path) {
    constexpr char kSource[] = "T.T_GetNodeHandle";
    const int32_t handle =
        CheckVekResult(LocatedNode(path, PathSyntax::kNodePath, kSource).GetHandle());
    if (handle <= 0)
        RaiseErrorFormat(kNodeMissing, kSource, "No handle for node: %.234s",
                         std::string(path).c_str());
    return handle;
}

// The pos-th child (1-based, within the child count), from the nearer end.
const VekTreeNode &ChildAt(const VekTreeNode &parent, int32_t pos) {
    const VekTreeNode *child = nullptr;
    if (pos <= parent.ChildCount() / 2) {
        child = parent.FirstChild();
        for (int32_t i = 1; i < pos; ++i)
            child = child->GetNextSib();
    } else {
        child = parent.LastChild();
        for (int32_t i = parent.ChildCount(); i > pos; --i)
            child = child->GetPrevSib();
    }
    return *child;
}

std::string ChildFullPath(std::string_view path, int32_t pos) {
    constexpr char kSource[] = "T.T_GetChildFullPath";
    T_Table &table = Table_Or_Raise(kSource, path);
    const std::string expanded = table.Aliases().Expand(path);
    if (pos < 1)
        RaiseErrorFormat(kParameterInvalid, kSource, "Invalid argument: Pos = %d", pos);
    Check_Node_Path_Syntax(expanded);
    T_Object &object = Object_Or_Raise(table, expanded, kSource, path);
    // Located as written: the current path keeps the caller's spelling.
    if (!Locate_Node(object, expanded))
        RaiseErrorFormat(kNodeMissing, kSource, "Node does not exist: %.233s",
                         std::string(path).c_str());
    const VekTreeNode &parent = *object.Current();
    if (pos > parent.ChildCount())
        RaiseErrorFormat(kNoNodeAtPosition, kSource, "No node found at position %d", pos);
    return object.Returned_Path(object.Current_Path() + '.' +
                                Indexed_Section(ChildAt(parent, pos)));
}

// The root of the T object nearest above the node (the first of equals), or null.
const VekTreeNode *NearestDeclaredRoot(const VekTreeNode &node) {
    const T_Table *table = Existing_T_Table();
    const VekTreeNode *nearest = nullptr;
    int32_t nearest_level = -1;
    for (int32_t i = 0; table != nullptr && i < table->Object_Count(); ++i) {
        const VekTreeNode *root = table->T_Object_At(i)->Root();
        const int32_t level = root != nullptr ? node.GetLevel(root) : -1;
        if (level >= 0 && (nearest == nullptr || level < nearest_level)) {
            nearest = root;
            nearest_level = level;
        }
    }
    return nearest;
}

std::string FullPathFromHandle(int32_t handle) {
    const VekTreeNode *node = VekTreeNode::FromHandle(handle);
    if (node == nullptr)
        RaiseErrorFormat(kNodeMissing, "T.T_GetFullPathFromH", "Node does not exist: handle %d",
                         handle);
    const std::string path = Full_Path_Of_Node(*node, NearestDeclaredRoot(*node));
    if (path.empty())
        return path;
    const T_Table *table = Existing_T_Table();
    const T_Object *object =
        table != nullptr ? table->T_Object_At(table->Find_T_Object(Get_Section(path, 1))) : nullptr;
    return object != nullptr ? object->Returned_Path(path) : Remove_First_Twin_Indexes(path);
}

void CheckCurrentNode(std::string_view name) {
    constexpr char kSource[] = "T.T_CheckCurrentNode";
    const T_Table &table = Table_Or_Raise(kSource, name);
    const T_Object *object = table.T_Object_At(table.Find_T_Object(name));
    if (object == nullptr)
        RaiseErrorFormat(kTObjectMissing, kSource, "T Object doesn't exist: %.231s",
                         std::string(name).c_str());
    const VekTreeNode *current = object->Current();
    const std::string &path = object->Current_Path();
    if (current == nullptr && path.empty())
        return;
    const bool consistent = current != nullptr &&
                            Find_Node(*object, Complete_Twin_Indexes(path)) == current &&
                            Same_Name(Full_Path_Of_Node(*current, object->Root()), path);
    if (!consistent)
        RaiseErrorFormat(kCurrentNodeInvalid, kSource, "Invalid current node: %.233s",
                         path.c_str());
}

}  // namespace

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

DAX64_API int32_t DAX64_CALL T_ExistsA(const char *path) {
    return tstore::StoreIntegerExport(
        "dax/t_node[159]", [&] { return tstore::Node_Or_Attribute_Exists(ArgumentInPlace(path)); });
}

DAX64_API int32_t DAX64_CALL T_IsGroupA(const char *path) {
    return tstore::StoreIntegerExport("dax/t_node[165]",
                                      [&] { return tstore::IsGroup(TextArgument(path).View()); });
}

DAX64_API int32_t DAX64_CALL T_GetNodePositionA(const char *path) {
    return tstore::StoreIntegerExport(
        "dax/t_node[170]", [&] { return tstore::NodePosition(TextArgument(path).View()); });
}

DAX64_API int32_t DAX64_CALL T_CountNodesA(const char *identifier, int32_t node_type) {
    return tstore::StoreIntegerExport("dax/t_node[175]", [&] {
        return tstore::Count_Nodes(TextArgument(identifier).View(), node_type);
    });
}

DAX64_API char *DAX64_CALL T_GetFullPathA(const char *identifier, int32_t what,
                                          int32_t error_handling) {
    return tstore::StoreTextExport("dax/t_node[181]", [&] {
        return AnsiString(
            tstore::Related_Full_Path(TextArgument(identifier).View(), what, error_handling));
    });
}

DAX64_API char *DAX64_CALL T_GetChildFullPathA(const char *path, int32_t position) {
    return tstore::StoreTextExport("dax/t_node[189]", [&] {
        return AnsiString(tstore::ChildFullPath(TextArgument(path).View(), position));
    });
}

DAX64_API int32_t DAX64_CALL T_GetNodeHandleA(const char *path) {
    return tstore::StoreIntegerExport(
        "dax/t_node[195]", [&] { return tstore::NodeHandle(TextArgument(path).View()); });
}

DAX64_API char *DAX64_CALL T_GetFullPathFromHA(int32_t handle) {
    return tstore::StoreTextExport("dax/t_node[200]",
                                   [&] { return AnsiString(tstore::FullPathFromHandle(handle)); });
}

DAX64_API int32_t DAX64_CALL T_CheckCurrentNodeA(const char *name) {
    return tstore::StoreIntegerExport("dax/t_node[205]", [&] {
        tstore::CheckCurrentNode(TextArgument(name).View());
        return 0;
    });
}
