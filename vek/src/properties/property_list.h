// The class behind the opaque VEKPROPS pointer: an ordered list of named variants.
//
// Items never move once made, so a pointer to one stays valid while others are
// added; only Clear (or destruction) invalidates them. The first item lives in the
// list itself and the others in segments of 2, 4, 8, ... items, so an item's place
// follows from its index and a list of one property takes no allocation of its own.
// Short names are stored inside their item as counted texts. Names compare ignoring
// case; longer lists get a hash index so that filling a list stays linear.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/ascii_case.h"
#include "text/counted_array.h"
#include "vek64_store.h"

struct VEKPROPS {
  public:
    VEKPROPS() noexcept;
    VEKPROPS(const VEKPROPS &) = delete;
    VEKPROPS &operator=(const VEKPROPS &) = delete;
    ~VEKPROPS();

    // The list at an address (also the room of a node that holds one).
    static VEKPROPS *From(void *props) { return std::launder(static_cast<VEKPROPS *>(props)); }
    static const VEKPROPS *From(const void *props) {
        return std::launder(static_cast<const VEKPROPS *>(props));
    }

    int32_t Count() const { return count_; }
    VEKPROPERTYA *At(int32_t index);
    const VEKPROPERTYA *At(int32_t index) const { return const_cast<VEKPROPS *>(this)->At(index); }
    VEKPROPERTYA *Find(std::string_view name);
    const VEKPROPERTYA *Find(std::string_view name) const;
    // The item of that name, appended with an empty value when absent. Throws
    // std::bad_alloc when memory runs out.
    VEKPROPERTYA &Edit(std::string_view name);
    void Clear();

    // Makes this list a copy of `source` (another list): its items are released,
    // room for all of source's is made at once and the items are copied in order
    // without looking names up. 0, or a failure status (set for `function`) with the
    // list left empty. Throws std::bad_alloc when memory runs out.
    int32_t CopyOf(const VEKPROPS &source, const char *function);
    // Takes the items of `other` (which is left empty) in place of this list's own.
    void TakeOver(VEKPROPS &other) noexcept;

  private:
    using Index = std::unordered_map<std::string_view, size_t, vek::CaseInsensitiveHash,
                                     vek::CaseInsensitiveEqual>;
    static constexpr size_t kIndexThreshold = 16;

    // One property: its variant and its name, a counted text that sits in
    // `short_name` when it fits.
    struct Item {
        static constexpr size_t kShortName = 23;

        VEKPROPERTYA property{};
        vek::ArrayHeader short_header{};
        char short_name[kShortName + 1] = {};

        Item() = default;
        Item(const Item &) = delete;
        Item &operator=(const Item &) = delete;
        ~Item() { Reset(); }

        // Gives the (empty) item its name. Throws std::bad_alloc.
        void SetName(std::string_view name);
        // Gives the (empty) item the name of `other`. Throws std::bad_alloc.
        void CopyName(const Item &other);
        // Releases the name and the value.
        void Reset() noexcept;
        // Moves the name and value of `other` (left empty) into this empty item.
        void TakeFrom(Item &other) noexcept;
        std::string_view Name() const;
    };

    // The item at an index below the room made so far.
    Item &Slot(size_t index);
    const Item &Slot(size_t index) const { return const_cast<VEKPROPS *>(this)->Slot(index); }
    // Makes room for `count` items. Throws std::bad_alloc.
    void Reserve(size_t count);
    // A position below count_, or count_ when absent.
    size_t Position(std::string_view name) const;
    void IndexItem(size_t position);
    const Index *IndexOrNull() const {
        return overflow_ != nullptr ? overflow_->index.get() : nullptr;
    }
    // Indexes every item when the list is long enough; a list without its index
    // still works (by comparing names one by one), so a failure here is dropped.
    void RebuildIndex() noexcept;

    // What a list needs past its first item, made with the second item: a list of
    // one property stays as small as a node can hold.
    struct Overflow {
        std::vector<std::unique_ptr<Item[]>> segments;  // segment j holds 2^(j+1) items
        std::unique_ptr<Index> index;  // made once the list grows past the threshold
    };

    int32_t count_ = 0;
    Item first_;
    std::unique_ptr<Overflow> overflow_;
};
