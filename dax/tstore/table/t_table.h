// The T table: the process-wide home of the T objects, the aliases and the state
// of the last search. It exists from the first T_Declare or T_SetAliasA to
// T_Terminate; nothing else creates or destroys it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tstore/table/t_alias_list.h"
#include "tstore/table/t_object.h"

namespace Ostrel::Zam::tstore {

// What T_SearchA remembers for T_SearchNextA.
struct LastSearch {
    std::string identifier;
    std::string value;
    std::string path_found;
    int32_t mode = 0;
    uint8_t whole_value = 0;
    int32_t compare_option = 0;
};

class T_Table {
  public:
    // Index of the first T object whose root name equals `name` ignoring case;
    // -1 when none.
    int32_t Find_T_Object(std::string_view name) const;
    // The T object at an index, or null when the index is out of range.
    T_Object *T_Object_At(int32_t index) const;
    int32_t Object_Count() const { return static_cast<int32_t>(objects_.size()); }
    // Appends a T object (declaration order is kept).
    T_Object &Add(std::unique_ptr<T_Object> object);
    // Removes and frees the T object at a valid index; its tree is untouched.
    void Remove_At(int32_t index);
    // Resets the current node of every T object whose current node is `top` or
    // lies below it. Called before the store frees that subtree, so that no T
    // object keeps the address of a freed node. Compares addresses only (a
    // remembered node may already have been freed by the host), costing the
    // subtree's size, which freeing it costs anyway.
    void Forget_Current_Nodes_In(const VekTreeNode &top);

    AliasList &Aliases() { return aliases_; }
    const AliasList &Aliases() const { return aliases_; }
    LastSearch &Last_Search() { return last_search_; }

  private:
    std::vector<std::unique_ptr<T_Object>> objects_;
    AliasList aliases_;
    LastSearch last_search_;
};

// The table, or null before it is created.
T_Table *Existing_T_Table();
// The table, created empty when there is none.
T_Table &Get_T_Table();
// Destroys the table with its T objects and aliases.
void Destroy_T_Table();

}  // namespace Ostrel::Zam::tstore
