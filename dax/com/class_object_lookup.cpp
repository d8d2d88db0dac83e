// DllGetClassObject, DllCanUnloadNow and DllLockModule.
#include "com/class_objects.h"
#include "com/module_lock.h"
#include "com/object_list.h"
#include "com/server.h"
#include "framework/descriptors/component_descriptor.h"

namespace Ostrel::Zam {
namespace {

constexpr HRESULT kClassNotAvailable = static_cast<HRESULT>(0x80040111);

// The class identifier of a class object, or false when it is none.
bool ClassIdOf(IUnknown *object, GUID *class_id) {
    platform::ComPtr<IComponentDescriptorA> descriptor;
    if (FAILED(object->QueryInterface(kIID_IComponentDescriptorA, descriptor.OutVoid())) ||
        !descriptor)
        return false;
    *class_id = descriptor->ClassId();
    return true;
}

}  // namespace

int32_t GetClassObject(const void *class_id, const void *iid, void **object) noexcept {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (class_id == nullptr || iid == nullptr)
        return E_INVALIDARG;
    try {
        const platform::ComPtr<IZamObjectRegistryA> registry = ModuleClassRegistry();
        if (!registry)
            return kClassNotAvailable;
        const auto &wanted_class = *static_cast<const GUID *>(class_id);
        // Objects listed as the requested interface: the one found is handed out as is.
        const ObjectList candidates(registry.Get(), *static_cast<const GUID *>(iid));
        for (int32_t i = candidates.Count() - 1; i >= 0; --i) {
            GUID found{};
            if (ClassIdOf(candidates.At(i), &found) && platform::SameGuid(found, wanted_class)) {
                candidates.At(i)->AddRef();
                *object = candidates.At(i);
                return S_OK;
            }
        }
        return kClassNotAvailable;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

int32_t CanUnloadNow() noexcept {
    return ModuleLockCount() == 0 ? S_OK : S_FALSE;
}

int32_t LockModuleFromHost(int32_t lock) noexcept {
    if ((lock & 0xFF) != 0)
        LockModule();
    else
        UnlockModule();
    return 0;
}

}  // namespace Ostrel::Zam
