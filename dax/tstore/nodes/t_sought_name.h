// A name sought among the children of one node, as the walks of the T store
// compare it.
#pragma once

#include <cstdint>
#include <string_view>

#include "tstore/paths/t_names.h"
#include "vek64_tree.h"

namespace Ostrel::Zam::tstore {

// A sought name, compared with the siblings of one level: the node class's name
// tags (length and last byte, where sibling names that share a stem, such as N1,
// N2, ..., differ) turn most siblings away with one test before the whole name is
// compared. Two bytes that differ in any bit but 0x20 differ ignoring case too, so
// the last byte is tested without folding. Never empty.
class SoughtName {
  public:
    explicit SoughtName(std::string_view name) : name_(name), tag_(VekTreeNode::NameTagOf(name)) {}

    bool Matches(const VekTreeNode &candidate) const {
        return ((candidate.NameTag() ^ tag_) & ~0x20u) == 0 &&
               Same_Name(candidate.GetName(), name_);
    }

  private:
    std::string_view name_;
    uint16_t tag_;
};

}  // namespace Ostrel::Zam::tstore
