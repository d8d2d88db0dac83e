/* vek64: variants, property lists, string lists, wildcard matching, tree-node
 * handles and the host functions for them. The conventions of vek64.h hold here
 * (statuses, counted texts, negative lengths, option VEK_IGNORE_CASE).
 */
#ifndef VEK64_STORE_H
#define VEK64_STORE_H

#include <stdint.h>

#include "vek64.h"

/* ---- Variants ---------------------------------------------------------------
 * A VEKVARIANT owns its text or byte buffer (a counted array of the library).
 * Initialise with VekVarInit (or zero it) and release with VekVarClear. */

#define VEK_VT_EMPTY 0
#define VEK_VT_NULL 1
#define VEK_VT_INT32 3
#define VEK_VT_R8 5       /* double-precision floating-point number */
#define VEK_VT_DATE 7     /* days since 1899-12-30 in a double */
#define VEK_VT_WTEXT 8    /* wide (UTF-16) text, counted array of 16-bit units */
#define VEK_VT_BOOL 11    /* 0 false, non-zero true */
#define VEK_VT_INT 22     /* 64-bit integer */
#define VEK_VT_TEXT 0x100 /* 8-bit counted text */
#define VEK_VT_BLOB 0x441 /* counted byte array */

/* A value that cannot be converted to the type asked for (e.g. "abc" as a number). */
#define VEK_E_TYPEMISMATCH ((int32_t)0xC0020005)

typedef struct VEKVARIANT {
    uint32_t type;
    uint32_t reserved;
    union {
        int32_t int32_value;
        int64_t int_value;
        double date_value;
        double double_value; /* VEK_VT_R8 */
        int32_t bool_value;
        char *text;      /* VEK_VT_TEXT; null for the empty text */
        uint16_t *wtext; /* VEK_VT_WTEXT; null for the empty text */
        void *blob;      /* VEK_VT_BLOB; null for no bytes */
        void *object;    /* VEK_VT_DISPATCH / VEK_VT_UNKNOWN: IDispatch * / IUnknown * */
    } value;
} VEKVARIANT;

VEK_API void VEK_CALL VekVarInit(VEKVARIANT *variant);
VEK_API void VEK_CALL VekVarClear(VEKVARIANT *variant);
/* A deep copy of source into destination (released first). Returns 0 or a status. */
VEK_API int32_t VEK_CALL VekVarCopy(VEKVARIANT *destination, const VEKVARIANT *source);
/* The type code; VEK_VT_EMPTY for null. */
VEK_API uint32_t VEK_CALL VekVarType(const VEKVARIANT *variant);
VEK_API int32_t VEK_CALL VekVarFromInt32(VEKVARIANT *variant, int32_t value);
VEK_API int32_t VEK_CALL VekVarFromInt(VEKVARIANT *variant, int64_t value);
/* `length` bytes of text (negative: up to the terminator) as an 8-bit text variant. */
VEK_API int32_t VEK_CALL VekVarFromStrA(VEKVARIANT *variant, const char *text, int32_t length);
/* The value as a 32-bit / 64-bit integer: integers as they are (out of range is an
 * error), Booleans 1 or 0, texts parsed as decimal (empty text 0; anything else
 * that is not a whole decimal number is an error), empty and null 0. Returns 0 or a
 * failure status; *value is written only on success. */
VEK_API int32_t VEK_CALL VekVarToInt32(const VEKVARIANT *variant, int32_t *value);
VEK_API int32_t VEK_CALL VekVarToInt(const VEKVARIANT *variant, int64_t *value);
/* The value as a new counted text (null for the empty text) in *text. Integers in
 * decimal; empty and null give the empty text. Returns 0 or a failure status. */
VEK_API int32_t VEK_CALL VekVarToStrA(const VEKVARIANT *variant, char **text);

/* Object values: a counted reference to an automation object (IDispatch for
 * VEK_VT_DISPATCH, IUnknown for VEK_VT_UNKNOWN), released by VekVarClear. */
#define VEK_VT_DISPATCH 9
#define VEK_VT_UNKNOWN 13

/* ---- Casts ------------------------------------------------------------------
 * VekVarCast converts between every pair of the types above (objects only to
 * themselves). The text forms, used both ways:
 * - integers: decimal with an optional sign; a value outside the target's range is
 *   an error (VEK_E_OVERFLOW), never cut;
 * - Booleans: "True" / "False" written; "True", "False" (any case), "1", "0" and
 *   any other whole decimal number (non-zero is true) read; the empty text is false;
 * - dates: ISO 8601 "YYYY-MM-DD" or "YYYY-MM-DD hh:mm:ss" (also with 'T' between
 *   date and time) for years 100..9999; a date without time of day is written
 *   without it; the empty text is date 0 (1899-12-30);
 * - the empty text is 0 as an integer; empty and null values cast to the empty
 *   text, 0, false or date 0;
 * - blobs: their bytes are the text, and a text's bytes are the blob;
 * - wide text meets 8-bit text and blobs as Latin-1 (a unit above 0xFF becomes '?';
 *   wide text cast to wide text keeps every unit).
 * Numbers and dates meet as days: an integer n is date n (years 100..9999, else
 * VEK_E_OVERFLOW), a date's whole days are its integer (time of day dropped, -1.25
 * gives -1). Booleans are the numbers 1 and 0 (so true is date 1); any non-zero
 * number or date is true. A cast to VEK_VT_EMPTY or VEK_VT_NULL makes that value of
 * anything. Objects cast only to objects: a dispatch object is also an unknown one,
 * and an unknown one becomes a dispatch object when it answers for IDispatch.
 * A failed cast returns VEK_E_TYPEMISMATCH or VEK_E_OVERFLOW with a description
 * that names the value (texts quoted and cut after 100 characters) and the target
 * type, e.g. `Cannot convert "abc" to a 32-bit integer`, and leaves destination
 * untouched. destination may be source; a null source is the empty value. */
VEK_API int32_t VEK_CALL VekVarCast(VEKVARIANT *destination, const VEKVARIANT *source,
                                    uint32_t type);

/* A Boolean variant: bool_value 1 for any non-zero value, else 0. */
VEK_API int32_t VEK_CALL VekVarFromBool(VEKVARIANT *variant, int32_t value);
/* A date variant; VEK_E_OVERFLOW outside the years 100..9999 (and for NaN). */
VEK_API int32_t VEK_CALL VekVarFromDate(VEKVARIANT *variant, double date);
/* `count` bytes (0: an empty blob, whatever `bytes`; negative: VEK_E_INVALIDARG) as a
 * blob variant. */
VEK_API int32_t VEK_CALL VekVarFromBlob(VEKVARIANT *variant, const void *bytes, int32_t count);
/* 1 when the variant is a blob, else 0. */
VEK_API int32_t VEK_CALL VekVarIsBlob(const VEKVARIANT *variant);
/* 1 when the variant holds an object (dispatch or unknown, not a null one), else 0. */
VEK_API int32_t VEK_CALL VekVarIsUnknown(const VEKVARIANT *variant);
/* The value as a Boolean (0 or 1) / a date; the conversions of VekVarCast. */
VEK_API int32_t VEK_CALL VekVarToBool(const VEKVARIANT *variant, int32_t *value);
VEK_API int32_t VEK_CALL VekVarToDate(const VEKVARIANT *variant, double *date);

/* Doubles. Their text is the shortest decimal that reads back as the same number
 * ("1.5", "1e+300", "3"), "NaN", "Infinity" or "-Infinity"; those texts and any
 * decimal number (with fraction or exponent) read as doubles, the empty text as 0.
 * A double becomes an integer only when it is a whole number inside the target's
 * range (1.5 is never cut to 1: VEK_E_TYPEMISMATCH), a date when it lies inside the
 * years 100..9999 (as days), a Boolean true when it is not 0. Integers, Booleans and
 * dates become doubles by their number. VekVarFromDouble keeps any value (also
 * not-a-number and infinities); VekVarToDouble returns 0 or a status and writes
 * *value only on success. */
VEK_API int32_t VEK_CALL VekVarFromDouble(VEKVARIANT *variant, double value);
VEK_API int32_t VEK_CALL VekVarToDouble(const VEKVARIANT *variant, double *value);

/* Byte buffers: counted byte arrays of the library. VekBufCopy replaces *buffer by
 * `count` bytes (0: frees it and leaves null; negative: VEK_E_INVALIDARG); the bytes
 * may lie inside the buffer itself. Returns the byte count or a status. */
VEK_API int32_t VEK_CALL VekBufCopy(void **buffer, const void *bytes, int32_t count);

/* Automation variants (the platform's VARIANT). VekVarToVARIANT writes a new value
 * into *out, clearing what it held: empty, null, VT_I4, VT_R8, VT_DATE, VT_BSTR (both
 * texts, Latin-1), VT_BOOL, VT_I8, VT_ARRAY|VT_UI1 (blobs), VT_DISPATCH and
 * VT_UNKNOWN (a new reference). VekVarFromVARIANT reads one: VT_I1, VT_I2, VT_I4,
 * VT_INT, VT_UI1, VT_UI2 become 32-bit integers; VT_UI4, VT_UINT, VT_I8, VT_UI8
 * 64-bit integers (VEK_E_OVERFLOW past the signed range); VT_R8 and VT_R4 doubles
 * (a single by its shortest decimal, so 0.1f is the double 0.1); VT_CY and
 * VT_DECIMAL whole numbers become integers (32-bit when they fit) and others their
 * shortest decimal text ("-12.34"); VT_BOOL a Boolean;
 * VT_DATE a date (VEK_E_OVERFLOW outside the years 100..9999); VT_BSTR wide text;
 * VT_DISPATCH / VT_UNKNOWN an object (a new reference); a VT_BYREF is read through
 * (also a VT_BYREF|VT_VARIANT holding a reference again); a one-dimensional
 * VT_ARRAY|VT_UI1 a blob; other kinds fail with VEK_E_TYPEMISMATCH. Blobs go out as
 * one-dimensional byte arrays counted from 0. A null source variant of
 * VekVarToVARIANT is the empty value. Both return 0 or a status and leave the target
 * untouched on failure. The VARIANT pointer is a `VARIANT *` of platform/com.h. */
VEK_API int32_t VEK_CALL VekVarToVARIANT(const VEKVARIANT *variant, void *out);
VEK_API int32_t VEK_CALL VekVarFromVARIANT(VEKVARIANT *variant, const void *in);

/* ---- Property lists ---------------------------------------------------------
 * A property list is an ordered list of named variants. Names compare ignoring
 * letter case. Hosts make and fill them with VekPropsNew / VekPropsSetTextA /
 * VekPropsSetInt32 and free them with VekPropsFree. */

typedef struct VEKPROPERTYA {
    char *name; /* counted text, owned by the list */
    VEKVARIANT value;
} VEKPROPERTYA;

typedef struct VEKPROPS VEKPROPS; /* opaque */

VEK_API void *VEK_CALL VekPropsNew(void);
VEK_API void VEK_CALL VekPropsFree(void *props);
/* Removes every property; 0 or a status. */
VEK_API int32_t VEK_CALL VekPropsClear(void *props);
/* The number of properties (0 for null). */
VEK_API int32_t VEK_CALL VekPropsCount(const void *props);
/* The property at a 0-based index, or null. Stays valid until the list changes. */
VEK_API VEKPROPERTYA *VEK_CALL VekPropsItemAt(void *props, int32_t index);
/* The property of that name; added with an empty value when absent. Null with a
 * failure status set on bad arguments. Stays valid until an item is removed or the
 * list is cleared or freed. */
VEK_API VEKPROPERTYA *VEK_CALL VekPropsEditNamedItemA(void *props, const char *name);
/* The property of that name or null; never adds. */
VEK_API const VEKPROPERTYA *VEK_CALL VekPropsFindNamedItemA(const void *props, const char *name);
/* Copies every property of source into destination. Mode -3: destination is
 * cleared first (a copy); mode 0: properties are added or replaced by name. */
VEK_API int32_t VEK_CALL VekPropsMerge(void *destination, const void *source, int32_t mode);
VEK_API int32_t VEK_CALL VekPropsSetTextA(void *props, const char *name, const char *text);
VEK_API int32_t VEK_CALL VekPropsSetInt32(void *props, const char *name, int32_t value);

/* Property texts: a property list written as text. Items are separated by the
 * separator (one or more characters; `separator_length` negative: up to its zero;
 * null or empty: ";"); an item is `name=value`, the name ending at the first '='.
 * A backslash makes the character after it stand for itself, so "\;" (with the
 * separator ";") is a ';' inside a name or value, "\=" an '=' inside a name and
 * "\\" a backslash. Empty items (";;", a trailing ";") are skipped; the same name
 * twice keeps the later value. Values are 8-bit texts. Option VEK_PROPS_TRIM trims
 * blanks (space and tab, unless escaped) around names and values.
 * VekTextToPropsA returns a new list (VekPropsFree) or null with the thread's
 * error set: VEK_E_BADDATA for an item without '=', an empty name or a backslash at
 * the end, naming the item's position. VekPropsToTextA writes a list in that
 * syntax (values in their text form, see VekVarCast), escaping backslashes, every
 * character equal to the separator's first one, and '=' inside names; it returns a new counted
 * text, or null for an empty list or a failure. */
#define VEK_PROPS_TRIM 2u
VEK_API void *VEK_CALL VekTextToPropsA(const char *text, const char *separator,
                                       int32_t separator_length, uint32_t options);
VEK_API char *VEK_CALL VekPropsToTextA(const void *props, const char *separator,
                                       int32_t separator_length, uint32_t options);

/* ---- Sorted string lists ---------------------------------------------------- */

/* Binary search of `key` in `count` texts sorted by VekStrnCompA with `options`.
 * Returns the index of the match, or the one's complement (~index, negative) of the
 * position where the key would be inserted. */
VEK_API int32_t VEK_CALL VekStrsBSearchA(const char *const *items, int32_t count, const char *key,
                                         int32_t key_length, uint32_t options);

/* ---- Wildcard matching ------------------------------------------------------
 * The descriptor is a 36-byte block naming the pattern characters by position:
 * byte 5 one character, byte 6 any run of characters, byte 8 and byte 11 open and
 * close a set of single characters (byte 10 marks a range x-y inside it; the range
 * mark just before the closing character stands for itself; byte 9 is reserved),
 * byte 12 a decimal number (one or more digits), bytes 14 and 15 open and close a
 * set that matches one or more characters. A zero byte switches that feature off. */
#define VEK_WILDCARD_DESCRIPTOR_SIZE 36

/* 0 when the whole text matches the whole pattern, 1 when not, or a failure status
 * (bad arguments, malformed pattern such as an unclosed set). Null descriptor: the
 * store's standard one ("?", "*", "{~-}", "#", "<>"). */
VEK_API int32_t VEK_CALL VekStrnWCompA(const char *text, int32_t text_length, const char *pattern,
                                       int32_t pattern_length, uint32_t options,
                                       const void *descriptor);

/* The same matching with the pattern compiled once, for callers that match one
 * pattern against many texts. VekWildcardCompileA returns the compiled pattern, or
 * null with the thread's error set (malformed pattern, bad arguments);
 * VekWildcardMatchA answers 0 (match), 1 (no match) or a failure status;
 * VekWildcardFree releases it (null is ignored). */
VEK_API void *VEK_CALL VekWildcardCompileA(const char *pattern, int32_t pattern_length,
                                           uint32_t options, const void *descriptor);
VEK_API int32_t VEK_CALL VekWildcardMatchA(const void *compiled, const char *text,
                                           int32_t text_length);
VEK_API void VEK_CALL VekWildcardFree(void *compiled);

/* ---- Tree nodes for hosts ---------------------------------------------------
 * A node handle is a positive 32-bit integer that names one live node of any tree.
 * Handles are looked up in a table, never cast to pointers: a stale, unknown or
 * negative handle is an error, never a crash. A handle stays valid exactly as long
 * as its node lives. */

/* A detached node (128 = group, 0 = item) with that name; its handle or a status. */
VEK_API int32_t VEK_CALL VekTreeNewA(const char *root_name, int32_t node_type);
/* Deletes the node and its whole subtree (detached from its parent first). */
VEK_API int32_t VEK_CALL VekTreeFree(int32_t handle);

/* Tree files (the format is described in vek64_tree.h). VekTreeLoadA loads a tree
 * source (a JSON text or a file path; flags 0, VEK_TREE_SOURCE_TEXT 1 or
 * VEK_TREE_SOURCE_FILE 2) into a new detached tree and returns its root's handle
 * (free it with VekTreeFree) or a status. VekTreeSaveA writes the tree of a node
 * handle to a file (flags 0); 0 or a status. VekTreeToTextA returns the tree of a
 * node handle as a tree-file text the caller frees, or null on failure. */
VEK_API int32_t VEK_CALL VekTreeLoadA(const char *source, int32_t flags);
VEK_API int32_t VEK_CALL VekTreeSaveA(int32_t handle, const char *path, int32_t flags);
VEK_API char *VEK_CALL VekTreeToTextA(int32_t handle);

#endif /* VEK64_STORE_H */
