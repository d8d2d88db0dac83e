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

uint32_t MemberTable::HashOf(std::string_view name) {
    const uint64_t hash = NameHash()(name);
    return static_cast<uint32_t>(hash ^ (hash >> 32));
}

size_t MemberTable::Position(std::string_view name, uint32_t hash) const {
    const size_t mask = index_.size() - 1;
    for (size_t position = hash & mask;; position = (position + 1) & mask) {
        const Entry &entry = index_[position];
        if (entry.slot == 0)
            return position;
        if (entry.hash == hash && NameEqual()(slots_[entry.slot - 1].first->Name(), name))
            return position;
    }
}

void MemberTable::Grow() {
    std::vector<Entry> old(index_.empty() ? 16 : index_.size() * 2);
    index_.swap(old);
    for (const Entry &entry : old) {
        if (entry.slot == 0)
            continue;
        const size_t mask = index_.size() - 1;
        size_t position = entry.hash & mask;
        while (index_[position].slot != 0)
            position = (position + 1) & mask;
        index_[position] = entry;
    }
}

// Frees an index entry, moving later entries of its run back so that every probe
// still finds them.
void MemberTable::EraseEntry(size_t position) {
    const size_t mask = index_.size() - 1;
    size_t hole = position;
    for (size_t next = (hole + 1) & mask; index_[next].slot != 0; next = (next + 1) & mask) {
        const size_t home = index_[next].hash & mask;
        const bool stays =
            hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (!stays) {
            index_[hole] = index_[next];
            hole = next;
        }
    }
    index_[hole] = Entry{};
}

MemberTable::Slot *MemberTable::Find(std::string_view name) {
    if (slots_.empty())
        return nullptr;
    const Entry &entry = index_[Position(name, HashOf(name))];
    return entry.slot != 0 ? &slots_[entry.slot - 1] : nullptr;
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
    if ((slots_.size() + 1) * 2 > index_.size())
        Grow();
    const uint32_t hash = HashOf(member->Name());
    const size_t position = Position(member->Name(), hash);
    slots_.push_back(Slot{member, {}});
    index_[position] = Entry{hash, static_cast<uint32_t>(slots_.size())};
    IndexId(member.Get());
    DropViews();
}

void MemberTable::AddBeside(Slot &slot, MemberRef member) {
    slot.more.push_back(member);
    IndexId(member.Get());
    DropViews();
}

void MemberTable::ReplaceFirst(Slot &slot, MemberRef member) {
    UnindexId(slot.first.Get());
    slot.first = member;
    IndexId(member.Get());
    DropViews();
}

bool MemberTable::Remove(CIMemberDescriptorImpl *member) {
    if (slots_.empty())
        return false;
    const std::string name = member->Name();
    const uint32_t hash = HashOf(name);
    const size_t position = Position(name, hash);
    if (index_[position].slot == 0)
        return false;
    const size_t number = index_[position].slot - 1;
    Slot &slot = slots_[number];
    const MemberRef keep(member);  // the member lives until the table no longer names it
    if (slot.first.Get() != member) {
        const auto it = std::find_if(slot.more.begin(), slot.more.end(),
                                     [member](const MemberRef &m) { return m.Get() == member; });
        if (it == slot.more.end())
            return false;
        slot.more.erase(it);
    } else if (!slot.more.empty()) {
        slot.first = slot.more.front();
        slot.more.erase(slot.more.begin());
    } else {
        // The name goes: free its entry and move the last slot into its place.
        EraseEntry(position);
        const size_t last = slots_.size() - 1;
        if (number != last) {
            // The entry of the last slot is found by its number, before the move.
            const size_t mask = index_.size() - 1;
            size_t entry = HashOf(slots_[last].first->Name()) & mask;
            while (index_[entry].slot != last + 1)
                entry = (entry + 1) & mask;
            index_[entry].slot = static_cast<uint32_t>(number + 1);
            slots_[number] = std::move(slots_[last]);
        }
        slots_.pop_back();
    }
    UnindexId(member);
    DropViews();
    return true;
}

void MemberTable::Clear() {
    by_id_.clear();
    index_.clear();
    slots_.clear();
    DropViews();
}

const std::vector<CIMemberDescriptorImpl *> &MemberTable::Sorted() const {
    if (!sorted_valid_) {
        sorted_.clear();
        sorted_.reserve(by_id_.size());
        ForEach([this](CIMemberDescriptorImpl *member) { sorted_.push_back(member); });
        // Methods sharing a name keep the order they came in.
        std::stable_sort(sorted_.begin(), sorted_.end(),
                         [](const CIMemberDescriptorImpl *a, const CIMemberDescriptorImpl *b) {
                             return NameLess()(a->Name(), b->Name());
                         });
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
