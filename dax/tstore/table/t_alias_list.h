// The process-wide aliases: short names that stand for the beginning of a path.
// Names are unique and kept sorted ignoring ASCII letter case (Compare_Names,
// the order of VekStrnCompA with VEK_IGNORE_CASE); lookup and expansion compare
// the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Ostrel::Zam::tstore {

class AliasList {
  public:
    // The replacement of an alias, or null when it is not in the list.
    const std::string *Find(std::string_view alias) const;
    // Adds the alias at its sorted place, or replaces the replacement of an alias
    // that is there already (its name keeps its first spelling).
    void Set(std::string_view alias, std::string_view replacement);
    // Removes the alias; false when it is not in the list.
    bool Delete(std::string_view alias);
    // "name -> replacement\n" for every alias in sorted order.
    std::string List() const;
    // The path with its leading alias replaced. An alias matches when the path
    // begins with it and the alias is followed by the end, '.' or '!'; of several
    // the first in sorted order (the shortest) wins, and the result is not
    // expanded again. A path without one comes back unchanged.
    std::string Expand(std::string_view path) const;
    // The same without copying a path that holds no alias: the result is `path`
    // itself, or the expansion written into `storage`.
    std::string_view Expand(std::string_view path, std::string &storage) const;

    size_t Count() const { return entries_.size(); }

  private:
    struct Entry {
        std::string name;
        std::string replacement;
    };
    // The position of the first entry whose name does not sort before `alias`.
    std::vector<Entry>::const_iterator LowerBound(std::string_view alias) const;
    // Whether some alias begins with `prefix` (ignoring case).
    bool AnyStartsWith(std::string_view prefix) const;

    std::vector<Entry> entries_;
};

}  // namespace Ostrel::Zam::tstore
