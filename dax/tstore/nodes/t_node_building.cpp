#include "tstore/nodes/t_node_building.h"

#include <memory>
#include <string>
#include <vector>

#include "frame/error_model.h"
#include "imports/vek_variant.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_sought_name.h"
#include "tstore/nodes/t_walk.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_node_path.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_arguments.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_object.h"
#include "tstore/table/t_table.h"
#include "tstore/table/t_tree.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kAddSource[] = "T.T_AddNode";
constexpr char kAddNodeSource[] = "T.T_Object.Add_Node";
constexpr char kDeleteSource[] = "T.T_Object.Delete_Node";

// Error_Handling of T_AddNodeA when the parent has a child of the new name.
constexpr int32_t kAddTwin = 3;
constexpr int32_t kRefuseTwin = 11;
constexpr int32_t kSkipTwin = 41;
// Recurse of Delete_Node that refuses a node with children.
constexpr int32_t kRefuseChildren = 9;

[[noreturn]] void RaiseInvalidNodePath(std::string_view quoted) {
    RaiseErrorFormat(kNodePathInvalid, kAddSource, "Invalid node path: %.236s",
                     std::string(quoted).c_str());
}

[[noreturn]] void RaiseParentNotGroup(std::string_view quoted) {
    RaiseErrorFormat(kParentNotGroup, kAddSource, "Parent is not group node: %.229s",
                     std::string(quoted).c_str());
}

void CheckNodeType(int32_t node_type) {
    if (node_type != static_cast<int32_t>(T_Tree::kItem) &&
        node_type != static_cast<int32_t>(T_Tree::kGroup))
        Raise_Invalid_Argument(kAddSource, "Node_Type = ", node_type);
}

bool IsNamed(const VekTreeNode &node, std::string_view name) {
    return !node.GetName().empty() && Same_Name(node.GetName(), name);
}

int64_t ChildrenNamed(const VekTreeNode &parent, std::string_view name) {
    int64_t count = 0;
    for (const VekTreeNode *child = parent.FirstChild(); child != nullptr;
         child = child->GetNextSib())
        count += IsNamed(*child, name) ? 1 : 0;
    return count;
}

// How many twins a section asks for: its index, or one for -1 (the last twin).
int64_t TwinsWanted(std::string_view section) {
    const int32_t index = Twin_Index_Of_Section(section);
    return index == -1 ? 1 : index;
}

// Making the parent groups that a parent path names but the tree lacks. The
// parent path failed to locate: the current node is the deepest ancestor found,
// and section `first_missing` (0-based) is the first that names nothing. Twins
// are appended until the section's index exists; below a new group every
// section's twins are new. Missing groups are made as a T_AddNodeA of the parent
// path cut before its last index (type group, last position, twins allowed)
// would make them, one call per group, until the parent path can be found.
class MissingParents {
  public:
    MissingParents(T_Object &object, std::string_view parent_path, int64_t most_groups)
        : object_(object),
          most_groups_(most_groups),
          sections_(Sections(parent_path)),
          first_missing_(static_cast<size_t>(Section_Count(object.Current_Path()))) {}

    void Make() {
        VekTreeNode *parent = object_.Current();
        // The T_AddNodeA that makes the first group quotes this path.
        if (!parent->IsGroup())
            RaiseParentNotGroup(PathOfFirstGroup());
        if (Groups_To_Make(*parent) > most_groups_)
            RaiseErrorFormat(kNodePathInvalid, kAddSource, "Too many missing parent nodes: %.220s",
                             PathOfFirstGroup().c_str());
        std::string written = object_.Current_Path();
        int64_t existing = ChildrenNamed(*parent, Name(first_missing_));
        for (size_t i = first_missing_; i < sections_.size(); ++i) {
            parent = AppendTwins(*parent, written, Name(i), TwinsWanted(sections_[i]) - existing);
            written += '.';
            written += Name(i);
            written += '[' + std::to_string(TwinsWanted(sections_[i])) + ']';
            existing = 0;
        }
    }

  private:
    std::string_view Name(size_t section) const { return Strip_Twin_Index(sections_[section]); }

    std::string PathOfFirstGroup() const {
        std::string path(sections_.front());
        for (size_t i = 1; i < first_missing_; ++i) {
            path += '.';
            path += sections_[i];
        }
        path += '.';
        path += Name(first_missing_);
        return path;
    }

    int64_t Groups_To_Make(const VekTreeNode &parent) const {
        int64_t count = -ChildrenNamed(parent, Name(first_missing_));
        for (size_t i = first_missing_; i < sections_.size(); ++i)
            count += TwinsWanted(sections_[i]);
        return count;
    }

    // Appends `count` groups named `name` to `parent`; the last one made.
    VekTreeNode *AppendTwins(VekTreeNode &parent, const std::string &parent_path,
                             std::string_view name, int64_t count) {
        object_.Set_Current(&parent, parent_path);
        for (int64_t i = 0; i < count; ++i)
            Add_Node(object_, name, T_Tree::kGroup, parent.ChildCount() + 1);
        return parent.LastChild();
    }

    T_Object &object_;
    int64_t most_groups_;
    std::vector<std::string_view> sections_;
    size_t first_missing_;
};

// The parent of the new node located as the current node, its missing groups
// made first. The canonical text of the parent path is only written out when the
// parent is missing: locating completes the twin indexes as it walks.
VekTreeNode &LocateOrMakeParent(T_Object &object, std::string_view parent_path,
                                int64_t most_missing_parents) {
    if (!Locate_Completing(object, parent_path)) {
        const std::string canonical = Complete_Twin_Indexes(parent_path);
        MissingParents(object, canonical, most_missing_parents).Make();
        if (!Locate_Node(object, canonical))
            RaiseErrorFormat(kNodeMissing, kAddSource, "Node not found: %.239s", canonical.c_str());
    }
    return *object.Current();
}

// The twin index that `sibling`, which followed a node named `name` with twin
// index `index`, has once that node is gone. Worked out from what is known
// instead of asking the node class, whose twin cache every deletion outdates:
// asking it would recount all siblings after each deletion of a run of twins.
int32_t IndexAfterDeletion(const VekTreeNode &sibling, std::string_view name, int32_t index) {
    if (sibling.GetPrevSib() == nullptr)
        return 1;
    if (Same_Name(sibling.GetName(), name))
        return index;
    return Twin_Index(sibling);
}

// The twin index of the current node, as its canonical path writes it.
int32_t CurrentTwinIndex(const T_Object &object, const VekTreeNode &node) {
    const std::string &path = object.Current_Path();
    const size_t dot = path.rfind('.');
    const int32_t index = Twin_Index_Of_Section(
        std::string_view(path).substr(dot == std::string::npos ? 0 : dot + 1));
    return index >= 1 ? index : Twin_Index(node);
}

void ForgetCurrentNodesIn(const VekTreeNode &top) {
    if (T_Table *table = Existing_T_Table())
        table->Forget_Current_Nodes_In(top);
}

}  // namespace

VekTreeNode &Add_Node(T_Object &object, std::string_view name, uint32_t node_type,
                      int32_t position) {
    VekTreeNode *parent = object.Current();
    if (parent == nullptr)
        RaiseError(kCurrentNodeInvalid, kAddNodeSource, "Invalid current node");
    auto node = std::make_unique<T_Tree>(node_type);
    CheckVekResult(node->SetName(name.data(), static_cast<int32_t>(name.size())));
    Give_Initial_Attribute_Values(object, *node);
    const int32_t placed = CheckVekResult(parent->AddChild(node.get(), position - 1));
    if (placed < 0)
        RaiseErrorFormat(kPositionInvalid, kAddNodeSource, "Invalid position: %d", position);
    return *node.release();  // the parent owns it now
}

void Delete_Node(T_Object &object, int32_t recurse) {
    VekTreeNode *node = object.Current();
    if (node == nullptr || node == object.Root())
        RaiseError(kNodePathInvalid, kDeleteSource, "Node path is invalid");
    if (recurse == kRefuseChildren && node->FirstChild() != nullptr)
        RaiseError(kNodeHasChildren, kDeleteSource, "Node has children");
    const std::string name(node->GetName());
    const int32_t index = CurrentTwinIndex(object, *node);
    std::string path(Parent_Path(object.Current_Path()));
    VekTreeNode *sibling = node->GetNextSib();
    VekTreeNode *parent = node->Parent();
    Twin_Tally *tally = object.Tally();
    if (tally != nullptr)
        tally->Before_Delete(*node);
    ForgetCurrentNodesIn(*node);
    node->Delete(true);
    if (sibling == nullptr) {
        object.Set_Current(parent, std::move(path));
        return;
    }
    const int32_t sibling_index = tally != nullptr ? Walk_Twin_Index(object, *sibling)
                                                   : IndexAfterDeletion(*sibling, name, index);
    path += '.';
    path += sibling->GetName();
    path += '[' + std::to_string(sibling_index) + ']';
    object.Set_Current(sibling, std::move(path));
}

void Delete_Children(VekTreeNode &node) {
    while (VekTreeNode *child = node.FirstChild()) {
        ForgetCurrentNodesIn(*child);
        child->Delete(true);
    }
}

void Change_Type(VekTreeNode &node, uint32_t node_type) {
    VekVariant type;
    CheckVekResult(node._GetProperty("Type", type.Get()));
    const uint32_t kind = type.Type();
    if (kind == VEK_VT_TEXT || kind == VEK_VT_WTEXT) {
        char *raw = nullptr;
        CheckVekResult(VekVarToStrA(type.Get(), &raw));
        const std::string text = raw != nullptr ? std::string(raw) : std::string();
        VekTextFree(raw);
        const char *written = nullptr;
        if (Same_Name(text, "Item") && node_type == T_Tree::kGroup)
            written = "Group";
        else if (Same_Name(text, "Group") && node_type == T_Tree::kItem)
            written = "Item";
        if (written != nullptr) {
            VekVariant value;
            CheckVekResult(VekVarFromStrA(value.Get(), written, -1));
            CheckVekResult(node._SetProperty("Type", value.Get()));
        }
    }
    node.SetAttributes(T_Tree::kGroup, node_type);
}

namespace {

// Whether a plain path names a node just added: the first of its name below its
// parent. Without twins allowed it has none; with twins, the siblings before it
// are compared only in small groups, so that adding a long run of twins one call
// at a time stays linear (such a node is then simply not kept).
bool NamedByPlainPath(const VekTreeNode &added, int32_t error_handling) {
    constexpr int32_t kMostCompared = 32;
    if (error_handling != kAddTwin)
        return true;
    const VekTreeNode &parent = *added.Parent();
    if (parent.ChildCount() > kMostCompared)
        return false;
    const SoughtName name(added.GetName());
    for (const VekTreeNode *child = parent.FirstChild(); child != &added;
         child = child->GetNextSib()) {
        if (name.Matches(*child))
            return false;
    }
    return true;
}

}  // namespace

// The parent of a new node whose path holds names and full stops only, found by
// the walk that checks the parent path's syntax (Find_Plain_Path), with the T
// object in `object`. Null when the path
// has another form or its parent is missing: the path is then checked and its
// parent located (or made) step by step, failing where it always has.
VekTreeNode *FindPlainParent(const T_Table &table, std::string_view path, T_Object *&object) {
    const std::string_view parent_path = Parent_Path(path);
    if (parent_path.empty())
        return nullptr;
    const std::string_view name = path.substr(parent_path.size() + 1);
    if (name.empty())
        return nullptr;
    for (const char c : name) {
        if (!kNameSet.Contains(c))
            return nullptr;
    }
    object = table.T_Object_At(table.Find_T_Object(Get_Section(path, 1)));
    return object != nullptr ? Find_Plain_Path(*object, parent_path) : nullptr;
}

int32_t Add_Node_At_Path(std::string_view path, int32_t node_type, int32_t position,
                         int32_t error_handling, int64_t most_missing_parents) {
    T_Table &table = Table_Or_Raise(kAddSource, path);
    std::string storage;
    const std::string_view expanded = table.Aliases().Expand(path, storage);
    T_Object *found_object = nullptr;
    VekTreeNode *plain_parent = FindPlainParent(table, expanded, found_object);
    const bool found_plain = plain_parent != nullptr;
    if (found_plain) {
        CheckNodeType(node_type);
        found_object->Commit_Plain_Path(plain_parent, Parent_Path(expanded));
    } else {
        Check_Node_Path_Syntax(expanded);
        if (expanded.back() == ']')
            RaiseInvalidNodePath(path);  // a new node is named, not indexed
        CheckNodeType(node_type);
        found_object = &Object_Or_Raise(table, expanded, kAddSource, path);
        const std::string_view parent_path = Parent_Path(expanded);
        if (parent_path.empty())
            RaiseInvalidNodePath(path);  // the root is declared, never added
        plain_parent = &LocateOrMakeParent(*found_object, parent_path, most_missing_parents);
    }
    T_Object &object = *found_object;
    VekTreeNode &parent = *plain_parent;
    if (!parent.IsGroup())
        RaiseParentNotGroup(path);
    const std::string_view name = Node_Name_Of_Path(expanded);
    if (error_handling != kAddTwin && object.Child_Names().Has_Child_Named(parent, name)) {
        if (error_handling == kRefuseTwin)
            RaiseErrorFormat(kNodeHasTwins, kAddSource, "Node %.240s has twins",
                             std::string(path).c_str());
        if (error_handling == kSkipTwin)
            return 0;
        Raise_Invalid_Argument(kAddSource, "Error_Handling = ", error_handling);
    }
    const int64_t last = static_cast<int64_t>(parent.ChildCount()) + 1;
    if (position != -1 && (position < 1 || position > last))
        RaiseErrorFormat(kPositionInvalid, kAddSource, "Invalid position: %d", position);
    VekTreeNode &added = Add_Node(object, name, static_cast<uint32_t>(node_type),
                                  position == -1 ? static_cast<int32_t>(last) : position);
    if (error_handling != kAddTwin)
        object.Child_Names().Child_Added(parent, name);
    if (found_plain && NamedByPlainPath(added, error_handling))
        object.Last_Added().Keep(Parent_Path(expanded), added);
    return 0;
}

}  // namespace Ostrel::Zam::tstore
