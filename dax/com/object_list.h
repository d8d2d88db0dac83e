// An object list handed out by an object registry, freed with ZamObjsFree.
#pragma once

#include <cstdint>

#include "imports/vek_imports.h"
#include "platform/com.h"

namespace Ostrel::Zam {

class ObjectList {
  public:
    // The objects of `registry` that answer `iid`; an empty list when the registry
    // fails to list them.
    ObjectList(IZamObjectRegistryA *registry, const GUID &iid) {
        const int32_t count = registry->GetObjectsA(iid, &objects_);
        count_ = count > 0 && objects_ != nullptr ? count : 0;
    }
    ObjectList(const ObjectList &) = delete;
    ObjectList &operator=(const ObjectList &) = delete;
    ~ObjectList() { ZamObjsFree(objects_); }

    int32_t Count() const { return count_; }
    // As IUnknown: every interface pointer is one.
    IUnknown *At(int32_t index) const { return static_cast<IUnknown *>(objects_[index]); }

  private:
    void **objects_ = nullptr;
    int32_t count_ = 0;
};

}  // namespace Ostrel::Zam
