// The configuration of a T object: its own copy of the property list handed to
// T_Declare, freed with the object. Absent properties read as 0 or the empty text.
#pragma once

#include <cstdint>
#include <memory>

#include "frame/ansi_string.h"

namespace Ostrel::Zam::tstore {

class T_Config {
  public:
    // A copy of a support-library property list (null: an empty list).
    explicit T_Config(const void *source);

    const void *Properties() const { return properties_.get(); }

    int32_t ReadInt32(const char *name) const;
    int64_t ReadInt(const char *name) const;
    AnsiString ReadText(const char *name) const;

  private:
    struct Free {
        void operator()(void *properties) const;
    };
    std::unique_ptr<void, Free> properties_;
};

}  // namespace Ostrel::Zam::tstore
