// The objects a tree conversion makes: one custom object per record, collected in
// creation order and handed out as a one-dimensional array of dispatch pointers.
//
// The list holds one reference to every object it made; the references go with the
// list on every way out of an export, so a failure part-way leaks nothing. Only a
// finished array hands its own references to the caller.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/com.h"

namespace Ostrel::Zam {

class ObjectArrayBuilder {
  public:
    ObjectArrayBuilder() = default;
    ObjectArrayBuilder(const ObjectArrayBuilder &) = delete;
    ObjectArrayBuilder &operator=(const ObjectArrayBuilder &) = delete;

    // Makes a new custom object without prototype and appends it to the list.
    IDispatch *AppendObject();
    // Puts every property of a support-library property list on `object` by name,
    // in list order, the values keeping their variant kind. A failing put raises.
    void PutProperties(IDispatch *object, void *props, const char *source);
    // Puts one text property on `object`.
    void PutText(IDispatch *object, std::string_view name, std::string_view text,
                 const char *source);

    int32_t Count() const { return static_cast<int32_t>(objects_.size()); }
    // A new array (lower bound 0) of the objects in creation order, each with a
    // reference of its own, stored through `result`. When no array can be made, a
    // null pointer is stored and the failure raised.
    void StoreArray(void **result, const char *source) const;

  private:
    std::vector<platform::ComPtr<IDispatch>> objects_;
};

}  // namespace Ostrel::Zam
