// A set of bytes answered by one table lookup. The store's character sets are
// texts (t_names.h); the syntax checks test every character of every path
// against them, and a search through a text of 74 characters per character was
// the larger part of checking a path.
#pragma once

#include <array>
#include <string_view>

namespace Ostrel::Zam::tstore {

class Character_Set {
  public:
    explicit constexpr Character_Set(std::string_view characters) {
        for (char c : characters)
            members_[static_cast<unsigned char>(c)] = true;
    }

    constexpr bool Contains(char c) const { return members_[static_cast<unsigned char>(c)]; }

  private:
    std::array<bool, 256> members_{};
};

}  // namespace Ostrel::Zam::tstore
