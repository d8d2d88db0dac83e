// The COM server's exports.
#include "com/server.h"
#include "dax64_server.h"

DAX64_API int32_t DAX64_CALL DllGetClassObject(const void *class_id, const void *iid,
                                               void **object) {
    return Ostrel::Zam::GetClassObject(class_id, iid, object);
}

DAX64_API int32_t DAX64_CALL DllCanUnloadNow(void) {
    return Ostrel::Zam::CanUnloadNow();
}

DAX64_API int32_t DAX64_CALL DllLockModule(int32_t lock) {
    return Ostrel::Zam::LockModuleFromHost(lock);
}

DAX64_API int32_t DAX64_CALL DllRegisterServer(void) {
    return Ostrel::Zam::UpdateServerRegistration(true);
}

DAX64_API int32_t DAX64_CALL DllUnregisterServer(void) {
    return Ostrel::Zam::UpdateServerRegistration(false);
}
