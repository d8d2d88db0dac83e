// The members of a component descriptor, in the order of their names.
//
// Names compare ignoring the case of ASCII letters (as the rest of the library
// compares names), in that order: byte by byte with lower-case letters folded to
// upper case, a name before every longer name it begins. The ordered map gives the
// sorted order that the collections show; a hash index over the same names and one
// over the dispatch ids make lookups constant in time, so that adding a member
// costs a logarithmic insertion and no move of the others. A sorted array view for
// enumerations is built on demand and dropped whenever the table changes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/descriptors/member_descriptor.h"

namespace Ostrel::Zam {

struct NameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
};
struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

class MemberTable {
  public:
    // The members of one name: one, or several methods that share it.
    using Slot = std::vector<MemberRef>;

    MemberTable() = default;
    MemberTable(const MemberTable &) = delete;
    MemberTable &operator=(const MemberTable &) = delete;

    Slot *Find(std::string_view name);
    // The first member with the id whose attributes have none of the filter's bits.
    CIMemberDescriptorImpl *FindById(DISPID id, uint32_t filter) const;
    bool IdInUse(DISPID id) const { return by_id_.count(id) != 0; }

    // A new name (the caller checked that it is absent).
    void AddNew(MemberRef member);
    // Another method of a name already present.
    void AddBeside(Slot &slot, MemberRef member);
    // Replaces `old_member` in its slot.
    void Replace(Slot &slot, size_t index, MemberRef member);
    // Removes one member; false when it is not in the table.
    bool Remove(CIMemberDescriptorImpl *member);
    void Clear();

    size_t NameCount() const { return by_name_.size(); }
    // Every member in name order (methods of one name in the order they came).
    const std::vector<CIMemberDescriptorImpl *> &Sorted() const;
    // The position of the member with this id in Sorted(), or -1.
    int64_t SortedPosition(DISPID id) const;

  private:
    void IndexId(CIMemberDescriptorImpl *member);
    void UnindexId(CIMemberDescriptorImpl *member);
    void DropViews() {
        sorted_.clear();
        positions_.clear();
        sorted_valid_ = false;
    }

    std::map<std::string, Slot, NameLess> by_name_;
    std::unordered_map<std::string_view, Slot *, NameHash, NameEqual> name_index_;
    std::unordered_multimap<DISPID, CIMemberDescriptorImpl *> by_id_;
    mutable std::vector<CIMemberDescriptorImpl *> sorted_;
    mutable std::unordered_map<DISPID, int64_t> positions_;
    mutable bool sorted_valid_ = false;
};

}  // namespace Ostrel::Zam
