/* vek64: the support library.
 *
 * Conventions of every function here:
 * - A status is an int32_t. A status with both top bits set (status & 0xC0000000
 *   == 0xC0000000) means the call failed and set the calling thread's error
 *   information; every other value is a result.
 * - Text lengths: a length of -1 or any other negative value means "up to the zero
 *   terminator" (callers pass -2 for texts and -5 for array copies; all mean the
 *   same here). A null text pointer is the empty text.
 * - Texts and arrays that the library hands out are counted arrays: a block whose
 *   items follow a header; the 32-bit word just before the first item holds the item
 *   count, and one zero item follows the last (so byte arrays are zero-terminated
 *   texts). They are released with VekTextFree (or VekArrayClear_). The library
 *   never hands out an empty array: an empty result is a null pointer.
 * - Option bit VEK_IGNORE_CASE (1) makes searches and comparisons ignore the case
 *   of the ASCII letters; names in the T store are compared this way.
 * - Wide text and 8-bit text meet as Latin-1 (each byte is the code unit of the
 *   same value).
 */
#ifndef VEK64_H
#define VEK64_H

#include <stddef.h>
#include <stdint.h>

#include "platform/api.h"

#if defined(VEK64_BUILDING)
#define VEK_API PLATFORM_API_EXPORT
#else
#define VEK_API PLATFORM_API_IMPORT
#endif
#define VEK_CALL PLATFORM_STDCALL

#define VEK_IGNORE_CASE 1u

/* Failure codes that the library itself sets (both top bits set). */
#define VEK_E_INVALIDARG ((int32_t)0xC0070057) /* an argument is out of its range */
#define VEK_E_POINTER ((int32_t)0xC0004003)    /* a required pointer is null */
#define VEK_E_OUTOFMEMORY ((int32_t)0xC0000008)
#define VEK_E_OVERFLOW ((int32_t)0xC002000A) /* a number does not fit its type */
#define VEK_E_NOINTERFACE ((int32_t)0xC0004002)

/* ---- Memory ---------------------------------------------------------------- */

VEK_API void *VEK_CALL ZamAllocMem(uint32_t size);
/* Releases a block from ZamAllocMem; null is ignored. Returns 0. */
VEK_API int32_t VEK_CALL ZamFreeMem(void *block);

/* ---- Counted arrays and texts ---------------------------------------------- */

/* Replaces the items of *array by `count` items of `item_size` bytes from
 * `source` (a negative count: items up to the first all-zero item). An empty
 * result frees the array and leaves *array null. Returns the item count. */
VEK_API int32_t VEK_CALL VekArrayCopy_(void **array, const void *source, int32_t count,
                                       int32_t item_size);
/* Appends items the same way; returns the new item count. */
VEK_API int32_t VEK_CALL VekArrayAppend_(void **array, const void *source, int32_t count,
                                         int32_t item_size);
/* Frees the array and sets *array to null; returns 0. */
VEK_API int32_t VEK_CALL VekArrayClear_(void **array);
/* The item count of an array (0 for null). */
VEK_API int32_t VEK_CALL VekArrayCountEx_(const void *array);

/* A new counted text holding `length` bytes of `text` (negative: up to the zero
 * terminator); null for an empty text or on failure. */
VEK_API char *VEK_CALL VekTextNewA(const char *text, int32_t length);
/* The character count of a counted text (0 for null). */
VEK_API int32_t VEK_CALL VekTextLength(const char *text);
/* Releases a text returned by any export of the three libraries; null is ignored. */
VEK_API void VEK_CALL VekTextFree(char *text);

/* ---- Thread error information ---------------------------------------------- */

/* Makes an error-information object (it answers for IErrorInfoExA and IErrorInfo)
 * and returns the interface `iid` of it in *object. A null description takes the
 * text of the message table registered for the code's family. `inner_error` is an
 * IErrorInfoExA or null. Returns 0 or a negative HRESULT. */
VEK_API int32_t VEK_CALL ZamCreateErrorInfoA(int32_t code, const char *source,
                                             const char *description, const char *help_link,
                                             const void *dump, uint32_t dump_size,
                                             void *inner_error, const void *iid, void **object);
/* Makes the given error information (IErrorInfoExA or any IErrorInfo) the calling
 * thread's current one; null clears it. Returns 0. */
VEK_API int32_t VEK_CALL ZamSetErrorInfo(void *info);
/* The thread's current error information as interface `iid` in *object: 0 with a
 * new reference, 1 with null when there is none, or a negative HRESULT. */
VEK_API int32_t VEK_CALL ZamGetErrorInfo(const void *iid, void **object);
/* Creates error information and makes it the thread's current one. Returns the code
 * with both top bits set, so that a failing function can return it directly. */
VEK_API int32_t VEK_CALL ZamSetErrorInfoA(int32_t code, const char *source, const char *description,
                                          const char *help_link, const void *dump,
                                          uint32_t dump_size, void *inner_error);
/* The code of the thread's current error information; 0 when there is none. */
VEK_API int32_t VEK_CALL ZamGetLastError(void);
/* Its source and description as texts the caller frees; null when none or empty. */
VEK_API char *VEK_CALL ZamGetLastErrorSourceA(void);
VEK_API char *VEK_CALL ZamGetLastErrorDescriptionA(void);

/* ---- Error-message tables -------------------------------------------------- */

/* Registers an IVekErrorMsgsA for the codes of one family (`family` is the family
 * number shifted left by 16, e.g. 0x22090000). The table is asked for the
 * description of an error of that family raised without one. Returns 0. */
VEK_API int32_t VEK_CALL VekRegisterErrorsA(uint32_t flags, uint32_t family, void *messages);
/* Removes a table registered before; 0, or a failure status for an unknown one. */
VEK_API int32_t VEK_CALL VekUnregisterErrors(void *messages);

/* ---- Text helpers ---------------------------------------------------------- */

/* 0-based offset of the first occurrence of `pattern` in `text` at or after byte
 * `start`, or -1. An empty pattern is found at `start`. */
VEK_API int32_t VEK_CALL VekStrnSearchA(const char *text, int32_t text_length, const char *pattern,
                                        int32_t pattern_length, uint32_t options, int32_t start);
/* The same, for the last occurrence that begins at or before byte `start` (a
 * negative start: anywhere). */
VEK_API int32_t VEK_CALL VekStrnSearchRevA(const char *text, int32_t text_length,
                                           const char *pattern, int32_t pattern_length,
                                           uint32_t options, int32_t start);
/* Byte comparison: negative, 0 or positive as a sorts before, equal to or after b
 * (bytes compared as unsigned; with VEK_IGNORE_CASE letters as upper case). */
VEK_API int32_t VEK_CALL VekStrnCompA(const char *a, int32_t a_length, const char *b,
                                      int32_t b_length, uint32_t options);
/* 1-based position of the first of the null-terminated `alternatives` that equals
 * `text` ignoring letter case, or 0 when none does. */
VEK_API int32_t VEK_CALL _strimatch(const char *text, const char *const *alternatives);

/* ---- Number conversions ---------------------------------------------------- */

/* Parse an optional sign (signed forms; the unsigned form accepts '+') and the
 * longest run of digits of `radix` (2..36, letters in either case). *consumed
 * receives the number of characters used (0 when no digit was found, and then
 * the result is 0), or a failure status when the number does not fit the type
 * or the radix is out of range (the result is then 0). `consumed` may be null. */
VEK_API int32_t VEK_CALL VekStrnToInt32A(const char *text, int32_t length, int32_t radix,
                                         int32_t *consumed);
VEK_API uint32_t VEK_CALL VekStrnToUint32A(const char *text, int32_t length, int32_t radix,
                                           int32_t *consumed);
VEK_API int64_t VEK_CALL VekStrnToInt64A(const char *text, int32_t length, int32_t radix,
                                         int32_t *consumed);

#define VEK_NUMBER_UNSIGNED 1u /* format the value as unsigned */

/* The digits of `value` in `radix` (2..36, upper-case letters), a '-' first for a
 * negative signed value, padded on the left with `fill` to at least `width`
 * characters. With a null `buffer` the result is a new counted text the caller
 * frees; otherwise it is written zero-terminated into `buffer` (of `buffer_size`
 * bytes) and `buffer` is returned. Null on failure (bad radix, buffer too small),
 * with the thread's error information set. */
VEK_API char *VEK_CALL VekInt32ToStrnA(int32_t value, int32_t radix, int32_t width, int32_t fill,
                                       uint32_t flags, char *buffer, int32_t buffer_size);
VEK_API char *VEK_CALL VekInt64ToStrnA(int64_t value, int32_t radix, int32_t width, int32_t fill,
                                       uint32_t flags, char *buffer, int32_t buffer_size);

/* The text of a 16-byte UUID laid out as a GUID (a 32-bit and two 16-bit fields in
 * the machine's byte order, then 8 bytes): "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
 * 38 characters, upper-case hexadecimal, in braces. With a null `buffer` the result
 * is a new counted text the caller frees; otherwise it is written zero-terminated
 * into `buffer` (at least 39 bytes) and `buffer` is returned. Null on failure (no
 * UUID, buffer too small) with the thread's error information set. */
#define VEK_UUID_TEXT_LENGTH 38
VEK_API char *VEK_CALL VekUuidToStrnA(const void *uuid, char *buffer, int32_t buffer_size);

/* ---- Compression ------------------------------------------------------------
 * Packed data is a zlib stream (RFC 1950: deflate with a header and an Adler-32
 * check); a gzip stream (RFC 1952) is read as well. */

#define VEK_PACK_ZLIB 0x00004000u     /* the data is a zlib (or gzip) stream */
#define VEK_PACK_AS_TEXT 0x40000000u  /* the result is handed out as a counted text */
#define VEK_UNPACK_LIMIT (256u << 20) /* the default bound of unpacked data: 256 MiB */
/* The input does not hold one whole, sound stream of the given size. */
#define VEK_E_BADDATA ((int32_t)0xC007000D)

/* Unpacks `size` bytes at `data` into a new counted array in *output (null when it
 * unpacks to nothing) and returns the unpacked size, or a failure status with
 * *output left as it was. `flags`: VEK_PACK_ZLIB, optionally with VEK_PACK_AS_TEXT
 * (the result is a counted byte array either way, zero-terminated). `limit`: the
 * most bytes the data may unpack to; negative means VEK_UNPACK_LIMIT, and no limit
 * may exceed it. Refused with VEK_E_BADDATA: data that is not a sound stream, that
 * ends before the stream does (truncated), that goes on after it (the size
 * disagrees with the data), or that unpacks to more than the limit; memory is taken
 * only as the unpacked bytes arrive, never from a size the data claims. */
VEK_API int32_t VEK_CALL VekDecompressData(const void *data, int32_t size, void **output,
                                           uint32_t flags, int32_t limit);
/* Packs `size` bytes at `data` as a zlib stream into a new counted byte array in
 * *output and returns its size (or a failure status, *output left as it was).
 * `flags`: VEK_PACK_ZLIB; `level`: 0 (store) to 9 (smallest), negative for zlib's
 * default (6). */
VEK_API int32_t VEK_CALL VekCompressData(const void *data, int32_t size, void **output,
                                         uint32_t flags, int32_t level);

#endif /* VEK64_H */
