// Writing a path from its last section up to its first, as a climb from a node
// to its ancestors meets them. Each section is added reversed and the whole text
// is reversed at the end, which puts the sections in order and each section back
// the right way round: so a path is written in one pass up the tree, without
// gathering the ancestors first, into a text whose storage the caller may keep.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "tstore/paths/t_names.h"

namespace Ostrel::Zam::tstore {

class Upward_Path_Writer {
  public:
    // Writes into `text`, which is cleared first.
    explicit Upward_Path_Writer(std::string &text) : text_(text) { text_.clear(); }
    Upward_Path_Writer(const Upward_Path_Writer &) = delete;
    Upward_Path_Writer &operator=(const Upward_Path_Writer &) = delete;

    // The section above those added so far: the name and "[index]".
    void Add_Section(std::string_view name, int32_t index) {
        const size_t start = text_.size();
        text_ += name;
        Append_Twin_Index(text_, index);
        Reverse_From(start);
        text_ += '.';
    }

    // The first section, written as it is (a root name, or leading sections kept
    // from another path); the text then holds the whole path in order.
    void Finish(std::string_view first) {
        const size_t start = text_.size();
        text_ += first;
        Reverse_From(start);
        std::reverse(text_.begin(), text_.end());
    }

  private:
    void Reverse_From(size_t start) {
        std::reverse(text_.begin() + static_cast<std::ptrdiff_t>(start), text_.end());
    }

    std::string &text_;
};

}  // namespace Ostrel::Zam::tstore
