// Arrays of script objects that a call hands out (letter 'a': a SAFEARRAY ** the
// call fills with a one-dimensional array of IDispatch pointers). The script passes
// `out` (or `null`); after the call the host shows every object with its own
// properties in their order, each value as variant_argument.h shows VARIANTs:
//
//   objects = [{Port=bstr:"COM1", Rate=i4:9600}, {}]     objects = null
//
// and destroys the array (which releases the objects).
#pragma once

#include <string>

#include "platform/com.h"

namespace daxhost {

// Owns the array a call stored; its address must stay put while a call may use it.
class HostObjectArray {
  public:
    HostObjectArray() = default;
    HostObjectArray(const HostObjectArray &) = delete;
    HostObjectArray &operator=(const HostObjectArray &) = delete;
    ~HostObjectArray() {
        if (array_ != nullptr)
            SafeArrayDestroy(array_);
    }
    SAFEARRAY **Slot() { return &array_; }
    SAFEARRAY *Array() const { return array_; }

  private:
    SAFEARRAY *array_ = nullptr;
};

std::string ShowObjectArray(SAFEARRAY *array);

}  // namespace daxhost
