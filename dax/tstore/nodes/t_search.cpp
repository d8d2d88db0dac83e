// Searching a tree by attribute value: T_SearchA walks in pre-order from a
// starting node, below the fixed part of a node identifier, to the next node whose
// path matches the identifier and whose attribute holds the value (as a whole, or
// as a part); T_SearchNextA goes on after the node last found.
//
// Decisions:
// - The state of the last search lives in the T table and is shared by all trees:
//   the identifier after alias expansion, the value, Mode, whole-value flag and
//   compare option are kept by every call that finds its T object, the path of the
//   node found (canonical, with every twin index) only by a call that finds one.
//   So after a search that finds nothing, T_SearchNextA goes on from the last hit.
// - The starting node is never examined. The walk ends at the first node whose
//   path has no more sections than the identifier's fixed part, i.e. on leaving
//   the subtree below it; that node (or the last one, at the end of the tree)
//   stays current when nothing is found.
// - T_SearchNextA without a table fails as T_SearchA does without one, quoting an
//   empty identifier. With a table but no search made yet it repeats a search with
//   Mode 0, which is refused as an invalid Mode.
// - The walk is that of Next_Node, but the path of a node is written only when
//   it is needed: for a hit, for the node where the walk ends, and for matching
//   a pattern other than "<fixed part>.*" (which is decided by the fixed part
//   alone). Raw 8-bit texts are compared where the node keeps them. So a search
//   for "<group>.*" costs a few pointer steps and one comparison per node.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "dax64.h"
#include "frame/error_model.h"
#include "imports/vek_imports.h"
#include "tstore/attributes/t_attributes.h"
#include "tstore/nodes/t_locate.h"
#include "tstore/nodes/t_search_walk.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_pattern.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_arguments.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_export.h"
#include "tstore/table/t_object.h"
#include "tstore/table/t_table.h"
#include "vek64_store.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

constexpr char kSearchSource[] = "T.T_Search";
// Variant type codes below this one (empty, null) hold no value.
constexpr uint32_t kFirstValueType = 2;

[[noreturn]] void RaiseNoTObject(std::string_view identifier) {
    RaiseErrorFormat(kTObjectMissing, kSearchSource, "T Object doesn't exist: %.231s",
                     std::string(identifier).c_str());
}

void CheckMode(int32_t mode) {
    if (mode != kRawMode && mode != kFormattedMode && mode != kNoTextMode)
        Raise_Invalid_Argument(kSearchSource, "Mode=", mode);
}

// Whether an attribute's text holds the value: equal to it, or containing it.
bool Holds(std::string_view text, std::string_view value, uint8_t whole_value, int32_t option) {
    const auto text_length = static_cast<int32_t>(text.size());
    const auto value_length = static_cast<int32_t>(value.size());
    const auto options = static_cast<uint32_t>(option);
    if (whole_value != 0)
        return VekStrnCompA(text.data(), text_length, value.data(), value_length, options) == 0;
    return VekStrnSearchA(text.data(), text_length, value.data(), value_length, options, 0) >= 0;
}

// What one search looks for, once its texts are checked and its tree is found.
struct Query {
    T_Object *object = nullptr;
    std::string attribute;
    std::string fixed_part;
    std::string pattern;
    int32_t depth_limit = 0;  // sections of the identifier's fixed part
    std::string start_path;   // canonical
};

Query Prepare(T_Table &table, const LastSearch &request, std::string_view written_identifier,
              std::string_view expanded_start) {
    const AttributePath parts = Split_Attribute_Path(request.identifier);
    Query query;
    query.object = table.T_Object_At(table.Find_T_Object(Get_Section(parts.node, 1)));
    if (query.object == nullptr)
        RaiseNoTObject(written_identifier);
    table.Last_Search().identifier = request.identifier;
    table.Last_Search().value = request.value;
    table.Last_Search().mode = request.mode;
    table.Last_Search().whole_value = request.whole_value;
    table.Last_Search().compare_option = request.compare_option;

    query.attribute = parts.attribute.empty() ? Default_Attribute_Name(*query.object)
                                              : std::string(parts.attribute);
    if (query.attribute.empty())
        RaiseErrorFormat(kNoDefaultAttribute, kSearchSource, "No default attribute for %.229s",
                         std::string(written_identifier).c_str());
    query.fixed_part = Identifier_Fixed_Prefix(parts.node);
    query.depth_limit = Section_Count(query.fixed_part);
    query.pattern = Identifier_To_Pattern(parts.node);
    query.start_path =
        Complete_Twin_Indexes(expanded_start.empty() ? query.fixed_part : expanded_start);
    return query;
}

// Whether the nodes of a walk match the identifier's pattern. The walk never
// leaves the group at the end of the fixed part (it stops there), so a pattern
// that is the fixed part and ".*" matches either every node of the walk or none:
// only the text of those leading sections decides, and that changes only when the
// walk drops sections of its starting path. Such a pattern is matched once per
// change; any other pattern at every node.
class PatternTest {
  public:
    explicit PatternTest(const Query &query)
        : pattern_(query.pattern),
          fixed_sections_(query.depth_limit),
          by_fixed_part_(query.pattern == Complete_Twin_Indexes(query.fixed_part) + ".*" &&
                         query.pattern.find("-1") == std::string::npos) {}

    bool Matches(const SearchWalk &walk) {
        if (!by_fixed_part_)
            return Match_Identifier(walk.Path(), pattern_, walk.Node());
        const int32_t leading_text = std::min(walk.Kept_Sections(), fixed_sections_);
        if (leading_text != decided_for_) {
            decision_ = Match_Identifier(walk.Path(), pattern_, walk.Node());
            decided_for_ = leading_text;
        }
        return decision_;
    }

  private:
    const Identifier_Pattern pattern_;
    int32_t fixed_sections_;
    bool by_fixed_part_;
    int32_t decided_for_ = -1;
    bool decision_ = false;
};

// The attribute's text as Get_Attribute_Value gives it. Mode 2 reads nothing, and
// a raw read of a node without the attribute, or with an 8-bit text in it, is
// answered from the node's property list in place; any other value, and every
// formatted read, goes through Get_Attribute_Value with the node made current.
// `buffer` keeps a text read that way.
std::string_view AttributeText(const SearchWalk &walk, const Query &query, int32_t mode,
                               std::string &buffer) {
    if (mode == kNoTextMode)
        return {};
    if (mode == kRawMode) {
        const VEKPROPERTYA *property =
            VekPropsFindNamedItemA(walk.Node().Properties(), query.attribute.c_str());
        if (property == nullptr || property->value.type < kFirstValueType)
            return {};
        if (property->value.type == VEK_VT_TEXT) {
            const char *text = property->value.value.text;
            return {text != nullptr ? text : "", static_cast<size_t>(VekTextLength(text))};
        }
    }
    walk.Settle();
    buffer = Get_Attribute_Value(*query.object, query.attribute, mode).View();
    return buffer;
}

std::string WalkToHit(SearchWalk &walk, const Query &query, const LastSearch &request) {
    PatternTest pattern(query);
    std::string buffer;
    while (walk.Step() && walk.Section_Count() > query.depth_limit) {
        if (pattern.Matches(walk) &&
            Holds(AttributeText(walk, query, request.mode, buffer), request.value,
                  request.whole_value, request.compare_option))
            return walk.Path();
    }
    return {};
}

// Walks from the starting node to the next hit; its canonical path, or empty. The
// node where the walk ends (the hit, or where it stopped) becomes current, also
// when reading an attribute fails.
std::string Walk(const Query &query, const LastSearch &request) {
    T_Object &object = *query.object;
    if (!Locate_Node(object, query.start_path))
        return {};
    SearchWalk walk(object);
    try {
        std::string found = WalkToHit(walk, query, request);
        walk.Settle();
        return found;
    } catch (...) {
        walk.Settle();
        throw;
    }
}

// `request` holds the caller's texts; its path_found is not used.
AnsiString Search(const LastSearch &request, std::string_view start) {
    CheckMode(request.mode);
    T_Table *table = Existing_T_Table();
    if (table == nullptr)
        RaiseNoTObject(request.identifier);
    LastSearch expanded = request;
    expanded.identifier = table->Aliases().Expand(request.identifier);
    const std::string expanded_start =
        start.empty() ? std::string() : table->Aliases().Expand(start);
    Check_Attribute_Identifier_Syntax(expanded.identifier);
    if (!expanded_start.empty())
        Check_Node_Path_Syntax(expanded_start);

    const Query query = Prepare(*table, expanded, request.identifier, expanded_start);
    std::string found = Walk(query, expanded);
    if (found.empty())
        return {};
    AnsiString result(query.object->Returned_Path(found));
    table->Last_Search().path_found = std::move(found);
    return result;
}

AnsiString SearchNext() {
    T_Table *table = Existing_T_Table();
    if (table == nullptr)
        RaiseNoTObject("");
    // A copy: the search rewrites the state it starts from.
    const LastSearch last = table->Last_Search();
    return Search(last, last.path_found);
}

}  // namespace

}  // namespace Ostrel::Zam::tstore

using namespace Ostrel::Zam;

DAX64_API char *DAX64_CALL T_SearchA(const char *identifier, const char *value, const char *start,
                                     int32_t mode, uint8_t whole_value, int32_t compare_option) {
    return tstore::StoreTextExport("dax/t_search[235]", [&] {
        tstore::LastSearch request;
        request.identifier = TextArgument(identifier).Str();
        request.value = TextArgument(value).Str();
        request.mode = mode;
        request.whole_value = whole_value;
        request.compare_option = compare_option;
        return tstore::Search(request, TextArgument(start).View());
    });
}

DAX64_API char *DAX64_CALL T_SearchNextA(void) {
    return tstore::StoreTextExport("dax/t_search[248]", [] { return tstore::SearchNext(); });
}
