// DllRegisterServer and DllUnregisterServer: every class object of the module enters
// (or leaves) the system's class registry as "<module>.<class name>", where <module>
// is the module file's base name without extension (and, on Linux, without the
// "lib" of its file name: libdax64.so serves dax64.CustomObject as dax64.dll does).
// The classes are walked from the last registered to the first; the first refusal
// ends the walk, and the classes done before it stay as they are.
#include <optional>
#include <string>

#include "com/class_objects.h"
#include "com/help_info.h"
#include "com/object_list.h"
#include "com/server.h"
#include "framework/descriptors/component_descriptor.h"
#include "platform/kernel.h"

namespace Ostrel::Zam {
namespace {

constexpr HRESULT kSelfRegClassFailed = static_cast<HRESULT>(0x80040201);

class CountedText {
  public:
    CountedText() = default;
    CountedText(const CountedText &) = delete;
    CountedText &operator=(const CountedText &) = delete;
    ~CountedText() { VekTextFree(text_); }
    char **Out() { return &text_; }
    const char *Get() const { return text_; }

  private:
    char *text_ = nullptr;
};

const void *AddressInModule() {
    return reinterpret_cast<const void *>(&UpdateServerRegistration);
}

// "<module>." for the module file, or nothing when its base name cannot be found.
std::optional<std::string> ProgIdPrefix(const std::string &module_path) {
    if (module_path.empty())
        return std::nullopt;
    platform::ComPtr<IZamLocalFileSystemA> file_system;
    if (ZamGetLocalFileSystem(&kIID_IZamLocalFileSystemA, file_system.OutVoid()) < 0 ||
        !file_system)
        return std::nullopt;
    CountedText base_name;
    if (file_system->GetPathPartA(module_path.c_str(), kPathBaseName, base_name.Out()) < 0 ||
        base_name.Get() == nullptr)
        return std::nullopt;
    return std::string(platform::LibraryNameOfBaseName(base_name.Get())) + ".";
}

// The class's help text, or null when it has none.
std::string DescriptionOf(IUnknown *class_object) {
    platform::ComPtr<IHelpInfoA> help;
    if (FAILED(class_object->QueryInterface(kIID_IHelpInfoA, help.OutVoid())) || !help)
        return {};
    CountedText text;
    if (FAILED(help->GetHelpStringA(text.Out())) || text.Get() == nullptr)
        return {};
    return text.Get();
}

// Registers or unregisters one class object; S_OK also when it is skipped.
HRESULT UpdateClass(IUnknown *class_object, const std::string &prefix,
                    const std::string &module_path, bool register_class) {
    platform::ComPtr<IComponentDescriptorA> descriptor;
    if (FAILED(class_object->QueryInterface(kIID_IComponentDescriptorA, descriptor.OutVoid())) ||
        !descriptor)
        return S_OK;
    const GUID class_id = descriptor->ClassId();
    if (platform::SameGuid(class_id, platform::kGUID_NULL) || descriptor->ClassName().empty())
        return S_OK;
    const std::string prog_id = prefix + descriptor->ClassName();
    if (ZamUnregisterCOMClassA(prog_id.c_str(), 0, &class_id) < 0)
        return kSelfRegClassFailed;
    if (!register_class)
        return S_OK;
    const std::string description = DescriptionOf(class_object);
    if (ZamRegisterCOMClassA(prog_id.c_str(), 0, &class_id,
                             description.empty() ? nullptr : description.c_str(),
                             module_path.c_str()) < 0)
        return kSelfRegClassFailed;
    return S_OK;
}

}  // namespace

int32_t UpdateServerRegistration(bool register_classes) noexcept {
    try {
        const platform::ComPtr<IZamObjectRegistryA> registry = ModuleClassRegistry();
        if (!registry)
            return S_OK;
        const std::string module_path = platform::ModuleFileName(AddressInModule());
        const std::optional<std::string> prefix = ProgIdPrefix(module_path);
        if (!prefix)
            return E_UNEXPECTED;
        HRESULT result = S_OK;
        const ObjectList classes(registry.Get(), platform::kIID_IClassFactory);
        for (int32_t i = classes.Count() - 1; i >= 0 && SUCCEEDED(result); --i)
            result = UpdateClass(classes.At(i), *prefix, module_path, register_classes);
        return result;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

}  // namespace Ostrel::Zam
