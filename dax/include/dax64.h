/* dax64: exports of the system for script hosts.
 *
 * Every export uses the standard calling convention, takes zero-terminated 8-bit
 * texts (null is the empty text) and 32-bit integers, and returns one 32-bit value:
 * integer exports return a non-negative result or a negative error code; text
 * exports return a counted text the caller releases with VekTextFree, or null
 * (failure, or an empty text). After a failure the calling thread's error
 * information (ZamGetLastError and friends in vek64) describes it. */
#ifndef DAX64_H
#define DAX64_H

#include <stdint.h>

#include "platform/api.h"

#if defined(DAX64_BUILDING)
#define DAX64_API PLATFORM_API_EXPORT
#else
#define DAX64_API PLATFORM_API_IMPORT
#endif
#define DAX64_CALL PLATFORM_STDCALL

/* ---- IString services ---------------------------------------------------- */

/* ---- NumStr services ------------------------------------------------------ */

/* ---- Testing -------------------------------------------------------------- */

/* Present only in testing builds: provoke a failure of the given kind inside the
 * exported-call frame (1 access violation, 2 integer division by zero, 3 standard
 * exception, 4 other exception, 5 raise with the family's text, 6 raise of a code
 * without raise bits, 7 internal error, 8 out of memory; other kinds succeed). */
DAX64_API int32_t DAX64_CALL DaxTestFault(int32_t kind);
DAX64_API char *DAX64_CALL DaxTestFaultText(const char *text, int32_t kind);

#endif /* DAX64_H */
