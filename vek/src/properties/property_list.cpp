#include "properties/property_list.h"

#include <bit>
#include <cstddef>
#include <cstring>
#include <new>

#include "text/text_view.h"
#include "variants/variant_ops.h"

// ---- Items ---------------------------------------------------------------------

void VEKPROPS::Item::SetName(std::string_view name) {
    static_assert(
        offsetof(Item, short_name) == offsetof(Item, short_header) + sizeof(vek::ArrayHeader),
        "a short name's count must be the word just before its first character");
    // The library hands out no empty counted text: an empty name is null.
    if (name.empty())
        return;
    if (name.size() <= kShortName) {
        property.name = vek::PlaceCountedText(short_header, short_name, name);
        return;
    }
    property.name = VekTextNewA(name.data(), static_cast<int32_t>(name.size()));
    if (property.name == nullptr)
        throw std::bad_alloc();
}

void VEKPROPS::Item::CopyName(const Item &other) {
    if (other.property.name != other.short_name) {
        SetName(other.Name());
        return;
    }
    // A short name is copied with its room, at a fixed size.
    short_header = other.short_header;
    std::memcpy(short_name, other.short_name, sizeof short_name);
    property.name = short_name;
}

void VEKPROPS::Item::Reset() noexcept {
    vek::variant::Release(property.value);
    if (property.name != short_name)
        VekTextFree(property.name);
    property.name = nullptr;
}

void VEKPROPS::Item::TakeFrom(Item &other) noexcept {
    if (other.property.name == other.short_name)
        property.name = vek::PlaceCountedText(short_header, short_name, other.Name());
    else
        property.name = other.property.name;
    property.value = other.property.value;
    other.property = VEKPROPERTYA{};
}

std::string_view VEKPROPS::Item::Name() const {
    return vek::ViewOfCounted(property.name);
}

// ---- Places of items -------------------------------------------------------------

VEKPROPS::VEKPROPS() noexcept = default;

VEKPROPS::~VEKPROPS() {
    Clear();
}

VEKPROPS::Item &VEKPROPS::Slot(size_t index) {
    if (index == 0)
        return first_;
    // Segment j starts at item 2^(j+1) - 1: index + 1 has j + 2 significant bits.
    const size_t shifted = index + 1;
    const size_t segment = static_cast<size_t>(std::bit_width(shifted)) - 2;
    return overflow_->segments[segment][shifted - (size_t{2} << segment)];
}

void VEKPROPS::Reserve(size_t count) {
    if (count <= 1)
        return;
    const size_t needed = static_cast<size_t>(std::bit_width(count)) - 1;
    if (overflow_ == nullptr)
        overflow_ = std::make_unique<Overflow>();
    std::vector<std::unique_ptr<Item[]>> &segments = overflow_->segments;
    if (segments.size() >= needed)
        return;
    segments.reserve(needed);
    while (segments.size() < needed)
        segments.push_back(std::make_unique<Item[]>(size_t{2} << segments.size()));
}

VEKPROPERTYA *VEKPROPS::At(int32_t index) {
    if (index < 0 || index >= count_)
        return nullptr;
    return &Slot(static_cast<size_t>(index)).property;
}

// ---- Names -----------------------------------------------------------------------

size_t VEKPROPS::Position(std::string_view name) const {
    const auto count = static_cast<size_t>(count_);
    if (const Index *index = IndexOrNull()) {
        const auto found = index->find(name);
        return found == index->end() ? count : found->second;
    }
    for (size_t i = 0; i < count; ++i) {
        if (vek::SameTextIgnoringCase(Slot(i).Name(), name))
            return i;
    }
    return count;
}

VEKPROPERTYA *VEKPROPS::Find(std::string_view name) {
    const size_t position = Position(name);
    return position < static_cast<size_t>(count_) ? &Slot(position).property : nullptr;
}

const VEKPROPERTYA *VEKPROPS::Find(std::string_view name) const {
    const size_t position = Position(name);
    return position < static_cast<size_t>(count_) ? &Slot(position).property : nullptr;
}

void VEKPROPS::RebuildIndex() noexcept {
    if (overflow_ == nullptr)
        return;  // a list of one item has no index
    overflow_->index.reset();
    const auto count = static_cast<size_t>(count_);
    if (count <= kIndexThreshold)
        return;
    try {
        auto index = std::make_unique<Index>();
        index->reserve(count);
        for (size_t i = 0; i < count; ++i)
            index->emplace(Slot(i).Name(), i);
        overflow_->index = std::move(index);
    } catch (...) {
        // Without memory for the index, names are compared one by one.
    }
}

void VEKPROPS::IndexItem(size_t position) {
    if (IndexOrNull() == nullptr) {
        RebuildIndex();
        return;
    }
    try {
        overflow_->index->emplace(Slot(position).Name(), position);
    } catch (...) {
        overflow_->index.reset();  // an index missing a name would hide it: drop it
    }
}

// ---- Changes ---------------------------------------------------------------------

VEKPROPERTYA &VEKPROPS::Edit(std::string_view name) {
    if (VEKPROPERTYA *existing = Find(name))
        return *existing;
    const auto position = static_cast<size_t>(count_);
    Reserve(position + 1);
    Item &item = Slot(position);
    item.SetName(name);
    ++count_;
    IndexItem(position);
    return item.property;
}

void VEKPROPS::Clear() {
    for (size_t i = 0; i < static_cast<size_t>(count_); ++i)
        Slot(i).Reset();
    count_ = 0;
    overflow_.reset();
}

int32_t VEKPROPS::CopyOf(const VEKPROPS &source, const char *function) {
    if (count_ > 0 || overflow_ != nullptr)
        Clear();
    const auto count = static_cast<size_t>(source.count_);
    try {
        Reserve(count);
        for (size_t i = 0; i < count; ++i) {
            const Item &from = source.Slot(i);
            Item &to = Slot(i);
            to.CopyName(from);
            if (const int32_t status =
                    vek::variant::Duplicate(from.property.value, to.property.value, function)) {
                to.Reset();
                Clear();
                return status;
            }
            ++count_;
        }
    } catch (...) {
        Clear();
        throw;
    }
    if (count > kIndexThreshold)
        RebuildIndex();
    return 0;
}

void VEKPROPS::TakeOver(VEKPROPS &other) noexcept {
    Clear();
    if (other.count_ > 0)
        first_.TakeFrom(other.first_);
    overflow_ = std::move(other.overflow_);
    count_ = other.count_;
    other.count_ = 0;
    // The index named the first item by the other list's copy of its name.
    RebuildIndex();
}
