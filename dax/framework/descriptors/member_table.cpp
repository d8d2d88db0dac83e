#include "framework/descriptors/member_table.h"

#include <algorithm>

namespace Ostrel::Zam {

namespace {

unsigned char Folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
}

}  // namespace

bool NameLess::operator()(std::string_view a, std::string_view b) const {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[i]);
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

size_t NameHash::operator()(std::string_view name) const {
    uint64_t hash = 1469598103934665603ull;  // FNV-1a over the folded bytes
    for (const char c : name) {
        hash ^= Folded(c);
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool NameEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && Folded(a[i]) != Folded(b[i]))
            return false;
    }
    return true;
}

MemberTable::Slot *MemberTable::Find(std::string_view name) {
    const auto found = name_index_.find(name);
    return found != name_index_.end() ? found->second : nullptr;
}

CIMemberDescriptorImpl *MemberTable::FindById(DISPID id, uint32_t filter) const {
    const auto [first, last] = by_id_.equal_range(id);
    for (auto it = first; it != last; ++it) {
        if ((it->second->Attributes() & filter) == 0)
            return it->second;
    }
    return nullptr;
}

void MemberTable::AddNew(MemberRef member) {
    const auto [position, added] = by_name_.try_emplace(member->Name());
    position->second.push_back(member);
    name_index_.emplace(std::string_view(position->first), &position->second);
    IndexId(member.Get());
    DropViews();
}

void MemberTable::AddBeside(Slot &slot, MemberRef member) {
    slot.push_back(member);
    IndexId(member.Get());
    DropViews();
}

void MemberTable::Replace(Slot &slot, size_t index, MemberRef member) {
    UnindexId(slot[index].Get());
    slot[index] = member;
    IndexId(member.Get());
    DropViews();
}

bool MemberTable::Remove(CIMemberDescriptorImpl *member) {
    const auto position = by_name_.find(member->Name());
    if (position == by_name_.end())
        return false;
    Slot &slot = position->second;
    const auto it = std::find_if(slot.begin(), slot.end(),
                                 [member](const MemberRef &m) { return m.Get() == member; });
    if (it == slot.end())
        return false;
    UnindexId(member);
    const MemberRef keep = *it;  // the member lives until the table no longer names it
    slot.erase(it);
    if (slot.empty()) {
        name_index_.erase(std::string_view(position->first));
        by_name_.erase(position);
    }
    DropViews();
    return true;
}

void MemberTable::Clear() {
    name_index_.clear();
    by_id_.clear();
    by_name_.clear();
    DropViews();
}

const std::vector<CIMemberDescriptorImpl *> &MemberTable::Sorted() const {
    if (!sorted_valid_) {
        sorted_.clear();
        for (const auto &[name, slot] : by_name_) {
            for (const MemberRef &member : slot)
                sorted_.push_back(member.Get());
        }
        sorted_valid_ = true;
    }
    return sorted_;
}

int64_t MemberTable::SortedPosition(DISPID id) const {
    const auto &sorted = Sorted();
    if (positions_.empty()) {
        for (size_t i = sorted.size(); i > 0; --i)  // the first of a shared id wins
            positions_[sorted[i - 1]->DispId()] = static_cast<int64_t>(i - 1);
    }
    const auto found = positions_.find(id);
    return found != positions_.end() ? found->second : -1;
}

void MemberTable::IndexId(CIMemberDescriptorImpl *member) {
    by_id_.emplace(member->DispId(), member);
}

void MemberTable::UnindexId(CIMemberDescriptorImpl *member) {
    auto [first, last] = by_id_.equal_range(member->DispId());
    for (auto it = first; it != last; ++it) {
        if (it->second == member) {
            by_id_.erase(it);
            return;
        }
    }
}

}  // namespace Ostrel::Zam
