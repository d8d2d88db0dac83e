// Locate_Node walks down level by level (no recursion): at each level it scans the
// parent's children for the sought twin, forwards for an index n until the n-th
// match, backwards from the last child for -1. The index found for -1 comes from
// the node class's twin cache.
#include "tstore/t_locate.h"

#include <cstdint>
#include <vector>

#include "frame/error_model.h"
#include "tstore/t_errors.h"
#include "tstore/t_names.h"
#include "tstore/t_syntax.h"
#include "tstore/t_table.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

struct Twin {
    VekTreeNode *node = nullptr;
    int32_t index = 0;
};

Twin LastTwin(const VekTreeNode &parent, std::string_view name) {
    for (VekTreeNode *child = parent.LastChild(); child != nullptr; child = child->GetPrevSib()) {
        if (Same_Name(child->GetName(), name))
            return {child, child->GetTwinIndex()};
    }
    return {};
}

Twin NthTwin(const VekTreeNode &parent, std::string_view name, int32_t index) {
    int32_t count = 0;
    for (VekTreeNode *child = parent.FirstChild(); child != nullptr; child = child->GetNextSib()) {
        if (Same_Name(child->GetName(), name) && ++count == index)
            return {child, index};
    }
    return {};
}

Twin FindTwin(const VekTreeNode &parent, std::string_view section) {
    const std::string_view name = section.substr(0, section.find('['));
    const int32_t index = Twin_Index_Of_Section(section);
    if (name.empty() || parent.FirstChild() == nullptr || (index < 1 && index != -1))
        return {};
    return index == -1 ? LastTwin(parent, name) : NthTwin(parent, name, index);
}

// The section as it goes into the current path: as written, or with the index
// found in place of -1.
void AppendSection(std::string &path, std::string_view section, const Twin &twin) {
    path += '.';
    if (Twin_Index_Of_Section(section) != -1) {
        path += section;
        return;
    }
    path += Strip_Twin_Index(section);
    path += '[';
    path += std::to_string(twin.index);
    path += ']';
}

// Where a walk down a path ended: the node found, or the deepest ancestor reached.
struct Reached {
    VekTreeNode *node = nullptr;
    bool found = false;
};

// Walks down from the root section by section; `written`, when given, receives
// the path of the node reached (sections as written, -1 replaced by the index
// found).
Reached WalkDown(VekTreeNode &root, std::string_view path, std::string *written) {
    const std::vector<std::string_view> sections = Sections(path);
    if (written != nullptr)
        *written = sections.front();
    Reached reached{&root, true};
    for (size_t i = 1; i < sections.size() && reached.found; ++i) {
        const Twin twin = FindTwin(*reached.node, sections[i]);
        reached.found = twin.node != nullptr;
        if (!reached.found)
            break;
        if (written != nullptr)
            AppendSection(*written, sections[i], twin);
        reached.node = twin.node;
    }
    return reached;
}

bool IsRootSection(const VekTreeNode &root, std::string_view path) {
    return !path.empty() && Same_Name(Get_Section(path, 1), root.GetName());
}

[[noreturn]] void RaiseObjectMissing(const char *source, std::string_view quoted) {
    RaiseErrorFormat(kTObjectMissing, source, "T Object doesn't exist: %.231s",
                     std::string(quoted).c_str());
}

ResolvedPath ResolveQuoting(std::string_view path, PathSyntax syntax, const char *source,
                            const std::string_view *quoted) {
    T_Table &table = Table_Or_Raise(source, quoted != nullptr ? *quoted : Get_Section(path, 1));
    const std::string expanded = table.Aliases().Expand(path);
    ResolvedPath resolved;
    std::string_view node_part = expanded;
    if (syntax == PathSyntax::kAttributePath) {
        Check_Attribute_Path_Syntax(expanded);
        const AttributePath parts = Split_Attribute_Path(expanded);
        node_part = parts.node;
        resolved.attribute = parts.attribute;
    } else {
        Check_Node_Path_Syntax(expanded);
    }
    resolved.object = &Object_Or_Raise(table, node_part, source,
                                       quoted != nullptr ? *quoted : Get_Section(node_part, 1));
    resolved.node_path = Complete_Twin_Indexes(node_part);
    resolved.found = Locate_Node(*resolved.object, resolved.node_path);
    return resolved;
}

}  // namespace

bool Locate_Node(T_Object &object, std::string_view path) {
    object.Reset_Current_Node();
    VekTreeNode *root = object.Root();
    if (root == nullptr)
        return false;
    object.Set_Current(root, std::string(root->GetName()));
    if (!IsRootSection(*root, path))
        return false;
    std::string written;
    const Reached reached = WalkDown(*root, path, &written);
    object.Set_Current(reached.node, std::move(written));
    return reached.found;
}

VekTreeNode *Find_Node(const T_Object &object, std::string_view path) {
    VekTreeNode *root = object.Root();
    if (root == nullptr || !IsRootSection(*root, path))
        return nullptr;
    const Reached reached = WalkDown(*root, path, nullptr);
    return reached.found ? reached.node : nullptr;
}

T_Table &Table_Or_Raise(const char *source, std::string_view quoted) {
    T_Table *table = Existing_T_Table();
    if (table == nullptr)
        RaiseObjectMissing(source, quoted);
    return *table;
}

T_Object &Object_Or_Raise(const T_Table &table, std::string_view path, const char *source,
                          std::string_view quoted) {
    T_Object *object = table.T_Object_At(table.Find_T_Object(Get_Section(path, 1)));
    if (object == nullptr)
        RaiseObjectMissing(source, quoted);
    return *object;
}

ResolvedPath Resolve_Path(std::string_view path, PathSyntax syntax, const char *source) {
    return ResolveQuoting(path, syntax, source, nullptr);
}

ResolvedPath Resolve_Path(std::string_view path, PathSyntax syntax, const char *source,
                          std::string_view quoted) {
    return ResolveQuoting(path, syntax, source, &quoted);
}

}  // namespace Ostrel::Zam::tstore
