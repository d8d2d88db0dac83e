// Locate_Node walks down level by level (no recursion): at each level it scans the
// parent's children for the sought twin, forwards for an index n until the n-th
// match, backwards from the last child for -1. The index found for -1 comes from
// the node class's twin cache. The walk steps through the path's sections in
// place and writes the current path straight into the object's text, so a lookup
// allocates nothing once that text has grown to the tree's longest path.
#include "tstore/nodes/t_locate.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "frame/error_model.h"
#include "tstore/nodes/t_sought_name.h"
#include "tstore/paths/t_names.h"
#include "tstore/paths/t_syntax.h"
#include "tstore/table/t_errors.h"
#include "tstore/table/t_table.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

namespace {

struct Twin {
    VekTreeNode *node = nullptr;
    int32_t index = 0;
};

Twin LastTwin(const VekTreeNode &parent, const SoughtName &name) {
    for (VekTreeNode *child = parent.LastChild(); child != nullptr; child = child->GetPrevSib()) {
        if (name.Matches(*child))
            return {child, child->GetTwinIndex()};
    }
    return {};
}

Twin NthTwin(const VekTreeNode &parent, const SoughtName &name, int32_t index) {
    int32_t count = 0;
    for (VekTreeNode *child = parent.FirstChild(); child != nullptr; child = child->GetNextSib()) {
        if (name.Matches(*child) && ++count == index)
            return {child, index};
    }
    return {};
}

// One section of a path after the first, read in one pass up to the next full
// stop: the whole section, the name before its first '[' and where it ends.
struct PathSection {
    std::string_view text;
    std::string_view name;
    size_t end = 0;  // the offset of the full stop after it, or the path's length
};

PathSection ReadSection(std::string_view path, size_t start) {
    size_t stop = start;
    size_t open = std::string_view::npos;
    for (; stop < path.size() && path[stop] != '.'; ++stop) {
        if (path[stop] == '[' && open == std::string_view::npos)
            open = stop;
    }
    const size_t name_end = open == std::string_view::npos ? stop : open;
    return {path.substr(start, stop - start), path.substr(start, name_end - start), stop};
}

// The twin index written on a section (Twin_Index_Of_Section), without a call for
// the sections that carry none, as most sections of most paths.
int32_t WrittenIndex(const PathSection &section) {
    return Carries_Twin_Index(section.text) ? Twin_Index_Of_Section(section.text) : 1;
}

// The child that a section names; `index` is the twin index written on it.
Twin FindTwin(const VekTreeNode &parent, const PathSection &section, int32_t index) {
    if (section.name.empty() || parent.FirstChild() == nullptr || (index < 1 && index != -1))
        return {};
    const SoughtName name(section.name);
    return index == -1 ? LastTwin(parent, name) : NthTwin(parent, name, index);
}

// How the sections of the sought path go into the current path.
enum class Writing {
    kAsWritten,  // as the caller wrote them
    kCompleted,  // with "[1]" where no index is written (the canonical form)
};

// Writes the path of the node a walk reaches straight into the current path's
// text: sized once for the longest text the sought path can give, filled through a
// pointer, and cut to its length when the walk ends.
class PathWriter {
  public:
    PathWriter(std::string &text, std::string_view sought) : text_(text) {
        // A section grows by at most "[1]", or from "[-1]" to a ten-digit index.
        text_.resize(5 * sought.size() + 16);
        next_ = text_.data();
    }
    PathWriter(const PathWriter &) = delete;
    PathWriter &operator=(const PathWriter &) = delete;
    ~PathWriter() { text_.resize(static_cast<size_t>(next_ - text_.data())); }

    // Parts are a name or a section: a plain loop copies a few bytes for less
    // than a call to the library's copy.
    void Put(std::string_view part) {
        for (const char c : part)
            *next_++ = c;
    }
    void PutFirstIndex() {
        next_[0] = '[';
        next_[1] = '1';
        next_[2] = ']';
        next_ += 3;
    }
    void PutIndex(int32_t index) {
        *next_++ = '[';
        next_ = std::to_chars(next_, next_ + 11, index).ptr;
        *next_++ = ']';
    }

    // A section found, with the full stop before it: with the index found in
    // place of -1, else as written (or completed).
    void PutSection(const PathSection &section, int32_t written_index, const Twin &twin,
                    Writing writing) {
        if (written_index == -1) {
            *next_++ = '.';
            Put(Strip_Twin_Index(section.text));
            PutIndex(twin.index);
            return;
        }
        // A section after the first follows a full stop in the path it was read from.
        Put(std::string_view(section.text.data() - 1, section.text.size() + 1));
        if (writing == Writing::kCompleted && !Carries_Twin_Index(section.text))
            PutFirstIndex();
    }

  private:
    std::string &text_;
    char *next_;
};

// Where a walk down a path ended: the node found, or the deepest ancestor reached.
struct Reached {
    VekTreeNode *node = nullptr;
    bool found = false;
};

// Walks down from the root section by section; `writer`, when given, receives the
// path of the node reached (-1 replaced by the index found).
Reached WalkDown(VekTreeNode &root, std::string_view path, PathWriter *writer, Writing writing) {
    const size_t root_end = std::min(path.find('.'), path.size());
    if (writer != nullptr)
        writer->Put(path.substr(0, root_end));
    Reached reached{&root, true};
    for (size_t start = root_end + 1; start <= path.size();) {
        const PathSection section = ReadSection(path, start);
        const int32_t index = WrittenIndex(section);
        const Twin twin = FindTwin(*reached.node, section, index);
        if (twin.node == nullptr)
            return {reached.node, false};
        if (writer != nullptr)
            writer->PutSection(section, index, twin, writing);
        reached.node = twin.node;
        start = section.end + 1;
    }
    return reached;
}

// Where the run of name characters of `path` from `start` ends.
size_t NameRunEnd(std::string_view path, size_t start) {
    while (start < path.size() && kNameSet.Contains(path[start]))
        ++start;
    return start;
}

// Whether a name run from `start` to `end` is a whole, non-empty section.
bool WholeSection(std::string_view path, size_t start, size_t end) {
    return end != start && (end == path.size() || path[end] == '.');
}

bool IsRootSection(const VekTreeNode &root, std::string_view path) {
    return !path.empty() && Same_Name(Get_Section(path, 1), root.GetName());
}

bool Locate(T_Object &object, std::string_view path, Writing writing) {
    object.Reset_Current_Node();
    VekTreeNode *root = object.Root();
    if (root == nullptr)
        return false;
    std::string &written = object.Move_Current(root);
    if (!IsRootSection(*root, path)) {
        written.assign(root->GetName());
        return false;
    }
    Reached reached;
    {
        PathWriter writer(written, path);
        reached = WalkDown(*root, path, &writer, writing);
    }
    object.Move_Current(reached.node);
    return reached.found;
}

[[noreturn]] void RaiseObjectMissing(const char *source, std::string_view quoted) {
    RaiseErrorFormat(kTObjectMissing, source, "T Object doesn't exist: %.231s",
                     std::string(quoted).c_str());
}

ResolvedPath ResolveQuoting(std::string_view path, PathSyntax syntax, const char *source,
                            const std::string_view *quoted) {
    T_Table &table = Table_Or_Raise(source, quoted != nullptr ? *quoted : Get_Section(path, 1));
    std::string storage;
    const std::string_view expanded = table.Aliases().Expand(path, storage);
    ResolvedPath resolved;
    std::string_view node_part = expanded;
    if (syntax == PathSyntax::kAttributePath) {
        const AttributePath parts = Check_Attribute_Path_Syntax(expanded);
        node_part = parts.node;
        resolved.attribute = parts.attribute;
    } else {
        Check_Node_Path_Syntax(expanded);
    }
    resolved.object = &Object_Or_Raise(table, node_part, source,
                                       quoted != nullptr ? *quoted : Get_Section(node_part, 1));
    resolved.found = Locate_Completing(*resolved.object, node_part);
    return resolved;
}

}  // namespace

bool Locate_Node(T_Object &object, std::string_view path) {
    return Locate(object, path, Writing::kAsWritten);
}

bool Locate_Completing(T_Object &object, std::string_view path) {
    return Locate(object, path, Writing::kCompleted);
}

VekTreeNode *Find_Plain_Path(T_Object &object, std::string_view path) {
    VekTreeNode *node = object.Root();
    if (node == nullptr)
        return nullptr;
    if (VekTreeNode *kept = object.Last_Added().Find(path, node))
        return kept;
    const size_t root_end = NameRunEnd(path, 0);
    if (!WholeSection(path, 0, root_end) || !Same_Name(path.substr(0, root_end), node->GetName()))
        return nullptr;
    for (size_t start = root_end + 1; start <= path.size();) {
        const size_t end = NameRunEnd(path, start);
        if (!WholeSection(path, start, end))
            return nullptr;
        const Twin twin = NthTwin(*node, SoughtName(path.substr(start, end - start)), 1);
        if (twin.node == nullptr)
            return nullptr;
        node = twin.node;
        start = end + 1;
    }
    return node;
}

VekTreeNode *Find_Node(const T_Object &object, std::string_view path) {
    VekTreeNode *root = object.Root();
    if (root == nullptr || !IsRootSection(*root, path))
        return nullptr;
    const Reached reached = WalkDown(*root, path, nullptr, Writing::kAsWritten);
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
