// The attribute names that a T object declares ("Attribute 1", "Attribute 2", ...
// up to the first empty one), kept once read. The object's configuration is its
// own copy and never changes, so each declaration needs reading (a search of the
// property list and a conversion to text) only once, not by every call that
// names an attribute. Declarations are read in order, only as far as callers
// ask, so reading fails (if it can) exactly where it would without keeping them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Ostrel::Zam::tstore {

class Declared_Names {
  public:
    // Declaration n (from 1), empty past the last one. `read(k)` gives the text
    // of declaration k; it is asked once for each declaration not kept yet.
    template <class Read>
    std::string_view At(int32_t n, Read &&read) const {
        while (static_cast<size_t>(n) > names_.size()) {
            if (!Read_Next(read))
                break;
        }
        return static_cast<size_t>(n) <= names_.size()
                   ? std::string_view(names_[static_cast<size_t>(n) - 1])
                   : std::string_view();
    }

    // Whether `name` is declared, compared with `same`; reads declarations only
    // as far as it must (an attribute named often is found among the first).
    template <class Read, class Same>
    bool Contains(std::string_view name, Read &&read, Same &&same) const {
        for (const std::string &known : names_) {
            if (same(known, name))
                return true;
        }
        while (Read_Next(read)) {
            if (same(names_.back(), name))
                return true;
        }
        return false;
    }

  private:
    // Reads the next declaration; false once there is none (then or before).
    template <class Read>
    bool Read_Next(Read &read) const {
        if (complete_)
            return false;
        std::string next = read(static_cast<int32_t>(names_.size()) + 1);
        if (next.empty()) {
            complete_ = true;
            return false;
        }
        names_.push_back(std::move(next));
        return true;
    }

    mutable std::vector<std::string> names_;
    mutable bool complete_ = false;
};

}  // namespace Ostrel::Zam::tstore
