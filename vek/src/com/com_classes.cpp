// COM class registration and object creation through the system's class registry.
#include <string>

#include "errors/guarded_call.h"
#include "platform/class_registry.h"
#include "text/text_view.h"
#include "vek64_objects.h"

namespace vek {
namespace {

constexpr int32_t kClassNotRegistered = static_cast<int32_t>(0xC0040154);

std::string TextOf(const char *text) {
    return text != nullptr ? std::string(text) : std::string();
}

int32_t FailFromSystem(long status, const char *function, const char *what,
                       const std::string &prog_id) {
    return Fail(static_cast<int32_t>(0xC0070000u | (static_cast<uint32_t>(status) & 0xFFFFu)),
                function, "Cannot %s the class %s (system error %ld)", what, prog_id.c_str(),
                status);
}

char *CountedText(const std::string &text) {
    return text.empty() ? nullptr : VekTextNewA(text.c_str(), static_cast<int32_t>(text.size()));
}

}  // namespace
}  // namespace vek

VEK_API int32_t VEK_CALL ZamRegisterCOMClassA(const char *prog_id, int32_t, const void *class_id,
                                              const char *description, const char *module_path) {
    constexpr const char *kFunction = "ZamRegisterCOMClassA";
    return vek::GuardStatus(kFunction, [&] {
        const std::string prog = vek::TextOf(prog_id);
        if (prog.empty())
            return vek::Fail(VEK_E_INVALIDARG, kFunction, "No ProgID given");
        if (class_id == nullptr)
            return vek::Fail(VEK_E_POINTER, kFunction, "No class identifier given for %s",
                             prog.c_str());
        if (module_path == nullptr || *module_path == '\0')
            return vek::Fail(VEK_E_INVALIDARG, kFunction, "No server module given for %s",
                             prog.c_str());
        platform::ClassEntries entries;
        entries.class_id = platform::ClassIdText(*static_cast<const GUID *>(class_id));
        entries.prog_id = prog;
        entries.server = module_path;
        entries.description = vek::TextOf(description);
        entries.threading_model = "Both";
        const long status = platform::WriteClassEntries(prog, entries);
        return status == 0 ? 0 : vek::FailFromSystem(status, kFunction, "register", prog);
    });
}

VEK_API int32_t VEK_CALL ZamUnregisterCOMClassA(const char *prog_id, int32_t,
                                                const void *class_id) {
    constexpr const char *kFunction = "ZamUnregisterCOMClassA";
    return vek::GuardStatus(kFunction, [&] {
        const std::string prog = vek::TextOf(prog_id);
        if (prog.empty() && class_id == nullptr)
            return vek::Fail(VEK_E_INVALIDARG, kFunction, "No ProgID or class identifier given");
        const std::string named =
            class_id != nullptr ? platform::ClassIdText(*static_cast<const GUID *>(class_id)) : "";
        const long status = platform::RemoveClassEntries(prog, named);
        return status == 0 ? 0 : vek::FailFromSystem(status, kFunction, "unregister", prog);
    });
}

VEK_API char *VEK_CALL ZamGetCOMClassEntryA(const char *prog_id, int32_t part) {
    constexpr const char *kFunction = "ZamGetCOMClassEntryA";
    return vek::GuardPointer(kFunction, [&]() -> char * {
        const std::string prog = vek::TextOf(prog_id);
        const std::optional<platform::ClassEntries> entries = platform::ReadClassEntries(prog);
        if (!entries) {
            vek::Fail(vek::kClassNotRegistered, kFunction, "Class not registered: %s",
                      prog.c_str());
            return nullptr;
        }
        switch (part) {
            case ZAM_CLASS_ENTRY_CLASS_ID:
                return vek::CountedText(entries->class_id);
            case ZAM_CLASS_ENTRY_SERVER:
                return vek::CountedText(entries->server);
            case ZAM_CLASS_ENTRY_DESCRIPTION:
                return vek::CountedText(entries->description);
            case ZAM_CLASS_ENTRY_THREADING:
                return vek::CountedText(entries->threading_model);
            case ZAM_CLASS_ENTRY_PROG_ID:
                return vek::CountedText(entries->prog_id);
            default:
                vek::Fail(VEK_E_INVALIDARG, kFunction, "Unknown class entry part: %d", part);
                return nullptr;
        }
    });
}

VEK_API int32_t VEK_CALL ZamCreateCOMObjectA(const char *class_name, void *, const char *,
                                             uint32_t class_context, const void *iid,
                                             void **object) {
    constexpr const char *kFunction = "ZamCreateCOMObjectA";
    return vek::GuardStatus(kFunction, [&] {
        if (object == nullptr)
            return vek::Fail(VEK_E_POINTER, kFunction, "No object address given");
        *object = nullptr;
        const std::string name = vek::TextOf(class_name);
        const GUID &wanted =
            iid != nullptr ? *static_cast<const GUID *>(iid) : platform::kIID_IDispatch;
        const HRESULT result =
            platform::CreateRegisteredObject(name, class_context, wanted, object);
        if (SUCCEEDED(result) && *object != nullptr)
            return 0;
        if (*object != nullptr) {
            static_cast<IUnknown *>(*object)->Release();
            *object = nullptr;
        }
        const auto code = static_cast<int32_t>(static_cast<uint32_t>(result) | 0xC0000000u);
        return vek::Fail(code, kFunction, "Cannot create an object of the class %s (0x%08X)",
                         name.c_str(), static_cast<unsigned>(result));
    });
}
