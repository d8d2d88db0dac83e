// The values that the declared attributes of a new node start with, as one
// property list of the support library kept once worked out: every new node gets
// a copy of the whole list in one step. The object's configuration never changes,
// so the declarations and types behind them (searches of the property list by
// keys built for each attribute) need reading once per object instead of once for
// every node added. They are worked out on first use, so a failure to read them
// comes where it came before, and is not kept.
#pragma once

#include <memory>

#include "imports/vek_imports.h"

namespace Ostrel::Zam::tstore {

class Initial_Values {
  public:
    struct Free_List {
        void operator()(void *list) const { VekPropsFree(list); }
    };
    using Property_List = std::unique_ptr<void, Free_List>;

    // The list; `work_out()` gives it the first time.
    template <class WorkOut>
    const void *Get(WorkOut &&work_out) const {
        if (values_ == nullptr)
            values_ = work_out();
        return values_.get();
    }

  private:
    mutable Property_List values_;
};

}  // namespace Ostrel::Zam::tstore
