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

/* An IString writes bytes as text: '#' and two hexadecimal digits stand for one
 * byte, any other character for itself. Positions and lengths count characters,
 * 1-based. An IString whose last '#' lacks its two bytes fails with 0xE2090003. */

/* The number of characters. */
DAX64_API int32_t DAX64_CALL Str_IStr_LenA(const char *istr);
/* Characters start .. start+count-1; count -1: the rest; count 0 or below -1: empty. */
DAX64_API char *DAX64_CALL Str_IStr_MidA(const char *istr, int32_t start, int32_t count);
/* Copies of padding inserted before the character at position (-1: at the end)
 * until the text has length characters. */
DAX64_API char *DAX64_CALL Str_IStr_PaddA(const char *istr, const char *padding, int32_t position,
                                          int32_t length);
/* Whole repetitions of trimmed removed from the start (side 1) or end (side -1),
 * letter case ignored; the result is in canonical form. */
DAX64_API char *DAX64_CALL Str_IStr_TrimA(const char *istr, const char *trimmed, int32_t side);
/* Position of the first occurrence of searched at or after start, or 0. */
DAX64_API int32_t DAX64_CALL Str_IStr_InstrA(const char *istr, const char *searched, int32_t start);
/* 1 when the relation ("=", "EQ", "<>", "NE") holds between the bytes of the two
 * IStrings, else 0; letter case counts when the low byte of case_sensitive is set. */
DAX64_API int32_t DAX64_CALL Str_IStr_CmpA(const char *istr1, const char *op, const char *istr2,
                                           int32_t case_sensitive);
/* The groups of group characters in reverse order. */
DAX64_API char *DAX64_CALL Str_IStr_SwapA(const char *istr, int32_t group);
/* Hexadecimal text (upper-case digits) to IString and back. */
DAX64_API char *DAX64_CALL Str_HexStrToIStrA(const char *hex);
DAX64_API char *DAX64_CALL Str_IStrToHexStrA(const char *istr);
/* Bit text to hexadecimal text (zeros added in front to whole digits) and back. */
DAX64_API char *DAX64_CALL Str_BitStrToHexStrA(const char *bits);
DAX64_API char *DAX64_CALL Str_HexStrToBitStrA(const char *hex);
/* length random bytes as an IString, each between the one-character IStrings min
 * and max, the whole differing from exclude (empty or null: not given). */
DAX64_API char *DAX64_CALL Str_IStr_RandomA(int32_t length, const char *min, const char *max,
                                            const char *exclude);

/* ---- NumStr services ------------------------------------------------------ */

/* NumStrs are non-negative whole numbers of any length written in a base of 2..36
 * (digits '0'-'9', then upper-case 'A'-'Z'; leading zeros allowed; the empty text
 * is 0). A base outside 2..36 fails with 0xE2090003. */

/* a op b, op one of ADD, SUB, MUL, DIV, MOD, AND, OR, XOR (any case). */
DAX64_API char *DAX64_CALL Str_NumStr_ArithmOpA(const char *a, const char *op, const char *b,
                                                int32_t base);
/* 1 when "a op b" holds, else 0; op one of <, LT, <=, LE, =, EQ, <>, NE, >=, GE, >, GT. */
DAX64_API int32_t DAX64_CALL Str_NumStr_CmpA(const char *a, const char *op, const char *b,
                                             int32_t base);
/* A random NumStr of `length` digits between minimum and maximum (empty: no bound)
 * that differs from `excluded` (empty: none). */
DAX64_API char *DAX64_CALL Str_NumStr_RandomA(int32_t length, const char *minimum,
                                              const char *maximum, const char *excluded,
                                              int32_t base);
/* The NumStr in base `to_base`, padded with leading zeros to `length` (-1: as long
 * as it takes). */
DAX64_API char *DAX64_CALL Str_NumStr_ConvA(const char *text, int32_t from_base, int32_t to_base,
                                            int32_t length);

/* ---- T store ------------------------------------------------------------- */

/* Named trees held for the life of the process. A node path is sections joined by
 * full stops, the first the root's name, each later one a node name with an
 * optional twin index "[n]" (n-th of the same-named siblings; -1 the last). Names
 * compare ignoring ASCII letter case. Paths may begin with an alias. */

/* 1 when the name is made of name characters only (letters, digits and
 * "_()-/, :'"), else 0; the thread's error information then names the last
 * foreign character. */
DAX64_API int32_t DAX64_CALL T_CheckNodeNameA(const char *name);
/* Declares a tree: the property list (copied) holds "Root Node", the node handle
 * of its root, and the tree's configuration. The tree stays the caller's. */
DAX64_API int32_t DAX64_CALL T_Declare(void *properties);
/* Forgets the tree of that root name; the tree itself is untouched. */
DAX64_API int32_t DAX64_CALL T_RemoveA(const char *name);
/* Forgets every tree and alias. */
DAX64_API int32_t DAX64_CALL T_Terminate(void);
/* The overview of the declared trees and their current nodes; null before the
 * first T_Declare or T_SetAliasA. */
DAX64_API char *DAX64_CALL T_Present_T_Table(void);
/* Prints "Testing heap at <label>...", allocates and frees count blocks of size
 * bytes (4 or more; at most 1048576 blocks and 64 MiB), prints "...OK"; returns
 * the length of that last line. */
DAX64_API int32_t DAX64_CALL TestHeap(const char *label, uint32_t count, int32_t size);
/* Aliases: a path that begins with an alias followed by '.', '!' or the end has
 * it replaced by its replacement text (once). */
DAX64_API int32_t DAX64_CALL T_SetAliasA(const char *alias, const char *replacement);
DAX64_API char *DAX64_CALL T_GetAliasA(const char *alias);
/* "alias -> replacement" lines in sorted order; null when there are none. */
DAX64_API char *DAX64_CALL T_ListAliasesA(void);
/* Removes an alias; one that is not set is ignored. */
DAX64_API int32_t DAX64_CALL T_DeleteAliasA(const char *alias);

/* Node types: 0 item, 128 group (1: either, for counting). Text results of the
 * path queries are canonical paths (every section after the first with its twin
 * index), with "[1]" left out when the tree's "Remove First Twin Indexes" is set. */

/* Adds an item or group; missing parent groups are made. Position: 1-based among
 * the parent's children, -1 last. Error_Handling when the name is taken: 3 add a
 * twin, 11 fail, 41 add nothing. */
DAX64_API int32_t DAX64_CALL T_AddNodeA(const char *path, int32_t node_type, int32_t position,
                                        int32_t error_handling);
/* Deletes every node an identifier selects. Recurse: 7 with subtree, 9 fail on
 * children. Error_Handling: 25 report nothing-to-delete as an error, 27 don't. */
DAX64_API int32_t DAX64_CALL T_DeleteNodeA(const char *identifier, int32_t recurse,
                                           int32_t error_handling);
/* Error_Handling: 7 delete the children of a group that becomes an item, 9 fail. */
DAX64_API int32_t DAX64_CALL T_ChangeNodeTypeA(const char *path, int32_t node_type,
                                               int32_t error_handling);

/* 1 when the node (or the attribute, holding a value) exists, else 0. */
DAX64_API int32_t DAX64_CALL T_ExistsA(const char *path);
DAX64_API int32_t DAX64_CALL T_IsGroupA(const char *path);
/* 1-based position among the siblings. */
DAX64_API int32_t DAX64_CALL T_GetNodePositionA(const char *path);
DAX64_API int32_t DAX64_CALL T_CountNodesA(const char *identifier, int32_t node_type);
/* What: 39 the node, 33 next in tree order, 31 next of the same name, 19 first
 * child, 23 last child, 29 next sibling, 48 previous sibling, 47 parent, 49 root.
 * Error_Handling: 25 fail when there is none, 27 return null. */
DAX64_API char *DAX64_CALL T_GetFullPathA(const char *identifier, int32_t what,
                                          int32_t error_handling);
DAX64_API char *DAX64_CALL T_GetChildFullPathA(const char *path, int32_t position);
/* The node's handle (as VekTreeNewA gives them) and the path back from one. */
DAX64_API int32_t DAX64_CALL T_GetNodeHandleA(const char *path);
DAX64_API char *DAX64_CALL T_GetFullPathFromHA(int32_t handle);
/* 0 when the tree's current node and current path agree. */
DAX64_API int32_t DAX64_CALL T_CheckCurrentNodeA(const char *name);

/* Copies or moves a node (Recurse 53 with subtree, 37 alone (copy only), 43 its
 * children) below a group, at a 1-based position or -1 last. */
DAX64_API int32_t DAX64_CALL T_CopyNodeA(const char *source, const char *destination,
                                         int32_t position, int32_t recurse);
DAX64_API int32_t DAX64_CALL T_MoveNodeA(const char *source, const char *destination,
                                         int32_t position, int32_t recurse);

/* The path of the next node after `start` (empty: the identifier's fixed part)
 * whose path matches the attribute identifier and whose attribute holds `value`
 * (whole_value non-zero: equals it; else contains it). Mode: 0x33 raw, 0x15
 * formatted, 2 empty text. Null when there is none. */
DAX64_API char *DAX64_CALL T_SearchA(const char *identifier, const char *value, const char *start,
                                     int32_t mode, uint8_t whole_value, int32_t compare_option);
/* The last search again, after the node it found. */
DAX64_API char *DAX64_CALL T_SearchNextA(void);

/* Attributes: an attribute path is a node path, '!' and the attribute's name ("Name"
 * stands for the node's name; no name: the tree's "Default Attribute"). Mode: 0x33
 * raw text (a binary value as IString), 0x15 formatted. Error_Handling: 0x19 fail,
 * 0x1B return the empty result for a missing tree, node or attribute. */
DAX64_API char *DAX64_CALL T_GetA(const char *attribute_path, int32_t mode, int32_t error_handling);
/* `value` is a VARIANT * (platform/com.h) that receives the value. */
DAX64_API int32_t DAX64_CALL T_GetVariantA(const char *attribute_path, int32_t error_handling,
                                           void *value);
DAX64_API int32_t DAX64_CALL T_SetA(const char *attribute_path, const char *value, int32_t mode);
/* `value` is a VARIANT * holding the value. */
DAX64_API int32_t DAX64_CALL T_SetVariantA(const char *attribute_path, const void *value);
/* T_SetA raw, after adding the node as an item when it is missing. */
DAX64_API int32_t DAX64_CALL T_SetCreateA(const char *attribute_path, const char *value);
/* Type names: "Binary", "Boolean", "Long", "Date/Time", "String"; force: only its
 * low byte counts, non-zero stores the type's default when the value won't convert. */
DAX64_API int32_t DAX64_CALL T_ChangeAttributeTypeA(const char *attribute_path,
                                                    const char *type_name, int32_t force);

/* ---- Tree conversion ------------------------------------------------------ */

/* Tree data as script objects: one new CustomObject per record, whose properties
 * are the record's named values, in a new one-dimensional SAFEARRAY of IDispatch
 * pointers (lower bound 0, creation order) stored through `objects` (a SAFEARRAY **,
 * written only on success, or with null when the array cannot be allocated). Both
 * return the number of objects; a null `objects` fails with 0xC0004003. */
/* Loads a tree source (as VekTreeLoadA does) and makes one object per node in
 * pre-order, each with "UUID" (its node's identifier as text) and, below the root,
 * "Parent_UUID" (its parent's). */
DAX64_API int32_t DAX64_CALL DaxTreToCOs(const char *source, void **objects);
/* Unpacks `size` bytes of a zlib stream (VekDecompressData, at most 256 MiB) into
 * records, each six decimal digits giving its length and that many characters of
 * ";"-separated property text (VekTextToPropsA), and makes one object per record. A
 * malformed header or a record running past the end fails with 0xC007000D. */
DAX64_API int32_t DAX64_CALL DaxUnpackTree(const void *data, int32_t size, void **objects);

/* ---- Testing -------------------------------------------------------------- */

/* Present only in testing builds: provoke a failure of the given kind inside the
 * exported-call frame (1 access violation, 2 integer division by zero, 3 standard
 * exception, 4 other exception, 5 raise with the family's text, 6 raise of a code
 * without raise bits, 7 internal error, 8 out of memory; other kinds succeed). */
DAX64_API int32_t DAX64_CALL DaxTestFault(int32_t kind);
DAX64_API char *DAX64_CALL DaxTestFaultText(const char *text, int32_t kind);

#endif /* DAX64_H */
