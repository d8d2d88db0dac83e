// Finding a node of a T object by its canonical path. Every lookup moves the
// object's current node: to the node found, or to the deepest existing ancestor
// that the walk reached; the current path always names the current node.
#pragma once

#include <string>
#include <string_view>

#include "tstore/table/t_object.h"

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class T_Table;

// Locates a canonical path from the root after resetting the current node.
// Twins are counted among the children with the sought name (ignoring case;
// children with empty names are never found); the index -1 takes the last twin
// and is written in the current path as the index found. Costs the path's depth
// and the siblings passed at each level.
// The path must not be the object's own current path, which the lookup rewrites.
bool Locate_Node(T_Object &object, std::string_view path);
// Locates a path whose twin indexes are not completed yet exactly as Locate_Node
// locates its canonical form (Complete_Twin_Indexes), writing the current path
// in that form, without building the canonical text first.
bool Locate_Completing(T_Object &object, std::string_view path);

// The node of a node path made of names and full stops only (no twin index, the
// form scripts write most), found as Locate_Completing finds it while the path's
// syntax is checked on the way, so that a path found needs no separate check. The
// current node is left as it is: the caller makes the node current with
// Commit_Plain_Path once its call can no longer fail. Null when the path has
// another form or names no node: the caller then checks and locates it the usual
// way.
VekTreeNode *Find_Plain_Path(T_Object &object, std::string_view path);

// The node a path names in the object's tree, found as Locate_Node finds it but
// without moving the current node; null when there is none. Compares node
// addresses only, so it is safe to use for checking whether a remembered node is
// still part of the tree.
VekTreeNode *Find_Node(const T_Object &object, std::string_view path);

// The table; when there is none, raises 0xE2040020 "T Object doesn't exist"
// from `source`, quoting `quoted`.
T_Table &Table_Or_Raise(const char *source, std::string_view quoted);
// The T object named by the first section of `path`; raises as above when no
// T object has that name.
T_Object &Object_Or_Raise(const T_Table &table, std::string_view path, const char *source,
                          std::string_view quoted);

// A path of an export resolved to its T object and node.
struct ResolvedPath {
    T_Object *object = nullptr;
    std::string attribute;  // the text after '!' (attribute paths only)
    bool found = false;
};

enum class PathSyntax { kNodePath, kAttributePath };

// The steps of every export that takes a path: the table must exist, an alias at
// the start is expanded, the syntax checked, the T object found by the first
// section, the twin indexes completed and the node located. A missing table or T
// object raises 0xE2040020 from `source`, quoting the T name.
ResolvedPath Resolve_Path(std::string_view path, PathSyntax syntax, const char *source);
// The same, quoting `quoted` (for instance the path as the caller passed it) in
// the errors of a missing table or T object.
ResolvedPath Resolve_Path(std::string_view path, PathSyntax syntax, const char *source,
                          std::string_view quoted);

}  // namespace Ostrel::Zam::tstore
