#include "com/class_objects.h"

#include <mutex>

#include "frame/error_model.h"

namespace Ostrel::Zam {
namespace {

// The module's registry: set by the first registration, released with the last.
std::mutex g_registry_mutex;
IZamObjectRegistryA *g_module_registry = nullptr;

platform::ComPtr<IZamObjectRegistryA> ProcessRegistry() {
    platform::ComPtr<IZamObjectRegistryA> registry;
    CheckVekResult(ZamGetObjectRegistry(&kIID_IZamObjectRegistryA, registry.OutVoid()));
    return registry;
}

}  // namespace

void RegisterClassObject(IUnknown *class_object) {
    {
        std::lock_guard lock(g_registry_mutex);
        if (g_module_registry == nullptr) {
            platform::ComPtr<IZamObjectRegistryA> made;
            CheckVekResult(ZamCreateObjectRegistry(&platform::kIID_IUnknown,
                                                   &kIID_IZamObjectRegistryA, made.OutVoid()));
            g_module_registry = made.Detach();
        }
        CheckVekResult(g_module_registry->AddObject(class_object));
    }
    CheckVekResult(ProcessRegistry()->AddObject(class_object));
}

void UnregisterClassObject(IUnknown *class_object) noexcept {
    platform::ComPtr<IZamObjectRegistryA> emptied;
    {
        std::lock_guard lock(g_registry_mutex);
        if (g_module_registry != nullptr && g_module_registry->RemoveObject(class_object) == 0) {
            emptied = platform::ComPtr<IZamObjectRegistryA>::Adopt(g_module_registry);
            g_module_registry = nullptr;
        }
    }
    platform::ComPtr<IZamObjectRegistryA> process;
    if (ZamGetObjectRegistry(&kIID_IZamObjectRegistryA, process.OutVoid()) >= 0)
        process->RemoveObject(class_object);
}

platform::ComPtr<IZamObjectRegistryA> ModuleClassRegistry() {
    std::lock_guard lock(g_registry_mutex);
    return platform::ComPtr<IZamObjectRegistryA>(g_module_registry);
}

}  // namespace Ostrel::Zam
