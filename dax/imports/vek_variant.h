// Owns one support-library variant: initialised empty, cleared when it goes.
#pragma once

#include "vek64_store.h"

namespace Ostrel::Zam {

class VekVariant {
  public:
    VekVariant() { VekVarInit(&value_); }
    VekVariant(const VekVariant &) = delete;
    VekVariant &operator=(const VekVariant &) = delete;
    ~VekVariant() { VekVarClear(&value_); }

    VEKVARIANT *Get() { return &value_; }
    const VEKVARIANT *Get() const { return &value_; }
    uint32_t Type() const { return VekVarType(&value_); }
    // Below 2: empty or null, which the store counts as "no value".
    bool HasValue() const { return Type() >= 2; }

  private:
    VEKVARIANT value_;
};

}  // namespace Ostrel::Zam
