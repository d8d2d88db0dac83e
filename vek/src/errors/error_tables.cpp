#include "errors/error_tables.h"

#include <mutex>
#include <vector>

#include "errors/failure.h"
#include "vek64.h"
#include "vek64_com.h"

using Ostrel::Zam::IVekErrorMsgsA;

namespace vek {

namespace {

constexpr uint32_t kFamilyMask = 0x3FFF0000;

struct Registration {
    uint32_t family;
    uint32_t flags;
    IVekErrorMsgsA *messages;
};

class TableRegistry {
  public:
    void Add(uint32_t family, uint32_t flags, IVekErrorMsgsA *messages) {
        std::lock_guard lock(mutex_);
        messages->AddRef();
        tables_.push_back({family & kFamilyMask, flags, messages});
    }

    bool Remove(void *messages) {
        std::lock_guard lock(mutex_);
        for (auto it = tables_.begin(); it != tables_.end(); ++it) {
            if (it->messages == messages) {
                it->messages->Release();
                tables_.erase(it);
                return true;
            }
        }
        return false;
    }

    // The most recently registered table of the family, with a reference for the caller.
    IVekErrorMsgsA *Find(uint32_t family) {
        std::lock_guard lock(mutex_);
        for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) {
            if (it->family == family) {
                it->messages->AddRef();
                return it->messages;
            }
        }
        return nullptr;
    }

  private:
    std::mutex mutex_;
    std::vector<Registration> tables_;
};

TableRegistry &Registry() {
    static TableRegistry registry;
    return registry;
}

}  // namespace

std::string RegisteredMessageFor(uint32_t code) {
    IVekErrorMsgsA *table = Registry().Find(code & kFamilyMask);
    if (table == nullptr)
        return {};
    char *text = nullptr;
    table->GetErrorMsg(code, &text);
    table->Release();
    std::string message = text != nullptr ? text : "";
    VekTextFree(text);
    return message;
}

}  // namespace vek

VEK_API int32_t VEK_CALL VekRegisterErrorsA(uint32_t flags, uint32_t family, void *messages) {
    if (messages == nullptr)
        return vek::Fail(VEK_E_POINTER, "VekRegisterErrorsA", "No message table given");
    vek::Registry().Add(family, flags, static_cast<IVekErrorMsgsA *>(messages));
    return 0;
}

VEK_API int32_t VEK_CALL VekUnregisterErrors(void *messages) {
    if (!vek::Registry().Remove(messages))
        return vek::Fail(VEK_E_INVALIDARG, "VekUnregisterErrors",
                         "The message table is not registered");
    return 0;
}
