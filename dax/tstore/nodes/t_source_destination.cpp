#include "tstore/nodes/t_source_destination.h"

#include <string>

#include "frame/error_model.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_object.h"
#include "tstore/table/t_table.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

// One of the two paths on its way from the caller's text to a node.
struct PathAtHand {
    std::string_view written;  // as the caller passed it
    std::string expanded;      // after alias expansion
    T_Object *object = nullptr;
};

void FindObject(const T_Table &table, PathAtHand &path, const char *error_source) {
    path.object = table.T_Object_At(table.Find_T_Object(Get_Section(path.expanded, 1)));
    if (path.object == nullptr)
        RaiseErrorFormat(kTObjectMissing, error_source, "T Object doesn't exist: %.231s",
                         std::string(path.written).c_str());
}

VekTreeNode *LocateOrRaise(const PathAtHand &path, const char *error_source) {
    if (!Locate_Completing(*path.object, path.expanded))
        RaiseErrorFormat(kNodePathInvalid, error_source, "Invalid node path: %.236s",
                         std::string(path.written).c_str());
    return path.object->Current();
}

void CheckPosition(const VekTreeNode &destination, int32_t position, const char *error_source) {
    // 64 bits: a group with INT32_MAX children must not wrap the limit.
    if (static_cast<int64_t>(position) > static_cast<int64_t>(destination.ChildCount()) + 1)
        RaiseErrorFormat(kPositionInvalid, error_source, "Invalid position: %d", position);
}

}  // namespace

SourceAndDestination Resolve_Source_And_Destination(std::string_view source,
                                                    std::string_view destination, int32_t position,
                                                    const char *error_source) {
    const T_Table *table = Existing_T_Table();
    if (table == nullptr)
        RaiseErrorFormat(kTObjectMissing, error_source, "T Object doesn't exist: %.231s",
                         std::string(source).c_str());
    PathAtHand from{source, table->Aliases().Expand(source)};
    PathAtHand to{destination, table->Aliases().Expand(destination)};
    Check_Node_Path_Syntax(from.expanded);
    Check_Node_Path_Syntax(to.expanded);
    FindObject(*table, from, error_source);
    FindObject(*table, to, error_source);

    SourceAndDestination nodes;
    nodes.source_object = from.object;
    nodes.source = LocateOrRaise(from, error_source);
    nodes.destination_object = to.object;
    nodes.destination = LocateOrRaise(to, error_source);
    if (!nodes.destination->IsGroup())
        RaiseErrorFormat(kParentNotGroup, error_source, "Destination node is not a group:%.223s",
                         to.expanded.c_str());
    CheckPosition(*nodes.destination, position, error_source);
    return nodes;
}

}  // namespace Ostrel::Zam::tstore
