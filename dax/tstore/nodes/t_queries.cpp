#include "tstore/nodes/t_queries.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "frame/error_model.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_walk.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_node_path.h"
#include "tstore/paths/t_pattern.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_arguments.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_table.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kCountSource[] = "T.T_CountNodes";
constexpr char kFullPathSource[] = "T.T_GetFullPath";

constexpr int32_t kItemType = 0;
constexpr int32_t kGroupType = 128;
constexpr int32_t kAnyType = 1;

// The pattern of "+[#]" as the last section: every child with a name.
constexpr std::string_view kEveryChild = ".<0-9a-zA-Z_()/, :'->[#]";

int32_t ClampedCount(int64_t count) {
    return static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX));
}

bool TypeFits(const VekTreeNode &node, int32_t node_type) {
    return node_type == kAnyType || node.IsGroup() == (node_type == kGroupType);
}

bool CurrentMatches(const T_Object &object, const Identifier_Pattern &pattern) {
    return Match_Identifier(object.Current_Path(), pattern, *object.Current());
}

// Whether a walk from the start has left the start's subtree: back at the start
// or at a path no deeper than the fixed part.
bool LeftSubtree(const T_Object &object, const VekTreeNode *current, const VekTreeNode *start,
                 int32_t fixed_sections) {
    return current == start || Section_Count(object.Current_Path()) <= fixed_sections;
}

// An identifier resolved to its T object, fixed part and pattern.
struct Selection {
    T_Object *object = nullptr;
    std::string fixed;  // the leading sections without wildcards, canonical
    Identifier_Pattern pattern;
};

Selection Select(T_Object &object, std::string_view expanded) {
    return {&object, Complete_Twin_Indexes(Identifier_Fixed_Prefix(expanded)),
            Identifier_Pattern(Identifier_To_Pattern(expanded))};
}

int64_t CountBelow(const Selection &selection, int32_t node_type) {
    T_Object &object = *selection.object;
    const VekTreeNode *start = object.Current();
    int64_t count = 0;
    if (!First_Child(object))
        return count;
    const int32_t fixed_sections = Section_Count(selection.fixed);
    // Counting changes nothing in the tree: the root looked up once serves every
    // step of the walk.
    const VekTreeNode *root = object.Root();
    do {
        const VekTreeNode &node = *object.Current(root);
        if (Match_Identifier(object.Current_Path(), selection.pattern, node) &&
            TypeFits(node, node_type))
            ++count;
    } while (Next_Node(object) &&
             !LeftSubtree(object, object.Current(root), start, fixed_sections));
    return count;
}

// With type 1, the two identifiers that select every descendant or every child
// of the start are answered by the node class.
bool CountsWholeLevels(const Selection &selection, int64_t &count) {
    const VekTreeNode &start = *selection.object->Current();
    if (Same_Name(selection.pattern.Text(), selection.fixed + ".*")) {
        count = start.GetNodeCount();
        return true;
    }
    if (Same_Name(selection.pattern.Text(), selection.fixed + std::string(kEveryChild))) {
        count = start.ChildCount();
        return true;
    }
    return false;
}

// The first node that the selection selects, made the current node: the located
// fixed part itself when the identifier has no wildcards, else the first node
// from there on in pre-order that matches.
bool FindFirst(const Selection &selection, bool wildcards) {
    T_Object &object = *selection.object;
    const bool located = Locate_Node(object, selection.fixed);
    if (!wildcards)
        return located;
    const int32_t fixed_sections = Section_Count(selection.fixed);
    while (!CurrentMatches(object, selection.pattern)) {
        if (!Next_Node(object) || Section_Count(object.Current_Path()) <= fixed_sections)
            return false;
    }
    return true;
}

std::string CurrentPathIf(const T_Object &object, bool moved) {
    return moved ? object.Current_Path() : std::string();
}

// The next node in pre-order with the current node's name.
std::string NextOfSameName(T_Object &object) {
    const std::string name(object.Current()->GetName());
    while (Next_Node(object)) {
        if (Same_Name(object.Current()->GetName(), name))
            return object.Current_Path();
    }
    return {};
}

std::string LastChildPath(const T_Object &object) {
    const VekTreeNode *last = object.Current()->LastChild();
    if (last == nullptr)
        return {};
    return object.Current_Path() + '.' + Indexed_Section(*last);
}

// The path that `what` names relative to the current node (the node found).
std::string RelatedPath(T_Object &object, int32_t what_value) {
    switch (what_value) {
        case what::kNode:
            return object.Current_Path();
        case what::kNextNode:
            return CurrentPathIf(object, Next_Node(object));
        case what::kNextSameName:
            return NextOfSameName(object);
        case what::kFirstChild:
            return CurrentPathIf(object, First_Child(object));
        case what::kLastChild:
            return LastChildPath(object);
        case what::kNextSibling:
            return CurrentPathIf(object, Next_Sibling(object));
        case what::kPreviousSibling:
            return CurrentPathIf(object, Previous_Sibling(object));
        case what::kParent:
            return std::string(Parent_Path(object.Current_Path()));
        default:  // what::kRoot
            return std::string(Get_Section(object.Current_Path(), 1));
    }
}

bool IsWhat(int32_t value) {
    for (int32_t known :
         {what::kNode, what::kNextNode, what::kNextSameName, what::kFirstChild, what::kLastChild,
          what::kNextSibling, what::kPreviousSibling, what::kParent, what::kRoot}) {
        if (value == known)
            return true;
    }
    return false;
}

void CheckFullPathArguments(int32_t what_value, int32_t handling) {
    if (!IsWhat(what_value))
        Raise_Invalid_Argument(kFullPathSource, "What = ", what_value);
    if (handling != kReportErrors && handling != kSilentErrors)
        Raise_Invalid_Argument(kFullPathSource, "Error_Handling = ", handling);
}

[[noreturn]] void RaiseNoMatch(std::string_view identifier) {
    RaiseErrorFormat(kNoMatch, kFullPathSource, "No match for %.242s",
                     std::string(identifier).c_str());
}

// What T_GetFullPathA gives with Error_Handling 27 when nothing was found: the
// parent and the root can still be read off an identifier without wildcards.
std::string PathWithoutNode(const Selection &selection, std::string_view expanded, bool wildcards,
                            int32_t what_value) {
    if (what_value == what::kParent && !wildcards)
        return std::string(Parent_Path(Complete_Twin_Indexes(expanded)));
    if (what_value == what::kRoot)
        return std::string(Get_Section(selection.pattern.Text(), 1));
    return {};
}

}  // namespace

int32_t Node_Or_Attribute_Exists(std::string_view path) {
    const T_Table *table = Existing_T_Table();
    if (table == nullptr)
        return 0;
    std::string storage;
    const std::string_view expanded = table->Aliases().Expand(path, storage);
    // A node path of names only that names a node is found by the walk that checks
    // its syntax; every other path is checked and located step by step.
    T_Object *object = table->T_Object_At(table->Find_T_Object(Get_Section(expanded, 1)));
    if (object != nullptr && expanded.find('!') == std::string_view::npos) {
        if (VekTreeNode *node = Find_Plain_Path(*object, expanded)) {
            object->Commit_Plain_Path(node, expanded);
            return 1;
        }
    }
    const AttributePath parts = Check_Attribute_Path_Syntax(expanded);
    object = table->T_Object_At(table->Find_T_Object(Get_Section(parts.node, 1)));
    if (object == nullptr || !Locate_Completing(*object, parts.node))
        return 0;
    if (!parts.attribute.empty() && !Attribute_Has_Value(*object, parts.attribute))
        return 0;
    return 1;
}

int32_t Count_Nodes(std::string_view identifier, int32_t node_type) {
    if (node_type != kGroupType && node_type != kItemType && node_type != kAnyType)
        Raise_Invalid_Argument(kCountSource, "Node_Type = ", node_type);
    T_Table &table = Table_Or_Raise(kCountSource, identifier);
    const std::string expanded = table.Aliases().Expand(identifier);
    Check_Node_Identifier_Syntax(expanded);
    const Selection selection =
        Select(Object_Or_Raise(table, expanded, kCountSource, identifier), expanded);
    T_Object &object = *selection.object;
    if (!Locate_Node(object, selection.fixed))
        return 0;
    const VekTreeNode &start = *object.Current();
    int64_t count = CurrentMatches(object, selection.pattern) && TypeFits(start, node_type) ? 1 : 0;
    if (node_type == kAnyType && CountsWholeLevels(selection, count))
        return ClampedCount(count);
    return ClampedCount(count + CountBelow(selection, node_type));
}

std::string Related_Full_Path(std::string_view identifier, int32_t what_value,
                              int32_t error_handling) {
    const bool report = error_handling != kSilentErrors;
    T_Table *table = Existing_T_Table();
    if (table == nullptr && !report)
        return {};
    if (table == nullptr)
        Table_Or_Raise(kFullPathSource, identifier);
    const std::string expanded = table->Aliases().Expand(identifier);
    CheckFullPathArguments(what_value, error_handling);
    Check_Node_Identifier_Syntax(expanded);
    T_Object *object = table->T_Object_At(table->Find_T_Object(Get_Section(expanded, 1)));
    if (object == nullptr && !report)
        return {};
    if (object == nullptr)
        Object_Or_Raise(*table, expanded, kFullPathSource, identifier);
    const Selection selection = Select(*object, expanded);
    const bool wildcards = !Same_Name(expanded, Identifier_Fixed_Prefix(expanded));
    std::string path;
    if (FindFirst(selection, wildcards))
        path = RelatedPath(*object, what_value);
    else if (report)
        RaiseNoMatch(identifier);
    else
        path = PathWithoutNode(selection, expanded, wildcards, what_value);
    if (path.empty() && report)
        RaiseNoMatch(identifier);
    return path.empty() ? path : object->Returned_Path(path);
}

}  // namespace Ostrel::Zam::tstore
