/* dax64: the in-process COM server entry points.
 *
 * The system calls these (CoGetClassObject, CoFreeUnusedLibraries, regsvr32); a host
 * may call them too. They take identifiers and objects as pointers so that the
 * header stays plain C; include it in no file that also sees the system's own
 * declarations of the same functions (<objbase.h>).
 */
#ifndef DAX64_SERVER_H
#define DAX64_SERVER_H

#include "dax64.h"

/* The class object of `class_id` (CustomObject, DaxCustomObject) as `iid`. *object
 * is cleared first. Returns 0, 0x80040111 (CLASS_E_CLASSNOTAVAILABLE) for a class
 * the module does not serve, 0x80004003 (E_POINTER) for a null `object`. */
DAX64_API int32_t DAX64_CALL DllGetClassObject(const void *class_id, const void *iid,
                                               void **object);
/* 0 when no object of the module is alive and no lock is held, else 1. */
DAX64_API int32_t DAX64_CALL DllCanUnloadNow(void);
/* A true low byte of `lock` takes one module lock, false returns one. Returns 0. */
DAX64_API int32_t DAX64_CALL DllLockModule(int32_t lock);
/* Enters (removes) the module's classes in the system's class registry as
 * "<module base name>.<class name>". Returns 0, 0x8000FFFF (E_UNEXPECTED) when the
 * module's name cannot be found, 0x80040201 (SELFREG_E_CLASS) when the registry
 * refuses an entry. */
DAX64_API int32_t DAX64_CALL DllRegisterServer(void);
DAX64_API int32_t DAX64_CALL DllUnregisterServer(void);

#endif /* DAX64_SERVER_H */
