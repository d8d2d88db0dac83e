// Object registries: lists of objects held by reference, one of them process-wide.
// Every module that loads the support library shares the process-wide registry, which
// is how loaded modules find each other's class objects.
#include <atomic>
#include <mutex>
#include <vector>

#include "errors/guarded_call.h"
#include "text/counted_array.h"
#include "vek64_com.h"
#include "vek64_objects.h"

using Ostrel::Zam::IZamObjectRegistryA;
using Ostrel::Zam::kIID_IZamObjectRegistryA;
using platform::ComPtr;

namespace vek {
namespace {

// The identity of a COM object: its IUnknown pointer.
ComPtr<IUnknown> IdentityOf(IUnknown *object) {
    ComPtr<IUnknown> identity;
    if (object != nullptr &&
        SUCCEEDED(object->QueryInterface(platform::kIID_IUnknown, identity.OutVoid())))
        return identity;
    return ComPtr<IUnknown>(object);
}

class ProcessRegistry;

class ObjectRegistry final : public IZamObjectRegistryA {
  public:
    // `counted` false: a registry that lives as long as the process and ignores
    // AddRef and Release.
    ObjectRegistry(const GUID &item_iid, bool counted) : item_iid_(item_iid), counted_(counted) {}
    ObjectRegistry(const ObjectRegistry &) = delete;
    ObjectRegistry &operator=(const ObjectRegistry &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr)
            return E_POINTER;
        if (platform::SameGuid(iid, platform::kIID_IUnknown) ||
            platform::SameGuid(iid, kIID_IZamObjectRegistryA)) {
            AddRef();
            *object = static_cast<IZamObjectRegistryA *>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return counted_ ? ++references_ : static_cast<ULONG>(-1);
    }
    ULONG STDMETHODCALLTYPE Release() override {
        if (!counted_)
            return static_cast<ULONG>(-1);
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    int32_t STDMETHODCALLTYPE AddObject(IUnknown *object) override {
        return GuardStatus("ZamObjsAddItem", [&] {
            if (object == nullptr)
                return Fail(VEK_E_POINTER, "ZamObjsAddItem", "No object given");
            ComPtr<IUnknown> item;
            if (FAILED(object->QueryInterface(item_iid_, item.OutVoid())))
                return Fail(VEK_E_NOINTERFACE, "ZamObjsAddItem",
                            "The object lacks the registry's item interface");
            Entry entry{IdentityOf(object), std::move(item)};
            std::lock_guard lock(mutex_);
            entries_.push_back(std::move(entry));
            return static_cast<int32_t>(entries_.size());
        });
    }

    int32_t STDMETHODCALLTYPE RemoveObject(IUnknown *object) override {
        return GuardStatus("ZamObjsRemoveItem", [&] {
            const ComPtr<IUnknown> identity = IdentityOf(object);
            Entry removed;
            std::unique_lock lock(mutex_);
            for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
                if (object != nullptr && it->identity.Get() == identity.Get()) {
                    removed = std::move(*it);
                    entries_.erase(std::next(it).base());
                    const auto count = static_cast<int32_t>(entries_.size());
                    lock.unlock();  // the last reference may run the object's code
                    return count;
                }
            }
            return Fail(VEK_E_INVALIDARG, "ZamObjsRemoveItem", "The object is not registered");
        });
    }

    int32_t STDMETHODCALLTYPE GetCount() override {
        std::lock_guard lock(mutex_);
        return static_cast<int32_t>(entries_.size());
    }

    int32_t STDMETHODCALLTYPE GetObjectsA(REFIID iid, void ***objects) override {
        return GuardStatus("ZamObjsGet", [&] {
            if (objects == nullptr)
                return Fail(VEK_E_POINTER, "ZamObjsGet", "No list address given");
            *objects = nullptr;
            std::vector<IUnknown *> items;
            {
                std::lock_guard lock(mutex_);
                items.reserve(entries_.size());
                for (const Entry &entry : entries_)
                    items.push_back(entry.item.Get());
            }
            // Held while they are asked for the interface: the list may change meanwhile.
            std::vector<ComPtr<IUnknown>> held(items.begin(), items.end());
            std::vector<void *> found;
            for (const ComPtr<IUnknown> &item : held) {
                void *answer = nullptr;
                if (SUCCEEDED(item->QueryInterface(iid, &answer)) && answer != nullptr)
                    found.push_back(answer);
            }
            if (found.empty())
                return 0;
            void *list = NewCountedArray(found.data(), static_cast<int32_t>(found.size()),
                                         static_cast<int32_t>(sizeof(void *)), "ZamObjsGet");
            if (list == nullptr) {
                for (void *answer : found)
                    static_cast<IUnknown *>(answer)->Release();
                return ZamGetLastError();
            }
            *objects = static_cast<void **>(list);
            return static_cast<int32_t>(found.size());
        });
    }

  private:
    friend class ProcessRegistry;  // frees the uncounted process-wide registry
    ~ObjectRegistry() = default;

    struct Entry {
        ComPtr<IUnknown> identity;
        ComPtr<IUnknown> item;
    };
    GUID item_iid_;
    bool counted_;
    std::atomic<ULONG> references_{1};
    std::mutex mutex_;
    std::vector<Entry> entries_;
};

const GUID &IidOr(const void *iid, const GUID &fallback) {
    return iid != nullptr ? *static_cast<const GUID *>(iid) : fallback;
}

int32_t HandOut(IZamObjectRegistryA *registry, const void *iid, void **out, const char *function) {
    const HRESULT answer = registry->QueryInterface(IidOr(iid, kIID_IZamObjectRegistryA), out);
    if (FAILED(answer))
        return Fail(VEK_E_NOINTERFACE, function, "The registry has no such interface");
    return 0;
}

// The process-wide registry. It is made on first use, which is while the first
// module that registers objects is loading: that module's own statics are built
// after it and so are destroyed before it, removing their objects. The registry is
// freed with the support library when it is empty by then; one that still holds
// objects (of a module that never unloads cleanly) is left to the process, so that
// nothing can reach a freed registry.
class ProcessRegistry {
  public:
    ProcessRegistry() : registry_(new ObjectRegistry(platform::kIID_IUnknown, false)) {}
    ProcessRegistry(const ProcessRegistry &) = delete;
    ProcessRegistry &operator=(const ProcessRegistry &) = delete;
    ~ProcessRegistry() {
        if (registry_->GetCount() == 0)
            delete registry_;
    }
    ObjectRegistry *Get() const { return registry_; }

  private:
    ObjectRegistry *registry_;
};

}  // namespace
}  // namespace vek

VEK_API int32_t VEK_CALL ZamCreateObjectRegistry(const void *item_iid, const void *registry_iid,
                                                 void **registry) {
    return vek::GuardStatus("ZamCreateObjectRegistry", [&] {
        if (registry == nullptr)
            return vek::Fail(VEK_E_POINTER, "ZamCreateObjectRegistry", "No registry address given");
        *registry = nullptr;
        auto made = ComPtr<IZamObjectRegistryA>::Adopt(
            new vek::ObjectRegistry(vek::IidOr(item_iid, platform::kIID_IUnknown), true));
        return vek::HandOut(made.Get(), registry_iid, registry, "ZamCreateObjectRegistry");
    });
}

VEK_API int32_t VEK_CALL ZamGetObjectRegistry(const void *registry_iid, void **registry) {
    return vek::GuardStatus("ZamGetObjectRegistry", [&] {
        if (registry == nullptr)
            return vek::Fail(VEK_E_POINTER, "ZamGetObjectRegistry", "No registry address given");
        *registry = nullptr;
        static vek::ProcessRegistry process_registry;
        return vek::HandOut(process_registry.Get(), registry_iid, registry, "ZamGetObjectRegistry");
    });
}

VEK_API int32_t VEK_CALL ZamObjsFree(void *objects) {
    return vek::GuardStatus("ZamObjsFree", [&] {
        if (objects == nullptr)
            return 0;
        auto **items = static_cast<IUnknown **>(objects);
        const uint32_t count = vek::CountOf(objects);
        for (uint32_t i = 0; i < count; ++i)
            if (items[i] != nullptr)
                items[i]->Release();
        VekArrayClear_(&objects);
        return 0;
    });
}
