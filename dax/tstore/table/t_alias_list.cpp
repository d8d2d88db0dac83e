// Expansion tries only the prefixes of the path that end where an alias may end
// (before a full stop, a '!' or the end), shortest first, each by binary search:
// the cost grows with the path's depth and the logarithm of the alias count.
// Every such prefix begins with the shortest one, and the names that begin with
// a text sort together right from where that text would stand; so one binary
// search for the shortest prefix tells whether any alias can match at all, and
// a path that holds none (most paths) costs that search and no copy.
#include "tstore/table/t_alias_list.h"

#include <algorithm>
#include <cstdint>

#include "tstore/paths/t_name_compare.h"

namespace Ostrel::Zam::tstore {

namespace {

int32_t Compare(std::string_view a, std::string_view b) {
    return Compare_Names(a, b);
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

bool AliasList::AnyStartsWith(std::string_view prefix) const {
    const auto at = LowerBound(prefix);
    return at != entries_.end() && Starts_With_Name(at->name, prefix);
}

std::string AliasList::Expand(std::string_view path) const {
    std::string storage;
    const std::string_view expanded = Expand(path, storage);
    if (expanded.data() != storage.data())
        storage.assign(expanded);
    return storage;
}

std::string_view AliasList::Expand(std::string_view path, std::string &storage) const {
    if (entries_.empty())
        return path;
    size_t end = path.find_first_of(".!");
    if (!AnyStartsWith(path.substr(0, end)))
        return path;
    for (;;) {
        const std::string_view prefix = path.substr(0, end);
        const std::string *replacement = prefix.empty() ? nullptr : Find(prefix);
        if (replacement != nullptr) {
            const std::string_view rest = path.substr(prefix.size());
            storage.reserve(replacement->size() + rest.size());
            storage.assign(*replacement);
            storage += rest;
            return storage;
        }
        if (end == std::string_view::npos)
            return path;
        end = path.find_first_of(".!", end + 1);
    }
}

}  // namespace Ostrel::Zam::tstore
