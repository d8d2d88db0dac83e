#include "property_list.h"

#include <new>

#include "text_view.h"
#include "variant_ops.h"

// One property: owns its counted name and its variant.
struct VEKPROPS::Item {
    VEKPROPERTYA property{};

    explicit Item(std::string_view name) {
        property.name = VekTextNewA(name.data(), static_cast<int32_t>(name.size()));
        if (property.name == nullptr && !name.empty())
            throw std::bad_alloc();
    }
    Item(const Item &) = delete;
    Item &operator=(const Item &) = delete;
    ~Item() {
        vek::variant::Release(property.value);
        VekTextFree(property.name);
    }
    std::string_view Name() const { return vek::ViewOfCounted(property.name); }
};

VEKPROPS::VEKPROPS() = default;
VEKPROPS::~VEKPROPS() = default;

VEKPROPERTYA *VEKPROPS::At(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= items_.size())
        return nullptr;
    return &items_[static_cast<size_t>(index)]->property;
}

size_t VEKPROPS::Position(std::string_view name) const {
    if (index_ != nullptr) {
        const auto found = index_->find(name);
        return found == index_->end() ? items_.size() : found->second;
    }
    for (size_t i = 0; i < items_.size(); ++i) {
        if (vek::SameTextIgnoringCase(items_[i]->Name(), name))
            return i;
    }
    return items_.size();
}

VEKPROPERTYA *VEKPROPS::Find(std::string_view name) {
    const size_t position = Position(name);
    return position < items_.size() ? &items_[position]->property : nullptr;
}

const VEKPROPERTYA *VEKPROPS::Find(std::string_view name) const {
    const size_t position = Position(name);
    return position < items_.size() ? &items_[position]->property : nullptr;
}

void VEKPROPS::IndexItem(size_t position) {
    if (index_ == nullptr) {
        if (items_.size() <= kIndexThreshold)
            return;
        index_ = std::make_unique<Index>();
        for (size_t i = 0; i < items_.size(); ++i)
            index_->emplace(items_[i]->Name(), i);
        return;
    }
    index_->emplace(items_[position]->Name(), position);
}

VEKPROPERTYA &VEKPROPS::Edit(std::string_view name) {
    if (VEKPROPERTYA *existing = Find(name))
        return *existing;
    auto item = std::make_unique<Item>(name);
    items_.reserve(items_.size() + 1);
    items_.push_back(std::move(item));
    try {
        IndexItem(items_.size() - 1);
    } catch (...) {
        items_.pop_back();
        throw;
    }
    return items_.back()->property;
}

void VEKPROPS::Clear() {
    index_.reset();
    items_.clear();
}
