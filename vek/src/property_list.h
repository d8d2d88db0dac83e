// The class behind the opaque VEKPROPS pointer: an ordered list of named variants.
// Items live in separate blocks, so a pointer to one stays valid while others are
// added; only Clear (or destruction) invalidates them. Names compare ignoring case;
// longer lists get a hash index so that filling a list stays linear.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ascii_case.h"
#include "vek64_store.h"

struct VEKPROPS {
  public:
    VEKPROPS();
    VEKPROPS(const VEKPROPS &) = delete;
    VEKPROPS &operator=(const VEKPROPS &) = delete;
    ~VEKPROPS();

    static VEKPROPS *From(void *props) { return static_cast<VEKPROPS *>(props); }
    static const VEKPROPS *From(const void *props) { return static_cast<const VEKPROPS *>(props); }

    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    VEKPROPERTYA *At(int32_t index);
    const VEKPROPERTYA *At(int32_t index) const { return const_cast<VEKPROPS *>(this)->At(index); }
    VEKPROPERTYA *Find(std::string_view name);
    const VEKPROPERTYA *Find(std::string_view name) const;
    // The item of that name, appended with an empty value when absent. Throws
    // std::bad_alloc when memory runs out.
    VEKPROPERTYA &Edit(std::string_view name);
    void Clear();
    void Swap(VEKPROPS &other) noexcept {
        items_.swap(other.items_);
        index_.swap(other.index_);
    }

  private:
    using Index = std::unordered_map<std::string_view, size_t, vek::CaseInsensitiveHash,
                                     vek::CaseInsensitiveEqual>;
    static constexpr size_t kIndexThreshold = 16;

    struct Item;
    // A position in items_, or items_.size() when absent.
    size_t Position(std::string_view name) const;
    void IndexItem(size_t position);

    std::vector<std::unique_ptr<Item>> items_;
    std::unique_ptr<Index> index_;  // made once the list grows past the threshold
};
