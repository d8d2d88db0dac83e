// Expansion tries only the prefixes of the path that end where an alias may end
// (before a full stop, a '!' or the end), shortest first, each by binary search:
// the cost grows with the path's depth and the logarithm of the alias count.
#include "tstore/t_alias_list.h"

#include <algorithm>
#include <cstdint>

#include "imports/vek_imports.h"

namespace Ostrel::Zam::tstore {

namespace {

int32_t Compare(std::string_view a, std::string_view b) {
    return VekStrnCompA(a.data(), static_cast<int32_t>(a.size()), b.data(),
                        static_cast<int32_t>(b.size()), VEK_IGNORE_CASE);
}

}  // namespace

std::vector<AliasList::Entry>::const_iterator AliasList::LowerBound(std::string_view alias) const {
    return std::lower_bound(
        entries_.begin(), entries_.end(), alias,
        [](const Entry &entry, std::string_view key) { return Compare(entry.name, key) < 0; });
}

const std::string *AliasList::Find(std::string_view alias) const {
    const auto at = LowerBound(alias);
    return at != entries_.end() && Compare(at->name, alias) == 0 ? &at->replacement : nullptr;
}

void AliasList::Set(std::string_view alias, std::string_view replacement) {
    const auto at = LowerBound(alias);
    if (at != entries_.end() && Compare(at->name, alias) == 0) {
        entries_[static_cast<size_t>(at - entries_.begin())].replacement = replacement;
        return;
    }
    entries_.insert(at, Entry{std::string(alias), std::string(replacement)});
}

bool AliasList::Delete(std::string_view alias) {
    const auto at = LowerBound(alias);
    if (at == entries_.end() || Compare(at->name, alias) != 0)
        return false;
    entries_.erase(at);
    return true;
}

std::string AliasList::List() const {
    std::string listing;
    for (const Entry &entry : entries_) {
        listing += entry.name;
        listing += " -> ";
        listing += entry.replacement;
        listing += '\n';
    }
    return listing;
}

std::string AliasList::Expand(std::string_view path) const {
    size_t end = path.find_first_of(".!");
    while (!entries_.empty()) {
        const std::string_view prefix = path.substr(0, end);
        const std::string *replacement = prefix.empty() ? nullptr : Find(prefix);
        if (replacement != nullptr)
            return *replacement + std::string(path.substr(prefix.size()));
        if (end == std::string_view::npos)
            break;
        end = path.find_first_of(".!", end + 1);
    }
    return std::string(path);
}

}  // namespace Ostrel::Zam::tstore
