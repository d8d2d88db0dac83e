// A wildcard pattern of the store compiled once by the support library and
// matched against many texts: the paths of the nodes of one walk. Matching
// through VekStrnWCompA compiles the pattern again for every text, which cost
// far more than the match itself.
//
// The pattern is compiled on its first match, with the store's descriptor and
// VEK_IGNORE_CASE as VekStrnWCompA would be called, so a walk that matches
// nothing never compiles, and a failure of the support library surfaces where
// VekStrnWCompA's would have: at the first match.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "frame/error_model.h"
#include "vek64_store.h"

namespace Ostrel::Zam::tstore {

// The store's wildcard descriptor (t_pattern.h).
const void *Wildcard_Descriptor();

class Compiled_Pattern {
  public:
    explicit Compiled_Pattern(std::string_view pattern) : text_(pattern) {}

    const std::string &Text() const { return text_; }

    // Whether the whole text matches the whole pattern.
    bool Matches(std::string_view text) const {
        if (compiled_ == nullptr)
            compiled_.reset(
                CheckAllocated(VekWildcardCompileA(text_.data(), static_cast<int32_t>(text_.size()),
                                                   VEK_IGNORE_CASE, Wildcard_Descriptor())));
        return CheckVekResult(VekWildcardMatchA(compiled_.get(), text.data(),
                                                static_cast<int32_t>(text.size()))) == 0;
    }

  private:
    struct Free {
        void operator()(void *compiled) const { VekWildcardFree(compiled); }
    };

    std::string text_;
    mutable std::unique_ptr<void, Free> compiled_;
};

}  // namespace Ostrel::Zam::tstore
