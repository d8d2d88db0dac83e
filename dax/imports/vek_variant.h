// Owns one support-library variant: initialised empty, cleared when it goes.
#pragma once

#include <utility>

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
    // Clears the value and hands out its address for a function that fills it.
    VEKVARIANT *Out() {
        VekVarClear(&value_);
        return &value_;
    }
    uint32_t Type() const { return VekVarType(&value_); }
    // Below 2: empty or null, which the store counts as "no value".
    bool HasValue() const { return Type() >= 2; }
    bool IsBlob() const { return VekVarIsBlob(&value_) > 0; }
    bool IsObject() const { return VekVarIsUnknown(&value_) > 0; }
    // Exchanges the values (both stay owned), so a value built aside can replace
    // this one only once it is complete.
    void Swap(VekVariant &other) noexcept { std::swap(value_, other.value_); }

  private:
    VEKVARIANT value_;
};

}  // namespace Ostrel::Zam
