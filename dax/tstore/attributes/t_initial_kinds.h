// The kinds of value that the declared attributes of a new node start with, in
// declaration order, kept once worked out. The object's configuration never
// changes, so the declarations and types behind them (searches of the property
// list by keys built for each attribute) need reading once per object instead of
// once for every node added. They are worked out on first use, so a failure to
// read them comes where it came before, and is not kept.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imports/vek_variant.h"
#include "tstore/attributes/t_attribute_types.h"

namespace Ostrel::Zam::tstore {

struct Initial_Kind {
    std::string name;
    AttributeType kind = AttributeType::kString;
    // The starting value of that kind, built once: every new node gets a copy.
    std::unique_ptr<VekVariant> value;
};

class Initial_Kinds {
  public:
    // The kinds; `work_out()` gives them the first time.
    template <class WorkOut>
    const std::vector<Initial_Kind> &Get(WorkOut &&work_out) const {
        if (!kinds_.has_value())
            kinds_ = work_out();
        return *kinds_;
    }

  private:
    mutable std::optional<std::vector<Initial_Kind>> kinds_;
};

}  // namespace Ostrel::Zam::tstore
