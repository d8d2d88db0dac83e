/* morph64: the format library.
 *
 * IString form. An IString writes a byte string as text: '#' followed by two
 * hexadecimal digits (either case) stands for the byte of that value, and every
 * other character stands for itself. The IStrings this library writes are in one
 * canonical form, so that equal byte strings always give equal texts:
 * - the printable ASCII characters 0x20..0x7E other than '#' stand for themselves;
 * - every other byte, '#' included, is written '#' and two upper-case hexadecimal
 *   digits ("#23" for '#', "#0A" for a line feed, "#FF").
 * Letters therefore stay plain, and a comparison that ignores letter case compares
 * the letters of the bytes, never the digits of an escape. A '#' that is not
 * followed by two hexadecimal digits makes an IString malformed: it is reported
 * with code MORPH_E_BAD_ISTRING, and nothing is read past the text's end.
 *
 * Conversions of FormatOutputA (names compared ignoring letter case):
 * - "RAW2HEX": IString to hexadecimal text, two upper-case digits per byte;
 * - "HEX2RAW": hexadecimal text (digits of either case, an even number of them)
 *   to a canonical IString;
 * - "RAW2HEX.HEX2RAW": an IString to its canonical form.
 *
 * Every function returns 0 or a failure status with both top bits set, after
 * setting the calling thread's error information with a description that names
 * the offending text. Output texts are counted texts of the support library that
 * the caller frees with VekTextFree; an empty output is a null pointer. An output
 * argument that holds a text on entry has it released and replaced.
 */
#ifndef MORPH64_H
#define MORPH64_H

#include <stdint.h>

#include "platform/api.h"

#if defined(MORPH64_BUILDING)
#define MORPH_API PLATFORM_API_EXPORT
#else
#define MORPH_API PLATFORM_API_IMPORT
#endif
#define MORPH_CALL PLATFORM_STDCALL

/* Codes of the format library's family (0x2210), as raised. */
#define MORPH_E_BAD_ISTRING ((int32_t)0xE2100001)    /* '#' without two hex digits */
#define MORPH_E_BAD_HEX ((int32_t)0xE2100002)        /* a character that is no hex digit */
#define MORPH_E_ODD_HEX ((int32_t)0xE2100003)        /* an odd number of hex digits */
#define MORPH_E_UNKNOWN_FORMAT ((int32_t)0xE2100004) /* unknown conversion name */
#define MORPH_E_BAD_ARGUMENT ((int32_t)0xE2100005)   /* null output address, bad flags */
#define MORPH_E_BAD_MASK ((int32_t)0xE2100011)       /* malformed input format mask */
/* FormatValidateA's answer for a value that does not match its mask: a plain
 * status, not raised and with no error information; the caller raises it with
 * 0xC0000000 added (0xE2100010). */
#define MORPH_S_MASK_MISMATCH ((int32_t)0x22100010)

/* Converts `input` (null = empty) by the named conversion; flags must be 0. */
MORPH_API int32_t MORPH_CALL FormatOutputA(const char *input, const char *conversion, char **output,
                                           int32_t flags);
/* The bytes that an IString denotes, into *buffer (a counted byte array of the
 * support library, replaced; null when there are none). */
MORPH_API int32_t MORPH_CALL FormatIStrToRawA(const char *istr, void **buffer);
/* A counted byte array (null = no bytes) as a canonical IString. */
MORPH_API int32_t MORPH_CALL CFormatRawToIStr(const void *buffer, char **output);

/* Input format masks. FormatValidateA checks `value` (null = empty) against
 * `mask` (null = empty, which only the empty value matches); both flags must be 0.
 * The mask is read left to right, one place at a time:
 *   0  a digit (0-9)                      9  a digit, or nothing
 *   L  a letter (A-Z, a-z)                ?  a letter, or nothing
 *   A  a letter or a digit                a  a letter or a digit, or nothing
 *   &  any character                      C  any character, or nothing
 *   \x the character x itself ("\0" is a literal zero, "\\" a backslash)
 *   any other character: that character as written (letter case counts).
 * An optional place takes the next character when it fits its class, else it
 * matches nothing (no look-ahead: "990" does not match "12"). The value matches
 * when mask and value end together. Letters and digits are ASCII.
 * Returns 0 for a match and MORPH_S_MASK_MISMATCH (0x22100010, nothing recorded)
 * for a value that does not match. A mask ending in a lone '\' records and
 * returns MORPH_E_BAD_MASK with a description that quotes the mask; flags other
 * than 0 record and return MORPH_E_BAD_ARGUMENT. Source "Morph.FormatValidateA". */
MORPH_API int32_t MORPH_CALL FormatValidateA(const char *value, int32_t value_flags,
                                             const char *mask, int32_t mask_flags);

/* Formatted attributes of tree nodes. `node` is a VekTreeNode * of the support
 * library (`same_node` must be the same node or null); the attribute is read and
 * written through the node's property slots. The format follows the kind of value
 * the attribute holds:
 * - no value (empty, null, or no such attribute): the empty text;
 * - 32-bit and 64-bit integers: decimal with an optional sign ("-5", "+42" read);
 * - Booleans: "True" / "False"; read in any case, "1" and "0" read too;
 * - dates: ISO 8601 as the support library writes them, "YYYY-MM-DD" or
 *   "YYYY-MM-DD hh:mm:ss" ('T' before the time read too), years 100..9999;
 * - texts, 8-bit and wide: the characters unchanged (wide text as Latin-1);
 * - blobs: the canonical IString of the bytes; any valid IString reads;
 * - objects: no text form.
 * FormatTGetA writes the attribute's formatted text into *output (null for the
 * empty text); a value without text form fails with 0xE2040003 ("Errors during
 * compiling (formatted T_Get)"). FormatTSetA parses `text` (null = empty) by the
 * kind of the value the attribute holds now and stores it with that kind; an
 * attribute without value takes the text as 8-bit text. Parsing is stricter than
 * the support library's casts so that every value written reads back the same: a
 * number is a whole decimal number and the empty text is no number, Boolean or
 * date. A text that does not parse fails with 0xE2040023 ("Errors during parsing
 * (formatted T_Set)") and a description naming the text and the kind, e.g.
 * `Cannot parse "abc" as a 32-bit integer`; the stored value is then untouched.
 * Sources are "Morph.FormatTGetA" and "Morph.FormatTSetA". A null node, another
 * second node, a null or empty attribute name, a null output address or flags
 * other than 0 fail with MORPH_E_BAD_ARGUMENT. */
MORPH_API int32_t MORPH_CALL FormatTGetA(void *node, void *same_node, const char *attribute,
                                         char **output, int32_t flags);
MORPH_API int32_t MORPH_CALL FormatTSetA(const char *text, void *node, void *same_node,
                                         const char *attribute, int32_t flags);

#endif /* MORPH64_H */
