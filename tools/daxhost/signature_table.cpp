// The exports a script can call, one line each. Arguments: t text, i int32 (or
// uint32), p pointer handle, o output text (char ** or a counted byte array's
// void **), v VARIANT * (variant_argument.h). A function whose symbol a library
// lacks is reported at the call.
#include "signature.h"

namespace daxhost {

namespace {

constexpr auto kVek = Library::kVek;
constexpr auto kMorph = Library::kMorph;
constexpr auto kDax = Library::kDax;

constexpr auto kStatus = ResultKind::kStatus;
constexpr auto kNumber = ResultKind::kNumber;
constexpr auto kCode = ResultKind::kCode;
constexpr auto kText = ResultKind::kText;

constexpr auto kInspects = ErrorUse::kInspects;

constexpr Signature kSignatures[] = {
    // Host functions of the support library: the thread's error information.
    {"ZamGetLastError", kVek, kCode, "", kInspects},
    {"ZamGetLastErrorSourceA", kVek, kText, "", kInspects},
    {"ZamGetLastErrorDescriptionA", kVek, kText, "", kInspects},
    {"ZamSetErrorInfo", kVek, kNumber, "p", kInspects},
    // (code, source, description, help_link, dump, dump_size, inner_error)
    {"ZamSetErrorInfoA", kVek, kStatus, "itttpip"},

    // Text helpers of the support library.
    {"VekTextNewA", kVek, kText, "ti"},
    {"VekStrnSearchA", kVek, kNumber, "titiii"},
    {"VekStrnSearchRevA", kVek, kNumber, "titiii"},
    {"VekStrnCompA", kVek, kNumber, "titii"},
    // (value, radix, width, fill, flags, buffer, buffer_size): pass a null buffer
    // so that the result is a counted text the host may free.
    {"VekInt32ToStrnA", kVek, kText, "iiiiipi"},

    // Class registration of the support library: (ProgID, part) of a registered class.
    {"ZamGetCOMClassEntryA", kVek, kText, "ti"},
    // (ProgID, flags, class id): a null class id removes the one the ProgID names.
    {"ZamUnregisterCOMClassA", kVek, kStatus, "tip"},

    // The format library.
    {"FormatOutputA", kMorph, kStatus, "ttoi"},
    {"FormatIStrToRawA", kMorph, kStatus, "to"},

    // IString services of the system.
    {"Str_IStr_LenA", kDax, kStatus, "t"},
    {"Str_IStr_MidA", kDax, kText, "tii"},
    {"Str_IStr_PaddA", kDax, kText, "ttii"},
    {"Str_IStr_TrimA", kDax, kText, "tti"},
    {"Str_IStr_InstrA", kDax, kStatus, "tti"},
    {"Str_IStr_CmpA", kDax, kStatus, "ttti"},
    {"Str_IStr_SwapA", kDax, kText, "ti"},
    {"Str_HexStrToIStrA", kDax, kText, "t"},
    {"Str_IStrToHexStrA", kDax, kText, "t"},
    {"Str_BitStrToHexStrA", kDax, kText, "t"},
    {"Str_HexStrToBitStrA", kDax, kText, "t"},
    {"Str_IStr_RandomA", kDax, kText, "ittt"},

    // Host functions of the support library: property lists and tree roots.
    {"VekPropsNew", kVek, ResultKind::kPointer, ""},
    {"VekPropsSetInt32", kVek, kStatus, "pti"},
    {"VekPropsSetTextA", kVek, kStatus, "ptt"},
    {"VekPropsFree", kVek, ResultKind::kVoid, "p"},
    {"VekTreeNewA", kVek, kStatus, "ti"},
    {"VekTreeFree", kVek, kStatus, "i"},

    // The T store: trees, their overview and aliases.
    {"T_CheckNodeNameA", kDax, kStatus, "t"},
    {"T_Declare", kDax, kStatus, "p"},
    {"T_RemoveA", kDax, kStatus, "t"},
    {"T_Terminate", kDax, kStatus, ""},
    {"T_Present_T_Table", kDax, kText, ""},
    {"TestHeap", kDax, kStatus, "tii"},
    {"T_SetAliasA", kDax, kStatus, "tt"},
    {"T_GetAliasA", kDax, kText, "t"},
    {"T_ListAliasesA", kDax, kText, ""},
    {"T_DeleteAliasA", kDax, kStatus, "t"},

    // The T store: building nodes and asking about them.
    {"T_AddNodeA", kDax, kStatus, "tiii"},
    {"T_DeleteNodeA", kDax, kStatus, "tii"},
    {"T_ChangeNodeTypeA", kDax, kStatus, "tii"},
    {"T_ExistsA", kDax, kStatus, "t"},
    {"T_IsGroupA", kDax, kStatus, "t"},
    {"T_GetNodePositionA", kDax, kStatus, "t"},
    {"T_CountNodesA", kDax, kStatus, "ti"},
    {"T_GetFullPathA", kDax, kText, "tii"},
    {"T_GetChildFullPathA", kDax, kText, "ti"},
    {"T_GetNodeHandleA", kDax, kStatus, "t"},
    {"T_GetFullPathFromHA", kDax, kText, "i"},
    {"T_CheckCurrentNodeA", kDax, kStatus, "t"},

    // The T store: attributes.
    {"T_GetA", kDax, kText, "tii"},
    {"T_GetVariantA", kDax, kStatus, "tiv"},
    {"T_SetA", kDax, kStatus, "tti"},
    {"T_SetVariantA", kDax, kStatus, "tv"},
    {"T_SetCreateA", kDax, kStatus, "tt"},
    {"T_ChangeAttributeTypeA", kDax, kStatus, "tti"},

    // The T store: copying, moving and search.
    {"T_CopyNodeA", kDax, kStatus, "ttii"},
    {"T_MoveNodeA", kDax, kStatus, "ttii"},
    {"T_SearchA", kDax, kText, "tttiii"},
    {"T_SearchNextA", kDax, kText, ""},

    // NumStr services of the system.
    {"Str_NumStr_ArithmOpA", kDax, kText, "ttti"},
    {"Str_NumStr_CmpA", kDax, kStatus, "ttti"},
    {"Str_NumStr_RandomA", kDax, kText, "ittti"},
    {"Str_NumStr_ConvA", kDax, kText, "tiii"},

    // Test exports of the system (testing builds only).
    {"DaxTestFault", kDax, kStatus, "i"},
    {"DaxTestFaultText", kDax, kText, "ti"},

    // The COM server entry points (HRESULTs); identifiers and out objects are pointers.
    {"DllGetClassObject", kDax, kCode, "ppp", kInspects},
    {"DllCanUnloadNow", kDax, kCode, "", kInspects},
    {"DllLockModule", kDax, kNumber, "i", kInspects},
    {"DllRegisterServer", kDax, kCode, "", kInspects},
    {"DllUnregisterServer", kDax, kCode, "", kInspects},
};

}  // namespace

std::span<const Signature> AllSignatures() {
    return kSignatures;
}

}  // namespace daxhost
