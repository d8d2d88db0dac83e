// The members of a component descriptor, found by name and by dispatch id, and
// shown in the order of their names.
//
// Names compare ignoring the case of ASCII letters (as the rest of the library
// compares names), and order the same way: byte by byte with lower-case letters
// folded to upper case, a name before every longer name it begins. The members of
// each name sit in a dense array of slots, found through an open-addressing index
// of 8-byte entries (hash and slot number), and are indexed by dispatch id as well:
// adding a member costs a constant time and moves no other, and a lookup touches
// little memory even with 100 000 names. The sorted view that collections,
// enumerators and GetNextDispID show is built on demand (one sort) and dropped
// whenever the table changes.
#pragma once

#include <cstdint>
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
    // The members of one name: one, or several methods that share it. The first
    // is held in place, so that a lookup reaches it without another indirection.
    struct Slot {
        MemberRef first;
        std::vector<MemberRef> more;
        const MemberRef &front() const { return first; }
        template <class Fn>
        void ForEach(Fn fn) const {
            fn(first.Get());
            for (const MemberRef &member : more)
                fn(member.Get());
        }
    };

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
    // Replaces the first member of a slot.
    void ReplaceFirst(Slot &slot, MemberRef member);
    // Removes one member; false when it is not in the table.
    bool Remove(CIMemberDescriptorImpl *member);
    void Clear();

    size_t NameCount() const { return slots_.size(); }
    // Calls fn(member) for every member, in no particular order.
    template <class Fn>
    void ForEach(Fn fn) const {
        for (const Slot &slot : slots_)
            slot.ForEach(fn);
    }
    // Every member in name order (methods of one name in the order they came).
    const std::vector<CIMemberDescriptorImpl *> &Sorted() const;
    // The position of the member with this id in Sorted(), or -1.
    int64_t SortedPosition(DISPID id) const;

  private:
    void IndexId(CIMemberDescriptorImpl *member);
    void UnindexId(CIMemberDescriptorImpl *member);
    void DropViews() {
        if (!sorted_valid_)
            return;
        sorted_.clear();
        std::unordered_map<DISPID, int64_t>().swap(positions_);  // frees its buckets too
        sorted_valid_ = false;
    }

    // One index entry: the name's hash and the slot number + 1 (0: a free entry).
    struct Entry {
        uint32_t hash = 0;
        uint32_t slot = 0;
    };
    static uint32_t HashOf(std::string_view name);
    // The index position holding the name, or the free position where it would go.
    size_t Position(std::string_view name, uint32_t hash) const;
    void Grow();
    void EraseEntry(size_t position);

    std::vector<Entry> index_;  // a power of two in size, at most half full
    std::vector<Slot> slots_;
    std::unordered_multimap<DISPID, CIMemberDescriptorImpl *> by_id_;
    mutable std::vector<CIMemberDescriptorImpl *> sorted_;
    mutable std::unordered_map<DISPID, int64_t> positions_;
    mutable bool sorted_valid_ = false;
};

}  // namespace Ostrel::Zam
