// Collections of descriptors (Members, Methods, Properties, Parameters and
// IndexParameters): a snapshot taken when the collection is read, with Count,
// Item (the default member: a 1-based index or a name, compared ignoring ASCII
// letter case) and _NewEnum, an IEnumVARIANT over the items, so that VBScript's
// For Each and JScript's Enumerator walk them. Class "Ostrel.Zam.Collection".
#pragma once

#include <string>
#include <vector>

#include "framework/dispatch/dispatch_object.h"

namespace Ostrel::Zam {

class CICollectionImpl : public DispatchObject {
  public:
    struct Item {
        std::string name;
        platform::ComPtr<IDispatch> object;
    };
    explicit CICollectionImpl(std::vector<Item> items) : items_(std::move(items)) {}

    size_t Count() const { return items_.size(); }
    // The item for a 1-based index or a name; raises DISP_E_BADINDEX when none.
    IDispatch *ItemFor(const VARIANT &index) const;
    // A new enumerator over the items.
    platform::ComPtr<IEnumVARIANT> NewEnum() const;

    CIComponentDescriptorImpl &ClassDescriptor() override;

  private:
    std::vector<Item> items_;
};

// Builds a collection item from a framework object.
template <class T>
CICollectionImpl::Item CollectionItem(const std::string &name, T *object) {
    return {name, platform::ComPtr<IDispatch>(object->AsDispatch())};
}

}  // namespace Ostrel::Zam
