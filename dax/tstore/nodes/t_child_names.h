// Whether a group has a child of a given name, as T_AddNodeA asks before it adds
// a node that may not have twins. A group with few children is scanned; for a
// group with many, the names of its children (folded to one case) are kept in a
// hash set, so that adding a long run of children one call at a time costs each
// call O(1) instead of a scan of all the children added before.
//
// The set belongs to one group at a time and is kept while that group's children
// stay as they were when it was built: same first and last child, same count and
// the same children generation of the node class, which changes with every child
// added, removed or renamed, whoever does it. When the store itself adds a child
// to the group it reports it, so the set follows without being built again.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

class VekTreeNode;

namespace Ostrel::Zam::tstore {

class Child_Name_Index {
  public:
    // Groups with fewer children than this are scanned: building a set would
    // cost more than the scans it saves.
    static constexpr int32_t kIndexedFrom = 32;

    // Whether `parent` has a child named `name` (ignoring ASCII case; children
    // without a name never match).
    bool Has_Child_Named(const VekTreeNode &parent, std::string_view name);
    // Reports that the store has just added a child named `name` to `parent`,
    // right after asking Has_Child_Named about it.
    void Child_Added(const VekTreeNode &parent, std::string_view name);

  private:
    bool Describes(const VekTreeNode &parent) const;
    void Take_State_Of(const VekTreeNode &parent);
    void Build(const VekTreeNode &parent);

    const VekTreeNode *parent_ = nullptr;
    const VekTreeNode *first_ = nullptr;
    const VekTreeNode *last_ = nullptr;
    int32_t count_ = 0;
    uint32_t generation_ = 0;
    bool answered_ = false;  // the last question was answered from the set
    std::unordered_set<std::string> names_;
};

}  // namespace Ostrel::Zam::tstore
