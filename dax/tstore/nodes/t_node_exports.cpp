// The exports that change the shape of a declared tree: T_AddNodeA,
// T_DeleteNodeA and T_ChangeNodeTypeA.
//
// Decisions:
// - Every description that quotes a path or identifier quotes it as the caller
//   passed it (before alias expansion), except those of T_DeleteNodeA after the
//   T object was found, which quote the identifier's wildcard pattern.
// - T_DeleteNodeA remembers the paths it has deleted in an ordered set (names
//   ignoring case), so that a long run of deletions costs O(log n) per lookup
//   instead of inserting into a sorted array, and walks with a Twin_Tally, so
//   that each step after a deletion knows its twin index without a recount.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/error_model.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_node_building.h"
#include "tstore/nodes/t_walk.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_pattern.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_arguments.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"
#include "tstore/table/t_table.h"
#include "tstore/table/t_tree.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kDeleteSource[] = "T.T_DeleteNode";
constexpr char kChangeTypeSource[] = "T.T_ChangeNodeType";

constexpr int32_t kWithSubtree = 7;
constexpr int32_t kRefuseChildren = 9;

void CheckChoice(int32_t value, int32_t first, int32_t second, const char *source,
                 const char *argument) {
    if (value != first && value != second)
        Raise_Invalid_Argument(source, argument, value);
}

struct IgnoringCaseLess {
    bool operator()(const std::string &a, const std::string &b) const {
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
};

// T_DeleteNodeA below its start node: a pre-order walk that deletes each node
// matching the pattern and moves on where Delete_Node leaves the current node.
class MatchingDeletion {
  public:
    MatchingDeletion(T_Object &object, const std::string &fixed, std::string_view pattern,
                     int32_t recurse)
        : object_(object),
          pattern_(pattern),
          recurse_(recurse),
          fixed_sections_(Section_Count(fixed)),
          names_one_twin_(NamesOneTwin(pattern)) {}

    enum class Outcome { kDeleted, kNothingMatched, kNoChildren };

    Outcome Run() {
        const Twin_Tally_Scope tally(object_);
        VekTreeNode *start = object_.Current();
        if (Matches()) {
            Delete_Node(object_, recurse_);
            return Outcome::kDeleted;
        }
        if (!First_Child(object_))
            return Outcome::kNoChildren;
        bool deleted = false;
        do {
            if (!Step(deleted))
                break;
        } while (object_.Current() != start &&
                 Section_Count(object_.Current_Path()) > fixed_sections_);
        return deleted ? Outcome::kDeleted : Outcome::kNothingMatched;
    }

  private:
    // A pattern whose last section names one twin ("...[n]"): after deleting
    // X[n] its next twin takes the index n, and must not be deleted in its turn.
    static bool NamesOneTwin(std::string_view pattern) {
        return pattern.size() >= 2 && pattern.back() == ']' && pattern[pattern.size() - 2] != '#';
    }

    bool Matches() const {
        return Match_Identifier(object_.Current_Path(), pattern_, *object_.Current());
    }

    // Examines the current node; false when the walk has ended.
    bool Step(bool &deleted) {
        if (!Matches())
            return Next_Node(object_);
        if (names_one_twin_ && !deleted_paths_.insert(object_.Current_Path()).second)
            return Next_Node(object_);
        Delete_Node(object_, recurse_);
        deleted = true;
        return true;
    }

    T_Object &object_;
    const Identifier_Pattern pattern_;
    const int32_t recurse_;
    const int32_t fixed_sections_;
    const bool names_one_twin_;
    std::set<std::string, IgnoringCaseLess> deleted_paths_;
};

int32_t DeleteMatching(std::string_view identifier, int32_t recurse, int32_t handling) {
    CheckChoice(recurse, kWithSubtree, kRefuseChildren, kDeleteSource, "Recurse = ");
    CheckChoice(handling, kReportErrors, kSilentErrors, kDeleteSource, "Error_Handling = ");
    T_Table &table = Table_Or_Raise(kDeleteSource, identifier);
    const std::string expanded = table.Aliases().Expand(identifier);
    Check_Node_Identifier_Syntax(expanded);
    const bool report = handling == kReportErrors;
    T_Object *object = table.T_Object_At(table.Find_T_Object(Get_Section(expanded, 1)));
    if (object == nullptr) {
        if (!report)
            return 0;
        Object_Or_Raise(table, expanded, kDeleteSource, identifier);
    }
    const std::string fixed = Complete_Twin_Indexes(Identifier_Fixed_Prefix(expanded));
    const std::string pattern = Identifier_To_Pattern(expanded);
    MatchingDeletion::Outcome outcome = MatchingDeletion::Outcome::kNothingMatched;
    if (Locate_Node(*object, fixed))
        outcome = MatchingDeletion(*object, fixed, pattern, recurse).Run();
    if (outcome == MatchingDeletion::Outcome::kDeleted || !report)
        return 0;
    if (outcome == MatchingDeletion::Outcome::kNoChildren)
        RaiseErrorFormat(kNoChildren, kDeleteSource, "No children: %.242s", pattern.c_str());
    RaiseErrorFormat(kNoMatch, kDeleteSource, "No match for %.242s", pattern.c_str());
}

void ChangeNodeType(std::string_view path, int32_t node_type, int32_t handling) {
    T_Table &table = Table_Or_Raise(kChangeTypeSource, path);
    const std::string expanded = table.Aliases().Expand(path);
    Check_Node_Path_Syntax(expanded);
    CheckChoice(node_type, T_Tree::kItem, T_Tree::kGroup, kChangeTypeSource, "Node_Type = ");
    CheckChoice(handling, kWithSubtree, kRefuseChildren, kChangeTypeSource, "Error_Handling = ");
    T_Object &object = Object_Or_Raise(table, expanded, kChangeTypeSource, path);
    if (!Locate_Completing(object, expanded))
        RaiseErrorFormat(kNodeMissing, kChangeTypeSource, "Node not found: %.239s",
                         std::string(path).c_str());
    VekTreeNode &node = *object.Current();
    const bool to_group = node_type == static_cast<int32_t>(T_Tree::kGroup);
    if (node.IsGroup() == to_group)
        return;  // already of that type
    if (!to_group && node.FirstChild() != nullptr) {
        if (handling == kRefuseChildren)
            RaiseErrorFormat(kNodeHasChildren, kChangeTypeSource, "Node has children: %.236s",
                             std::string(path).c_str());
        Delete_Children(node);
    }
    Change_Type(node, static_cast<uint32_t>(node_type));
}

}  // namespace

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

DAX64_API int32_t DAX64_CALL T_AddNodeA(const char *path, int32_t node_type, int32_t position,
                                        int32_t error_handling) {
    return tstore::StoreIntegerExport("dax/t_build[176]", [&] {
        return tstore::Add_Node_At_Path(TextArgument(path).View(), node_type, position,
                                        error_handling);
    });
}

DAX64_API int32_t DAX64_CALL T_DeleteNodeA(const char *identifier, int32_t recurse,
                                           int32_t error_handling) {
    return tstore::StoreIntegerExport("dax/t_build[184]", [&] {
        return tstore::DeleteMatching(TextArgument(identifier).View(), recurse, error_handling);
    });
}

DAX64_API int32_t DAX64_CALL T_ChangeNodeTypeA(const char *path, int32_t node_type,
                                               int32_t error_handling) {
    return tstore::StoreIntegerExport("dax/t_build[191]", [&] {
        tstore::ChangeNodeType(TextArgument(path).View(), node_type, error_handling);
        return 0;
    });
}
