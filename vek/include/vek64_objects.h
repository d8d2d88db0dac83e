/* vek64: object registries, COM class registration, path parts and object creation.
 *
 * Interface identifiers and object pointers pass as `const void *` / `void **` so that
 * the header stays plain C; the C++ interfaces behind them are in vek64_com.h.
 * Results are statuses as everywhere in the support library (vek64.h); the functions
 * that hand back objects add one reference that the caller releases.
 */
#ifndef VEK64_OBJECTS_H
#define VEK64_OBJECTS_H

#include "vek64.h"

/* ---- Object registries ----------------------------------------------------- */

/* A new, empty object registry. Objects are kept as the interface `item_iid` (null:
 * IUnknown) in the order they were added; *registry receives the registry as the
 * interface `registry_iid` (null: the registry interface). Returns 0. */
VEK_API int32_t VEK_CALL ZamCreateObjectRegistry(const void *item_iid, const void *registry_iid,
                                                 void **registry);
/* The process-wide registry (one per process, shared by every module that loads the
 * support library), as the interface `registry_iid`. Returns 0. */
VEK_API int32_t VEK_CALL ZamGetObjectRegistry(const void *registry_iid, void **registry);
/* Releases every reference of an object list handed out by a registry (a counted
 * array of interface pointers) and frees the list; null is ignored. Returns 0. */
VEK_API int32_t VEK_CALL ZamObjsFree(void *objects);

/* ---- COM class registration ------------------------------------------------ */

/* Enters an in-process class in the system's class registry: the ProgID with the
 * class identifier, and the class identifier with its ProgID, description, the
 * server module's full path and the threading model "Both". `flags` is reserved
 * (0). On Windows these are the keys HKCR\<ProgID>\CLSID and HKCR\CLSID\{...};
 * elsewhere a process-wide table that ZamGetCOMClassEntryA reads. Returns 0. */
VEK_API int32_t VEK_CALL ZamRegisterCOMClassA(const char *prog_id, int32_t flags,
                                              const void *class_id, const char *description,
                                              const char *module_path);
/* Removes what ZamRegisterCOMClassA entered for the ProgID and the class identifier
 * (null: the one the ProgID names). Entries already absent are no failure. Returns 0. */
VEK_API int32_t VEK_CALL ZamUnregisterCOMClassA(const char *prog_id, int32_t flags,
                                                const void *class_id);

#define ZAM_CLASS_ENTRY_CLASS_ID 0    /* "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" */
#define ZAM_CLASS_ENTRY_SERVER 1      /* the server module's full path */
#define ZAM_CLASS_ENTRY_DESCRIPTION 2 /* the class's description */
#define ZAM_CLASS_ENTRY_THREADING 3   /* the threading model */
#define ZAM_CLASS_ENTRY_PROG_ID 4     /* the ProgID that the class identifier names */

/* One part of the registered entries of a ProgID, as a counted text the caller
 * frees with VekTextFree; null when the ProgID is not registered or the part is
 * empty (ZamGetLastError then tells which: 0x80040154 for an unregistered ProgID). */
VEK_API char *VEK_CALL ZamGetCOMClassEntryA(const char *prog_id, int32_t part);

/* ---- Objects --------------------------------------------------------------- */

/* The local file system object, as the interface `iid` (null: the file-system
 * interface of vek64_com.h). Returns 0. */
VEK_API int32_t VEK_CALL ZamGetLocalFileSystem(const void *iid, void **file_system);

/* A new object of the registered class `class_name` (a ProgID, or a class
 * identifier in braces) as the interface `iid` (null: IDispatch). `outer` and
 * `server` are reserved (null); `class_context` is passed to the system (Windows) or
 * ignored. On Windows the system creates it (the calling thread must have entered
 * COM); elsewhere the class is served by a loaded module that registered it.
 * Returns 0; an unknown class fails with 0xC0040154. */
VEK_API int32_t VEK_CALL ZamCreateCOMObjectA(const char *class_name, void *outer,
                                             const char *server, uint32_t class_context,
                                             const void *iid, void **object);

#endif /* VEK64_OBJECTS_H */
