// Finding a node of a T object by its canonical path. Every lookup moves the
// object's current node: to the node found, or to the deepest existing ancestor
// that the walk reached; the current path always names the current node.
#pragma once

#include <string>
#include <string_view>

#include "tstore/t_object.h"

namespace Ostrel::Zam::tstore {

// Locates a canonical path from the root after resetting the current node.
// Twins are counted among the children with the sought name (ignoring case;
// children with empty names are never found); the index -1 takes the last twin
// and is written in the current path as the index found. Costs the path's depth
// and the siblings passed at each level.
bool Locate_Node(T_Object &object, std::string_view path);

// A path of an export resolved to its T object and node.
struct ResolvedPath {
    T_Object *object = nullptr;
    std::string node_path;  // after alias expansion, canonical
    std::string attribute;  // the text after '!' (attribute paths only)
    bool found = false;
};

enum class PathSyntax { kNodePath, kAttributePath };

// The steps of every export that takes a path: the table must exist, an alias at
// the start is expanded, the syntax checked, the T object found by the first
// section, the twin indexes completed and the node located. A missing table or T
// object raises 0xE2040020 from `source`.
ResolvedPath Resolve_Path(std::string_view path, PathSyntax syntax, const char *source);

}  // namespace Ostrel::Zam::tstore
